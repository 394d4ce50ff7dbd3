#include <algorithm>
#include <cmath>
#include <map>
#include <queue>
#include <tuple>

#include "common/date_text.h"
#include "common/format.h"
#include "common/text.h"
#include "generator/lots.h"
#include "generator/work_calendar.h"
#include "worktime/production_minutes.h"

namespace velmora::demo {
namespace {

constexpr std::int64_t kFirstOrderNo = 1000001;
// A machine job waits at most this long for its machine before it goes outside.
constexpr int kMaxWaitDays = 6;

const std::vector<std::string> kClerks = {"佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺"};

// The duration the editor computes for a step at `cycle` seconds per piece.
int StepMinutes(const RoutingStep& step, double cycle, int quantity) {
  return ProductionMinutes(static_cast<std::int16_t>(step.SetupMinutes()),
                           static_cast<float>(cycle), quantity);
}

// Seconds per piece on a machine: its cycle row per shot over the cavities, else the routing.
double CycleOn(const RoutingStep& step, int machine) {
  for (const MachineCycle& c : step.cycles) {
    if (c.machine == machine) return c.seconds / (step.molded ? step.cavities : 1);
  }
  return step.productivity;
}

bool HasCycleRow(const RoutingStep& step, int machine) {
  return std::any_of(step.cycles.begin(), step.cycles.end(),
                     [&](const MachineCycle& c) { return c.machine == machine; });
}

class Scheduler {
 public:
  Scheduler(DemoWorld& world, Random& random)
      : world_(world),
        plant_(world.plant),
        random_(random),
        freeFrom_(world.plant.machines.size()) {}

  // Places step k of a lot and returns when the next step may start.
  DateTime Place(const Lot& lot, std::size_t k, DateTime ready) {
    const Item& item = world_.catalog.items[static_cast<std::size_t>(lot.item)];
    const RoutingStep& step = item.steps[k];
    Arrangement& a = world_.orders.arrangements[lot.firstArrangement + k];
    const LotStep& planned = lot.steps[k];
    pack_ = item.packQty;
    switch (planned.how) {
      case Disposition::kMachine:
        if (PlaceOnMachine(lot, item, step, a, ready))
          return end_.AddMinutes(random_.Between(1, 6) * 60);
        [[fallthrough]];  // no machine free in time: the work goes outside
      case Disposition::kSubcontract:
        if (const std::vector<int> subs = plant_.SubcontractorsOf(step.category); !subs.empty()) {
          PlaceOutside(a, plant_.suppliers[static_cast<std::size_t>(random_.Pick(subs))].code,
                       ready);
          SetOutsidePrice(a);
          return end_.AddDays(1).DatePart().AddHours(8);
        }
        PlaceUnplanned(lot, step, a, planned, false);
        return planned.plannedDue.AddDays(1).AddHours(8);
      case Disposition::kDepartment:
        PlaceOutside(a, std::to_string(PickDepartment()), ready);
        return end_.AddDays(1).DatePart().AddHours(8);
      case Disposition::kUnconfirmed:
        PlaceUnplanned(lot, step, a, planned, false);
        return planned.plannedDue.AddDays(1).AddHours(8);
      case Disposition::kConfirmedWithoutTimes:
        PlaceUnplanned(lot, step, a, planned, true);
        return planned.plannedDue.AddDays(1).AddHours(8);
    }
    return ready;
  }

 private:
  bool PlaceOnMachine(const Lot& lot, const Item& item, const RoutingStep& step, Arrangement& a,
                      DateTime ready) {
    const std::vector<int> machines = plant_.MachinesOf(lot.plant, step.category);
    // The earliest machine, preferring one the item has a proven cycle on.
    int best = -1, bestKnown = -1;
    DateTime bestAt, bestKnownAt;
    for (int m : machines) {
      DateTime at = std::max(freeFrom_[static_cast<std::size_t>(m)], ready);
      if (step.molded && item.moldNo) at = std::max(at, moldFreeFrom_[*item.moldNo]);
      at = NextWorkingMoment(world_.windows[static_cast<std::size_t>(m)], at);
      if (best < 0 || at < bestAt) best = m, bestAt = at;
      if (HasCycleRow(step, m) && (bestKnown < 0 || at < bestKnownAt))
        bestKnown = m, bestKnownAt = at;
    }
    if (bestKnown >= 0 && bestKnownAt <= bestAt.AddDays(1)) best = bestKnown, bestAt = bestKnownAt;
    const bool hasOutside = !plant_.SubcontractorsOf(step.category).empty();
    if (best < 0 || (hasOutside && bestAt > ready.AddDays(kMaxWaitDays))) return false;

    const std::vector<Window>& windows = world_.windows[static_cast<std::size_t>(best)];
    DateTime start = bestAt;
    if (random_.Percent(20)) {  // the schedulers leave some slack between jobs
      start =
          NextWorkingMoment(windows, AddWorkingMinutes(windows, start, random_.Between(1, 6) * 30));
    }
    const int minutes = StepMinutes(step, CycleOn(step, best), a.quantity);
    DateTime end = AddWorkingMinutes(windows, start, minutes);
    // Times of 00:00:00 at both ends would read as "never scheduled".
    if (start.SecondsOfDay() == 0 && end.SecondsOfDay() == 0) {
      start = start.AddMinutes(1);
      end = AddWorkingMinutes(windows, start, minutes);
    }
    end_ = end;
    freeFrom_[static_cast<std::size_t>(best)] = end;
    if (step.molded && item.moldNo) moldFreeFrom_[*item.moldNo] = end;

    const Machine& machine = plant_.machines[static_cast<std::size_t>(best)];
    a.machineCode = machine.code;
    a.destination = machine.destination;
    a.lineCode = Trim(machine.code);
    a.confirm = "2";
    a.minutes = random_.Percent(70) ? minutes : 0;  // the rest are left for the editor to compute
    const int r = random_.Between(0, 99);
    a.fixed = r < 3 ? "2" : r < 8 ? "1" : "0";
    SetTimes(a, start, end);
    SetProgress(a, start, end, minutes);
    return true;
  }

