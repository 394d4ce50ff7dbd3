// Saving on the large generated plant (about 20,000 plans on 100 machines): 1,000 and 10,000
// entries moved to another machine and a day later, and 1,000 moved entries that each gain a
// member split off their own arrangement (a new number, a copy of the row and of its
// requirement rows). Each save is measured against a baseline that does the same reads and
// writes with statements prepared once, in one transaction; before a baseline is timed, both
// write once from the same start and must leave the same tables.
// Every iteration starts from a copy of the generated file and of the loaded tables, both made
// outside the timing.
// Targets: the plain save within 1.3 times its baseline, with new members within 1.5 times; the
// check of other programs' changes at most a tenth of the save; 10,000 entries about ten times
// 1,000.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/main_form_load.h"
#include "common/date_text.h"
#include "common/format.h"
#include "common/msgbox.h"
#include "common/numeric.h"
#include "common/text.h"
#include "db/command.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "generator/demo_generator.h"
#include "plandata/blank_codes.h"
#include "saving/others_changes.h"
#include "saving/plan_save.h"

namespace {

using namespace velmora;
namespace fs = std::filesystem;

// Every question answered Yes (mold conflicts are kept), every message taken in silence.
class YesToAll : public ui::MessageBoxes {
 public:
  ui::Answer Show(std::string_view, int style, std::string_view) override {
    return (style & 7) == ui::kYesNo ? ui::Answer::Yes : ui::Answer::Ok;
  }
};

const std::string kNumberKey = std::string("手配番号") + std::string(12, ' ');

// The generated plant loaded once as the window loads it. `pristine` is not written after the
// load; every run writes a fresh copy of it.
struct Plant {
  Plant() {
    char dir[] = "/tmp/velmora-bench-XXXXXX";
    folder = mkdtemp(dir);
    pristine = folder + "/plant.db";
    work = folder + "/work.db";
    demo::DemoOptions options;
    options.machines = 100;
    options.arrangements = 40000;
    demo::GenerateDemoDatabase(pristine, options);
    ui::InstallMessageBoxes(&yes);

    db::Connection loader;
    loader.OpenFile(pristine);
    // New members are numbered from this row; a file without it would stop the save at once.
    loader.ExecuteScript(
        "INSERT OR IGNORE INTO 番号管理マスタ (番号管理キー,現在番号,開始番号,終了番号) SELECT '" +
        kNumberKey + "',MAX(手配番号),1,9999999 FROM 手配情報");
    db::Command command;
    command.ActiveConnection = &loader;
    loaded.PlantCode = 3;
    loaded.CategoryCode = "3";
    loaded.CategoryCaption = "03 成形";
    loaded.SetPeriod("2024/04/01", "2024/06/29");
    LoadMainForm(loaded, model, command);
    db::Recordset parents;
    parents.Open("SELECT DISTINCT 上位手配番号 FROM 所要量情報", loader);
    for (; !parents.Eof(); parents.MoveNext()) withRequirements.insert(parents.Fields(0).Int32());
  }  // closing the connection folds its journal back into the file, so one file is the copy
  ~Plant() {
    connection = db::Connection();
    fs::remove_all(folder);
  }

  // A fresh working copy of the generated file, opened as the program opens it.
  db::Connection& Fresh() {
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

  YesToAll yes;
  std::string folder;
  std::string pristine;
  std::string work;
  PlanData loaded;
  chart::ChartModel model;
  std::set<std::int32_t> withRequirements;  // arrangements that have requirement rows
  db::Connection connection;                // on `work`
};

Plant& ThePlant() {
  static Plant plant;
  return plant;
}

// ---- The cases ----

struct Case {
  PlanData data;  // the loaded tables with the case's entries changed
  int entries = 0;
  int slots = 0;  // member slots the save writes
  bool verified = false;
};

// `count` entries spread evenly over the table, each moved a day later onto another machine;
// with `split`, each also gains a member taking half the quantity of its arrangement, which
// has requirement rows to copy.
Case MakeCase(int count, bool split) {
  const Plant& plant = ThePlant();
  Case c{plant.loaded};
  PlanData& data = c.data;
  std::vector<int> eligible;
  for (int i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& e = data.PlanTable[static_cast<std::size_t>(i)];
    if (e.InUse <= 0 || e.Hidden != 0 || e.A.Stored() + e.B.Stored() != 1) continue;
    const Member& m = e.A.Stored() == 1 ? e.A[1] : e.B[1];
    if (m.OrderNo <= 0 || m.OrderQty <= 0 || m.ItemCode.empty()) continue;
    if (split && (m.OrderQty < 2 || !plant.withRequirements.count(m.OrderNo))) continue;
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
  if (it == cases.end()) it = cases.emplace(std::pair{count, split}, MakeCase(count, split)).first;
  return it->second;
}

// ---- The baseline: the save's reads and writes with statements prepared once ----

class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) : db_(db), stmt_(db::Prepare(db, sql)) {}

