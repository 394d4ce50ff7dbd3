#include "load/load_model.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "load/load_world.h"

namespace velmora::load {
namespace {

using test::LoadWorld;

constexpr int kM01 = 2;
constexpr int kM02 = 3;
constexpr int kDepartment = 4;
constexpr int kSubcontractor = 5;

// The chart day of a date: 08:00 to 08:00 of the next date.
BucketLoad DayOf(const LoadModel& load, int row, const std::string& date) {
  return *load.BucketAt(row, LoadWorld::At(date + " 12:00"), BucketKind::Day);
}

std::int64_t UsedOverAllDays(const LoadModel& load, int row) {
  std::int64_t used = 0;
  for (const BucketLoad& b : load.Buckets(row, LoadWorld::At("2000/01/01 00:00"),
                                          LoadWorld::At("2100/01/01 00:00"), BucketKind::Day)) {
    used += b.used;
  }
  return used;
}

// Where a machine's bars lay their minutes, day by day, and what the days offer.
TEST(LoadModel, LaysEveryBarsMinutesOnTheDaysItSpendsThem) {
  struct Bar {
    const char* start;
    int minutes;
  };
  struct Case {
    const char* name;
    std::vector<std::string> windows;                      // every day
    std::map<std::string, std::vector<std::string>> days;  // dates that differ
    std::vector<Bar> bars;
    std::map<std::string, int> used;       // by chart day; the others 0
    std::map<std::string, int> available;  // by chart day, where checked
  };
  const std::vector<Case> cases = {
      {"inside one window",
       {"08:00", "17:00"},
       {},
       {{"2024/04/10 09:00", 120}},
       {{"2024/04/10", 120}},
       {{"2024/04/10", 540}}},
      {"across windows",
       {"08:00", "12:00", "13:00", "17:00"},
       {},
       {{"2024/04/10 11:00", 180}},
       {{"2024/04/10", 180}},
       {{"2024/04/10", 480}}},
      {"across midnight on a night shift",
       {"08:00", "17:00", "22:00", "06:00"},
       {},
       {{"2024/04/10 16:00", 600}},
       {{"2024/04/10", 540}, {"2024/04/11", 60}},
       {{"2024/04/10", 1020}}},
      {"across days",
       {"08:00", "17:00"},
       {},
       {{"2024/04/10 08:00", 1200}},
       {{"2024/04/10", 540}, {"2024/04/11", 540}, {"2024/04/12", 120}},
       {}},
      {"over a holiday",
       {"08:00", "17:00"},
       {{"2024/04/11", {}}},
       {{"2024/04/10 16:00", 120}},
       {{"2024/04/10", 60}, {"2024/04/12", 60}},
       {{"2024/04/11", 0}}},
      {"on a two-row day",
       {"08:00", "12:00", "13:00", "17:00", "18:00", "20:00"},
       {},
       {{"2024/04/10 16:00", 120}},
       {{"2024/04/10", 120}},
       {{"2024/04/10", 600}}},
      {"before the day change",
       {"06:00", "14:00"},
       {},
       {{"2024/04/11 06:00", 120}},
       {{"2024/04/10", 120}},
       {{"2024/04/10", 480}}},
      {"setup only", {"08:00", "17:00"}, {}, {{"2024/04/10 08:00", 45}}, {{"2024/04/10", 45}}, {}},
      {"touching bars",
       {"08:00", "17:00"},
       {},
       {{"2024/04/10 08:00", 240}, {"2024/04/10 12:00", 240}},
       {{"2024/04/10", 480}},
       {}},
      {"no duration counts 480",
       {"08:00", "17:00"},
       {},
       {{"2024/04/10 08:00", 0}},
       {{"2024/04/10", 480}},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadWorld world;
    world.Windows(kM01, c.windows);
    for (const auto& [date, windows] : c.days) world.WindowsOn(kM01, date, windows);
    std::int64_t duration = 0;
    for (const Bar& bar : c.bars) {
      world.Plan("M01     ", bar.start, bar.minutes);
      duration += BarMinutes(bar.minutes);
    }
    LoadModel load;
    load.Update(world.data);
    for (const char* date : {"2024/04/09", "2024/04/10", "2024/04/11", "2024/04/12"}) {
      const BucketLoad day = DayOf(load, kM01, date);
      EXPECT_EQ(day.used, c.used.contains(date) ? c.used.at(date) : 0) << date;
      EXPECT_EQ(day.plans, day.used > 0 ? static_cast<int>(c.bars.size()) : 0) << date;
      if (c.available.contains(date)) {
        EXPECT_EQ(day.available, c.available.at(date)) << date;
      }
    }
    EXPECT_EQ(UsedOverAllDays(load, kM01), duration);
  }
}

// The day view's buckets are the eight hours its axis marks, from 08:00.
TEST(LoadModel, ShiftsAreTheEightHoursFromTheDayChange) {
  LoadWorld world;
  world.Windows(kM01, {"08:00", "17:00", "22:00", "06:00"});
  world.Plan("M01     ", "2024/04/10 16:00", 600);
  LoadModel load;
  load.Update(world.data);
  const auto shifts = load.Buckets(kM01, LoadWorld::At("2024/04/10 08:00"),
                                   LoadWorld::At("2024/04/11 16:00"), BucketKind::Shift);
  ASSERT_EQ(shifts.size(), 4u);
  const std::int64_t used[] = {0, 180, 360, 60};
  const std::int64_t available[] = {480, 180, 360, 480};
  for (std::size_t i = 0; i < shifts.size(); ++i) {
    EXPECT_EQ(shifts[i].used, used[i]) << i;
    EXPECT_EQ(shifts[i].available, available[i]) << i;
    EXPECT_EQ(shifts[i].start, LoadWorld::At("2024/04/10 08:00").AddHours(8 * i));
  }
  // Weeks start on Monday at the day change and hold the days' sums.
  const auto week = *load.BucketAt(kM01, LoadWorld::At("2024/04/10 12:00"), BucketKind::Week);
  EXPECT_EQ(week.start, LoadWorld::At("2024/04/08 08:00"));
  EXPECT_EQ(week.used, 600);
  EXPECT_EQ(week.plans, 1);
}

// Departments and subcontractors have no calendar: their bars count plain minutes, and the load
// is the number of bars and their quantity per day.
TEST(LoadModel, RowsWithoutCalendarsCountBarsAndQuantity) {
  LoadWorld world;
  world.Plan("", "2024/04/10 10:00", 600, 30, "5");
  world.Plan("", "2024/04/10 20:00", 1440, 40, "S001        ");
  world.Plan("", "2024/04/10 21:00", 60, 2, "S001        ");
  LoadModel load;
  load.Update(world.data);
  EXPECT_EQ(load.KindOf(kDepartment), RowKind::Department);
  EXPECT_EQ(load.KindOf(kSubcontractor), RowKind::Subcontractor);
  const BucketLoad department = DayOf(load, kDepartment, "2024/04/10");
  EXPECT_FALSE(department.capacity);
  EXPECT_EQ(department.Percent(), std::nullopt);
  EXPECT_EQ(department.used, 600);
  EXPECT_EQ(department.plans, 1);
  EXPECT_EQ(department.quantity, 30);
  const BucketLoad first = DayOf(load, kSubcontractor, "2024/04/10");
  const BucketLoad second = DayOf(load, kSubcontractor, "2024/04/11");
  EXPECT_EQ(std::tuple(first.used, first.plans, first.quantity), std::tuple(780, 2, 42));
  EXPECT_EQ(std::tuple(second.used, second.plans, second.quantity), std::tuple(720, 1, 40));
}

// Percents round half up; work on a day without working minutes is its own overload, above
// every percent, and never a division by zero.
TEST(LoadModel, PercentAndTheWorstBucket) {
  struct Case {
    std::int64_t used, available;
    std::optional<std::int64_t> percent;
    bool offShift;
  };
  for (const Case& c : std::vector<Case>{{0, 480, 0, false},
                                         {1, 200, 1, false},
                                         {1, 201, 0, false},
                                         {720, 480, 150, false},
                                         {60, 0, std::nullopt, true},
                                         {0, 0, std::nullopt, false}}) {
    BucketLoad b;
    b.capacity = true;
    b.used = c.used;
    b.available = c.available;
    EXPECT_EQ(b.Percent(), c.percent) << c.used << "/" << c.available;
    EXPECT_EQ(b.UsedOffShift(), c.offShift) << c.used << "/" << c.available;
  }
  BucketLoad offShift, over;
  offShift.capacity = over.capacity = true;
  offShift.used = 1;
  over.used = 720;
  over.available = 480;
  EXPECT_TRUE(MoreLoaded(offShift, over));
  EXPECT_FALSE(MoreLoaded(over, offShift));

  LoadWorld world;
  world.Windows(kM01, {"08:00", "16:00"});
  world.WindowsOn(kM01, "2024/04/12", {});
  world.Plan("M01     ", "2024/04/10 08:00", 240);
  world.Plan("M01     ", "2024/04/11 08:00", 480);
  world.Plan("M01     ", "2024/04/11 08:00", 120);  // 125 % on the 11th
  LoadModel load;
  load.Update(world.data);
  const DateTime from = LoadWorld::At("2024/04/10 08:00");
  const auto worst = load.Worst(kM01, from, from.AddDays(2), BucketKind::Day);
  ASSERT_TRUE(worst);
  EXPECT_EQ(worst->start, LoadWorld::At("2024/04/11 08:00"));
  EXPECT_EQ(worst->Percent(), 125);
  // A holiday takes no minutes: the walk lays the bars on the next working day.
  world.Plan("M01     ", "2024/04/12 10:00", 60);
  load.Update(world.data);
  EXPECT_EQ(DayOf(load, kM01, "2024/04/12").used, 0);
  EXPECT_EQ(DayOf(load, kM01, "2024/04/13").used, 60);
  EXPECT_EQ(load.Worst(kDepartment, from, from.AddDays(4), BucketKind::Day), std::nullopt);
}

TEST(LoadModel, NamesTheBarsOfABucketWithTheirMinutes) {
  LoadWorld world;
  world.Windows(kM01, {"08:00", "17:00"});
  const PlanIdx late = world.Plan("M01     ", "2024/04/10 15:00", 300);
  const PlanIdx early = world.Plan("M01     ", "2024/04/10 09:00", 60);
  world.Plan("M02     ", "2024/04/10 09:00", 60);
  LoadModel load;
  load.Update(world.data);
  EXPECT_EQ(load.PlansIn(kM01, LoadWorld::At("2024/04/10 12:00"), BucketKind::Day),
            (std::vector<PlanMinutes>{{early, 60}, {late, 120}}));
  EXPECT_EQ(load.PlansIn(kM01, LoadWorld::At("2024/04/11 12:00"), BucketKind::Day),
            (std::vector<PlanMinutes>{{late, 180}}));
}

// The preview of a drop is the load the drop leaves: for the source and the target row, moved
// within its row, to another machine, to a department, and from the unplanned row.
TEST(LoadModel, PreviewIsTheLoadTheDropLeaves) {
  struct Case {
    const char* name;
    int plan;  // 2..5 below
    const char* machine;
    const char* destination;
    const char* start;
    int minutes;
  };
  const std::vector<Case> cases = {
      {"within its row", 2, "M01     ", "            ", "2024/04/11 10:00", 300},
      {"to another machine", 2, "M02     ", "            ", "2024/04/10 20:00", 900},
      {"to a department", 3, "", "5", "2024/04/12 07:00", 120},
      {"from the unplanned row", 5, "M01     ", "            ", "2024/04/10 09:00", 0},
  };
  for (const BucketKind kind : {BucketKind::Shift, BucketKind::Day, BucketKind::Week}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      LoadWorld world;
      world.Windows(kM01, {"08:00", "17:00"});
      world.Windows(kM02, {"08:00", "17:00", "22:00", "06:00"});
      world.Plan("M01     ", "2024/04/10 08:00", 600, 10);
      world.Plan("M01     ", "2024/04/10 14:00", 300, 20);
      world.Plan("", "2024/04/10 08:00", 90, 30, "5");
      world.Plan("        ", "2024/04/10 08:00", 120, 40);
      LoadModel load;
      load.Update(world.data);
      const DateTime from = LoadWorld::At("2024/04/09 08:00");
      const DateTime to = from.AddDays(4);
      const PlanIdx plan{c.plan};
      const auto preview = load.Preview(
          {plan, c.machine, c.destination, LoadWorld::At(c.start), c.minutes}, from, to, kind);

      PlanEntry& p = world.data.Plan(plan);
      p.MachineCode = c.machine;
      p.DestinationCode = c.destination;
      p.StartDate = LoadWorld::At(c.start).DatePart();
      p.StartTime = LoadWorld::At(c.start).TimePart();
      p.DurationMinutes = c.minutes;
      load.Update(world.data);
      ASSERT_FALSE(preview.empty());
      for (const RowBuckets& row : preview) {
        EXPECT_EQ(row.buckets, load.Buckets(row.row, from, to, kind)) << row.row;
      }
    }
  }
}

// After any edit, undo or redo the kept load equals one computed afresh: seeded random moves,
// changes of machine, minutes and quantity, hidden and new plans, calendar days, and going back
// to earlier states.
TEST(LoadModel, KeptUpToDateItEqualsAFreshLoad) {
  const char* const codes[] = {"M01     ", "M02     ", "5", "S001        ", "        "};
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    std::mt19937_64 random(seed);
    auto pick = [&](int from, int to) {
      return std::uniform_int_distribution<int>(from, to)(random);
    };
    LoadWorld world;
    world.Windows(kM01, {"08:00", "17:00"});
    world.Windows(kM02, {"08:00", "17:00", "22:00", "06:00"});
    for (int i = 0; i < 12; ++i) world.Plan(codes[pick(0, 1)], "2024/04/10 08:00", pick(0, 900));
    std::vector<PlanData> history{world.data};
    LoadModel kept;
    kept.Update(world.data);
    for (int step = 0; step < 60; ++step) {
      PlanData& data = world.data;
      PlanEntry& p = data.PlanTable[static_cast<std::size_t>(pick(2, data.PlanCount()))];
      switch (pick(0, 7)) {
        case 0:
          p.StartDate = data.PeriodStartDate().AddDays(pick(-3, 3));
          p.StartTime = DateTime::FromTime(pick(0, 23), pick(0, 59), 0);
          break;
        case 1: {
          const std::string code = codes[pick(0, 4)];
          p.MachineCode = code.size() == 1 || code[0] == 'S' ? "" : code;
          p.DestinationCode = p.MachineCode.empty() ? code : "            ";
          break;
        }
        case 2:
          p.DurationMinutes = pick(-10, 3000);
          p.OrderQty = pick(0, 500);
          break;
        case 3:
          p.Hidden = p.Hidden == 1 ? 0 : 1;
          break;
        case 4:
          world.WindowsOn(pick(kM01, kM02), "2024/04/1" + std::to_string(pick(0, 2)),
                          pick(0, 1)
                              ? std::vector<std::string>{}
                              : std::vector<std::string>{"07:00", "12:00", "20:00", "03:00"});
          break;
        case 5:
          world.Plan(codes[pick(0, 3)], "2024/04/11 09:00", pick(1, 2000));
          break;
        case 6:
          if (data.PlanCount() > 3) data.PlanTable.pop_back();
          break;
        default:
          data = history[static_cast<std::size_t>(pick(0, static_cast<int>(history.size()) - 1))];
          break;
      }
      history.push_back(data);
      kept.Update(data);
      LoadModel fresh;
      fresh.Update(data);
      ASSERT_TRUE(kept.SameLoad(fresh)) << "seed " << seed << ", step " << step;
    }
  }
}

}  // namespace
}  // namespace velmora::load
