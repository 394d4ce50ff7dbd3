#include "saving/others_changes.h"

#include <algorithm>
#include <unordered_map>

#include "common/date_text.h"
#include "common/text.h"
#include "db/recordset.h"
#include "worktime/calendar_day.h"

namespace velmora::saving {
namespace {

// Arrangements are read this many at a time; the last group repeats its last number, so every
// read runs one prepared statement.
constexpr std::size_t kChunk = 64;

// Chunks read in one exchange on a server: few round trips, and no pipeline so long that both
// sides wait on a full network buffer.
constexpr std::size_t kChunksTogether = 8;

const std::string& ChunkQuery() {
  static const std::string sql = [] {
    std::string text = "SELECT * FROM 手配情報 WHERE 手配番号 IN (";
    for (std::size_t i = 0; i < kChunk; ++i) text += i == 0 ? "?" : ",?";
    return text + ")";
  }();
  return sql;
}

}  // namespace

std::unordered_map<std::int32_t, std::uint64_t> ArrangementVersions(
    db::Connection& connection, const std::vector<std::int32_t>& numbers) {
  std::unordered_map<std::int32_t, std::uint64_t> versions;
  versions.reserve(numbers.size());
  // Where writes wait for the next request (a server's transaction), so do several chunks: one
  // exchange reads them all. A file's chunks stream one after the other.
  const std::size_t together = connection.Engine().HoldsWrites() ? kChunksTogether : 1;
  std::vector<std::vector<db::Value>> keys(together);
  for (std::size_t at = 0; at < numbers.size(); at += kChunk * together) {
    std::vector<db::Recordset> chunks(together);
    std::size_t count = 0;
    for (; count < together && at + count * kChunk < numbers.size(); ++count) {
      keys[count].clear();
      for (std::size_t i = 0; i < kChunk; ++i) {
        keys[count].emplace_back(numbers[std::min(at + count * kChunk + i, numbers.size() - 1)]);
      }
    }
    if (together == 1) {
      chunks[0].Open(ChunkQuery(), keys[0], connection);
    } else {
      std::vector<db::BatchRead> batch;
      for (std::size_t c = 0; c < count; ++c) batch.push_back({ChunkQuery(), keys[c], &chunks[c]});
      db::Recordset::OpenTogether(batch, connection);
    }
    for (std::size_t c = 0; c < count; ++c) {
      db::Recordset& rs = chunks[c];
      const int number = rs.FieldIndex("手配番号");
      for (; !rs.Eof(); rs.MoveNext()) {
        versions[static_cast<std::int32_t>(rs.NumberAt(number))] =
            rs.RowFingerprint(0, rs.FieldCount());
      }
    }
  }
  return versions;
}

std::uint64_t DayVersion(db::Connection& connection, const PlanData& data, const DayOf& day) {
  db::Recordset rs;
  rs.Open("SELECT * FROM 機械別勤務体系マスタ WHERE 機械コード=? AND 年月日=?",
          {data.RowCode[static_cast<std::size_t>(day.first)],
           FormatYmd(DateOfCalendarDay(data.PeriodStartDate(), day.second))},
          connection);
  std::uint64_t version = 0;
  for (; !rs.Eof(); rs.MoveNext()) version += rs.RowFingerprint(0, rs.FieldCount());
  return version;
}

void OthersChanges::Add(const OthersChanges& more) {
  for (const auto& [number, version] : more.arrangements) arrangements[number] = version;
  for (const auto& [day, version] : more.days) days[day] = version;
}

RowsToWrite RowsWrittenBy(const PlanData& data, const std::vector<int>& entries,
                          const std::vector<DayOf>& days) {
  RowsToWrite rows;
  for (const int i : entries) {
    const PlanEntry& e = data.PlanTable[static_cast<std::size_t>(i)];
    for (const MemberGroup* group : {&e.A, &e.B}) {
      for (int k = 1; k <= group->Stored(); ++k) {
        const Member& m = (*group)[k];
        if (m.OrderNo > 0 && m.SourceOrderNo == 0) rows.arrangements.push_back(m.OrderNo);
      }
    }
  }
  std::sort(rows.arrangements.begin(), rows.arrangements.end());
  rows.arrangements.erase(std::unique(rows.arrangements.begin(), rows.arrangements.end()),
                          rows.arrangements.end());
  rows.days = days;
  return rows;
}

OthersChanges FindOthersChanges(db::Connection& connection, const PlanData& data,
                                const RowsToWrite& rows, const OthersChanges& accepted) {
  OthersChanges changes;
  std::vector<std::int32_t> known;
  for (const std::int32_t number : rows.arrangements) {
    if (data.Stored.Arrangement(number)) known.push_back(number);
  }
  const auto now = ArrangementVersions(connection, known);
  for (const std::int32_t number : known) {
    const auto it = now.find(number);
    const std::optional<std::uint64_t> current =
        it == now.end() ? std::nullopt : std::optional<std::uint64_t>(it->second);
    if (current != *ExpectedArrangement(data, accepted, number)) {
      changes.arrangements[number] = current;
    }
  }
  for (const DayOf& day : rows.days) {
    const std::optional<std::uint64_t> expected = ExpectedDay(data, accepted, day);
    if (!expected) continue;
    const std::uint64_t current = DayVersion(connection, data, day);
    if (current != *expected) changes.days[day] = current;
  }
  return changes;
}

std::string OverwriteQuestionText(const PlanData& data, const OthersChanges& changes) {
  std::vector<std::string> names;
  for (const auto& [number, version] : changes.arrangements)
    names.push_back(std::to_string(number));
  for (const auto& [day, version] : changes.days) {
    names.push_back(Trim(data.RowCode[static_cast<std::size_t>(day.first)]) + " " +
                    FormatSlashDate(DateOfCalendarDay(data.PeriodStartDate(), day.second)));
  }
  std::string list;
  for (std::size_t i = 0; i < names.size() && i < static_cast<std::size_t>(kListedAtMost); ++i) {
    if (i > 0) list += "、";
    list += names[i];
  }
  if (names.size() > static_cast<std::size_t>(kListedAtMost)) {
    list += "、ほか" + std::to_string(names.size() - kListedAtMost) + "件";
  }
  return std::string(kOthersChangedQuestion) + "\n" + list + "\n" + kOverwriteQuestion;
}

std::optional<std::optional<std::uint64_t>> ExpectedArrangement(const PlanData& data,
                                                                const OthersChanges& accepted,
                                                                std::int32_t number) {
  const auto agreed = accepted.arrangements.find(number);
  if (agreed != accepted.arrangements.end()) return agreed->second;
  if (const auto read = data.Stored.Arrangement(number)) {
    return std::optional<std::uint64_t>(*read);
  }
  return std::nullopt;
}

std::optional<std::uint64_t> ExpectedDay(const PlanData& data, const OthersChanges& accepted,
                                         const DayOf& day) {
  const auto agreed = accepted.days.find(day);
  if (agreed != accepted.days.end()) return agreed->second;
  return data.Stored.Day(day.first, day.second);
}

}  // namespace velmora::saving
