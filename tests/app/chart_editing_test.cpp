#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "app/chart_gestures.h"
#include "app/hozon_form.h"
#include "app/line_plan_dialog.h"
#include "app/plan_window_dialog.h"
#include "app/select_plan_dialog.h"
#include "common/date_text.h"
#include "common/format.h"
#include "editing/day_calendar.h"
#include "editing/row_expansion.h"
#include "lotdetail/lot_opening.h"
#include "lotdetail/plan_window.h"
#include "program_fixture.h"
#include "ui/chart_view.h"

namespace velmora {
namespace {

using ui::ChartHit;
using ui::ChartPainter;

// The main window on two assembly lines working 08:00-16:00, with plans on A01 on 04/11 and
// 04/12 from 08:00 for four hours. The item makes 100 pieces in four hours on either line.
class ChartEditingTest : public test::ProgramFixture {
 protected:
  ChartEditingTest() {
    db_.Insert("工程内容マスタ",
               {{"工程内容コード", "301"}, {"工程内容名", "組立"}, {"工程分類コード", "03"}});
    db_.Insert("品目マスタ", {{"品名コード", "AS2000-61C"}, {"品名＿品名仕様", "ユニット"}});
    db_.Insert("工程手順マスタ", {{"品名コード", "AS2000-61C"},
                                  {"順序", 1},
                                  {"生産工場コード", 12},
                                  {"工程内容コード", "301"}});
    for (const char* line : {"A01     ", "A02     "}) {
      db_.Insert("機械マスタ", {{"機械コード", line},
                                {"機械名", std::string("組立ライン") + line[2]},
                                {"生産工場コード", 12},
                                {"工程分類コード", "03"}});
      db_.Insert(
          "品目別機械別ｻｲｸﾙﾏｽﾀ",
          {{"品名コード", "AS2000-61C"}, {"順序", 1}, {"機械コード", line}, {"サイクル", 144}});
      for (int day = 1; day <= 30; ++day) {
        db_.Insert("機械別勤務体系マスタ", {{"機械コード", line},
                                            {"年月日", FormatYmd(DateTime::FromDate(2024, 4, day))},
                                            {"勤務時間", 480},
                                            {"開始時刻１", "080000"},
                                            {"終了時刻１", "160000"}});
      }
    }
    for (int no : {1, 2}) {
      const std::string day = no == 1 ? "20240411" : "20240412";
      db_.Insert("手配情報", {{"手配番号", no},
                              {"生産計画番号", no},
                              {"品名コード", "AS2000-61C"},
                              {"順序", 1},
                              {"生産工場コード", 12},
                              {"機械コード", "A01     "},
                              {"開始日", day},
                              {"納期", day},
                              {"GNT開始時刻", "080000"},
                              {"GNT終了時刻", "120000"},
                              {"GNT所要時間（分）", 240},
                              {"手配数", 100},
                              {"手配確定区分", "2"}});
    }
  }

  // Runs the program to its main window and hands the window to `check`, then closes it
  // without saving.
  void WithMainForm(std::function<void(MainForm&)> check) {
    test::WhenShown<MainForm>([check](MainForm& main) {
      check(main);
      main.State().Data.Edits.MarkSaved();
      main.close();
    });
    EXPECT_EQ(0, Run({"20240410", "03"}));
  }

  static PlanEntry& Plan(MainForm& main, int no) {
    PlanData& data = main.State().Data;
    for (std::int32_t i = 1; i <= data.PlanCount(); ++i) {
      if (data.Plan(PlanIdx{i}).OrderNo == no) return data.Plan(PlanIdx{i});
    }
    throw std::logic_error("no such plan");
  }
  static int Row(MainForm& main, const std::string& code) {
    const PlanData& data = main.State().Data;
    for (int r = 1; r <= data.RowCount; ++r) {
      if (data.RowCode[static_cast<std::size_t>(r)] == code) return r;
    }
    return 0;
  }
  // The canvas pixel showing point (x, y) of the rows' surface.
  static QPoint OnRows(MainForm& main, double x, double y) {
    const chart::ChartModel& m = main.Chart();
    const ui::ChartFrame frame = ChartPainter::ViewportFrame(m);
    const QRect rows = ChartPainter::BandsOf(frame).rows;
    auto px = [](double twips) { return static_cast<int>(std::floor(twips / 15 + 0.5)); };
    return QPoint(rows.left() + px(frame.platFormLeft - m.PlatForm.ScaleLeft + x),
                  rows.top() + px(frame.platFormTop + y));
  }
  // The rows' surface x of a moment ("yyyy/mm/dd hh:nn").
  static double X(MainForm& main, const std::string& at) {
    const DateTime t = *ParseSlashDate(at.substr(0, 10)) + *ParseColonTime(at.substr(11) + ":00");
    return main.Chart().Scale.TimeToX(t.DatePart(), t.TimePart(), "1");
  }
  static ChartHit HitAt(MainForm& main, QPoint at) {
    return main.Picture1()->Painter().HitTest(main.Chart(),
                                              ChartPainter::ViewportFrame(main.Chart()), at);
  }

