#include "db/pg_engine.h"

#include <libpq-fe.h>

#include <iostream>

#include "common/errors.h"
#include "db/connection_text.h"
#include "db/pg_errors.h"
#include "db/pg_sql_text.h"

namespace velmora::db {
namespace {

// Writes held back are sent at the latest with this many, so that neither side waits on a full
// network buffer while the other has not read.
constexpr std::size_t kMostHeldWrites = 256;

std::string ParameterText(const Value& value) {
  const auto& raw = value.Raw();
  if (const auto* s = std::get_if<std::string>(&raw)) return *s;
  return value.Text();
}

}  // namespace

void PgEngine::Closer::operator()(pg_conn* conn) const {
  PQfinish(conn);
}

PgEngine::PgEngine(const std::string& address, const Options& options)
    : address_(address),
      name_(AddressWithoutPassword(address)),
      readOnly_(options.readOnly),
      lockTimeoutMs_(options.lockTimeoutMs),
      outcomeWaitMs_(options.outcomeWaitMs) {
  CheckPgAddress(address_, name_);
  Reconnect();
}

PgEngine::~PgEngine() = default;

void PgEngine::Reconnect(bool tell) {
  kept_.clear();  // prepared statements live as long as the server's session
  conn_.reset(PQconnectdb(address_.c_str()));
  if (!conn_) throw std::bad_alloc();
  if (PQstatus(conn_.get()) != CONNECTION_OK) {
    if (tell)
      std::cerr << "velmora: " << name_ << ": " << PQerrorMessage(conn_.get()) << std::flush;
    throw PgConnectError(conn_.get(), name_);
  }
  serverVersion_ = PQserverVersion(conn_.get());
  // The server's notices (long names shortened, ...) are not the user's business.
  PQsetNoticeProcessor(
      conn_.get(), [](void*, const char*) {}, nullptr);
  std::string setup =
      "SET client_encoding='UTF8'; SET lock_timeout=" + std::to_string(lockTimeoutMs_) +
      "; SET client_min_messages=warning";
  if (readOnly_) setup += "; SET default_transaction_read_only=on";
  Check(Simple(setup), "session settings");
}

void PgEngine::EnsureConnected() {
  // A connection the server ended while it stood idle (a restart, an administrator) has the end
  // waiting in its socket: reading it costs no exchange and finds the loss before anything is
  // sent. The server's last words come first, the end of the stream with the next read.
  for (int read = 0; read < 2 && !transaction_ && PQstatus(conn_.get()) == CONNECTION_OK; ++read) {
    if (PQconsumeInput(conn_.get()) == 0) break;
  }
  if (PQstatus(conn_.get()) == CONNECTION_OK) return;
  // Inside a transaction the work done so far is gone with the connection: the failure is
  // reported, and never carried on in a new session as if nothing had happened.
  if (transaction_) throw DatabaseError(kPgLost + "\n(" + name_ + ")");
  Reconnect();
}

PgResult PgEngine::Simple(const std::string& sql) {
  EnsureConnected();
  ++roundTrips_;
  return PgResult(PQexec(conn_.get(), sql.c_str()));
}

PgStatement PgEngine::Statement(std::string_view sql, const Value* const* parameters,
                                std::size_t count, bool keep) const {
  PgStatement statement{std::string(sql), {}, keep, {}, {}};
  statement.parameters.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (parameters[i]->IsNull()) {
      statement.parameters.emplace_back();
    } else {
      statement.parameters.emplace_back(ParameterText(*parameters[i]));
    }
  }
  return statement;
}

void PgEngine::ThrowIfBroken() const {
  if (broken_) std::rethrow_exception(broken_);
}

void PgEngine::Flush() {
  if (held_.Size() > 0) Send({});
}

