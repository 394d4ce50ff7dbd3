#include "save_plant.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

#include "db/command.h"
#include "db/recordset.h"
#include "generator/demo_generator.h"
#include "startup/main_form_load.h"

namespace velmora::bench {

namespace fs = std::filesystem;

Plant::Plant() {
  char dir[] = "/tmp/velmora-bench-XXXXXX";
  folder = mkdtemp(dir);
  pristine = folder + "/plant.db";
  work = folder + "/work.db";
  demo::DemoOptions options;
  options.machines = 100;
  options.arrangements = 40000;
  demo::GenerateDemoDatabase(pristine, options);

  db::Connection loader;
  loader.OpenFile(pristine);
  // New members are numbered from this row; a file without it would stop the save at once.
  loader.ExecuteScript(
      "INSERT OR IGNORE INTO 番号管理マスタ (番号管理キー,現在番号,開始番号,終了番号) SELECT '" +
      kNumberKey + "',MAX(手配番号),1,9999999 FROM 手配情報");
  LoadForSave(loader, loaded, model, withRequirements, yes);
}  // closing the connection folds its journal back into the file, so one file is the copy

void LoadForSave(db::Connection& loader, PlanData& loaded, chart::ChartModel& model,
                 std::set<std::int32_t>& withRequirements, Questions& questions) {
  db::Command command;
  command.ActiveConnection = &loader;
  loaded.PlantCode = 3;
  loaded.CategoryCode = "3";
  loaded.CategoryCaption = "03 成形";
  loaded.SetPeriod("2024/04/01", "2024/06/29");
  model.FaultsTo = &questions;
  LoadMainForm(loaded, model, command, questions);
  db::Recordset parents;
  parents.Open("SELECT DISTINCT 上位手配番号 FROM 所要量情報", loader);
  for (; !parents.Eof(); parents.MoveNext()) withRequirements.insert(parents.Fields(0).Int32());
}

Plant::~Plant() {
  connection = db::Connection();
  fs::remove_all(folder);
}

db::Connection& Plant::Fresh() {
  connection = db::Connection();
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(work + suffix);
  fs::copy_file(pristine, work);
  // On disk before the timing starts: the save's commit must not pay for writing the copy.
  const int fd = ::open(work.c_str(), O_RDONLY);
  if (fd < 0 || ::fsync(fd) != 0) throw std::runtime_error("cannot sync " + work);
  ::close(fd);
  connection.OpenFile(work);
  return connection;
}

Plant& ThePlant() {
  static Plant plant;
  return plant;
}

Case MoveEntries(const PlanData& loaded, const std::set<std::int32_t>& withRequirements, int count,
                 bool split) {
  Case c{loaded};
  PlanData& data = c.data;
  std::vector<int> eligible;
  for (int i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& e = data.PlanTable[static_cast<std::size_t>(i)];
    if (e.InUse <= 0 || e.Hidden != 0 || e.A.Stored() + e.B.Stored() != 1) continue;
    const Member& m = e.A.Stored() == 1 ? e.A[1] : e.B[1];
    if (m.OrderNo <= 0 || m.OrderQty <= 0 || m.ItemCode.empty()) continue;
    if (split && (m.OrderQty < 2 || !withRequirements.count(m.OrderNo))) continue;
    eligible.push_back(i);
  }
  if (eligible.size() < static_cast<std::size_t>(count)) {
    throw std::runtime_error("the plant has only " + std::to_string(eligible.size()) +
                             " entries to change");
  }
  const int machines = data.MachineRowCount - 1;  // rows 2.. are the machines
  for (int j = 0; j < count; ++j) {
    PlanEntry& e = data.PlanTable[static_cast<std::size_t>(
        eligible[static_cast<std::size_t>(j) * eligible.size() / static_cast<std::size_t>(count)])];
    int row = 2 + j % machines;
    if (data.RowCode[static_cast<std::size_t>(row)] == e.MachineCode) row = 2 + (j + 1) % machines;
    e.MachineCode = data.RowCode[static_cast<std::size_t>(row)];
    e.StartDate = e.StartDate.AddDays(1);
    e.EndDate = e.EndDate.AddDays(1);
    e.Changed = 1;
    ++c.slots;
    if (!split) continue;
    MemberGroup& group = e.A.Stored() == 1 ? e.A : e.B;
    Member part = group[1];
    part.OrderNo = -(j + 1);
    part.SourceOrderNo = group[1].OrderNo;
    part.OrderQty = group[1].OrderQty / 2;
    group.Slot(1).OrderQty -= part.OrderQty;
    group.Slot(2) = part;
    ++c.slots;
  }
  c.entries = count;
  return c;
}

Case& TheCase(int count, bool split) {
  static std::map<std::pair<int, bool>, Case> cases;
  auto it = cases.find({count, split});
  if (it == cases.end())
    it = cases
             .emplace(std::pair{count, split},
                      MoveEntries(ThePlant().loaded, ThePlant().withRequirements, count, split))
             .first;
  return it->second;
}

}  // namespace velmora::bench