  static void Mouse(MainForm& main, QEvent::Type type, QPoint at, Qt::MouseButton button,
                    Qt::MouseButtons held) {
    QWidget* canvas = main.Picture1()->Canvas();
    QMouseEvent event(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
  }
  static void Press(MainForm& main, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(main, QEvent::MouseButtonPress, at, button, button);
  }
  static void DragTo(MainForm& main, QPoint at) {
    Mouse(main, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
  }
  static void Release(MainForm& main, QPoint at) {
    Mouse(main, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  }
  // Drags plan `no` onto A02 at 04/12 10:00.
  static void MoveToA02(MainForm& main, int no) {
    const chart::BarLabel& bar = main.Chart().PlanBar[Plan(main, no).Bar().Slot()];
    const QPoint grab = OnRows(main, bar.Left + 150, bar.Top + 180);
    const double rowA02 = main.State().Data.RowTop[static_cast<std::size_t>(Row(main, "A02     "))];
    const QPoint drop = OnRows(main, X(main, "2024/04/12 10:00") + 150, rowA02 + 180);
    Press(main, grab);
    DragTo(main, (grab + drop) / 2);
    DragTo(main, drop);
    Release(main, drop);
    ASSERT_EQ("A02     ", Plan(main, no).MachineCode);
  }
  std::string Stored(int no, const std::string& columns) {
    return db_.Scalar("SELECT " + columns + " FROM 手配情報 WHERE 手配番号=" + std::to_string(no))
        .Text();
  }
  static void Keys(MainForm& main, Qt::KeyboardModifiers keys, Qt::Key key) {
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, key, keys);
  }
};

TEST_F(ChartEditingTest, DraggingABarMovesThePlanAndUndoPutsItBack) {
  WithMainForm([](MainForm& main) {
    PlanEntry& plan = Plan(main, 1);
    const chart::BarLabel& bar = main.Chart().PlanBar[plan.Bar().Slot()];
    const chart::Color colour = bar.BackColor;
    const QPoint grab = OnRows(main, bar.Left + 150, bar.Top + 180);
    ASSERT_EQ(ChartHit::Target::PlanBar, HitAt(main, grab).target);

    // A click is no move: nothing to save or undo, and the bar keeps its colours.
    Press(main, grab);
    Release(main, grab);
    EXPECT_EQ("A01     ", plan.MachineCode);
    EXPECT_EQ(0, plan.Changed);
    EXPECT_FALSE(main.Command8->isEnabled());
    EXPECT_FALSE(main.UndoAction->isEnabled());
    EXPECT_EQ(colour, bar.BackColor);

    const double rowA02 = main.State().Data.RowTop[static_cast<std::size_t>(Row(main, "A02     "))];
    const QPoint drop = OnRows(main, X(main, "2024/04/12 10:00") + 150, rowA02 + 180);
    Press(main, grab);
    DragTo(main, (grab + drop) / 2);
    DragTo(main, drop);
    const chart::DropPreview preview = main.Chart().Preview;
    EXPECT_TRUE(preview.Visible);
    EXPECT_FALSE(preview.Refused);
    EXPECT_EQ(Qt::ClosedHandCursor, main.Picture1()->Canvas()->cursor().shape());
    EXPECT_FALSE(main.UndoAction->isEnabled()) << "no undo in the middle of a drag";
    Release(main, drop);

    EXPECT_EQ("A02     ", plan.MachineCode);
    const DateTime wanted = *ParseSlashDate("2024/04/12") + DateTime::FromTime(10, 0, 0);
    // One pixel of the week mode is a quarter of an hour here.
    EXPECT_LE(std::abs(MinutesBetween(wanted, plan.Start())), 16)
        << FormatColonTime(plan.StartTime);
    EXPECT_EQ(240, MinutesBetween(plan.Start(), plan.End()));
    // The bar landed where the preview showed it.
    EXPECT_EQ(rowA02 - 45, preview.Top);
    EXPECT_NEAR(rowA02, bar.Top, 100);
    EXPECT_NEAR(preview.Left, bar.Left, 15);
    EXPECT_NEAR(preview.Width, bar.Width, 15);
    EXPECT_FALSE(main.Chart().Preview.Visible);
    EXPECT_NE(Qt::ClosedHandCursor, main.Picture1()->Canvas()->cursor().shape());
    EXPECT_TRUE(main.Command8->isEnabled());
    EXPECT_TRUE(main.UndoAction->isEnabled());

    Keys(main, Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ("A01     ", plan.MachineCode);
    EXPECT_EQ("2024/04/11 08:00:00",
              FormatSlashDate(plan.StartDate) + " " + FormatColonTime(plan.StartTime));
    EXPECT_FALSE(main.Command8->isEnabled());
    EXPECT_FALSE(main.UndoAction->isEnabled());
    EXPECT_TRUE(main.RedoAction->isEnabled());
    Keys(main, Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
    EXPECT_EQ("A02     ", plan.MachineCode);
    EXPECT_NEAR(rowA02, bar.Top, 100);
  });
}

// Holding a dragged bar in the bottom zone keeps scrolling the rows; the preview follows the
// row under the pointer. Leaving the zone stops it, and a release outside the rows drops nothing.
TEST_F(ChartEditingTest, HoldingADraggedBarAtTheBottomScrollsTheRows) {
  for (int m = 3; m <= 20; ++m) {
    const std::string code = (m < 10 ? "A0" : "A") + std::to_string(m) + "     ";
    db_.Insert("機械マスタ", {{"機械コード", code},
                              {"機械名", "組立ライン" + std::to_string(m)},
                              {"生産工場コード", 12},
                              {"工程分類コード", "03"}});
  }
  WithMainForm([](MainForm& main) {
    const chart::ChartModel& chart = main.Chart();
    ASSERT_GT(chart.KScroll.Max, 3);
    PlanEntry& plan = Plan(main, 1);
    const chart::BarLabel& bar = chart.PlanBar[plan.Bar().Slot()];
    const QPoint grab = OnRows(main, bar.Left + 150, bar.Top + 180);
    const QRect rows = ChartPainter::BandsOf(ChartPainter::ViewportFrame(chart)).rows;
    const QPoint bottom(grab.x(), rows.bottom() - 8);
    Press(main, grab);
    DragTo(main, bottom);
    QTest::qWait(10 * ChartGestures::kAutoScrollMs);
    EXPECT_GE(chart.KScroll.Value, 3);
    const ChartHit hit = HitAt(main, bottom);
    EXPECT_EQ(-600.0 * chart.KScroll.Value, chart.PlatForm.Top);
    EXPECT_TRUE(chart.Preview.Visible);
    EXPECT_LT(std::abs(chart.Preview.Top + 45 - hit.y), 600) << "the row now under the pointer";

    DragTo(main, QPoint(grab.x(), rows.center().y()));
    const int stopped = chart.KScroll.Value;
    QTest::qWait(5 * ChartGestures::kAutoScrollMs);
    EXPECT_EQ(stopped, chart.KScroll.Value);

    const QPoint captions(10, rows.center().y());
    DragTo(main, captions);
    EXPECT_FALSE(chart.Preview.Visible) << "nothing would land there";
    Release(main, captions);
    EXPECT_FALSE(main.Editor()->Pointer().Dragged);
    EXPECT_EQ("A01     ", plan.MachineCode);
    EXPECT_FALSE(main.Command8->isEnabled());
  });
}

TEST_F(ChartEditingTest, RightPressOnARowCaptionExpandsTheRow) {
  messages_.Answer(ui::Answer::Yes);
  WithMainForm([this](MainForm& main) {
    const int slot = Row(main, "A01     ") - main.Chart().KScroll.Value;
    ASSERT_EQ("A01 組立ライン1", main.Chart().MachineName[static_cast<std::size_t>(slot)]);
    const QPoint caption(
        10, ChartPainter::BandsOf(ChartPainter::ViewportFrame(main.Chart())).rows.top() + 8 +
                (slot - 1) * 40 + 20);
    Press(main, caption, Qt::RightButton);
    EXPECT_EQ((std::vector<std::string>{editing::kExpandQuestion, "2件"}), messages_.texts());
    EXPECT_EQ("04/10 08:00", FormatDateTime(Plan(main, 1).Start(), "mm/dd hh:nn"));
    EXPECT_EQ("04/10 12:00", FormatDateTime(Plan(main, 2).Start(), "mm/dd hh:nn"));
    EXPECT_EQ(X(main, "2024/04/10 12:00"), main.Chart().PlanBar[Plan(main, 2).Bar().Slot()].Left);
    EXPECT_TRUE(main.Command8->isEnabled());
    EXPECT_TRUE(main.UndoAction->isEnabled());
  });
}

TEST_F(ChartEditingTest, RightPressOnTheRowsOpensTheDayCalendarWhichStoresTheDay) {
  WithMainForm([this](MainForm& main) {
    const int row = Row(main, "A02     ");
    const int day = static_cast<int>(
        (DateTime::FromDate(2024, 4, 15) - main.State().Data.PeriodStartDate()).Days() + 2);
    QString title;
    std::vector<std::string> shown;
    test::WhenShown<LinePlanDialog>([&](LinePlanDialog& dialog) {
      title = dialog.windowTitle();
      for (QLineEdit* box : dialog.PlanTime) shown.push_back(box->text().toStdString());
      shown.push_back(dialog.PlanSum->text().toStdString());
      ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
      EXPECT_TRUE(dialog.PlanTime[0]->hasFocus());

      // A click into a box selects its text, so typing replaces it. Enter writes a time in full
      // and moves on; other text stays, with a message.
      QTest::mouseClick(dialog.PlanTime[2], Qt::LeftButton);
      QCoreApplication::processEvents();
      QTest::keyClicks(dialog.PlanTime[2], "17:0");
      QTest::keyClick(dialog.PlanTime[2], Qt::Key_Return);
      EXPECT_EQ("17:00:00", dialog.PlanTime[2]->text().toStdString());
      EXPECT_TRUE(dialog.PlanTime[3]->hasFocus());
      QTest::keyClicks(dialog.PlanTime[3], "7pm");
      QTest::keyClick(dialog.PlanTime[3], Qt::Key_Return);
      EXPECT_EQ(std::vector<std::string>{editing::kEnterATime}, messages_.texts());
      EXPECT_TRUE(dialog.PlanTime[3]->hasFocus());
      dialog.PlanTime[3]->selectAll();
      QTest::keyClicks(dialog.PlanTime[3], "19:30");
      QTest::keyClick(dialog.PlanTime[3], Qt::Key_Return);
      EXPECT_TRUE(dialog.PlanTime[4]->hasFocus());
      QTest::mouseClick(dialog.PlanSum, Qt::LeftButton);
      QCoreApplication::processEvents();
      QTest::keyClicks(dialog.PlanSum, "600");
      QTest::keyClick(dialog.PlanSum, Qt::Key_Return);
      EXPECT_TRUE(dialog.isVisible()) << "Enter in a box is not the button";
      dialog.Command1->click();
      EXPECT_FALSE(dialog.isVisible());
    });
    const QPoint at = OnRows(main, X(main, "2024/04/15 10:00"),
                             main.State().Data.RowTop[static_cast<std::size_t>(row)] + 180);
    Press(main, at, Qt::RightButton);

    EXPECT_EQ("稼働時間変更  A02 組立ライン2  2024/04/15", title.toStdString());
    ASSERT_EQ(9u, shown.size());
    EXPECT_EQ("08:00:00", shown[0]);
    EXPECT_EQ("16:00:00", shown[1]);
    EXPECT_EQ("480", shown[8]);
    const PlanData& data = main.State().Data;
    EXPECT_EQ("17:00:00", FormatColonTime(data.ShiftTimes(row, 3, day)));
    EXPECT_EQ("19:30:00", FormatColonTime(data.ShiftTimes(row, 4, day)));
    EXPECT_EQ(600, data.WorkMinutes(row, day));
    EXPECT_TRUE(main.Command8->isEnabled());
    EXPECT_TRUE(main.UndoAction->isEnabled());
  });
}

// Once the progress window is on screen, the undo key and the exit button are tried on the main
// window through the window system, as a user would mid-save.
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
    const QPoint exit = main_.Command9->mapTo(&main_, main_.Command9->rect().center());
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
    ASSERT_TRUE(main.Command8->isEnabled());

    SaveWatch watch(main);
    main.Command8->click();

    EXPECT_EQ("A02     " + FormatYmd(start.DatePart()) + FormatHms(start.TimePart()),
              Stored(1, "機械コード||開始日||GNT開始時刻"));
    EXPECT_EQ("A01     20240412080000", Stored(2, "機械コード||開始日||GNT開始時刻"));
    EXPECT_EQ(0, Plan(main, 1).Changed);
    EXPECT_FALSE(bar.Bold);
    EXPECT_FALSE(main.Command8->isEnabled());
    EXPECT_FALSE(main.UndoAction->isEnabled());

    const int n = main.State().Data.PlanCount();
    EXPECT_EQ(n, watch.maximum);
    EXPECT_EQ(std::to_string(n) + "/" + std::to_string(n),
              main.Hozon()->HozonText->text().toStdString());
    EXPECT_FALSE(main.Hozon()->isVisible());
    // Neither the undo key nor the exit button acted in the middle of the save.
    EXPECT_TRUE(watch.poked);
    EXPECT_EQ("A02     ", Plan(main, 1).MachineCode);
    EXPECT_TRUE(messages_.shown().empty());
  });
}

TEST_F(ChartEditingTest, AFailedSaveKeepsTheEditsSavableAndUndoable) {
  db_.connection().ExecuteScript(
      "CREATE TRIGGER refuse BEFORE UPDATE ON 手配情報 BEGIN SELECT RAISE(ABORT, 'disk full'); "
      "END");
  WithMainForm([this](MainForm& main) {
    MoveToA02(main, 1);
    main.Command8->click();

    ASSERT_EQ(1u, messages_.shown().size());
    EXPECT_EQ(0u, messages_.shown()[0].text.rfind(saving::kSaveFailed, 0))
        << messages_.shown()[0].text;
    EXPECT_EQ(ui::kCritical, messages_.shown()[0].style);
    EXPECT_EQ("A01     20240411", Stored(1, "機械コード||開始日"));
    EXPECT_EQ("A02     ", Plan(main, 1).MachineCode);
    EXPECT_NE(0, Plan(main, 1).Changed);
    EXPECT_TRUE(main.Chart().PlanBar[Plan(main, 1).Bar().Slot()].Bold);
    EXPECT_FALSE(main.Hozon()->isVisible());
    EXPECT_TRUE(main.Command8->isEnabled());
    ASSERT_TRUE(main.UndoAction->isEnabled());

    // The save works again once the database takes writes.
    db_.connection().ExecuteScript("DROP TRIGGER refuse");
    main.Command8->click();
    EXPECT_EQ(1u, messages_.shown().size());
    EXPECT_EQ("A02     ", Stored(1, "機械コード"));
    EXPECT_FALSE(main.Command8->isEnabled());
  });
}

// The control of the lot window that has the focus, by the model's name.
std::string FocusedControl() {
  for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
    const std::string name = w->objectName().toStdString();
    if (name.rfind("Text", 0) == 0 || name.rfind("Command", 0) == 0) return name;
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
      shown = {dialog.windowTitle().toStdString(), dialog.Box("Text14")->text().toStdString(),
               dialog.Box("Text10")->text().toStdString(),
               dialog.Text5->currentText().toStdString(), FocusedControl()};
      EXPECT_TRUE(dialog.Box("Text14")->isReadOnly());
      EXPECT_FALSE(dialog.Box("Text16")->isReadOnly());
      EXPECT_EQ(editing::kOpenedColor, bar.BackColor);

      Retype(dialog.Box("Text6"), "14:00");
      QTest::keyClick(dialog.Box("Text6"), Qt::Key_Return);
      EXPECT_EQ("360", dialog.Box("Text16")->text().toStdString());
      EXPECT_EQ("360", dialog.Box("Text19")->text().toStdString());
      EXPECT_EQ("Text12", FocusedControl());
      EXPECT_EQ(std::vector<std::string>{lotdetail::kAdjustQuantityQuestion}, messages_.texts());
      EXPECT_TRUE(dialog.isVisible()) << "Enter never closes the window";

      Retype(dialog.Text5->lineEdit(), "A02");
      QTest::mouseClick(dialog.Command1, Qt::LeftButton);
      EXPECT_FALSE(dialog.isVisible());
    });
    Press(main, at);
    Release(main, at);
    Mouse(main, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);

