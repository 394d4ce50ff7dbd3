#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "chart/chart_model.h"
#include "common/questions.h"
#include "db/command.h"
#include "db/connection.h"
#include "generator/demo_generator.h"
#include "plandata/plan_data.h"
#include "startup/main_form_load.h"

namespace velmora::bench {

// A generated plant and the period of category 3 that is loaded from it.
struct PlantSize {
  int machines;
  int arrangements;
  int days;  // of generated data; 0 for the generator's own
  const char* from;
  const char* to;
  // 100 machines, 40,000 arrangements: about 20,000 molding plans over one quarter.
  static PlantSize Large() { return {100, 40000, 0, "2024/04/01", "2024/06/29"}; }
  // 750 machines, 300,000 arrangements over 80 days: the busiest four weeks hold about 54,000
  // molding plans.
  static PlantSize Dense() { return {750, 300000, 80, "2024/04/22", "2024/05/19"}; }
};

// A generated plant in a scratch folder, loaded as the window loads it: category 3, week mode.
// `boxes` answers whatever the load and the benchmark ask.
struct LoadedPlant {
  explicit LoadedPlant(Questions& boxes, const PlantSize& size = PlantSize::Large())
      : questions(boxes) {
    char dir[] = "/tmp/velmora-bench-XXXXXX";
    path = std::string(mkdtemp(dir)) + "/plant.db";
    demo::DemoOptions options;
    options.machines = size.machines;
    options.arrangements = size.arrangements;
    if (size.days > 0) options.days = size.days;
    demo::GenerateDemoDatabase(path, options);
    connection.OpenFile(path);
    command.ActiveConnection = &connection;
    data.PlantCode = 3;
    data.CategoryCode = "3";
    data.CategoryCaption = "03 成形";
    data.SetPeriod(size.from, size.to);
    model.FaultsTo = &boxes;
    LoadMainForm(data, model, command, boxes);
  }
  ~LoadedPlant() { std::filesystem::remove_all(std::filesystem::path(path).parent_path()); }
  LoadedPlant(const LoadedPlant&) = delete;
  LoadedPlant& operator=(const LoadedPlant&) = delete;

  Questions& questions;
  std::string path;
  db::Connection connection;
  db::Command command;
  PlanData data;
  chart::ChartModel model;
};

}  // namespace velmora::bench
