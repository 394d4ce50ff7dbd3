#include "db/pg_write_queue.h"

#include "db/sql_text.h"

namespace velmora::db {

bool PgWriteQueue::AddRowUpdate(const std::string& table, const std::string& ctid,
                                const std::vector<std::string>& columns,
                                const std::vector<std::optional<std::string>>& values) {
  const std::string row = Current(table, ctid);
  for (std::size_t k = queued_.size(); k-- > 0;) {
    Queued& queued = queued_[k];
    if (!queued.statement.RowUpdate() || queued.statement.table != table ||
        queued.statement.ctid != row) {
      continue;
    }
    if (k < foldFrom_) return false;
    // Only other rows' updates follow it, so the later columns may join it where it stands.
    for (std::size_t c = 0; c < columns.size(); ++c) {
      std::size_t at = 0;
      while (at < queued.columns.size() && queued.columns[at] != columns[c]) ++at;
      if (at == queued.columns.size()) {
        queued.columns.push_back(columns[c]);
        queued.statement.parameters.push_back(values[c]);
      } else {
        queued.statement.parameters[at] = values[c];
      }
    }
    return true;
  }
  Queued update;
  update.statement.table = table;
  update.statement.ctid = row;
  update.statement.parameters = values;
  update.columns = columns;
  queued_.push_back(std::move(update));
  return true;
}

void PgWriteQueue::Add(PgStatement statement) {
  queued_.push_back({std::move(statement), {}});
  foldFrom_ = queued_.size();
}

void PgWriteQueue::Moved(const std::string& table, const std::string& from, const std::string& to) {
  if (from != to) moved_[{table, from}] = to;
}

std::string PgWriteQueue::Current(const std::string& table, std::string ctid) const {
  // A row moves on at every write; its old places stay taken until the transaction ends, so the
  // chain has no loops. The bound guards against a broken map all the same.
  for (std::size_t hops = 0; hops <= moved_.size(); ++hops) {
    const auto next = moved_.find({table, ctid});
    if (next == moved_.end()) break;
    ctid = next->second;
  }
  return ctid;
}

std::vector<PgStatement> PgWriteQueue::Take() {
  std::vector<PgStatement> statements;
  statements.reserve(queued_.size());
  for (Queued& queued : queued_) {
    if (queued.statement.RowUpdate()) {
      std::string sql = "UPDATE " + QuoteIdentifier(queued.statement.table) + " SET ";
      for (std::size_t c = 0; c < queued.columns.size(); ++c) {
        if (c > 0) sql += ",";
        sql += QuoteIdentifier(queued.columns[c]) + "=?";
      }
      queued.statement.sql = sql + " WHERE ctid=? RETURNING ctid";
      queued.statement.parameters.emplace_back(queued.statement.ctid);
    }
    statements.push_back(std::move(queued.statement));
  }
  queued_.clear();
  foldFrom_ = 0;
  return statements;
}

void PgWriteQueue::Clear() {
  queued_.clear();
  foldFrom_ = 0;
  moved_.clear();
}

}  // namespace velmora::db
