#include <algorithm>
#include <cmath>
#include <map>

#include "common/date_text.h"
#include "generator/lots.h"

namespace velmora::demo {
namespace {

constexpr std::int64_t kFirstSalesOrderNo = 500001;
constexpr std::int64_t kFirstRequirementPlanNo = 800001;
// Relations to sales orders deleted since: their numbers lie below every live order.
constexpr std::int64_t kVanishedOrderNo = 499001;

double Round3(double v) {
  return std::round(v * 1000) / 1000;
}

void AddProductionPlans(DemoWorld& world, const std::vector<Lot>& lots, Random& random) {
  std::map<std::int64_t, ProductionPlan> plans;
  for (const Lot& lot : lots) {
    ProductionPlan& plan = plans[lot.planNo];
    plan.planNo = lot.planNo;
    plan.quantity += lot.quantity;
    plan.item = world.catalog.items[static_cast<std::size_t>(lot.item)].code;
  }
  for (const auto& [number, plan] : plans) {
    if (random.Percent(5)) continue;  // plans already purged upstream; their numbers remain
    world.orders.plans.push_back(plan);
  }
}

// The demand a lot serves: one to three sales orders or requirement plans of its customer,
// due shortly after the lot, related to every step of the lot.
void AddDemand(DemoWorld& world, const Lot& lot, std::int64_t& nextOrder, std::int64_t& nextPlan,
               Random& random) {
  Orders& orders = world.orders;
  const Item& item = world.catalog.items[static_cast<std::size_t>(lot.item)];
  const std::string& customer = world.plant.customers[static_cast<std::size_t>(item.customer)].code;
  const int packs = lot.quantity / item.packQty;
  const int lines = std::min(packs, random.Between(1, 3));
  std::vector<OrderRelation> relations;
  int packsLeft = packs;
  for (int i = 0; i < lines; ++i) {
    const int linePacks =
        i + 1 == lines ? packsLeft : random.Between(1, packsLeft - (lines - i - 1));
    packsLeft -= linePacks;
    const int quantity = linePacks * item.packQty;
    const DateTime due = NextWorkday(lot.due.AddDays(random.Between(1, 7)));
    if (random.Percent(65)) {
      int shipped = 0;
      if (due < world.asOf) {
        const int r = random.Between(0, 99);
        shipped = r < 85 ? quantity : r < 95 ? quantity / 2 : 0;
      }
      orders.salesOrders.push_back(
          {nextOrder, customer, item.code, FormatYmd(due), quantity, shipped});
      relations.push_back({0, nextOrder++, "2"});
    } else {
      orders.requirementPlans.push_back({nextPlan, customer, item.code, FormatYmd(due), quantity});
      relations.push_back({0, nextPlan++, "1"});
    }
  }
  if (random.Percent(1)) relations.push_back({0, kVanishedOrderNo + random.Between(0, 998), "2"});
  for (std::size_t k = 0; k < lot.steps.size(); ++k) {
    for (OrderRelation r : relations) {
      r.orderNo = orders.arrangements[lot.firstArrangement + k].orderNo;
      orders.relations.push_back(r);
    }
  }
}

// Material requirements: resin for a molded step, the previous step's output, and packing
// material for assembly.
void AddRequirements(DemoWorld& world, const Lot& lot, Random& random) {
  const Item& item = world.catalog.items[static_cast<std::size_t>(lot.item)];
  for (std::size_t k = 0; k < lot.steps.size(); ++k) {
    const Arrangement& a = world.orders.arrangements[lot.firstArrangement + k];
    if (!random.Percent(70)) continue;
    const RoutingStep& step = item.steps[k];
    const auto add = [&](std::int64_t orderNo, const char* supply, double denominator,
                         double numerator) {
      world.orders.requirements.push_back({a.orderNo, orderNo, supply, denominator, numerator,
                                           Round3(a.quantity * numerator / denominator), a.confirm,
                                           a.plant, a.deleted});
    };
    if (step.molded) add(0, "1", 1000, std::round(step.shotWeight / step.cavities * 10.5) / 10);
    if (k > 0) add(world.orders.arrangements[lot.firstArrangement + k - 1].orderNo, "3", 1, 1);
    if (step.category == "30") add(0, "1", 1, random.Between(1, 2));
  }
}

}  // namespace

void BuildDemand(DemoWorld& world, const std::vector<Lot>& lots, Random& random) {
  AddProductionPlans(world, lots, random);
  std::int64_t nextOrder = kFirstSalesOrderNo;
  std::int64_t nextPlan = kFirstRequirementPlanNo;
  for (const Lot& lot : lots) {
    if (!lot.deleted) AddDemand(world, lot, nextOrder, nextPlan, random);
    AddRequirements(world, lot, random);
  }
}

}  // namespace velmora::demo
