#include <algorithm>
#include <cmath>
#include <map>

#include "generator/lots.h"
#include "generator/work_calendar.h"

namespace velmora::demo {
namespace {

// Share of a category's working minutes the generated machine work fills.
constexpr int kLoadPercent = 65;

Disposition PickDisposition(const DemoWorld& world, const Lot& lot, const RoutingStep& step,
                            bool previousUnconfirmed, Random& random) {
  if (lot.plant != world.plant.code)
    return random.Percent(15) ? Disposition::kUnconfirmed : Disposition::kMachine;
  // Requirements planning releases far-off lots unconfirmed; the schedulers confirm the near ones.
  const std::int64_t horizon = (lot.release - world.asOf).Days();
  const int unconfirmed = horizon > 35 ? 60 : horizon > 14 ? 25 : 6;
  if (previousUnconfirmed || random.Percent(unconfirmed)) return Disposition::kUnconfirmed;
  const int r = random.Between(0, 99);
  if (r < 1) return Disposition::kConfirmedWithoutTimes;
  if (r < 3) return Disposition::kDepartment;
  if (r < 15 && !world.plant.SubcontractorsOf(step.category).empty())
    return Disposition::kSubcontract;
  return Disposition::kMachine;
}

// Minutes of work per machine job in each (plant, category), from the machines' working
// minutes in the data range and the number of jobs the lots put on them.
std::map<std::pair<int, std::string>, int> JobTargets(const DemoWorld& world,
                                                      const std::vector<Lot>& lots) {
  std::map<std::pair<int, std::string>, std::int64_t> capacity;
  const DateTime from = world.options.baseDate;
  const DateTime to = from.AddDays(world.options.days);
  for (std::size_t m = 0; m < world.plant.machines.size(); ++m) {
    const Machine& machine = world.plant.machines[m];
    for (const Window& w : world.windows[m]) {
      if (w.start >= from && w.start < to)
        capacity[{machine.plant, machine.category}] += (w.end - w.start).Seconds() / 60;
    }
  }
  std::map<std::pair<int, std::string>, int> jobs;
  for (const Lot& lot : lots) {
    const Item& item = world.catalog.items[static_cast<std::size_t>(lot.item)];
    for (std::size_t k = 0; k < lot.steps.size(); ++k) {
      if (lot.steps[k].how == Disposition::kMachine) ++jobs[{lot.plant, item.steps[k].category}];
    }
  }
  std::map<std::pair<int, std::string>, int> targets;
  for (const auto& [key, minutes] : capacity) {
    const int count = std::max(1, jobs[key]);
    targets[key] =
        static_cast<int>(std::clamp<std::int64_t>(minutes * kLoadPercent / 100 / count, 60, 1440));
  }
  return targets;
}

// The quantity that makes the lot's first step (molding, the plant's bottleneck) a typical
// job of its machines; the later steps are fitted to their machines by CalibrateCycles.
int LotQuantity(const DemoWorld& world, const Lot& lot,
                const std::map<std::pair<int, std::string>, int>& targets, Random& random) {
  const Item& item = world.catalog.items[static_cast<std::size_t>(lot.item)];
  const RoutingStep& step = item.steps.front();
  const auto target = targets.find({lot.plant, step.category});
  const int minutes = target == targets.end() ? 480 : target->second;
  const double pieces = std::max(30, minutes - step.SetupMinutes()) * 60.0 / step.productivity *
                        random.Between(60, 140) / 100.0;
  const int pack = item.packQty;
  return pack * std::clamp(static_cast<int>(pieces / pack + 0.5), 1, 99999 / pack);
}

}  // namespace

DateTime NextWorkday(DateTime date) {
  DateTime d = date.DatePart();
  while (d.Weekday() == 1 || d.Weekday() == 7 || IsCompanyHoliday(d)) d = d.AddDays(1);
  return d;
}

std::vector<Lot> PlanLots(const DemoWorld& world, Random& random) {
  const DemoOptions& o = world.options;
  const Catalog& catalog = world.catalog;
  std::vector<int> makeable;
  std::vector<int> otherPlantItems;
  for (std::size_t i = 0; i < catalog.items.size(); ++i) {
    if (catalog.items[i].steps.empty()) continue;
    makeable.push_back(static_cast<int>(i));
    if (catalog.items[i].otherPlantRouting) otherPlantItems.push_back(static_cast<int>(i));
  }

  std::vector<Lot> lots;
  int total = 0;
  while (total < o.arrangements) {
    Lot lot;
    const bool otherPlant = !otherPlantItems.empty() && random.Percent(3);
    lot.plant = otherPlant ? world.plant.otherPlant : world.plant.code;
    lot.item = otherPlant ? random.Pick(otherPlantItems) : random.Pick(makeable);
    const Item& item = catalog.items[static_cast<std::size_t>(lot.item)];
    // The second plant only molds; the last lot is cut to make the count exact.
    const int steps =
        std::min(otherPlant ? 1 : static_cast<int>(item.steps.size()), o.arrangements - total);
    lot.release =
        o.baseDate.AddDays(random.Between(-5, o.days - 3)).AddHours(random.Between(8, 15));
    lot.due = NextWorkday(lot.release.AddDays(2 * steps + random.Between(0, 3)));
    lot.deleted = random.Percent(1);
    bool previousUnconfirmed = false;
    for (int k = 0; k < steps; ++k) {
      LotStep step;
      step.plannedDue = NextWorkday(lot.due.AddDays(-2 * (steps - 1 - k)));
      step.plannedStart = step.plannedDue.AddDays(-random.Between(1, 2));
      step.how = PickDisposition(world, lot, item.steps[static_cast<std::size_t>(k)],
                                 previousUnconfirmed, random);
      previousUnconfirmed = step.how == Disposition::kUnconfirmed;
      lot.steps.push_back(step);
    }
    lots.push_back(std::move(lot));
    total += steps;
  }
  std::stable_sort(lots.begin(), lots.end(),
                   [](const Lot& a, const Lot& b) { return a.release < b.release; });

  const auto targets = JobTargets(world, lots);
  std::map<std::pair<int, int>, std::size_t> lastLotOfItem;  // (plant, item) -> lot index
  std::int64_t nextPlanNo = 300001;
  for (std::size_t i = 0; i < lots.size(); ++i) {
    Lot& lot = lots[i];
    lot.quantity = LotQuantity(world, lot, targets, random);
    // A production plan is sometimes made in two lots a few days apart.
    const auto previous = lastLotOfItem.find({lot.plant, lot.item});
    if (previous != lastLotOfItem.end() &&
        (lot.release - lots[previous->second].release).Days() <= 10 && random.Percent(15)) {
      lot.planNo = lots[previous->second].planNo;
    } else {
      lot.planNo = nextPlanNo++;
    }
    lastLotOfItem[{lot.plant, lot.item}] = i;
  }
  return lots;
}

void CalibrateCycles(DemoWorld& world, const std::vector<Lot>& lots) {
  const auto targets = JobTargets(world, lots);
  // Minutes the machine jobs of each category would take with the routing as generated.
  std::map<std::pair<int, std::string>, double> load, setups;
  std::map<std::pair<int, std::string>, int> jobs;
  for (const Lot& lot : lots) {
    const Item& item = world.catalog.items[static_cast<std::size_t>(lot.item)];
    for (std::size_t k = 0; k < lot.steps.size(); ++k) {
      if (lot.steps[k].how != Disposition::kMachine) continue;
      const RoutingStep& step = item.steps[k];
      load[{lot.plant, step.category}] += lot.quantity * step.productivity / 60.0;
      setups[{lot.plant, step.category}] += step.SetupMinutes();
      ++jobs[{lot.plant, step.category}];
    }
  }
  std::map<std::string, double> factors;  // per category of the plant
  for (const auto& [key, minutes] : load) {
    if (key.first != world.plant.code || key.second == "03" || minutes <= 0) continue;
    const auto target = targets.find(key);
    if (target == targets.end()) continue;
    const double wanted = static_cast<double>(target->second) * jobs[key] - setups[key];
    factors[key.second] = std::clamp(wanted / minutes, 0.2, 5.0);
  }
  for (Item& item : world.catalog.items) {
    for (RoutingStep& step : item.steps) {
      const auto factor = factors.find(step.category);
      if (factor == factors.end()) continue;
      step.productivity = HalfSeconds(step.productivity * factor->second);
      for (MachineCycle& cycle : step.cycles)
        cycle.seconds = HalfSeconds(cycle.seconds * factor->second);
    }
  }
}

}  // namespace velmora::demo