    EXPECT_EQ((std::vector<std::string>{lotdetail::kPlanWindowCaption, "1", "AS2000-61C",
                                        "A01     ", "Text7"}),
              shown);
    EXPECT_EQ("A02     ", plan.MachineCode);
    EXPECT_EQ("2024/04/11 14:00", FormatDateTime(plan.End(), "yyyy/mm/dd hh:nn"));
    EXPECT_EQ(360, plan.DurationMinutes);
    EXPECT_NE(0, plan.Changed);
    EXPECT_NE(editing::kOpenedColor, bar.BackColor);
    EXPECT_TRUE(main.Command8->isEnabled());

    Keys(main, Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ("A01     ", plan.MachineCode);
    EXPECT_EQ("2024/04/11 12:00", FormatDateTime(plan.End(), "yyyy/mm/dd hh:nn"));
    EXPECT_EQ(240, plan.DurationMinutes);
    EXPECT_EQ(0, plan.Changed);
    EXPECT_FALSE(main.Command8->isEnabled());
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
      dialog.Command3->setFocus();
      for (int i = 0; i < 16; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        byEnter.push_back(FocusedControl());
      }
      dialog.Box("Text7")->setFocus();
      for (int i = 0; i < 16; ++i) {
        byTab.push_back(FocusedControl());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      }
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
      EXPECT_TRUE(dialog.isVisible());

      Retype(dialog.Box("Text7"), "someday");
      dialog.Box("Text40")->setFocus();
      dialog.close();
      EXPECT_TRUE(dialog.isVisible());
      EXPECT_EQ("Text7", FocusedControl());
      EXPECT_EQ(lotdetail::kEnterADate, messages_.texts().back());
      Retype(dialog.Box("Text7"), "2024/04/12");
      dialog.close();
      EXPECT_FALSE(dialog.isVisible());
    });
    main.Editor()->PlanBar_DblClick(Plan(main, 2).Bar());