  sqlite3_stmt* get() const { return stmt_.get(); }
  void Int(int position, std::int64_t v) { Check(sqlite3_bind_int64(get(), position, v)); }
  void Real(int position, double v) { Check(sqlite3_bind_double(get(), position, v)); }
  void Text(int position, const std::string& v) {
    Check(
        sqlite3_bind_text(get(), position, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
  }
  // True on a row, false at the end.
  bool Step() {
    const int rc = sqlite3_step(get());
    if (rc == SQLITE_ROW) return true;
    Check(rc == SQLITE_DONE ? SQLITE_OK : rc);
    return false;
  }
  void Run() {
    Step();
    Reset();
  }
  void Reset() { sqlite3_reset(get()); }

  std::int64_t ColumnInt(int c) const { return sqlite3_column_int64(get(), c); }
  double ColumnReal(int c) const { return sqlite3_column_double(get(), c); }
  bool ColumnNull(int c) const { return sqlite3_column_type(get(), c) == SQLITE_NULL; }
  std::string ColumnText(int c) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(get(), c));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(get(), c)))
                : std::string();
  }
  int Column(const std::string& name) const {
    for (int c = 0; c < sqlite3_column_count(get()); ++c) {
      if (name == sqlite3_column_name(get(), c)) return c;
    }
    throw std::logic_error("no column " + name);
  }

 private:
  void Check(int rc) { db::Check(db_, rc, sqlite3_sql(get())); }
  sqlite3* db_;
  db::StatementPtr stmt_;
};

std::string StoredDate(DateTime date) {
  return date.IsZero() ? "00000000" : FormatYmd(date);
}

// A path of the save this baseline does not take; the cases never lead there.
[[noreturn]] void Unmirrored(const char* what) {
  throw std::logic_error(std::string("the baseline does not mirror ") + what);
}

// The arrangement columns every written slot sets, in this order.
constexpr std::array<const char*, 22> kWritten = {"手配区分",       "社内社外区分",
                                                  "仕入区分",       "手配確定区分",
                                                  "生産工場コード", "スケジューラ固定区分",
                                                  "単価",           "金額",
                                                  "消費税額",       "合計金額",
                                                  "機械コード",     "指示先コード",
                                                  "手配数",         "品名コード",
                                                  "開始日",         "GNT開始時刻",
                                                  "納期",           "GNT終了時刻",
                                                  "GNT初期納期",    "GNT所要時間（分）",
                                                  "段取時間",       "必要人員"};

std::string UpdateText() {
  std::string sql = "UPDATE 手配情報 SET ";
  for (std::size_t k = 0; k < kWritten.size(); ++k)
    sql += (k ? ",\"" : "\"") + std::string(kWritten[k]) + "\"=?";
  return sql + " WHERE 手配番号=?";
}

class RawSave {
 public:
  RawSave(sqlite3* db, PlanData& data) : db_(db), data_(data) {
    for (std::size_t k = 0; k < kWritten.size(); ++k) {
      updatePositions_[k] = static_cast<int>(k + 1);
      insertPositions_[k] = source_.Column(kWritten[k]) + 1;
    }
    parentColumn_ = source_.Column("上位手配番号");
    itemColumn_ = source_.Column("品名コード");
    seqColumn_ = source_.Column("順序");
    numberColumn_ = source_.Column("手配番号");
    issueColumn_ = source_.Column("指示書発行日");
    receivedColumn_ = source_.Column("受入実績数");
    std::string marks;
    for (int c = 0; c < sqlite3_column_count(source_.get()); ++c) marks += c ? ",?" : "?";
    insert_.emplace(db_, "INSERT INTO 手配情報 VALUES (" + marks + ")");
    machineDestination_ = machine_.Column("指示先コード");
    supplierKind_ = supplier_.Column("仕入先分類");
  }

