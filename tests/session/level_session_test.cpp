// The levelling proposal in the edit session, on seeded random small plants built in memory:
// shown as one undoable step with the old places outlined, applied, dropped, and nothing else
// edits the plans while it is shown.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "../chart/chart_world.h"
#include "chart/bar_layout.h"
#include "chart/chart_setup.h"
#include "chart/display_mode.h"
#include "levelling/level_problem.h"
#include "plandata/clashes.h"
#include "plandata/plan_end_time.h"
#include "session/edit_session.h"
#include "support/scripted_messages.h"

namespace velmora {
namespace {

using Target = chart::ChartHit::Target;

const char* const kMachines[] = {"M01     ", "M02     ", "M03     "};

// The chart world's three machines working 08:00-16:00 every day, crowded in the first week:
// some plans fixed, tentative or received, some sharing a mold.
PlanData RandomPlant(std::uint32_t seed) {
  test::ChartWorld world;
  PlanData& data = world.data;
  for (int r = 2; r <= data.MachineRowCount; ++r) {
    for (int d = 0; d <= data.DayCount; ++d) {
      data.ShiftTimes(r, 1, d) = DateTime::FromTime(8, 0, 0);
      data.ShiftTimes(r, 2, d) = DateTime::FromTime(16, 0, 0);
      data.WorkMinutes(r, d) = 480;
    }
  }
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const int count = 5 + pick(10);
  for (int k = 0; k < count; ++k) {
    const std::string start =
        "2024/12/0" + std::to_string(2 + pick(5)) + " " + (pick(2) ? "08" : "11") + ":00:00";
    const int i = world.AddPlan(kMachines[pick(3)], start, start);
    PlanEntry& p = world.Plan(i);
    p.OrderNo = 5000 + i;
    p.ItemCode = "ITEM" + std::to_string(pick(4));
    p.FixedFlag = pick(8) == 0 ? (pick(2) ? "1" : "2") : "0";
    if (pick(4) == 0) p.MoldNo = "K" + std::to_string(pick(2));
    if (pick(10) == 0) p.ConfirmFlag = "1";
    if (pick(12) == 0) p.ReceivedQty = 5;
    p.DurationMinutes = 60 * (1 + pick(8));
    const DateTime end = ComputeEndTime(data, p.Start(), p.DurationMinutes, PlanIdx{i});
    p.EndDate = end.DatePart();
    p.EndTime = end.TimePart();
    p.InitialDueDate = p.StartDate.AddDays(pick(3));
  }
  return data;
}

// A session over a plant built in memory, laid out as the window lays out a load (week mode).
struct LevelSession {
  explicit LevelSession(const PlanData& plant) : session(plant, nullptr, nullptr, messages) {
    PlanData& data = session.Data();
    chart::ChartModel& chart = session.Chart();
    chart.FaultsTo = &messages;
    chart::TakeViewportScale(data, chart);
    chart::SetUpRowScroll(data, chart);
    chart::ShowPeriodStart(data, chart);
    chart::SetUpSurfaces(data, chart);
    chart::SetUpTimeScroll(chart);
    chart::DispWeek(data, chart);
  }

  levelling::LevelRequest Request(bool otherMachines) const {
    levelling::LevelRequest request;
    request.firstDay = session.Data().PeriodStartDate();
    request.lastDay = session.Data().PeriodEndDate();
    request.budgetSeconds = 0.05;
    request.otherMachines = otherMachines;
    // Each machine runs the item a little slower than the one before it.
    request.cycleOn = [this](PlanIdx plan, int row) {
      const PlanEntry& p = session.Data().Plan(plan);
      return std::optional<levelling::CycleOn>({static_cast<float>(10 + row),
                                                static_cast<float>(20 + row),
                                                p.DurationMinutes + 30 * (row - 2)});
    };
    return request;
  }

  int Refusals() const {
    int n = 0;
    for (const std::string& text : messages.texts()) n += text == kProposalShown ? 1 : 0;
    return n;
  }

