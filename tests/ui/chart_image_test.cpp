#include "ui/chart_image.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstring>

#include "chart/chart_world.h"
#include "chart/display_mode.h"
#include "support/test_db.h"

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
      w.Plan(plan).PlanItemCode = "A-" + std::to_string(plan);
      w.Plan(plan).ModelName = "ケース上";
      w.Plan(plan).ProcessName = "成形";
    }
    chart::DispWeek(w.data, w.model);
    whole = RenderChartImage(w.data, w.model);
    ASSERT_FALSE(whole.isNull());
  }

  test::ChartWorld w{3};
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

}  // namespace
}  // namespace velmora::ui
