#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/dialog_model.h"
#include "editing/edit_context.h"

namespace velmora::lotdetail {

inline constexpr const char* kPlanWindowCaption = "ロット詳細情報";
inline constexpr const char* kNotATimeOfDay = "時間として認識できません";
inline constexpr const char* kEndBeforeStart = "開始日時よりも前は設定できません";
inline constexpr const char* kEndUnreachable =
    "この終了時間に合う作業時間を計算できません。終了時間を見直してください";
inline constexpr const char* kAdjustQuantityQuestion =
    "変更された終了時間に合わせて手配数を変更しますか？";
inline constexpr const char* kEnterADate = "日付を正しく入力してください";
inline constexpr const char* kNumberOutOfRange = "数値が大きすぎます。正しく入力してください";
inline constexpr const char* kHideQuestion =
    "このデータをエディタ上で見えないようにします。よろしいですか？";

inline constexpr const char* kQuantityRange = "数量は0から2147483647までの整数で入力してください";
inline constexpr const char* kQuantityOfParts =
    "この計画は数量の違う手配をまとめているため、数量を変更できません";
inline constexpr const char* kSetupRange = "段取時間（分）は0から32767までの整数で入力してください";
inline constexpr const char* kCycleRange = "サイクル（秒）は0以上の数で入力してください";
inline constexpr const char* kTotalRange =
    "作業時間（分）は0から2147483647までの整数で入力してください";
inline constexpr const char* kWorkingRange =
    "稼働時間（分）は0から2147483647までの整数で入力してください";
inline constexpr const char* kFixedFlagRange = "固定区分は 0、1、2 のいずれかを入力してください";
inline constexpr const char* kWorkersRange =
    "必要人員は0から2147483647までの整数で入力してください";
inline constexpr const char* kEndOutOfRange =
    "終了日が9999/12/31を超えてしまいます。開始日時か作業時間を見直してください";

// Totals at or below this many minutes leave the end fields alone.
inline constexpr int kEndRecomputeThreshold = 30;

struct Button {
  std::string Caption;
  bool Visible = true;
  bool Enabled = true;
};

// The lot detail window of one plan entry, without the toolkit: its field texts, lists and
// buttons, and every rule that runs on them. The Qt window binds its widgets to these members
// and forwards the user's actions; a script drives the same object through DialogModel.
//
// The window is one undo step: the step opens when the window is filled and ends when it
// closes, so the quantity stored by the end-time question and the overlap pushes of the close
// undo together.
class PlanWindow : public DialogModel {
 public:
  PlanWindow(editing::EditContext& ctx, DateTime today);
  ~PlanWindow() override;
  PlanWindow(const PlanWindow&) = delete;
  PlanWindow& operator=(const PlanWindow&) = delete;

  DateTime Today() const { return today_; }

  // Fills every field from entry p and sets the buttons; `relations` are the JList lines.
  void Fill(PlanIdx p, std::vector<std::string> relations);

  // --- Fields (texts as shown; those without a tab index are display only) ---
  // The arrangement:
  std::string orderNo;     // arrangement number (手配番号), by which the window finds its entry
  std::string planNo;      // plan number (計画番号), blank without a plan item
  std::string itemCode;    // item code (品名コード); leaving it looks up modelName and process
  std::string modelName;   // model name (型番名)
  std::string process;     // process (工程); the item look-up puts the model's details here
  std::string processSeq;  // process sequence (順序)
  std::string moldNo;      // mold number (金型)
  // The schedule:
  std::string startDate;       // start date (開始), yyyy/mm/dd
  std::string startTime;       // start time, hh:nn:ss
  std::string endDate;         // end date (終了), yyyy/mm/dd
  std::string endTime;         // end time, hh:nn:ss
  std::string initialDueDate;  // initial due date (初期納期), blank for none
  std::string machine;         // machine (機械): a row code from machineChoices
  std::string destination;     // destination (指示先): a code from destinationChoices
  std::vector<std::string> machineChoices, destinationChoices;  // the drop-downs' choices
  std::string fixedFlag;  // fixed flag (固定): 0 free, 1 end fixed, 2 locked
  // The quantities:
  std::string orderQty;        // order quantity (手配数)
  std::string planQty;         // plan quantity (計画数)
  std::string receivedQty;     // received quantity (実績数)
  std::string lastResultDate;  // last result date (最終実績日), blank for none
  std::string packQty;         // pieces per pack (入数)
  std::string cavities;        // cavities (取数)
  std::string remainder;       // pieces left over after the full packs (端数)
  std::string boxCount;        // full packs (箱数)
  std::string pieceWeight;     // piece weight (重量)
  // The times:
  std::string setupMinutes;  // setup minutes (段取)
  std::string cycleSeconds;  // cycle seconds per piece (サイクル)
  std::string
      totalMinutes;  // total minutes, setup included (総時間): what the end is computed from
  std::string workingMinutes;  // working minutes (作業時間): totalMinutes less the setup
  std::string workers;         // workers (人員)
  std::string moldCycle;       // mold cycle (型サイクル)
  std::string resultMinutes;   // result minutes (実績時間)
  std::vector<std::string> NList, GList, JList;
  std::vector<int> NListSelected, GListSelected;  // selected lines, ascending
  Button finish{"変更完了"}, splitProcesses{"×工程分割"}, splitLot{"ロット分割"},
      addProcesses{"×工程追加"}, showProcesses{"×工程照会"}, changePlan{"×計画変更"},
      hide{"××削除××"};
  std::string Focus = "startDate";

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
  // The field's own action once its text is taken, then the focus moves on; false when the
  // action refused the text.
  bool KeyEnterConfirmed(const std::string& field);
  // The next text box or drop-down by tab index (0..13, wrapping); stays put when none can take
  // the focus.
  void MoveToNextField();
  void RecomputeEnd();
  // Enter in the end time box. False when the text was refused.
  bool EndTimeEntered();
  void ItemCodeLeft();
  void Finish();
  void Hide();
  // The close in any way: writes back, or refuses and keeps the window open.
  bool QueryClose();