void PgEngine::Check(const PgResult& result, std::string_view what) {
  const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
  if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return;
  // "current transaction is aborted" (or a pipeline given up) only says that something failed
  // before: that is the cause.
  const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
  if (firstFailure_ &&
      (status == PGRES_PIPELINE_ABORTED || (state && std::string_view(state) == "25P02"))) {
    std::rethrow_exception(firstFailure_);
  }
  try {
    ThrowPgFailure(conn_.get(), result.get(), what, name_);
  } catch (...) {
    if (transaction_ && !firstFailure_) firstFailure_ = std::current_exception();
    throw;
  }
}

const PgEngine::TableColumns& PgEngine::TableOf(unsigned oid) {
  auto it = tables_.find(oid);
  if (it != tables_.end()) return it->second;
  const Value id(static_cast<std::int64_t>(oid));
  const Value* parameters[] = {&id};
  std::vector<PgResult> results = Send(
      {Statement("SELECT c.relname, a.attnum, a.attname FROM pg_class c JOIN pg_attribute a ON "
                 "a.attrelid = c.oid WHERE c.oid = ? AND a.attnum > 0 AND NOT a.attisdropped",
                 parameters, 1, false)});
  const PgResult& result = results[0];
  Check(result, "reading a table's columns");
  TableColumns table;
  for (int r = 0; r < PQntuples(result.get()); ++r) {
    table.table = PQgetvalue(result.get(), r, 0);
    table.columns[std::atoi(PQgetvalue(result.get(), r, 1))] = PQgetvalue(result.get(), r, 2);
  }
  return tables_.emplace(oid, std::move(table)).first->second;
}

std::unique_ptr<Rows> PgEngine::Query(std::string_view sql, const Value* parameters,
                                      std::size_t count, bool forUpdate, bool keep) {
  std::vector<const Value*> pointers(count);
  for (std::size_t i = 0; i < count; ++i) pointers[i] = &parameters[i];
  const std::string text = Locking(sql, forUpdate);
  std::vector<PgResult> results = Send({Statement(text, pointers.data(), count, keep)}, true);
  Check(results[0], text);
  return RowsOf(std::move(results[0]), text, forUpdate);
}

std::string PgEngine::Locking(std::string_view sql, bool forUpdate) const {
  // Inside a transaction the rows read for writing are locked as they are read: another
  // program's write waits for the commit instead of moving the row from under the save's write
  // (which then would find nothing) or changing it after the save compared it.
  if (forUpdate && transaction_) return std::string(sql) + " FOR UPDATE";
  return std::string(sql);
}

std::vector<std::unique_ptr<Rows>> PgEngine::QueryBatch(const std::vector<BatchQuery>& queries) {
  std::vector<PgStatement> statements;
  std::vector<std::string> texts;
  for (const BatchQuery& query : queries) {
    std::vector<const Value*> pointers(query.count);
    for (std::size_t i = 0; i < query.count; ++i) pointers[i] = &query.parameters[i];
    texts.push_back(Locking(query.sql, query.forUpdate));
    statements.push_back(Statement(texts.back(), pointers.data(), query.count, true));
  }
  std::vector<PgResult> results = Send(std::move(statements), true);
  // Every answer is looked at before any is read: a failed statement aborts the transaction, and
  // reading a result may need the server again.
  for (std::size_t k = 0; k < queries.size(); ++k) Check(results[k], texts[k]);
  std::vector<std::unique_ptr<Rows>> rows;
  for (std::size_t k = 0; k < queries.size(); ++k) {
    rows.push_back(RowsOf(std::move(results[k]), texts[k], queries[k].forUpdate));
  }
  return rows;
}

