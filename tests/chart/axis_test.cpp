#include <gtest/gtest.h>

#include <vector>

#include "chart/display_mode.h"
#include "chart/time_axis.h"
#include "chart_world.h"

namespace velmora::chart {
namespace {

using test::ChartWorld;

template <typename T>
int CountVisible(const std::vector<T>& elements) {
  int n = 0;
  for (const T& e : elements) n += e.Visible ? 1 : 0;
  return n;
}

TEST(Axis, WeekModeLabelsDaysWithWeekendColours) {
  ChartWorld w;
  DispWeek(w.data, w.model);
  const auto& names = w.model.LineName;
  const auto& lines = w.model.DayLine;
  EXPECT_EQ("30", names[0].Text);  // Saturday 11/30, day index 0
  EXPECT_EQ(kBlue, names[0].ForeColor);
  EXPECT_EQ(kBlue, lines[0].BorderColor);
  EXPECT_EQ("1", names[1].Text);  // Sunday
  EXPECT_EQ(kRed, names[1].ForeColor);
  EXPECT_EQ(kRed, lines[1].BorderColor);
  EXPECT_EQ("2", names[2].Text);
  EXPECT_EQ(kBlack, names[2].ForeColor);
  EXPECT_EQ(kLightGrey, lines[2].BorderColor);
  EXPECT_EQ(-5760 + 2 * 2880, lines[2].X1);
  EXPECT_EQ(lines[2].X1, lines[2].X2);
  EXPECT_EQ(lines[2].X1, names[2].Left);
  EXPECT_EQ(240, names[10].Width);  // "10": two characters of 120
  // Lines run while x is left of the scale width: days 0..22.
  EXPECT_EQ(23, CountVisible(lines));
  EXPECT_EQ(23, CountVisible(names));
  // Mode 3 has eight-hour lines for ten days from the chart origin.
  EXPECT_EQ(30, CountVisible(w.model.HourLine) - (w.model.HourLine[0].Visible ? 1 : 0));
  EXPECT_EQ(0, w.model.HourLine[1].X1);
  EXPECT_EQ(960, w.model.HourLine[2].X1);
}

TEST(Axis, DayModeLabelsEveryEightHours) {
  ChartWorld w;
  DispDay(w.data, w.model);
  const auto& names = w.model.LineName;
  EXPECT_EQ("8", names[0].Text);
  EXPECT_EQ(kRed, w.model.DayLine[0].BorderColor);
  EXPECT_EQ("16", names[1].Text);
  EXPECT_EQ(kBlack, names[1].ForeColor);
  EXPECT_EQ(kBlack, w.model.DayLine[1].BorderColor);
  EXPECT_EQ("0", names[2].Text);
  EXPECT_EQ("8(12/1)", names[3].Text);
  EXPECT_EQ(kRed, names[3].ForeColor);
  EXPECT_EQ(kRed, w.model.DayLine[3].BorderColor);
  EXPECT_EQ(840, names[3].Width);
  EXPECT_EQ("8(12/2)", names[6].Text);
  EXPECT_EQ(-2 * 20160 + 8 * 840, names[1].Left);
  EXPECT_EQ(0, w.model.HourLine[1].X1);  // hourly lines start at the chart origin
  EXPECT_EQ(840, w.model.HourLine[2].X1);
  EXPECT_EQ(240, CountVisible(w.model.HourLine) - (w.model.HourLine[0].Visible ? 1 : 0));

  // The header band labels twice as wide per character in day mode, one day further.
  EXPECT_EQ("8(12/1)", w.model.LineName2[3].Text);
  EXPECT_EQ(7 * 240, w.model.LineName2[3].Width);
  EXPECT_EQ(names[3].Left, w.model.LineName2[3].Left);
  EXPECT_EQ(CountVisible(names) + 3, CountVisible(w.model.LineName2));
}

TEST(Axis, HeaderLabelsSitInsideTheirDayInWeekAndMonthModes) {
  ChartWorld w;
  DispWeek(w.data, w.model);
  EXPECT_EQ(-5760 + 12 * 120, w.model.LineName2[0].Left);
  EXPECT_EQ(w.model.LineName[4].Left + 11 * 120, w.model.LineName2[4].Left);
  DispMonth(w.data, w.model);
  EXPECT_EQ(w.model.LineName[4].Left + 9 * 30, w.model.LineName2[4].Left);
  EXPECT_FALSE(w.model.HourLine[1].Visible);  // no hour lines in month mode
}

TEST(Axis, LinesStayOnTheDayBoundariesWhenAnHourIsNotAWholeTwip) {
  ChartWorld w;
  w.model.Picture1.Width = 20000;  // an hour of 119.05 twips in week mode
  TakeViewportScale(w.data, w.model);
  DispWeek(w.data, w.model);
  const double day = w.model.Scale.DayWidth;
  EXPECT_NEAR(-2 * day + 20 * day, w.model.DayLine[20].X1, 0.5);
  EXPECT_NEAR(w.model.Scale.TimeToX(ChartWorld::Date("2024/12/20"), DateTime::FromTime(8, 0, 0),
                                    chart::TimeKind::Rows),
              w.model.DayLine[20].X1, 1);
}

TEST(Axis, DrawingWithoutAnHourWidthStopsAtTheFirstLine) {
  // The load draws a first axis before any display mode has set the hour width.
  ChartWorld w;
  w.model.Scale.DisplayMode = 2;
  EXPECT_EQ(14 * 20160, DrawDayLine(w.data, w.model));
  EXPECT_TRUE(w.model.DayLine[0].Visible);
  EXPECT_EQ(1u, w.model.DayLine.size());
}

TEST(Axis, BorderLinesRunAlongEachRowsLimit) {
  ChartWorld w;
  DrawBorderLine(w.data, w.model, 5000);
  EXPECT_FALSE(w.model.Line1[0].Visible);
  ASSERT_EQ(17u, w.model.Line1.size());
  EXPECT_EQ(-40320, w.model.Line1[2].X1);
  EXPECT_EQ(5000, w.model.Line1[2].X2);
  EXPECT_EQ(840 + 480, w.model.Line1[2].Y1);
  EXPECT_EQ(w.model.Line1[2].Y1, w.model.Line1[2].Y2);
  EXPECT_TRUE(w.model.Line1[16].Visible);
}

class Shading : public ::testing::Test {
 protected:
  // Row 2 works 08:00-17:00, row 3 around the clock, row 4 never.
  void SetUp() override {
    for (int d = 0; d <= w.data.DayCount; ++d) {
      Window(2, d, 1, 8, 17);
      Window(3, d, 1, 8, 20);
      Window(3, d, 3, 20, 8);
    }
  }
  void Window(int row, int d, int slot, int from, int to, int toMinute = 0) {
    w.data.WorkMinutes(row, d) += 60;
    w.data.ShiftTimes(row, slot, d) = DateTime::FromTime(from, 0, 0);
    w.data.ShiftTimes(row, slot + 1, d) = DateTime::FromTime(to, toMinute, 0);
  }
  std::vector<FillBoxLabel> Boxes() const {
    std::vector<FillBoxLabel> shown;
    for (std::size_t i = 1; i < w.model.FillBox.size(); ++i) {
      if (w.model.FillBox[i].Visible) shown.push_back(w.model.FillBox[i]);
    }
    return shown;
  }

