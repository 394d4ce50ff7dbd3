#include "ui/qt_message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <vector>

namespace velmora::ui {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::vector<QMessageBox::StandardButton> Buttons(int style) {
  switch (style & 7) {
    case 1:
      return {QMessageBox::Ok, QMessageBox::Cancel};
    case 3:
      return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case kYesNo:
      return {QMessageBox::Yes, QMessageBox::No};
    default:
      return {QMessageBox::Ok};
  }
}

QMessageBox::Icon IconOf(int style) {
  switch (style & 0x70) {
    case kCritical:
      return QMessageBox::Critical;
    case kQuestion:
      return QMessageBox::Question;
    case kExclamation:
      return QMessageBox::Warning;
    case kInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

Answer AnswerOf(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    default:
      return Answer::Ok;
  }
}

std::function<void()>& BeforeMessage() {
  static std::function<void()> beforeMessage;
  return beforeMessage;
}

// The buttons in the users' language, with the usual access keys.
void NameButtons(QMessageBox& box) {
  const std::pair<QMessageBox::StandardButton, const char*> names[] = {
      {QMessageBox::Yes, "はい(&Y)"},
      {QMessageBox::No, "いいえ(&N)"},
      {QMessageBox::Cancel, "キャンセル"},
  };
  for (const auto& [button, name] : names) {
    if (QAbstractButton* b = box.button(button)) b->setText(QString::fromUtf8(name));
  }
}

}  // namespace

void SetBeforeMessage(std::function<void()> beforeMessage) {
  BeforeMessage() = std::move(beforeMessage);
}

Answer QtMessageBoxes::Show(std::string_view text, int style, std::string_view title) {
  if (BeforeMessage()) BeforeMessage()();
  QMessageBox box(QApplication::activeWindow());
  box.setIcon(IconOf(style));
  box.setWindowTitle(title.empty() ? QApplication::applicationName() : ToQString(title));
  box.setText(ToQString(text));
  const std::vector<QMessageBox::StandardButton> buttons = Buttons(style);
  for (QMessageBox::StandardButton button : buttons) box.addButton(button);
  NameButtons(box);
  const std::size_t defaultIndex = static_cast<std::size_t>((style >> 8) & 3);
  box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0]);
  // Closing the box from its frame answers like its safest button: No or Cancel when it has one.
  if (buttons.size() > 1) box.setEscapeButton(buttons.back());
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (clicked == nullptr) return AnswerOf(buttons.back());
  return AnswerOf(box.standardButton(clicked));
}

}  // namespace velmora::ui
