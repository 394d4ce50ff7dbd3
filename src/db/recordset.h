#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/connection.h"
#include "db/engine.h"
#include "db/result_columns.h"
#include "db/value.h"

namespace velmora::db {

// Cursor and lock types, numbered as the program's data access numbers them.
enum class CursorType { ForwardOnly = 0, Keyset = 1 };
enum class LockType { ReadOnly = 1, Optimistic = 3 };

class Recordset;

// A read of a batch: the statement and its parameters, and the recordset its rows go to.
struct BatchRead {
  std::string sql;
  std::vector<Value> parameters;
  Recordset* into = nullptr;
  LockType lock = LockType::ReadOnly;
  bool firstRowOnly = false;  // as OpenFirstRow
};

// One field of the current row, by name or position. Reading a missing value gives Null.
class Field {
 public:
  Field(Recordset& rs, int index) : rs_(&rs), index_(index) {}

  bool IsNull() const;
  Value Get() const;
  // Without a format: Null gives "", numbers their decimal text.
  std::string Text() const;
  // The number the value's text starts with; 0 for Null.
  double Number() const;
  // Integer conversions round ties to even and throw on overflow.
  std::int16_t Int16() const;
  std::int32_t Int32() const;
  const std::string& Name() const;

  // Writes the field of the current row (or of the row being added); Update stores it.
  Field& operator=(const Value& value);

 private:
  Recordset* rs_;
  int index_;
};

// The rows of one SELECT, positioned on the first row after Open.
// Forward-only read-only results stream from the engine; keyset and updatable results are read
// whole at Open, so that writes by row id never disturb a running statement.
class Recordset {
 public:
  Recordset();
  Recordset(Recordset&&) noexcept;
  Recordset& operator=(Recordset&&) noexcept;
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;
  ~Recordset();

  void Open(std::string_view sql, Connection& connection,
            CursorType cursor = CursorType::ForwardOnly, LockType lock = LockType::ReadOnly,
            int options = -1);
  // As above, the `?` marks of `sql` taking `parameters` in order. The statement is prepared
  // once per connection and text, so a lookup repeated for every saved row costs a bind and a
  // step, not a compilation.
  void Open(std::string_view sql, std::initializer_list<Value> parameters, Connection& connection,
            CursorType cursor = CursorType::ForwardOnly, LockType lock = LockType::ReadOnly) {
    Open(sql, parameters.begin(), parameters.size(), connection, cursor, lock, true);
  }
  void Open(std::string_view sql, const std::vector<Value>& parameters, Connection& connection,
            CursorType cursor = CursorType::ForwardOnly, LockType lock = LockType::ReadOnly) {
    Open(sql, parameters.data(), parameters.size(), connection, cursor, lock, true);
  }
  // As the keyset and updatable Open, reading at most the first row: for look-ups that take the
  // first row only, however many match. The engine is asked for one row only, so a server does
  // not send the others.
  void OpenFirstRow(std::string_view sql, std::initializer_list<Value> parameters,
                    Connection& connection, LockType lock = LockType::ReadOnly) {
    Open(std::string(sql) + " LIMIT 1", parameters.begin(), parameters.size(), connection,
         CursorType::Keyset, lock, true);
  }
  // Opens the recordset of every read (keyset), all asked for at once: a server answers them in
  // one exchange instead of one each.
  static void OpenTogether(std::vector<BatchRead>& reads, Connection& connection);
  bool IsOpen() const { return open_; }
  // True once MoveNext has passed the last row, and at once for an empty result.
  bool Eof() const;
  void MoveNext();
  int FieldCount() const { return columns_ ? static_cast<int>(columns_->names.size()) : 0; }

  Field Fields(std::string_view name);
  Field Fields(int index);
  // Position of a field by name (exact, then ignoring ASCII case); -1 when there is none.
  int FieldIndex(std::string_view name) const;

  // Starts a new row; field writes fill it and Update appends it (updatable results only).
  void AddNew();
  // Writes the current row's changed fields, or appends the new row, at once.
  void Update();
  // Appends the new row without showing it here: an engine that holds writes back sends it with
  // its next request (Engine::InsertLater, `attempt` as there).
  void Append(bool attempt = false);
  void Close();

  // A fingerprint of the current row's values in columns [first, first + count): equal for two
  // reads of the same stored values, different when another program changed any of them.
  std::uint64_t RowFingerprint(int first, int count) const;

  // Field access by position, used by Field.
  bool IsNullAt(int index) const;
  Value ValueAt(int index) const;
  std::string TextAt(int index) const;
  double NumberAt(int index) const;
  void SetAt(int index, const Value& value);
  const std::string& NameAt(int index) const;

 private:
  void Open(std::string_view sql, const Value* parameters, std::size_t count,
            Connection& connection, CursorType cursor, LockType lock, bool keep);
  bool Streaming() const { return stream_ != nullptr; }
  void RequireRow() const;
  void RequireUpdatable() const;
  void Step();
  void ReadAll(Rows& rows);
  // Reads every row of `rows` into the recordset, positioned on the first (keyset results).
  void Keep(Rows& rows);
  void ClearEdits();
  // Which columns have pending writes (a byte per column) and their values in that order.
  std::string EditedColumns(std::vector<const Value*>& values) const;
  Value InsertPending();
  // The INSERT of the pending new row, its values into `values`.
  const std::string& InsertText(std::vector<const Value*>& values) const;
  void UpdatePending();
  void ReloadRow(std::size_t row) const;
  // A row this recordset added is read back from the database when it is first looked at.
  void ReadBackIfAdded() const;

  Engine* engine_ = nullptr;
  std::unique_ptr<Rows> stream_;  // streaming results only
  bool open_ = false;
  bool eof_ = true;
  LockType lock_ = LockType::ReadOnly;
  std::shared_ptr<const ResultColumns> columns_;

  // Materialised rows (keyset and updatable results).
  mutable std::vector<std::vector<Value>> rows_;
  mutable std::optional<std::size_t> added_;  // an appended row not read back yet
  std::vector<Value> rowIds_;
  std::size_t pos_ = 0;

  // Pending writes of the current or new row, and which columns hold one.
  std::vector<std::optional<Value>> edits_;
  std::vector<int> edited_;
  bool adding_ = false;
};

}  // namespace velmora::db
