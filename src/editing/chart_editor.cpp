#include "editing/chart_editor.h"

#include <cmath>

#include "chart/bar_layout.h"
#include "chart/display_mode.h"
#include "chart/scrolling.h"
#include "common/numeric.h"
#include "common/questions.h"
#include "common/text.h"
#include "editing/drop_place.h"
#include "editing/merge_plans.h"
#include "editing/overlap_resolution.h"
#include "editing/row_code_at.h"
#include "editing/row_expansion.h"
#include "editing/stretch_bar.h"
#include "plandata/plan_end_time.h"
#include "plandata/row_lookup.h"
#include "worktime/calendar_day.h"

namespace velmora::editing {
namespace {

// GradeName's steps along a bar and its place beside the pointer, in twips.
constexpr double kCaptionStep = 600;
constexpr double kCaptionOffsetX = 750;
constexpr double kCaptionOffsetY = 400;

// The scroll zones at the top and bottom of the rows' viewport, as shares of its height.
constexpr double kTopZone = 0.04;
constexpr double kBottomZone = 0.97;

}  // namespace

ChartEditor::ChartEditor(PlanData& data, chart::ChartModel& model, db::Connection* connection,
                         Questions& questions)
    : ctx_{data, model, connection, history_, questions, {}} {}

void ChartEditor::PlanBar_MouseDown(BarIdx index, int button, int /*shift*/, double x, double y) {
  chart::BarLabel& bar = ctx_.model.Bar(index);
  pointer_.GrabOffsetX = x;
  pointer_.GrabRowCode = RowCodeAt(ctx_.data, bar.Top + y);
  if (button == kRightButton) {
    RightButtonDown(index);
    return;
  }
  const PlanIdx p = chart::FindPlanByBar(ctx_.data, index);
  if (p.value == 0 || ctx_.data.Plan(p).IsLocked()) return;
  bar.BackColor = kDragColor;
  pointer_.Dragged = index;
  pointer_.AutoScrollTicks = 0;
  ctx_.model.GradeName.Visible = false;
  previewer_.Reset();
}

void ChartEditor::PlanBar_MouseMove(BarIdx index, int /*button*/, int /*shift*/, double x,
                                    double /*y*/) {
  const chart::BarLabel& bar = ctx_.model.Bar(index);
  chart::CaptionBox& box = ctx_.model.GradeName;
  box.Container = bar.Container;
  box.Left = std::trunc(x / kCaptionStep) * kCaptionStep + bar.Left + kCaptionOffsetX;
  box.Top = bar.Top + bar.Height + kCaptionOffsetY;
  box.Visible = true;
  box.Of = index;
  box.Show(bar.Caption);
}

void ChartEditor::PlatForm_MouseMove() {
  ctx_.model.GradeName.Visible = false;
}

bool ChartEditor::PlatForm_DragOver(double y) {
  chart::ChartModel& model = ctx_.model;
  const double viewport = model.RowsAreaHeight();
  bool moved = false;
  auto step = [&](int by) {
    if (++pointer_.AutoScrollTicks < 2) return;
    chart::SetKScrollValue(ctx_.data, model, model.KScroll.Value + by);
    pointer_.AutoScrollTicks = 0;
    moved = true;
  };
  if (y < viewport * kTopZone - model.PlatForm.Top && model.KScroll.Value > 0) step(-1);
  if (y > viewport * kBottomZone - model.PlatForm.Top && model.KScroll.Value < model.KScroll.Max) {
    step(1);
  }
  return moved;
}

void ChartEditor::PlatForm_MouseDown(int button, int /*shift*/, double x, double y) {
  if (button != kRightButton) return;
  const PlanData& data = ctx_.data;
  const std::string code = RowCodeAt(data, y);
  if (IsBlank(code) || CharCount(code) == 1) return;
  const int row = RowOfCode(data, code);
  if (row > data.MachineRowCount) return;

  const chart::TimeScale& scale = ctx_.model.Scale;
  if (scale.HourWidth <= 0) return;
  const DateTime t = scale.TimeAt(x, chart::TimeKind::Rows);
  DateTime day = t.DatePart();
  if (t.TimePart() < DateTime::FromTime(8, 0, 0)) day = day.AddDays(-1);
  const std::int64_t dayNum = CalendarDayOf(data.PeriodStartDate(), day);
  // Days outside the calendar have nothing to show or store.
  if (dayNum < 0 || dayNum >= data.Calendars.Days()) return;

  auto window = std::make_shared<LinePlanWindow>(ctx_);
  FillLinePlanWindow(data, *window, row, static_cast<int>(dayNum));
  if (ShowLinePlanWindow) ShowLinePlanWindow(window);
}

void ChartEditor::FillBox_MouseDown(int index, int button, int shift, double x, double y) {
  const chart::FillBoxLabel& box = ctx_.model.FillBox.at(static_cast<std::size_t>(index));
  PlatForm_MouseDown(button, shift, box.Left + x, box.Top + y);
}

void ChartEditor::MachineName_DblClick(int index) {
  GestureScope gesture(ctx_);
  ExpandRow(ctx_, index + ctx_.model.KScroll.Value);
}

void ChartEditor::MachineName_MouseDown(int index, int button) {
  if (button == kRightButton) MachineName_DblClick(index);
}

void ChartEditor::RightButtonDown(BarIdx index) {
  const PlanIdx p = chart::FindPlanByBar(ctx_.data, index);
  if (p.value == 0) return;
  chart::BarLabel& bar = ctx_.model.Bar(index);
  bar.BackColor = kOpenedColor;
  chart::PlanBar_Change(ctx_.data, ctx_.model, index);
  if (OpenPlan) OpenPlan(p);
}

void ChartEditor::PlatForm_DragDrop(BarIdx source, double x, double y) {
  EndDrag();
  std::string code = RowCodeAt(ctx_.data, y);
  const PlanIdx p = chart::FindPlanByBar(ctx_.data, source);
  if (p.value == 0) return;
  if (ctx_.data.Plan(p).IsEndFixed() && IsBlank(code)) {
    RestoreBar(source);
    ctx_.questions.Tell({kFixedEndToUnplanned});
    return;
  }
  GestureScope gesture(ctx_);
  FollowMove_PlanBar(source, x, code, pointer_.GrabRowCode);
  if (pointer_.GrabRowCode != code) StretchBar(ctx_, source, code);
  Insert_PlanBarStep2(ctx_, source, code, "");
}

void ChartEditor::FillBox_DragDrop(int index, BarIdx source, double x, double y) {
  const chart::FillBoxLabel& box = ctx_.model.FillBox.at(static_cast<std::size_t>(index));
  PlatForm_DragDrop(source, box.Left + x, box.Top + y);
}

void ChartEditor::PlanBar_DragDrop(BarIdx index, BarIdx source, double x, double y) {
  EndDrag();  // the preview goes before any question is asked
  const chart::BarLabel& target = ctx_.model.Bar(index);
  const double atX = target.Left + x;
  const double atY = target.Top + y;
  if (index == source) {
    PlatForm_DragDrop(source, atX, atY);
    return;
  }
  const PlanIdx s = chart::FindPlanByBar(ctx_.data, source);
  const PlanIdx t = chart::FindPlanByBar(ctx_.data, index);
  if (s.value == 0 || t.value == 0) {
    PlatForm_DragDrop(source, atX, atY);
    return;
  }
  const PlanEntry& from = ctx_.data.Plan(s);
  const PlanEntry& into = ctx_.data.Plan(t);
  if (from.PlanNoText != into.PlanNoText || from.ReceivedQty != 0 || into.ReceivedQty != 0 ||
      ctx_.questions.Ask({kMergeQuestion}) != Answer::Yes) {
    PlatForm_DragDrop(source, atX, atY);
    return;
  }
  GestureScope gesture(ctx_);
  MergePlans(ctx_, s, t);
}

void ChartEditor::GradeName_DragDrop() {
  CancelDrag();
}

void ChartEditor::CancelDrag() {
  const std::optional<BarIdx> dragged = pointer_.Dragged;
  EndDrag();
  if (dragged) RestoreBar(*dragged);
}

void ChartEditor::FollowMove_PlanBar(BarIdx barIndex, double x, std::string& workCenter,
                                     const std::string& orgWC) {
  PlanData& data = ctx_.data;
  const PlanIdx p = chart::FindPlanByBar(data, barIndex);
  if (p.value == 0) return;
  // The plan's new start comes from the pointer, as the preview's does; the bar follows the plan.
  const DropPlace place = PlaceOfDrop(data, ctx_.model.Scale, x, pointer_.GrabOffsetX, workCenter);
  if (data.Plan(p).IsEndFixed() && place.left > ctx_.model.Bar(barIndex).Left) {
    ctx_.questions.Tell({kFixedEndMovedLater});
    workCenter = orgWC;
  } else {
    ctx_.Edit(p);
    StartPlanAt(data, p, place.start);
  }
  // The plan takes the new row's codes only after the questions of the drop: until then its bar
  // stands on the row it was dropped on, not over its old row's neighbours.
  const std::optional<double> landed =
      workCenter != orgWC ? chart::RowTopOf(data, workCenter, "") : std::nullopt;
  if (landed) {
    chart::LayoutBarOnRow(data, ctx_.model, p, *landed);
  } else {
    chart::LayoutBar(data, ctx_.model, p, 0);
  }
}

void ChartEditor::UpdatePreview(double x, double y) {
  previewer_.Update(ctx_, pointer_, x, y);
}

void ChartEditor::ClearPreview() {
  ctx_.model.Preview.Visible = false;
  ctx_.model.Preview.Marked.clear();
}

void ChartEditor::EndDrag() {
  pointer_.Dragged.reset();
  ClearPreview();
}

// The pressed bar was darkened when the drag began; a drag that moves nothing lays it out again
// as it stands, in its own colours, on its surface and in its order.
void ChartEditor::RestoreBar(BarIdx bar) {
  const PlanIdx p = chart::FindPlanByBar(ctx_.data, bar);
  if (p.value != 0) chart::LayoutBar(ctx_.data, ctx_.model, p, 1);
}

bool ChartEditor::Undo() {
  if (!history_.CanUndo()) return false;
  ShowRestored(history_.Undo(ctx_.data));
  return true;
}

bool ChartEditor::Redo() {
  if (!history_.CanRedo()) return false;
  ShowRestored(history_.Redo(ctx_.data));
  return true;
}

void ChartEditor::ShowRestored(const Restored& restored) {
  if (restored.calendars) {
    chart::Disp_Gantt(ctx_.data, ctx_.model);
    return;
  }
  for (PlanIdx i : restored.plans) {
    const PlanEntry& p = ctx_.data.Plan(i);
    if (p.InUse > 0) {
      chart::LayoutBar(ctx_.data, ctx_.model, i, 0);
    } else {
      ctx_.model.Bar(p.Bar()).Visible = false;
      ctx_.model.JBar(p.Bar()).Visible = false;
    }
  }
}

}  // namespace velmora::editing
