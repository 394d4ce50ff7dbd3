#include "app/export/export_command.h"

#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/export/export_options.h"
#include "app/export/export_session.h"
#include "app/export/plan_csv.h"
#include "chart/bar_height.h"
#include "common/errors.h"
#include "plandata/plan_loader.h"
#include "plandata/work_center_rows.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// Writes through a temporary file renamed into place, so a failed run leaves no half file.
template <typename Write>
void WriteFile(const fs::path& path, Write write) {
  const fs::path partial = path.string() + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + partial.string());
    out << "\xEF\xBB\xBF";  // byte order mark: spreadsheets then read the Japanese texts as UTF-8
    write(out);
    out.flush();
    if (!out) throw std::runtime_error("cannot write " + partial.string());
  }
  fs::rename(partial, path);
}

void ExportCsv(ExportSession& session, const ExportOptions& options) {
  PlanData& data = session.Data;
  LoadWorkCenterRows(data, session.Command, chart::kPlanBarHeight);
  data.ResetPlanTable();
  NoBarControls noBars;
  ReturnPlanData(data, session.Connection, noBars);

  const fs::path dir = options.target;
  fs::create_directories(dir);
  WriteFile(dir / "plans.csv", [&](std::ostream& out) { WritePlansCsv(data, out); });
  WriteFile(dir / "rows.csv", [&](std::ostream& out) { WriteRowsCsv(data, out); });
  WriteFile(dir / "calendar.csv", [&](std::ostream& out) { WriteCalendarCsv(data, out); });
}

}  // namespace

bool IsExportCommand(const std::vector<std::string>& args) {
  return !args.empty() && (args[0] == "--export-csv" || args[0] == "--export-png");
}

int RunExport(int, char**, const std::vector<std::string>& args) {
  std::string error;
  const std::optional<ExportOptions> options = ParseExportOptions(args, error);
  if (!options) {
    std::cerr << "velmora: " << error << "\n" << kExportUsage;
    return 2;
  }
  try {
    ExportSession session;
    OpenExportSession(session, *options);
    if (options->kind == ExportOptions::Kind::Csv) {
      ExportCsv(session, *options);
    } else {
      std::cerr << "velmora: --export-png is not available yet" << std::endl;
      return 2;
    }
    return 0;
  } catch (const ProgramEnd& end) {
    return end.status != 0 ? end.status : 1;  // the reason is already on standard error
  } catch (const std::exception& e) {
    std::cerr << "velmora: " << e.what() << std::endl;
    return 1;
  }
}

}  // namespace velmora
