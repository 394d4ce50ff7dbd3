#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "db/connection.h"
#include "plandata/plan_data.h"

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
};

inline constexpr const char* kCategoryListSql =
    "SELECT * FROM 工程分類マスタ WHERE 削除フラグ='0' ORDER BY 工程分類コード";

// Fills the list, pre-selects (the command line's category when it has one, else the
// remembered code; the last matching line wins) and pre-fills the dates from the command line.
CategorySelection LoadCategorySelection(db::Connection& connection, std::string_view commandLine,
                                        std::string_view rememberedCode);

// What the dialog does when it is first activated.
enum class ActivateAction { None, AcceptAtOnce, FocusList };
ActivateAction ActivateActionFor(std::string_view commandLine);

// Enter or double-click in the list: true when both dates are filled in (accept); otherwise
// tells the user "日付を入力してください" and returns false.
bool ConfirmDatesEntered(const CategorySelection& selection);

// The same, and then the period itself: both texts dates and the end not before the start;
// otherwise tells the user what is wrong and returns false.
bool ConfirmPeriod(const CategorySelection& selection);

// The dialog's unload: publishes CategoryCode, CategoryCaption, PeriodStart, PeriodEnd and
// DayStartTime into `data` and remembers the category in `rememberedFile`. Without a selected
// line or without both dates the program ends here (ProgramEnd with status 0, no message).
void PublishSelection(const CategorySelection& selection, PlanData& data,
                      const std::filesystem::path& rememberedFile);

}  // namespace velmora
