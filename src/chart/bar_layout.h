#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "chart/chart_model.h"
#include "plandata/plan_data.h"

namespace velmora::chart {

// Layout constants of a bar, in twips.
inline constexpr double kUnplannedBandTest = 300;  // a row top below it means PlatForm2
inline constexpr double kUnplannedLift = 180;
inline constexpr double kMinimumBarWidth = 45;
inline constexpr double kUnplannedBarWidth = 1500;
inline constexpr double kProgressInset = 15;
// Characters of one stored text in a caption: more than the widest bar can show.
inline constexpr std::size_t kCaptionPieceChars = 256;

// Bar colours (0x00BBGGRR).
inline constexpr Color kNoDueDateColor = kLightGrey;
inline constexpr Color kLateColor = 6316287;    // light red: ends after the due date
inline constexpr Color kEarlyColor = 16777088;  // light cyan: more than three days early
inline constexpr Color kOnTimeColor = 8454143;  // light yellow: within three days
inline constexpr Color kConfirmedTextColor = kBlack;
inline constexpr Color kCycleTextColor = kBlue;  // a cycle is known
inline constexpr Color kNoCycleTextColor = 160;  // dark red

// RowTop of the row that shows a plan with these codes (FindRow); nothing when no row does.
std::optional<double> RowTopOf(const PlanData& data, std::string_view machineCode,
                               std::string_view destinationCode);

// The first plan (1 upward) whose BarIndex is `barIndex`; 0 when there is none.
PlanIdx FindPlanByBar(const PlanData& data, BarIdx bar);

// Geometry, colours and caption of plan `planIndex`'s bar pair (PlanBar, PlanJBar at its
// BarIndex). keepSurface 0 picks the surface from the plan's row and brings the pair to the
// front; any other value leaves surface and order as they are. A failing drawing step is told
// to model.FaultsTo and the layout goes on.
void LayoutBar(const PlanData& data, ChartModel& model, PlanIdx planIndex,
               std::int16_t keepSurface);

// LayoutBar with keep surface 0, as if the plan stood on the row whose RowTop is `rowTop`: a drop
// shows its bar where it lands while it asks about it, before the plan takes that row's codes.
void LayoutBarOnRow(const PlanData& data, ChartModel& model, PlanIdx planIndex, double rowTop);

// Every plan in use laid out with keep surface 0, in table order (a full redraw).
// LayoutBar for each of `plans`, with the row and bar look-ups prepared once: a save lays out
// every bar it wrote, and one look-up per bar would walk the whole table each time.
void LayoutBars(const PlanData& data, ChartModel& model, const std::vector<PlanIdx>& plans,
                std::int16_t keepSurface);
void LayoutAllBars(const PlanData& data, ChartModel& model);
// After a change of the time scale alone: every bar's place, width and stacking as LayoutAllBars
// gives them, with the captions, colours and rows the bars were last laid out with. A zoom then
// costs a frame, not a caption and a row look-up for every plan of the period.
void RescaleAllBars(const PlanData& data, ChartModel& model);

// Each proposal outline where its plan's bar stood on the outline's row at the outline's times,
// on the present scale: the full layout and the rescale call it, so a zoom moves them too.
void PlaceProposalOutlines(const PlanData& data, ChartModel& model);

// Places and sizes the progress bar PlanJBar(index) over PlanBar(index): its width is the
// received share of the bar's inner width.
void PlanBar_Change(const PlanData& data, ChartModel& model, BarIdx index);

// ConfirmFlag read as a boolean: a number is true unless it is 0; a text that is no number
// (also the empty text) throws ConversionError, which the layout reports.
bool ConfirmFlagIsSet(std::string_view confirmFlag);

}  // namespace velmora::chart
