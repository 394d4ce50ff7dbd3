#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::db {

// A statement as it goes to a server: its text with `?` marks, and its parameters as text (no
// value for Null).
struct PgStatement {
  std::string sql;
  std::vector<std::optional<std::string>> parameters;
  bool keep = true;  // prepared once per text and kept
  // An UPDATE of one row by its ctid (the last parameter), answered with the row's new ctid.
  std::string table;
  std::string ctid;
  // An INSERT between a savepoint and its release: its failure is an attempt's, not the
  // transaction's.
  bool attempt = false;
  bool RowUpdate() const { return !table.empty(); }
};

// Writes a transaction holds back and sends with its next request, so that a run of writes
// costs no exchange with the server of its own.
//
// A row written twice before the first write was sent gets one UPDATE of both writes' columns:
// the second write could not find the row otherwise, as the server moves a row when it writes it
// and tells where only in its answer. Rows already sent are found where their answers said.
class PgWriteQueue {
 public:
  // Queues an UPDATE of one row of `table`, found by `ctid` as some earlier read saw it. False
  // when the row has a queued write that other statements follow: the queue must be sent first.
  bool AddRowUpdate(const std::string& table, const std::string& ctid,
                    const std::vector<std::string>& columns,
                    const std::vector<std::optional<std::string>>& values);
  // Queues any other statement. Row updates queued before it are not folded over it.
  void Add(PgStatement statement);
  // Where a sent row update moved its row.
  void Moved(const std::string& table, const std::string& from, const std::string& to);
  // The row's ctid after the writes sent so far.
  std::string Current(const std::string& table, std::string ctid) const;

  // The queued statements in order, each row update with its text; the queue is empty after.
  std::vector<PgStatement> Take();
  std::size_t Size() const { return queued_.size(); }
  // The transaction ended: nothing is queued and no row is known to have moved.
  void Clear();

 private:
  struct Queued {
    PgStatement statement;
    std::vector<std::string> columns;  // of a row update, in the order of its parameters
  };
  std::vector<Queued> queued_;
  std::size_t foldFrom_ = 0;  // row updates from here on are followed by row updates only
  std::map<std::pair<std::string, std::string>, std::string> moved_;
};

}  // namespace velmora::db
