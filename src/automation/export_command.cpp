#include "automation/export_command.h"

#include <filesystem>
#include <fstream>
#include <iostream>

#include <QGuiApplication>

#include "automation/export_options.h"
#include "automation/export_session.h"
#include "automation/script_runner.h"
#include "automation/staged_files.h"
#include "automation/state_csv.h"
#include "chart/display_mode.h"
#include "common/date_text.h"
#include "common/error_text.h"
#include "common/errors.h"
#include "common/questions.h"
#include "session/edit_session.h"
#include "startup/main_form_load.h"
#include "ui/chart_image.h"
#include "ui/chart_pdf.h"
#include "ui/load_table.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// The state as the window loads it (week mode, every bar laid out), so the bars are the chart's.
void ExportCsv(AppState& state, const ExportOptions& options) {
  ConsoleQuestions console;  // nobody to ask: messages go to standard error
  chart::ChartModel chart;   // the default viewport width, as the PNG export uses
  chart.FaultsTo = &console;
  LoadMainForm(state.Data, chart, state.Command, console);
  WriteStateCsv(state.Data, chart, options.target);
}

// The chart as the window loads it (week mode), switched to the requested mode, painted whole
// into a PNG image or on the pages of a PDF file.
void ExportPicture(AppState& state, const ExportOptions& options, int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");  // no window and no display are needed
  QGuiApplication app(argc, argv);

  PlanData& data = state.Data;
  ConsoleQuestions console;
  chart::ChartModel chart;
  chart.FaultsTo = &console;
  LoadMainForm(data, chart, state.Command, console);  // the window opens in week mode
  if (options.mode != 3) chart::DispMode(data, chart, options.mode);

  const fs::path target = fs::absolute(options.target);
  if (target.has_parent_path()) fs::create_directories(target.parent_path());
  StagedFiles files;
  if (options.kind == ExportOptions::Kind::Pdf) {
    const QPageSize::PageSizeId page = options.page == "A3" ? QPageSize::A3 : QPageSize::A4;
    load::LoadModel load;
    load.Update(data);
    const ui::LoadTable table = ui::MakeLoadTable(data, load);
    ui::SaveChartPdf(data, chart, files.Stage(target), page, QDate::currentDate(), &table);
  } else {
    ui::SaveChartPng(data, chart, files.Stage(target));
  }
  files.Commit();
}

// The gestures of a script on the chart as the window loads it. Messages go to standard output.
void RunScript(AppState& state, const ExportOptions& options) {
  // "-" reads the commands from standard input as they come: another program can drive the
  // loaded chart step by step.
  const bool fromInput = options.target == "-";
  std::ifstream file;
  if (!fromInput) {
    file.open(options.target, std::ios::binary);
    if (!file) {
      throw std::runtime_error("スクリプト " + options.target +
                               " を読めません。ファイルの場所を確認してください。");
    }
  }
  std::istream& script = fromInput ? std::cin : file;
  ScriptMessageBoxes boxes(std::cout);

  state.Data.SetCommandLine(options.inquiry ? "1"
                                            : FormatYmd(options.from) + " " + options.category);
  EditSession session(state.Data, &state.Connection, &state.Command, boxes);
  session.Load();
  ScriptRunner runner(session, boxes);
  runner.Run(script);
}

}  // namespace

bool IsExportCommand(const std::vector<std::string>& args) {
  return !args.empty() && (args[0] == "--export-csv" || args[0] == "--export-png" ||
                           args[0] == "--export-pdf" || args[0] == "--script");
}

int RunExport(int argc, char** argv, const std::vector<std::string>& args) {
  std::string error;
  const std::optional<ExportOptions> options = ParseExportOptions(args, error);
  if (!options) {
    std::cerr << "velmora: " << error << "\n" << kUsage;
    return 2;
  }
  try {
    AppState state;
    OpenExportSession(state, *options);
    if (options->kind == ExportOptions::Kind::Csv) {
      ExportCsv(state, *options);
    } else if (options->kind == ExportOptions::Kind::Script) {
      RunScript(state, *options);
    } else {
      ExportPicture(state, *options, argc, argv);
    }
    return 0;
  } catch (const ScriptFailure& failure) {
    std::cerr << "velmora: " << failure.what() << std::endl;
    return failure.status;
  } catch (const ProgramEnd& end) {
    return end.status != 0 ? end.status : 1;  // the reason is already on standard error
  } catch (...) {
    const std::string text = UserErrorText(std::current_exception());
    const std::string detail = TechnicalErrorText(std::current_exception());
    std::cerr << "velmora: " << text << std::endl;
    if (!detail.empty() && detail != text) std::cerr << "velmora: (" << detail << ")" << std::endl;
    return 1;
  }
}

}  // namespace velmora