  // A subcontractor or another department: from the morning of a workday to an evening a
  // few workdays later.
  void PlaceOutside(Arrangement& a, const std::string& destination, DateTime ready) {
    DateTime day = NextWorkday(ready.SecondsOfDay() > 8 * 3600 ? ready.AddDays(1) : ready);
    const DateTime start = day.AddHours(8);
    for (int lead = random_.Between(1, 5); lead > 0; --lead) day = NextWorkday(day.AddDays(1));
    end_ = day.AddHours(17);
    a.destination = destination;
    a.confirm = "2";
    a.minutes = random_.Percent(65) ? static_cast<int>((end_ - start).Seconds() / 60) : 0;
    SetTimes(a, start, end_);
    SetProgress(a, start, end_, 0);
  }

  void SetOutsidePrice(Arrangement& a) {
    a.kind = "2";
    a.inOut = "2";
    a.purchase = "2";
    // The price in force on the start day: the newest row that has begun.
    const PurchasePrice* found = nullptr;
    for (const PurchasePrice& p : world_.catalog.prices) {
      if (p.supplier == a.destination && p.item == a.itemCode && p.seq == a.seq &&
          p.startDay <= a.startDay && (found == nullptr || p.startDay > found->startDay)) {
        found = &p;
      }
    }
    if (found == nullptr) return;
    a.unitPrice = found->price;
    a.amount = std::round(found->price * a.quantity);
    a.tax = std::floor(a.amount * 0.1);
    a.total = a.amount + a.tax;
  }

  // As requirements planning left it: planned days, default shift times, no machine (or a
  // machine but no times, which the editor treats the same way).
  void PlaceUnplanned(const Lot& lot, const RoutingStep& step, Arrangement& a,
                      const LotStep& planned, bool confirmedMachine) {
    a.startDay = FormatYmd(planned.plannedStart);
    a.dueDay = FormatYmd(planned.plannedDue);
    a.destination = plant_.SectionCode(lot.plant, step.category);
    if (confirmedMachine) {
      const std::vector<int> machines = plant_.MachinesOf(lot.plant, step.category);
      const Machine& machine = plant_.machines[static_cast<std::size_t>(random_.Pick(machines))];
      a.machineCode = machine.code;
      a.destination = machine.destination;
      a.confirm = "2";
    } else if (random_.Percent(85)) {
      a.startTime = "080000";
      a.endTime = "170000";
    }
    a.minutes = random_.Percent(30) ? StepMinutes(step, step.productivity, a.quantity) : 0;
  }

  int PickDepartment() {
    std::vector<int> codes;
    for (const Department& d : plant_.departments) {
      if (d.section == 0 && !d.deleted && d.code != 1 && d.code != plant_.code)
        codes.push_back(d.code);
    }
    return random_.Pick(codes);
  }

  static void SetTimes(Arrangement& a, DateTime start, DateTime end) {
    a.startDay = FormatYmd(start.DatePart());
    a.startTime = FormatHms(start.TimePart());
    a.dueDay = FormatYmd(end.DatePart());
    a.endTime = FormatHms(end.TimePart());
  }

