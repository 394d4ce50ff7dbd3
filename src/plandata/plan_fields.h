#pragma once

#include <span>
#include <string>

#include "common/datetime.h"
#include "plandata/plan_data.h"

namespace velmora {

class PlanRowReader;

// Where a value of the plan query is stored: the arrangement's own row, or a master the query
// joins to it. The query lists the masters' columns master by master, in this order.
enum class Home {
  Arrangement,
  Item,
  ProcessContent,
  ProductionPlan,
  MachineCycle,
  Routing,
  MoldedProduct
};

// The table of a home ("品目マスタ").
const char* TableOf(Home home);

// A column of the plan query.
struct PlanColumn {
  const char* name = nullptr;  // as the query names it; nullptr: no column of its own
  Home home = Home::Arrangement;
  const char* stored = nullptr;  // a joined column's name in its master when the query renames it

  bool IsJoined() const { return name && home != Home::Arrangement; }
  const char* StoredName() const { return stored ? stored : name; }
};

// One field of a plan: the column it comes from, how the load stores it in the entry, its header
// and text in plans.csv, and its line on a bar's tip. A column that only helps compute other
// fields (a flag, a master's cycle) has a row without a header.
struct PlanField {
  PlanColumn column = {};
  // Stores the column's value in the entry. nullptr: the loader's own steps read it, because it
  // depends on other columns (placement, members, cycle, setup).
  void (*read)(PlanEntry& e, const PlanRowReader& row, int position) = nullptr;
  const char* header = nullptr;  // plans.csv; nullptr: not exported
  std::string (*text)(const PlanEntry& e) = nullptr;
  const char* tipLabel = nullptr;  // nullptr: not on the tip
  int tipLine = 0;                 // the tip's lines go in this order
  std::string (*tip)(const PlanData& data, const PlanEntry& e) = nullptr;
};

// The fields in the order of plans.csv, then the columns read only for others.
std::span<const PlanField> PlanFields();
// The fields on a bar's tip, in the tip's order.
std::span<const PlanField* const> TipFields();
// The columns the plan query joins from the masters; the arrangement's own columns come first.
int JoinedColumnCount();

// "2024/05/14 10:00".
std::string MomentText(DateTime at);
// The plan's machine code, or "未計画".
std::string RowNameOf(const PlanEntry& plan);

}  // namespace velmora
