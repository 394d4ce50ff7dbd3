#include "db/recordset.h"

#include <sqlite3.h>

#include <algorithm>

#include "common/errors.h"
#include "common/numeric.h"
#include "common/text.h"
#include "db/binding.h"
#include "db/fingerprint.h"
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

void Recordset::Start(Connection& connection, LockType lock) {
  Close();
  db_ = connection.Handle();
  statements_ = &connection.Statements();
  lock_ = lock;
}

void Recordset::Open(std::string_view sql, Connection& connection, CursorType cursor, LockType lock,
                     int) {
  Start(connection, lock);
  if (lock == LockType::Optimistic) {
    ReadWhole(Prepare(db_, WithRowid(sql)).get(), sql);
  } else if (cursor == CursorType::Keyset) {
    ReadWhole(Prepare(db_, sql).get(), sql);
  } else {
    stmt_ = Prepare(db_, sql);
    Stream();
  }
}

void Recordset::Open(std::string_view sql, const Value* parameters, std::size_t count,
                     Connection& connection, CursorType cursor, LockType lock) {
  Start(connection, lock);
  const std::string text = lock == LockType::Optimistic ? WithRowid(sql) : std::string(sql);
  TakenStatement taken(statements_->Take(db_, text));
  StatementPtr own;
  if (!taken) own = Prepare(db_, text);  // an enclosing reader is still stepping the cached one
  sqlite3_stmt* stmt = taken ? taken->stmt.get() : own.get();
  std::shared_ptr<const ResultColumns>* cached = taken ? &taken->columns : nullptr;
  int position = 0;
  for (std::size_t i = 0; i < count; ++i) Bind(db_, stmt, ++position, parameters[i]);
  if (lock == LockType::Optimistic || cursor == CursorType::Keyset) {
    ReadWhole(stmt, sql, cached);  // the taken statement goes back when `taken` goes
    return;
  }
  stmt_ = std::move(own);
  taken_ = std::move(taken);
  Stream(cached);
}

void Recordset::ReadWhole(sqlite3_stmt* stmt, std::string_view sql,
                          std::shared_ptr<const ResultColumns>* cached) {
  UseColumns(stmt, sql, cached);
  ReadAll(stmt);
  open_ = true;
  pos_ = 0;
  eof_ = rows_.empty();
}

void Recordset::Stream(std::shared_ptr<const ResultColumns>* cached) {
  UseColumns(Streamed(), "", cached);
  open_ = true;
  Step();
}

void Recordset::UseColumns(sqlite3_stmt* stmt, std::string_view sql,
                           std::shared_ptr<const ResultColumns>* cached) {
  if (cached && *cached) {
    columns_ = *cached;
  } else {
    auto columns = std::make_shared<ResultColumns>();
    const int first = lock_ == LockType::Optimistic ? 1 : 0;
    const int count = sqlite3_column_count(stmt);
    for (int c = first; c < count; ++c) {
      const int index = c - first;
      const char* name = sqlite3_column_name(stmt, c);
      const char* origin = sqlite3_column_origin_name(stmt, c);
      columns->names.emplace_back(name ? name : "");
      columns->originNames.emplace_back(origin ? origin : columns->names.back());
      // With duplicate names the first column wins, as lookups by name expect.
      columns->byName.try_emplace(columns->names.back(), index);
      columns->byFoldedName.try_emplace(AsciiLower(columns->names.back()), index);
    }
    if (lock_ == LockType::Optimistic) {
      // Writes go to the one table every column comes from.
      for (int c = 1; c < count; ++c) {
        const char* table = sqlite3_column_table_name(stmt, c);
        const std::string name = table ? table : "";
        if (c == 1) columns->table = name;
        if (name.empty() || name != columns->table) columns->table.clear();
      }
      if (columns->table.empty())
        throw DatabaseError("an updatable recordset must read one table: " + std::string(sql));
    }
    columns_ = std::move(columns);
    if (cached) *cached = columns_;
  }
  edits_.resize(columns_->names.size());
  ClearEdits();
}