  ChartWorld w;
};

TEST_F(Shading, BoxesMarkNonWorkingHoursOfEachMachineDay) {
  DispWeek(w.data, w.model);
  const auto boxes = Boxes();
  // Days 1..21: row 2 from 17:00, row 4 the whole day; row 3 and day 0 never.
  ASSERT_EQ(42u, boxes.size());
  const double x1 = -5760 + 2880;  // the line of day 1
  EXPECT_EQ(x1 + 15 + 9 * 120, boxes[0].Left);
  EXPECT_EQ(15 * 120 - 15, boxes[0].Width);
  EXPECT_EQ(840 + 480 - 600, boxes[0].Top);
  EXPECT_EQ(600, boxes[0].Height);
  EXPECT_EQ(x1 + 15, boxes[1].Left);
  EXPECT_EQ(24 * 120 - 15, boxes[1].Width);
  EXPECT_EQ(2040 + 480 - 600, boxes[1].Top);
  for (const FillBoxLabel& b : boxes) EXPECT_GT(b.Left, -5760 + 15);
}

TEST_F(Shading, OnlyEightOClockLinesShadeInDayMode) {
  DispDay(w.data, w.model);
  const auto boxes = Boxes();
  // Lines run while x is left of the scale width, the whole period as in week mode.
  ASSERT_EQ(42u, boxes.size());
  EXPECT_EQ(-2 * 20160 + 20160 + 15 + 9 * 840, boxes[0].Left);
}

TEST_F(Shading, EndsAtOrJustBeforeTheDayChangeLeaveTheDayUnshaded) {
  for (int d = 0; d <= w.data.DayCount; ++d) {
    w.data.ShiftTimes(2, 2, d) = DateTime::FromTime(7, 45, 0);  // 08:00 to 07:45 next morning
    w.data.ShiftTimes(4, 1, d) = w.data.ShiftTimes(4, 2, d) = DateTime::FromTime(9, 0, 0);
    w.data.WorkMinutes(4, d) = 30;  // minutes recorded, but every window empty
  }
  DispWeek(w.data, w.model);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Shading, MonthModeShadesWholeDaysOnTheExactHourWidth) {
  DispMonth(w.data, w.model);
  const auto boxes = Boxes();
  ASSERT_EQ(42u, boxes.size());
  EXPECT_EQ(24 * 30 - 15, boxes[1].Width);
  EXPECT_EQ(-1440 + 720 + 15 + 9 * 30, boxes[0].Left);
}

}  // namespace
}  // namespace velmora::chart
