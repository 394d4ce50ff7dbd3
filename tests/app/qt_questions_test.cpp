#include "ui/qt_questions.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <functional>

#include "qt_test_support.h"

namespace velmora::ui {
namespace {

struct Seen {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Runs `show` and, once its box is up, notes what it shows and presses `press` (Escape when
// NoButton).
void ShowAndPress(const std::function<void()>& show, QMessageBox::StandardButton press,
                  Seen& seen) {
  test::WhenShown<QMessageBox>([&seen, press](QMessageBox& box) {
    seen = {box.windowTitle(), box.text(), box.icon(), box.standardButtons(),
            box.standardButton(box.defaultButton())};
    if (press == QMessageBox::NoButton) {
      box.reject();
    } else {
      box.button(press)->click();
    }
  });
  show();
}

Answer AskAndPress(const Question& question, QMessageBox::StandardButton press, Seen& seen) {
  Answer answer = Answer::Cancel;
  ShowAndPress([&] { answer = QtQuestions().Ask(question); }, press, seen);
  return answer;
}

TEST(QtQuestions, QuestionWithNoAsDefault) {
  test::TestApp();
  Seen seen;
  const Question question{"変更を保存せずに終了しますか？", Answer::No};
  EXPECT_EQ(Answer::Yes, AskAndPress(question, QMessageBox::Yes, seen));
  EXPECT_EQ("Velmora", seen.title) << "no title of its own: the application's name";
  EXPECT_EQ("変更を保存せずに終了しますか？", seen.text);
  EXPECT_EQ(QMessageBox::NoIcon, seen.icon);
  EXPECT_EQ(QMessageBox::Yes | QMessageBox::No, seen.buttons);
  EXPECT_EQ(QMessageBox::No, seen.defaultButton);
  EXPECT_EQ(Answer::No, AskAndPress({"x", Answer::No}, QMessageBox::NoButton, seen))
      << "closing the box answers No";
}

TEST(QtQuestions, QuestionWithCancelAndMark) {
  test::TestApp();
  Seen seen;
  const Question question{.text = "x", .title = "t", .questionMark = true, .cancel = true};
  EXPECT_EQ(Answer::Cancel, AskAndPress(question, QMessageBox::NoButton, seen))
      << "closing the box answers Cancel";
  EXPECT_EQ(QMessageBox::Question, seen.icon);
  EXPECT_EQ(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, seen.buttons);
  EXPECT_EQ(QMessageBox::Yes, seen.defaultButton);
  EXPECT_EQ(Answer::No, AskAndPress(question, QMessageBox::No, seen));
}

TEST(QtQuestions, MessageWithTitleToneAndOk) {
  test::TestApp();
  Seen seen;
  ShowAndPress(
      [] {
        QtQuestions().Tell(
            {"生産計画システムは既に起動されています。", Tone::Information, "二重起動"});
      },
      QMessageBox::Ok, seen);
  EXPECT_EQ("二重起動", seen.title);
  EXPECT_EQ(QMessageBox::Information, seen.icon);
  EXPECT_EQ(QMessageBox::Ok, seen.buttons);
  ShowAndPress([] { QtQuestions().Tell({"x", Tone::Critical}); }, QMessageBox::Ok, seen);
  EXPECT_EQ(QMessageBox::Critical, seen.icon);
}

}  // namespace
}  // namespace velmora::ui
