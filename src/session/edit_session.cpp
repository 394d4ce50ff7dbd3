#include "session/edit_session.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "chart/bar_layout.h"
#include "chart/display_mode.h"
#include "chart/scrolling.h"
#include "chart/viewport_fit.h"
#include "common/date_text.h"
#include "common/normalize_date.h"
#include "lotdetail/lot_opening.h"
#include "startup/local_today.h"
#include "startup/main_form_load.h"

namespace velmora {

using Target = chart::ChartHit::Target;

namespace {

bool IsBar(Target target) {
  return target == Target::PlanBar || target == Target::PlanJBar;
}

// The bar under the pointer; its progress overlay stands for it.
BarIdx BarOf(const chart::ChartHit& hit) {
  return BarIdx{hit.index};
}

}  // namespace

EditSession::EditSession(const PlanData& selection, db::Connection* connection,
                         db::Command* command, Questions& questions)
    : selection_(selection),
      data_(selection),
      connection_(connection),
      command_(command),
      questions_(questions),
      editor_(data_, chart_, connection, questions) {
  chart_.FaultsTo = &questions_;
  editor_.OpenPlan = [this](PlanIdx plan) { OpenPlanWindow(plan); };
  editor_.ShowLinePlanWindow = [this](std::shared_ptr<editing::LinePlanWindow> window) {
    Opened(std::move(window));
  };
}

void EditSession::Load() {
  if (command_ == nullptr) throw std::logic_error("a session without a database loads nothing");
  LoadMainForm(data_, chart_, *command_, questions_);
}

void EditSession::Reload() {
  if (ProposalRefuses()) return;
  dialogs_.clear();
  editor_.History().Clear();
  editor_.Pointer() = editing::PointerState{};
  // The viewport keeps the size its host gave it.
  const chart::Viewport picture = chart_.Picture1;
  const int rows = chart_.VisibleRows;
  chart_ = chart::ChartModel{};
  chart_.FaultsTo = &questions_;
  chart_.SetVisibleRows(rows);
  chart_.Picture1 = picture;
  data_ = selection_;
  outcomeUnknown_ = false;  // the fresh load shows what the last save left
  Load();
}

// --- The pointer ---

Redraw EditSession::Pointer(const PointerEvent& event) {
  ForgetClosedDialogs();
  switch (event.kind) {
    case PointerEvent::Kind::Press: {
      if (ProposalRefuses(event)) return Redraw::Nothing;
      // What a list or a search pointed at has been found: its outline goes.
      const bool outlined = !chart_.Highlighted.empty();
      chart_.Highlighted.clear();
      const Redraw redraw = Press(event);
      return outlined && redraw == Redraw::Nothing ? Redraw::Overlays : redraw;
    }
    case PointerEvent::Kind::Move:
      return Move(event);
    case PointerEvent::Kind::Release:
      return Release(event);
    case PointerEvent::Kind::DoubleClick:
      return ProposalRefuses(event) ? Redraw::Nothing : DoubleClick(event);
  }
  return Redraw::Nothing;
}

Redraw EditSession::Press(const PointerEvent& event) {
  if (Dragging()) {
    // Another button during a drag does nothing; the left one again means its release was lost.
    if (event.button != editing::kLeftButton) return Redraw::Nothing;
    editor_.CancelDrag();
  }
  const chart::ChartHit& hit = event.hit;
  // The load strip follows the row last clicked.
  if (hit.target == Target::MachineName) {
    if (const int row = chart_.KScroll.Value + hit.index; row >= 1 && row <= data_.RowCount) {
      loadRow_ = row;
    }
  } else if (hit.target == Target::PlatForm) {
    if (const int row = RowAtSurfaceY(hit.y)) loadRow_ = row;
  } else if (hit.target == Target::PlanBar || hit.target == Target::PlanJBar) {
    const chart::BarLabel& bar = chart_.Bar(BarOf(hit));
    if (bar.Container == chart::Surface::PlatForm) {
      if (const int row = RowAtSurfaceY(bar.Top + bar.Height / 2)) loadRow_ = row;
    }
  }
  switch (hit.target) {
    case Target::PlanBar:
    case Target::PlanJBar: {
      const chart::BarLabel& bar = chart_.Bar(BarOf(hit));
      editor_.PlanBar_MouseDown(BarOf(hit), event.button, event.shift, hit.x - bar.Left,
                                hit.y - bar.Top);
      break;
    }
    case Target::PlatForm:
      editor_.PlatForm_MouseDown(event.button, event.shift, hit.x, hit.y);
      break;
    case Target::MachineName:
      editor_.MachineName_MouseDown(hit.index, event.button);
      break;
    default:
      break;
  }
  if (Dragging()) {
    editing::PointerState& drag = editor_.Pointer();
    drag.PressX = event.atX;
    drag.PressY = event.atY;
    Rest(event);
    drag.Moved = false;
    drag.RestsInRows = false;
  }
  return Redraw::Chart;
}

bool EditSession::BeyondClick(const PointerEvent& event) const {
  const editing::PointerState& drag = editor_.Pointer();
  return std::abs(event.atX - drag.PressX) + std::abs(event.atY - drag.PressY) >= ClickDistance;
}

Redraw EditSession::Move(const PointerEvent& event) {
  if (Dragging()) {
    if ((event.button & editing::kLeftButton) == 0) {
      // The release went elsewhere (another window took the pointer): the drag is over.
      editor_.CancelDrag();
      return Redraw::Chart;
    }
    if (!editor_.Pointer().Moved) {
      // Within the click distance the press may still be a click: no preview yet.
      if (!BeyondClick(event)) return Redraw::Nothing;
      editor_.Pointer().Moved = true;
    }
    return DragOver(event);
  }
  const chart::ChartHit& hit = event.hit;
  if (IsBar(hit.target)) {
    const chart::BarLabel& bar = chart_.Bar(BarOf(hit));
    editor_.PlanBar_MouseMove(BarOf(hit), event.button, event.shift, hit.x - bar.Left,
                              hit.y - bar.Top);
  } else if (hit.target == Target::PlatForm) {
    editor_.PlatForm_MouseMove();
  }
  return Redraw::Overlays;
}

void EditSession::Rest(const PointerEvent& event) {
  editing::PointerState& drag = editor_.Pointer();
  drag.LastX = event.atX;
  drag.LastY = event.atY;
  drag.LastShift = event.shift;
  drag.LastHit = event.hit;
}

Redraw EditSession::DragOver(const PointerEvent& event) {
  Rest(event);
  chart::ChartHit hit = event.hit;
  Redraw redraw = Redraw::Overlays;
  if (hit.target == Target::PlatForm && editor_.PlatForm_DragOver(hit.y)) {
    // The rows moved under the pointer: the preview is for what lies there now.
    if (HitAt) hit = HitAt(event.atX, event.atY);
    redraw = Redraw::Chart;
  }
  PreviewAt(hit);
  editor_.Pointer().RestsInRows = InRowsArea(hit);
  return redraw;
}

Redraw EditSession::RepeatDragOver() {
  if (!Dragging() || !editor_.Pointer().Moved) return Redraw::Nothing;
  const editing::PointerState& drag = editor_.Pointer();
  PointerEvent again;
  again.kind = PointerEvent::Kind::Move;
  again.button = editing::kLeftButton;
  again.shift = drag.LastShift;
  again.atX = drag.LastX;
  again.atY = drag.LastY;
  again.hit = HitAt ? HitAt(again.atX, again.atY) : drag.LastHit;
  return DragOver(again);
}

Redraw EditSession::Release(const PointerEvent& event) {
  if (!Dragging() || event.button != editing::kLeftButton) return Redraw::Nothing;
  editor_.Pointer().RestsInRows = false;
  if (editor_.Pointer().Moved || BeyondClick(event)) {
    // The preview goes before the drop: a question it may ask shows the chart meanwhile.
    editor_.ClearPreview();
    Drop(event.hit);
  } else {
    EndClick();
  }
  return Redraw::Chart;
}

void EditSession::Drop(const chart::ChartHit& hit) {
  const BarIdx source = *editor_.Pointer().Dragged;
  switch (hit.target) {
    case Target::PlatForm:
      editor_.PlatForm_DragDrop(source, hit.x, hit.y);
      break;
    case Target::PlatForm2:
      editor_.PlatForm2_DragDrop(source, hit.x, hit.y);
      break;
    case Target::PlatForm3:
      editor_.PlatForm3_DragDrop(source, hit.x, hit.y);
      break;
    case Target::PlanBar:
    case Target::PlanJBar: {
      const chart::BarLabel& bar = chart_.Bar(BarOf(hit));
      editor_.PlanBar_DragDrop(BarOf(hit), source, hit.x - bar.Left, hit.y - bar.Top);
      break;
    }
    case Target::GradeName:
      editor_.GradeName_DragDrop();
      break;
    default:
      editor_.CancelDrag();
      break;
  }
}

// A press and release on the spot is a click (or the first half of a double click), not a
// drop on the bar itself: that would write the plan's times back from its rounded position,
// mark it changed and could ask about overlaps it already had. The bar keeps its place and
// takes back its colours.
void EditSession::EndClick() {
  const BarIdx bar = *editor_.Pointer().Dragged;
  editor_.CancelDrag();
  const PlanIdx plan = chart::FindPlanByBar(data_, bar);
  if (plan.value != 0) chart::LayoutBar(data_, chart_, plan, 0);
}

Redraw EditSession::DoubleClick(const PointerEvent& event) {
  if (Dragging() || event.button != editing::kLeftButton) return Redraw::Nothing;
  const chart::ChartHit& hit = event.hit;
  if (IsBar(hit.target)) {
    editor_.PlanBar_DblClick(BarOf(hit));
  } else if (hit.target == Target::MachineName) {
    editor_.MachineName_DblClick(hit.index);
  } else {
    return Redraw::Nothing;
  }
  return Redraw::Chart;
}

Redraw EditSession::DragAndDrop(PlanIdx plan, const chart::ChartHit& drop) {
  const BarIdx bar = data_.Plan(plan).Bar();
  const chart::BarLabel& label = chart_.Bar(bar);
  PointerEvent press;
  press.kind = PointerEvent::Kind::Press;
  press.button = editing::kLeftButton;
  press.hit = {Target::PlanBar, bar.value, label.Left, label.Top + chart::kPlanBarHeight / 2};
  Pointer(press);
  // A drag is never a click, wherever it ends.
  PointerEvent release;
  release.kind = PointerEvent::Kind::Release;
  release.button = editing::kLeftButton;
  release.hit = drop;
  release.atX = ClickDistance;
  return Pointer(release);
}

void EditSession::PreviewAt(const chart::ChartHit& hit) {
  switch (hit.target) {
    case Target::PlatForm:
    case Target::PlatForm2:
    case Target::PlatForm3:
    case Target::PlanBar:
    case Target::PlanJBar:
      editor_.UpdatePreview(hit.x, hit.y);
      break;
    default:
      // A release here lands nowhere.
      editor_.ClearPreview();
      break;
  }
}

bool EditSession::InRowsArea(const chart::ChartHit& hit) const {
  if (hit.target == Target::PlatForm) return true;
  return IsBar(hit.target) &&
         chart_.PlanBar[static_cast<std::size_t>(hit.index)].Container == chart::Surface::PlatForm;
}

bool EditSession::DropRefused() const {
  return Dragging() && chart_.Preview.Visible && chart_.Preview.Refused;
}

// --- Dialogs ---

void EditSession::Opened(std::shared_ptr<DialogModel> dialog) {
  if (!dialog) return;
  dialogs_.push_back(dialog);
  if (!ShowModal) return;
  ShowModal(dialog);
  std::erase(dialogs_, dialog);
}

void EditSession::OpenPlanWindow(PlanIdx plan) {
  auto window = lotdetail::OpenPlanWindow(editor_.Context(), plan, LocalToday());
  if (!window) return;
  window->ShowDialog = [this](std::shared_ptr<DialogModel> d) { Opened(std::move(d)); };
  Opened(window);
  // A window shown to its end that went without its close (the program ending under it)
  // still gives the bar back its colours.
  if (ShowModal && !window->Closed()) chart::LayoutBar(data_, chart_, plan, 0);
}

void EditSession::ForgetClosedDialogs() {
  std::erase_if(dialogs_, [](const auto& d) { return d->Closed(); });
}

DialogModel* EditSession::TopDialog() {
  ForgetClosedDialogs();
  return dialogs_.empty() ? nullptr : dialogs_.back().get();
}

// --- Operations ---

void EditSession::OpenLot(PlanIdx plan) {
  if (ProposalRefuses()) return;
  ForgetClosedDialogs();
  editor_.RightButtonDown(data_.Plan(plan).Bar());
}

lotdetail::SearchBoxes EditSession::Search(const std::string& itemCode,
                                           const std::string& modelName) {
  ForgetClosedDialogs();
  lotdetail::SearchBoxes boxes{itemCode, modelName};
  if (ProposalRefuses()) return boxes;  // a hit opens its lot window
  lotdetail::ComKensaku_Click(
      boxes, data_, questions_,
      [this](BarIdx bar) {
        Reveal({chart::FindPlanByBar(data_, bar)});
        editor_.RightButtonDown(bar);
      },
      [this](std::shared_ptr<lotdetail::SelectPlan> chooser) { Opened(std::move(chooser)); });
  return boxes;
}

bool EditSession::Undo() {
  return !Dragging() && !ProposalRefuses() && editor_.Undo();
}

bool EditSession::Redo() {
  return !Dragging() && !ProposalRefuses() && editor_.Redo();
}

void EditSession::NextDisplayMode() {
  chart::NextDisplayMode(data_, chart_);
}

void EditSession::SetDisplayMode(int mode) {
  for (int i = 0; i < 4 && chart_.Scale.DisplayMode != mode; ++i) NextDisplayMode();
}

}  // namespace velmora
