#include "dialogs/kbun_select.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "qt_test_support.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora {
namespace {

const DateTime kToday = DateTime::FromDate(2024, 4, 10);

class KBunSelectTest : public ::testing::Test {
 protected:
  KBunSelectTest() {
    test::TestApp();
    db_.Insert("工程分類マスタ", {{"工程分類コード", "01"}, {"工程分類名", "成形"}});
    db_.Insert("工程分類マスタ", {{"工程分類コード", "03"}, {"工程分類名", "組立"}});
  }
  std::unique_ptr<KBunSelect> Open(std::string commandLine, std::string remembered = "") {
    auto dialog =
        std::make_unique<KBunSelect>(db_.connection(), std::move(commandLine),
                                     std::move(remembered), kToday, test::TestQuestions());
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    QApplication::processEvents();
    return dialog;
  }

  test::TestDb db_;
  test::ScriptedMessages messages_;
};

TEST_F(KBunSelectTest, ShowsTheCategoriesAndThePrefill) {
  auto dialog = Open("20240410", "3");
  EXPECT_EQ("工程分類指定", dialog->windowTitle());
  ASSERT_EQ(2, dialog->ComboKBun->count());
  EXPECT_EQ("03 組立", dialog->ComboKBun->item(1)->text());
  EXPECT_TRUE(dialog->ComboKBun->item(1)->isSelected());
  EXPECT_EQ("2024/04/10", dialog->strYYMMDD->text());
  EXPECT_EQ("2024/05/10", dialog->endYYMMDD->text());
  EXPECT_EQ(dialog->ComboKBun, dialog->focusWidget()) << "a command line focuses the list";
  EXPECT_TRUE(dialog->isVisible()) << "no blank in the command line: the dialog waits";
}

TEST_F(KBunSelectTest, EnterInTheDateBoxesNormalisesAndMovesOn) {
  auto dialog = Open("20240410");
  dialog->strYYMMDD->setText("45");
  test::PressEnter(dialog->strYYMMDD);
  EXPECT_EQ("2024/04/05", dialog->strYYMMDD->text());
  EXPECT_EQ(dialog->endYYMMDD, dialog->focusWidget());
  EXPECT_EQ("2024/05/10", dialog->endYYMMDD->selectedText());

  dialog->endYYMMDD->setText("1231");
  test::PressEnter(dialog->endYYMMDD);
  EXPECT_EQ("2024/12/31", dialog->endYYMMDD->text());
  EXPECT_EQ(dialog->ComboKBun, dialog->focusWidget());
}

TEST_F(KBunSelectTest, EnterOnTheListWithoutBothDatesAsksForThem) {
  auto dialog = Open("", "1");
  dialog->strYYMMDD->setText("2024/04/01");
  dialog->ComboKBun->setFocus();
  test::PressEnter(dialog->ComboKBun);
  ASSERT_EQ(1u, messages_.shown().size());
  EXPECT_EQ("日付を入力してください", messages_.shown()[0].text);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->strYYMMDD, dialog->focusWidget());

  dialog->endYYMMDD->setText("2024/04/30");
  test::PressEnter(dialog->ComboKBun);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(QDialog::Accepted, dialog->result());
  EXPECT_EQ(0, dialog->Selection().ListIndex);
  EXPECT_EQ("2024/04/01", dialog->Selection().StartText);
  EXPECT_EQ("2024/04/30", dialog->Selection().EndText);
  EXPECT_EQ(1u, messages_.shown().size());
}

TEST_F(KBunSelectTest, DoubleClickOnTheListAccepts) {
  auto dialog = Open("20240410", "1");
  QWidget* viewport = dialog->ComboKBun->viewport();
  const QPointF at = dialog->ComboKBun->visualItemRect(dialog->ComboKBun->item(1)).center();
  QMouseEvent click(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  dialog->ComboKBun->setCurrentRow(1);
  QApplication::sendEvent(viewport, &click);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(1, dialog->Selection().ListIndex);
}

TEST_F(KBunSelectTest, CommandLineWithACategoryAcceptsAtOnce) {
  KBunSelect dialog(db_.connection(), "20240410 3", "1", kToday, test::TestQuestions());
  EXPECT_EQ(QDialog::Accepted, dialog.exec());
  EXPECT_EQ(1, dialog.Selection().ListIndex);
  EXPECT_EQ("2024/04/10", dialog.Selection().StartText);
  EXPECT_TRUE(messages_.shown().empty());
}

// The first start: nothing remembered and no command line. The dates typed with Enter lead to
// the list, whose first line is then selected, so the next Enter accepts it.
TEST_F(KBunSelectTest, FirstStartEnterAfterTheDatesAcceptsTheFirstLine) {
  auto dialog = Open("");
  EXPECT_EQ(dialog->strYYMMDD, dialog->focusWidget());
  dialog->strYYMMDD->setText("401");
  test::PressEnter(dialog->strYYMMDD);
  dialog->endYYMMDD->setText("430");
  test::PressEnter(dialog->endYYMMDD);
  ASSERT_EQ(dialog->ComboKBun, dialog->focusWidget());
  ASSERT_EQ(1, dialog->ComboKBun->selectedItems().size());
  EXPECT_TRUE(dialog->ComboKBun->item(0)->isSelected());
  test::PressEnter(dialog->ComboKBun);
  EXPECT_EQ(QDialog::Accepted, dialog->result());
  EXPECT_EQ(0, dialog->Selection().ListIndex);
  EXPECT_EQ("2024/04/30", dialog->Selection().EndText);
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(KBunSelectTest, InquiryCommandLineStartsOnThePeriodBox) {
  auto dialog = Open("1", "3");
  EXPECT_EQ(dialog->strYYMMDD, dialog->focusWidget());
  QTest::keyClicks(dialog->strYYMMDD, "20240401");
  EXPECT_EQ(1, dialog->Selection().ListIndex) << "typing a date picks no category";
}

TEST_F(KBunSelectTest, OkAcceptsAndCancelAsksWhetherToEnd) {
  auto dialog = Open("20240410", "1");
  messages_.Answer(Answer::No);
  dialog->cmdCancel->click();
  EXPECT_TRUE(dialog->isVisible());
  ASSERT_EQ(1u, messages_.shown().size());
  EXPECT_EQ("終了しますか？", messages_.shown()[0].text);
  dialog->cmdOK->setFocus();
  test::PressEnter(dialog->cmdOK);
  EXPECT_FALSE(dialog->isVisible()) << "Enter on the focused OK presses it";
  EXPECT_EQ(QDialog::Accepted, dialog->result());
  EXPECT_FALSE(dialog->Selection().Quit);

  auto cancelled = Open("20240410", "1");
  messages_.Answer(Answer::Yes);
  cancelled->cmdCancel->click();
  EXPECT_FALSE(cancelled->isVisible());
  EXPECT_EQ(QDialog::Rejected, cancelled->result());
  EXPECT_TRUE(cancelled->Selection().Quit);
}

TEST_F(KBunSelectTest, EscapeKeepsTheDialogClosingItUnloads) {
  auto dialog = Open("20240410", "1");
  test::PressKey(dialog->ComboKBun, Qt::Key_Escape);
  EXPECT_TRUE(dialog->isVisible());
  dialog->strYYMMDD->setText("2024/04/02");
  dialog->close();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(0, dialog->Selection().ListIndex);
  EXPECT_EQ("2024/04/02", dialog->Selection().StartText);
}

}  // namespace
}  // namespace velmora
