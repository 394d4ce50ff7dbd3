#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/dialog_model.h"
#include "editing/edit_context.h"
#include "lotdetail/lot_closing.h"
#include "lotdetail/lot_fields.h"
#include "lotdetail/lot_rules.h"

namespace velmora::lotdetail {

inline constexpr const char* kPlanWindowCaption = "ロット詳細情報";
inline constexpr const char* kEndBeforeStart = "開始日時よりも前は設定できません";
inline constexpr const char* kEndUnreachable =
    "この終了時間に合う作業時間を計算できません。終了時間を見直してください";
inline constexpr const char* kAdjustQuantityQuestion =
    "変更された終了時間に合わせて手配数を変更しますか？";
inline constexpr const char* kHideQuestion =
    "このデータをエディタ上で見えないようにします。よろしいですか？";

// Totals at or below this many minutes leave the end fields alone.
inline constexpr int kEndRecomputeThreshold = 30;

// The lot detail window of one plan entry, without the toolkit: what it shows (LotFields, which
// the Qt window binds its widgets to), what an edit may do (LotRules), what closing it does
// (LotClosing), and the handlers that tie them to the user's actions. A script drives the same
// object through DialogModel.
class PlanWindow : public DialogModel, public LotFields {
 public:
  PlanWindow(editing::EditContext& ctx, DateTime today);
  PlanWindow(const PlanWindow&) = delete;
  PlanWindow& operator=(const PlanWindow&) = delete;

  DateTime Today() const { return today_; }

  // Fills every field from entry p and sets the buttons; `relations` are the JList lines.
  void Fill(PlanIdx p, std::vector<std::string> relations);

  // Shows a dialog the window's buttons open (process steps, lot split, plan change) modally;
  // set by whoever hosts the window (the Qt window or a script). Without a host the dialogs are
  // filled and dropped.
  std::function<void(std::shared_ptr<DialogModel>)> ShowDialog;

  // --- Handlers ---
  // Moves the focus as the window does: to another control, leaving the one it was on.
  void SetFocus(std::string_view control);
  // Enter in the focused control: its confirmation, then on to the next field unless the
  // confirmation refused the text or placed the focus itself.
  void KeyEnter();
  // The next text box or drop-down by tab index; stays put when none can take the focus.
  void MoveToNextField();
  void RecomputeEnd();
  // Enter in the end time box. False when the text was refused.
  bool EndTimeEntered();
  void ItemCodeLeft();
  // "変更完了": the lot shown again, then the close.
  void Finish();
  // "××削除××": after asking, the lot hidden, then the close.
  void Hide();
  // The close in any way: writes back, or refuses and keeps the window open.
  bool QueryClose() { return closing_.Close(); }

  // The entry the window shows (the first one with orderNo's number), or nothing.
  std::optional<PlanIdx> Entry() const;
  // The entry the restructuring dialogs act on: the last one with orderNo's number.
  std::optional<PlanIdx> LastEntry() const;

  // --- After a restructuring changed entry e ---
  // orderQty and its split into packs.
  void ShowQuantity(const PlanEntry& e);
  // The lot's number, quantity, flags and per-lot values.
  void ShowLot(const PlanEntry& e);
  // totalMinutes and workingMinutes from setup, cycle and quantity, then the end from the typed
  // start; the end, or nothing (after telling the user) when the texts give none.
  std::optional<DateTime> RecomputeFromQuantity(PlanIdx e);
  // The end from the typed start and totalMinutes whatever their size; nothing when the start or
  // the total is no value.
  std::optional<DateTime> EndFromStart(PlanIdx e);
  // The start typed in startDate and startTime, or nothing when they are no moment.
  std::optional<DateTime> TypedStart() const;
  // The field's text is the window's own (filled or computed), not the user's.
  void NoteShown(std::string_view field) { rules_.NoteShown(field); }

  // DialogModel
  bool Closed() const override { return closing_.Closed(); }
  void Type(std::string_view control, std::string text) override;
  void Enter(std::string_view control) override;
  void Click(std::string_view control) override;
  void Select(std::string_view control, const std::vector<int>& lines) override;
  std::vector<std::pair<std::string, std::string>> Show() const override;
  void Close() override { QueryClose(); }
  std::span<const ControlAlias> Aliases() const override;
  ControlState State(std::string_view control) const override { return StateOf(control); }
  std::string Focused() const override { return Focus; }
  bool FocusMoved(std::string_view control) override {
    SetFocus(control);
    return true;
  }

 private:
  // The field's own action once its text is taken, then the focus moves on; false when the
  // action refused the text.
  bool KeyEnterConfirmed(const std::string& field);
  void SetEnd(DateTime end);
  void UpdateWorkingMinutes();
  // totalMinutes from setup, cycle and quantity; false (after telling the user) when they give
  // none.
  bool MinutesFromQuantity();
  // After a typed end: asks whether the lot takes the quantity its working minutes make, and
  // stores it at once when it does.
  void OfferQuantityForEnd(PlanIdx entry);

  editing::EditContext& ctx_;
  DateTime today_;
  LotRules rules_;
  LotClosing closing_;
};

}  // namespace velmora::lotdetail
