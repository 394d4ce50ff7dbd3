#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "chart/chart_hit.h"
#include "chart/chart_model.h"
#include "common/dialog_model.h"
#include "common/questions.h"
#include "db/command.h"
#include "db/connection.h"
#include "editing/chart_editor.h"
#include "load/load_model.h"
#include "levelling/level_request.h"
#include "levelling/proposal.h"
#include "lotdetail/plan_search.h"
#include "plandata/clash_list.h"
#include "plandata/plan_data.h"
#include "saving/plan_save.h"
#include "session/load_lanes.h"

namespace velmora {

inline constexpr const char* kProposalShown = "自動調整の提案を適用するか取り消してください";
inline constexpr const char* kUnsavedCloseQuestion = "変更を保存せずに終了しますか？";
inline constexpr const char* kGoToWhichDate = "移動先の日付を正しく入力してください";
// Followed by the period, "yyyy/mm/dd～yyyy/mm/dd".
inline constexpr const char* kDateOutsidePeriod =
    "表示期間外の日付です。次の期間の日付を入力してください: ";

// What a host repaints after an operation.
enum class Redraw {
  Nothing,
  Overlays,  // only the caption box and the drop preview moved
  Chart,     // bars, rows or scroll ranges may have changed: everything
};

// The keys that move the chart.
enum class ChartKey { Left, Right, Up, Down, PageUp, PageDown, Home, End };

// A pointer event over the chart as a host reports it.
struct PointerEvent {
  enum class Kind { Press, Move, Release, DoubleClick };
  Kind kind = Kind::Press;
  chart::ChartHit hit;
  int button = 0;  // 1 left, 2 right, 4 middle (on moves: the buttons held)
  int shift = 0;   // 1 shift, 2 ctrl, 4 alt
  int atX = 0;     // the pointer in the host's pixels; only distances between events count
  int atY = 0;
};

// One loaded plan being edited: its tables and chart, the undo history, the unsaved state, the
// pointer between events and the dialogs open over the chart. The main window and the script
// runner are hosts: they turn events or script lines into these calls and repaint what each
// call reports. Not copyable or movable: the editor and the dialogs point into it.
class EditSession {
 public:
  // `selection` holds what the load reads (category, period, command line, plant); the
  // connection and the command of the row queries outlive the session. A session without them
  // (a chart built in memory) looks nothing up and cannot load or save. Every message and
  // question of the session and of what it runs goes to `questions`, which outlives it.
  EditSession(const PlanData& selection, db::Connection* connection, db::Command* command,
              Questions& questions);
  EditSession(const EditSession&) = delete;
  EditSession& operator=(const EditSession&) = delete;

  // Rows, calendars and plans of the selection, the chart in week mode. The host sets the
  // viewport width (Chart().Picture1.Width) first.
  void Load();
  // Loads the same selection again, dropping every edit, the undo history and open dialogs.
  void Reload();

  PlanData& Data() { return data_; }
  const PlanData& Data() const { return data_; }
  chart::ChartModel& Chart() { return chart_; }
  const chart::ChartModel& Chart() const { return chart_; }

  // --- What the host provides ---
  // Shows a dialog until it is closed (a window's nested event loop). Without it a dialog stays
  // open on the session's stack, and the host drives it through TopDialog().
  std::function<void(const std::shared_ptr<DialogModel>&)> ShowModal;
  // What lies under a point of the host's pixels: a drag resting near the rows' edges scrolls
  // them, and the drop preview is then for what lies under the pointer.
  std::function<chart::ChartHit(int x, int y)> HitAt;
  // How far the pointer may move between press and release and still make a click.
  int ClickDistance = 4;

  // --- The pointer ---
  Redraw Pointer(const PointerEvent& event);
  // The last drag-over again, while the pointer rests in the rows area (the host's timer).
  Redraw RepeatDragOver();
  // Presses bar `plan` at its left edge and releases it on `drop`: a whole drag and drop.
  Redraw DragAndDrop(PlanIdx plan, const chart::ChartHit& drop);
  bool Dragging() const { return editor_.Pointer().Dragged.has_value(); }
  // The drop under the pointer would be refused.
  bool DropRefused() const;
  // The drag rests in the rows area, where holding it near an edge scrolls the rows.
  bool WantsAutoScroll() const { return Dragging() && editor_.Pointer().RestsInRows; }

