#include "automation/load_csv.h"

#include "automation/csv_writer.h"
#include "common/date_text.h"

namespace velmora {

std::optional<std::vector<std::string>> LoadCsvFields(const PlanData& data,
                                                      const load::LoadModel& load, int row,
                                                      DateTime day) {
  // The chart's day of a date runs from its 08:00: noon lies within it.
  const auto bucket = load.BucketAt(row, day.DatePart().AddHours(12), load::BucketKind::Day);
  if (!bucket) return std::nullopt;
  const std::optional<std::int64_t> percent = bucket->Percent();
  return std::vector<std::string>{data.RowCode[static_cast<std::size_t>(row)],
                                  FormatSlashDate(day.DatePart()),
                                  bucket->capacity ? std::to_string(bucket->available) : "",
                                  std::to_string(bucket->used),
                                  percent ? std::to_string(*percent) : "",
                                  std::to_string(bucket->plans),
                                  std::to_string(bucket->quantity)};
}

void WriteLoadCsv(const PlanData& data, const load::LoadModel& load, std::ostream& out) {
  CsvWriter csv(out);
  csv.Record({"Row", "Day", "Available", "Used", "Percent", "Plans", "Quantity"});
  for (int r = 2; r <= data.RowCount; ++r) {
    for (DateTime day = data.PeriodStartDate(); day <= data.PeriodEndDate(); day = day.AddDays(1)) {
      if (auto fields = LoadCsvFields(data, load, r, day)) csv.Record(*fields);
    }
  }
}

}  // namespace velmora
