#include <gtest/gtest.h>

#include <QStatusBar>

#include "chart_editing_fixture.h"

namespace velmora::test {
namespace {

class SaveWatch : public QObject {
 public:
  explicit SaveWatch(MainForm& main) : main_(main) { main.Hozon()->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted) {
      painted = true;
      maximum = main_.Hozon()->HozonBar->maximum();
      QTimer::singleShot(0, this, [this] { Poke(); });
    }
    return false;
  }
  void Poke() {
    poked = main_.Hozon()->isVisible();
    QTest::keyClick(main_.windowHandle(), Qt::Key_Z, Qt::ControlModifier);
    const QPoint exit = main_.quitButton->mapTo(&main_, main_.quitButton->rect().center());
    QTest::mouseClick(main_.windowHandle(), Qt::LeftButton, {}, exit);
  }

  bool painted = false;
  bool poked = false;
  int maximum = 0;

 private:
  MainForm& main_;
};

TEST_F(ChartEditingTest, SaveWritesTheMovedPlanWithProgressAndEndsTheUndoHistory) {
  WithMainForm([this](MainForm& main) {
    MoveToA02(main, 1);
    const DateTime start = Plan(main, 1).Start();
    const chart::BarLabel& bar = main.Chart().PlanBar[Plan(main, 1).Bar().Slot()];
    ASSERT_TRUE(bar.Bold) << "unsaved";
    ASSERT_TRUE(main.saveButton->isEnabled());

    SaveWatch watch(main);
    main.saveButton->click();

    EXPECT_EQ("A02     " + FormatYmd(start.DatePart()) + FormatHms(start.TimePart()),
              Stored(1, "機械コード||開始日||GNT開始時刻"));
    EXPECT_EQ("A01     20240412080000", Stored(2, "機械コード||開始日||GNT開始時刻"));
    EXPECT_EQ(0, Plan(main, 1).Changed);
    EXPECT_FALSE(bar.Bold);
    EXPECT_FALSE(main.saveButton->isEnabled());
    EXPECT_FALSE(main.UndoAction->isEnabled());

    const int n = main.Session().Data().PlanCount();
    EXPECT_EQ(n, watch.maximum);
    EXPECT_EQ(std::to_string(n) + "/" + std::to_string(n),
              main.Hozon()->HozonText->text().toStdString());
    EXPECT_FALSE(main.Hozon()->isVisible());
    // Neither the undo key nor the exit button acted in the middle of the save.
    EXPECT_TRUE(watch.poked);
    EXPECT_EQ("A02     ", Plan(main, 1).MachineCode);
    EXPECT_TRUE(messages_.shown().empty());
    EXPECT_EQ("保存しました（1件）", main.statusBar()->currentMessage().toStdString());
  });
}

TEST_F(ChartEditingTest, AFailedSaveKeepsTheEditsSavableAndUndoable) {
  db_.connection().ExecuteScript(
      "CREATE TRIGGER refuse BEFORE UPDATE ON 手配情報 BEGIN SELECT RAISE(ABORT, 'disk full'); "
      "END");
  WithMainForm([this](MainForm& main) {
    MoveToA02(main, 1);
    main.saveButton->click();

    ASSERT_EQ(1u, messages_.shown().size());
    EXPECT_EQ(0u, messages_.shown()[0].text.rfind(saving::kSaveFailed, 0))
        << messages_.shown()[0].text;
    EXPECT_EQ(Tone::Critical, messages_.shown()[0].tone);
    EXPECT_EQ("A01     20240411", Stored(1, "機械コード||開始日"));
    EXPECT_EQ("A02     ", Plan(main, 1).MachineCode);
    EXPECT_NE(0, Plan(main, 1).Changed);
    EXPECT_TRUE(main.Chart().PlanBar[Plan(main, 1).Bar().Slot()].Bold);
    EXPECT_FALSE(main.Hozon()->isVisible());
    EXPECT_TRUE(main.saveButton->isEnabled());
    ASSERT_TRUE(main.UndoAction->isEnabled());

    // The save works again once the database takes writes.
    db_.connection().ExecuteScript("DROP TRIGGER refuse");
    main.saveButton->click();
    EXPECT_EQ(1u, messages_.shown().size());
    EXPECT_EQ("A02     ", Stored(1, "機械コード"));
    EXPECT_FALSE(main.saveButton->isEnabled());
  });
}

// The control of the lot window that has the focus, by the model's name.
std::string FocusedControl() {
  for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
    const std::string name = w->objectName().toStdString();
    // The model's controls name their widgets; Qt's inner parts are unnamed or "qt_...".
    if (!name.empty() && name.rfind("qt_", 0) != 0) return name;
  }
  return "";
}

void Retype(QLineEdit* box, const QString& text) {
  QTest::mouseClick(box, Qt::LeftButton);
  QCoreApplication::processEvents();  // the click's select-all
  QTest::keyClicks(box, text);
}