  // --- Operations ---
  // Opens the lot window of `plan`, as a right click on its bar.
  void OpenLot(PlanIdx plan);
  // Searches the plans by item code and model name; the boxes come back folded as searched.
  // One hit opens its lot window, several open the chooser.
  lotdetail::SearchBoxes Search(const std::string& itemCode, const std::string& modelName);
  // Asks before dropping unsaved edits; true when they may be dropped.
  bool Discard();
  // The save. Nothing while a save runs already (a question inside it runs the event loop).
  std::optional<saving::SaveResult> Save(saving::SaveProgress* progress = nullptr);
  bool Undo();
  bool Redo();
  void NextDisplayMode();
  void SetDisplayMode(int mode);
  // Scrolls the rows so that `row` is shown (0: the bottom, 1: the top).
  void ScrollToRow(int row);
  // The host's room for the chart: `width` twips across, `rowsHeight` twips for the rows area.
  void FitViewport(double width, double rowsHeight);
  // Scrolls the time so that the typed day (any form the date fields take) is the first shown.
  // A text that is no date, or a day outside the period, is refused with a message: false.
  bool GoToDate(const std::string& typed);
  // Wheel turns, in notches (positive: away from the user, or to the right): the rows, the
  // time, or the display mode (a notch away shows less time) keeping the moment at `pointerX`
  // (twips from the viewport's left edge) under the pointer.
  void WheelRows(int notches);
  void WheelTime(int notches);
  void WheelZoom(int notches, double pointerX);
  // The arrows move the time a step or the rows one row, the page keys a screen of rows, Home
  // and End go to the period's start and end.
  void Key(ChartKey key);
  // The clashes of the plans as they are now (kept up to date, not searched anew).
  const std::vector<Clash>& Clashes();
  // The machine load of the plans and calendars as they are now (kept up to date, not
  // computed anew).
  const load::LoadModel& MachineLoad();
  // What the load strip shows of the part of the period on screen, in buckets of the display
  // mode: the row last clicked (or every machine row with `total`); while a bar is dragged, the
  // rows it would leave and land on with their load after the drop.
  std::vector<LoadLane> LoadLanes(bool total);
  // Buckets follow the display mode: shifts in the day view, days, weeks where a day is too
  // narrow for a figure.
  load::BucketKind LoadBucketKind() const;
  // The plans with minutes in a bucket of `row` (0: every machine row), outlined as a search
  // outlines them; and the bucket's tip, listing them with their minutes there.
  void RevealBucket(int row, const load::BucketLoad& bucket);
  std::string BucketTip(int row, const load::BucketLoad& bucket);
  // Marks the captions on screen of machine rows with an overloaded day on screen, the mark
  // naming the worst day (the chart's MachineMark).
  void MarkOverloadedRows();
  // The row the load strip follows: the row of the last click on a caption or in the rows area.
  int LoadRow() const { return loadRow_; }
  // Scrolls the first plan's bar into view and outlines the plans' bars until the next press.
  void Reveal(const std::vector<PlanIdx>& plans);
  // The tip over a bar; empty over none.
  std::string TipFor(BarIdx bar) const;
  // Asks before closing over unsaved edits; true when the program may close.
  bool ConfirmClose() const;

  bool CanSave() const { return data_.Edits.CanSave(); }
  // The plans the gestures since the last call took off their machine (pushed into a fixed plan).
  std::vector<PlanIdx> TakeTakenOff() { return std::exchange(editor_.Context().TakenOff, {}); }
  // Not in the middle of a drag: the dragged bar must stay the one the drop moves.
  bool CanUndo() const { return !Dragging() && editor_.History().CanUndo(); }
  bool CanRedo() const { return !Dragging() && editor_.History().CanRedo(); }

  // The dialog the user acts on (the last opened that is not closed), or nothing.
  DialogModel* TopDialog();

  // --- Levelling ---
  // Computes a proposal for `request` (the session fills in the outside steps and the cycle
  // look-ups) and shows it: the moved plans stand in their new places as one undoable step and
  // their old places are outlined (ChartModel::ProposalOutlines), until it is applied or
  // dropped. While it is shown, edits, undo, redo, reload and save are refused with
  // kProposalShown.
  const levelling::Proposal& ProposeLevel(levelling::LevelRequest request);
  // The proposal on the chart, or nothing.
  const levelling::Proposal* ShownProposal() const;
  // Keeps the shown proposal: it stays one step that Undo takes back; the outlines go.
  void ApplyProposal();
  // Restores every plan as it was before the proposal; nothing is left to redo.
  void DropProposal();

 private:
  Redraw Press(const PointerEvent& event);
  Redraw Move(const PointerEvent& event);
  Redraw Release(const PointerEvent& event);
  Redraw DoubleClick(const PointerEvent& event);
  Redraw DragOver(const PointerEvent& event);
  // Keeps where the drag rests and what lies there, for the repeat while it rests.
  void Rest(const PointerEvent& event);
  void Drop(const chart::ChartHit& hit);
  void EndClick();
  void PreviewAt(const chart::ChartHit& hit);
  bool InRowsArea(const chart::ChartHit& hit) const;
  bool BeyondClick(const PointerEvent& event) const;
  void Opened(std::shared_ptr<DialogModel> dialog);
  void OpenPlanWindow(PlanIdx plan);
  void ForgetClosedDialogs();
  std::pair<DateTime, DateTime> TimesOnScreen() const;
  int RowAtSurfaceY(double y) const;
  std::vector<load::PlanMinutes> PlansInBucket(int row, const load::BucketLoad& bucket);
  // While a levelling proposal is shown: tells the user to apply or drop it first, and is true
  // (the caller then does nothing). The pointer's form refuses only what would start an edit.
  bool ProposalRefuses();
  bool ProposalRefuses(const PointerEvent& event);
  void OutlineOldPlaces();

  const PlanData selection_;
  PlanData data_;
  chart::ChartModel chart_;
  db::Connection* connection_;
  db::Command* command_;
  Questions& questions_;
  editing::ChartEditor editor_;
  std::vector<std::shared_ptr<DialogModel>> dialogs_;
  bool saving_ = false;
  // The last save's commit may or may not have landed: no save until a fresh load shows which.
  bool outcomeUnknown_ = false;
  ClashList clashes_;
  load::LoadModel load_;
  int loadRow_ = 0;
  levelling::Proposal proposal_;
  bool proposalShown_ = false;
};

}  // namespace velmora