  test::ScriptedMessages messages;
  EditSession session;
};

struct Place {
  double left, top, width;
  bool operator==(const Place&) const = default;
};

Place BarPlace(EditSession& s, PlanIdx plan) {
  const chart::BarLabel& bar = s.Chart().Bar(s.Data().Plan(plan).Bar());
  return {bar.Left, bar.Top, bar.Width};
}

Place OutlinePlace(const chart::ProposalOutline& o) {
  return {o.Left, o.Top, o.Width};
}

bool Movable(const PlanEntry& p, const levelling::LevelRequest& request) {
  return levelling::MayMove(p, request.firstDay, request.lastDay);
}

// The applied proposal: the moved plans stand where the moves say, with the cycle of their new
// machine; every other plan is as it was; no overlap or shared mold is left with a plan that
// could move.
void ExpectApplied(const PlanData& data, const std::vector<PlanEntry>& original,
                   const levelling::Proposal& proposal, const levelling::LevelRequest& request) {
  std::set<std::int32_t> moved;
  for (const levelling::Move& m : proposal.moves) {
    moved.insert(m.plan.value);
    const PlanEntry& was = original[m.plan.Slot()];
    const PlanEntry& p = data.Plan(m.plan);
    EXPECT_TRUE(Movable(was, request)) << "a plan that must stay moved: " << was.OrderNo;
    EXPECT_EQ(p.MachineCode, m.machineAfter);
    EXPECT_EQ(p.Start(), m.startAfter);
    EXPECT_EQ(p.End(), m.endAfter);
    EXPECT_EQ(p.Changed, 1);
    if (m.cycle) {
      EXPECT_EQ(p.CycleSeconds, m.cycle->cycleSeconds);
      EXPECT_EQ(p.MoldCycle, m.cycle->moldCycle);
      EXPECT_EQ(p.DurationMinutes, m.cycle->minutes);
    } else {
      EXPECT_EQ(p.DurationMinutes, was.DurationMinutes);
    }
  }
  for (int i = 2; i <= data.PlanCount(); ++i) {
    if (moved.count(i) == 0) {
      EXPECT_EQ(data.Plan(PlanIdx{i}), original[static_cast<std::size_t>(i)]) << "plan " << i;
    }
  }
  for (const Clash& c : FindClashes(data)) {
    if (c.kind != Clash::Kind::Overlap && c.kind != Clash::Kind::Mold) continue;
    EXPECT_FALSE(Movable(original[c.first.Slot()], request) ||
                 Movable(original[c.second.Slot()], request))
        << "clash between " << c.first.value << " and " << c.second.value;
  }
}

// Every way the user could edit the plans while a proposal is shown is told to apply or drop
// it first, and changes nothing.
void ExpectEditsRefused(LevelSession& w, PlanIdx moved) {
  EditSession& s = w.session;
  const levelling::LevelRequest request = w.Request(false);
  const PlanEntry& plan = s.Data().Plan(moved);
  const chart::BarLabel bar = s.Chart().Bar(plan.Bar());
  auto press = [&](PointerEvent::Kind kind, Target target, int button, double x, double y) {
    PointerEvent e;
    e.kind = kind;
    e.button = button;
    e.hit = {target, target == Target::PlanBar ? plan.Bar().value : 1, x, y};
    s.Pointer(e);
  };
  const std::vector<std::pair<const char*, std::function<void()>>> edits = {
      {"undo", [&] { EXPECT_FALSE(s.Undo()); }},
      {"redo", [&] { EXPECT_FALSE(s.Redo()); }},
      {"save", [&] { EXPECT_FALSE(s.Save().has_value()); }},
      {"reload", [&] { s.Reload(); }},  // without a database it would throw
      {"discard", [&] { EXPECT_FALSE(s.Discard()); }},
      {"another proposal", [&] { s.ProposeLevel(request); }},
      {"drag and drop",
       [&] {
         s.DragAndDrop(moved,
                       {Target::PlatForm, 0, bar.Left + s.Chart().Scale.DayWidth, bar.Top + 100});
       }},
      {"the lot window", [&] { s.OpenLot(moved); }},
      {"the lot window by a right press",
       [&] { press(PointerEvent::Kind::Press, Target::PlanBar, 2, 10, 10); }},
      {"the day calendar",
       [&] { press(PointerEvent::Kind::Press, Target::PlatForm, 2, bar.Left, bar.Top + 100); }},
      {"the row's expansion",
       [&] { press(PointerEvent::Kind::DoubleClick, Target::MachineName, 1, 0, 0); }},
  };
  const std::vector<PlanEntry> shown = s.Data().PlanTable;
  const levelling::Proposal* proposal = s.ShownProposal();
  for (const auto& [name, edit] : edits) {
    SCOPED_TRACE(name);
    const int told = w.Refusals();
    edit();
    EXPECT_EQ(w.Refusals(), told + 1);
    EXPECT_EQ(s.Data().PlanTable, shown);
    EXPECT_EQ(s.ShownProposal(), proposal);
    EXPECT_EQ(s.TopDialog(), nullptr);
    EXPECT_FALSE(s.Dragging());
  }
}

TEST(LevelSession, RandomPlantsApplyUndoAndDropExactly) {
  int shownCount = 0;
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    LevelSession w(RandomPlant(seed));
    EditSession& s = w.session;
    const levelling::LevelRequest request = w.Request(seed % 2 == 0);
    const std::vector<PlanEntry> original = s.Data().PlanTable;
    std::vector<Place> bars;
    for (int i = 0; i <= s.Data().PlanCount(); ++i) bars.push_back(BarPlace(s, PlanIdx{i}));

    const levelling::Proposal proposal = s.ProposeLevel(request);
    if (proposal.moves.empty()) {
      EXPECT_EQ(s.ShownProposal(), nullptr);
      EXPECT_FALSE(s.CanUndo()) << "no step for a proposal that moves nothing";
      EXPECT_EQ(s.Data().PlanTable, original);
      continue;
    }
    ++shownCount;
    ASSERT_NE(s.ShownProposal(), nullptr);
    EXPECT_TRUE(s.CanSave());
    // Each old place is outlined where the plan's bar stood.
    ASSERT_EQ(s.Chart().ProposalOutlines.size(), proposal.moves.size());
    for (const chart::ProposalOutline& o : s.Chart().ProposalOutlines) {
      EXPECT_EQ(OutlinePlace(o), bars[o.plan.Slot()]) << "plan " << o.plan.value;
    }
    if (seed % 3 == 0) ExpectEditsRefused(w, proposal.moves.front().plan);
    // Another display mode places the outlines on its scale, where Drop then lays the bars.
    s.SetDisplayMode(1 + static_cast<int>(seed % 4));
    const std::vector<chart::ProposalOutline> outlines = s.Chart().ProposalOutlines;

    s.DropProposal();
    EXPECT_EQ(s.Data().PlanTable, original);
    EXPECT_FALSE(s.CanSave());
    EXPECT_FALSE(s.CanUndo());
    EXPECT_FALSE(s.CanRedo()) << "a dropped proposal cannot be redone";
    EXPECT_EQ(s.ShownProposal(), nullptr);
    EXPECT_TRUE(s.Chart().ProposalOutlines.empty());
    for (const chart::ProposalOutline& o : outlines) {
      EXPECT_EQ(BarPlace(s, o.plan), OutlinePlace(o)) << "plan " << o.plan.value;
    }

    const levelling::Proposal again = s.ProposeLevel(request);
    ASSERT_FALSE(again.moves.empty());
    s.ApplyProposal();
    EXPECT_EQ(s.ShownProposal(), nullptr);
    EXPECT_TRUE(s.Chart().ProposalOutlines.empty());
    ExpectApplied(s.Data(), original, again, request);
    EXPECT_EQ(s.Clashes().size(), FindClashes(s.Data()).size());
    const std::vector<PlanEntry> applied = s.Data().PlanTable;
    ASSERT_TRUE(s.Undo()) << "the applied proposal is one step";
    EXPECT_EQ(s.Data().PlanTable, original);
    EXPECT_FALSE(s.CanUndo());
    EXPECT_FALSE(s.CanSave());
    ASSERT_TRUE(s.Redo());
    EXPECT_EQ(s.Data().PlanTable, applied);
  }
  EXPECT_GE(shownCount, 20) << "the random plants should mostly need levelling";
}

}  // namespace
}  // namespace velmora
