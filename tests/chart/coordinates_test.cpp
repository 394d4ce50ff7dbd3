#include <gtest/gtest.h>

#include "chart/display_mode.h"
#include "chart/time_axis.h"
#include "chart/twip_to_datetime.h"
#include "chart_world.h"

namespace velmora::chart {
namespace {

using test::ChartWorld;

class Coordinates : public ::testing::Test {
 protected:
  void SetUp() override { DispWeek(w.data, w.model); }

  float X(std::string_view at, chart::TimeKind kind = chart::TimeKind::Rows) {
    return w.model.Scale.TimeToX(ChartWorld::At(at).DatePart(), ChartWorld::At(at).TimePart(),
                                 kind);
  }

  ChartWorld w;
};

TEST_F(Coordinates, TimeToXCountsMinutesFromEightOClockOfThePeriodStart) {
  EXPECT_EQ(0, X("2024/12/02 08:00:00"));
  EXPECT_EQ(-2, X("2024/12/02 07:59:00"));  // -120 / 60
  EXPECT_EQ(w.model.PlatForm.ScaleLeft, X("2024/11/30 08:00:00"));
  EXPECT_EQ(2880 + 1200, X("2024/12/03 18:00:00"));
  EXPECT_EQ(0, X("2024/12/02 08:00:59"));  // seconds do not cross a minute boundary
}

TEST_F(Coordinates, KindTwoMeasuresOnTheFixedFourWeekScale) {
  EXPECT_EQ(30, w.model.Scale.FixedHourWidth);
  EXPECT_EQ(120, X("2024/12/02 12:00:00", chart::TimeKind::UnplannedBand));
  EXPECT_EQ(480, X("2024/12/02 12:00:00", chart::TimeKind::Rows));
}

TEST_F(Coordinates, TimeToXRoundsHalfTwipsToEven) {
  w.model.Scale.HourWidth = 90;  // 1.5 twips a minute
  EXPECT_EQ(2, X("2024/12/02 08:01:00"));
  EXPECT_EQ(4, X("2024/12/02 08:03:00"));
  EXPECT_EQ(-2, X("2024/12/02 07:59:00"));
}

TEST_F(Coordinates, Twip2DateTimeReadsTheBarOnItsBandsScale) {
  const int i = w.AddPlan("        ", "2024/12/02 08:00:00", "2024/12/02 09:00:00");
  w.Plan(i).DurationMinutes = 90;
  BarLabel& bar = w.Bar(i);

  bar.Top = 301;
  bar.Left = 2880 + 150;  // one day and 75 minutes on the week scale
  Twip2DateTime(w.data, w.model, PlanIdx{i}, w.Plan(i).Bar());
  EXPECT_EQ(ChartWorld::Date("2024/12/03"), w.Plan(i).StartDate);
  EXPECT_EQ(DateTime::FromTime(9, 15, 0), w.Plan(i).StartTime);
  // An unplanned plan runs its minutes on the clock.
  EXPECT_EQ(ChartWorld::Date("2024/12/03"), w.Plan(i).EndDate);
  EXPECT_EQ(DateTime::FromTime(10, 45, 0), w.Plan(i).EndTime);
  EXPECT_EQ(1, w.Plan(i).Changed);
  EXPECT_TRUE(w.data.Edits.CanSave());

  bar.Top = 300;  // still the unplanned band: 30 twips an hour
  bar.Left = 150;
  Twip2DateTime(w.data, w.model, PlanIdx{i}, w.Plan(i).Bar());
  EXPECT_EQ(ChartWorld::Date("2024/12/02"), w.Plan(i).StartDate);
  EXPECT_EQ(DateTime::FromTime(13, 0, 0), w.Plan(i).StartTime);

  bar.Left = -30;  // before the origin: the previous date
  Twip2DateTime(w.data, w.model, PlanIdx{i}, w.Plan(i).Bar());
  EXPECT_EQ(ChartWorld::Date("2024/12/02"), w.Plan(i).StartDate);
  EXPECT_EQ(DateTime::FromTime(7, 0, 0), w.Plan(i).StartTime);
}

TEST_F(Coordinates, Twip2DateTimeLaysTheEndAcrossTheMachinesShifts) {
  for (int d = 0; d <= w.data.DayCount; ++d) {
    w.data.WorkMinutes(2, d) = 480;
    w.data.ShiftTimes(2, 1, d) = DateTime::FromTime(8, 0, 0);
    w.data.ShiftTimes(2, 2, d) = DateTime::FromTime(12, 0, 0);
    w.data.ShiftTimes(2, 3, d) = DateTime::FromTime(13, 0, 0);
    w.data.ShiftTimes(2, 4, d) = DateTime::FromTime(17, 0, 0);
  }
  const int i = w.AddPlan("M01     ", "2024/12/02 08:00:00", "2024/12/02 09:00:00");
  w.Plan(i).DurationMinutes = 600;
  w.Bar(i).Top = 825;
  w.Bar(i).Left = 240;  // 10:00
  Twip2DateTime(w.data, w.model, PlanIdx{i}, w.Plan(i).Bar());
  EXPECT_EQ(ChartWorld::Date("2024/12/03"), w.Plan(i).EndDate);
  EXPECT_EQ(DateTime::FromTime(12, 0, 0), w.Plan(i).EndTime);
}

TEST_F(Coordinates, InquiryModeLeavesTheSaveButtonAlone) {
  w.data.SetCommandLine("1");
  const int i = w.AddPlan("        ", "2024/12/02 08:00:00", "2024/12/02 09:00:00");
  Twip2DateTime(w.data, w.model, PlanIdx{i}, w.Plan(i).Bar());
  EXPECT_EQ(1, w.Plan(i).Changed);
  EXPECT_FALSE(w.data.Edits.CanSave());
}

}  // namespace
}  // namespace velmora::chart
