#include "plandata/clashes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "chart_world.h"
#include "common/date_text.h"
#include "plandata/clash_list.h"

namespace velmora::test {
namespace {

struct Placed {
  const char* machine;  // "" for the unplanned row
  const char* from;     // "dd hh" on 2024/12
  const char* to;
  const char* mold = "";
  bool gone = false;  // deleted from the chart
};

struct Case {
  const char* name;
  std::vector<Placed> plans;
  // "kind where a-b start end", plans numbered from 1 in the order placed, times "dd hh".
  std::vector<std::string> clashes;
};

// "dd hh" of a moment in 2024/12.
std::string Short(DateTime at) {
  return FormatSlashDate(at.DatePart()).substr(8, 2) + " " +
         FormatColonTime(at.TimePart()).substr(0, 2);
}

TEST(Clashes, OverlapsOnAMachineRowAndMoldsSharedAtOnce) {
  const std::vector<Case> cases = {
      {"two on one machine",
       {{"M01", "03 08", "03 12"}, {"M01", "03 10", "03 14"}},
       {"overlap M01 1-2 03 10 03 12"}},
      {"end meets start", {{"M01", "03 08", "03 12"}, {"M01", "03 12", "03 14"}}, {}},
      {"same time, other machines", {{"M01", "03 08", "03 12"}, {"M02", "03 08", "03 12"}}, {}},
      {"three at once: every pair",
       {{"M01", "03 08", "03 12"}, {"M01", "03 10", "03 14"}, {"M01", "03 11", "03 13"}},
       {"overlap M01 1-2 03 10 03 12", "overlap M01 1-3 03 11 03 12",
        "overlap M01 2-3 03 11 03 13"}},
      {"the later one starts first in the pair",
       {{"M02", "04 10", "04 16"}, {"M02", "04 08", "04 11"}},
       {"overlap M02 2-1 04 10 04 11"}},
      {"a deleted plan clashes with nothing",
       {{"M01", "03 08", "03 12"}, {"M01", "03 10", "03 14", "", true}},
       {}},
      {"a department row is no machine", {{"30", "03 08", "03 12"}, {"30", "03 10", "03 14"}}, {}},
      {"one mold on two machines",
       {{"M01", "05 08", "05 12", "K-7"}, {"M02", "05 11", "05 15", "K-7"}},
       {"mold K-7 1-2 05 11 05 12"}},
      {"one mold, one plan unplanned",
       {{"", "05 08", "05 12", "K-7"}, {"M02", "05 11", "05 15", "K-7"}},
       {"mold K-7 1-2 05 11 05 12"}},
      {"one mold, neither on a machine",
       {{"", "05 08", "05 12", "K-7"}, {"", "05 11", "05 15", "K-7"}},
       {}},
      {"one mold one after the other",
       {{"M01", "05 08", "05 12", "K-7"}, {"M02", "05 12", "05 15", "K-7"}},
       {}},
      {"one machine and one mold: both clashes",
       {{"M03", "06 08", "06 12", "K-9"}, {"M03", "06 09", "06 10", "K-9"}},
       {"overlap M03 1-2 06 09 06 10", "mold K-9 1-2 06 09 06 10"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartWorld w;
    std::vector<int> index;
    for (const Placed& p : c.plans) {
      std::string machine = std::string(p.machine);
      machine.resize(machine.size() <= 2 && !machine.empty() ? 2 : 8, ' ');
      const int i = w.AddPlan(machine, std::string("2024/12/") + p.from + ":00:00",
                              std::string("2024/12/") + p.to + ":00:00");
      w.Plan(i).MoldNo = p.mold;
      if (p.gone) w.Plan(i).InUse = 0;
      index.push_back(i);
    }
    std::vector<std::string> found;
    for (const Clash& clash : FindClashes(w.data)) {
      auto number = [&](PlanIdx p) {
        for (std::size_t k = 0; k < index.size(); ++k) {
          if (index[k] == p.value) return std::to_string(k + 1);
        }
        return std::string("?");
      };
      found.push_back(std::string(clash.kind == Clash::Kind::Overlap ? "overlap " : "mold ") +
                      clash.where + " " + number(clash.first) + "-" + number(clash.second) + " " +
                      Short(clash.start) + " " + Short(clash.end));
    }
    EXPECT_EQ(c.clashes, found);
  }
}

std::vector<std::string> Described(const std::vector<Clash>& clashes) {
  std::vector<std::string> lines;
  for (const Clash& c : clashes) {
    lines.push_back(std::to_string(static_cast<int>(c.kind)) + " " + c.where + " " +
                    std::to_string(c.first.value) + "-" + std::to_string(c.second.value) + " " +
                    FormatSlashDate(c.start.DatePart()) + FormatColonTime(c.start.TimePart()) +
                    " " + FormatSlashDate(c.end.DatePart()) + FormatColonTime(c.end.TimePart()));
  }
  return lines;
}

// The kept list after any run of edits (moves in time and across rows, molds given and taken,
// plans deleted and added, edits taken back) is the list a fresh search finds.
TEST(Clashes, KeptListFollowsEveryEditAsAFreshSearchFindsIt) {
  const char* const machines[] = {"M01     ", "M02     ", "M03     ", "30", "        "};
  const char* const molds[] = {"", "", "K-1", "K-2"};
  for (unsigned seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    ChartWorld w;
    for (int i = 0; i < 12; ++i) w.AddPlan(machines[pick(3)], "2024/12/03 08:00:00", "2024/12/03 12:00:00");
    ClashList kept;
    for (int step = 0; step < 60; ++step) {
      const PlanData before = w.data;
      PlanEntry& p = w.Plan(2 + pick(w.data.PlanCount() - 1));
      const DateTime start = p.Start().AddMinutes(60 * (pick(9) - 4));
      const DateTime end = start.AddMinutes(60 * (1 + pick(6)));
      switch (pick(6)) {
        case 0:
          p.MachineCode = machines[pick(5)];
          break;
        case 1:
          p.MoldNo = molds[pick(4)];
          break;
        case 2:
          p.InUse = static_cast<std::int16_t>(p.InUse == 0);
          break;
        case 3:
          w.AddPlan(machines[pick(3)], "2024/12/03 10:00:00", "2024/12/03 13:00:00");
          break;
        default:
          p.StartDate = start.DatePart();
          p.StartTime = start.TimePart();
          p.EndDate = end.DatePart();
          p.EndTime = end.TimePart();
      }
      kept.Update(w.data);
      ASSERT_EQ(Described(FindClashes(w.data)), Described(kept.All())) << "step " << step;
      if (pick(5) == 0) {  // taken back, as an undo restores the table
        w.data = before;
        kept.Update(w.data);
        ASSERT_EQ(Described(FindClashes(w.data)), Described(kept.All())) << "undo " << step;
      }
    }
  }
}

}  // namespace
}  // namespace velmora::test
