#pragma once

#include <string>

#include "chart/chart_model.h"
#include "common/datetime.h"
#include "common/questions.h"
#include "db/connection.h"
#include "plandata/plan_data.h"

namespace velmora::saving {

inline constexpr const char* kMoldConflictQuestion = "金型が重複します。\rそのまま保存しますか？";
inline constexpr const char* kMoldConflictTitle = "保存の確認";
inline constexpr const char* kSaveInterrupted = "保存を中断しました。";
inline constexpr const char* kNoNumbering = "手配番号を採番できませんでした";
inline constexpr const char* kRequirementCopyFailed =
    "所要量情報の保持に失敗しました(他の更新は問題ありません)";
inline constexpr const char* kCycleRowFailed =
    "ライン別のサイクル情報の保持に失敗しました(他の更新は問題ありません)";
inline constexpr const char* kSaveFailed = "保存できませんでした。何も書き込んでいません。";
inline constexpr const char* kFileMoved =
    "データベースのファイルが、読み込んだ後に移動、削除または置き換えられています。"
    "開き直してから、もう一度やり直してください。";
inline constexpr const char* kOthersKeepChanging =
    "他の利用者が同じ手配を変更し続けているため、保存できませんでした。しばらくしてから、もう一度"
    "やり直してください。";
// How often the save asks about other programs' changes before it gives up.
inline constexpr int kMaxOverwriteQuestions = 3;
// How often a pass the server rolled back for meeting another saver's is run again.
inline constexpr int kMaxConflictRetries = 5;
inline constexpr const char* kOutcomeUnknownRefusal =
    "前回の保存が確定したかどうか分からないため、保存できません。最新の状態を読み込み直してから、"
    "もう一度やり直してください。";
inline constexpr const char* kSaversKeepMeeting =
    "他の利用者の保存と重なったため、保存できませんでした。もう一度やり直してください。";

// Follows the walk over the entries: the window shows a small progress window, a script nothing.
class SaveProgress {
 public:
  virtual ~SaveProgress() = default;
  virtual void Start(int maximum) = 0;
  // Entry i of n; `repaint` every tenth entry.
  virtual void Step(int i, int n, bool repaint) = 0;
  virtual void Finish() = 0;
};

// What the save needs besides the tables: the user's account name (for the completion stamps)
// and the moment of the save.
struct SaveContext {
  PlanData& data;
  chart::ChartModel& model;
  db::Connection& connection;
  Questions& questions;  // conflicts, others' changes and failures are told or asked here
  std::string userName;
  DateTime now;
  SaveProgress* progress = nullptr;
  // Whether rows are compared with what this copy read before they are written over; off only
  // to measure what the comparison costs.
  bool checkOthers = true;
};

enum class SaveResult {
  Complete,     // every changed entry and edited calendar day is written
  Interrupted,  // a mold conflict answered No: the entries before it and the calendars are
                // written, the rest stays changed
  Declined,     // the user would not write over another program's changes: nothing is written
                // and every edit stays
  Failed,       // nothing of this save is written and the tables are as before: a database
                // failure, or a refusal the message explains (numbering, calendar, file)
  Unknown,      // the connection went during the commit and the server could not tell whether it
                // took it: the tables are as before the save, and only a fresh load shows what
                // is stored, so no save may follow until then
};

// Writes every changed entry's members and every edited calendar day back to the database, in
// one short write transaction after every question is answered, and lays out again the bars of
// the entries it wrote (they are no longer unsaved): the mold conflicts, then
// whether to write over rows other programs changed since this copy read them (asked again,
// a bounded number of times, when more change meanwhile). Messages and questions go through
// ctx.questions.
SaveResult SavePlan(SaveContext& ctx);

// Whether any entry still waits for a save.
bool AnyChanged(const PlanData& data);

// The save button after a save: disabled when everything was written; enabled again (outside
// the inquiry mode) while entries still wait, so an interrupted save never lets the close or the
// discard drop them without a question; as before when nothing was written.
void AfterSave(PlanData& data, SaveResult result);

}  // namespace velmora::saving
