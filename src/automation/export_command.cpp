#include "automation/export_command.h"

#include <filesystem>
#include <fstream>
#include <iostream>

#include <QGuiApplication>
#include <QString>

#include "automation/export_options.h"
#include "automation/export_session.h"
#include "automation/plan_csv.h"
#include "app/main_form_load.h"
#include "chart/bar_height.h"
#include "chart/display_mode.h"
#include "common/errors.h"
#include "plandata/plan_loader.h"
#include "plandata/work_center_rows.h"
#include "ui/chart_image.h"

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

void ExportCsv(AppState& session, const ExportOptions& options) {
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

// The chart as the window loads it (week mode), switched to the requested mode, painted whole.
void ExportPng(AppState& session, const ExportOptions& options, int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");  // no window and no display are needed
  QGuiApplication app(argc, argv);

  PlanData& data = session.Data;
  chart::ChartModel chart;
  LoadMainForm(data, chart, session.Command);
  switch (options.mode) {
    case 1:
      chart::DispDay(data, chart);
      break;
    case 2:
      chart::Disp3Day(data, chart);
      break;
    case 4:
      chart::DispMonth(data, chart);
      break;
    default:
      break;  // the window opens in week mode
  }

  const fs::path target = fs::absolute(options.target);
  if (target.has_parent_path()) fs::create_directories(target.parent_path());
  const fs::path partial = target.string() + ".partial.png";
  if (!ui::SaveChartPng(data, chart, QString::fromStdString(partial.string()))) {
    fs::remove(partial);
    throw std::runtime_error("cannot write the chart image " + target.string());
  }
  fs::rename(partial, target);
}

}  // namespace

bool IsExportCommand(const std::vector<std::string>& args) {
  return !args.empty() && (args[0] == "--export-csv" || args[0] == "--export-png");
}

int RunExport(int argc, char** argv, const std::vector<std::string>& args) {
  std::string error;
  const std::optional<ExportOptions> options = ParseExportOptions(args, error);
  if (!options) {
    std::cerr << "velmora: " << error << "\n" << kExportUsage;
    return 2;
  }
  try {
    AppState session;
    OpenExportSession(session, *options);
    if (options->kind == ExportOptions::Kind::Csv) {
      ExportCsv(session, *options);
    } else {
      ExportPng(session, *options, argc, argv);
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