void Recordset::ReadAll(sqlite3_stmt* stmt) {
  const bool withRowid = lock_ == LockType::Optimistic;
  const int first = withRowid ? 1 : 0;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    std::vector<Value> row;
    row.reserve(columns_->names.size());
    for (int c = first; c < first + FieldCount(); ++c) row.push_back(ColumnValue(stmt, c));
    rows_.push_back(std::move(row));
    if (withRowid) rowids_.push_back(sqlite3_column_int64(stmt, 0));
    if (firstRowOnly_) return;
  }
  Check(db_, rc, "reading rows");
}

void Recordset::Step() {
  const int rc = sqlite3_step(Streamed());
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
  if (adding_ || !edited_.empty()) {
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
  if (!columns_) return -1;
  if (auto it = columns_->byName.find(name); it != columns_->byName.end()) return it->second;
  if (auto it = columns_->byFoldedName.find(AsciiLower(name)); it != columns_->byFoldedName.end())
    return it->second;
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
  if (!columns_) throw DatabaseError("the recordset is not open");
  return columns_->names.at(static_cast<std::size_t>(index));
}

void Recordset::RequireRow() const {
  if (!open_) throw DatabaseError("the recordset is not open");
  if (eof_ && !adding_) throw DatabaseError("no current row: the recordset is at its end");
}

sqlite3_value* Recordset::Column(int index) const {
  // One call to the engine per field read; the value's own accessors are plain reads. Safe here:
  // a connection is used by one thread.
  return sqlite3_column_value(Streamed(), index);
}

Value Recordset::StatementValue(int column) const {
  return ColumnValue(Streamed(), column);
}

bool Recordset::IsNullAt(int index) const {
  RequireRow();
  ReadBackIfAdded();
  if (const auto& e = edits_[static_cast<std::size_t>(index)]) return e->IsNull();
  if (adding_) return true;
  if (Streaming()) return sqlite3_value_type(Column(index)) == SQLITE_NULL;
  return rows_[pos_][static_cast<std::size_t>(index)].IsNull();
}

Value Recordset::ValueAt(int index) const {
  RequireRow();
  ReadBackIfAdded();
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

std::uint64_t Recordset::RowFingerprint(int first, int count) const {
  RequireRow();
  ReadBackIfAdded();
  if (first < 0 || count < 0 || first + count > FieldCount()) {
    throw DatabaseError("fingerprint columns out of range");
  }
  Fingerprint print;
  for (int c = first; c < first + count; ++c) {
    if (Streaming() && !adding_) {
      sqlite3_value* v = Column(c);
      switch (sqlite3_value_type(v)) {
        case SQLITE_NULL:
          print.Null();
          break;
        case SQLITE_INTEGER:
          print.Integer(sqlite3_value_int64(v));
          break;
        case SQLITE_FLOAT:
          print.Real(sqlite3_value_double(v));
          break;
        default:
          print.Text({reinterpret_cast<const char*>(sqlite3_value_text(v)),
                      static_cast<std::size_t>(sqlite3_value_bytes(v))});
      }
      continue;
    }
    static const Value kNull;
    const auto& edit = edits_[static_cast<std::size_t>(c)];
    const Value& value = edit ? *edit : adding_ ? kNull : rows_[pos_][static_cast<std::size_t>(c)];
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
  return print.Value();
}

void Recordset::RequireUpdatable() const {
  if (!open_) throw DatabaseError("the recordset is not open");
  if (lock_ != LockType::Optimistic) throw DatabaseError("the recordset is read-only");
}

void Recordset::SetAt(int index, const Value& value) {
  RequireUpdatable();
  RequireRow();
  auto& edit = edits_[static_cast<std::size_t>(index)];
  if (!edit) edited_.push_back(index);
  edit = value;
}

void Recordset::AddNew() {
  RequireUpdatable();
  ClearEdits();
  adding_ = true;
}

void Recordset::ClearEdits() {
  for (const int i : edited_) edits_[static_cast<std::size_t>(i)].reset();
  edited_.clear();
}

void Recordset::Update() {
  RequireUpdatable();
  ReadBackIfAdded();  // an update of the added row keeps the defaults it was stored with
  if (adding_) {
    const std::int64_t rowid = InsertPending();
    rows_.emplace_back(columns_->names.size());
    rowids_.push_back(rowid);
    pos_ = rows_.size() - 1;
    eof_ = false;
    adding_ = false;
    ClearEdits();
    added_ = pos_;
    return;
  }
  RequireRow();
  UpdatePending();
  for (const int i : edited_)
    rows_[pos_][static_cast<std::size_t>(i)] = *edits_[static_cast<std::size_t>(i)];
  ClearEdits();
}

std::string Recordset::EditedColumns(std::vector<const Value*>& values) const {
  std::string shape(edits_.size(), '\0');
  for (std::size_t i = 0; i < edits_.size(); ++i) {
    if (!edits_[i]) continue;
    shape[i] = '\1';
    values.push_back(&*edits_[i]);
  }
  return shape;
}

std::int64_t Recordset::InsertPending() {
  std::vector<const Value*> values;
  const std::string shape = EditedColumns(values);
  std::string& sql = columns_->inserts[shape];
  if (sql.empty()) {
    std::string columns;
    std::string marks;
    for (std::size_t i = 0; i < edits_.size(); ++i) {
      if (!shape[i]) continue;
      if (!marks.empty()) columns += ",", marks += ",";
      columns += QuoteIdentifier(columns_->originNames[i]);
      marks += "?";
    }
    sql = values.empty() ? "INSERT INTO " + QuoteIdentifier(columns_->table) + " DEFAULT VALUES"
                         : "INSERT INTO " + QuoteIdentifier(columns_->table) + " (" + columns +
                               ") VALUES (" + marks + ")";
  }
  const StatementLease stmt = statements_->Lease(db_, sql);
  for (std::size_t i = 0; i < values.size(); ++i)
    Bind(db_, stmt.get(), static_cast<int>(i + 1), *values[i]);
  Check(db_, sqlite3_step(stmt.get()), "appending a row to " + columns_->table);
  return sqlite3_last_insert_rowid(db_);
}

void Recordset::UpdatePending() {
  std::vector<const Value*> values;
  const std::string shape = EditedColumns(values);
  if (values.empty()) return;
  std::string& sql = columns_->updates[shape];
  if (sql.empty()) {
    std::string assignments;
    for (std::size_t i = 0; i < edits_.size(); ++i) {
      if (!shape[i]) continue;
      if (!assignments.empty()) assignments += ",";
      assignments += QuoteIdentifier(columns_->originNames[i]) + "=?";
    }
    sql = "UPDATE " + QuoteIdentifier(columns_->table) + " SET " + assignments + " WHERE _rowid_=?";
  }
  const StatementLease stmt = statements_->Lease(db_, sql);
  for (std::size_t i = 0; i < values.size(); ++i)
    Bind(db_, stmt.get(), static_cast<int>(i + 1), *values[i]);
  Check(db_, sqlite3_bind_int64(stmt.get(), static_cast<int>(values.size() + 1), rowids_[pos_]),
        "binding rowid");
  Check(db_, sqlite3_step(stmt.get()), "updating a row of " + columns_->table);
}

void Recordset::ReadBackIfAdded() const {
  if (!added_ || *added_ != pos_ || adding_) return;
  added_.reset();
  ReloadRow(pos_);
}

void Recordset::ReloadRow(std::size_t row) const {
  // Re-read the stored row so defaults filled in by the database are visible.
  if (columns_->reload.empty()) {
    std::string columns;
    for (std::size_t i = 0; i < columns_->originNames.size(); ++i) {
      if (i > 0) columns += ",";
      columns += QuoteIdentifier(columns_->originNames[i]);
    }
    columns_->reload =
        "SELECT " + columns + " FROM " + QuoteIdentifier(columns_->table) + " WHERE _rowid_=?";
  }
  const StatementLease stmt = statements_->Lease(db_, columns_->reload);
  Check(db_, sqlite3_bind_int64(stmt.get(), 1, rowids_[row]), "binding rowid");
  if (sqlite3_step(stmt.get()) == SQLITE_ROW) {
    for (int c = 0; c < FieldCount(); ++c)
      rows_[row][static_cast<std::size_t>(c)] = ColumnValue(stmt.get(), c);
  }
}

void Recordset::Close() {
  stmt_.reset();
  taken_.reset();
  statements_ = nullptr;
  open_ = false;
  eof_ = true;
  columns_.reset();
  rows_.clear();
  rowids_.clear();
  added_.reset();
  edits_.clear();
  edited_.clear();
  pos_ = 0;
  adding_ = false;
}

}  // namespace velmora::db
