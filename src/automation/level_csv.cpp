#include "automation/level_csv.h"

#include "automation/csv_writer.h"
#include "common/date_text.h"

namespace velmora {
namespace {

std::string Moment(DateTime at) {
  return FormatSlashDate(at.DatePart()) + " " + FormatColonTime(at.TimePart());
}

// The totals share the columns of the moves' before-and-after pairs, in this order: clashes
// under the machines, late plans under the starts, moved plans under the ends, minutes late
// under the minutes late.
std::vector<std::string> TotalsRecord(const levelling::Totals& before,
                                      const levelling::Totals& after) {
  auto n = [](auto v) { return std::to_string(v); };
  return {"Totals",
          "",
          n(before.clashes),
          n(after.clashes),
          n(before.latePlans),
          n(after.latePlans),
          n(before.movedPlans),
          n(after.movedPlans),
          n(before.lateMinutes),
          n(after.lateMinutes)};
}

}  // namespace

LevelCsv::LevelCsv(const PlanData& data, const levelling::Proposal& proposal) {
  records_.push_back({"OrderNo", "Item", "MachineBefore", "MachineAfter", "StartBefore",
                      "StartAfter", "EndBefore", "EndAfter", "LateMinutesBefore",
                      "LateMinutesAfter"});
  for (const levelling::Move& m : proposal.moves) {
    const PlanEntry& p = data.Plan(m.plan);
    records_.push_back({std::to_string(p.OrderNo), p.ItemCode, m.machineBefore, m.machineAfter,
                        Moment(m.startBefore), Moment(m.startAfter), Moment(m.endBefore),
                        Moment(m.endAfter), std::to_string(m.lateMinutesBefore),
                        std::to_string(m.lateMinutesAfter)});
  }
  records_.push_back(TotalsRecord(proposal.before, proposal.after));
}

void LevelCsv::Write(std::ostream& out) const {
  CsvWriter csv(out);
  for (const auto& record : records_) csv.Record(record);
}

}  // namespace velmora
