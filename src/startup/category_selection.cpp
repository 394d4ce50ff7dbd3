#include "startup/category_selection.h"

#include "common/errors.h"
#include "common/normalize_date.h"
#include "common/numeric.h"
#include "common/questions.h"
#include "db/recordset.h"
#include "plandata/db_names.h"
#include "startup/command_line.h"
#include "startup/remembered_category.h"

namespace velmora {

CategorySelection LoadCategorySelection(
    db::Connection& connection, std::string_view commandLine, std::string_view rememberedCode,
    const std::map<std::string, PeriodPrefill>& rememberedPeriods) {
  CategorySelection selection;
  for (const auto& [code, period] : rememberedPeriods) {
    selection.RememberedPeriods[ToInt32(Val(code))] = period;
  }
  const bool forced = !commandLine.empty() && ForcesCategory(commandLine);
  const double wanted = Val(forced ? ForcedCategoryText(commandLine) : rememberedCode);
  // Without a remembered file nothing is pre-selected, not the category whose code reads as 0.
  const bool match = forced || !rememberedCode.empty();

  db::Recordset rs;
  rs.Open(kCategoryListSql, connection, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
  while (!rs.Eof()) {
    const std::string code = rs.Fields(dbname::kCategoryCode).Text();
    const double value = Val(code);
    selection.Items.push_back(
        {code + " " + rs.Fields(dbname::kCategoryName).Text(), ToInt32(value)});
    if (match && value == wanted)
      selection.ListIndex = static_cast<int>(selection.Items.size()) - 1;
    rs.MoveNext();
  }
  rs.Close();

  std::optional<PeriodPrefill> period;
  if (!commandLine.empty()) period = PeriodFromCommandLine(commandLine);
  if (!period && selection.ListIndex >= 0) {
    const auto& item = selection.Items[static_cast<std::size_t>(selection.ListIndex)];
    const auto found = selection.RememberedPeriods.find(item.ItemData);
    if (found != selection.RememberedPeriods.end()) period = found->second;
  }
  if (period) {
    selection.StartText = period->Start;
    selection.EndText = period->End;
  }
  return selection;
}

ActivateAction ActivateActionFor(std::string_view commandLine) {
  if (commandLine.empty()) return ActivateAction::None;
  if (ForcesCategory(commandLine)) return ActivateAction::AcceptAtOnce;
  // Typing a date into a focused list would pick a category by its first digit.
  return PeriodFromCommandLine(commandLine) ? ActivateAction::FocusList : ActivateAction::None;
}

bool ConfirmDatesEntered(const CategorySelection& selection, Questions& questions) {
  if (!selection.StartText.empty() && !selection.EndText.empty()) return true;
  questions.Tell({"日付を入力してください"});
  return false;
}

bool ConfirmPeriod(const CategorySelection& selection, Questions& questions) {
  if (!ConfirmDatesEntered(selection, questions)) return false;
  if (const std::optional<std::string> problem =
          PeriodProblem(selection.StartText, selection.EndText)) {
    questions.Tell({*problem});
    return false;
  }
  return true;
}

CategoryWindow::CategoryWindow(CategorySelection selection, std::string commandLine, DateTime today,
                               Questions& questions)
    : Selection(std::move(selection)),
      commandLine_(std::move(commandLine)),
      today_(today),
      questions_(questions),
      periodGiven_(PeriodFromCommandLine(commandLine_).has_value()) {}

void CategoryWindow::Activate() {
  switch (ActivateActionFor(commandLine_)) {
    case ActivateAction::AcceptAtOnce:
      closed_ = true;
      break;
    case ActivateAction::FocusList:
      Focus = "ComboKBun";
      break;
    case ActivateAction::None:
      break;
  }
}

std::string* CategoryWindow::TextOf(std::string_view control) {
  if (control == "strYYMMDD") return &Selection.StartText;
  if (control == "endYYMMDD") return &Selection.EndText;
  return nullptr;
}

void CategoryWindow::Type(std::string_view control, std::string text) {
  std::string* box = TextOf(control);
  if (box == nullptr) {
    if (control == "ComboKBun" || control == "cmdOK" || control == "cmdCancel") {
      Unsupported(control);
    }
    Unknown(control);
  }
  // The window echoes what it shows; only a change is the user's.
  if (*box == text) return;
  *box = std::move(text);
  periodGiven_ = true;
}

void CategoryWindow::Enter(std::string_view control) {
  if (std::string* box = TextOf(control)) {
    *box = NormalizeDateText(*box, today_);
    periodGiven_ = true;
    Focus = control == "strYYMMDD" ? "endYYMMDD" : "ComboKBun";
    return;
  }
  if (control == "cmdOK" || control == "cmdCancel") return Click(control);
  if (control != "ComboKBun") Unknown(control);
  Accept();
}

void CategoryWindow::Accept() {
  if (Selection.ListIndex < 0) {
    Focus = "ComboKBun";
    return;
  }
  if (ConfirmPeriod(Selection, questions_)) {
    closed_ = true;
  } else {
    Focus = "strYYMMDD";
  }
}

bool CategoryWindow::Complete() const {
  return Selection.ListIndex >= 0 && !Selection.StartText.empty() && !Selection.EndText.empty() &&
         !PeriodProblem(Selection.StartText, Selection.EndText);
}

void CategoryWindow::AskToQuit() {
  if (questions_.Ask({.text = "終了しますか？", .title = "工程分類指定", .questionMark = true}) ==
      Answer::Yes) {
    Selection.Quit = true;
    closed_ = true;
    return;
  }
  Focus = Selection.ListIndex < 0 ? "ComboKBun" : "strYYMMDD";
}

void CategoryWindow::Close() {
  if (Complete()) {
    closed_ = true;
  } else {
    AskToQuit();
  }
}

void CategoryWindow::Click(std::string_view control) {
  if (control == "cmdOK") return Accept();
  if (control == "cmdCancel") return AskToQuit();
  if (TextOf(control) == nullptr && control != "ComboKBun") Unknown(control);
}

bool CategoryWindow::FocusMoved(std::string_view control) {
  if (control != "ComboKBun" || Selection.ListIndex >= 0 || Selection.Items.empty()) return false;
  Select(control, {0});
  return true;
}

void CategoryWindow::DblClick(std::string_view control, int line) {
  // A double click off the lines accepts the line already selected.
  if (line >= 0) Select(control, {line});
  Enter(control);
}

void CategoryWindow::Select(std::string_view control, const std::vector<int>& lines) {
  if (control != "ComboKBun") Unsupported(control);
  if (lines.size() > 1 ||
      (!lines.empty() && (lines[0] < 0 || lines[0] >= static_cast<int>(Selection.Items.size())))) {
    Unsupported(control);
  }
  Selection.ListIndex = lines.empty() ? -1 : lines[0];
  if (periodGiven_ || Selection.ListIndex < 0) return;
  const auto& item = Selection.Items[static_cast<std::size_t>(Selection.ListIndex)];
  const auto found = Selection.RememberedPeriods.find(item.ItemData);
  if (found == Selection.RememberedPeriods.end()) return;
  Selection.StartText = found->second.Start;
  Selection.EndText = found->second.End;
}

std::vector<std::pair<std::string, std::string>> CategoryWindow::Show() const {
  std::vector<std::pair<std::string, std::string>> out;
  for (std::size_t i = 0; i < Selection.Items.size(); ++i) {
    const bool chosen = static_cast<int>(i) == Selection.ListIndex;
    out.emplace_back("ComboKBun[" + std::to_string(i) + "]",
                     (chosen ? "* " : "  ") + Selection.Items[i].Text);
  }
  out.emplace_back("strYYMMDD", Selection.StartText);
  out.emplace_back("endYYMMDD", Selection.EndText);
  return out;
}

ControlState CategoryWindow::State(std::string_view control) const {
  ControlState state;
  if (control == "ComboKBun") {
    for (const CategoryItem& item : Selection.Items) state.Lines.push_back(item.Text);
    if (Selection.ListIndex >= 0) state.Selected = {Selection.ListIndex};
  }
  if (control == "strYYMMDD") state.Text = Selection.StartText;
  if (control == "endYYMMDD") state.Text = Selection.EndText;
  return state;
}

void PublishSelection(const CategorySelection& selection, PlanData& data,
                      const std::filesystem::path& rememberedFile, Questions& questions) {
  const bool selected =
      selection.ListIndex >= 0 && selection.ListIndex < static_cast<int>(selection.Items.size());
  if (selection.Quit || !selected) throw ProgramEnd{0};
  if (selection.StartText.empty() || selection.EndText.empty()) throw ProgramEnd{0};
  const CategoryItem& item = selection.Items[static_cast<std::size_t>(selection.ListIndex)];
  data.CategoryCode = std::to_string(item.ItemData);
  data.CategoryCaption = item.Text;
  try {
    data.SetPeriod(selection.StartText, selection.EndText);
  } catch (const ConversionError& problem) {
    // Closing the window with a period that cannot be planned ends the program as an empty box
    // does, after saying why.
    questions.Tell({problem.what()});
    throw ProgramEnd{0};
  }
  WriteRememberedCategory(rememberedFile, data.CategoryCode,
                          {data.PeriodStart(), data.PeriodEnd()});
  data.DayStartTime = DateTime::FromTime(0, 0, 0);
}

}  // namespace velmora
