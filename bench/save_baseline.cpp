#include "save_baseline.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/date_text.h"
#include "common/format.h"
#include "common/numeric.h"
#include "common/text.h"
#include "db/connection.h"
#include "db/sqlite_statement.h"
#include "plandata/blank_codes.h"
#include "prepared_statement.h"
#include "save_plant.h"

namespace velmora::bench {

namespace {

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
      row = CopySource(slot);
      requirementOwner = slot.OrderNo;
      if (previousSource != 0 && row.parent == previousSource) Unmirrored("chained new members");
      CopyRequirements(s, slot.OrderNo);
    } else if (!found) {
      return;
    }
    ChooseDestination(entry);

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
    BindColumns(write, adding ? insertPositions_ : updatePositions_, entry, slot, confirm, plant);
    if (!adding) write.Int(static_cast<int>(kWritten.size() + 1), a);
    write.Run();
  }

  // A new member: the insert takes every column of its source and a fresh number.
  Row CopySource(Member& slot) {
    source_.Int(1, slot.SourceOrderNo);
    if (!source_.Step()) {
      throw std::runtime_error("no source arrangement " + std::to_string(slot.SourceOrderNo));
    }
    for (int c = 0; c < sqlite3_column_count(source_.get()); ++c)
      sqlite3_bind_value(insert_->get(), c + 1, sqlite3_column_value(source_.get(), c));
    const Row row = ReadRow(source_, parentColumn_, itemColumn_, seqColumn_);
    source_.Reset();
    const std::int32_t number = AllocateNumber();
    insert_->Text(issueColumn_ + 1, "00000000");
    insert_->Int(receivedColumn_ + 1, 0);
    insert_->Int(numberColumn_ + 1, number);
    slot.OrderNo = number;
    slot.SourceOrderNo = 0;
    return row;
  }

  void ChooseDestination(PlanEntry& entry) {
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
  }

  void BindColumns(Statement& write, const std::array<int, 22>& at, const PlanEntry& entry,
                   const Member& slot, const std::string& confirm, std::int64_t plant) {
    write.Text(at[0], "3");
    write.Text(at[1], "1");
    write.Text(at[2], " ");
    write.Text(at[3], confirm);
    write.Int(at[4], plant);
    write.Text(at[5], entry.FixedFlag);
    for (int k = 6; k <= 9; ++k) write.Real(at[static_cast<std::size_t>(k)], 0.0);
    write.Text(at[10], CharCount(entry.MachineCode) == 1 ? kNoMachine : entry.MachineCode);
    write.Text(at[11], entry.DestinationCode);
    write.Int(at[12], slot.OrderQty);
    write.Text(at[13], slot.ItemCode);
    write.Text(at[14], StoredDate(entry.StartDate));
    write.Text(at[15], FormatHms(entry.StartTime));
    write.Text(at[16], StoredDate(entry.EndDate));
    write.Text(at[17], FormatHms(entry.EndTime));
    write.Text(at[18], StoredDate(entry.InitialDueDate));
    write.Int(at[19], entry.DurationMinutes);
    write.Int(at[20], entry.SetupMinutes);
    write.Int(at[21], entry.Workers);
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

}  // namespace

void SaveWithPreparedStatements(sqlite3* db, PlanData& data) {
  RawSave(db, data).Run();
}

}  // namespace velmora::bench