    // Enter on Text6 confirms the end and goes on to the destination, past the machine.
    EXPECT_EQ((std::vector<std::string>{"Text7", "Text1", "Text8", "Text6", "Text12", "Text3",
                                        "Text13", "Text15", "Text16", "Text19", "Text18", "Text40",
                                        "Text11", "Text7", "Text1", "Text8"}),
              byEnter);
    EXPECT_EQ((std::vector<std::string>{"Text7", "Text1", "Text8", "Text6", "Text5", "Text12",
                                        "Text3", "Text13", "Text15", "Text16", "Text19", "Text18",
                                        "Text40", "Text11", "Text10", "Text2"}),
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
      opened.push_back(dialog.Box("Text14")->text().toStdString());
      dialog.Command1->click();
    };
    test::WhenShown<PlanWindowDialog>(noteLot);
    main.KCode->setText("ｂｘ");
    main.ComKensaku->click();
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
  messages_.Answer(ui::Answer::No);
  WithMainForm([this](MainForm& main) {
    MoveToA02(main, 1);
    QTest::mouseDClick(main.KTbun, Qt::LeftButton);
    EXPECT_EQ(std::vector<std::string>{lotdetail::kDiscardQuestion}, messages_.texts());
    EXPECT_EQ("A02     ", Plan(main, 1).MachineCode);
    EXPECT_TRUE(main.UndoAction->isEnabled());
  });
}

}  // namespace
}  // namespace velmora
