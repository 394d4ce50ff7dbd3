#include "db/recordset.h"

#include <sqlite3.h>

#include <algorithm>

#include "common/errors.h"
#include "common/numeric.h"
#include "common/text.h"
#include "db/binding.h"
#include "db/statement_cache.h"

namespace velmora::db {
namespace {

constexpr std::string_view kRowidAlias = "velmora_rowid_";

// "SELECT ..." becomes "SELECT _rowid_ AS velmora_rowid_, ...", so each row can be written back.
std::string WithRowid(std::string_view sql) {
  std::size_t start = 0;
  while (start < sql.size() &&
         (sql[start] == ' ' || sql[start] == '\t' || sql[start] == '\n' || sql[start] == '\r')) {
    ++start;
  }
  if (AsciiLower(sql.substr(start, 7)) != "select ") {
    throw DatabaseError("an updatable recordset needs a plain SELECT: " + std::string(sql));
  }
  return std::string(sql.substr(0, start + 7)) + "_rowid_ AS " + std::string(kRowidAlias) + "," +
         std::string(sql.substr(start + 7));
}

std::string QuoteIdentifier(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

}  // namespace

// ---- Field ----

bool Field::IsNull() const {
  return rs_->IsNullAt(index_);
}
Value Field::Get() const {
  return rs_->ValueAt(index_);
}
std::string Field::Text() const {
  return rs_->TextAt(index_);
}
double Field::Number() const {
  return rs_->NumberAt(index_);
}
std::int16_t Field::Int16() const {
  return ToInt16(Number());
}
std::int32_t Field::Int32() const {
  return ToInt32(Number());
}
const std::string& Field::Name() const {
  return rs_->NameAt(index_);
}

Field& Field::operator=(const Value& value) {
  rs_->SetAt(index_, value);
  return *this;
}

// ---- Recordset ----

Recordset::Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::~Recordset() = default;

void Recordset::Open(std::string_view sql, Connection& connection, CursorType cursor, LockType lock,
                     int) {
  Close();
  db_ = connection.Handle();
  statements_ = &connection.Statements();
  lock_ = lock;
  if (lock == LockType::Optimistic) {
    StatementPtr stmt = Prepare(db_, WithRowid(sql));
    ReadNames(stmt.get(), 1);
    // Writes go to the one table every column comes from.
    for (int c = 1; c < sqlite3_column_count(stmt.get()); ++c) {
      const char* table = sqlite3_column_table_name(stmt.get(), c);
      const std::string name = table ? table : "";
      if (c == 1) table_ = name;
      if (name.empty() || name != table_) table_.clear();
    }
    if (table_.empty())
      throw DatabaseError("an updatable recordset must read one table: " + std::string(sql));
    ReadAll(stmt.get());
  } else if (cursor == CursorType::Keyset) {
    StatementPtr stmt = Prepare(db_, sql);
    ReadNames(stmt.get(), 0);
    ReadAll(stmt.get());
  } else {
    stmt_ = Prepare(db_, sql);
    ReadNames(stmt_.get(), 0);
    open_ = true;
    Step();
    return;
  }
  open_ = true;
  pos_ = 0;
  eof_ = rows_.empty();
}

void Recordset::ReadNames(sqlite3_stmt* stmt, int firstColumn) {
  const int count = sqlite3_column_count(stmt);
  for (int c = firstColumn; c < count; ++c) {
    const int index = c - firstColumn;
    const char* name = sqlite3_column_name(stmt, c);
    const char* origin = sqlite3_column_origin_name(stmt, c);
    names_.emplace_back(name ? name : "");
    originNames_.emplace_back(origin ? origin : names_.back());
    // With duplicate names the first column wins, as lookups by name expect.
    byName_.try_emplace(names_.back(), index);
    byFoldedName_.try_emplace(AsciiLower(names_.back()), index);
  }
  edits_.assign(names_.size(), std::nullopt);
}

void Recordset::ReadAll(sqlite3_stmt* stmt) {
  const bool withRowid = lock_ == LockType::Optimistic;
  const int first = withRowid ? 1 : 0;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    std::vector<Value> row;
    row.reserve(names_.size());
    for (int c = first; c < first + FieldCount(); ++c) row.push_back(ColumnValue(stmt, c));
    rows_.push_back(std::move(row));
    if (withRowid) rowids_.push_back(sqlite3_column_int64(stmt, 0));
  }
  Check(db_, rc, "reading rows");
}

void Recordset::Step() {
  const int rc = sqlite3_step(stmt_.get());
  if (rc == SQLITE_ROW) {
    eof_ = false;
  } else {
    eof_ = true;
    Check(db_, rc, "reading rows");
  }
}

bool Recordset::Eof() const {
  return !open_ || eof_;
}

void Recordset::MoveNext() {
  if (!open_) throw DatabaseError("MoveNext on a closed recordset");
  if (eof_) throw DatabaseError("MoveNext past the end of the recordset");
  if (adding_ ||
      std::any_of(edits_.begin(), edits_.end(), [](const auto& e) { return e.has_value(); })) {
    Update();  // moving on stores pending changes, as the data access layer always did
  }
  if (Streaming()) {
    Step();
  } else {
    ++pos_;
    eof_ = pos_ >= rows_.size();
  }
}

int Recordset::FieldIndex(std::string_view name) const {
  if (auto it = byName_.find(name); it != byName_.end()) return it->second;
  if (auto it = byFoldedName_.find(AsciiLower(name)); it != byFoldedName_.end()) return it->second;
  return -1;
}

Field Recordset::Fields(std::string_view name) {
  const int index = FieldIndex(name);
  if (index < 0) throw DatabaseError("no field named " + std::string(name) + " in the result");
  return Field(*this, index);
}

Field Recordset::Fields(int index) {
  if (index < 0 || index >= FieldCount()) {
    throw DatabaseError("field position " + std::to_string(index) + " out of range");
  }
  return Field(*this, index);
}

const std::string& Recordset::NameAt(int index) const {
  return names_.at(static_cast<std::size_t>(index));
}

void Recordset::RequireRow() const {
  if (!open_) throw DatabaseError("the recordset is not open");
  if (eof_ && !adding_) throw DatabaseError("no current row: the recordset is at its end");
}

sqlite3_value* Recordset::Column(int index) const {
  // One call to the engine per field read; the value's own accessors are plain reads. Safe here:
  // a connection is used by one thread.
  return sqlite3_column_value(stmt_.get(), index);
}

Value Recordset::StatementValue(int column) const {
  return ColumnValue(stmt_.get(), column);
}

bool Recordset::IsNullAt(int index) const {
  RequireRow();
  if (const auto& e = edits_[static_cast<std::size_t>(index)]) return e->IsNull();
  if (adding_) return true;
  if (Streaming()) return sqlite3_value_type(Column(index)) == SQLITE_NULL;
  return rows_[pos_][static_cast<std::size_t>(index)].IsNull();
}

Value Recordset::ValueAt(int index) const {
  RequireRow();
  if (const auto& e = edits_[static_cast<std::size_t>(index)]) return *e;
  if (adding_) return Value();
  if (Streaming()) return StatementValue(index);
  return rows_[pos_][static_cast<std::size_t>(index)];
}

std::string Recordset::TextAt(int index) const {
  if (Streaming() && !adding_) {
    RequireRow();
    // Straight from the engine, without an intermediate value.
    sqlite3_value* v = Column(index);
    switch (sqlite3_value_type(v)) {
      case SQLITE_NULL:
        return {};
      case SQLITE_INTEGER:
        return std::to_string(sqlite3_value_int64(v));
      case SQLITE_FLOAT:
        return RealText(sqlite3_value_double(v));
      default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return std::string(text, static_cast<std::size_t>(sqlite3_value_bytes(v)));
      }
    }
  }
  return ValueAt(index).Text();
}

