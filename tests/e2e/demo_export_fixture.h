#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <string>

#include "db/command.h"
#include "e2e/program_copy.h"
#include "generator/demo_generator.h"
#include "startup/main_form_load.h"
#include "support/scripted_messages.h"

namespace velmora::test {

// The program beside the fixed demo plant (data from 2024/04/01), and the chart an export of
// its molding category for 2024/05/01–05/28 loads, computed here from the same database.
class DemoExport : public ::testing::Test {
 protected:
  DemoExport() {
    static int argc = 1;
    static char name[] = "velmora_e2e_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
    demo::DemoOptions options;
    demo::GenerateDemoDatabase(dbPath, options);
    program.Settings(dbPath, options.plantCode);
  }

  // The week mode chart, as the export loads it.
  void LoadWeek() {
    connection.OpenFile(dbPath);
    command.ActiveConnection = &connection;
    data.PlantCode = 3;
    data.CategoryCode = "3";
    data.CategoryCaption = "03 成形";
    data.SetPeriod("2024/05/01", "2024/05/28");
    LoadMainForm(data, chart, command, test::TestQuestions());
  }

  ProgramCopy program;
  std::string dbPath = program.File("demo.db");
  db::Connection connection;
  db::Command command;
  PlanData data;
  chart::ChartModel chart;
};

}  // namespace velmora::test
