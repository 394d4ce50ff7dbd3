#include <gtest/gtest.h>

#include <cmath>

#include "chart/display_mode.h"
#include "chart/time_axis.h"
#include "chart_world.h"
#include "plandata/plan_end_time.h"

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

TEST_F(Coordinates, TimeAtReadsXOnTheRowsOrTheBandsScale) {
  const TimeScale& scale = w.model.Scale;
  // One day and 75 minutes on the week scale; 150 twips on the band's are five hours.
  EXPECT_EQ(ChartWorld::At("2024/12/03 09:15:00"), scale.TimeAt(2880 + 150, TimeKind::Rows));
  EXPECT_EQ(ChartWorld::At("2024/12/02 13:00:00"), scale.TimeAt(150, TimeKind::UnplannedBand));
  EXPECT_EQ(ChartWorld::At("2024/12/02 07:00:00"), scale.TimeAt(-30, TimeKind::UnplannedBand));
}

// x -> time -> x comes back to x within half a minute's width, and time -> x -> time to the
// minute wherever a minute is at least one twip wide, in every mode on both scales.
TEST_F(Coordinates, XAndTimeRoundTripInEveryMode) {
  for (const int mode : {1, 2, 3, 4}) {
    DispMode(w.data, w.model, mode);
    const TimeScale& scale = w.model.Scale;
    for (const TimeKind kind : {TimeKind::Rows, TimeKind::UnplannedBand}) {
      SCOPED_TRACE(testing::Message() << "mode " << mode << " kind " << static_cast<int>(kind));
      const double perMinute =
          (kind == TimeKind::Rows ? scale.HourWidth : scale.FixedHourWidth) / 60.0;
      for (double x = -5000; x <= 60000; x += 37) {
        const DateTime t = scale.TimeAt(x, kind);
        ASSERT_LE(std::abs(scale.TimeToX(t.DatePart(), t.TimePart(), kind) - x), perMinute / 2 + 1)
            << x;
      }
      if (perMinute < 1) continue;
      for (int minutes = -3000; minutes <= 30000; minutes += 7) {
        const DateTime t = scale.ChartOrigin.AddMinutes(minutes);
        ASSERT_EQ(t, scale.TimeAt(scale.TimeToX(t.DatePart(), t.TimePart(), kind), kind))
            << minutes;
      }
    }
  }
}

TEST_F(Coordinates, AMovedPlanRunsItsMinutesAcrossItsShiftsOrOnTheClock) {
  for (int d = 0; d <= w.data.DayCount; ++d) {
    w.data.WorkMinutes(2, d) = 480;
    w.data.ShiftTimes(2, 1, d) = DateTime::FromTime(8, 0, 0);
    w.data.ShiftTimes(2, 2, d) = DateTime::FromTime(12, 0, 0);
    w.data.ShiftTimes(2, 3, d) = DateTime::FromTime(13, 0, 0);
    w.data.ShiftTimes(2, 4, d) = DateTime::FromTime(17, 0, 0);
  }
  const int machine = w.AddPlan("M01     ", "2024/12/02 08:00:00", "2024/12/02 09:00:00");
  w.Plan(machine).DurationMinutes = 600;
  StartPlanAt(w.data, PlanIdx{machine}, ChartWorld::At("2024/12/02 10:00:00"));
  EXPECT_EQ(ChartWorld::At("2024/12/03 12:00:00"),
            w.Plan(machine).EndDate + w.Plan(machine).EndTime);
  EXPECT_EQ(1, w.Plan(machine).Changed);
  EXPECT_TRUE(w.data.Edits.CanSave());

  const int unplanned = w.AddPlan("        ", "2024/12/02 08:00:00", "2024/12/02 09:00:00");
  w.Plan(unplanned).DurationMinutes = 90;
  StartPlanAt(w.data, PlanIdx{unplanned}, ChartWorld::At("2024/12/03 09:15:00"));
  EXPECT_EQ(ChartWorld::At("2024/12/03 10:45:00"),
            w.Plan(unplanned).EndDate + w.Plan(unplanned).EndTime);
}

TEST_F(Coordinates, InquiryModeLeavesTheSaveButtonAlone) {
  w.data.SetCommandLine("1");
  const int i = w.AddPlan("        ", "2024/12/02 08:00:00", "2024/12/02 09:00:00");
  StartPlanAt(w.data, PlanIdx{i}, ChartWorld::At("2024/12/02 10:00:00"));
  EXPECT_EQ(1, w.Plan(i).Changed);
  EXPECT_FALSE(w.data.Edits.CanSave());
}

}  // namespace
}  // namespace velmora::chart
