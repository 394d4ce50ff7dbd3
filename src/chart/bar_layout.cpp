#include "chart/bar_layout.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "chart/row_finder.h"
#include "chart/time_axis.h"
#include "common/errors.h"
#include "common/format.h"
#include "common/numeric.h"
#include "common/text.h"
#include "plandata/row_lookup.h"

namespace velmora::chart {
namespace {

// Drawing steps that run to the end of their block even when one fails; the (last) failure is
// then told to the model's FaultsTo and the layout carries on with the next block.
class GuardedBlock {
 public:
  explicit GuardedBlock(Questions* faultsTo) : faultsTo_(faultsTo) {}
  template <typename Step>
  void Run(Step step) {
    try {
      step();
    } catch (const std::exception& e) {
      failure_ = e.what();
    }
  }
  void End() {
    if (!failure_.empty() && faultsTo_ != nullptr) faultsTo_->Tell({failure_});
  }

 private:
  Questions* faultsTo_;
  std::string failure_;
};

// Bars of one row are staggered by their index, so bars that overlap stay told apart.
double BarTopOnRow(double rowTop, std::int32_t barIndex) {
  return rowTop + (barIndex % 7) * 15 - 45;
}

Color BackColorOf(const PlanEntry& p) {
  if (p.InitialDueDate.IsZero()) return kNoDueDateColor;
  if (p.EndDate > p.InitialDueDate) return kLateColor;
  if (p.EndDate < p.InitialDueDate.AddDays(-3)) return kEarlyColor;
  return kOnTimeColor;
}

Color ForeColorOf(const PlanEntry& p) {
  if (ConfirmFlagIsSet(p.ConfirmFlag)) return kConfirmedTextColor;
  return p.CycleSeconds != 0 ? kCycleTextColor : kNoCycleTextColor;
}

// A stored text as a caption piece: trimmed and cut to kCaptionPieceChars characters, reading
// no further into the text than that needs, so a huge stored text costs no more than a short one.
void AppendPiece(std::string& out, std::string_view text) {
  constexpr std::size_t kMaxUtf8Bytes = 4;
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return;
  text = text.substr(start, kCaptionPieceChars * kMaxUtf8Bytes);
  text = text.substr(0, text.find_last_not_of(' ') + 1);
  // A text of no more bytes than the limit has no more characters either: no count needed.
  if (text.size() <= kCaptionPieceChars) {
    out += text;
  } else {
    out += Left(text, kCaptionPieceChars);
  }
}

// "●item model\r\nprocess received(m/d)/ordered planNo"
void BuildCaption(const PlanEntry& p, std::string& out) {
  out.clear();
  if (p.SheetIssueDate != "00000000") out += "●";
  AppendPiece(out, p.PlanItemCode);
  out += ' ';
  AppendPiece(out, p.ModelName);
  out += "\r\n";
  AppendPiece(out, p.ProcessName);
  out += ' ';
  if (p.ReceivedQty != 0) {
    out += std::to_string(p.ReceivedQty);
    out += '(';
    out += FormatDateTime(p.LastResultDate, "m/d");
    out += ")/";
  }
  out += std::to_string(p.OrderQty);
  out += ' ';
  AppendPiece(out, p.PlanNoText);
}

// The progress bar's width for plan `planIndex` (0: no plan shows this bar).
void ApplyProgressWidth(const PlanData& data, const BarLabel& bar, BarLabel& progress,
                        PlanIdx planIndex) {
  const PlanEntry* plan = planIndex.value > 0 ? &data.Plan(planIndex) : nullptr;
  if (plan == nullptr || plan->OrderQty == 0) {
    progress.Width = 0;
    progress.Visible = false;
    return;
  }
  const double inner = bar.Width - 2 * kProgressInset;
  const double w = inner * plan->ReceivedQty / plan->OrderQty;
  if (w > 0) {
    progress.Width = w > inner ? inner : w;
  } else {
    progress.Width = 0;
    progress.Visible = false;
  }
}

void PlaceProgress(const PlanData& data, const BarLabel& bar, BarLabel& progress,
                   PlanIdx planIndex) {
  progress.Left = bar.Left + kProgressInset;
  progress.Top = bar.Top + kProgressInset;
  progress.Visible = bar.Visible;
  ApplyProgressWidth(data, bar, progress, planIndex);
}

// Lays out bars one by one, or a whole table at once with its lookups prepared: a full redraw
// would otherwise walk the rows and the plan table for every bar.
class BarLayouter {
 public:
  enum class Prepare { Nothing, Bars, RowsAndBars };
  BarLayouter(const PlanData& data, ChartModel& model, Prepare prepare)
      : data_(data), model_(model) {
    if (prepare == Prepare::Nothing) return;
    bars_ = true;
    if (prepare == Prepare::RowsAndBars) rows_.emplace(data);
    for (std::int32_t i = data.PlanCount(); i >= 1; --i) {
      const int b = data.PlanTable[static_cast<std::size_t>(i)].BarIndex;
      if (b < 0) continue;
      if (static_cast<std::size_t>(b) >= firstPlanOfBar_.size()) firstPlanOfBar_.resize(b + 1);
      firstPlanOfBar_[static_cast<std::size_t>(b)] = PlanIdx{i};
    }
  }

