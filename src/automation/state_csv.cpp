#include "automation/state_csv.h"

#include <fstream>
#include <stdexcept>
#include <string>

#include "automation/chart_csv.h"
#include "automation/conflicts_csv.h"
#include "automation/load_csv.h"
#include "automation/plan_csv.h"
#include "automation/staged_files.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// Writes one CSV file with a byte order mark: spreadsheets then read the Japanese texts as UTF-8.
template <typename Write>
void WriteCsvFile(const fs::path& path, Write write) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "\xEF\xBB\xBF";
  write(out);
  out.close();
  if (!out) {
    throw std::runtime_error("ファイル " + path.string() +
                             " を書き込めません。出力先のフォルダと空き容量を確認してください。");
  }
}

}  // namespace

void WriteStateCsv(const PlanData& data, const chart::ChartModel& model,
                   const load::LoadModel& load, const fs::path& dir,
                   const std::vector<ExtraCsv>& extra) {
  fs::create_directories(dir);
  StagedFiles files;
  WriteCsvFile(files.Stage(dir / "plans.csv"),
               [&](std::ostream& out) { WritePlansCsv(data, out); });
  WriteCsvFile(files.Stage(dir / "rows.csv"), [&](std::ostream& out) { WriteRowsCsv(data, out); });
  WriteCsvFile(files.Stage(dir / "calendar.csv"),
               [&](std::ostream& out) { WriteCalendarCsv(data, out); });
  WriteCsvFile(files.Stage(dir / "bars.csv"), [&](std::ostream& out) { WriteBarsCsv(model, out); });
  WriteCsvFile(files.Stage(dir / "members.csv"),
               [&](std::ostream& out) { WriteMembersCsv(data, out); });
  WriteCsvFile(files.Stage(dir / "conflicts.csv"),
               [&](std::ostream& out) { WriteConflictsCsv(data, out); });
  WriteCsvFile(files.Stage(dir / "load.csv"),
               [&](std::ostream& out) { WriteLoadCsv(data, load, out); });
  for (const ExtraCsv& file : extra) WriteCsvFile(files.Stage(dir / file.name), file.write);
  files.Commit();
}

void WriteStateCsv(const PlanData& data, const chart::ChartModel& model, const fs::path& dir) {
  load::LoadModel load;
  load.Update(data);
  WriteStateCsv(data, model, load, dir);
}

}  // namespace velmora
