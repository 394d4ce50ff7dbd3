#pragma once

#include <cstdint>
#include <vector>

#include "common/datetime.h"
#include "generator/demo_world.h"
#include "generator/random.h"

namespace velmora::demo {

// How one process step of a lot stands in the database.
enum class Disposition {
  kMachine,               // confirmed on a machine with start and end
  kSubcontract,           // confirmed to a subcontractor
  kDepartment,            // confirmed to another department
  kUnconfirmed,           // as requirements planning left it, without a machine
  kConfirmedWithoutTimes  // confirmed on a machine, but never given times
};

struct LotStep {
  Disposition how = Disposition::kMachine;
  DateTime plannedStart;  // requirements planning's dates for the step
  DateTime plannedDue;
};

// A production lot: one item, one quantity, its routing steps as consecutive arrangements.
struct Lot {
  int item = 0;
  int plant = 0;
  DateTime release;
  DateTime due;
  int quantity = 0;
  std::int64_t planNo = 0;
  bool deleted = false;
  std::size_t firstArrangement = 0;
  std::vector<LotStep> steps;
};

// Lots covering the data range whose steps add up to exactly options.arrangements, in
// release order, with dispositions and quantities that fill the machines to a believable
// load.
std::vector<Lot> PlanLots(const DemoWorld& world, Random& random);

// Fits the per-piece times of the later process steps to the quantities, so that every
// category's machines carry about the same share of work as the molding machines.
void CalibrateCycles(DemoWorld& world, const std::vector<Lot>& lots);

// Lays the lots out: machines, subcontractors, dates and times, and every column of the
// arrangements (world.orders.arrangements, numbered in lot order).
void ScheduleLots(DemoWorld& world, std::vector<Lot>& lots, Random& random);

// Production plans, sales orders, requirement plans, their relations to the arrangements,
// and the material requirement rows.
void BuildDemand(DemoWorld& world, const std::vector<Lot>& lots, Random& random);

// The next day at or after `date` on which the plant works (not a weekend or holiday).
DateTime NextWorkday(DateTime date);

}  // namespace velmora::demo