  // The entry the window shows (the first one with orderNo's number), or nothing.
  std::optional<PlanIdx> Entry() const;
  // The entry the restructuring dialogs act on: the last one with orderNo's number.
  std::optional<PlanIdx> LastEntry() const;

  // --- After a restructuring changed entry e ---
  // The member lists (selections cleared) and whether the plan change can still be used.
  void ShowMembers(const PlanEntry& e);
  // orderQty and its split into packs.
  void ShowQuantity(const PlanEntry& e);
  // The entry's quantity split into packs (remainder and boxCount).
  void ShowPacks(const PlanEntry& e);
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
  // Whether `text` is a value field `field` may hold (a date with a stored form, a time, a
  // whole number the entry holds, a finite cycle, a fixed flag 0..2); other fields take any text.
  bool IsAcceptable(std::string_view field, const std::string& text) const;
  // Why the field's text cannot be taken, or nothing.
  std::optional<std::string> FieldProblem(std::string_view field);
  // The field's text is the window's own (filled or computed), not the user's.
  void NoteShown(std::string_view field);
  // Whether the field holds text the user typed: it differs from what the window last showed.
  bool Typed(std::string_view field);
  // Whether the field's text can be taken: typed text must be a value the lot can hold; if it
  // is not, tells why, shows the field's text as it was before and keeps the focus on it.
  bool Confirm(std::string_view field);
  // Confirm for every value field, stopping at the first refused.
  bool ConfirmAll();
  // Confirm for the fields a computation takes its values from.
  bool ConfirmInputs(std::initializer_list<const char*> fields);
  // Whether clicking into the control selects all its text.
  static bool SelectsAllOnFocus(std::string_view control);
  // The tab index of a text box or drop-down; -1 for a display-only box, which takes no tab
  // stop and is not written back, and for any other control.
  static int TabIndex(std::string_view control);

  // DialogModel
  bool Closed() const override { return closed_; }
  void Type(std::string_view control, std::string text) override;
  void Enter(std::string_view control) override;
  void Click(std::string_view control) override;
  void Select(std::string_view control, const std::vector<int>& lines) override;
  std::vector<std::pair<std::string, std::string>> Show() const override;
  void Close() override { QueryClose(); }
  std::span<const ControlAlias> Aliases() const override;
  ControlState State(std::string_view control) const override;
  std::string Focused() const override { return Focus; }
  bool FocusMoved(std::string_view control) override {
    SetFocus(control);
    return true;
  }

 private:
  std::string* TextOf(std::string_view control);
  Button* ButtonOf(std::string_view control);
  void SetEnd(DateTime end);
  void UpdateWorkingMinutes();
  // totalMinutes from setup, cycle and quantity; false (after telling the user) when they give
  // none.
  bool MinutesFromQuantity();
  // After a typed end: asks whether the lot takes the quantity its working minutes make, and
  // stores it at once when it does.
  void OfferQuantityForEnd(PlanIdx entry);
  void SetHidden(std::uint8_t hidden);
  bool WriteBack();
  void EndWindow();
  // The value fields' texts, and noting as shown (not typed) those a handler changed since.
  std::vector<std::string> ValueTexts();
  void NoteShownSince(const std::vector<std::string>& before);
  void RestoreShown(std::initializer_list<std::string> fields);

  editing::EditContext& ctx_;
  DateTime today_;
  bool closed_ = false;
  bool gestureOpen_ = false;
  std::vector<PlanIdx> relaid_;  // entries whose bars the close lays out again
  // The value fields' texts as the window last showed them: filled, computed or confirmed.
  std::map<std::string, std::string, std::less<>> shown_;
};

// Whether entry e has members that stand for its whole lot (their quantity is the entry's),
// which a new quantity then goes to.
bool LotMembers(const PlanEntry& e);
// The entry's quantity, and with it that of every member standing for the whole lot.
void SetLotQuantity(PlanEntry& e, std::int32_t quantity);

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
