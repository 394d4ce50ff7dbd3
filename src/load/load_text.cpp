#include "load/load_text.h"

#include "common/date_text.h"

namespace velmora::load {

std::string Figure(const BucketLoad& bucket) {
  if (!bucket.capacity) return bucket.plans > 0 ? std::to_string(bucket.plans) + "件" : "";
  if (const auto percent = bucket.Percent()) return std::to_string(*percent) + "%";
  return bucket.used > 0 ? "休 " + std::to_string(bucket.used) + "分" : "";
}

std::string DayLabel(DateTime date) {
  static const char* const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
  return FormatSlashDate(date).substr(5) + " (" + kWeekdays[date.Weekday() - 1] + ")";
}

}  // namespace velmora::load
