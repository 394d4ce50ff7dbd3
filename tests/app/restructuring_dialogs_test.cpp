// The lot detail window's restructuring dialogs on screen: their controls hand the user's clicks,
// typing and Enter to the models and show what the models decided.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>

#include "../lotdetail/restructuring_world.h"
#include "dialogs/dialog_views.h"
#include "dialogs/lot_split_dialog.h"
#include "dialogs/plan_change_dialog.h"
#include "dialogs/plan_window_dialog.h"
#include "qt_test_support.h"
#include "support/scripted_messages.h"

namespace velmora::test {
namespace {

void ClickLine(QListWidget* list, int row) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(row)).center());
}

void TypeAndEnter(QLineEdit* box, const char* text) {
  box->selectAll();
  QTest::keyClicks(box, text);
  QTest::keyClick(box, Qt::Key_Return);
}

TEST(RestructuringDialogs, MembersPickedInTheLotWindowSplitOffByProcess) {
  TestApp();
  RestructuringWorld w({{1001}, {1002, "仕上"}, {1003, "検査"}});
  PlanWindowDialog dialog(w.window);
  dialog.show();
  ClickLine(dialog.NList, 2);
  ClickLine(dialog.NList, 0);
  EXPECT_EQ(w.window->NListSelected, (std::vector<int>{0, 2}));
  ClickLine(dialog.NList, 0);  // a second click takes a line back out
  EXPECT_EQ(w.window->NListSelected, std::vector<int>{2});

  ScriptedMessages boxes;
  boxes.Answer(Answer::Yes);
  QTest::mouseClick(dialog.splitProcesses, Qt::LeftButton);
  EXPECT_EQ(dialog.NList->count(), 2);
  EXPECT_TRUE(dialog.NList->selectedItems().isEmpty());
  EXPECT_EQ(w.Numbers(w.Last().A), std::vector<std::int32_t>{1003});
  EXPECT_TRUE(dialog.isVisible());
}

TEST(RestructuringDialogs, LotSplitCountsWithEnterAndSplitsOnItsButton) {
  TestApp();
  RestructuringWorld w({{1001, "成形", 200}, {1002, "仕上", 200}});
  w.window->Click("splitLot");
  auto model = std::dynamic_pointer_cast<lotdetail::BunWindow>(w.dialog);
  ASSERT_TRUE(model);
  LotSplitDialog dialog(model);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle().toStdString(), lotdetail::kLotSplitCaption);
  ASSERT_EQ(dialog.NList->count(), 2);
  EXPECT_EQ(dialog.NList->currentRow(), 0);
  EXPECT_TRUE(dialog.splitCount->isEnabled());
  EXPECT_EQ(dialog.memberNo->text(), "1001");

  TypeAndEnter(dialog.splitCount, "50");
  EXPECT_FALSE(dialog.splitCount->isEnabled());
  EXPECT_EQ(dialog.innerTotal->text(), "50");
  EXPECT_TRUE(dialog.NList->item(0)->text().endsWith("    50/200   "));
  ClickLine(dialog.NList, 1);
  EXPECT_EQ(dialog.memberNo->text(), "1002");
  EXPECT_TRUE(dialog.splitCount->isEnabled());

  ScriptedMessages boxes;
  boxes.Answer(Answer::Yes);
  QTest::mouseClick(dialog.split, Qt::LeftButton);
  EXPECT_TRUE(model->Closed());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(w.Numbers(w.Last().A), std::vector<std::int32_t>{-1});
}

// The lot window's dialogs open in the views registered for their models, over the lot window.
// Escape cancels the lot split but is no way out of the lot window, whose close writes back.
TEST(RestructuringDialogs, TheLotWindowsDialogsOpenInTheirViewsAndEscapeCancelsThem) {
  TestApp();
  RestructuringWorld w({{1001, "成形", 200}, {1002, "仕上", 200}});
  PlanWindowDialog dialog(w.window);
  w.window->ShowDialog = [&w, &dialog](std::shared_ptr<DialogModel> model) {
    w.dialog = model;
    ShowDialogView(model, w.data, &dialog);
  };
  dialog.show();
  QWidget* over = nullptr;
  WhenShown<LotSplitDialog>([&over](LotSplitDialog& split) {
    over = split.parentWidget();
    QTest::keyClick(split.splitCount, Qt::Key_Escape);
  });
  QTest::mouseClick(dialog.splitLot, Qt::LeftButton);
  EXPECT_EQ(over, &dialog);
  ASSERT_TRUE(w.dialog);
  EXPECT_TRUE(w.dialog->Closed());
  EXPECT_EQ(w.Numbers(w.Last().A), (std::vector<std::int32_t>{1001, 1002}));

  QTest::keyClick(dialog.Box("startDate"), Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(w.window->Closed());
}

TEST(RestructuringDialogs, PlanChangeSharesAreEnteredLineByLine) {
  TestApp();
  RestructuringWorld w({{1001, "成形", 500}});
  auto model = std::make_shared<lotdetail::PlanChange>(w.editor.Context(), *w.window);
  model->AddParent("親B", "25", "P-B");
  model->AddParent("親C", "0", "P-C");
  model->MList = {"12/10 5001 親B 70"};
  model->machineChoices = w.window->machineChoices;
  PlanChangeDialog dialog(model);
  dialog.show();
  EXPECT_FALSE(dialog.MList->isEnabled());
  EXPECT_FALSE(dialog.KList->isEnabled());
  EXPECT_EQ(dialog.machine->count(), static_cast<int>(w.window->machineChoices.size()));

  ClickLine(dialog.ZList, 1);
  EXPECT_EQ(dialog.shareQty->text(), "0");
  TypeAndEnter(dialog.shareQty, "300");
  EXPECT_EQ(model->Focus, "shareDate");
  TypeAndEnter(dialog.shareDate, "2024/12/10");
  EXPECT_EQ(model->Focus, "machine");
  dialog.machine->setCurrentIndex(2);
  QTest::keyClick(dialog.machine, Qt::Key_Return);
  const std::string line = dialog.ZList->item(1)->text().toStdString();
  EXPECT_EQ(lotdetail::ZLine::Quantity(line), 300);
  EXPECT_EQ(lotdetail::ZLine::Date(line) + lotdetail::ZLine::Machine(line), "12/10M02     ");
  EXPECT_EQ(dialog.shareQty->text(), "");

  QTest::mouseClick(dialog.split, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(w.Last().OrderQty, 300);
  EXPECT_EQ(w.Last().MachineCode, "M02     ");
}

}  // namespace
}  // namespace velmora::test