  void OnRow(double rowTop) { rowTop_ = rowTop; }

  // A hidden plan shows neither of its bars, and nothing more of them is laid out.
  static bool HideIfHidden(const PlanEntry& p, BarLabel& bar, BarLabel& progress) {
    if (p.Hidden != 1) return false;
    bar.Visible = false;
    progress.Visible = false;
    return true;
  }

  void Layout(PlanIdx planIndex, std::int16_t keepSurface) {
    const PlanEntry& p = data_.Plan(planIndex);
    const int b = p.BarIndex;
    BarLabel& bar = model_.Bar(p.Bar());
    BarLabel& progress = model_.JBar(p.Bar());
    if (HideIfHidden(p, bar, progress)) return;

    const double y = RowTop(p).value_or(0);
    if (keepSurface == 0) {
      bar.Container = progress.Container =
          y < kUnplannedBandTest ? Surface::PlatForm2 : Surface::PlatForm;
      bar.ZOrder = ++model_.LastZOrder;
      progress.ZOrder = ++model_.LastZOrder;
    }
    bar.Pinned = p.IsLocked() ? Pin::Whole : p.IsEndFixed() ? Pin::End : Pin::None;
    const bool unplannedBand = bar.Container == Surface::PlatForm2;
    bar.Top = BarTopOnRow(y, b);
    if (unplannedBand) bar.Top -= kUnplannedLift;
    const double xEnd = PlaceLeft(p, bar);

    Dress(p, bar, progress);

    const PlanIdx plan = PlanOfBar(p.Bar());
    GuardedBlock width(model_.FaultsTo);
    width.Run([&] { progress.Caption.assign(bar.Caption); });
    width.Run([&] { PlaceWidth(bar, xEnd); });
    width.Run([&] { PlaceProgress(data_, bar, progress, plan); });
    width.End();
    FinishProgress(bar, progress, plan);
  }

  // Colours, visibility and caption, each block guarded as a whole.
  void Dress(const PlanEntry& p, BarLabel& bar, BarLabel& progress) {
    GuardedBlock colours(model_.FaultsTo);
    colours.Run([&] { bar.BackColor = BackColorOf(p); });
    colours.Run([&] { bar.ForeColor = ForeColorOf(p); });
    colours.Run([&] { bar.Bold = p.Changed == 1; });
    colours.Run([&] { progress.Bold = bar.Bold; });
    colours.Run([&] { bar.Visible = true; });
    colours.End();
    GuardedBlock caption(model_.FaultsTo);
    caption.Run([&] {
      BuildCaption(p, scratch_);
      bar.Caption.assign(scratch_);
      // The box beside the pointer shows this caption as it is now, whatever changed the plan.
      if (model_.GradeName.Visible && model_.GradeName.Of == p.Bar()) {
        model_.GradeName.Show(bar.Caption);
      }
    });
    caption.End();
  }

  void Rescale(PlanIdx planIndex) {
    const PlanEntry& p = data_.Plan(planIndex);
    BarLabel& bar = model_.Bar(p.Bar());
    BarLabel& progress = model_.JBar(p.Bar());
    if (HideIfHidden(p, bar, progress)) return;
    bar.ZOrder = ++model_.LastZOrder;
    progress.ZOrder = ++model_.LastZOrder;
    PlaceWidth(bar, PlaceLeft(p, bar));
    const PlanIdx plan = PlanOfBar(p.Bar());
    PlaceProgress(data_, bar, progress, plan);
    FinishProgress(bar, progress, plan);
  }

 private:
  // Sets the bar's left on its surface's scale and gives the x of its end.
  double PlaceLeft(const PlanEntry& p, BarLabel& bar) const {
    const TimeScale& scale = model_.Scale;
    const bool unplannedBand = bar.Container == Surface::PlatForm2;
    const float hourWidth = unplannedBand ? scale.FixedHourWidth : scale.HourWidth;
    bar.Left = scale.TimeToX(p.StartDate, p.StartTime, hourWidth);
    return scale.TimeToX(p.EndDate, p.EndTime, hourWidth);
  }

  static void PlaceWidth(BarLabel& bar, double xEnd) {
    const double w = xEnd - bar.Left;
    bar.Width = w >= kMinimumBarWidth ? w : kMinimumBarWidth;
    if (bar.Container == Surface::PlatForm2) bar.Width = kUnplannedBarWidth;
  }

  void FinishProgress(BarLabel& bar, BarLabel& progress, PlanIdx plan) const {
    progress.Visible = true;
    ApplyProgressWidth(data_, bar, progress, plan);
    if (bar.Width < kMinimumBarWidth) bar.Width = kMinimumBarWidth;
  }

