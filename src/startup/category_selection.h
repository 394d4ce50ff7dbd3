#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/datetime.h"
#include "common/dialog_model.h"
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

// The selection window: the list ComboKBun and the period boxes strYYMMDD and endYYMMDD. Enter
// in a box completes its date and moves on; Enter or a double click in the list accepts a
// complete period. Closing keeps what it shows, for PublishSelection.
class CategoryWindow : public DialogModel {
 public:
  CategoryWindow(CategorySelection selection, std::string commandLine, DateTime today)
      : Selection(std::move(selection)), commandLine_(std::move(commandLine)), today_(today) {}

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
  void Close() override { closed_ = true; }
  ControlState State(std::string_view control) const override;
  std::string Focused() const override { return Focus; }

 private:
  std::string* TextOf(std::string_view control);

  std::string commandLine_;
  DateTime today_;
  bool closed_ = false;
};

// The dialog's unload: publishes CategoryCode, CategoryCaption, PeriodStart, PeriodEnd and
// DayStartTime into `data` and remembers the category in `rememberedFile`. Without a selected
// line or without both dates the program ends here (ProgramEnd with status 0, no message).
void PublishSelection(const CategorySelection& selection, PlanData& data,
                      const std::filesystem::path& rememberedFile);

}  // namespace velmora
