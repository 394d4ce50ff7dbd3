#include "app/category_selection.h"

#include "app/command_line.h"
#include "app/remembered_category.h"
#include "common/errors.h"
#include "common/msgbox.h"
#include "common/numeric.h"
#include "db/recordset.h"
#include "plandata/db_names.h"

namespace velmora {

CategorySelection LoadCategorySelection(db::Connection& connection, std::string_view commandLine,
                                        std::string_view rememberedCode) {
  CategorySelection selection;
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

  if (!commandLine.empty()) {
    if (const auto period = PeriodFromCommandLine(commandLine)) {
      selection.StartText = period->Start;
      selection.EndText = period->End;
    }
  }
  return selection;
}

ActivateAction ActivateActionFor(std::string_view commandLine) {
  if (commandLine.empty()) return ActivateAction::None;
  return ForcesCategory(commandLine) ? ActivateAction::AcceptAtOnce : ActivateAction::FocusList;
}

bool ConfirmDatesEntered(const CategorySelection& selection) {
  if (!selection.StartText.empty() && !selection.EndText.empty()) return true;
  ui::MsgBox("日付を入力してください", ui::kOkOnly);
  return false;
}

bool ConfirmPeriod(const CategorySelection& selection) {
  if (!ConfirmDatesEntered(selection)) return false;
  if (const std::optional<std::string> problem =
          PeriodProblem(selection.StartText, selection.EndText)) {
    ui::MsgBox(*problem, ui::kOkOnly);
    return false;
  }
  return true;
}

void PublishSelection(const CategorySelection& selection, PlanData& data,
                      const std::filesystem::path& rememberedFile) {
  const bool selected =
      selection.ListIndex >= 0 && selection.ListIndex < static_cast<int>(selection.Items.size());
  if (!selected) throw ProgramEnd{0};
  if (selection.StartText.empty() || selection.EndText.empty()) throw ProgramEnd{0};
  const CategoryItem& item = selection.Items[static_cast<std::size_t>(selection.ListIndex)];
  data.CategoryCode = std::to_string(item.ItemData);
  data.CategoryCaption = item.Text;
  try {
    data.SetPeriod(selection.StartText, selection.EndText);
  } catch (const ConversionError& problem) {
    // Closing the window with a period that cannot be planned ends the program as an empty box
    // does, after saying why.
    ui::MsgBox(problem.what(), ui::kOkOnly);
    throw ProgramEnd{0};
  }
  WriteRememberedCategory(rememberedFile, data.CategoryCode);
  data.DayStartTime = DateTime::FromTime(0, 0, 0);
}

}  // namespace velmora
