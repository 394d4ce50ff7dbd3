#include "app/level_window.h"

#include <algorithm>

#include "common/date_text.h"
#include "common/normalize_date.h"
#include "common/numeric.h"
#include "common/text.h"
#include "levelling/leveller.h"
#include "session/edit_session.h"

namespace velmora {
namespace {

// A row caption on one line: captions break where the chart's row is too narrow.
std::string OneLine(std::string_view caption) {
  std::string line;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const char c = caption[i];
    if (c == '\n' && i > 0 && caption[i - 1] == '\r') continue;
    line += c == '\r' || c == '\n' ? ' ' : c;
  }
  return line;
}

}  // namespace

LevelWindow::LevelWindow(const PlanData& data, DateTime today, Questions& questions)
    : data_(data),
      questions_(questions),
      firstDay_(FormatSlashDate(levelling::FirstLevelDay(data, today))),
      lastDay_(FormatSlashDate(data.PeriodEndDate())) {
  // Row 1 is the unplanned row; the machine rows follow it.
  for (int row = 2; row <= data.MachineRowCount; ++row) {
    const auto k = static_cast<std::size_t>(row);
    rows_.push_back(row);
    captions_.push_back(k < data.RowCaption.size() ? OneLine(data.RowCaption[k]) : "");
  }
  ticked_.assign(rows_.size(), true);
}

std::string* LevelWindow::TextBox(std::string_view control) {
  if (control == "firstDay") return &firstDay_;
  if (control == "lastDay") return &lastDay_;
  if (control == "budget") return &budget_;
  return nullptr;
}

void LevelWindow::Type(std::string_view control, std::string text) {
  if (control == "otherMachines") {
    otherMachines_ = Trim(text) == "1";
    return;
  }
  std::string* box = TextBox(control);
  if (box == nullptr) Unsupported(control);
  *box = std::move(text);
}

// Enter in a field is the dialog's default button.
void LevelWindow::Enter(std::string_view control) {
  if (TextBox(control) == nullptr) Unsupported(control);
  Click("compute");
}

void LevelWindow::Click(std::string_view control) {
  if (control == "compute") {
    std::optional<levelling::LevelRequest> request = Read();
    if (!request) return;
    if (Compute) Compute(*request);
    computed_ = std::move(request);
    closed_ = true;
  } else if (control == "close") {
    closed_ = true;
  } else if (control == "allMachines" || control == "noMachines") {
    ticked_.assign(rows_.size(), control == "allMachines");
  } else if (control == "otherMachines") {
    otherMachines_ = !otherMachines_;
  } else if (control != "machines" && TextBox(control) == nullptr) {
    Unknown(control);
  }
}

void LevelWindow::Check(std::string_view control, int line) {
  if (control != "machines") Unsupported(control);
  if (line < 0 || line >= static_cast<int>(ticked_.size())) Unsupported(control);
  ticked_[static_cast<std::size_t>(line)] = !ticked_[static_cast<std::size_t>(line)];
}

std::optional<DateTime> LevelWindow::ReadDay(std::string& text, const char* refusal,
                                             const char* control) {
  const DateTime first = data_.PeriodStartDate();
  const DateTime last = data_.PeriodEndDate();
  // An empty box would read as the period's first day: it is a day left out instead.
  const std::optional<DateTime> day =
      Trim(text).empty() ? std::nullopt : TypedDayOfPeriod(text, first, last);
  focus_ = control;
  if (!day) {
    questions_.Tell({refusal});
    return std::nullopt;
  }
  if (*day < first || *day > last) {
    questions_.Tell(
        {std::string(kDateOutsidePeriod) + FormatSlashDate(first) + "～" + FormatSlashDate(last)});
    return std::nullopt;
  }
  text = FormatSlashDate(*day);
  return day;
}

std::optional<levelling::LevelRequest> LevelWindow::Read() {
  levelling::LevelRequest request;
  const std::optional<DateTime> first = ReadDay(firstDay_, kLevelBadFirstDay, "firstDay");
  if (!first) return std::nullopt;
  const std::optional<DateTime> last = ReadDay(lastDay_, kLevelBadLastDay, "lastDay");
  if (!last) return std::nullopt;
  if (*last < *first) {
    questions_.Tell({kLevelEndBeforeStart});
    return std::nullopt;
  }
  const std::string seconds = FoldNarrowUpper(Trim(budget_));
  const double budget = IsNumeric(seconds) ? Val(seconds) : 0;
  if (!(budget > 0 && budget <= kLevelMaxBudgetSeconds)) {
    focus_ = "budget";
    questions_.Tell({kLevelBadBudget});
    return std::nullopt;
  }
  if (std::find(ticked_.begin(), ticked_.end(), true) == ticked_.end()) {
    focus_ = "machines";
    questions_.Tell({kLevelNoMachine});
    return std::nullopt;
  }
  // Every row ticked is the whole category, as the request names it.
  if (std::find(ticked_.begin(), ticked_.end(), false) != ticked_.end()) {
    for (std::size_t k = 0; k < rows_.size(); ++k) {
      if (ticked_[k]) request.rows.push_back(rows_[k]);
    }
  }
  request.firstDay = *first;
  request.lastDay = *last;
  request.otherMachines = otherMachines_;
  request.budgetSeconds = budget;
  focus_ = "compute";
  return request;
}

ControlState LevelWindow::State(std::string_view control) const {
  ControlState state;
  if (control == "machines") {
    state.Lines = captions_;
    state.Ticked = ticked_;
  } else if (control == "firstDay") {
    state.Text = firstDay_;
  } else if (control == "lastDay") {
    state.Text = lastDay_;
  } else if (control == "budget") {
    state.Text = budget_;
  } else if (control == "otherMachines") {
    state.Text = otherMachines_ ? "1" : "0";
  }
  return state;
}

std::vector<std::pair<std::string, std::string>> LevelWindow::Show() const {
  std::vector<std::pair<std::string, std::string>> out;
  for (std::size_t k = 0; k < captions_.size(); ++k) {
    out.emplace_back("machines[" + std::to_string(k) + "]",
                     std::string(ticked_[k] ? "[x] " : "[ ] ") + captions_[k]);
  }
  out.emplace_back("firstDay", firstDay_);
  out.emplace_back("lastDay", lastDay_);
  out.emplace_back("otherMachines", otherMachines_ ? "1" : "0");
  out.emplace_back("budget", budget_);
  return out;
}

}  // namespace velmora