std::unique_ptr<Rows> PgEngine::RowsOf(PgResult result, std::string_view sql, bool forUpdate) {
  const auto keptEntry = kept_.find(std::string(sql));
  Kept* kept = keptEntry == kept_.end() ? nullptr : &keptEntry->second;
  std::shared_ptr<const ResultColumns> columns = kept ? kept->columns : nullptr;
  if (!columns) {
    auto made = std::make_shared<ResultColumns>();
    const int first = forUpdate ? 1 : 0;
    const int fields = PQnfields(result.get());
    std::string table;
    for (int c = first; c < fields; ++c) {
      const std::string name = PQfname(result.get(), c);
      std::string origin = name;
      if (forUpdate) {
        // Writes go to the one table every column comes from, by the columns' stored names.
        const Oid oid = PQftable(result.get(), c);
        const TableColumns* source = oid == InvalidOid ? nullptr : &TableOf(oid);
        const int number = PQftablecol(result.get(), c);
        if (source == nullptr || !source->columns.contains(number) ||
            (c > first && source->table != table)) {
          throw DatabaseError("an updatable recordset must read one table: " + std::string(sql));
        }
        table = source->table;
        origin = source->columns.at(number);
      }
      made->Add(name, origin);
    }
    made->table = table;
    columns = std::move(made);
    // TableOf may have prepared statements since the look-up above.
    if (kept) kept_.at(std::string(sql)).columns = columns;
  }
  return MakePgRows(std::move(result), std::move(columns), forUpdate);
}

Value PgEngine::Insert(const std::string& sql, const std::vector<const Value*>& values) {
  std::vector<PgResult> results =
      Send({Statement(sql + " RETURNING ctid", values.data(), values.size(), true)});
  Check(results[0], sql);
  return Value(std::string(PQgetvalue(results[0].get(), 0, 0)));
}

void PgEngine::InsertLater(const std::string& sql, const std::vector<const Value*>& values,
                           bool attempt) {
  ThrowIfBroken();
  if (!transaction_) {
    Engine::InsertLater(sql, values, attempt);
    return;
  }
  PgStatement insert = Statement(sql, values.data(), values.size(), true);
  insert.attempt = attempt;
  if (attempt) held_.Add(PgStatement{"SAVEPOINT velmora_attempt", {}, false, {}, {}});
  held_.Add(std::move(insert));
  if (attempt) held_.Add(PgStatement{"RELEASE SAVEPOINT velmora_attempt", {}, false, {}, {}});
  if (held_.Size() >= kMostHeldWrites) Flush();
}

Value PgEngine::Update(const std::string& sql, const RowWrite& write,
                       const std::vector<const Value*>& values, const Value& rowId) {
  ThrowIfBroken();
  if (!transaction_) {
    std::vector<const Value*> all = values;
    all.push_back(&rowId);
    std::vector<PgResult> results =
        Send({Statement(sql + " RETURNING ctid", all.data(), all.size(), true)});
    Check(results[0], sql);
    if (PQntuples(results[0].get()) != 1)
      throw RowNotWritten(write.table, PQntuples(results[0].get()));
    // The server writes a new version of the row elsewhere; that is where it is found next.
    return Value(std::string(PQgetvalue(results[0].get(), 0, 0)));
  }
  // Inside a transaction the write goes with the next request; the row keeps the id it was read
  // by, which the queue follows to where the server moved it.
  const std::string table(write.table);
  const std::vector<std::string> columns(write.columns.begin(), write.columns.end());
  const PgStatement texts = Statement(sql, values.data(), values.size(), true);
  if (!held_.AddRowUpdate(table, rowId.Text(), columns, texts.parameters)) {
    Flush();
    held_.AddRowUpdate(table, rowId.Text(), columns, texts.parameters);
  }
  if (held_.Size() >= kMostHeldWrites) Flush();
  return rowId;
}

std::int64_t PgEngine::Run(std::string_view sql, const Value* parameters, std::size_t count) {
  std::vector<const Value*> pointers(count);
  for (std::size_t i = 0; i < count; ++i) pointers[i] = &parameters[i];
  std::vector<PgResult> results = Send({Statement(sql, pointers.data(), count, true)});
  Check(results[0], sql);
  return std::strtoll(PQcmdTuples(results[0].get()), nullptr, 10);
}

void PgEngine::Execute(std::string_view script) {
  ThrowIfBroken();
  Flush();
  Check(Simple(std::string(script)), "SQL failed");
}

}  // namespace velmora::db
