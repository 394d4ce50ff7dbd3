// The confirmations of the lot detail window's fields with Enter, and the item-code look-up.
#include <cmath>
#include <limits>

#include "common/date_text.h"
#include "common/format.h"
#include "common/msgbox.h"
#include "common/normalize_date.h"
#include "common/numeric.h"
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
  const auto date = ParseDateText(Text7);
  const auto time = editing::ParseTypedTime(Text1);
  if (!date || !time) return std::nullopt;
  return *date + *time;
}

void PlanWindow::SetEnd(DateTime end) {
  Text8 = FormatDateTime(end, "yyyy/mm/dd");
  Text6 = FormatDateTime(end, "hh:nn:ss");
  NoteShown("Text8");
  NoteShown("Text6");
}

void PlanWindow::UpdateWorkingMinutes() {
  Text19 = NumberText(Val(Text16) - Val(Text13));
  NoteShown("Text19");
}

bool PlanWindow::ConfirmInputs(std::initializer_list<const char*> fields) {
  for (const char* field : fields) {
    if (!Confirm(field)) return false;
  }
  return true;
}

bool PlanWindow::MinutesFromQuantity() {
  // A typed value the lot cannot hold never goes into a computed one.
  if (!ConfirmInputs({"Text3", "Text13", "Text15"})) return false;
  const auto setup = Int32Of(Text13);
  const auto quantity = Int32Of(Text3);
  if (!setup || *setup < std::numeric_limits<std::int16_t>::min() ||
      *setup > std::numeric_limits<std::int16_t>::max() || !quantity) {
    ui::MsgBox(kNumberOutOfRange);
    return false;
  }
  try {
    Text16 = std::to_string(ProductionMinutes(static_cast<std::int16_t>(*setup),
                                              static_cast<float>(Val(Text15)), *quantity));
    NoteShown("Text16");
  } catch (const std::exception&) {
    ui::MsgBox(kNumberOutOfRange);
    return false;
  }
  return true;
}

std::optional<DateTime> PlanWindow::EndFromStart(PlanIdx e) {
  if (!ConfirmInputs({"Text7", "Text1", "Text16"})) return std::nullopt;
  const auto start = TypedStart();
  const auto minutes = Int32Of(Text16);
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
  if (!ConfirmInputs({"Text7", "Text1", "Text16"})) return;
  if (!(Val(Text16) > kEndRecomputeThreshold)) return;
  const auto entry = Entry();
  const auto start = TypedStart();
  const auto minutes = Int32Of(Text16);
  // A start that is no moment cannot give an end: the fields stay until it is corrected.
  if (!entry || !start || !minutes) return;
  SetEnd(ComputeEndTime(ctx_.data, *start, *minutes, *entry));
}

bool PlanWindow::EndTimeEntered() {
  if (!ConfirmInputs({"Text7", "Text1", "Text8", "Text13", "Text15", "Text16"})) return false;
  const auto endTime = editing::ParseTypedTime(Text6);
  if (!endTime) {
    ui::MsgBox(kNotATimeOfDay);
    return false;
  }
  const auto start = TypedStart();
  const auto endDate = ParseDateText(Text8);
  if (!start || !endDate) {
    ui::MsgBox(kEnterADate);
    RestoreShown({"Text7", "Text1", "Text8"});
    return false;
  }
  const DateTime end = *endDate + *endTime;
  if (*start >= end) {
    ui::MsgBox(kEndBeforeStart);
    RestoreShown({"Text8", "Text6"});
    return false;
  }
  const auto entry = Entry();
  if (!entry) return false;
  PlanData& data = ctx_.data;

  if (Val(Text16) > kEndRecomputeThreshold) {
    const auto typed = Int32Of(Text16);
    const auto minutes =
        typed ? MinutesToEnd(data, *start, end, *typed, *entry) : std::optional<std::int64_t>();
    if (!minutes) {
      ui::MsgBox(kEndUnreachable);
      RestoreShown({"Text8", "Text6"});
      return false;
    }
    Text16 = std::to_string(*minutes);
    const DateTime computed =
        ComputeEndTime(data, *start, static_cast<std::int32_t>(*minutes), *entry);
    const std::int64_t apart = (computed - end).Seconds();
    if (apart > 60 || apart < -60) SetEnd(computed);
  }
  UpdateWorkingMinutes();
  OfferQuantityForEnd(*entry);
  SetFocus("Text12");
  return true;
}

void PlanWindow::OfferQuantityForEnd(PlanIdx entry) {
  const PlanEntry& e = ctx_.data.Plan(entry);
  // An end the setup alone runs past has no quantity to offer: nothing is asked.
  const double pieces = Val(Text15) != 0 ? std::trunc(Val(Text19) * 60 / Val(Text15)) : -1;
  if (pieces >= 0 && e.A[1].OrderQty == e.OrderQty &&
      ui::MsgBox(kAdjustQuantityQuestion, ui::kYesNo | ui::kDefaultButton2) == ui::Answer::Yes) {
    const auto quantity = Int32Of(NumberText(pieces));
    if (quantity) {
      Text3 = std::to_string(*quantity);
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
  const std::vector<std::string> before = ValueTexts();
  // A typed date is completed as the window completes dates; one that is no date is refused
  // rather than silently becoming today.
  if (field == "Text7" || field == "Text8" || field == "Text11") {
    std::string& text = *TextOf(field);
    if (const auto normal = NormalizeTypedDate(text, today_)) text = *normal;
  }
  if (!Confirm(field)) return;
  if (!KeyEnterConfirmed(field)) return;
  NoteShown(field);
  NoteShownSince(before);
}

bool PlanWindow::KeyEnterConfirmed(const std::string& field) {
  if (field == "Text7") {
    RecomputeEnd();
  } else if (field == "Text1") {
    RecomputeEnd();
  } else if (field == "Text8" || field == "Text11") {
    // completed above
  } else if (field == "Text13" || field == "Text15") {
    if (!MinutesFromQuantity()) return false;
    RecomputeEnd();
    UpdateWorkingMinutes();
  } else if (field == "Text16") {
    RecomputeEnd();
    UpdateWorkingMinutes();
  } else if (field == "Text19") {
    if (!ConfirmInputs({"Text13"})) return false;
    Text16 = NumberText(Val(Text19) + Val(Text13));
    RecomputeEnd();
  } else if (field == "Text6") {
    return EndTimeEntered();  // the focus went to the destination
  }
  MoveToNextField();
  return true;
}

void PlanWindow::ItemCodeLeft() {
  for (const char* code : kGenericItemCodes) {
    if (Text10 == code) return;
  }
  if (ctx_.connection == nullptr) return;
  db::Recordset rs;
  rs.Open("select 型番名,型番名仕様ＡＮＫ,品名コード from 品目マスタ where 品名コード = '" +
              db::SqlText(Text10) + "'",
          *ctx_.connection);
  if (!rs.Eof()) {
    Text2 = rs.Fields("型番名").Text();
    Text9 = rs.Fields("型番名仕様ＡＮＫ").Text();
  }
  rs.Close();
}

}  // namespace velmora::lotdetail
