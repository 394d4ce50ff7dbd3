#include <gtest/gtest.h>

#include "chart_editing_fixture.h"

namespace velmora::test {
namespace {

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
    EXPECT_FALSE(main.saveButton->isEnabled());
    EXPECT_FALSE(main.UndoAction->isEnabled());
    EXPECT_EQ(colour, bar.BackColor);

    const double rowA02 =
        main.Session().Data().RowTop[static_cast<std::size_t>(Row(main, "A02     "))];
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
    EXPECT_TRUE(main.saveButton->isEnabled());
    EXPECT_TRUE(main.UndoAction->isEnabled());

    Keys(main, Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ("A01     ", plan.MachineCode);
    EXPECT_EQ("2024/04/11 08:00:00",
              FormatSlashDate(plan.StartDate) + " " + FormatColonTime(plan.StartTime));
    EXPECT_FALSE(main.saveButton->isEnabled());
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
    EXPECT_FALSE(main.Session().Dragging());
    EXPECT_EQ("A01     ", plan.MachineCode);
    EXPECT_FALSE(main.saveButton->isEnabled());
  });
}

TEST_F(ChartEditingTest, RightPressOnARowCaptionExpandsTheRow) {
  messages_.Answer(Answer::Yes);
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
    EXPECT_TRUE(main.saveButton->isEnabled());
    EXPECT_TRUE(main.UndoAction->isEnabled());
  });
}

TEST_F(ChartEditingTest, RightPressOnTheRowsOpensTheDayCalendarWhichStoresTheDay) {
  WithMainForm([this](MainForm& main) {
    const int row = Row(main, "A02     ");
    const int day = static_cast<int>(
        (DateTime::FromDate(2024, 4, 15) - main.Session().Data().PeriodStartDate()).Days() + 2);
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
      dialog.storeDay->click();
      EXPECT_FALSE(dialog.isVisible());
    });
    const QPoint at = OnRows(main, X(main, "2024/04/15 10:00"),
                             main.Session().Data().RowTop[static_cast<std::size_t>(row)] + 180);
    Press(main, at, Qt::RightButton);

    EXPECT_EQ("稼働時間変更  A02 組立ライン2  2024/04/15", title.toStdString());
    ASSERT_EQ(9u, shown.size());
    EXPECT_EQ("08:00:00", shown[0]);
    EXPECT_EQ("16:00:00", shown[1]);
    EXPECT_EQ("480", shown[8]);
    const PlanData& data = main.Session().Data();
    EXPECT_EQ("17:00:00", FormatColonTime(data.ShiftTimes(row, 3, day)));
    EXPECT_EQ("19:30:00", FormatColonTime(data.ShiftTimes(row, 4, day)));
    EXPECT_EQ(600, data.WorkMinutes(row, day));
    EXPECT_TRUE(main.saveButton->isEnabled());
    EXPECT_TRUE(main.UndoAction->isEnabled());
  });
}

// Once the progress window is on screen, the undo key and the exit button are tried on the main

// Shift+wheel moves the time, Ctrl+wheel the display mode, and the keys reach both ends of the
// period; the date box follows.
TEST_F(ChartEditingTest, TheWheelAndTheKeysMoveTheChart) {
  WithMainForm([](MainForm& main) {
    QWidget* canvas = main.Picture1()->Canvas();
    chart::ChartModel& chart = main.Chart();
    const QPointF middle = QRectF(canvas->rect()).center();
    auto wheel = [&](QPoint angle, Qt::KeyboardModifiers keys) {
      QWheelEvent event(middle, canvas->mapToGlobal(middle), QPoint(), angle, Qt::NoButton, keys,
                        Qt::NoScrollPhase, false);
      QCoreApplication::sendEvent(canvas, &event);
    };
    const int start = chart.HScroll1.Value;
    wheel(QPoint(0, -120), Qt::ShiftModifier);
    EXPECT_GT(chart.HScroll1.Value, start) << "turned towards the user: later";
    wheel(QPoint(0, 60), Qt::ControlModifier);
    EXPECT_EQ(3, chart.Scale.DisplayMode) << "half a notch does nothing yet";
    wheel(QPoint(0, 60), Qt::ControlModifier);
    EXPECT_EQ(2, chart.Scale.DisplayMode);
    EXPECT_EQ(chart.modeCaption, main.modeCaption->text().toStdString());

    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_End);
    EXPECT_EQ(chart.HScroll1.Max, chart.HScroll1.Value);
    QTest::keyClick(canvas, Qt::Key_Home);
    EXPECT_EQ(0, chart.HScroll1.Value);
    EXPECT_EQ("2024年4月10日", main.DayDispArea->text().toStdString());
  });
}

}  // namespace
}  // namespace velmora::test
