// The step order in the clash list: an arrangement that starts before the arrangement below it
// (the one naming it in 上位手配番号) ends. The kept list must follow every edit, or a drop leaves
// a stale line in the side panel and the leveller works from a wrong count.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "common/date_text.h"
#include "plandata/clash_list.h"

namespace velmora {
namespace {

struct Step {
  std::int32_t orderNo;
  std::int32_t parent;
  const char* from;  // "dd hh" on 2024/12; "" for no time
  const char* to;
  const char* machine = "M01";  // "" for the unplanned row
  std::uint8_t hidden = 0;
};

DateTime At(const char* ddhh) {
  if (*ddhh == '\0') return DateTime{};
  return *ParseStoredDate(std::string("202412") + std::string(ddhh, 2)) +
         DateTime::FromTime(std::stoi(ddhh + 3), 0, 0);
}

void Place(PlanEntry& e, DateTime start, DateTime end) {
  e.StartDate = start.DatePart();
  e.StartTime = start.TimePart();
  e.EndDate = end.DatePart();
  e.EndTime = end.TimePart();
}

// Machine rows M01 and M02, then the steps in order from plan index 2.
PlanData World(const std::vector<Step>& steps) {
  PlanData data;
  data.MachineRowCount = 3;
  data.RowCount = 3;
  data.RowCode = {"", "", "M01     ", "M02     "};
  data.ResetPlanTable();
  for (const Step& s : steps) {
    PlanEntry& e = data.PlanTable.emplace_back();
    e.BarIndex = data.PlanCount();
    e.OrderNo = s.orderNo;
    e.ParentOrderNo = s.parent;
    e.MachineCode = s.machine;
    e.MachineCode.resize(8, ' ');
    e.InUse = 1;
    e.Hidden = s.hidden;
    Place(e, At(s.from), At(s.to));
  }
  return data;
}

PlanEntry& Numbered(PlanData& data, std::int32_t orderNo) {
  for (PlanEntry& e : data.PlanTable) {
    if (e.OrderNo == orderNo) return e;
  }
  throw std::logic_error("no plan " + std::to_string(orderNo));
}

// "kind where first-second start end" with arrangement numbers and "dd hh" times.
std::vector<std::string> Described(const PlanData& data, const std::vector<Clash>& clashes) {
  const char* const kinds[] = {"overlap", "mold", "order"};
  const auto hour = [](DateTime at) {
    return FormatYmd(at.DatePart()).substr(6) + " " + FormatColonTime(at.TimePart()).substr(0, 2);
  };
  std::vector<std::string> lines;
  for (const Clash& c : clashes) {
    lines.push_back(std::string(kinds[static_cast<int>(c.kind)]) + " " + c.where + " " +
                    std::to_string(data.Plan(c.first).OrderNo) + "-" +
                    std::to_string(data.Plan(c.second).OrderNo) + " " + hour(c.start) + " " +
                    hour(c.end));
  }
  return lines;
}

struct Case {
  const char* name;
  std::vector<Step> steps;
  std::vector<std::string> clashes;
  // An edit after the first update, and the clashes the kept list then shows.
  std::function<void(PlanData&)> edit = nullptr;
  std::vector<std::string> afterEdit = {};
};

TEST(StepOrder, AStepStartingBeforeTheStepBelowItEndsClashes) {
  const auto moveTo = [](std::int32_t orderNo, const char* from, const char* to) {
    return [=](PlanData& data) { Place(Numbered(data, orderNo), At(from), At(to)); };
  };
  const std::vector<Case> cases = {
      {"the step below ends after the step above starts",
       {{1, 2, "03 08", "03 12"}, {2, 0, "03 10", "03 14", "M02"}},
       {"order M01 1-2 03 10 03 12"}},
      {"it ends exactly when the step above starts",
       {{1, 2, "03 08", "03 12"}, {2, 0, "03 12", "03 14", "M02"}},
       {}},
      {"the step above starts first and ends first",
       {{1, 2, "03 10", "03 14"}, {2, 0, "03 08", "03 12", "M02"}},
       {"order M01 1-2 03 08 03 14"}},
      {"a hidden step below", {{1, 2, "03 08", "03 12", "M01", 1}, {2, 0, "03 10", "03 14"}}, {}},
      {"no step above", {{1, 0, "03 08", "03 12"}, {2, 0, "03 10", "03 14", "M02"}}, {}},
      {"the step above is not loaded", {{1, 9, "03 08", "03 12"}}, {}},
      {"a step above without a time", {{1, 2, "03 08", "03 12"}, {2, 0, "", "03 14", "M02"}}, {}},
      {"a step naming itself", {{1, 1, "03 08", "03 12"}}, {}},
      {"the unplanned row names no machine",
       {{1, 2, "03 08", "03 12", ""}, {2, 0, "03 10", "03 14", "M02"}},
       {"order  1-2 03 10 03 12"}},
      {"after the overlaps, by the upper step's start, not by number",
       {{1, 2, "03 08", "03 12"}, {2, 3, "03 10", "03 14"}, {3, 0, "03 09", "03 16", "M02"}},
       {"overlap M01 1-2 03 10 03 12", "order M01 2-3 03 09 03 14", "order M01 1-2 03 10 03 12"}},
      {"two steps below one",
       {{1, 3, "03 08", "03 12"}, {2, 3, "03 08", "03 11", "M02"}, {3, 0, "03 10", "03 14", ""}},
       {"order M02 2-3 03 10 03 11", "order M01 1-3 03 10 03 12"}},
      {"the step above moves later: the clash goes",
       {{1, 2, "03 08", "03 12"}, {2, 0, "03 10", "03 14", "M02"}},
       {"order M01 1-2 03 10 03 12"},
       moveTo(2, "03 12", "03 16"),
       {}},
      {"the step below moves later: a clash comes",
       {{1, 2, "03 08", "03 12"}, {2, 0, "03 12", "03 14", "M02"}},
       {},
       moveTo(1, "03 10", "03 13"),
       {"order M01 1-2 03 12 03 13"}},
      {"the step below goes to another row",
       {{1, 2, "03 08", "03 12"}, {2, 0, "03 10", "03 14", "M02"}},
       {"order M01 1-2 03 10 03 12"},
       [](PlanData& data) { Numbered(data, 1).MachineCode = "M02     "; },
       {"overlap M02 1-2 03 10 03 12", "order M02 1-2 03 10 03 12"}},
      {"a split keeps the step above: both parts clash",
       {{1, 2, "03 08", "03 12"}, {2, 0, "03 10", "03 14", "M02"}},
       {"order M01 1-2 03 10 03 12"},
       [](PlanData& data) {
         PlanEntry part = Numbered(data, 1);
         part.OrderNo = -1;
         part.MachineCode = "        ";
         Place(part, At("03 11"), At("03 13"));
         data.PlanTable.push_back(part);
       },
       {"order M01 1-2 03 10 03 12", "order  -1-2 03 10 03 13"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlanData data = World(c.steps);
    ClashList kept;
    kept.Update(data);
    EXPECT_EQ(c.clashes, Described(data, kept.All()));
    if (!c.edit) continue;
    c.edit(data);
    kept.Update(data);
    EXPECT_EQ(c.afterEdit, Described(data, kept.All()));
    EXPECT_EQ(Described(data, FindClashes(data)), Described(data, kept.All()));
  }
}

// Whatever runs of edits come (times, rows, step numbers, hiding, deleting, adding, taking back),
// the kept list is the list a fresh search finds.
TEST(StepOrder, KeptListFollowsEveryEditAsAFreshSearchFindsIt) {
  const char* const machines[] = {"M01", "M02", ""};
  for (unsigned seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::vector<Step> steps;
    for (int i = 1; i <= 12; ++i)
      steps.push_back({i, pick(14), "03 08", "03 12", machines[pick(3)]});
    PlanData data = World(steps);
    ClashList kept;
    for (int step = 0; step < 60; ++step) {
      const PlanData before = data;
      PlanEntry& p = data.PlanTable[static_cast<std::size_t>(2 + pick(data.PlanCount() - 1))];
      const DateTime start = p.Start().AddMinutes(60 * (pick(9) - 4));
      switch (pick(6)) {
        case 0:
          p.ParentOrderNo = pick(14);
          break;
        case 1:
          p.OrderNo = 1 + pick(13);
          break;
        case 2:
          p.Hidden = static_cast<std::uint8_t>(pick(2));
          p.InUse = static_cast<std::int16_t>(pick(3) != 0);
          break;
        case 3:
          p.MachineCode = machines[pick(3)];
          p.MachineCode.resize(8, ' ');
          break;
        case 4:
          data.PlanTable.push_back(p);
          break;
        default:
          Place(p, start, start.AddMinutes(60 * (1 + pick(6))));
      }
      kept.Update(data);
      ASSERT_EQ(Described(data, FindClashes(data)), Described(data, kept.All())) << step;
      if (pick(5) == 0) {  // taken back, as an undo restores the table
        data = before;
        kept.Update(data);
        ASSERT_EQ(Described(data, FindClashes(data)), Described(data, kept.All())) << step;
      }
    }
  }
}

}  // namespace
}  // namespace velmora