  void Run() {
    Exec("BEGIN IMMEDIATE");
    for (int i = 2; i <= data_.PlanCount(); ++i) {
      PlanEntry& entry = data_.PlanTable[static_cast<std::size_t>(i)];
      if (entry.Changed == 0) continue;
      for (MemberGroup* group : {&entry.A, &entry.B}) {
        std::int32_t previousSource = 0;
        for (int k = 1; k <= group->Stored(); ++k) {
          Member& slot = group->Slot(k);
          const std::int32_t source = slot.SourceOrderNo;
          if (slot.OrderNo != 0) Write(entry, slot, previousSource);
          previousSource = source;
        }
      }
      entry.Changed = 0;
    }
    Exec("COMMIT");
  }

 private:
  // What the rest of a slot reads from its arrangement row.
  struct Row {
    std::int64_t parent = 0;
    std::string item;
    std::int64_t seq = 0;
  };

  void Exec(const char* sql) {
    db::Check(db_, sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), sql);
  }

  Row ReadRow(const Statement& s, int parent, int item, int seq) {
    return Row{s.ColumnInt(parent), s.ColumnText(item), s.ColumnInt(seq)};
  }

  void Write(PlanEntry& entry, Member& slot, std::int32_t previousSource) {
    const std::int32_t a = slot.OrderNo;
    const std::int32_t s = slot.SourceOrderNo;
    const std::int32_t q = slot.OrderQty;
    if (q == 0 || entry.Hidden == 1 || slot.ItemCode.empty()) Unmirrored("these slot values");

    Row row;
    std::int32_t requirementOwner = a;  // a new row's quantities are those of its copies
    arrangement_.Int(1, a);
    const bool found = arrangement_.Step();
    if (found) row = ReadRow(arrangement_, parentColumn_, itemColumn_, seqColumn_);
    arrangement_.Reset();
    const bool adding = s != 0;
    if (adding) {
      if (a > 0) Unmirrored("a source on a stored arrangement");
      source_.Int(1, s);
      if (!source_.Step()) throw std::runtime_error("no source arrangement " + std::to_string(s));
      // The copy takes every column of its source.
      for (int c = 0; c < sqlite3_column_count(source_.get()); ++c)
        sqlite3_bind_value(insert_->get(), c + 1, sqlite3_column_value(source_.get(), c));
      row = ReadRow(source_, parentColumn_, itemColumn_, seqColumn_);
      source_.Reset();
      const std::int32_t number = AllocateNumber();
      insert_->Text(issueColumn_ + 1, "00000000");
      insert_->Int(receivedColumn_ + 1, 0);
      insert_->Int(numberColumn_ + 1, number);
      slot.OrderNo = number;
      slot.SourceOrderNo = 0;
      requirementOwner = number;
      if (previousSource != 0 && row.parent == previousSource) Unmirrored("chained new members");
      CopyRequirements(s, number);
    } else if (!found) {
      return;
    }

    if (!IsBlank(entry.MachineCode) || IsBlank(entry.DestinationCode)) {
      machine_.Text(1, entry.MachineCode);
      if (machine_.Step()) {
        if (!machine_.ColumnNull(machineDestination_)) {
          std::string destination = machine_.ColumnText(machineDestination_);
          if (!IsBlank(destination)) entry.DestinationCode = std::move(destination);
        }
        machine_.Reset();
      } else {
        machine_.Reset();
        if (auto section = FirstSection(data_.PlantCode)) entry.DestinationCode = *section;
      }
    }
    if (CharCount(entry.DestinationCode) == 1 && entry.DestinationCode[0] >= '0' &&
        entry.DestinationCode[0] <= '9') {
      if (auto section = FirstSection(entry.DestinationCode[0] - '0')) {
        entry.DestinationCode = *section;
        entry.MachineCode = kNoMachine;
      }
    }

    // Classification by the destination: the in-house path.
    supplier_.Text(1, entry.DestinationCode);
    const bool supplied = supplier_.Step();
    const std::string kind = supplied ? supplier_.ColumnText(supplierKind_) : "";
    supplier_.Reset();
    if (kind != "1") Unmirrored("destinations other than an in-house section");
    const bool onMachine = entry.MachineCode != kNoMachine && CharCount(entry.MachineCode) != 1;
    const std::string confirm = onMachine ? "2" : "1";
    const std::int64_t plant = onMachine
                                   ? data_.PlantCode
                                   : static_cast<std::int64_t>(Val(Left(entry.DestinationCode, 2)));
    SetFirstSupplyControl(a, "3");
    parentKind_.Int(1, row.parent);
    const std::string parentKind = parentKind_.Step() ? parentKind_.ColumnText(0) : "";
    parentKind_.Reset();
    SetFirstSupplyControl(row.parent, parentKind != "3" ? "1" : "3");

    RequirementQuantities(requirementOwner, q, confirm, plant);
    CycleMaster(entry, row);

    Statement& write = adding ? *insert_ : update_;
    const std::array<int, 22>& at = adding ? insertPositions_ : updatePositions_;
    write.Text(at[0], "3");
    write.Text(at[1], "1");
    write.Text(at[2], " ");
    write.Text(at[3], confirm);
    write.Int(at[4], plant);
    write.Text(at[5], entry.FixedFlag);
    for (int k = 6; k <= 9; ++k) write.Real(at[static_cast<std::size_t>(k)], 0.0);
    write.Text(at[10], CharCount(entry.MachineCode) == 1 ? kNoMachine : entry.MachineCode);
    write.Text(at[11], entry.DestinationCode);
    write.Int(at[12], q);
    write.Text(at[13], slot.ItemCode);
    write.Text(at[14], StoredDate(entry.StartDate));
    write.Text(at[15], FormatHms(entry.StartTime));
    write.Text(at[16], StoredDate(entry.EndDate));
    write.Text(at[17], FormatHms(entry.EndTime));
    write.Text(at[18], StoredDate(entry.InitialDueDate));
    write.Int(at[19], entry.DurationMinutes);
    write.Int(at[20], entry.SetupMinutes);
    write.Int(at[21], entry.Workers);
    if (!adding) write.Int(static_cast<int>(kWritten.size() + 1), a);
    write.Run();
  }

  std::int32_t AllocateNumber() {
    numbering_.Text(1, kNumberKey);
    if (!numbering_.Step()) Unmirrored("a missing numbering row");
    const std::int64_t rowid = numbering_.ColumnInt(0);
    const auto number = static_cast<std::int32_t>(numbering_.ColumnReal(1) + 1);
    numbering_.Reset();
    nextNumber_.Int(1, number);
    nextNumber_.Int(2, rowid);
    nextNumber_.Run();
    return number;
  }

  void CopyRequirements(std::int32_t source, std::int32_t number) {
    requirementRows_.Int(1, source);
    while (requirementRows_.Step()) {
      for (int c = 0; c < sqlite3_column_count(requirementRows_.get()); ++c) {
        sqlite3_bind_value(insertRequirement_.get(), c + 1,
                           sqlite3_column_value(requirementRows_.get(), c));
      }
      insertRequirement_.Int(1, number);  // 上位手配番号 is the first column
      insertRequirement_.Run();
    }
    requirementRows_.Reset();
  }

  void SetFirstSupplyControl(std::int64_t parent, const char* value) {
    firstRequirement_.Int(1, parent);
    const bool found = firstRequirement_.Step();
    const std::int64_t rowid = found ? firstRequirement_.ColumnInt(0) : 0;
    firstRequirement_.Reset();
    if (!found) return;
    supplyControl_.Text(1, value);
    supplyControl_.Int(2, rowid);
    supplyControl_.Run();
  }

  void RequirementQuantities(std::int32_t a, std::int32_t q, const std::string& confirm,
                             std::int64_t plant) {
    quantities_.clear();
    requirementUnits_.Int(1, a);
    while (requirementUnits_.Step()) {
      const double numerator = requirementUnits_.ColumnReal(1);
      const double denominator = requirementUnits_.ColumnReal(2);
      const double scaled = denominator != 0 ? q * 1000.0 * numerator / denominator + 0.5
                                             : q * 1000.0 * numerator + 0.5;
      quantities_.push_back({requirementUnits_.ColumnInt(0), std::trunc(scaled) / 1000});
    }
    requirementUnits_.Reset();
    for (const auto& [rowid, required] : quantities_) {
      requirement_.Real(1, required);
      requirement_.Text(2, confirm);
      requirement_.Int(3, plant);
      requirement_.Int(4, rowid);
      requirement_.Run();
    }
  }

  void CycleMaster(const PlanEntry& entry, const Row& row) {
    if (entry.CycleSeconds == 0 || IsBlank(entry.MachineCode)) return;
    cycle_.Text(1, row.item);
    cycle_.Int(2, row.seq);
    cycle_.Text(3, entry.MachineCode);
    const bool found = cycle_.Step();
    const std::int64_t rowid = found ? cycle_.ColumnInt(0) : 0;
    cycle_.Reset();
    const float shots = entry.Cavities != 0 ? static_cast<float>(entry.Cavities) : 1.0f;
    if (!found) {
      newCycle_.Text(1, row.item);
      newCycle_.Int(2, row.seq);
      newCycle_.Text(3, entry.MachineCode);
      newCycle_.Real(4, static_cast<double>(entry.CycleSeconds * shots));
      newCycle_.Run();
      return;
    }
    cycleUpdate_.Real(1, static_cast<double>(entry.CycleSeconds * shots));
    cycleUpdate_.Int(2, rowid);
    cycleUpdate_.Run();
  }

  std::optional<std::string> FirstSection(int department) {
    section_.Int(1, department);
    std::optional<std::string> code;
    if (section_.Step()) {
      code = FormatNumber(section_.ColumnInt(0), "00") + FormatNumber(section_.ColumnInt(1), "00") +
             kNoMachine;
    }
    section_.Reset();
    return code;
  }

  sqlite3* db_;
  PlanData& data_;
  Statement arrangement_{db_, "SELECT * FROM 手配情報 WHERE 手配番号=?"};
  Statement source_{db_, "SELECT * FROM 手配情報 WHERE 手配番号=?"};
  std::optional<Statement> insert_;
  Statement update_{db_, UpdateText()};
  Statement machine_{db_, "SELECT * FROM 機械マスタ WHERE 機械コード=?"};
  Statement section_{db_,
                     "SELECT 部コード,課コード FROM 部課マスタ WHERE 部コード=? AND 課コード<>0 "
                     "ORDER BY 課コード"};
  Statement supplier_{db_, "SELECT * FROM 仕入先マスタ WHERE 仕入先コード=?"};
  Statement parentKind_{db_, "SELECT 手配区分 FROM 手配情報 WHERE 手配番号=?"};
  Statement firstRequirement_{db_, "SELECT _rowid_ FROM 所要量情報 WHERE 上位手配番号=?"};
  Statement supplyControl_{db_, "UPDATE 所要量情報 SET 支給制御区分=? WHERE _rowid_=?"};
  Statement requirementUnits_{
      db_, "SELECT _rowid_,原単位分子,原単位分母 FROM 所要量情報 WHERE 上位手配番号=?"};
  Statement requirement_{
      db_, "UPDATE 所要量情報 SET 必要数=?,確定区分=?,生産工場コード=? WHERE _rowid_=?"};
  Statement requirementRows_{db_, "SELECT * FROM 所要量情報 WHERE 上位手配番号=?"};
  Statement insertRequirement_{db_, "INSERT INTO 所要量情報 VALUES (?,?,?,?,?,?,?,?,?)"};
  Statement cycle_{db_,
                   "SELECT _rowid_ FROM 品目別機械別ｻｲｸﾙﾏｽﾀ WHERE 品名コード=? AND 順序=? AND "
                   "機械コード=?"};
  Statement newCycle_{
      db_,
      "INSERT INTO 品目別機械別ｻｲｸﾙﾏｽﾀ (削除フラグ,品名コード,順序,機械コード,サイクル) "
      "VALUES ('0',?,?,?,?)"};
  Statement cycleUpdate_{
      db_, "UPDATE 品目別機械別ｻｲｸﾙﾏｽﾀ SET 削除フラグ='0',サイクル=? WHERE _rowid_=?"};
  Statement numbering_{db_, "SELECT _rowid_,現在番号 FROM 番号管理マスタ WHERE 番号管理キー=?"};
  Statement nextNumber_{db_, "UPDATE 番号管理マスタ SET 現在番号=? WHERE _rowid_=?"};

  std::array<int, 22> updatePositions_{};
  std::array<int, 22> insertPositions_{};
  int parentColumn_ = 0, itemColumn_ = 0, seqColumn_ = 0, numberColumn_ = 0, issueColumn_ = 0,
      receivedColumn_ = 0, machineDestination_ = 0, supplierKind_ = 0;
  std::vector<std::pair<std::int64_t, double>> quantities_;
};

