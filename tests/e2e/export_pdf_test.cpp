// The PDF export of the demo plant, read back with poppler's tools: the pages the slicing says,
// landscape A4 or A3, and on every page the searchable title, row captions and bar captions.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/text.h"
#include "db/command.h"
#include "e2e/program_copy.h"
#include "generator/demo_generator.h"
#include "startup/main_form_load.h"
#include "support/run_program.h"
#include "ui/chart_painter.h"
#include "ui/chart_pdf.h"

namespace velmora::test {
namespace {

QGuiApplication& App() {
  static int argc = 1;
  static char name[] = "velmora_e2e_tests";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  return *app;
}

// A poppler tool from PATH; the tests fail without it rather than pass unchecked.
std::string Tool(const std::string& name) {
  std::stringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
  for (std::string dir; std::getline(path, dir, ':');) {
    const std::filesystem::path candidate = std::filesystem::path(dir) / name;
    if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  ADD_FAILURE() << name << " is missing: scripts/install-deps installs poppler-utils";
  return "/nonexistent/" + name;
}

// The text of each page, as pdftotext lays it out.
std::vector<std::string> PageTexts(const std::string& pdf) {
  const ProgramRun run = RunProgram(Tool("pdftotext"), {"-layout", "-enc", "UTF-8", pdf, "-"});
  EXPECT_EQ(0, run.status) << run.err;
  std::vector<std::string> pages;
  std::stringstream all(run.out);
  for (std::string page; std::getline(all, page, '\f');) pages.push_back(page);
  if (!pages.empty() && pages.back().find_first_not_of(" \n") == std::string::npos)
    pages.pop_back();  // after the last form feed
  return pages;
}

class ExportPdf : public ::testing::Test {
 protected:
  ExportPdf() {
    App();
    demo::DemoOptions options;  // the fixed demo: data from 2024/04/01
    demo::GenerateDemoDatabase(dbPath, options);
    program.Settings(dbPath, options.plantCode);
    connection.OpenFile(dbPath);
    command.ActiveConnection = &connection;
    data.PlantCode = 3;
    data.CategoryCode = "3";
    data.CategoryCaption = "03 成形";
    data.SetPeriod("2024/05/01", "2024/05/28");
    LoadMainForm(data, chart, command);  // week mode, as the export loads it
  }

  ProgramRun Export(const std::string& pdf, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--export-pdf", pdf,        "--from",     "20240501",
                                     "--to",         "20240528", "--category", "3"};
    args.insert(args.end(), more.begin(), more.end());
    return RunProgram(program.executable(), args);
  }

  std::string Info(const std::string& pdf) {
    const ProgramRun run = RunProgram(Tool("pdfinfo"), {pdf});
    EXPECT_EQ(0, run.status) << run.err;
    return run.out;
  }

  ProgramCopy program;
  std::string dbPath = program.File("demo.db");
  db::Connection connection;
  db::Command command;
  PlanData data;
  chart::ChartModel chart;
};
