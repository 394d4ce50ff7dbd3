#include "editing/day_calendar.h"

#include <cctype>
#include <cmath>

#include "chart/display_mode.h"
#include "common/date_text.h"
#include "common/numeric.h"
#include "common/questions.h"
#include "common/text.h"
#include "plandata/calendar_rows.h"

namespace velmora::editing {
namespace {

// The original form's control names, which scripts written for it still use.
constexpr ControlAlias kAliases[] = {
    {"Command", 1, "storeDay"},
};

constexpr const char* kSumBox = "PlanSum";
constexpr const char* kChangeButton = "storeDay";

std::string TimeBoxName(int i) {
  return "PlanTime(" + std::to_string(i) + ")";
}

// Index of "PlanTime(i)", or -1.
int TimeBoxIndex(std::string_view control) {
  for (int i = 0; i < 8; ++i) {
    if (control == TimeBoxName(i)) return i;
  }
  return -1;
}

}  // namespace

std::optional<DateTime> ParseTypedTime(std::string_view text) {
  const std::string t = Trim(text);
  int fields[3] = {0, 0, 0};
  int count = 0;
  int digits = 0;
  for (char c : t) {
    if (c == ':') {
      if (digits == 0 || ++count > 2) return std::nullopt;
      digits = 0;
    } else if (std::isdigit(static_cast<unsigned char>(c)) && digits < 2) {
      fields[count] = fields[count] * 10 + (c - '0');
      ++digits;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0 || count == 0) return std::nullopt;
  return DateTime::MakeTime(fields[0], fields[1], fields[2]);
}

void FillLinePlanWindow(const PlanData& data, LinePlanWindow& window, int row, int day) {
  for (int i = 1; i <= 7; ++i) {
    const DateTime a = data.ShiftTimes(row, i, day);
    const DateTime b = data.ShiftTimes(row, i + 1, day);
    if (a.IsZero() && b.IsZero()) continue;
    window.PlanTime[static_cast<std::size_t>(i - 1)] = FormatColonTime(a);
    window.PlanTime[static_cast<std::size_t>(i)] = FormatColonTime(b);
  }
  window.PlanSum = std::to_string(data.WorkMinutes(row, day));
  window.DateNum = static_cast<std::int16_t>(day);
  window.MachineNo = static_cast<std::int16_t>(row);
}

void LinePlanWindow::PlanTime_KeyDown(int index, int keyCode) {
  if (keyCode != kEnterKey) return;
  std::string& box = PlanTime[static_cast<std::size_t>(index)];
  if (const auto time = ParseTypedTime(box)) {
    box = FormatColonTime(*time);
  } else if (!box.empty()) {
    ctx_.questions.Tell({kEnterATime});
    return;
  }
  Focus = index < 7 ? TimeBoxName(index + 1) : kSumBox;
}

void LinePlanWindow::StoreDay() {
  for (int i = 0; i < 8; ++i) {
    const std::string& box = PlanTime[static_cast<std::size_t>(i)];
    if (!box.empty() && !ParseTypedTime(box)) {
      ctx_.questions.Tell({kNotATime});
      Focus = TimeBoxName(i);
      return;
    }
  }
  // A number the day's minutes cannot hold is refused before anything is stored.
  const double minutes = std::nearbyint(Val(PlanSum));
  if (!(minutes >= 0 && minutes <= 32767)) {
    ctx_.questions.Tell({kMinutesTooLarge});
    Focus = kSumBox;
    return;
  }
  DayShifts shifts;
  for (int i = 0; i < 8; ++i) {
    const std::string& box = PlanTime[static_cast<std::size_t>(i)];
    shifts[static_cast<std::size_t>(i)] =
        box.empty() ? ctx_.data.DayStartTime : *ParseTypedTime(box);
  }
  // A day the calendar table cannot give back as shown is refused here, not lost at the save.
  const auto rows = CalendarRowsOf(shifts, static_cast<int>(minutes));
  if (const auto* problem = std::get_if<std::string>(&rows)) {
    ctx_.questions.Tell({*problem});
    Focus = TimeBoxName(0);
    return;
  }

  PlanData& data = ctx_.data;
  const int r = MachineNo;
  const int d = DateNum;
  {
    GestureScope gesture(ctx_);
    ctx_.history.TouchDay(data, r, d);
    for (int i = 0; i < 8; ++i) {
      DateTime& slot = data.ShiftTimes(r, i + 1, d);
      const DateTime value = shifts[static_cast<std::size_t>(i)];
      if (value != slot) data.CalendarChanged(r, d) = 1;
      slot = value;
    }
    const auto stored = static_cast<std::int16_t>(minutes);
    if (Val(PlanSum) != data.WorkMinutes(r, d)) data.CalendarChanged(r, d) = 1;
    data.WorkMinutes(r, d) = stored;
    if (data.CalendarChanged(r, d) == 1) data.Edits.MarkEdited();
  }
  chart::Disp_Gantt(data, ctx_.model);
  closed_ = true;
}

std::string* LinePlanWindow::TextOf(std::string_view control) {
  const int i = TimeBoxIndex(control);
  if (i >= 0) return &PlanTime[static_cast<std::size_t>(i)];
  if (control == kSumBox) return &PlanSum;
  return nullptr;
}

void LinePlanWindow::Type(std::string_view control, std::string text) {
  std::string* box = TextOf(control);
  if (box == nullptr) Unknown(control);
  Focus = std::string(control);
  *box = std::move(text);
}

void LinePlanWindow::Enter(std::string_view control) {
  if (TextOf(control) == nullptr && control != kChangeButton) Unknown(control);
  Focus = std::string(control);
  const int i = TimeBoxIndex(control);
  if (i >= 0) {
    PlanTime_KeyDown(i, kEnterKey);
  } else if (control == kChangeButton) {
    StoreDay();  // Enter on a focused button presses it
  }
}

void LinePlanWindow::Click(std::string_view control) {
  if (control != kChangeButton) {
    if (TextOf(control) == nullptr) Unknown(control);
    Focus = std::string(control);
    return;
  }
  StoreDay();
}

std::vector<std::pair<std::string, std::string>> LinePlanWindow::Show() const {
  std::vector<std::pair<std::string, std::string>> lines;
  for (int i = 0; i < 8; ++i)
    lines.emplace_back(TimeBoxName(i), PlanTime[static_cast<std::size_t>(i)]);
  lines.emplace_back(kSumBox, PlanSum);
  return lines;
}

ControlState LinePlanWindow::State(std::string_view control) const {
  ControlState state;
  const int i = TimeBoxIndex(control);
  if (i >= 0) state.Text = PlanTime[static_cast<std::size_t>(i)];
  if (control == kSumBox) state.Text = PlanSum;
  return state;
}

bool LinePlanWindow::FocusMoved(std::string_view control) {
  if (TextOf(control) == nullptr) return false;
  Focus = std::string(control);
  return true;
}

std::span<const ControlAlias> LinePlanWindow::Aliases() const {
  return kAliases;
}

}  // namespace velmora::editing
