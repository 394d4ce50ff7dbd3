#include "automation/conflicts_csv.h"

#include <string>

#include "automation/csv_writer.h"
#include "common/date_text.h"
#include "plandata/clashes.h"

namespace velmora {
namespace {

std::string Moment(DateTime at) {
  return FormatSlashDate(at.DatePart()) + " " + FormatColonTime(at.TimePart());
}

const char* KindName(Clash::Kind kind) {
  switch (kind) {
    case Clash::Kind::Overlap:
      return "overlap";
    case Clash::Kind::Mold:
      return "mold";
    case Clash::Kind::Order:
      return "order";
  }
  return "";
}

}  // namespace

void WriteConflictsCsv(const PlanData& data, std::ostream& out) {
  CsvWriter csv(out);
  csv.Record({"Kind", "OrderNo1", "OrderNo2", "Row", "Start", "End"});
  for (const Clash& clash : FindClashes(data)) {
    csv.Record({KindName(clash.kind), std::to_string(data.Plan(clash.first).OrderNo),
                std::to_string(data.Plan(clash.second).OrderNo), clash.where, Moment(clash.start),
                Moment(clash.end)});
  }
}

}  // namespace velmora