double Recordset::NumberAt(int index) const {
  if (Streaming() && !adding_) {
    RequireRow();
    sqlite3_value* v = Column(index);
    switch (sqlite3_value_type(v)) {
      case SQLITE_NULL:
        return 0.0;
      case SQLITE_INTEGER:
      case SQLITE_FLOAT:
        return sqlite3_value_double(v);
      default:
        return Val(reinterpret_cast<const char*>(sqlite3_value_text(v)));
    }
  }
  return ValueAt(index).Number();
}

void Recordset::RequireUpdatable() const {
  if (!open_) throw DatabaseError("the recordset is not open");
  if (lock_ != LockType::Optimistic) throw DatabaseError("the recordset is read-only");
}

void Recordset::SetAt(int index, const Value& value) {
  RequireUpdatable();
  RequireRow();
  edits_[static_cast<std::size_t>(index)] = value;
}

void Recordset::AddNew() {
  RequireUpdatable();
  edits_.assign(names_.size(), std::nullopt);
  adding_ = true;
}

void Recordset::Update() {
  RequireUpdatable();
  if (adding_) {
    const std::int64_t rowid = InsertPending();
    rows_.emplace_back(names_.size());
    rowids_.push_back(rowid);
    pos_ = rows_.size() - 1;
    eof_ = false;
    adding_ = false;
    edits_.assign(names_.size(), std::nullopt);
    ReloadRow(pos_);
    return;
  }
  RequireRow();
  UpdatePending();
  for (std::size_t i = 0; i < edits_.size(); ++i) {
    if (edits_[i]) rows_[pos_][i] = *edits_[i];
  }
  edits_.assign(names_.size(), std::nullopt);
}