// ---- Running and comparing ----

void Save(PlanData& data, db::Connection& connection) {
  saving::SaveContext ctx{data, ThePlant().model, connection, "bench001",
                          DateTime::FromDate(2024, 4, 1) + DateTime::FromTime(9, 0, 0)};
  if (saving::SavePlan(ctx) != saving::SaveResult::Complete)
    throw std::runtime_error("the save did not complete");
}

void Baseline(PlanData& data, db::Connection& connection) {
  RawSave(connection.Handle(), data).Run();
}

// A digest of every table a save writes, rowids and stored types included.
std::uint64_t Digest(db::Connection& connection) {
  std::uint64_t hash = 14695981039346656037ull;
  const auto mix = [&](const void* bytes, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) {
      hash ^= static_cast<const unsigned char*>(bytes)[k];
      hash *= 1099511628211ull;
    }
  };
  for (const char* table : {"手配情報", "所要量情報", "品目別機械別ｻｲｸﾙﾏｽﾀ", "番号管理マスタ"}) {
    const db::StatementPtr stmt = db::Prepare(
        connection.Handle(), std::string("SELECT _rowid_,* FROM ") + table + " ORDER BY _rowid_");
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
      for (int c = 0; c < sqlite3_column_count(stmt.get()); ++c) {
        const int type = sqlite3_column_type(stmt.get(), c);
        mix(&type, sizeof type);
        if (type == SQLITE_INTEGER) {
          const std::int64_t v = sqlite3_column_int64(stmt.get(), c);
          mix(&v, sizeof v);
        } else if (type == SQLITE_FLOAT) {
          const double v = sqlite3_column_double(stmt.get(), c);
          mix(&v, sizeof v);
        } else if (type != SQLITE_NULL) {
          mix(sqlite3_column_blob(stmt.get(), c),
              static_cast<std::size_t>(sqlite3_column_bytes(stmt.get(), c)));
        }
      }
    }
  }
  return hash;
}

