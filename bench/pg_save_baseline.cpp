#include "pg_save_baseline.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/date_text.h"
#include "common/format.h"
#include "common/numeric.h"
#include "common/text.h"
#include "pg_server.h"
#include "plandata/blank_codes.h"

namespace velmora::bench::pg {

namespace {

std::string StoredDate(DateTime date) {
  return date.IsZero() ? "00000000" : FormatYmd(date);
}

// A path of the save this baseline does not take; the cases never lead there.
[[noreturn]] void Unmirrored(const char* what) {
  throw std::logic_error(std::string("the server baseline does not mirror ") + what);
}

// The arrangement columns every written slot sets, in this order. Written unquoted, as the
// program writes them, so the server folds them as it folded the table's.
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
    sql += (k ? "," : "") + std::string(kWritten[k]) + "=$" + std::to_string(k + 1);
  return sql + " WHERE 手配番号=$" + std::to_string(kWritten.size() + 1);
}

// A statement prepared once on the connection and run with text parameters.
class Prepared {
 public:
  Prepared(PGconn* connection, std::size_t& trips, std::string name, std::string sql)
      : connection_(connection), trips_(trips), name_(std::move(name)), sql_(std::move(sql)) {
    ++trips_;
    const ResultPtr prepared(PQprepare(connection_, name_.c_str(), sql_.c_str(), 0, nullptr));
    Check(connection_, prepared.get(), sql_);
  }

  ResultPtr Run(const std::vector<std::string>& parameters) {
    values_.clear();
    for (const std::string& p : parameters) values_.push_back(p.c_str());
    ++trips_;
    ResultPtr result(PQexecPrepared(connection_, name_.c_str(), static_cast<int>(values_.size()),
                                    values_.data(), nullptr, nullptr, 0));
    Check(connection_, result.get(), sql_);
    return result;
  }

 private:
  PGconn* connection_;
  std::size_t& trips_;
  std::string name_;
  std::string sql_;
  std::vector<const char*> values_;
};

std::string Number(std::int64_t v) {
  return std::to_string(v);
}
std::string Real(double v) {
  return ShortestText(v);
}

int Field(const PGresult* result, const char* name) {
  const int c = PQfnumber(result, name);
  if (c < 0) throw std::logic_error(std::string("no column ") + name);
  return c;
}

std::string Text(const PGresult* result, int row, int column) {
  return std::string(PQgetvalue(result, row, column),
                     static_cast<std::size_t>(PQgetlength(result, row, column)));
}

class RawSave {
 public:
  RawSave(PGconn* connection, PlanData& data) : connection_(connection), data_(data) {}

  std::size_t Run() {
    Simple("BEGIN");
    for (int i = 2; i <= data_.PlanCount(); ++i) {
      PlanEntry& entry = data_.PlanTable[static_cast<std::size_t>(i)];
      if (entry.Changed == 0) continue;
      for (MemberGroup* group : {&entry.A, &entry.B}) {
        for (int k = 1; k <= group->Stored(); ++k) {
          Member& slot = group->Slot(k);
          if (slot.OrderNo != 0) Write(entry, slot);
        }
      }
      entry.Changed = 0;
    }
    Simple("COMMIT");
    return trips_;
  }

 private:
  struct Row {
    std::string parent;
    std::string item;
    std::string seq;
  };

  void Simple(const char* sql) {
    ++trips_;
    Exec(connection_, sql);
  }

  void Write(PlanEntry& entry, Member& slot) {
    const std::int32_t a = slot.OrderNo;
    const std::int32_t q = slot.OrderQty;
    if (slot.SourceOrderNo != 0) Unmirrored("new members");
    if (a < 0 || q == 0 || entry.Hidden == 1 || slot.ItemCode.empty())
      Unmirrored("these slot values");

    const ResultPtr found = arrangement_.Run({Number(a)});
    if (PQntuples(found.get()) == 0) return;
    const Row row{Text(found.get(), 0, Field(found.get(), "上位手配番号")),
                  Text(found.get(), 0, Field(found.get(), "品名コード")),
                  Text(found.get(), 0, Field(found.get(), "順序"))};
    ChooseDestination(entry);

    // Classification by the destination: the in-house path.
    const ResultPtr supplier = supplier_.Run({entry.DestinationCode});
    const std::string kind = PQntuples(supplier.get()) > 0
                                 ? Text(supplier.get(), 0, Field(supplier.get(), "仕入先分類"))
                                 : "";
    if (kind != "1") Unmirrored("destinations other than an in-house section");
    const bool onMachine = entry.MachineCode != kNoMachine && CharCount(entry.MachineCode) != 1;
    const std::string confirm = onMachine ? "2" : "1";
    const std::int64_t plant = onMachine
                                   ? data_.PlantCode
                                   : static_cast<std::int64_t>(Val(Left(entry.DestinationCode, 2)));
    SetFirstSupplyControl(Number(a), "3");
    const ResultPtr parent = parentKind_.Run({row.parent});
    const std::string parentKind = PQntuples(parent.get()) > 0 ? Text(parent.get(), 0, 0) : "";
    SetFirstSupplyControl(row.parent, parentKind != "3" ? "1" : "3");

    RequirementQuantities(a, q, confirm, plant);
    CycleMaster(entry, row);

    update_.Run({"3",
                 "1",
                 " ",
                 confirm,
                 Number(plant),
                 entry.FixedFlag,
                 Real(0),
                 Real(0),
                 Real(0),
                 Real(0),
                 CharCount(entry.MachineCode) == 1 ? kNoMachine : entry.MachineCode,
                 entry.DestinationCode,
                 Number(q),
                 slot.ItemCode,
                 StoredDate(entry.StartDate),
                 FormatHms(entry.StartTime),
                 StoredDate(entry.EndDate),
                 FormatHms(entry.EndTime),
                 StoredDate(entry.InitialDueDate),
                 Number(entry.DurationMinutes),
                 Number(entry.SetupMinutes),
                 Number(entry.Workers),
                 Number(a)});
  }

