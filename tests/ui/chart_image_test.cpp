#include "ui/chart_image.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstring>
#include <vector>

#include "chart/chart_world.h"
#include "chart/display_mode.h"
#include "chart/legend.h"
#include "support/test_db.h"
#include "ui/chart_painter.h"
#include "ui/surface_area.h"

namespace velmora::ui {
namespace {

// Pixels whose colour (alpha included) differs: a PNG read back has no premultiplied format,
// so the images are compared colour by colour.
int Differences(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  int n = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  }
  return n;
}

// Overlapping bars with two-line captions on neighbouring rows, so that band edges cut through
// bars, glyphs, the axis labels and the captions column.
class ChartImage : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& [machine, start, end] :
         {std::tuple{"M01     ", "2024/12/02 10:00:00", "2024/12/03 10:00:00"},
          {"M01     ", "2024/12/03 02:00:00", "2024/12/05 18:30:00"},
          {"M02     ", "2024/12/02 06:00:00", "2024/12/02 09:00:00"},
          {"M03     ", "2024/12/09 00:00:00", "2024/12/16 00:00:00"}}) {
      const int plan = w.AddPlan(machine, start, end);
      plans.push_back(plan);
      w.Plan(plan).PlanItemCode = "A-" + std::to_string(plan);
      w.Plan(plan).ModelName = "ケース上";
      w.Plan(plan).ProcessName = "成形";
    }
    chart::DispWeek(w.data, w.model);
    whole = RenderChartImage(w.data, w.model);
    ASSERT_FALSE(whole.isNull());
  }

  test::ChartWorld w{3};
  std::vector<int> plans;
  QImage whole;
};

TEST_F(ChartImage, BandsMakeTheOnePiecePicture) {
  for (int bandHeight : {1, 7, 64, whole.height() + 5}) {
    QImage joined(whole.size(), QImage::Format_ARGB32_Premultiplied);
    joined.fill(Qt::transparent);
    int next = 0;
    RenderChartBands(w.data, w.model, bandHeight, [&](const QImage& band, int top, int rows) {
      EXPECT_EQ(next, top);
      EXPECT_EQ(whole.width(), band.width());
      for (int y = 0; y < rows; ++y) {
        std::memcpy(joined.scanLine(top + y), band.constScanLine(y),
                    static_cast<std::size_t>(band.bytesPerLine()));
      }
      next = top + rows;
    });
    EXPECT_EQ(whole.height(), next) << bandHeight;
    EXPECT_EQ(0, Differences(whole, joined)) << "bands of " << bandHeight;
  }
}

TEST_F(ChartImage, WrittenFileReadsBackAsThePicture) {
  test::TempDir dir;
  const std::string path = dir.File("chart.png");
  SaveChartPng(w.data, w.model, path);
  const QImage read(QString::fromStdString(path));
  ASSERT_FALSE(read.isNull());
  EXPECT_EQ(0, Differences(whole, read));
  EXPECT_THROW(SaveChartPng(w.data, w.model, dir.File("missing/chart.png")), std::runtime_error);
}

// A plan whose end is fixed ends in a dark band, a locked one is framed as well, a free one has
// neither; the marks lie on the bars, under the captions.
TEST_F(ChartImage, FixedBarsCarryTheirMark) {
  struct Case {
    std::size_t plan;
    const char* flag;
    bool band;
    bool frame;
  } cases[] = {{2, "0", false, false}, {1, "1", true, false}, {3, "2", true, true}};
  for (const Case& c : cases) w.Plan(plans[c.plan]).FixedFlag = c.flag;
  chart::DispWeek(w.data, w.model);
  const QImage image = RenderChartImage(w.data, w.model);
  const QRgb mark = ToQColor(chart::kFixedMarkColor).rgb();
  const ChartFrame frame = ChartPainter::WholeChartFrame(w.data, w.model);
  const SurfaceArea rows = AreaOf(chart::Surface::PlatForm, w.model, frame, image.rect());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flag);
    const chart::BarLabel& bar = w.model.PlanBar[w.Plan(plans[c.plan]).Bar().Slot()];
    const QRect r = rows.Rect(bar.Left, bar.Top, bar.Width, bar.Height);
    // Pixels of the mark's colour down a column or along a row of the bar (a caption's glyph
    // may lie over a few).
    const auto down = [&](int x) {
      int n = 0;
      for (int y = r.top(); y <= r.bottom(); ++y) n += image.pixel(x, y) == mark ? 1 : 0;
      return n;
    };
    const auto along = [&](int y) {
      int n = 0;
      for (int x = r.left(); x <= r.right() - 3; ++x) n += image.pixel(x, y) == mark ? 1 : 0;
      return n;
    };
    EXPECT_EQ(c.band, down(r.right()) > r.height() * 3 / 4);
    EXPECT_EQ(c.band, down(r.right() - 2) > r.height() * 3 / 4);
    EXPECT_EQ(c.frame, down(r.left()) > r.height() * 3 / 4);
    EXPECT_EQ(c.frame, along(r.top()) > (r.width() - 3) * 3 / 4);
    EXPECT_EQ(c.frame, along(r.bottom()) > (r.width() - 3) * 3 / 4);
    EXPECT_LT(down(r.right() - 3), r.height() / 2) << "the bar's own colour beside the band";
  }
}

}  // namespace
}  // namespace velmora::ui