// Both writers once from the same start: the baseline is only worth comparing when it leaves
// exactly the tables the save leaves.
std::optional<std::string> Disagreement(const Case& c) {
  Plant& plant = ThePlant();
  const std::uint64_t before = Digest(plant.Fresh());
  PlanData data = c.data;
  Save(data, plant.Fresh());
  const std::uint64_t saved = Digest(plant.connection);
  data = c.data;
  Baseline(data, plant.Fresh());
  const std::uint64_t raw = Digest(plant.connection);
  if (saved == before) return "the save wrote nothing";
  if (saved != raw) return "the baseline leaves other tables than the save";
  return std::nullopt;
}

// Milliseconds per run of each benchmark so far, for the ratios.
std::map<std::string, double>& Results() {
  static std::map<std::string, double> results;
  return results;
}

using Clock = std::chrono::steady_clock;

// Times one `write` per iteration, each on a fresh copy of the file and of the tables.
template <typename Write>
double MillisecondsPerRun(benchmark::State& state, const Case& c, Write write) {
  Plant& plant = ThePlant();
  PlanData data;
  Clock::duration total{};
  for (auto _ : state) {
    state.PauseTiming();
    data = c.data;  // the previous copy goes here, outside the timing
    db::Connection& connection = plant.Fresh();
    state.ResumeTiming();
    const Clock::time_point start = Clock::now();
    write(data, connection);
    total += Clock::now() - start;
  }
  return std::chrono::duration<double, std::milli>(total).count() /
         static_cast<double>(state.iterations());
}

