#include "chart/chart_model.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "common/text.h"

namespace velmora::chart {
namespace {

std::size_t BarSlot(BarIdx bar) {
  if (bar.value < 0) throw std::out_of_range("bar index " + std::to_string(bar.value));
  return bar.Slot();
}

}  // namespace

ChartModel::ChartModel() {
  PlatForm.Height = kRowsAreaHeight;
  PlatForm2.Height = kUnplannedBandHeight;
  PlatForm2.BackColor = 15790320;  // 0xF0F0F0: the unplanned band stands apart from the rows
  PlatForm3.Height = kHeaderBandHeight;
  PlatForm3.BackColor = 14737632;  // 0xE0E0E0

  BarLabel bar;
  PlanBar.push_back(bar);
  BarLabel progress = bar;
  progress.Height = kProgressBarHeight;
  progress.BackColor = 4210752;  // 0x404040, drawn half-transparent: a darker share of the bar
  progress.ForeColor = kBlack;
  PlanJBar.push_back(progress);

  LineShape line;
  DayLine.push_back(line);
  line.BorderColor = 14737632;  // hour lines: pale, under the day lines
  HourLine.push_back(line);
  line.BorderColor = 8421504;  // row borders
  Line1.push_back(line);

  AxisLabel label;
  LineName.push_back(label);
  label.Top = (kHeaderBandHeight - kAxisLabelHeight) / 2;
  LineName2.push_back(label);
  FillBox.emplace_back();

  HScroll1.SmallChange = 64;
  HScroll1.LargeChange = 640;
}

void CaptionBox::Show(const std::string& caption) {
  // An estimate of the characters' width: the painter makes the box at least as wide as the text.
  constexpr double kTwipsPerChar = 80;
  Text = caption;
  Width = static_cast<double>(CharCount(Text)) * kTwipsPerChar;
}

void ChartModel::SetVisibleRows(int rows) {
  VisibleRows = std::max(1, rows);
  MachineName.resize(static_cast<std::size_t>(VisibleRows) + 1);
  Picture1.Height = kHeaderBandHeight + kUnplannedBandHeight + RowsAreaHeight();
}

void ChartModel::CreateBarPair(BarIdx bar) {
  JBar(bar);
  Bar(bar);
}

BarLabel& ChartModel::Bar(BarIdx bar) {
  return Element(PlanBar, BarSlot(bar));
}

BarLabel& ChartModel::JBar(BarIdx bar) {
  return Element(PlanJBar, BarSlot(bar));
}

const ChartSurface& ChartModel::SurfaceOf(Surface s) const {
  switch (s) {
    case Surface::PlatForm2:
      return PlatForm2;
    case Surface::PlatForm3:
      return PlatForm3;
    case Surface::PlatForm:
      break;
  }
  return PlatForm;
}

}  // namespace velmora::chart
