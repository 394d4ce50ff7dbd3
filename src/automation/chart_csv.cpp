#include "automation/chart_csv.h"

#include <string>

#include "automation/csv_writer.h"
#include "common/numeric.h"

namespace velmora {

void WriteBarsCsv(const chart::ChartModel& model, std::ostream& out) {
  CsvWriter csv(out);
  csv.Record(
      {"BarIndex", "Left", "Top", "Width", "Height", "Visible", "BackColor", "Caption", "Unsaved"});
  for (std::size_t b = 0; b < model.PlanBar.size(); ++b) {
    const chart::BarLabel& bar = model.PlanBar[b];
    csv.Record({std::to_string(b), ShortestText(bar.Left), ShortestText(bar.Top),
                ShortestText(bar.Width), ShortestText(bar.Height), bar.Visible ? "1" : "0",
                std::to_string(bar.BackColor), EscapedBreaks(bar.Caption), bar.Bold ? "1" : "0"});
  }
}

}  // namespace velmora
