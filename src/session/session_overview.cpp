#include <algorithm>
#include <cmath>

#include "chart/bar_layout.h"
#include "chart/scrolling.h"
#include "session/edit_session.h"
#include "session/plan_texts.h"

// What the side panel, the tips and a search show of the plans.
namespace velmora {

const std::vector<Clash>& EditSession::Clashes() {
  clashes_.Update(data_);
  return clashes_.All();
}

const load::LoadModel& EditSession::MachineLoad() {
  load_.Update(data_);
  return load_;
}

void EditSession::Reveal(const std::vector<PlanIdx>& plans) {
  chart_.Highlighted.clear();
  for (PlanIdx p : plans) {
    if (p.value != 0) chart_.Highlighted.push_back(data_.Plan(p).Bar());
  }
  if (chart_.Highlighted.empty()) return;
  const PlanEntry& first = data_.Plan(chart::FindPlanByBar(data_, chart_.Highlighted.front()));
  const chart::BarLabel& bar = chart_.Bar(first.Bar());
  if (bar.Container != chart::Surface::PlatForm) return;  // the unplanned band does not scroll
  // The row into view.
  if (const auto top = chart::RowTopOf(data_, first.MachineCode, first.DestinationCode)) {
    for (int r = 1; r <= data_.RowCount; ++r) {
      if (data_.RowTop[static_cast<std::size_t>(r)] == *top) {
        ScrollToRow(r);
        break;
      }
    }
  }
  // The start into view, an eighth of the viewport from the left edge unless already shown.
  const double x = chart_.PlatForm.Left + (bar.Left - chart_.PlatForm.ScaleLeft);
  const double width = chart_.Picture1.Width;
  if (x >= 0 && x + std::min(bar.Width, width / 2) <= width) return;
  const double by = (x - width / 8) / chart_.HScrollUnit;
  chart::SetHScroll1Value(data_, chart_, chart_.HScroll1.Value + static_cast<int>(std::lround(by)));
}

std::string EditSession::TipFor(BarIdx bar) const {
  const PlanIdx plan = chart::FindPlanByBar(data_, bar);
  return plan.value == 0 ? "" : PlanTip(data_, plan);
}

}  // namespace velmora