  // Receipts, completion and work sheets as they stand on the as-of day.
  void SetProgress(Arrangement& a, DateTime start, DateTime end, int minutes) {
    const DateTime asOf = world_.asOf;
    const int pack = pack_;
    if (end < asOf) {
      if (random_.Percent(92)) {
        a.received = a.quantity;
        a.completion = "1";
      } else {
        a.received = std::max(0, a.quantity - pack * random_.Between(1, 3));
      }
      a.lastResultDay =
          FormatYmd(std::min(end.DatePart().AddDays(random_.Between(0, 1)), asOf.AddDays(-1)));
      a.resultMinutes = minutes * random_.Between(90, 115) / 100;
    } else if (start < asOf) {
      const double done = static_cast<double>((asOf - start).Seconds()) /
                          static_cast<double>((end - start).Seconds());
      a.received = static_cast<int>(a.quantity * done / pack) * pack;
      if (a.received > 0) a.lastResultDay = FormatYmd(asOf.AddDays(-1));
    }
    if (start.DatePart() < asOf.AddDays(7) && random_.Percent(90)) {
      a.sheetIssueDay = FormatYmd(std::min(start.DatePart().AddDays(-2), asOf.AddDays(-1)));
    }
  }

  DemoWorld& world_;
  const Plant& plant_;
  Random& random_;
  std::vector<DateTime> freeFrom_;  // per machine
  std::map<std::string, DateTime> moldFreeFrom_;
  DateTime end_;  // end of the last confirmed placement
  int pack_ = 1;  // pack quantity of the item being placed: receipts come in whole packs
};

// The columns every step of a lot shares, numbered so that each step names the next one.
void NumberArrangements(DemoWorld& world, std::vector<Lot>& lots, Random& random) {
  Orders& orders = world.orders;
  std::int64_t next = kFirstOrderNo;
  orders.firstOrderNo = next;
  int lotSerial = 0;
  for (Lot& lot : lots) {
    const Item& item = world.catalog.items[static_cast<std::size_t>(lot.item)];
    lot.firstArrangement = orders.arrangements.size();
    const std::string lotNo =
        "L" + FormatYmd(lot.release).substr(2) + "-" + FormatNumber(++lotSerial % 1000, "000");
    const std::string registered = FormatYmd(lot.release.AddDays(-random.Between(7, 20)));
    const std::string& clerk = random.Pick(kClerks);
    for (std::size_t k = 0; k < lot.steps.size(); ++k) {
      const RoutingStep& step = item.steps[k];
      Arrangement a;
      a.orderNo = next++;
      a.parentOrderNo = k + 1 < lot.steps.size() ? next : 0;
      a.planNo = lot.planNo;
      a.itemCode = item.code;
      a.seq = step.seq;
      a.plant = lot.plant;
      a.processCode = step.processCode;
      a.quantity = lot.quantity;
      a.setup = step.setupMinutes;
      a.workers = step.workers;
      if (step.molded) a.moldNo = item.moldNo;
      a.initialDue = random.Percent(5) ? "00000000" : FormatYmd(lot.steps[k].plannedDue);
      a.deleted = lot.deleted;
      a.lotNo = lotNo;
      a.registeredDay = registered;
      a.registeredBy = clerk;
      orders.arrangements.push_back(std::move(a));
    }
  }
  orders.lastOrderNo = next - 1;
}

// A couple of start times stored as a count of seconds ("36000" for 10:00:00), as an older
// interface wrote them; only counts that cannot be read as "hhnnss" are taken.
void StoreSomeStartsAsSeconds(DemoWorld& world) {
  std::vector<Arrangement*> candidates;
  for (Arrangement& a : world.orders.arrangements) {
    if (a.deleted || a.plant != world.plant.code || a.confirm != "2" ||
        Trim(a.machineCode).empty() || a.minutes == 0)
      continue;
    const auto time = ParseHms(a.startTime);
    if (!time || time->Seconds() < 10000) continue;
    if (!ParseHms(FormatNumber(time->Seconds(), "000000"))) candidates.push_back(&a);
  }
  if (candidates.size() < 4) return;
  for (std::size_t i = 1; i <= 3; ++i) {
    Arrangement& a = *candidates[candidates.size() * i / 4];
    a.startTime = std::to_string(ParseHms(a.startTime)->Seconds());
  }
}

}  // namespace

void ScheduleLots(DemoWorld& world, std::vector<Lot>& lots, Random& random) {
  NumberArrangements(world, lots, random);
  // Steps are placed in the order they become ready, across all lots, as a dispatcher would.
  using Event = std::tuple<DateTime, std::size_t, std::size_t>;  // ready, lot, step
  std::priority_queue<Event, std::vector<Event>, std::greater<Event>> ready;
  for (std::size_t i = 0; i < lots.size(); ++i) ready.emplace(lots[i].release, i, 0);
  Scheduler scheduler(world, random);
  while (!ready.empty()) {
    const auto [at, lot, step] = ready.top();
    ready.pop();
    const DateTime next = scheduler.Place(lots[lot], step, at);
    if (step + 1 < lots[lot].steps.size()) ready.emplace(next, lot, step + 1);
  }
  StoreSomeStartsAsSeconds(world);
}

}  // namespace velmora::demo
