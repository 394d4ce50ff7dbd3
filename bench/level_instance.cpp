#include "level_instance.h"

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>

#include "common/date_text.h"
#include "levelling/level_problem.h"
#include "plandata/plan_end_time.h"
#include "worktime/calendar_day.h"

namespace velmora::bench {
namespace {

constexpr int kWeeks = 10;  // of calendar; the rough plan fills about the first three
constexpr int kPlansPerMachine = 25;
constexpr int kPlansPerMold = 10;  // of all plans; about a third of the plans use a mold

using Random = std::mt19937;

int Pick(Random& random, int from, int to) {
  return std::uniform_int_distribution<int>(from, to)(random);
}
bool Chance(Random& random, double p) {
  return std::bernoulli_distribution(p)(random);
}

std::string MachineCode(int machine) {
  std::string code = "M" + std::string(machine < 9 ? "0" : "") + std::to_string(machine + 1);
  code.resize(8, ' ');
  return code;
}

void AddRow(PlanData& data, const std::string& code) {
  const int r = ++data.RowCount;
  data.RowCode.resize(static_cast<std::size_t>(r) + 1);
  data.RowCaption.resize(static_cast<std::size_t>(r) + 1);
  data.RowTop.resize(static_cast<std::size_t>(r) + 1);
  data.RowCode[static_cast<std::size_t>(r)] = code;
  data.RowCaption[static_cast<std::size_t>(r)] = code;
  data.RowTop[static_cast<std::size_t>(r)] = (r - 1) * 600.0 + 240;
}

// Rows (the unplanned one, then the machines), the period and every machine's shifts.
void SetUpPlant(Instance& in) {
  PlanData& data = in.data;
  in.axis.firstDay = DateTime::FromDate(2025, 1, 6);  // a Monday
  const DateTime last = in.axis.firstDay.AddDays(7 * kWeeks - 3);
  data.SetPeriod(FormatSlashDate(in.axis.firstDay), FormatSlashDate(last));
  data.DayCount = static_cast<std::int16_t>((last - in.axis.firstDay).Days() + 3);
  AddRow(data, std::string(8, ' '));
  for (int m = 0; m < in.machines; ++m) AddRow(data, MachineCode(m));
  data.MachineRowCount = data.RowCount;
  data.DepartmentRowEnd = data.RowCount;
  data.SizeCalendars(data.RowCount);
  data.ResetPlanTable();
  for (int r = 2; r <= data.MachineRowCount; ++r) {
    for (int d = 0; d <= data.DayCount; ++d) {
      const int weekday = DateOfCalendarDay(data.PeriodStartDate(), d).Weekday();
      if (weekday == 1 || weekday == 7) continue;
      data.ShiftTimes(r, 1, d) = DateTime::FromTime(6, 0, 0);
      data.ShiftTimes(r, 2, d) = DateTime::FromTime(14, 0, 0);
      data.ShiftTimes(r, 3, d) = DateTime::FromTime(14, 0, 0);
      data.ShiftTimes(r, 4, d) = DateTime::FromTime(22, 0, 0);
      data.WorkMinutes(r, d) = WorkAxis::kDayMinutes;
    }
  }
  in.horizon = WorkAxis::kDayMinutes * 5 * kWeeks;
  in.request.firstDay = data.PeriodStartDate();
  in.request.lastDay = data.PeriodEndDate();
  // The leveller's first day begins at its production day's change, not at midnight.
  const DateTime from = levelling::LevelWindow(in.request.firstDay, in.request.lastDay).first;
  while (in.axis.StartAt(in.release) < from) ++in.release;
  in.request.otherMachines = false;
  in.request.budgetSeconds = 2.0;
}

// Plans laid machine by machine one after the other with small gaps, a quarter of them pulled
// back over the plan before, as a rough plan is. Fixed plans never overlap each other.
void LayRoughPlan(Instance& in, Random& random, int count) {
  in.plans.resize(static_cast<std::size_t>(count));
  for (AxisPlan& p : in.plans) p.machine = Pick(random, 0, in.machines - 1);
  for (int m = 0; m < in.machines; ++m) {
    int cursor = in.release + Pick(random, 0, 8) * 30;
    int reach = 0;  // the latest end so far on the machine
    for (AxisPlan& p : in.plans) {
      if (p.machine != m) continue;
      p.minutes = 60 + 30 * Pick(random, 0, 30);
      p.fixed = Chance(random, 0.08);
      p.start = cursor + Pick(random, 0, 4) * 30;
      if (p.fixed) {
        p.start = std::max(p.start, reach);
      } else if (Chance(random, 0.25)) {
        p.start = std::max(in.release, cursor - Pick(random, 1, 8) * 30);
      }
      cursor = p.start + p.minutes;
      reach = std::max(reach, cursor);
    }
  }
  for (AxisPlan& p : in.plans) {
    if (Chance(random, 0.35)) p.mold = Pick(random, 0, in.molds - 1);
  }
  // A mold cannot be in two fixed places at once: the later fixed plan goes without it.
  for (std::size_t i = 0; i < in.plans.size(); ++i) {
    AxisPlan& p = in.plans[i];
    for (std::size_t j = 0; j < i && p.fixed && p.mold >= 0; ++j) {
      const AxisPlan& q = in.plans[j];
      const bool overlap = p.start < q.start + q.minutes && q.start < p.start + p.minutes;
      if (q.fixed && q.mold == p.mold && overlap) p.mold = -1;
    }
  }
}

// Step chains across machines: a third of the movable plans are the step below a movable plan
// that starts later on another machine, roughly when this one ends (some too early).
void LinkSteps(Instance& in, Random& random) {
  const int n = static_cast<int>(in.plans.size());
  for (int i = 0; i < n; ++i) {
    const AxisPlan& below = in.plans[static_cast<std::size_t>(i)];
    if (below.fixed || !Chance(random, 0.3)) continue;
    std::vector<int> candidates;
    for (int j = 0; j < n; ++j) {
      const AxisPlan& above = in.plans[static_cast<std::size_t>(j)];
      if (above.fixed || above.machine == below.machine || above.start <= below.start) continue;
      if (above.start <= below.start + below.minutes + WorkAxis::kDayMinutes) {
        candidates.push_back(j);
      }
    }
    if (candidates.empty()) continue;
    in.plans[static_cast<std::size_t>(i)].above = candidates[static_cast<std::size_t>(
        Pick(random, 0, static_cast<int>(candidates.size()) - 1))];
  }
}

// Due from a day before the rough end to four days after it.
void SetDueDates(Instance& in, Random& random) {
  for (AxisPlan& p : in.plans) {
    const int end = p.start + p.minutes;
    const int due =
        std::max(1, end + Pick(random, -WorkAxis::kDayMinutes, 4 * WorkAxis::kDayMinutes));
    p.due = in.axis.DateOfDay((due - 1) / WorkAxis::kDayMinutes);
  }
}

void WritePlans(Instance& in) {
  PlanData& data = in.data;
  for (std::size_t k = 0; k < in.plans.size(); ++k) {
    const AxisPlan& a = in.plans[k];
    PlanEntry& p = data.PlanTable.emplace_back();
    p.BarIndex = data.PlanCount();
    p.InUse = 1;
    p.MachineCode = MachineCode(a.machine);
    p.ConfirmFlag = "2";
    p.FixedFlag = a.fixed ? "2" : "0";
    p.SheetIssueDate = "00000000";
    p.OrderQty = 100;
    p.OrderNo = 1000 + static_cast<std::int32_t>(k);
    p.ParentOrderNo = a.above < 0 ? 0 : 1000 + a.above;
    if (a.mold >= 0) p.MoldNo = "K" + std::to_string(a.mold + 1);
    p.DurationMinutes = a.minutes;
    p.InitialDueDate = a.due;
    const DateTime start = in.axis.StartAt(a.start);
    const DateTime end = ComputeEndTimeOn(data, start, a.minutes, p.MachineCode);
    // The model reasons on the axis: the shifts must lay every plan as the axis does.
    if (end != in.axis.EndAt(a.start + a.minutes)) {
      throw std::logic_error("the working-minute axis and the shifts disagree");
    }
    p.StartDate = start.DatePart();
    p.StartTime = start.TimePart();
    p.EndDate = end.DatePart();
    p.EndTime = end.TimePart();
    // The model moves exactly the plans the leveller may move.
    if (levelling::MayMove(p, in.request.firstDay, in.request.lastDay) == a.fixed) {
      throw std::logic_error("a plan the model moves must be one the leveller may move");
    }
  }
}

}  // namespace

Instance MakeInstance(std::uint32_t seed, int plans) {
  Instance in;
  in.seed = seed;
  in.machines = std::max(3, plans / kPlansPerMachine);
  in.molds = std::max(2, plans / kPlansPerMold);
  Random random(seed);
  SetUpPlant(in);
  LayRoughPlan(in, random, plans);
  LinkSteps(in, random);
  SetDueDates(in, random);
  WritePlans(in);
  return in;
}

PlanData WithStarts(const Instance& instance, const std::vector<int>& starts) {
  PlanData data = instance.data;
  for (std::size_t k = 0; k < instance.plans.size(); ++k) {
    const AxisPlan& a = instance.plans[k];
    if (a.fixed) continue;
    PlanEntry& p = data.Plan(PlanOf(static_cast<int>(k)));
    const DateTime start = instance.axis.StartAt(starts[k]);
    const DateTime end = ComputeEndTimeOn(data, start, a.minutes, p.MachineCode);
    p.StartDate = start.DatePart();
    p.StartTime = start.TimePart();
    p.EndDate = end.DatePart();
    p.EndTime = end.TimePart();
  }
  return data;
}

}  // namespace velmora::bench
