#include "plandata/outside_steps.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_set>

#include "common/date_text.h"
#include "common/numeric.h"
#include "db/recordset.h"
#include "plandata/plan_loader.h"

namespace velmora {
namespace {

// Numbers are asked for this many at a time; the last batch repeats its last number, so every
// batch runs one prepared statement. A file allows 999 marks a statement on old builds.
constexpr std::size_t kBatch = 500;
// Batches sent to a server in one exchange: few round trips, and no pipeline so long that both
// sides wait on a full network buffer.
constexpr std::size_t kBatchesPerExchange = 8;

// The steps whose `key` is one of a batch of numbers. Deleted rows are left out as the plan
// query leaves them out.
std::string StepQuery(const char* key) {
  std::string sql =
      "SELECT 手配番号,上位手配番号,開始日,GNT開始時刻,納期,GNT終了時刻 FROM 手配情報 WHERE ";
  sql += key;
  sql += " IN (";
  for (std::size_t i = 0; i < kBatch; ++i) sql += i == 0 ? "?" : ",?";
  return sql + ") AND (削除フラグ<>'1' OR 削除フラグ IS NULL)";
}

// A stored day and time as the plan load reads them; zero when the day is no date ("00000000",
// Null), so a step without a time holds no order.
DateTime StoredMoment(const std::string& day, const std::string& time) {
  const std::optional<DateTime> date = ParseStoredDate(day);
  return date ? *date + TimeOfStoredValue(time) : DateTime{};
}

// Every arrangement the plan table holds, members too: their stored times are out of date.
std::unordered_set<std::int32_t> LoadedNumbers(const PlanData& data) {
  std::unordered_set<std::int32_t> loaded;
  loaded.reserve(static_cast<std::size_t>(data.PlanCount()) * 2);
  for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& p = data.Plan(PlanIdx{i});
    loaded.insert(p.OrderNo);
    for (const MemberGroup* group : {&p.A, &p.B}) {
      for (int k = 1; k <= group->Stored(); ++k) loaded.insert((*group)[k].OrderNo);
    }
  }
  return loaded;
}

class StepReader {
 public:
  StepReader(db::Connection& connection, const std::unordered_set<std::int32_t>& loaded)
      : connection_(connection), loaded_(loaded) {}

  // The stored steps whose `key` column holds one of `numbers` (sorted, distinct, non-empty).
  void Read(const char* key, const std::vector<std::int32_t>& numbers) {
    const std::string sql = StepQuery(key);
    std::vector<db::BatchRead> reads;
    std::vector<db::Recordset> results(kBatchesPerExchange);
    for (std::size_t at = 0; at < numbers.size(); at += kBatch) {
      db::BatchRead& read = reads.emplace_back();
      read.sql = sql;
      for (std::size_t i = 0; i < kBatch; ++i) {
        read.parameters.emplace_back(numbers[std::min(at + i, numbers.size() - 1)]);
      }
      read.into = &results[reads.size() - 1];
      if (reads.size() == kBatchesPerExchange || at + kBatch >= numbers.size()) {
        db::Recordset::OpenTogether(reads, connection_);
        for (std::size_t k = 0; k < reads.size(); ++k) Take(results[k]);
        reads.clear();
      }
    }
  }

  std::vector<OutsideStep> steps;

 private:
  void Take(db::Recordset& rs) {
    for (; !rs.Eof(); rs.MoveNext()) {
      const std::int32_t number = ToInt32(rs.NumberAt(0));
      if (loaded_.contains(number) || !taken_.insert(number).second) continue;
      steps.push_back(OutsideStep{number, ToInt32(rs.NumberAt(1)),
                                  StoredMoment(rs.TextAt(2), rs.TextAt(3)),
                                  StoredMoment(rs.TextAt(4), rs.TextAt(5))});
    }
    rs.Close();
  }

  db::Connection& connection_;
  const std::unordered_set<std::int32_t>& loaded_;
  std::unordered_set<std::int32_t> taken_;  // a step above one plan may be below another
};

std::vector<std::int32_t> Distinct(std::vector<std::int32_t> numbers) {
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

}  // namespace

std::vector<OutsideStep> ReadOutsideSteps(db::Connection& connection, const PlanData& data) {
  const std::unordered_set<std::int32_t> loaded = LoadedNumbers(data);
  std::vector<std::int32_t> above;
  std::vector<std::int32_t> below;
  for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& p = data.Plan(PlanIdx{i});
    if (p.InUse <= 0) continue;
    if (p.ParentOrderNo > 0 && !loaded.contains(p.ParentOrderNo)) above.push_back(p.ParentOrderNo);
    // A new member's number (below zero) is stored nowhere yet.
    if (p.OrderNo > 0) below.push_back(p.OrderNo);
  }
  StepReader reader(connection, loaded);
  if (!above.empty()) reader.Read("手配番号", Distinct(std::move(above)));
  if (!below.empty()) reader.Read("上位手配番号", Distinct(std::move(below)));
  std::sort(reader.steps.begin(), reader.steps.end(),
            [](const OutsideStep& a, const OutsideStep& b) { return a.orderNo < b.orderNo; });
  return std::move(reader.steps);
}

}  // namespace velmora