  void ChooseDestination(PlanEntry& entry) {
    if (!IsBlank(entry.MachineCode) || IsBlank(entry.DestinationCode)) {
      const ResultPtr machine = machine_.Run({entry.MachineCode});
      if (PQntuples(machine.get()) > 0) {
        const int c = Field(machine.get(), "指示先コード");
        if (!PQgetisnull(machine.get(), 0, c)) {
          std::string destination = Text(machine.get(), 0, c);
          if (!IsBlank(destination)) entry.DestinationCode = std::move(destination);
        }
      } else if (auto section = FirstSection(data_.PlantCode)) {
        entry.DestinationCode = *section;
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

  std::optional<std::string> FirstSection(int department) {
    const ResultPtr section = section_.Run({Number(department)});
    if (PQntuples(section.get()) == 0) return std::nullopt;
    return FormatNumber(std::atoll(PQgetvalue(section.get(), 0, 0)), "00") +
           FormatNumber(std::atoll(PQgetvalue(section.get(), 0, 1)), "00") + kNoMachine;
  }

  void SetFirstSupplyControl(const std::string& parent, const char* value) {
    const ResultPtr first = firstRequirement_.Run({parent});
    if (PQntuples(first.get()) == 0) return;
    supplyControl_.Run({value, Text(first.get(), 0, 0)});
  }

  void RequirementQuantities(std::int32_t a, std::int32_t q, const std::string& confirm,
                             std::int64_t plant) {
    const ResultPtr units = requirementUnits_.Run({Number(a)});
    for (int r = 0; r < PQntuples(units.get()); ++r) {
      const double numerator = std::strtod(PQgetvalue(units.get(), r, 1), nullptr);
      const double denominator = std::strtod(PQgetvalue(units.get(), r, 2), nullptr);
      const double scaled = denominator != 0 ? q * 1000.0 * numerator / denominator + 0.5
                                             : q * 1000.0 * numerator + 0.5;
      requirement_.Run(
          {Real(std::trunc(scaled) / 1000), confirm, Number(plant), Text(units.get(), r, 0)});
    }
  }

  void CycleMaster(const PlanEntry& entry, const Row& row) {
    if (entry.CycleSeconds == 0 || IsBlank(entry.MachineCode)) return;
    const float shots = entry.Cavities != 0 ? static_cast<float>(entry.Cavities) : 1.0f;
    const std::string cycle = Real(static_cast<double>(entry.CycleSeconds * shots));
    const ResultPtr found = cycle_.Run({row.item, row.seq, entry.MachineCode});
    if (PQntuples(found.get()) == 0) {
      newCycle_.Run({row.item, row.seq, entry.MachineCode, cycle});
    } else {
      cycleUpdate_.Run({cycle, Text(found.get(), 0, 0)});
    }
  }

  PGconn* connection_;
  PlanData& data_;
  std::size_t trips_ = 0;
  Prepared arrangement_{connection_, trips_, "arrangement",
                        "SELECT * FROM 手配情報 WHERE 手配番号=$1"};
  Prepared update_{connection_, trips_, "update", UpdateText()};
  Prepared machine_{connection_, trips_, "machine", "SELECT * FROM 機械マスタ WHERE 機械コード=$1"};
  Prepared section_{connection_, trips_, "section",
                    "SELECT 部コード,課コード FROM 部課マスタ WHERE 部コード=$1 AND 課コード<>0 "
                    "ORDER BY 課コード"};
  Prepared supplier_{connection_, trips_, "supplier",
                     "SELECT * FROM 仕入先マスタ WHERE 仕入先コード=$1"};
  Prepared parentKind_{connection_, trips_, "parent_kind",
                       "SELECT 手配区分 FROM 手配情報 WHERE 手配番号=$1"};
  // Rows without a key of their own are written back by their place, as the program does.
  Prepared firstRequirement_{connection_, trips_, "first_requirement",
                             "SELECT ctid FROM 所要量情報 WHERE 上位手配番号=$1"};
  Prepared supplyControl_{connection_, trips_, "supply_control",
                          "UPDATE 所要量情報 SET 支給制御区分=$1 WHERE ctid=$2"};
  Prepared requirementUnits_{
      connection_, trips_, "requirement_units",
      "SELECT ctid,原単位分子,原単位分母 FROM 所要量情報 WHERE 上位手配番号=$1"};
  Prepared requirement_{
      connection_, trips_, "requirement",
      "UPDATE 所要量情報 SET 必要数=$1,確定区分=$2,生産工場コード=$3 WHERE ctid=$4"};
  Prepared cycle_{connection_, trips_, "cycle",
                  "SELECT ctid FROM 品目別機械別ｻｲｸﾙﾏｽﾀ WHERE 品名コード=$1 AND 順序=$2 AND "
                  "機械コード=$3"};
  Prepared newCycle_{
      connection_, trips_, "new_cycle",
      "INSERT INTO 品目別機械別ｻｲｸﾙﾏｽﾀ (削除フラグ,品名コード,順序,機械コード,サイクル) "
      "VALUES ('0',$1,$2,$3,$4)"};
  Prepared cycleUpdate_{connection_, trips_, "cycle_update",
                        "UPDATE 品目別機械別ｻｲｸﾙﾏｽﾀ SET 削除フラグ='0',サイクル=$1 WHERE ctid=$2"};
};

}  // namespace

std::size_t SaveWithPreparedStatements(PGconn* connection, PlanData& data) {
  return RawSave(connection, data).Run();
}

}  // namespace velmora::bench::pg
