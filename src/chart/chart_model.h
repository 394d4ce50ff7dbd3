#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chart/bar_height.h"
#include "chart/time_scale.h"
#include "common/questions.h"
#include "plandata/bar_controls.h"
#include "plandata/row_geometry.h"

namespace velmora::chart {

// Colours stay in the program's 0x00BBGGRR form; only the painter turns them into toolkit colours.
using Color = std::int32_t;
inline constexpr Color kBlack = 0;
inline constexpr Color kRed = 255;
inline constexpr Color kBlue = 16711680;
inline constexpr Color kLightGrey = 12632256;
inline constexpr Color kWhite = 16777215;
inline constexpr Color kDropMarkColor = 0x008CFF;   // orange: bars a drop would ask about
inline constexpr Color kHighlightColor = 0xA000C8;  // purple: bars a list or a search chose

// Design-time geometry of the viewport, in twips (15 twips = 1 pixel). From top to bottom the
// viewport shows the header band (PlatForm3), the unplanned band (PlatForm2) and the rows area
// (PlatForm, scrolled by KScroll); the row captions (MachineName) sit in a column to its left.
inline constexpr double kTwipsPerPixel = 15;
inline constexpr double kTwipsPerScrollUnit =
    15;  // KScroll, and HScroll1 unless its range needs more
using velmora::kRowPitch;
using velmora::kVisibleRows;
inline constexpr double kHeaderBandHeight = 360;
inline constexpr double kUnplannedBandHeight = 600;
// Row r's band ends at WorkCenterLimit(r) = RowTop(r) + 480, so the rows area is 120 twips
// taller than its rows' pitches.
inline constexpr double kRowsAreaMargin = 120;
inline constexpr double kRowsAreaHeight = kVisibleRows * kRowPitch + kRowsAreaMargin;
inline constexpr double kCaptionColumnWidth = 2100;
// 20160 twips make the hour width a whole number of twips in every display mode, so the axis
// and the bars agree to the twip.
inline constexpr double kDefaultViewportWidth = 20160;
inline constexpr double kProgressBarHeight = kPlanBarHeight - 30;
inline constexpr double kAxisLabelHeight = 240;

enum class Surface : std::uint8_t { PlatForm, PlatForm2, PlatForm3 };

// Picture1: the viewport. Its scale width is its width.
struct Viewport {
  double Width = kDefaultViewportWidth;
  double Height = kHeaderBandHeight + kUnplannedBandHeight + kRowsAreaHeight;
  double ScaleWidth() const { return Width; }
};

// A chart surface (picture box with its own scale). Left is relative to the viewport's left
// edge; Top is relative to the top of the surface's band (for PlatForm: of the rows area).
// The scale width always equals the width, so one twip of scale is one twip on screen.
struct ChartSurface {
  double Left = 0;
  double Top = 0;
  double Width = kDefaultViewportWidth;
  double Height = 0;
  double ScaleLeft = 0;
  double ScaleWidth = kDefaultViewportWidth;
  bool Visible = true;
  Color BackColor = kWhite;
};

// What of a plan's place is fixed, as its bar shows it: the end ("1"), or the whole plan ("2").
enum class Pin : std::uint8_t { None, End, Whole };

// PlanBar / PlanJBar element: a label on a surface, in that surface's coordinates.
struct BarLabel {
  Surface Container = Surface::PlatForm;
  std::uint64_t ZOrder = 0;  // higher is in front
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double Height = kPlanBarHeight;
  Color BackColor = kLightGrey;
  Color ForeColor = kBlack;
  bool Bold = false;
  std::string Caption;  // lines separated by "\r\n"
  bool Visible = false;
  Pin Pinned = Pin::None;  // plan bars only
};

// DayLine, HourLine, Line1 element: a line on PlatForm.
struct LineShape {
  double X1 = 0;
  double Y1 = 0;
  double X2 = 0;
  double Y2 = 0;
  Color BorderColor = kBlack;
  bool Visible = false;
};

// LineName (on PlatForm) and LineName2 (on PlatForm3) element.
struct AxisLabel {
  double Left = 0;
  double Top = 0;
  double Width = 480;
  double Height = kAxisLabelHeight;
  std::string Text;
  Color ForeColor = kBlack;
  bool Visible = false;
};

// FillBox element: a shade box on PlatForm. Its colour is the array's design-time colour.
struct FillBoxLabel {
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double Height = 0;
  bool Visible = false;
};

// GradeName: the floating text box that shows the caption of the bar under the pointer.
struct CaptionBox {
  Surface Container = Surface::PlatForm;
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double Height = 285;
  std::string Text;
  bool Visible = false;
  std::optional<BarIdx> Of;  // the bar whose caption it shows

