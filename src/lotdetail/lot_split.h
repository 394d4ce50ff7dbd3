#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/dialog_model.h"
#include "editing/edit_context.h"

namespace velmora::lotdetail {

class PlanWindow;

inline constexpr const char* kLotSplitCaption = "ロット分割";
inline constexpr const char* kNoLotChosen = "分割するロットを選択してください";
inline constexpr const char* kChooseInner = "内輪を選択してください";
inline constexpr const char* kChooseOuter = "外輪を選択してください";
inline constexpr const char* kRingsDiffer = "内輪と外輪のロット数量を同じにしてください";
inline constexpr const char* kInnerOverQuantity = "内輪で指定数がロット数量を上回っています";
inline constexpr const char* kOuterOverQuantity = "外輪で指定数がロット数量を上回っています";
inline constexpr const char* kWholeLotChosen = "ロットの全数を選択する事はできません";
inline constexpr const char* kBadCount = "分割数は0から999999までの整数で入力してください";
inline constexpr const char* kSplitOverLot =
    "分割する数の合計がロットの数量を上回るため、分割できません";

// A member's line in the lot split lists: number, process, model, the count to split off and
// the quantity still to make, in fixed-width fields that the dialog reads back.
std::string SplitLine(const Member& m);
// The fields read back from a line.
std::int32_t LineNumber(std::string_view line);
std::int32_t LineCount(std::string_view line);
std::int32_t LineRemaining(std::string_view line);

// BunWindow: how many pieces of each member of the plan go to a new lot that follows it.
// Members taken whole move with their numbers; members taken in part stay with the rest and
// the new lot gets a new member, numbered at the save.
class BunWindow : public DialogModel {
 public:
  BunWindow(editing::EditContext& ctx, PlanWindow& window);

  // Fills both lists from entry e and starts on the first inner member.
  void Fill(const PlanEntry& e);

  std::vector<std::string> NList, GList;
  std::optional<int> NListIndex, GListIndex;  // the selected line
  std::string memberNo;                       // number of the member being counted
  std::string splitCount;                     // its count
  bool splitCountEnabled = false;
  std::string innerTotal, outerTotal;  // inner and outer totals
  std::string Focus;

  void List_Click(std::string_view list, int line);
  void SplitCountEntered();
  // "分割キャンセル"
  void Cancel() { closed_ = true; }
  // "分割実施"
  void SplitLot();

  // DialogModel
  bool Closed() const override { return closed_; }
  void Type(std::string_view control, std::string text) override;
  void Enter(std::string_view control) override;
  void Click(std::string_view control) override;
  void Select(std::string_view control, const std::vector<int>& lines) override;
  std::vector<std::pair<std::string, std::string>> Show() const override;
  void Close() override { closed_ = true; }
  std::span<const ControlAlias> Aliases() const override;
  ControlState State(std::string_view control) const override;
  std::string Focused() const override { return Focus; }

 private:
  // The refusal for the counts as they stand, or nothing when they can be split.
  const char* Refusal() const;
  void SplitEntry(PlanIdx e);

  editing::EditContext& ctx_;
  PlanWindow& window_;
  bool closed_ = false;
};

// The lot split for the window's plan, filled; nothing when the window shows no plan.
std::shared_ptr<BunWindow> OpenBunWindow(editing::EditContext& ctx, PlanWindow& window);

}  // namespace velmora::lotdetail
