#include "app/velmora_application.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>
#include <iostream>

#include "common/error_text.h"
#include "common/errors.h"

namespace velmora {

VelmoraApplication::VelmoraApplication(int& argc, char** argv, Questions& questions)
    : QApplication(argc, argv), questions_(questions) {
  setApplicationName("Velmora");
  // The desktop (a Wayland compositor above all) finds the window's name and icon through it.
  setDesktopFileName(QStringLiteral(VELMORA_APP_ID));
  // The program ends when the main window is unloaded, not when the last window closes:
  // the restart closes the main window before the selection dialog opens again.
  setQuitOnLastWindowClosed(false);
  installEventFilter(this);
  // Every text of the program is Japanese, so Qt's own (file and print dialogs, standard
  // buttons, the text boxes' menu) are too, whatever the desktop's language. Without the
  // translations installed they stay English.
  auto* qtTexts = new QTranslator(this);
  if (qtTexts->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    installTranslator(qtTexts);
  }
}

bool VelmoraApplication::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QApplication::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  auto* button = qobject_cast<QPushButton*>(watched);
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  if (enter && button != nullptr && button->hasFocus() && button->isEnabled() &&
      !key->isAutoRepeat() && qobject_cast<QDialog*>(button->window()) == nullptr &&
      (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    button->click();
    return true;
  }
  return QApplication::eventFilter(watched, event);
}

bool VelmoraApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const ProgramEnd& end) {
    End(end.status);
  } catch (...) {
    int status = 1;
    // Only the first failure is shown; what follows from it while its box is open is noise.
    if (!endStatus_ && !reporting_) {
      reporting_ = true;
      status = ReportFailure(std::current_exception(), questions_);
      reporting_ = false;
    }
    End(status);
  }
  return false;
}

void VelmoraApplication::End(int status) {
  if (!endStatus_) endStatus_ = status;
  exit(*endStatus_);
}

void VelmoraApplication::ThrowIfEnded() {
  if (!endStatus_) return;
  const int status = *endStatus_;
  endStatus_.reset();
  throw ProgramEnd{status};
}

int ReportFailure(std::exception_ptr failure, Questions& questions) {
  const std::string text = UserErrorText(failure);
  // The engine's or the library's own words help whoever looks into it, not the user.
  const std::string detail = TechnicalErrorText(failure);
  if (!detail.empty() && detail != text) std::cerr << "velmora: " << detail << std::endl;
  questions.Tell({text, Tone::Critical});
  return 1;
}

}  // namespace velmora