std::int64_t Recordset::InsertPending() {
  std::string columns;
  std::string marks;
  std::vector<const Value*> values;
  for (std::size_t i = 0; i < edits_.size(); ++i) {
    if (!edits_[i]) continue;
    if (!values.empty()) columns += ",", marks += ",";
    columns += QuoteIdentifier(originNames_[i]);
    marks += "?";
    values.push_back(&*edits_[i]);
  }
  const std::string sql =
      values.empty()
          ? "INSERT INTO " + QuoteIdentifier(table_) + " DEFAULT VALUES"
          : "INSERT INTO " + QuoteIdentifier(table_) + " (" + columns + ") VALUES (" + marks + ")";
  const StatementLease stmt = statements_->Lease(db_, sql);
  for (std::size_t i = 0; i < values.size(); ++i)
    Bind(db_, stmt.get(), static_cast<int>(i + 1), *values[i]);
  Check(db_, sqlite3_step(stmt.get()), "appending a row to " + table_);
  return sqlite3_last_insert_rowid(db_);
}

void Recordset::UpdatePending() {
  std::string assignments;
  std::vector<const Value*> values;
  for (std::size_t i = 0; i < edits_.size(); ++i) {
    if (!edits_[i]) continue;
    if (!values.empty()) assignments += ",";
    assignments += QuoteIdentifier(originNames_[i]) + "=?";
    values.push_back(&*edits_[i]);
  }
  if (values.empty()) return;
  const StatementLease stmt = statements_->Lease(
      db_, "UPDATE " + QuoteIdentifier(table_) + " SET " + assignments + " WHERE _rowid_=?");
  for (std::size_t i = 0; i < values.size(); ++i)
    Bind(db_, stmt.get(), static_cast<int>(i + 1), *values[i]);
  Check(db_, sqlite3_bind_int64(stmt.get(), static_cast<int>(values.size() + 1), rowids_[pos_]),
        "binding rowid");
  Check(db_, sqlite3_step(stmt.get()), "updating a row of " + table_);
}

void Recordset::ReloadRow(std::size_t row) {
  // Re-read the stored row so defaults filled in by the database are visible.
  std::string columns;
  for (std::size_t i = 0; i < originNames_.size(); ++i) {
    if (i > 0) columns += ",";
    columns += QuoteIdentifier(originNames_[i]);
  }
  const StatementLease stmt = statements_->Lease(
      db_, "SELECT " + columns + " FROM " + QuoteIdentifier(table_) + " WHERE _rowid_=?");
  Check(db_, sqlite3_bind_int64(stmt.get(), 1, rowids_[row]), "binding rowid");
  if (sqlite3_step(stmt.get()) == SQLITE_ROW) {
    for (int c = 0; c < FieldCount(); ++c)
      rows_[row][static_cast<std::size_t>(c)] = ColumnValue(stmt.get(), c);
  }
}

void Recordset::Close() {
  stmt_.reset();
  statements_ = nullptr;
  open_ = false;
  eof_ = true;
  names_.clear();
  originNames_.clear();
  byName_.clear();
  byFoldedName_.clear();
  table_.clear();
  rows_.clear();
  rowids_.clear();
  edits_.clear();
  pos_ = 0;
  adding_ = false;
}

}  // namespace velmora::db
