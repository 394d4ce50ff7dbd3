#include "ui/qt_message_boxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

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

// Shows a box, notes what it shows and presses `press` (Escape when NoButton).
Answer ShowAndPress(std::string_view text, int style, std::string_view title,
                    QMessageBox::StandardButton press, Seen& seen) {
  test::WhenShown<QMessageBox>([&seen, press](QMessageBox& box) {
    seen = {box.windowTitle(), box.text(), box.icon(), box.standardButtons(),
            box.standardButton(box.defaultButton())};
    if (press == QMessageBox::NoButton) {
      box.reject();
    } else {
      box.button(press)->click();
    }
  });
  QtMessageBoxes boxes;
  return boxes.Show(text, style, title);
}

TEST(QtMessageBoxes, QuestionWithNoAsDefault) {
  test::TestApp();
  Seen seen;
  EXPECT_EQ(Answer::Yes, ShowAndPress("変更を保存せずに終了しますか？", kYesNo + kDefaultButton2,
                                      "", QMessageBox::Yes, seen));
  EXPECT_EQ("Velmora", seen.title) << "no title of its own: the application's name";
  EXPECT_EQ("変更を保存せずに終了しますか？", seen.text);
  EXPECT_EQ(QMessageBox::Yes | QMessageBox::No, seen.buttons);
  EXPECT_EQ(QMessageBox::No, seen.defaultButton);
  EXPECT_EQ(Answer::No,
            ShowAndPress("x", kYesNo + kDefaultButton2, "", QMessageBox::NoButton, seen))
      << "closing the box answers No";
}

TEST(QtMessageBoxes, InformationWithTitleAndOk) {
  test::TestApp();
  Seen seen;
  EXPECT_EQ(Answer::Ok, ShowAndPress("生産計画システムは既に起動されています。", kInformation,
                                     "二重起動", QMessageBox::Ok, seen));
  EXPECT_EQ("二重起動", seen.title);
  EXPECT_EQ(QMessageBox::Information, seen.icon);
  EXPECT_EQ(QMessageBox::Ok, seen.buttons);
  ShowAndPress("x", kCritical, "", QMessageBox::Ok, seen);
  EXPECT_EQ(QMessageBox::Critical, seen.icon);
}

}  // namespace
}  // namespace velmora::ui
