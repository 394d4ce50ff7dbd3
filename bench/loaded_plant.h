#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "chart/chart_model.h"
#include "common/msgbox.h"
#include "db/command.h"
#include "db/connection.h"
#include "generator/demo_generator.h"
#include "plandata/plan_data.h"
#include "startup/main_form_load.h"

namespace velmora::bench {

// The large generated plant (100 machines, 40,000 arrangements, about 20,000 molding plans) in a
// scratch folder, loaded as the window loads it: category 3, one quarter, week mode. `boxes`
// answers whatever the load and the benchmark ask.
struct LoadedPlant {
  explicit LoadedPlant(ui::MessageBoxes& boxes) {
    char dir[] = "/tmp/velmora-bench-XXXXXX";
    path = std::string(mkdtemp(dir)) + "/plant.db";
    demo::DemoOptions options;
    options.machines = 100;
    options.arrangements = 40000;
    demo::GenerateDemoDatabase(path, options);
    connection.OpenFile(path);
    command.ActiveConnection = &connection;
    data.PlantCode = 3;
    data.CategoryCode = "3";
    data.CategoryCaption = "03 成形";
    data.SetPeriod("2024/04/01", "2024/06/29");
    ui::InstallMessageBoxes(&boxes);
    LoadMainForm(data, model, command);
  }
  ~LoadedPlant() { std::filesystem::remove_all(std::filesystem::path(path).parent_path()); }
  LoadedPlant(const LoadedPlant&) = delete;
  LoadedPlant& operator=(const LoadedPlant&) = delete;

  std::string path;
  db::Connection connection;
  db::Command command;
  PlanData data;
  chart::ChartModel model;
};

}  // namespace velmora::bench
