#include "db/pg_engine.h"

#include <libpq-fe.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "common/errors.h"
#include "db/connection_text.h"
#include "db/pg_errors.h"
#include "db/pg_sql_text.h"

namespace velmora::db {
namespace {

// Every copy's save takes this one lock for its transaction, so saves of one database follow
// each other as they do on a file, and each takes numbers the one before it left. The
// transaction's id comes with it: a commit whose answer is lost is asked about by that id.
constexpr const char* kSaveLock = "SELECT pg_advisory_xact_lock(7461726), ";

// Writes held back are sent at the latest with this many, so that neither side waits on a full
// network buffer while the other has not read.
constexpr std::size_t kMostHeldWrites = 256;

// A commit whose answer was lost is asked about this far apart while the server still counts the
// transaction in progress (it has not yet seen the connection go) or cannot be reached.
constexpr int kOutcomePauseMs = 100;

const std::string kOutcomeUnknown =
    "データベースサーバーとの接続が保存の確定の途中で切れたため、保存できたかどうか分かりません。"
    "編集内容はそのまま残しています。最新の状態を読み込み直すと、保存されたかどうかが分かります。"
    "読み込み直すまで保存はできません。";

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

std::vector<PgResult> PgEngine::Send(std::vector<PgStatement> requests, bool reads) {
  ThrowIfBroken();
  EnsureConnected();
  std::vector<PgStatement> statements = held_.Take();
  const std::size_t held = statements.size();
  for (PgStatement& request : requests) statements.push_back(std::move(request));
  ++roundTrips_;
  std::vector<PgResult> results = Pipeline(statements);
  // Reads outside a transaction that met a connection the server had just ended (its notice not
  // yet arrived when the socket was looked at) are asked again on a new connection: nothing was
  // done that could be done twice.
  if (reads && !transaction_ && held == 0 && !results.empty() &&
      (!results[0] || PgConnectionLost(conn_.get(), results[0].get())) &&
      PQresultStatus(results[0].get()) != PGRES_TUPLES_OK) {
    Reconnect();
    ++roundTrips_;
    results = Pipeline(statements);
  }

  // The held writes were the transaction's own: one that failed ends the transaction's use.
  for (std::size_t i = 0; i < held; ++i) {
    const PgResult& result = results[i];
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      try {
        Check(result, statements[i].sql);
      } catch (...) {
        broken_ = std::current_exception();
      }
      ThrowIfBroken();
    }
    if (statements[i].RowUpdate()) {
      // A write that found no row (or more than one) stored nothing of what was meant for it.
      if (PQntuples(result.get()) != 1) {
        broken_ =
            std::make_exception_ptr(RowNotWritten(statements[i].table, PQntuples(result.get())));
        ThrowIfBroken();
      }
      held_.Moved(statements[i].table, statements[i].ctid, PQgetvalue(result.get(), 0, 0));
    }
  }
  results.erase(results.begin(), results.begin() + static_cast<std::ptrdiff_t>(held));
  return results;
}

std::vector<PgResult> PgEngine::Pipeline(const std::vector<PgStatement>& statements) {
  PGconn* conn = conn_.get();
  // What was sent, in order: each statement, after its preparation when its text is new.
  struct Command {
    std::size_t statement;
    std::string prepared;  // the name a new text is prepared under; empty for the statement
  };
  std::vector<Command> commands;
  std::unordered_map<std::string, std::string> preparing;
  bool sent = PQenterPipelineMode(conn) == 1;
  for (std::size_t i = 0; sent && i < statements.size(); ++i) {
    const PgStatement& statement = statements[i];
    std::vector<const char*> values;
    for (const auto& parameter : statement.parameters)
      values.push_back(parameter ? parameter->c_str() : nullptr);
    const int n = static_cast<int>(values.size());
    if (!statement.keep) {
      sent = PQsendQueryParams(conn, NumberedParameters(statement.sql).c_str(), n, nullptr,
                               values.data(), nullptr, nullptr, 0) == 1;
    } else {
      std::string name;
      if (const auto kept = kept_.find(statement.sql); kept != kept_.end()) {
        name = kept->second.name;
      } else if (const auto made = preparing.find(statement.sql); made != preparing.end()) {
        name = made->second;
      } else {
        name = "velmora_" + std::to_string(++keptNames_);
        sent = PQsendPrepare(conn, name.c_str(), NumberedParameters(statement.sql).c_str(), 0,
                             nullptr) == 1;
        preparing.emplace(statement.sql, name);
        commands.push_back({i, name});
      }
      sent = sent &&
             PQsendQueryPrepared(conn, name.c_str(), n, values.data(), nullptr, nullptr, 0) == 1;
    }
    commands.push_back({i, {}});
  }
  sent = sent && PQpipelineSync(conn) == 1;

  // Each command answers with one result and a null; after a failure the rest answer that the
  // pipeline was given up. A statement left without a result lost its connection.
  std::vector<PgResult> results(statements.size());
  for (const Command& command : commands) {
    if (!sent) break;
    PgResult result(PQgetResult(conn));
    if (!result) break;
    while (PGresult* more = PQgetResult(conn)) PQclear(more);
    const bool ok = PQresultStatus(result.get()) == PGRES_COMMAND_OK;
    if (command.prepared.empty()) {
      // A statement whose preparation failed keeps the preparation's error.
      if (!results[command.statement]) results[command.statement] = std::move(result);
    } else if (ok) {
      kept_.emplace(statements[command.statement].sql, Kept{command.prepared, nullptr});
    } else {
      results[command.statement] = std::move(result);
    }
  }
  for (int nothing = 0; sent && nothing < 3 && PQstatus(conn) == CONNECTION_OK;) {
    PgResult end(PQgetResult(conn));
    if (!end) {
      ++nothing;
    } else if (PQresultStatus(end.get()) == PGRES_PIPELINE_SYNC) {
      break;
    }
  }
  PQexitPipelineMode(conn);
  return results;
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

void PgEngine::Begin() {
  if (readOnly_) {
    throw DatabaseError("データベースは読み取り専用で開かれているため、書き込めません。\n" + name_);
  }
  EndTransaction();
  const std::string begin =
      std::string("BEGIN; ") + kSaveLock +
      (serverVersion_ >= 130000 ? "pg_current_xact_id()::text" : "txid_current()::text");
  PgResult begun = Simple(begin);
  // A connection that died while idle without a word (a network gone quiet) shows here at the
  // latest: nothing of the transaction was done, so it begins once more on a new connection.
  if (PQresultStatus(begun.get()) != PGRES_TUPLES_OK &&
      PgConnectionLost(conn_.get(), begun.get())) {
    Reconnect();
    begun = Simple(begin);
  }
  const PGTransactionStatusType status = PQtransactionStatus(conn_.get());
  if (PQresultStatus(begun.get()) != PGRES_TUPLES_OK &&
      (status == PQTRANS_INTRANS || status == PQTRANS_INERROR)) {
    // The lock was not had: the transaction begun for it ends before the failure is told.
    PgResult(PQexec(conn_.get(), "ROLLBACK"));
  }
  Check(begun, "BEGIN");
  transactionId_ = PQgetvalue(begun.get(), 0, 1);
  transaction_ = true;
}

void PgEngine::Commit() {
  ThrowIfBroken();
  // A transaction the server already failed would answer COMMIT by rolling back; one whose
  // connection is gone was rolled back by the server, as the COMMIT was never sent.
  if (PQstatus(conn_.get()) != CONNECTION_OK ||
      PQtransactionStatus(conn_.get()) != PQTRANS_INTRANS) {
    throw DatabaseError(kPgLost + "\n(" + name_ + ": the transaction was not open at COMMIT)");
  }
  std::vector<PgResult> results;
  try {
    results = Send({PgStatement{"COMMIT", {}, false, {}, {}}});
  } catch (const DatabaseError&) {
    if (PQstatus(conn_.get()) == CONNECTION_OK) throw;  // a held write failed: nothing committed
  }
  if (PQstatus(conn_.get()) != CONNECTION_OK ||
      (!results.empty() && PQresultStatus(results[0].get()) != PGRES_COMMAND_OK &&
       PgConnectionLost(conn_.get(), results[0].get()))) {
    ResolveLostCommit();
  } else {
    Check(results[0], "COMMIT");
  }
  EndTransaction();
}

void PgEngine::ResolveLostCommit() {
  // The COMMIT may have reached the server before the connection went: only the server can tell,
  // by the transaction's id, on a new connection.
  const std::string id = transactionId_;
  const bool current = serverVersion_ >= 130000;
  EndTransaction();
  const std::string ask = current ? "SELECT pg_xact_status($1::xid8)" : "SELECT txid_status($1)";
  std::string answer = "no answer";
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(outcomeWaitMs_);
  for (int question = 0; question == 0 || std::chrono::steady_clock::now() < end; ++question) {
    if (question > 0) std::this_thread::sleep_for(std::chrono::milliseconds(kOutcomePauseMs));
    try {
      Reconnect(false);
    } catch (const DatabaseError&) {
      continue;  // the server may be coming back
    }
    const char* values[] = {id.c_str()};
    ++roundTrips_;
    const PgResult status(
        PQexecParams(conn_.get(), ask.c_str(), 1, nullptr, values, nullptr, nullptr, 0));
    if (PQresultStatus(status.get()) != PGRES_TUPLES_OK) continue;
    answer = PQgetisnull(status.get(), 0, 0) ? "unknown" : PQgetvalue(status.get(), 0, 0);
    if (answer == "committed") return;
    if (answer == "aborted") {
      throw DatabaseError(kPgLost + "\n(" + name_ + ": the connection was lost at COMMIT; the " +
                          "server rolled transaction " + id + " back)");
    }
    if (answer != "in progress") break;
  }
  throw CommitOutcomeUnknown(kOutcomeUnknown + "\n(" + name_ + ": the connection was lost at " +
                             "COMMIT; transaction " + id + ": " + answer + ")");
}

void PgEngine::Rollback() {
  const bool open = transaction_;
  EndTransaction();
  if (!open) return;
  // A dropped connection took the transaction with it; the server rolled it back.
  if (PQstatus(conn_.get()) != CONNECTION_OK) return;
  if (PQtransactionStatus(conn_.get()) != PQTRANS_IDLE) Check(Simple("ROLLBACK"), "ROLLBACK");
}

void PgEngine::EndTransaction() {
  transaction_ = false;
  held_.Clear();
  markSet_ = false;
  broken_ = nullptr;
  firstFailure_ = nullptr;
  transactionId_.clear();
}

// A failed statement fails the server's whole transaction; a savepoint keeps the rest of it.
// Setting and releasing one go with the next request; only undoing to it is sent at once.
void PgEngine::Mark() {
  ThrowIfBroken();
  held_.Add(PgStatement{"SAVEPOINT velmora_attempt", {}, false, {}, {}});
  markSet_ = true;
}

void PgEngine::ForgetMark() {
  if (!markSet_) return;
  markSet_ = false;
  held_.Add(PgStatement{"RELEASE SAVEPOINT velmora_attempt", {}, false, {}, {}});
}

void PgEngine::UndoToMark() {
  if (!markSet_) return;
  markSet_ = false;
  std::vector<PgResult> results =
      Send({PgStatement{"ROLLBACK TO SAVEPOINT velmora_attempt", {}, false, {}, {}},
            PgStatement{"RELEASE SAVEPOINT velmora_attempt", {}, false, {}, {}}});
  for (const PgResult& result : results) Check(result, "ROLLBACK TO SAVEPOINT");
}

bool PgEngine::InTransaction() const {
  return transaction_;
}

}  // namespace velmora::db
