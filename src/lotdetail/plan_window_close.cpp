// Closing the lot detail window: hiding or showing the lot, and writing the fields back.
#include <cmath>
#include <limits>

#include "chart/bar_layout.h"
#include "common/date_text.h"
#include "common/msgbox.h"
#include "common/numeric.h"
#include "common/text.h"
#include "editing/day_calendar.h"
#include "editing/overlap_resolution.h"
#include "lotdetail/plan_window.h"
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

}  // namespace

void PlanWindow::SetHidden(std::uint8_t hidden) {
  const double key = Val(Text14);
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

void PlanWindow::Command1_Click() {
  SetHidden(0);
  QueryClose();
}

void PlanWindow::Command7_Click() {
  if (ui::MsgBox(kHideQuestion, ui::kYesNo | ui::kDefaultButton2) != ui::Answer::Yes) return;
  SetHidden(1);
  QueryClose();
}

bool PlanWindow::QueryClose() {
  if (closed_) return true;
  if (!WriteBack()) return false;
  Finish();
  return true;
}

void PlanWindow::Finish() {
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

bool PlanWindow::WriteBack() {
  if (Text10.empty()) return true;
  // Every value the close takes must be one the entry and the database can hold: a field that
  // is not shows its last accepted value again and the window stays open on it.
  if (!ConfirmAll()) return false;
  const auto found = Entry();
  if (!found) return true;  // no entry carries the number shown: nothing to write to
  const PlanIdx p = *found;
  PlanData& data = ctx_.data;
  const PlanEntry old = data.Plan(p);

  // Values the window computed itself are checked too: they must fit the entry's fields.
  const auto startDate = ParseDateText(Text7);
  const auto startTime = editing::ParseTypedTime(Text1);
  const auto endDate = ParseDateText(Text8);
  const auto endTime = editing::ParseTypedTime(Text6);
  const auto due =
      Trim(Text11).empty() ? std::optional<DateTime>(DateTime()) : ParseDateText(Text11);
  const std::pair<bool, const char*> dates[] = {{startDate.has_value(), "Text7"},
                                                {startTime.has_value(), "Text1"},
                                                {endDate.has_value(), "Text8"},
                                                {endTime.has_value(), "Text6"},
                                                {due.has_value(), "Text11"}};
  for (const auto& [valid, field] : dates) {
    if (!valid) {
      ui::MsgBox(kEnterADate);
      Focus = field;
      return false;
    }
  }
  constexpr double kMin32 = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax32 = std::numeric_limits<std::int32_t>::max();
  const auto quantity = Whole(Text3, kMin32, kMax32);
  const auto setup16 = Whole(Text13, std::numeric_limits<std::int16_t>::min(),
                             std::numeric_limits<std::int16_t>::max());
  const auto total = Whole(Text16, kMin32, kMax32);
  const auto workers = Whole(Text40, kMin32, kMax32);
  const std::pair<const std::optional<std::int32_t>*, const char*> numbers[] = {
      {&quantity, "Text3"}, {&setup16, "Text13"}, {&total, "Text16"}, {&workers, "Text40"}};
  for (const auto& [value, field] : numbers) {
    if (!value->has_value()) {
      ui::MsgBox(kNumberOutOfRange);
      Focus = field;
      return false;
    }
  }
  const auto setup = static_cast<std::int16_t>(*setup16);
  const auto cycle = static_cast<float>(Val(Text15));
  // A drop-down still showing the entry's code is the entry's code, whatever its width.
  const std::string machine = Text5 == old.MachineCode ? old.MachineCode : PaddedLeft(Text5, 8);
  const std::string destination = Text12 == old.DestinationCode ? old.DestinationCode
                                  : CharCount(Text12) == 1      ? ""
                                                                : PaddedLeft(Text12, 12);

  const DateTime dueDate = *due;
  const bool timeChanged = machine != old.MachineCode || *startDate != old.StartDate ||
                           *startTime != old.StartTime || *endDate != old.EndDate ||
                           *endTime != old.EndTime;
  const bool quantityChanged =
      destination != old.DestinationCode || timeChanged || *quantity != old.OrderQty;
  const bool valuesChanged = setup != old.SetupMinutes || quantityChanged ||
                             cycle != old.CycleSeconds || *total != old.DurationMinutes;
  const bool placed = Text18 != old.FixedFlag || valuesChanged || *workers != old.Workers;
  if (placed && !IsStorableDate(ComputeEndTime(data, *startDate + *startTime, *total, p))) {
    ui::MsgBox(kEndOutOfRange);
    Focus = "Text7";
    return false;
  }
  // A look changes nothing: the lot is written back only when a value differs.
  if (!placed && Text10 == old.PlanItemCode && Text2 == old.ModelName &&
      dueDate == old.InitialDueDate) {
    return true;
  }

  const std::int16_t keep =
      (machine != old.MachineCode || destination != old.DestinationCode) ? 1 : 0;
  {
    PlanEntry& e = ctx_.Edit(p);
    e.PlanItemCode = Text10;
    e.ModelName = Text2;
    ctx_.MarkChanged(e);
  }
  if (placed) {
    PlanEntry& e = ctx_.Edit(p);
    e.StartDate = *startDate;
    e.StartTime = *startTime;
    e.EndDate = *endDate;
    e.EndTime = *endTime;
    e.FixedFlag = Text18;
    e.Workers = *workers;
    if (!(setup == e.SetupMinutes && *quantity == e.OrderQty && cycle == e.CycleSeconds &&
          *total == e.DurationMinutes)) {
      // The save writes the members' quantities: the lot's members take the typed one.
      if (*quantity != e.OrderQty) SetLotQuantity(e, *quantity);
      e.SetupMinutes = setup;
      e.CycleSeconds = cycle;
      e.DurationMinutes = *total;
      chart::LayoutBar(data, ctx_.model, p, keep);
    }
    editing::Insert_PlanBarStep2(ctx_, data.Plan(p).Bar(), machine, destination);
  }
  ctx_.Edit(p).InitialDueDate = dueDate;
  chart::LayoutBar(data, ctx_.model, p, keep);
  std::erase(relaid_, p);  // laid out here as the close lays it out
  return true;
}

}  // namespace velmora::lotdetail
