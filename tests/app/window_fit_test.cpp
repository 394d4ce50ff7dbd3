// The main window on screens of several sizes (the test runs once per screen; see CMakeLists).
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <map>

#include "app/main_form.h"
#include "common/date_text.h"
#include "dialogs/kbun_select.h"
#include "program_fixture.h"
#include "ui/chart_view.h"

namespace velmora {
namespace {

// Everything of the chart that a user needs lies inside the window, and every row and every day
// of the period can be scrolled into view.
void ExpectChartReachable(MainForm& main, const char* when) {
  SCOPED_TRACE(when);
  const QRect window = main.rect();
  ui::ChartView& view = *main.Picture1();
  for (QWidget* part : {static_cast<QWidget*>(view.HScroll1()),
                        static_cast<QWidget*>(view.KScroll()), view.Canvas()}) {
    const QRect inWindow(part->mapTo(&main, QPoint(0, 0)), part->size());
    EXPECT_TRUE(window.contains(inWindow)) << part->metaObject()->className();
  }
  const chart::ChartModel& chart = main.Chart();
  const PlanData& data = main.Session().Data();
  EXPECT_EQ(data.RowCount, chart.KScroll.Max + std::min<int>(chart.VisibleRows, data.RowCount));
  // The chart's room below the bands holds its rows, with less than a row left over.
  const double room = view.RoomForChart().height();
  EXPECT_LE(chart.RowsAreaHeight(), room);
  EXPECT_GT(chart.RowsAreaHeight() + chart::kRowPitch, room);
  EXPECT_NEAR(view.RoomForChart().width(), chart.Picture1.Width, 1);
  // The period's end reachable at the right edge, to the pixel the scroll bar moves by.
  const double lastDay = data.DayCount - 2;
  EXPECT_GE(chart.HScroll1.Max * chart.HScrollUnit + chart.Picture1.Width + chart.HScrollUnit,
            lastDay * chart.Scale.DayWidth);
}

class WindowFit : public test::ProgramFixture {};

TEST_F(WindowFit, ChartFillsTheWindowOnTheScreenAndAfterEveryResize) {
  test::WhenShown<MainForm>([](MainForm& main) {
    const QRect screen = main.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(main.frameGeometry())) << "opens within the screen";
    ExpectChartReachable(main, "as opened");

    std::map<int, int> rowsAtHeight;
    for (const QSize size : {QSize(1280, 720), QSize(1920, 1080), QSize(1366, 768),
                             QSize(1300, 700), QSize(1920, 1080)}) {
      main.resize(size);
      QApplication::processEvents();
      ASSERT_EQ(size, main.size()) << "no wider or taller than the screens of shop-floor desks";
      ExpectChartReachable(main, "resized");
      rowsAtHeight[size.height()] = main.Chart().VisibleRows;
    }
    // Taller windows show more rows; the design's 16 rows fit a full-HD screen.
    EXPECT_LT(rowsAtHeight[700], rowsAtHeight[768]);
    EXPECT_LT(rowsAtHeight[768], rowsAtHeight[1080]);
    EXPECT_GE(rowsAtHeight[1080], chart::kVisibleRows);

    // The side panel shown, the window still fits the smallest screen.
    main.PanelAction->setChecked(true);
    QApplication::processEvents();
    EXPECT_LE(main.minimumSizeHint().width(), 1280);
    main.resize(1280, 720);
    QApplication::processEvents();
    EXPECT_EQ(QSize(1280, 720), main.size());
    ExpectChartReachable(main, "with the side panel");
    main.quitButton->click();
  });
  EXPECT_EQ(0, Run({"20240410", "03"}));
}

// In every display mode the period's last day comes into view by the End key, the scroll bar and
// the date box, on a period longer than the old limits of the day and three-day views.
TEST_F(WindowFit, EveryModeReachesThePeriodsLastDay) {
  const auto everyMode = [](MainForm& main) {
    const PlanData& data = main.Session().Data();
    const chart::ChartModel& chart = main.Chart();
    ui::ChartView& view = *main.Picture1();
    const int lastDay = (data.PeriodEndDate() - data.PeriodStartDate()).Days();
    ASSERT_GT(lastDay, 50);
    for (const int mode : {1, 2, 3, 4}) {
      SCOPED_TRACE("mode " + std::to_string(mode));
      while (chart.Scale.DisplayMode != mode) main.modeButton->click();
      ExpectChartReachable(main, "mode");
      // The left edge's moment and the viewport, in days from the period start.
      const auto left = [&] {
        return chart.HScroll1.Value * chart.HScrollUnit / chart.Scale.DayWidth;
      };
      const double across = chart.Picture1.Width / chart.Scale.DayWidth;
      const auto lastDayShown = [&] {
        EXPECT_LE(left(), lastDay);
        EXPECT_GE(left() + across + chart.HScrollUnit / chart.Scale.DayWidth, lastDay + 1);
      };

      test::PressKey(view.Canvas(), Qt::Key_Home);
      ASSERT_EQ(0, chart.HScroll1.Value);
      test::PressKey(view.Canvas(), Qt::Key_End);
      EXPECT_EQ(view.HScroll1()->maximum(), view.HScroll1()->value());
      lastDayShown();

      view.HScroll1()->setValue(view.HScroll1()->minimum());
      view.HScroll1()->setValue(view.HScroll1()->maximum());
      EXPECT_EQ(chart.HScroll1.Max, chart.HScroll1.Value) << "the scroll bar moves the chart";
      lastDayShown();

      test::PressKey(view.Canvas(), Qt::Key_Home);
      main.DayDispArea->setText(QString::fromStdString(FormatSlashDate(data.PeriodEndDate())));
      test::PressEnter(main.DayDispArea);
      lastDayShown();
    }
    main.quitButton->click();
  };
  test::WhenShown<KBunSelect>([&everyMode](KBunSelect& dialog) {
    dialog.strYYMMDD->setText("2024/04/01");
    dialog.endYYMMDD->setText("2024/06/30");
    dialog.ComboKBun->setCurrentRow(1);
    test::WhenShown<MainForm>(everyMode);
    dialog.cmdOK->click();
  });
  EXPECT_EQ(0, Run({}));
}

}  // namespace
}  // namespace velmora