  std::optional<double> RowTop(const PlanEntry& p) const {
    if (rowTop_) return rowTop_;
    if (!rows_) return RowTopOf(data_, p.MachineCode, p.DestinationCode);
    const std::optional<std::int16_t> r = rows_->Find(p.MachineCode, p.DestinationCode);
    if (!r) return std::nullopt;
    return data_.RowTop[static_cast<std::size_t>(*r)];
  }

  PlanIdx PlanOfBar(BarIdx b) const {
    if (!bars_) return FindPlanByBar(data_, b);
    return b.value >= 0 && b.Slot() < firstPlanOfBar_.size() ? firstPlanOfBar_[b.Slot()]
                                                             : PlanIdx{};
  }

  const PlanData& data_;
  ChartModel& model_;
  bool bars_ = false;  // firstPlanOfBar_ is filled
  std::optional<RowFinder> rows_;
  std::vector<PlanIdx> firstPlanOfBar_;
  std::optional<double> rowTop_;  // a row to lay the bar on instead of the plan's own
  std::string scratch_;
};

}  // namespace

bool ConfirmFlagIsSet(std::string_view confirmFlag) {
  if (!IsNumeric(confirmFlag)) throw ConversionError("型が一致しません。");
  return Val(confirmFlag) != 0;
}

std::optional<double> RowTopOf(const PlanData& data, std::string_view machineCode,
                               std::string_view destinationCode) {
  const std::optional<std::int16_t> r = FindRow(data, machineCode, destinationCode);
  if (!r) return std::nullopt;
  return data.RowTop[static_cast<std::size_t>(*r)];
}

PlanIdx FindPlanByBar(const PlanData& data, BarIdx bar) {
  for (std::int32_t i = 1; i <= data.PlanCount(); ++i) {
    if (data.PlanTable[static_cast<std::size_t>(i)].Bar() == bar) return PlanIdx{i};
  }
  return PlanIdx{};
}

void LayoutBar(const PlanData& data, ChartModel& model, PlanIdx planIndex,
               std::int16_t keepSurface) {
  BarLayouter(data, model, BarLayouter::Prepare::Nothing).Layout(planIndex, keepSurface);
}

void LayoutBarOnRow(const PlanData& data, ChartModel& model, PlanIdx planIndex, double rowTop) {
  BarLayouter layouter(data, model, BarLayouter::Prepare::Nothing);
  layouter.OnRow(rowTop);
  layouter.Layout(planIndex, 0);
}

void LayoutBars(const PlanData& data, ChartModel& model, const std::vector<PlanIdx>& plans,
                std::int16_t keepSurface) {
  BarLayouter layouter(data, model, BarLayouter::Prepare::RowsAndBars);
  for (const PlanIdx p : plans) layouter.Layout(p, keepSurface);
}

void LayoutAllBars(const PlanData& data, ChartModel& model) {
  BarLayouter layouter(data, model, BarLayouter::Prepare::RowsAndBars);
  for (std::int32_t i = 1; i <= data.PlanCount(); ++i) {
    const PlanEntry& p = data.PlanTable[static_cast<std::size_t>(i)];
    if (p.InUse > 0) layouter.Layout(PlanIdx{i}, 0);
  }
  PlaceProposalOutlines(data, model);
}

void RescaleAllBars(const PlanData& data, ChartModel& model) {
  BarLayouter layouter(data, model, BarLayouter::Prepare::Bars);
  for (std::int32_t i = 1; i <= data.PlanCount(); ++i) {
    if (data.PlanTable[static_cast<std::size_t>(i)].InUse > 0) layouter.Rescale(PlanIdx{i});
  }
  PlaceProposalOutlines(data, model);
}

void PlaceProposalOutlines(const PlanData& data, ChartModel& model) {
  const TimeScale& scale = model.Scale;
  for (ProposalOutline& outline : model.ProposalOutlines) {
    const auto row = static_cast<std::size_t>(outline.row);
    if (row >= data.RowTop.size()) continue;
    outline.Top = BarTopOnRow(data.RowTop[row], data.Plan(outline.plan).BarIndex);
    outline.Left =
        scale.TimeToX(outline.start.DatePart(), outline.start.TimePart(), scale.HourWidth);
    const double xEnd =
        scale.TimeToX(outline.end.DatePart(), outline.end.TimePart(), scale.HourWidth);
    outline.Width = std::max(xEnd - outline.Left, kMinimumBarWidth);
    outline.Height = kPlanBarHeight;
  }
}

void PlanBar_Change(const PlanData& data, ChartModel& model, BarIdx index) {
  const BarLabel& bar = model.Bar(index);
  PlaceProgress(data, bar, model.JBar(index), FindPlanByBar(data, index));
}

}  // namespace velmora::chart