// The end time typed with Enter finds the total minutes that end there and moves on to the
// destination; the machine typed into its drop-down and "変更完了" write the entry back, and the
// whole window undoes as one step.
TEST_F(ChartEditingTest, DoubleClickedBarOpensTheLotWindowWhoseEditsUndoAsOneStep) {
  WithMainForm([this](MainForm& main) {
    PlanEntry& plan = Plan(main, 1);
    const chart::BarLabel& bar = main.Chart().PlanBar[plan.Bar().Slot()];
    const QPoint at = OnRows(main, bar.Left + 150, bar.Top + 180);
    std::vector<std::string> shown;
    test::WhenShown<PlanWindowDialog>([&](PlanWindowDialog& dialog) {
      ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
      shown = {dialog.windowTitle().toStdString(), dialog.Box("orderNo")->text().toStdString(),
               dialog.Box("itemCode")->text().toStdString(),
               dialog.machine->currentText().toStdString(), FocusedControl()};
      EXPECT_TRUE(dialog.Box("orderNo")->isReadOnly());
      EXPECT_FALSE(dialog.Box("totalMinutes")->isReadOnly());
      EXPECT_EQ(editing::kOpenedColor, bar.BackColor);

      Retype(dialog.Box("endTime"), "14:00");
      QTest::keyClick(dialog.Box("endTime"), Qt::Key_Return);
      EXPECT_EQ("360", dialog.Box("totalMinutes")->text().toStdString());
      EXPECT_EQ("360", dialog.Box("workingMinutes")->text().toStdString());
      EXPECT_EQ("destination", FocusedControl());
      EXPECT_EQ(std::vector<std::string>{lotdetail::kAdjustQuantityQuestion}, messages_.texts());
      EXPECT_TRUE(dialog.isVisible()) << "Enter never closes the window";

      Retype(dialog.machine->lineEdit(), "A02");
      QTest::mouseClick(dialog.finish, Qt::LeftButton);
      EXPECT_FALSE(dialog.isVisible());
    });
    Press(main, at);
    Release(main, at);
    Mouse(main, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);

    EXPECT_EQ((std::vector<std::string>{lotdetail::kPlanWindowCaption, "1", "AS2000-61C",
                                        "A01     ", "startDate"}),
              shown);
    EXPECT_EQ("A02     ", plan.MachineCode);
    EXPECT_EQ("2024/04/11 14:00", FormatDateTime(plan.End(), "yyyy/mm/dd hh:nn"));
    EXPECT_EQ(360, plan.DurationMinutes);
    EXPECT_NE(0, plan.Changed);
    EXPECT_NE(editing::kOpenedColor, bar.BackColor);
    EXPECT_TRUE(main.saveButton->isEnabled());

    Keys(main, Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ("A01     ", plan.MachineCode);
    EXPECT_EQ("2024/04/11 12:00", FormatDateTime(plan.End(), "yyyy/mm/dd hh:nn"));
    EXPECT_EQ(240, plan.DurationMinutes);
    EXPECT_EQ(0, plan.Changed);
    EXPECT_FALSE(main.saveButton->isEnabled());
    EXPECT_FALSE(main.UndoAction->isEnabled()) << "the window was one step";
  });
}

// Enter walks the editable fields by the window's tab order from any control, a button
// included, and Tab takes the same order; a close the window refuses keeps it open on the field
// to correct, and Escape is no close.
TEST_F(ChartEditingTest, TheLotWindowTakesEnterAndKeepsARefusedCloseOpen) {
  WithMainForm([this](MainForm& main) {
    std::vector<std::string> byEnter, byTab;
    test::WhenShown<PlanWindowDialog>([&](PlanWindowDialog& dialog) {
      ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
      dialog.splitLot->setFocus();
      for (int i = 0; i < 16; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        byEnter.push_back(FocusedControl());
      }
      dialog.Box("startDate")->setFocus();
      for (int i = 0; i < 16; ++i) {
        byTab.push_back(FocusedControl());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      }
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
      EXPECT_TRUE(dialog.isVisible());

      Retype(dialog.Box("startDate"), "someday");
      dialog.Box("workers")->setFocus();
      dialog.close();
      EXPECT_TRUE(dialog.isVisible());
      EXPECT_EQ("startDate", FocusedControl());
      EXPECT_EQ(lotdetail::kEnterADate, messages_.texts().back());
      Retype(dialog.Box("startDate"), "2024/04/12");
      dialog.close();
      EXPECT_FALSE(dialog.isVisible());
    });
    PointerEvent click;
    click.kind = PointerEvent::Kind::DoubleClick;
    click.button = editing::kLeftButton;
    click.hit = {ChartHit::Target::PlanBar, Plan(main, 2).Bar().value, 0, 0};
    main.Session().Pointer(click);

    // Enter on endTime confirms the end and goes on to the destination, past the machine.
    EXPECT_EQ((std::vector<std::string>{"startDate", "startTime", "endDate", "endTime",
                                        "destination", "orderQty", "setupMinutes", "cycleSeconds",
                                        "totalMinutes", "workingMinutes", "fixedFlag", "workers",
                                        "initialDueDate", "startDate", "startTime", "endDate"}),
              byEnter);
    EXPECT_EQ((std::vector<std::string>{"startDate", "startTime", "endDate", "endTime", "machine",
                                        "destination", "orderQty", "setupMinutes", "cycleSeconds",
                                        "totalMinutes", "workingMinutes", "fixedFlag", "workers",
                                        "initialDueDate", "itemCode", "modelName"}),
              byTab);
    EXPECT_EQ("A01     ", Plan(main, 2).MachineCode);
  });
}

// One hit opens the lot at once; several are offered in the chooser, whose double-clicked line
// opens that lot. The boxes fold what was typed; Enter leads from one box to the next and on to
// the button.
TEST_F(ChartEditingTest, SearchOpensTheOnlyHitOrTheLotChosenFromTheHits) {
  db_.Insert("品目マスタ", {{"品名コード", "BX-100"}, {"型番名", "ブラケット"}});
  db_.Insert(
      "工程手順マスタ",
      {{"品名コード", "BX-100"}, {"順序", 1}, {"生産工場コード", 12}, {"工程内容コード", "301"}});
  db_.Insert("手配情報", {{"手配番号", 3},
                          {"生産計画番号", 3},
                          {"品名コード", "BX-100"},
                          {"順序", 1},
                          {"生産工場コード", 12},
                          {"機械コード", "A02     "},
                          {"開始日", "20240412"},
                          {"納期", "20240412"},
                          {"GNT開始時刻", "080000"},
                          {"GNT終了時刻", "100000"},
                          {"GNT所要時間（分）", 120},
                          {"手配数", 50},
                          {"手配確定区分", "2"}});
  WithMainForm([this](MainForm& main) {
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    main.KCode->setFocus();
    QTest::keyClick(main.KCode, Qt::Key_Return);
    EXPECT_TRUE(main.KName->hasFocus());
    QTest::keyClick(main.KName, Qt::Key_Return);
    EXPECT_TRUE(main.ComKensaku->hasFocus());

    std::vector<std::string> opened;
    auto noteLot = [&opened](PlanWindowDialog& dialog) {
      opened.push_back(dialog.Box("orderNo")->text().toStdString());
      dialog.finish->click();
    };
    test::WhenShown<PlanWindowDialog>(noteLot);
    main.KCode->setText("ｂｘ");
    QTest::keyClick(main.ComKensaku, Qt::Key_Return);  // Enter on the focused button presses it
    EXPECT_EQ("BX", main.KCode->text().toStdString());
    EXPECT_EQ(std::vector<std::string>{"3"}, opened) << testing::PrintToString(messages_.texts());

    std::vector<std::string> lines;
    test::WhenShown<SelectPlanDialog>([&](SelectPlanDialog& chooser) {
      EXPECT_EQ("AS2000", main.KCode->text().toStdString());
      for (int i = 0; i < chooser.NList->count(); ++i)
        lines.push_back(chooser.NList->item(i)->text().toStdString());
      test::WhenShown<PlanWindowDialog>([&](PlanWindowDialog& dialog) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
          EXPECT_FALSE(qobject_cast<SelectPlanDialog*>(w) && w->isVisible())
              << "the lot opens once the chooser is gone";
        }
        noteLot(dialog);
      });
      QListWidget* list = chooser.NList;
      ASSERT_TRUE(QTest::qWaitForWindowActive(&chooser));
      const QPoint line = list->visualItemRect(list->item(1)).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line);
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line);
    });
    main.KCode->setText("as2000");
    main.ComKensaku->click();
    EXPECT_EQ(2u, lines.size());
    EXPECT_EQ(0u, lines[1].rfind("2 04/12 A01", 0)) << lines[1];
    EXPECT_EQ((std::vector<std::string>{"3", "2"}), opened);
    EXPECT_TRUE(messages_.texts().empty());
  });
}

// A double click on the category asks before unsaved edits go; No keeps them.
TEST_F(ChartEditingTest, DiscardingUnsavedEditsAsksFirst) {
  messages_.Answer(Answer::No);
  WithMainForm([this](MainForm& main) {
    MoveToA02(main, 1);
    QTest::mouseDClick(main.KTbun, Qt::LeftButton);
    EXPECT_EQ(std::vector<std::string>{lotdetail::kDiscardQuestion}, messages_.texts());
    EXPECT_EQ("A02     ", Plan(main, 1).MachineCode);
    EXPECT_TRUE(main.UndoAction->isEnabled());
  });
}

}  // namespace
}  // namespace velmora::test
