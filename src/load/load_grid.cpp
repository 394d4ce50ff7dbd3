#include "load/load_grid.h"

namespace velmora::load {
namespace {

constexpr int kMonday = 2;  // DateTime::Weekday: 1 is Sunday
constexpr int kWeekDays = 7;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

LoadGrid::LoadGrid(DateTime firstDate, int days)
    : origin_(firstDate.DatePart().Seconds() + 8 * 3600),
      days_(days),
      weekLead_((firstDate.Weekday() - kMonday + kWeekDays) % kWeekDays) {}

int LoadGrid::Count(BucketKind kind) const {
  switch (kind) {
    case BucketKind::Shift:
      return days_ * kShiftsPerDay;
    case BucketKind::Day:
      return days_;
    case BucketKind::Week:
      return days_ == 0 ? 0 : (weekLead_ + days_ - 1) / kWeekDays + 1;
  }
  return 0;
}

std::int64_t LoadGrid::IndexAt(BucketKind kind, DateTime at) const {
  const std::int64_t shift = FloorDiv(at.Seconds() - origin_, kShiftSeconds);
  switch (kind) {
    case BucketKind::Shift:
      return shift;
    case BucketKind::Day:
      return FloorDiv(shift, kShiftsPerDay);
    case BucketKind::Week:
      return FloorDiv(FloorDiv(shift, kShiftsPerDay) + weekLead_, kWeekDays);
  }
  return 0;
}

DateTime LoadGrid::Start(BucketKind kind, std::int64_t index) const {
  std::int64_t shift = index;
  if (kind == BucketKind::Day) shift = index * kShiftsPerDay;
  if (kind == BucketKind::Week) shift = (index * kWeekDays - weekLead_) * kShiftsPerDay;
  return DateTime::FromSeconds(origin_ + shift * kShiftSeconds);
}

int LoadGrid::Of(BucketKind kind, int shift) const {
  switch (kind) {
    case BucketKind::Shift:
      return shift;
    case BucketKind::Day:
      return shift / kShiftsPerDay;
    case BucketKind::Week:
      return (shift / kShiftsPerDay + weekLead_) / kWeekDays;
  }
  return 0;
}

}  // namespace velmora::load
