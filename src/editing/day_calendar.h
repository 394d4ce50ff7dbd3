#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/dialog_model.h"
#include "editing/edit_context.h"

namespace velmora::editing {

inline constexpr const char* kLinePlanCaption = "稼働時間変更";
inline constexpr const char* kNotATime = "時間と認識できません";
inline constexpr const char* kEnterATime = "認識できる時間を入力してください";
inline constexpr const char* kMinutesTooLarge =
    "稼働時間（分）が範囲を超えています。0 から 32767 までの数を入力してください";
inline constexpr int kEnterKey = 13;

// A time of day as typed: hours and minutes, optionally seconds, separated by colons, each one
// or two digits; blanks around it ignored.
std::optional<DateTime> ParseTypedTime(std::string_view text);

// LinePlanWindow: the shift windows and working minutes of one machine row on one day. The four
// windows are the time boxes PlanTime(0..7) (start and end in turn); PlanSum the minutes.
class LinePlanWindow : public DialogModel {
 public:
  explicit LinePlanWindow(EditContext& ctx) : ctx_(ctx) {}

  std::array<std::string, 8> PlanTime;
  std::string PlanSum;
  std::int16_t MachineNo = 0;  // row
  std::int16_t DateNum = 0;    // day index
  std::string Focus = "PlanTime(0)";

  // Enter in a time box: a time is written in full and the focus moves on; other text is refused.
  void PlanTime_KeyDown(int index, int keyCode);
  // "変更": stores the day when every box holds a time or nothing and the calendar table can
  // hold the day as shown (see CalendarRowsOf), redraws the chart, closes.
  void StoreDay();

  // DialogModel
  bool Closed() const override { return closed_; }
  void Type(std::string_view control, std::string text) override;
  void Enter(std::string_view control) override;
  void Click(std::string_view control) override;
  std::vector<std::pair<std::string, std::string>> Show() const override;
  void Close() override { closed_ = true; }
  std::span<const ControlAlias> Aliases() const override;
  ControlState State(std::string_view control) const override;
  std::string Focused() const override { return Focus; }
  // Only a box keeps the model's focus: a refused change goes back to the box the user was in.
  bool FocusMoved(std::string_view control) override;

 private:
  std::string* TextOf(std::string_view control);

  EditContext& ctx_;
  bool closed_ = false;
};

// Fills a day calendar for machine row `row` and day index `day` as the right press opens it:
// each shift pair that is not empty shows its two times.
void FillLinePlanWindow(const PlanData& data, LinePlanWindow& window, int row, int day);

}  // namespace velmora::editing
