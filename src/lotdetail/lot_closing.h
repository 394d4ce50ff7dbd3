#pragma once

#include <cstdint>
#include <vector>

#include "editing/edit_context.h"
#include "lotdetail/lot_fields.h"
#include "lotdetail/lot_rules.h"

namespace velmora::lotdetail {

inline constexpr const char* kEndOutOfRange =
    "終了日が9999/12/31を超えてしまいます。開始日時か作業時間を見直してください";

// What closing the lot window does: the lot shown or hidden, the fields written back to its entry,
// the bars laid out again, and the window's undo step ended.
//
// The window is one undo step: the step opens when the window is filled and ends when it
// closes, so the quantity stored by the end-time question and the overlap pushes of the close
// undo together.
class LotClosing {
 public:
  LotClosing(editing::EditContext& ctx, LotFields& fields, LotRules& rules)
      : ctx_(ctx), fields_(fields), rules_(rules) {}
  ~LotClosing();
  LotClosing(const LotClosing&) = delete;
  LotClosing& operator=(const LotClosing&) = delete;

  // The window shows entry p: the undo step opens (once), and the close lays p's bar out again.
  void Opened(PlanIdx p);
  // Every entry of the lot shown (0) or hidden (1), each marked for the save.
  void SetHidden(std::uint8_t hidden);
  // Writes the fields back and ends the window, or refuses (the field tells why) and keeps it
  // open.
  bool Close();
  bool Closed() const { return closed_; }

 private:
  bool WriteBack();
  void End();

  editing::EditContext& ctx_;
  LotFields& fields_;
  LotRules& rules_;
  bool closed_ = false;
  bool gestureOpen_ = false;
  std::vector<PlanIdx> relaid_;  // entries whose bars the close lays out again
};

}  // namespace velmora::lotdetail
