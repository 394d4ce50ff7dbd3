#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/datetime.h"
#include "common/dialog_model.h"
#include "common/questions.h"
#include "db/connection.h"
#include "plandata/plan_data.h"
#include "startup/command_line.h"

namespace velmora {

// One line of the category list: code, a blank and the name; the numeric code as item data.
struct CategoryItem {
  std::string Text;
  std::int32_t ItemData = 0;
};

// What the category and period selection shows: the list ComboKBun with its selected line,
// and the texts of the date boxes strYYMMDD and endYYMMDD.
struct CategorySelection {
  std::vector<CategoryItem> Items;
  int ListIndex = -1;  // -1: no line selected
  std::string StartText;
  std::string EndText;
  // The period last used with each category, by its number.
  std::map<std::int32_t, PeriodPrefill> RememberedPeriods;
  // The user chose to end the program rather than choose.
  bool Quit = false;
};

inline constexpr const char* kCategoryListSql =
    "SELECT * FROM 工程分類マスタ WHERE 削除フラグ='0' ORDER BY 工程分類コード";

// Fills the list, pre-selects (the command line's category when it has one, else the
// remembered code; the last matching line wins) and pre-fills the dates from the command line,
// else with the period last used with the pre-selected category.
CategorySelection LoadCategorySelection(
    db::Connection& connection, std::string_view commandLine, std::string_view rememberedCode,
    const std::map<std::string, PeriodPrefill>& rememberedPeriods = {});

// What the dialog does when it is first activated: a command line that gives a date starts on
// the list; "1" (inquiry, no date) leaves the focus on the first period box.
enum class ActivateAction { None, AcceptAtOnce, FocusList };
ActivateAction ActivateActionFor(std::string_view commandLine);

// Enter or double-click in the list: true when both dates are filled in (accept); otherwise
// tells the user "日付を入力してください" and returns false.
bool ConfirmDatesEntered(const CategorySelection& selection, Questions& questions);

// The same, and then the period itself: both texts dates and the end not before the start;
// otherwise tells the user what is wrong and returns false.
bool ConfirmPeriod(const CategorySelection& selection, Questions& questions);

// The selection window: the list ComboKBun, the period boxes strYYMMDD and endYYMMDD and the
// buttons cmdOK and cmdCancel. Enter in a box completes its date and moves on; Enter or a double
// click on a selected line, or OK, accepts a complete period. The list selects its first line
// when it takes the focus with none selected, so what looks chosen is. Choosing a line shows the
// period last used with it unless the user has typed one. Closing keeps a complete selection for
// PublishSelection; キャンセル, or closing without one, asks "終了しますか？" first.
class CategoryWindow : public DialogModel {
 public:
  // The window's messages and the question before quitting go to `questions`, which outlives it.
  CategoryWindow(CategorySelection selection, std::string commandLine, DateTime today,
                 Questions& questions);

  CategorySelection Selection;
  std::string Focus = "strYYMMDD";

  // The window first shown: the command line may accept it at once or start on the list.
  void Activate();

  bool Closed() const override { return closed_; }
  void Type(std::string_view control, std::string text) override;
  void Enter(std::string_view control) override;
  void Click(std::string_view control) override;
  void DblClick(std::string_view control, int line) override;
  void Select(std::string_view control, const std::vector<int>& lines) override;
  std::vector<std::pair<std::string, std::string>> Show() const override;
  void Close() override;
  ControlState State(std::string_view control) const override;
  std::string Focused() const override { return Focus; }
  bool FocusMoved(std::string_view control) override;

 private:
  std::string* TextOf(std::string_view control);
  void Accept();
  // Asks whether to end the program; on yes the window closes with Quit set.
  void AskToQuit();
  // A line selected and a period that can be planned: what closing keeps.
  bool Complete() const;

  std::string commandLine_;
  DateTime today_;
  Questions& questions_;
  bool closed_ = false;
  // The boxes hold the command line's or the user's period, which a chosen line leaves alone.
  bool periodGiven_ = false;
};

// The dialog's unload: publishes CategoryCode, CategoryCaption, PeriodStart, PeriodEnd and
// DayStartTime into `data` and remembers the category and its period in `rememberedFile`. When
// the user chose to end, or without a selected line or without both dates, the program ends here
// (ProgramEnd with status 0, no message); a period that cannot be planned is told first.
void PublishSelection(const CategorySelection& selection, PlanData& data,
                      const std::filesystem::path& rememberedFile, Questions& questions);

}  // namespace velmora
