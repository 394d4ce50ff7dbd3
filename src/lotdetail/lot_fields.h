#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/dialog_model.h"
#include "editing/edit_context.h"

namespace velmora::lotdetail {

struct Button {
  std::string Caption;
  bool Visible = true;
  bool Enabled = true;
};

// What the lot detail window shows: the texts of its boxes and drop-downs, its lists, its buttons
// and the focus. Every box and drop-down is a control of the same name.
struct LotFields {
  // The arrangement:
  std::string orderNo;     // 手配番号: the window finds its entry by it
  std::string planNo;      // 計画番号: blank without a plan item
  std::string itemCode;    // 品名コード: leaving it looks up modelName and process
  std::string modelName;   // 型番名
  std::string process;     // 工程: the item look-up puts the model's details here
  std::string processSeq;  // 順序
  std::string moldNo;      // 金型
  // The schedule, dates as yyyy/mm/dd and times as hh:nn:ss:
  std::string startDate, startTime;  // 開始
  std::string endDate, endTime;      // 終了
  std::string initialDueDate;        // 初期納期: blank for none
  std::string machine;               // 機械: a row code from machineChoices
  std::string destination;           // 指示先: a code from destinationChoices
  std::vector<std::string> machineChoices, destinationChoices;
  std::string fixedFlag;  // 固定: 0 free, 1 end fixed, 2 locked
  // The quantities:
  std::string orderQty;             // 手配数
  std::string planQty;              // 計画数
  std::string receivedQty;          // 実績数
  std::string lastResultDate;       // 最終実績日: blank for none
  std::string packQty;              // 入数
  std::string cavities;             // 取数
  std::string remainder, boxCount;  // 端数/箱数: orderQty over the pack quantity
  std::string pieceWeight;          // 重量
  // The times:
  std::string setupMinutes;    // 段取
  std::string cycleSeconds;    // サイクル, per piece
  std::string totalMinutes;    // 総時間, setup included: what the end is computed from
  std::string workingMinutes;  // 作業時間: totalMinutes less the setup
  std::string workers;         // 人員
  std::string moldCycle;       // 型サイクル
  std::string resultMinutes;   // 実績時間
  std::vector<std::string> NList, GList, JList;   // members A and B, relations
  std::vector<int> NListSelected, GListSelected;  // selected lines, ascending
  Button finish{"変更完了"}, splitProcesses{"×工程分割"}, splitLot{"ロット分割"},
      addProcesses{"×工程追加"}, showProcesses{"×工程照会"}, changePlan{"×計画変更"},
      hide{"××削除××"};
  std::string Focus = "startDate";

  // Every field, list and button from entry e (the relation lines apart).
  void ShowEntry(const PlanData& data, const PlanEntry& e);
  // The member lists (selections cleared) and whether the plan change can still be used.
  void ShowMembers(const PlanEntry& e);
  // The entry's quantity in full packs and the pieces left over.
  void ShowPacks(const PlanEntry& e);
  // The lot's number, flags and per-lot values.
  void ShowLotValues(const PlanEntry& e);

  // A box or drop-down by its control name; nothing for another control.
  std::string* TextOf(std::string_view control);
  const std::string* TextOf(std::string_view control) const;
  Button* ButtonOf(std::string_view control);
  // Every box, drop-down, list line and button as the window shows them: (control, text).
  std::vector<std::pair<std::string, std::string>> Listing() const;
  ControlState StateOf(std::string_view control) const;

  // Whether clicking into the control selects all its text.
  static bool SelectsAllOnFocus(std::string_view control);
  // The tab index of a text box or drop-down; -1 for a display-only box, which takes no tab
  // stop and is not written back, and for any other control.
  static int TabIndex(std::string_view control);
  // The box or drop-down after the control by tab index (0..13, wrapping); "" when none takes
  // the focus.
  static std::string NextInTabOrder(std::string_view control);
};

// A quantity in full packs and the pieces left over, as the window's "端数/箱数" shows it. No
// pack quantity leaves every piece over and no packs.
struct Packs {
  std::int64_t remainder = 0;
  std::int64_t boxes = 0;
};
Packs PacksOf(std::int32_t quantity, std::int32_t packQty);

// A number as the window shows it: whole numbers without a decimal point.
std::string NumberText(double value);
// A member list line: number, process, model and quantity.
std::string MemberLine(const Member& m);
// Whether the plan-change button may be used for entry e.
bool PlanChangeAvailable(const PlanEntry& e);

}  // namespace velmora::lotdetail
