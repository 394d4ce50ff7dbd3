#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/datetime.h"
#include "common/dialog_model.h"
#include "common/questions.h"
#include "levelling/level_request.h"
#include "plandata/plan_data.h"

namespace velmora {

inline constexpr const char* kLevelCaption = "自動調整";
inline constexpr const char* kLevelBadFirstDay = "開始日を正しく入力してください";
inline constexpr const char* kLevelBadLastDay = "終了日を正しく入力してください";
inline constexpr const char* kLevelEndBeforeStart =
    "終了日は開始日と同じ日かそれより後にしてください";
inline constexpr const char* kLevelBadBudget = "時間は 60 秒までの正の数で入力してください";
inline constexpr const char* kLevelNoMachine = "調整する機械を選んでください";
inline constexpr double kLevelMaxBudgetSeconds = 60;

// The levelling dialog: which machine rows the leveller may rearrange (every one ticked at
// first), the first and last day of the plans it may move, whether a plan may change machine
// and how many seconds it may search. "計算" checks the fields, hands the request to Compute
// and closes; a field it refuses keeps the dialog open with the focus on it.
//
// Controls: machines (a tick per machine row), allMachines, noMachines, firstDay, lastDay,
// otherMachines ("1" ticked, "0" not; a click toggles it), budget, compute, close.
class LevelWindow : public DialogModel {
 public:
  // Dates are read as the date box above the chart reads them: within the loaded period.
  LevelWindow(const PlanData& data, DateTime today, Questions& questions);

  // What 計算 does with a request that passed the checks (the host's wait cursor and the
  // session's proposal); nothing set: the request is only kept.
  std::function<void(levelling::LevelRequest)> Compute;
  // The request 計算 last handed on, once the dialog closed that way.
  const std::optional<levelling::LevelRequest>& Computed() const { return computed_; }

  // DialogModel
  bool Closed() const override { return closed_; }
  void Type(std::string_view control, std::string text) override;
  void Enter(std::string_view control) override;
  void Click(std::string_view control) override;
  void Check(std::string_view control, int line) override;
  std::vector<std::pair<std::string, std::string>> Show() const override;
  void Close() override { closed_ = true; }
  ControlState State(std::string_view control) const override;
  std::string Focused() const override { return focus_; }

 private:
  // The request the fields describe, or nothing after telling the user what to fix.
  std::optional<levelling::LevelRequest> Read();
  std::optional<DateTime> ReadDay(std::string& text, const char* refusal, const char* control);
  std::string* TextBox(std::string_view control);

  const PlanData& data_;
  Questions& questions_;
  std::vector<int> rows_;  // the machine rows, one line each
  std::vector<std::string> captions_;
  std::vector<bool> ticked_;
  std::string firstDay_;
  std::string lastDay_;
  bool otherMachines_ = false;
  std::string budget_ = "2";
  std::string focus_ = "firstDay";
  std::optional<levelling::LevelRequest> computed_;
  bool closed_ = false;
};

}  // namespace velmora
