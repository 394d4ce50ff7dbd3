// The lot window's fields confirmed with Enter: the computations they start, the end-time search
// and the item-code look-up.
#include <cmath>
#include <limits>

#include "common/date_text.h"
#include "common/format.h"
#include "common/normalize_date.h"
#include "common/numeric.h"
#include "common/questions.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "editing/day_calendar.h"
#include "lotdetail/plan_window.h"
#include "plandata/plan_end_time.h"
#include "worktime/production_minutes.h"

namespace velmora::lotdetail {
namespace {

// Item codes the master look-up skips: they stand for generic work, not an item.
constexpr const char* kGenericItemCodes[] = {"199913", "199914", "199915"};

// An integer of the text when it fits 32 bits (rounded as the conversions round), else nothing.
std::optional<std::int32_t> Int32Of(std::string_view text) {
  const double v = std::nearbyint(Val(text));
  if (!(v >= std::numeric_limits<std::int32_t>::min() &&
        v <= std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(v);
}

// Minute precision, as the texts "yyyymmddhhnn" compare.
std::int64_t MinuteOf(DateTime t) {
  const std::int64_t s = t.Seconds();
  return s >= 0 ? s / 60 : -((-s + 59) / 60);
}

// The working minutes from `start` whose end falls in `end`'s minute, searched from `typed`;
// nothing when even the most minutes a total can hold end earlier.
std::optional<std::int64_t> MinutesToEnd(const PlanData& data, DateTime start, DateTime end,
                                         std::int32_t typed, PlanIdx entry) {
  const std::int64_t target = MinuteOf(end);
  auto endAfter = [&](std::int64_t m) {
    return MinuteOf(ComputeEndTime(data, start, static_cast<std::int32_t>(m), entry));
  };
  // The end grows with the minutes, so the first count whose end is not earlier (or the last
  // whose end is not later) is found by halving instead of one minute at a time. A working
  // minute is never shorter than a clock minute, so the clock minutes to the end bound the
  // search; an end that even needs more than the total can hold is refused.
  std::int64_t m = typed;
  const std::int64_t c = endAfter(m);
  if (c < target) {
    const std::int64_t bound = MinutesBetween(start, end) + 1;
    const std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    if (bound > limit || endAfter(std::max(bound, m + 1)) < target) return std::nullopt;
    std::int64_t lo = m;  // end earlier
    std::int64_t hi = std::max(bound, m + 1);
    while (hi - lo > 1) {
      const std::int64_t mid = lo + (hi - lo) / 2;
      (endAfter(mid) < target ? lo : hi) = mid;
    }
    m = hi;
  } else if (c > target) {
    // Down to 1 minute at least: an end inside a break before any working minute cannot be
    // met exactly, and the end the first working minute gives is shown instead.
    std::int64_t lo = 1;  // treated as "not later" for the halving
    std::int64_t hi = m;  // end later
    while (hi - lo > 1) {
      const std::int64_t mid = lo + (hi - lo) / 2;
      (endAfter(mid) > target ? hi : lo) = mid;
    }
    m = lo;
  }
  return m;
}

}  // namespace

std::optional<DateTime> PlanWindow::TypedStart() const {
  const auto date = ParseDateText(startDate);
  const auto time = editing::ParseTypedTime(startTime);
  if (!date || !time) return std::nullopt;
  return *date + *time;
}

void PlanWindow::SetEnd(DateTime end) {
  endDate = FormatDateTime(end, "yyyy/mm/dd");
  endTime = FormatDateTime(end, "hh:nn:ss");
  NoteShown("endDate");
  NoteShown("endTime");
}

void PlanWindow::UpdateWorkingMinutes() {
  workingMinutes = NumberText(Val(totalMinutes) - Val(setupMinutes));
  NoteShown("workingMinutes");
}

bool PlanWindow::MinutesFromQuantity() {
  // A typed value the lot cannot hold never goes into a computed one.
  if (!rules_.ConfirmInputs({"orderQty", "setupMinutes", "cycleSeconds"})) return false;
  const auto setup = Int32Of(setupMinutes);
  const auto quantity = Int32Of(orderQty);
  if (!setup || *setup < std::numeric_limits<std::int16_t>::min() ||
      *setup > std::numeric_limits<std::int16_t>::max() || !quantity) {
    ctx_.questions.Tell({kNumberOutOfRange});
    return false;
  }
  try {
    totalMinutes = std::to_string(ProductionMinutes(
        static_cast<std::int16_t>(*setup), static_cast<float>(Val(cycleSeconds)), *quantity));
    NoteShown("totalMinutes");
  } catch (const std::exception&) {
    ctx_.questions.Tell({kNumberOutOfRange});
    return false;
  }
  return true;
}

std::optional<DateTime> PlanWindow::EndFromStart(PlanIdx e) {
  if (!rules_.ConfirmInputs({"startDate", "startTime", "totalMinutes"})) return std::nullopt;
  const auto start = TypedStart();
  const auto minutes = Int32Of(totalMinutes);
  if (!start || !minutes) return std::nullopt;
  const DateTime end = ComputeEndTime(ctx_.data, *start, *minutes, e);
  SetEnd(end);
  return end;
}

std::optional<DateTime> PlanWindow::RecomputeFromQuantity(PlanIdx e) {
  if (!MinutesFromQuantity()) return std::nullopt;
  UpdateWorkingMinutes();
  return EndFromStart(e);
}

void PlanWindow::RecomputeEnd() {
  if (!rules_.ConfirmInputs({"startDate", "startTime", "totalMinutes"})) return;
  if (!(Val(totalMinutes) > kEndRecomputeThreshold)) return;
  const auto entry = Entry();
  const auto start = TypedStart();
  const auto minutes = Int32Of(totalMinutes);
  // A start that is no moment cannot give an end: the fields stay until it is corrected.
  if (!entry || !start || !minutes) return;
  SetEnd(ComputeEndTime(ctx_.data, *start, *minutes, *entry));
}

bool PlanWindow::EndTimeEntered() {
  if (!rules_.ConfirmInputs(
          {"startDate", "startTime", "endDate", "setupMinutes", "cycleSeconds", "totalMinutes"}))
    return false;
  const auto timeOfEnd = editing::ParseTypedTime(endTime);
  if (!timeOfEnd) {
    ctx_.questions.Tell({kNotATimeOfDay});
    return false;
  }
  const auto start = TypedStart();
  const auto dayOfEnd = ParseDateText(endDate);
  if (!start || !dayOfEnd) {
    ctx_.questions.Tell({kEnterADate});
    rules_.RestoreShown({"startDate", "startTime", "endDate"});
    return false;
  }
  const DateTime end = *dayOfEnd + *timeOfEnd;
  if (*start >= end) {
    ctx_.questions.Tell({kEndBeforeStart});
    rules_.RestoreShown({"endDate", "endTime"});
    return false;
  }
  const auto entry = Entry();
  if (!entry) return false;
  PlanData& data = ctx_.data;

  if (Val(totalMinutes) > kEndRecomputeThreshold) {
    const auto typed = Int32Of(totalMinutes);
    const auto minutes =
        typed ? MinutesToEnd(data, *start, end, *typed, *entry) : std::optional<std::int64_t>();
    if (!minutes) {
      ctx_.questions.Tell({kEndUnreachable});
      rules_.RestoreShown({"endDate", "endTime"});
      return false;
    }
    totalMinutes = std::to_string(*minutes);
    const DateTime computed =
        ComputeEndTime(data, *start, static_cast<std::int32_t>(*minutes), *entry);
    const std::int64_t apart = (computed - end).Seconds();
    if (apart > 60 || apart < -60) SetEnd(computed);
  }
  UpdateWorkingMinutes();
  OfferQuantityForEnd(*entry);
  SetFocus("destination");
  return true;
}

void PlanWindow::OfferQuantityForEnd(PlanIdx entry) {
  const PlanEntry& e = ctx_.data.Plan(entry);
  // An end the setup alone runs past has no quantity to offer: nothing is asked.
  const double pieces =
      Val(cycleSeconds) != 0 ? std::trunc(Val(workingMinutes) * 60 / Val(cycleSeconds)) : -1;
  if (pieces >= 0 && e.A[1].OrderQty == e.OrderQty &&
      ctx_.questions.Ask({kAdjustQuantityQuestion, Answer::No}) == Answer::Yes) {
    const auto quantity = Int32Of(NumberText(pieces));
    if (quantity) {
      orderQty = std::to_string(*quantity);
      PlanEntry& edited = ctx_.Edit(entry);
      edited.A.Slot(1).OrderQty = *quantity;
      edited.OrderQty = *quantity;
      // Stored before the close: it must reach the save even if the close writes nothing else.
      ctx_.MarkChanged(edited);
      ShowPacks(edited);
    }
  }
}

void PlanWindow::KeyEnter() {
  const std::string field = Focus;
  const std::vector<std::string> before = rules_.ValueTexts();
  // A typed date is completed as the window completes dates; one that is no date is refused
  // rather than silently becoming today.
  if (field == "startDate" || field == "endDate" || field == "initialDueDate") {
    std::string& text = *TextOf(field);
    if (const auto normal = NormalizeTypedDate(text, today_)) text = *normal;
  }
  if (!rules_.Confirm(field)) return;
  if (!KeyEnterConfirmed(field)) return;
  NoteShown(field);
  rules_.NoteShownSince(before);
}

bool PlanWindow::KeyEnterConfirmed(const std::string& field) {
  if (field == "startDate") {
    RecomputeEnd();
  } else if (field == "startTime") {
    RecomputeEnd();
  } else if (field == "endDate" || field == "initialDueDate") {
    // completed above
  } else if (field == "setupMinutes" || field == "cycleSeconds") {
    if (!MinutesFromQuantity()) return false;
    RecomputeEnd();
    UpdateWorkingMinutes();
  } else if (field == "totalMinutes") {
    RecomputeEnd();
    UpdateWorkingMinutes();
  } else if (field == "workingMinutes") {
    if (!rules_.ConfirmInputs({"setupMinutes"})) return false;
    totalMinutes = NumberText(Val(workingMinutes) + Val(setupMinutes));
    RecomputeEnd();
  } else if (field == "endTime") {
    return EndTimeEntered();  // the focus went to the destination
  }
  MoveToNextField();
  return true;
}

void PlanWindow::ItemCodeLeft() {
  for (const char* code : kGenericItemCodes) {
    if (itemCode == code) return;
  }
  if (ctx_.connection == nullptr) return;
  db::Recordset rs;
  rs.Open("select 型番名,型番名仕様ＡＮＫ,品名コード from 品目マスタ where 品名コード = '" +
              db::SqlText(itemCode) + "'",
          *ctx_.connection);
  if (!rs.Eof()) {
    modelName = rs.Fields("型番名").Text();
    process = rs.Fields("型番名仕様ＡＮＫ").Text();
  }
  rs.Close();
}

}  // namespace velmora::lotdetail
