#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/dialog_model.h"
#include "common/questions.h"
#include "plandata/plan_data.h"

namespace velmora::lotdetail {

inline constexpr const char* kSearchCaption = "検索";
inline constexpr const char* kEnterSearchTerms = "検索条件を入力してください";
inline constexpr const char* kNoPlanFound = "該当する手配が存在しません";
inline constexpr const char* kHiddenMark = "削除済";
inline constexpr const char* kChooseCaption = "選択";

// The plans whose model name contains `name` and whose item code contains `code` (an empty
// text matching everything), in table order, hidden plans among them. Exact, case-sensitive.
std::vector<PlanIdx> FindPlans(const PlanData& data, std::string_view code, std::string_view name);

// The chooser's line for plan e.
std::string ChooserLine(const PlanEntry& e);

// SelectPlan: the plans a search found, one line each, the plan index as each line's item data.
// Choosing ("選択" or a double click) or closing it reports the 1-based chosen line (0 for none)
// to `Chosen` once.
class SelectPlan : public DialogModel {
 public:
  std::vector<std::string> NList;
  std::vector<PlanIdx> ItemData;
  int ListIndex = -1;  // the selected line, -1 for none
  int SelectedPlan = 0;
  std::function<void(int)> Chosen;

  void Choose();

  bool Closed() const override { return closed_; }
  void Type(std::string_view control, std::string) override { Unsupported(control); }
  void Enter(std::string_view control) override;
  void Click(std::string_view control) override;
  void DblClick(std::string_view control, int line) override;
  void Select(std::string_view control, const std::vector<int>& lines) override;
  std::vector<std::pair<std::string, std::string>> Show() const override;
  void Close() override { Unload(); }
  std::span<const ControlAlias> Aliases() const override;
  ControlState State(std::string_view control) const override;

 private:
  void Unload();
  bool closed_ = false;
};

// The search boxes of the main window and the button that searches.
struct SearchBoxes {
  std::string KCode;
  std::string KName;
};

// ComKensaku: folds both boxes (written back), searches and reports: nothing typed or nothing
// found as a message; one hit to `open` with its bar; several to `choose` with a filled chooser
// whose choice opens the chosen plan.
void ComKensaku_Click(SearchBoxes& boxes, const PlanData& data, Questions& questions,
                      const std::function<void(BarIdx)>& open,
                      const std::function<void(std::shared_ptr<SelectPlan>)>& choose);

}  // namespace velmora::lotdetail
