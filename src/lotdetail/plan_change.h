#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/datetime.h"
#include "common/dialog_model.h"
#include "editing/edit_context.h"

namespace velmora::lotdetail {

class PlanWindow;

inline constexpr const char* kPlanChangeCaption = "計画変更";
inline constexpr const char* kNoBillOfMaterials = "この型番ではこの機能は使用できません";
inline constexpr const char* kSequenceMismatch = "構成マスタの順序が一致していません";
inline constexpr const char* kSharesOverQuantity =
    "計画変更の総数が元の計画数量をオーバーしていますので処理できません";
inline constexpr const char* kTypeDateCorrectly = "正しく日付を入力してください";
inline constexpr const char* kTypeCorrectDate = "正しい日付を入力してください";
inline constexpr const char* kBadShare = "数量は0以上の整数で入力してください";
inline constexpr const char* kOneWholeShare = "元の計画の数量と同じ配分は1行だけにしてください";
inline constexpr const char* kNoDate = "--/--";
inline constexpr const char* kNoMachineShown = "--------";

// One parent item in ZList: model name, stock, the share's quantity, date and machine, and the
// parent's item code, in fixed-width fields read back from the end of the line.
struct ZLine {
  static std::string Make(std::string_view modelName, std::string_view stock,
                          std::string_view parentCode);
  static std::int64_t Quantity(std::string_view line);
  static std::string Date(std::string_view line);     // "mm/dd" or "--/--"
  static std::string Machine(std::string_view line);  // 8 characters or "--------"
  static std::string ParentCode(std::string_view line);
  static std::string ModelName(std::string_view line);
  static std::string WithShare(std::string_view line, std::int64_t quantity, std::string_view date,
                               std::string_view machine);
};

// PlanChange: the plan's quantity distributed over the parent items that use the same molded
// component, each share with a start date and a machine. The share equal to the plan's member
// re-labels the plan; every other share becomes a new plan with new members.
class PlanChange : public DialogModel {
 public:
  PlanChange(editing::EditContext& ctx, PlanWindow& window);

  std::vector<std::string> ZList;
  std::optional<int> ZListIndex;
  // Existing arrangements of the parent items, for reference only: not yet on a machine (MList)
  // and on one (KList).
  std::vector<std::string> MList, KList;
  std::optional<int> MListIndex, KListIndex;
  std::string memberNo;  // the plan's first member
  std::string shareQty, shareDate, machine;
  std::vector<std::string> machineChoices;
  std::string Focus;

  // Adds a parent item's line.
  void AddParent(std::string_view modelName, std::string_view stock, std::string_view parentCode);
  void ZList_Click(int line);
  void ShareQtyEntered() { Focus = "shareDate"; }
  void ShareDateEntered();
  void MachineEntered();
  // "分割実施"
  void SplitPlan();

  // DialogModel
  bool Closed() const override { return closed_; }
  void Type(std::string_view control, std::string text) override;
  void Enter(std::string_view control) override;
  void Click(std::string_view control) override;
  void Select(std::string_view control, const std::vector<int>& lines) override;
  std::vector<std::pair<std::string, std::string>> Show() const override;
  void Close() override { closed_ = true; }
  std::span<const ControlAlias> Aliases() const override;
  // The reference lists are shown unusable.
  ControlState State(std::string_view control) const override;
  std::string Focused() const override { return Focus; }

 private:
  bool MachineSelected() const;
  // The refusal for the shares as they stand, or nothing when they can be applied.
  const char* Refusal(const PlanEntry& e);
  void Relabel(PlanIdx e, std::size_t line);
  void SplitOff(PlanIdx e, std::size_t line);

  editing::EditContext& ctx_;
  PlanWindow& window_;
  std::vector<std::optional<DateTime>> dates_;  // each line's share date, with its year
  bool closed_ = false;
};

// Opens the plan change for the window's plan: its parent items, their arrangements and the
// machines; nothing (after telling the user why) when the plan has no such parents.
std::shared_ptr<PlanChange> OpenPlanChange(editing::EditContext& ctx, PlanWindow& window);

// The parent items of `component` with their model names and stock: one row for each of the
// steps s1 and s2 they have a routing row for.
std::string ParentItemsSql(const std::string& component, std::int16_t plant, std::int16_t s1,
                           std::int16_t s2);

}  // namespace velmora::lotdetail
