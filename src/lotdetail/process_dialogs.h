#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/dialog_model.h"
#include "editing/edit_context.h"

namespace velmora::lotdetail {

class PlanWindow;

inline constexpr const char* kCannotAddProcess = "この工程に工程追加を行う事はできません";
inline constexpr const char* kNoArrangementToAdd = "追加する手配が存在しません";
inline constexpr const char* kNoProcessAdded = "工程が追加されていません";
inline constexpr const char* kProcessMixed = "混合";

// A chain list with a tick box per line. Ticking or clearing line i leaves exactly lines 0..i
// ticked, so the ticked lines are always a leading run of the chain.
struct ChainList {
  std::vector<std::string> Lines;
  std::vector<bool> Ticked;

  void Add(std::string line);
  void InsertTop(std::string line);
  void ItemCheck(int item);
  int TickedCount() const;
  void AppendTo(std::vector<std::pair<std::string, std::string>>& out, const char* name) const;
};

// What both chain dialogs share: the member's number in memberNo, the chain list with its tick
// boxes, and their buttons, which each dialog names and presses.
class ChainDialog : public DialogModel {
 public:
  std::string memberNo;
  ChainList NList;

  bool Closed() const override { return closed_; }
  void Type(std::string_view control, std::string text) override;
  void Enter(std::string_view control) override { Click(control); }
  void Click(std::string_view control) override;
  void Select(std::string_view control, const std::vector<int>& lines) override;
  void Check(std::string_view control, int line) override;
  std::vector<std::pair<std::string, std::string>> Show() const override;
  void Close() override { closed_ = true; }
  ControlState State(std::string_view control) const override;

 protected:
  // The dialog's buttons with their captions, and the press of one; false for another name.
  virtual std::vector<std::pair<std::string, std::string>> Buttons() const = 0;
  virtual bool Press(std::string_view control) = 0;

  bool closed_ = false;
};

// AddPlan: the steps that follow a single-member plan's arrangement, of which the leading ones
// can be folded into the plan.
class AddPlan : public ChainDialog {
 public:
  AddPlan(editing::EditContext& ctx, PlanWindow& window) : ctx_(ctx), window_(window) {}

  // "追加実施": the ticked steps after line 0 become members of the plan.
  void AddSteps();
  // "追加キャンセル"
  void Cancel() { closed_ = true; }
  std::span<const ControlAlias> Aliases() const override;

 protected:
  std::vector<std::pair<std::string, std::string>> Buttons() const override {
    return {{"add", "追加実施"}, {"cancel", "追加キャンセル"}};
  }
  bool Press(std::string_view control) override;

 private:
  editing::EditContext& ctx_;
  PlanWindow& window_;
};

// ShowPlan: the whole chain around the plan's arrangement, read-only.
class ShowPlan : public ChainDialog {
 public:
  // "照会終了"
  void Done() { closed_ = true; }
  std::span<const ControlAlias> Aliases() const override;

 protected:
  std::vector<std::pair<std::string, std::string>> Buttons() const override {
    return {{"done", "照会終了"}};
  }
  bool Press(std::string_view control) override;
};

// The member line both dialogs start from: the first group-A line, else the first group-B one.
std::string StartingMemberLine(const PlanWindow& window);
// That line up to and including its first blank: the member's number as the dialogs show it.
std::string StartingMemberWord(const PlanWindow& window);

// The process-adding dialog for the window's plan, filled; nothing (after telling the user why)
// when the plan cannot take steps.
std::shared_ptr<AddPlan> OpenAddPlan(editing::EditContext& ctx, PlanWindow& window);
// The process inquiry for the window's plan, filled.
std::shared_ptr<ShowPlan> OpenShowPlan(editing::EditContext& ctx, const PlanWindow& window);

}  // namespace velmora::lotdetail
