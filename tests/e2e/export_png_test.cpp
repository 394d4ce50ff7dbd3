// The PNG export of the demo plant: the image has the size of the whole chart and the bars sit
// where the chart model puts them, in their colours.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <map>

#include "chart/display_mode.h"
#include "db/command.h"
#include "e2e/demo_export_fixture.h"
#include "generator/demo_generator.h"
#include "startup/main_form_load.h"
#include "support/run_program.h"
#include "ui/chart_painter.h"

namespace velmora::test {
namespace {

class ExportPng : public DemoExport {
 protected:
  void LoadExpected(int mode) {
    LoadWeek();
    if (mode == 1) chart::DispDay(data, chart);
  }

  ProgramRun Export(const std::string& png, const std::string& mode) {
    return RunProgram(program.executable(), {"--export-png", png, "--from", "20240501", "--to",
                                             "20240528", "--category", "3", "--mode", mode});
  }
};

TEST_F(ExportPng, WeekChartHasEveryRowAndTheBarsInTheirColours) {
  const std::string png = program.File("week.png");
  const ProgramRun run = Export(png, "3");
  ASSERT_EQ(0, run.status) << run.err;
  QImage image(QString::fromStdString(png));
  ASSERT_FALSE(image.isNull());

  LoadExpected(3);
  const ui::ChartFrame frame = ui::ChartPainter::WholeChartFrame(data, chart);
  EXPECT_EQ(ui::ChartPainter::FrameSize(frame), image.size());
  const ui::ChartPainter::Bands bands = ui::ChartPainter::BandsOf(frame);
  EXPECT_EQ(static_cast<int>(std::lround(data.RowCount * 600.0 / 15)) + 8, bands.rows.height());

  // Every visible machine bar without a received quantity that no other bar covers shows its
  // own background colour more than any other (its caption's glyphs aside).
  int checked = 0;
  ui::ChartPainter painter;
  for (int i = 2; i <= data.PlanCount() && checked < 20; ++i) {
    const PlanEntry& plan = data.PlanTable[static_cast<std::size_t>(i)];
    const chart::BarLabel& bar = chart.PlanBar[static_cast<std::size_t>(plan.BarIndex)];
    if (!bar.Visible || bar.Container != chart::Surface::PlatForm || plan.ReceivedQty != 0 ||
        bar.Width < 900)
      continue;
    const QRect rect(
        bands.rows.left() + static_cast<int>((bar.Left - chart.PlatForm.ScaleLeft) / 15),
        bands.rows.top() + static_cast<int>(bar.Top / 15), static_cast<int>(bar.Width / 15),
        static_cast<int>(bar.Height / 15));
    const ui::ChartHit hit = painter.HitTest(chart, frame, rect.center());
    if (hit.target != ui::ChartHit::Target::PlanBar || hit.index != plan.BarIndex)
      continue;  // covered
    std::map<QRgb, int> counts;
    for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
      for (int x = rect.left() + 1; x < rect.right(); ++x) ++counts[image.pixel(x, y)];
    }
    const auto mostCommon =
        std::max_element(counts.begin(), counts.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    EXPECT_EQ(ui::ToQColor(bar.BackColor).rgb(), mostCommon->first)
        << "bar " << plan.BarIndex << " at " << rect.x() << "," << rect.y();
    ++checked;
  }
  EXPECT_GE(checked, 10);
}

// The window's day view reaches the whole period; its picture keeps to the first 17 days, within
// what raster painters take.
TEST_F(ExportPng, DayModeRendersAtMostSeventeenDays) {
  const std::string png = program.File("day.png");
  const ProgramRun run = Export(png, "1");
  ASSERT_EQ(0, run.status) << run.err;
  LoadExpected(1);
  const QImage image(QString::fromStdString(png));
  EXPECT_EQ(data.DayCount * chart.Scale.DayWidth, chart.PlatForm.Width);
  ui::ChartFrame frame = ui::ChartPainter::WholeChartFrame(data, chart);
  frame.width = 17 * chart.Scale.DayWidth;
  EXPECT_EQ(ui::ChartPainter::FrameSize(frame), image.size());
  EXPECT_LT(image.width(), 32768);
}

TEST_F(ExportPng, AFileThatCannotBeWrittenIsAnErrorAndLeavesNothingBehind) {
  const ProgramRun run = Export("/proc/velmora-cannot-write/chart.png", "3");
  EXPECT_NE(0, run.status);
  EXPECT_NE(std::string::npos, run.err.find("を確認してください。")) << run.err;

  const std::string folder = program.File("out");
  std::filesystem::create_directories(folder + "/chart.png");
  EXPECT_EQ(1, Export(folder + "/chart.png", "3").status);
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder),
                             std::filesystem::directory_iterator()))
      << "only the folder that was in the way";
}

}  // namespace
}  // namespace velmora::test
