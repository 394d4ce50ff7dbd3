#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "chart/chart_model.h"
#include "common/questions.h"
#include "db/connection.h"
#include "plandata/plan_data.h"
#include "yes_to_all.h"

namespace velmora::bench {

// The numbering row new members are numbered from.
inline const std::string kNumberKey = std::string("手配番号") + std::string(12, ' ');

// The generated plant loaded once as the window loads it. `pristine` is not written after the
// load; every run writes a fresh copy of it.
struct Plant {
  Plant();
  ~Plant();

  // A fresh working copy of the generated file, opened as the program opens it.
  db::Connection& Fresh();

  YesToAll yes;
  std::string folder;
  std::string pristine;
  std::string work;
  PlanData loaded;
  chart::ChartModel model;
  std::set<std::int32_t> withRequirements;  // arrangements that have requirement rows
  db::Connection connection;                // on `work`
};

Plant& ThePlant();

// Loads the molding category of the generated plant over its whole span into `loaded` and
// `model`, as the window does, and names the arrangements that have requirement rows.
void LoadForSave(db::Connection& loader, PlanData& loaded, chart::ChartModel& model,
                 std::set<std::int32_t>& withRequirements, Questions& questions);

struct Case {
  PlanData data;  // the loaded tables with the case's entries changed
  int entries = 0;
  int slots = 0;  // member slots the save writes
  bool verified = false;
};

// `count` entries of `loaded` spread evenly over the table, each moved a day later onto another
// machine; with `split`, each also gains a member taking half the quantity of its arrangement,
// which has requirement rows to copy (`withRequirements` names those).
Case MoveEntries(const PlanData& loaded, const std::set<std::int32_t>& withRequirements, int count,
                 bool split);

// The case of `count` entries on the generated file's plant. Made once per case.
Case& TheCase(int count, bool split);

}  // namespace velmora::bench
