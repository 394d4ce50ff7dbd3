#include "db/recordset.h"

#include <algorithm>

#include "common/errors.h"
#include "common/numeric.h"
#include "common/text.h"
#include "db/fingerprint.h"
#include "db/sql_text.h"

namespace velmora::db {
namespace {

constexpr std::string_view kRowIdAlias = "velmora_rowid_";

// "SELECT ..." becomes "SELECT <row id> AS velmora_rowid_, ...", so each row can be written back.
std::string WithRowId(std::string_view sql, std::string_view rowId) {
  std::size_t start = 0;
  while (start < sql.size() &&
         (sql[start] == ' ' || sql[start] == '\t' || sql[start] == '\n' || sql[start] == '\r')) {
    ++start;
  }
  constexpr std::string_view kSelect = "select ";
  const std::string_view head = sql.substr(start, kSelect.size());
  const bool select = head.size() == kSelect.size() &&
                      std::equal(head.begin(), head.end(), kSelect.begin(), [](char a, char b) {
                        return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b;
                      });
  if (!select) {
    throw DatabaseError("an updatable recordset needs a plain SELECT: " + std::string(sql));
  }
  // Built in one buffer: every read for writing passes here.
  std::string text;
  text.reserve(sql.size() + rowId.size() + kRowIdAlias.size() + 5);
  text.append(sql.substr(0, start + kSelect.size()))
      .append(rowId)
      .append(" AS ")
      .append(kRowIdAlias)
      .append(",")
      .append(sql.substr(start + kSelect.size()));
  return text;
}

}  // namespace

Recordset::Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::~Recordset() = default;

void Recordset::Open(std::string_view sql, Connection& connection, CursorType cursor, LockType lock,
                     int) {
  Open(sql, nullptr, 0, connection, cursor, lock, false);
}

void Recordset::Open(std::string_view sql, const Value* parameters, std::size_t count,
                     Connection& connection, CursorType cursor, LockType lock, bool keep) {
  Close();
  engine_ = &connection.Engine();
  lock_ = lock;
  const bool forUpdate = lock == LockType::Optimistic;
  std::unique_ptr<Rows> rows = forUpdate ? engine_->Query(WithRowId(sql, engine_->RowIdColumn()),
                                                          parameters, count, true, keep)
                                         : engine_->Query(sql, parameters, count, false, keep);
  if (forUpdate || cursor == CursorType::Keyset) {
    Keep(*rows);
    return;
  }
  columns_ = rows->Columns();
  edits_.resize(columns_->names.size());
  stream_ = std::move(rows);
  open_ = true;
  Step();
}

void Recordset::OpenTogether(std::vector<BatchRead>& reads, Connection& connection) {
  Engine& engine = connection.Engine();
  std::vector<BatchQuery> queries;
  queries.reserve(reads.size());
  for (const BatchRead& read : reads) {
    const bool forUpdate = read.lock == LockType::Optimistic;
    std::string sql = forUpdate ? WithRowId(read.sql, engine.RowIdColumn()) : read.sql;
    if (read.firstRowOnly) sql += " LIMIT 1";
    queries.push_back({std::move(sql), read.parameters.data(), read.parameters.size(), forUpdate});
  }
  std::vector<std::unique_ptr<Rows>> results = engine.QueryBatch(queries);
  for (std::size_t k = 0; k < reads.size(); ++k) {
    Recordset& rs = *reads[k].into;
    rs.Close();
    rs.engine_ = &engine;
    rs.lock_ = reads[k].lock;
    rs.Keep(*results[k]);
  }
}

void Recordset::Keep(Rows& rows) {
  columns_ = rows.Columns();
  edits_.resize(columns_->names.size());
  ReadAll(rows);  // a failed read leaves the recordset closed
  open_ = true;
  pos_ = 0;
  eof_ = rows_.empty();
}

void Recordset::ReadAll(Rows& rows) {
  const bool forUpdate = lock_ == LockType::Optimistic;
  while (rows.Next()) {
    std::vector<Value> row;
    row.reserve(columns_->names.size());
    for (int c = 0; c < FieldCount(); ++c) row.push_back(rows.Get(c));
    rows_.push_back(std::move(row));
    if (forUpdate) rowIds_.push_back(rows.RowId());
  }
}

void Recordset::Step() {
  eof_ = !stream_->Next();
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

bool Recordset::IsNullAt(int index) const {
  RequireRow();
  ReadBackIfAdded();
  if (const auto& e = edits_[static_cast<std::size_t>(index)]) return e->IsNull();
  if (adding_) return true;
  if (Streaming()) return stream_->IsNull(index);
  return rows_[pos_][static_cast<std::size_t>(index)].IsNull();
}

Value Recordset::ValueAt(int index) const {
  RequireRow();
  ReadBackIfAdded();
  if (const auto& e = edits_[static_cast<std::size_t>(index)]) return *e;
  if (adding_) return Value();
  if (Streaming()) return stream_->Get(index);
  return rows_[pos_][static_cast<std::size_t>(index)];
}

std::string Recordset::TextAt(int index) const {
  if (Streaming() && !adding_) {
    RequireRow();
    return stream_->Text(index);  // straight from the engine, without an intermediate value
  }
  return ValueAt(index).Text();
}

double Recordset::NumberAt(int index) const {
  if (Streaming() && !adding_) {
    RequireRow();
    return stream_->Number(index);
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
      stream_->Print(print, c);
      continue;
    }
    static const Value kNull;
    const auto& edit = edits_[static_cast<std::size_t>(c)];
    PrintValue(print, edit ? *edit : adding_ ? kNull : rows_[pos_][static_cast<std::size_t>(c)]);
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
    Value rowId = InsertPending();
    rows_.emplace_back(columns_->names.size());
    rowIds_.push_back(std::move(rowId));
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

void Recordset::Append(bool attempt) {
  RequireUpdatable();
  if (!adding_) throw DatabaseError("Append without AddNew");
  std::vector<const Value*> values;
  const std::string& sql = InsertText(values);
  engine_->InsertLater(sql, values, attempt);
  adding_ = false;
  ClearEdits();
}

Value Recordset::InsertPending() {
  std::vector<const Value*> values;
  const std::string& sql = InsertText(values);
  return engine_->Insert(sql, values);
}

const std::string& Recordset::InsertText(std::vector<const Value*>& values) const {
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
  return sql;
}

void Recordset::UpdatePending() {
  std::vector<const Value*> values;
  const std::string shape = EditedColumns(values);
  if (values.empty()) return;
  RowWrite write{columns_->table, {}};
  for (std::size_t i = 0; i < edits_.size(); ++i) {
    if (shape[i]) write.columns.emplace_back(columns_->originNames[i]);
  }
  std::string& sql = columns_->updates[shape];
  if (sql.empty()) {
    std::string assignments;
    for (std::size_t i = 0; i < edits_.size(); ++i) {
      if (!shape[i]) continue;
      if (!assignments.empty()) assignments += ",";
      assignments += QuoteIdentifier(columns_->originNames[i]) + "=?";
    }
    sql = "UPDATE " + QuoteIdentifier(columns_->table) + " SET " + assignments + " WHERE " +
          std::string(engine_->RowIdColumn()) + "=?";
  }
  // A server may move the row as it writes it: its new id is where the next write finds it.
  rowIds_[pos_] = engine_->Update(sql, write, values, rowIds_[pos_]);
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
    columns_->reload = "SELECT " + columns + " FROM " + QuoteIdentifier(columns_->table) +
                       " WHERE " + std::string(engine_->RowIdColumn()) + "=?";
  }
  const std::unique_ptr<Rows> stored =
      engine_->Query(columns_->reload, &rowIds_[row], 1, false, true);
  if (stored->Next()) {
    for (int c = 0; c < FieldCount(); ++c) rows_[row][static_cast<std::size_t>(c)] = stored->Get(c);
  }
}

void Recordset::Close() {
  stream_.reset();
  engine_ = nullptr;
  open_ = false;
  eof_ = true;
  columns_.reset();
  rows_.clear();
  rowIds_.clear();
  added_.reset();
  edits_.clear();
  edited_.clear();
  pos_ = 0;
  adding_ = false;
}

}  // namespace velmora::db
