#include "db/engine.h"

#include "common/text.h"

namespace velmora::db {

void ResultColumns::Add(std::string name, std::string origin) {
  const int index = static_cast<int>(names.size());
  byName.try_emplace(name, index);
  byFoldedName.try_emplace(AsciiLower(name), index);
  names.push_back(std::move(name));
  originNames.push_back(std::move(origin));
}

TransactionConflict RowNotWritten(std::string_view table, long long rows) {
  return TransactionConflict("a write of one row of " + std::string(table) + " touched " +
                             std::to_string(rows) +
                             " rows: another program changed or removed it since it was read");
}

void PrintValue(Fingerprint& print, const Value& value) {
  const auto& raw = value.Raw();
  if (value.IsNull()) {
    print.Null();
  } else if (const auto* i = std::get_if<std::int64_t>(&raw)) {
    print.Integer(*i);
  } else if (const auto* d = std::get_if<double>(&raw)) {
    print.Real(*d);
  } else {
    print.Text(std::get<std::string>(raw));
  }
}

void Engine::InsertLater(const std::string& sql, const std::vector<const Value*>& values,
                         bool attempt) {
  if (!attempt || !InTransaction()) {
    Insert(sql, values);
    return;
  }
  Mark();
  try {
    Insert(sql, values);
  } catch (...) {
    UndoToMark();
    throw;
  }
  ForgetMark();
}

std::vector<std::unique_ptr<Rows>> Engine::QueryBatch(const std::vector<BatchQuery>& queries) {
  std::vector<std::unique_ptr<Rows>> results;
  for (const BatchQuery& query : queries) {
    results.push_back(Query(query.sql, query.parameters, query.count, query.forUpdate, true));
  }
  return results;
}

void Rows::Print(Fingerprint& print, int column) const {
  PrintValue(print, Get(column));
}

}  // namespace velmora::db