std::string Key(const char* writer, int count, bool split) {
  return std::string(writer) + "/" + std::to_string(count) + (split ? "+split" : "");
}

void Report(benchmark::State& state, const Case& c, const char* writer, double ms, bool split) {
  Results()[Key(writer, c.entries, split)] = ms;
  state.counters["entries"] = c.entries;
  state.counters["slots"] = c.slots;
  state.counters["us_per_slot"] = ms * 1000 / c.slots;
  const auto& results = Results();
  if (auto it = results.find(Key("save", c.entries, split));
      writer != std::string("save") && it != results.end()) {
    state.counters["save_ratio"] = it->second / ms;
  }
  if (auto it = results.find(Key(writer, 1000, split)); c.entries != 1000 && it != results.end())
    state.counters["growth"] = ms / it->second;
}

void BM_Save(benchmark::State& state, int count, bool split) {
  try {
    const Case& c = TheCase(count, split);
    Report(state, c, "save", MillisecondsPerRun(state, c, Save), split);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

void BM_RawSqlite(benchmark::State& state, int count, bool split) {
  try {
    Case& c = TheCase(count, split);
    if (!c.verified) {
      if (auto problem = Disagreement(c)) {
        state.SkipWithError(problem->c_str());
        return;
      }
      c.verified = true;
    }
    Report(state, c, "raw", MillisecondsPerRun(state, c, Baseline), split);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

// The same save without comparing the rows it writes over with what the load read and without
// reading them back as stored: `check_share` is what that comparison adds to the save.
void SaveUnchecked(PlanData& data, db::Connection& connection) {
  saving::SaveContext ctx{data, ThePlant().model, connection, "bench001",
                          DateTime::FromDate(2024, 4, 1) + DateTime::FromTime(9, 0, 0)};
  ctx.checkOthers = false;
  if (saving::SavePlan(ctx) != saving::SaveResult::Complete)
    throw std::runtime_error("the save did not complete");
}

void BM_SaveUnchecked(benchmark::State& state, int count, bool split) {
  try {
    const Case& c = TheCase(count, split);
    const double ms = MillisecondsPerRun(state, c, SaveUnchecked);
    if (auto it = Results().find(Key("save", c.entries, split)); it != Results().end()) {
      state.counters["check_share"] = (it->second - ms) / it->second;
    }
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

// The largest part of that comparison on its own: reading back, after the writes, the rows the
// save wrote, so that they count as read. `share_of_save` is its part of the save.
void ReadBack(PlanData& data, db::Connection& connection) {
  std::vector<std::int32_t> numbers;
  for (int i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& e = data.PlanTable[static_cast<std::size_t>(i)];
    if (e.Changed == 0) continue;
    for (const MemberGroup* group : {&e.A, &e.B}) {
      for (int k = 1; k <= group->Stored(); ++k) {
        if ((*group)[k].OrderNo > 0) numbers.push_back((*group)[k].OrderNo);
      }
    }
  }
  if (saving::ArrangementVersions(connection, numbers).size() != numbers.size())
    throw std::runtime_error("rows missing");
}

void BM_ReadBack(benchmark::State& state, int count, bool split) {
  try {
    const Case& c = TheCase(count, split);
    const double ms = MillisecondsPerRun(state, c, ReadBack);
    if (auto it = Results().find(Key("save", c.entries, split)); it != Results().end()) {
      state.counters["share_of_save"] = ms / it->second;
    }
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

// Each save followed by its baseline, at least three seconds of each: the commit's disk writes
// vary from run to run.
const bool registered = [] {
  for (const auto& [name, count, split] :
       {std::tuple{"1000_moved", 1000, false}, std::tuple{"10000_moved", 10000, false},
        std::tuple{"1000_moved_with_new_member", 1000, true}}) {
    for (const auto& [writer, run] :
         {std::pair{"BM_Save/", &BM_Save}, std::pair{"BM_RawSqlite/", &BM_RawSqlite},
          std::pair{"BM_SaveUnchecked/", &BM_SaveUnchecked},
          std::pair{"BM_ReadBack/", &BM_ReadBack}}) {
      benchmark::RegisterBenchmark((writer + std::string(name)).c_str(), run, count, split)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->MinTime(3);
    }
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
