#include "lotdetail/lot_closing.h"

#include <cmath>
#include <limits>

#include "chart/bar_layout.h"
#include "common/date_text.h"
#include "common/numeric.h"
#include "common/questions.h"
#include "common/text.h"
#include "editing/day_calendar.h"
#include "editing/overlap_resolution.h"
#include "plandata/plan_end_time.h"

namespace velmora::lotdetail {
namespace {

std::string PaddedLeft(std::string_view text, std::size_t width) {
  std::string out = Left(text, width);
  for (std::size_t n = CharCount(out); n < width; ++n) out += ' ';
  return out;
}

// A whole number of the text within [low, high], or nothing.
std::optional<std::int32_t> Whole(std::string_view text, double low, double high) {
  const double v = std::nearbyint(Val(text));
  if (!(v >= low && v <= high)) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

// The values the close writes back, as the window's fields give them.
struct LotValues {
  std::string itemCode, modelName, fixedFlag;
  std::string machine, destination;
  DateTime startDate, startTime, endDate, endTime, dueDate;
  std::int32_t quantity = 0, total = 0, workers = 0;
  std::int16_t setup = 0;
  float cycle = 0;
};

// The dates and times of the fields into v; false (after telling the user and focusing the
// field) at the first that is no date or time.
bool ReadDates(Questions& questions, LotFields& w, LotValues& v) {
  const auto startDate = ParseDateText(w.startDate);
  const auto startTime = editing::ParseTypedTime(w.startTime);
  const auto endDate = ParseDateText(w.endDate);
  const auto endTime = editing::ParseTypedTime(w.endTime);
  const auto due = Trim(w.initialDueDate).empty() ? std::optional<DateTime>(DateTime())
                                                  : ParseDateText(w.initialDueDate);
  const std::pair<bool, const char*> dates[] = {{startDate.has_value(), "startDate"},
                                                {startTime.has_value(), "startTime"},
                                                {endDate.has_value(), "endDate"},
                                                {endTime.has_value(), "endTime"},
                                                {due.has_value(), "initialDueDate"}};
  for (const auto& [valid, field] : dates) {
    if (!valid) {
      questions.Tell({kEnterADate});
      w.Focus = field;
      return false;
    }
  }
  v.startDate = *startDate;
  v.startTime = *startTime;
  v.endDate = *endDate;
  v.endTime = *endTime;
  v.dueDate = *due;
  return true;
}

// The whole numbers of the fields into v; false (after telling the user and focusing the field)
// at the first the entry cannot hold.
bool ReadNumbers(Questions& questions, LotFields& w, LotValues& v) {
  constexpr double kMin32 = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax32 = std::numeric_limits<std::int32_t>::max();
  const auto quantity = Whole(w.orderQty, kMin32, kMax32);
  const auto setup16 = Whole(w.setupMinutes, std::numeric_limits<std::int16_t>::min(),
                             std::numeric_limits<std::int16_t>::max());
  const auto total = Whole(w.totalMinutes, kMin32, kMax32);
  const auto workers = Whole(w.workers, kMin32, kMax32);
  const std::pair<const std::optional<std::int32_t>*, const char*> numbers[] = {
      {&quantity, "orderQty"},
      {&setup16, "setupMinutes"},
      {&total, "totalMinutes"},
      {&workers, "workers"}};
  for (const auto& [value, field] : numbers) {
    if (!value->has_value()) {
      questions.Tell({kNumberOutOfRange});
      w.Focus = field;
      return false;
    }
  }
  v.quantity = *quantity;
  v.setup = static_cast<std::int16_t>(*setup16);
  v.total = *total;
  v.workers = *workers;
  return true;
}

// The window's fields as the values of entry `old`, or nothing when a field gives none.
std::optional<LotValues> ReadLotValues(Questions& questions, LotFields& w, const PlanEntry& old) {
  LotValues v;
  if (!ReadDates(questions, w, v) || !ReadNumbers(questions, w, v)) return std::nullopt;
  v.cycle = static_cast<float>(Val(w.cycleSeconds));
  // A drop-down still showing the entry's code is the entry's code, whatever its width.
  v.machine = w.machine == old.MachineCode ? old.MachineCode : PaddedLeft(w.machine, 8);
  v.destination = w.destination == old.DestinationCode ? old.DestinationCode
                  : CharCount(w.destination) == 1      ? ""
                                                       : PaddedLeft(w.destination, 12);
  v.itemCode = w.itemCode;
  v.modelName = w.modelName;
  v.fixedFlag = w.fixedFlag;
  return v;
}

// Whether v changes the lot's place or anything it is computed from: the lot is then placed on
// its row again.
bool Placed(const LotValues& v, const PlanEntry& old) {
  const bool timeChanged = v.machine != old.MachineCode || v.startDate != old.StartDate ||
                           v.startTime != old.StartTime || v.endDate != old.EndDate ||
                           v.endTime != old.EndTime;
  const bool quantityChanged =
      v.destination != old.DestinationCode || timeChanged || v.quantity != old.OrderQty;
  const bool valuesChanged = v.setup != old.SetupMinutes || quantityChanged ||
                             v.cycle != old.CycleSeconds || v.total != old.DurationMinutes;
  return v.fixedFlag != old.FixedFlag || valuesChanged || v.workers != old.Workers;
}

// Writes v into entry p and lays its bar out again (`keep` as LayoutBar's keepSurface); a placed
// lot goes onto its row through the overlap rules.
void ApplyLotValues(editing::EditContext& ctx, PlanIdx p, const LotValues& v, bool placed,
                    std::int16_t keep) {
  PlanData& data = ctx.data;
  {
    PlanEntry& e = ctx.Edit(p);
    e.PlanItemCode = v.itemCode;
    e.ModelName = v.modelName;
    ctx.MarkChanged(e);
  }
  if (placed) {
    PlanEntry& e = ctx.Edit(p);
    e.StartDate = v.startDate;
    e.StartTime = v.startTime;
    e.EndDate = v.endDate;
    e.EndTime = v.endTime;
    e.FixedFlag = v.fixedFlag;
    e.Workers = v.workers;
    if (!(v.setup == e.SetupMinutes && v.quantity == e.OrderQty && v.cycle == e.CycleSeconds &&
          v.total == e.DurationMinutes)) {
      // The save writes the members' quantities: the lot's members take the typed one.
      if (v.quantity != e.OrderQty) SetLotQuantity(e, v.quantity);
      e.SetupMinutes = v.setup;
      e.CycleSeconds = v.cycle;
      e.DurationMinutes = v.total;
      chart::LayoutBar(data, ctx.model, p, keep);
    }
    editing::Insert_PlanBarStep2(ctx, data.Plan(p).Bar(), v.machine, v.destination);
  }
  ctx.Edit(p).InitialDueDate = v.dueDate;
  chart::LayoutBar(data, ctx.model, p, keep);
}

}  // namespace

LotClosing::~LotClosing() {
  if (gestureOpen_) ctx_.history.End(ctx_.data);
}

void LotClosing::Opened(PlanIdx p) {
  if (!gestureOpen_) {
    ctx_.history.Begin(ctx_.data);
    gestureOpen_ = true;
  }
  relaid_.assign(1, p);
}

void LotClosing::SetHidden(std::uint8_t hidden) {
  const double key = Val(fields_.orderNo);
  PlanData& data = ctx_.data;
  for (std::int32_t i = 1; i <= data.PlanCount(); ++i) {
    if (data.PlanTable[static_cast<std::size_t>(i)].OrderNo != key) continue;
    const PlanIdx p{i};
    if (data.Plan(p).Hidden == hidden) continue;
    PlanEntry& e = ctx_.Edit(p);
    e.Hidden = hidden;
    // Every entry of the lot is shown or hidden, and each must reach the save so marked.
    ctx_.MarkChanged(e);
    relaid_.push_back(p);
  }
}

bool LotClosing::Close() {
  if (closed_) return true;
  if (!WriteBack()) return false;
  End();
  return true;
}

void LotClosing::End() {
  closed_ = true;
  // The bars are laid out again whatever was written, which also ends their opened colour.
  for (PlanIdx p : relaid_) {
    if (p.value >= 1 && p.value <= ctx_.data.PlanCount()) {
      chart::LayoutBar(ctx_.data, ctx_.model, p, 0);
    }
  }
  if (gestureOpen_) {
    gestureOpen_ = false;
    ctx_.history.End(ctx_.data);
  }
}

bool LotClosing::WriteBack() {
  if (fields_.itemCode.empty()) return true;
  // Every value the close takes must be one the entry and the database can hold: a field that
  // is not shows its last accepted value again and the window stays open on it.
  if (!rules_.ConfirmAll()) return false;
  PlanData& data = ctx_.data;
  const auto found = FirstEntryWithNumber(data, Val(fields_.orderNo));
  if (!found) return true;  // no entry carries the number shown: nothing to write to
  const PlanIdx p = *found;
  const PlanEntry old = data.Plan(p);

  // Values the window computed itself are checked too: they must fit the entry's fields.
  const std::optional<LotValues> typed = ReadLotValues(ctx_.questions, fields_, old);
  if (!typed) return false;
  const LotValues& v = *typed;
  const bool placed = Placed(v, old);
  if (placed && !IsStorableDate(ComputeEndTime(data, v.startDate + v.startTime, v.total, p))) {
    ctx_.questions.Tell({kEndOutOfRange});
    fields_.Focus = "startDate";
    return false;
  }
  // A look changes nothing: the lot is written back only when a value differs.
  if (!placed && v.itemCode == old.PlanItemCode && v.modelName == old.ModelName &&
      v.dueDate == old.InitialDueDate) {
    return true;
  }

  const std::int16_t keep =
      (v.machine != old.MachineCode || v.destination != old.DestinationCode) ? 1 : 0;
  ApplyLotValues(ctx_, p, v, placed, keep);
  std::erase(relaid_, p);  // laid out here as the close lays it out
  return true;
}

}  // namespace velmora::lotdetail
