#include "automation/chart_csv.h"

#include <charconv>
#include <string>

#include "automation/csv_writer.h"

namespace velmora {
namespace {

// The shortest text that reads back as the same double.
std::string DoubleText(double v) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, result.ptr);
}

}  // namespace

void WriteBarsCsv(const chart::ChartModel& model, std::ostream& out) {
  CsvWriter csv(out);
  csv.Record({"BarIndex", "Left", "Top", "Width", "Height", "Visible", "BackColor", "Caption"});
  for (std::size_t b = 0; b < model.PlanBar.size(); ++b) {
    const chart::BarLabel& bar = model.PlanBar[b];
    csv.Record({std::to_string(b), DoubleText(bar.Left), DoubleText(bar.Top), DoubleText(bar.Width),
                DoubleText(bar.Height), bar.Visible ? "1" : "0", std::to_string(bar.BackColor),
                EscapedBreaks(bar.Caption)});
  }
}

}  // namespace velmora