  // Shows `caption`, as wide as its characters.
  void Show(const std::string& caption);
};

// While a bar is dragged: where it would land, and the bars of the plans the overlap questions
// would concern. Only the painter reads it; the table changes at the drop.
struct DropPreview {
  bool Visible = false;
  Surface Container = Surface::PlatForm;
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double Height = kPlanBarHeight;
  bool Refused = false;  // the drop would be refused where the pointer is
  std::vector<BarIdx> Marked;
  DateTime Start;  // what the drop would give, with the row's shifts
  DateTime End;
  // The codes the plan would take and the minutes the target row's cycle gives it.
  std::string MachineCode;
  std::string DestinationCode;
  std::int32_t Minutes = 0;
};

// The place a plan had before a levelling proposal moved it, outlined while the proposal is
// shown. The times and row are kept; every layout of the chart sets the twips on PlatForm.
struct ProposalOutline {
  PlanIdx plan;
  int row = 0;
  DateTime start;
  DateTime end;
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double Height = kPlanBarHeight;
};

// HScroll1 / KScroll, in the scroll bars' own int range.
struct ScrollBarState {
  int Min = 0;
  int Max = 0;
  int SmallChange = 1;
  int LargeChange = 1;
  int Value = 0;
  bool Enabled = true;
};

// Every screen element of the chart as plain values. Arrays keep element 0 from the start;
// higher elements are created on first use and afterwards only hidden, never removed.
// The plan loader reaches the model through BarControls.
struct ChartModel : BarControls {
  ChartModel();

  Viewport Picture1;
  ChartSurface PlatForm;   // machine, department and subcontractor rows
  ChartSurface PlatForm2;  // the unplanned row's band, on the fixed four-week scale
  ChartSurface PlatForm3;  // the header band with the date and hour labels

  std::vector<BarLabel> PlanBar;   // indexed by bar index
  std::vector<BarLabel> PlanJBar;  // progress bars, same index
  std::vector<LineShape> DayLine;
  std::vector<LineShape> HourLine;
  std::vector<LineShape> Line1;
  std::vector<AxisLabel> LineName;
  std::vector<AxisLabel> LineName2;
  std::vector<FillBoxLabel> FillBox;
  Color FillBoxColor = 8421504;  // design-time colour of the shade boxes

  TimeScale Scale;
  ScrollBarState HScroll1;  // one unit is HScrollUnit twips
  // Twips per HScroll1 unit: one pixel, or as many whole pixels as keep the range in an int.
  double HScrollUnit = kTwipsPerScrollUnit;
  ScrollBarState KScroll;  // first visible row - 1
  // Rows the viewport shows at a time: 16 unless a window of another height fits it.
  int VisibleRows = kVisibleRows;
  std::vector<std::string> MachineName = std::vector<std::string>(kVisibleRows + 1);  // 1..rows
  // A caption's mark (what it says when pointed at), or nothing: an overloaded machine row.
  std::vector<std::string> MachineMark;
  CaptionBox GradeName;
  DropPreview Preview;
  std::vector<BarIdx> Highlighted;  // bars a list or a search pointed at, outlined
  std::vector<ProposalOutline> ProposalOutlines;  // old places of a shown levelling proposal
  std::string DayDispArea;          // long date at the viewport's left edge
  std::string modeCaption;          // caption of the display mode

  std::int32_t ScrollValue = 0;  // HScroll1's value as last applied to the surfaces
  double ScrollDays = 0;         // horizontal position in days, kept across a mode change
  std::uint64_t LastZOrder = 0;  // "bring to front" hands out the next number
  // Where a layout tells of a step it could not do before it carries on; none (a chart laid out
  // again for paper, whose faults the screen told already): they go untold.
  Questions* FaultsTo = nullptr;

  // BarControls
  void HidePlanSurface() override { PlatForm.Visible = false; }
  void ShowPlanSurface() override { PlatForm.Visible = true; }
  void CreateBarPair(BarIdx bar) override;

  double RowsAreaHeight() const { return VisibleRows * kRowPitch + kRowsAreaMargin; }
  // Sizes the viewport to show `rows` rows (at least one); the row captions follow.
  void SetVisibleRows(int rows);

  // The element, created (hidden, from element 0's design) when it does not exist yet.
  BarLabel& Bar(BarIdx bar);
  BarLabel& JBar(BarIdx bar);
  const ChartSurface& SurfaceOf(Surface s) const;
};

// Element `index` of a control array, created as a hidden copy of element 0 on first use.
template <typename T>
T& Element(std::vector<T>& array, std::size_t index) {
  if (index >= array.size()) {
    T copy = array.front();
    copy.Visible = false;
    array.resize(index + 1, copy);
  }
  return array[index];
}

// Hides elements `from` and up; they stay for reuse.
template <typename T>
void HideFrom(std::vector<T>& array, std::size_t from) {
  for (std::size_t i = from; i < array.size(); ++i) array[i].Visible = false;
}

}  // namespace velmora::chart
