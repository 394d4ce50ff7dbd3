#include "ui/qt_questions.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <vector>

namespace velmora::ui {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon IconOf(Tone tone) {
  switch (tone) {
    case Tone::Critical:
      return QMessageBox::Critical;
    case Tone::Exclamation:
      return QMessageBox::Warning;
    case Tone::Information:
      return QMessageBox::Information;
    case Tone::Plain:
      break;
  }
  return QMessageBox::NoIcon;
}

Answer AnswerOf(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    default:
      return Answer::No;
  }
}

QMessageBox::StandardButton ButtonOf(Answer answer) {
  switch (answer) {
    case Answer::Yes:
      return QMessageBox::Yes;
    case Answer::Cancel:
      return QMessageBox::Cancel;
    case Answer::No:
      break;
  }
  return QMessageBox::No;
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

// A box over the active window, titled `title` or else with the application's name.
void SetUp(QMessageBox& box, QMessageBox::Icon icon, std::string_view text,
           std::string_view title) {
  if (BeforeMessage()) BeforeMessage()();
  box.setIcon(icon);
  box.setWindowTitle(title.empty() ? QApplication::applicationName() : ToQString(title));
  box.setText(ToQString(text));
}

}  // namespace

void SetBeforeMessage(std::function<void()> beforeMessage) {
  BeforeMessage() = std::move(beforeMessage);
}

void QtQuestions::Tell(const Message& message) {
  QMessageBox box(QApplication::activeWindow());
  SetUp(box, IconOf(message.tone), message.text, message.title);
  box.addButton(QMessageBox::Ok);
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
}

Answer QtQuestions::Ask(const Question& question) {
  QMessageBox box(QApplication::activeWindow());
  SetUp(box, question.questionMark ? QMessageBox::Question : QMessageBox::NoIcon, question.text,
        question.title);
  std::vector<QMessageBox::StandardButton> buttons = {QMessageBox::Yes, QMessageBox::No};
  if (question.cancel) buttons.push_back(QMessageBox::Cancel);
  for (QMessageBox::StandardButton button : buttons) box.addButton(button);
  NameButtons(box);
  box.setDefaultButton(ButtonOf(question.byDefault));
  // Closing the box from its frame answers like its safest button: No, or Cancel when it has one.
  box.setEscapeButton(buttons.back());
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (clicked == nullptr) return AnswerOf(buttons.back());
  return AnswerOf(box.standardButton(clicked));
}

}  // namespace velmora::ui
