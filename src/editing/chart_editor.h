#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "chart/chart_hit.h"
#include "editing/day_calendar.h"
#include "editing/drop_preview.h"
#include "editing/edit_context.h"

namespace velmora::editing {

inline constexpr const char* kFixedEndToUnplanned =
    "終了時間を固定されているので、予定に戻す事はできません";
inline constexpr const char* kFixedEndMovedLater =
    "終了時間を固定されているので、計画を後ろにずらす事はできません";

inline constexpr chart::Color kDragColor = 4210752;    // dark grey
inline constexpr chart::Color kOpenedColor = 8421376;  // teal

// Buttons as the pointer events number them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;

// The drag, kept between pointer events: the one place that holds it.
struct PointerState {
  double GrabOffsetX = 0;   // X inside the pressed bar
  std::string GrabRowCode;  // the row the pressed bar comes from
  std::int16_t AutoScrollTicks = 0;
  std::optional<BarIdx> Dragged;  // the bar being dragged
  // In the host's pixels (only distances between events count): where the press was and where
  // the pointer last rested, with what lay under it then.
  int PressX = 0;
  int PressY = 0;
  int LastX = 0;
  int LastY = 0;
  int LastShift = 0;
  chart::ChartHit LastHit;
  bool Moved = false;        // the pointer left the click distance: a drag, not a click
  bool RestsInRows = false;  // it rests in the rows area, where an edge scrolls the rows
};

// The chart's gestures: the window turns mouse events into these calls, with points in twips
// relative to the control that received them, and shows the model afterwards. Each gesture that
// changes the plan is one undo step.
class ChartEditor {
 public:
  ChartEditor(PlanData& data, chart::ChartModel& model, db::Connection* connection,
              Questions& questions);

  // Opens the lot detail window of a plan (filled by that window; nothing before it exists).
  std::function<void(PlanIdx)> OpenPlan;
  // Shows the day calendar modally. The window keeps it until it is closed.
  std::function<void(std::shared_ptr<LinePlanWindow>)> ShowLinePlanWindow;

  PointerState& Pointer() { return pointer_; }
  const PointerState& Pointer() const { return pointer_; }
  EditContext& Context() { return ctx_; }
  UndoHistory& History() { return history_; }
  const UndoHistory& History() const { return history_; }

  // --- Pointer ---
  void PlanBar_MouseDown(BarIdx index, int button, int shift, double x, double y);
  void PlanBar_MouseMove(BarIdx index, int button, int shift, double x, double y);
  void PlanBar_DblClick(BarIdx index) { RightButtonDown(index); }
  void PlatForm_MouseMove();
  // While a bar is dragged over the rows: scrolls them near the top and bottom edges. True when
  // the rows moved.
  bool PlatForm_DragOver(double y);
  void PlatForm_MouseDown(int button, int shift, double x, double y);
  void FillBox_MouseDown(int index, int button, int shift, double x, double y);
  void MachineName_DblClick(int index);
  void MachineName_MouseDown(int index, int button);
  void RightButtonDown(BarIdx index);

  // --- Drops of the dragged bar `source` ---
  void PlatForm_DragDrop(BarIdx source, double x, double y);
  void PlatForm2_DragDrop(BarIdx source, double x, double y) { PlatForm_DragDrop(source, x, y); }
  void PlatForm3_DragDrop(BarIdx source, double x, double y) { PlatForm2_DragDrop(source, x, y); }
  void FillBox_DragDrop(int index, BarIdx source, double x, double y);
  void PlanBar_DragDrop(BarIdx index, BarIdx source, double x, double y);
  void GradeName_DragDrop();
  // The drag ended without a drop handler under the pointer: the bar keeps its place and takes
  // back its colours.
  void CancelDrag();

  // --- Window operations used by the drops ---
  void FollowMove_PlanBar(BarIdx bar, double x, std::string& workCenter, const std::string& orgWC);

  // The drop preview for the pointer at (x, y), in the coordinates a drop there would get.
  void UpdatePreview(double x, double y);
  // No drop is shown any more.
  void ClearPreview();

  bool Undo();
  bool Redo();

 private:
  void EndDrag();
  void RestoreBar(BarIdx bar);
  void ShowRestored(const Restored& restored);

  UndoHistory history_;
  EditContext ctx_;
  PointerState pointer_;
  DropPreviewer previewer_;
};

}  // namespace velmora::editing
