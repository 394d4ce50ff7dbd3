#include "db/pg_engine.h"

#include <libpq-fe.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "common/errors.h"
#include "common/numeric.h"
#include "db/connection_text.h"
#include "db/pg_sql_text.h"

namespace velmora::db {
namespace {

// Object ids of the server's built-in types that read as numbers.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700,
              kFloat8 = 701, kNumeric = 1700;

// Every copy's save takes this one lock for its transaction, so saves of one database follow
// each other as they do on a file, and each takes numbers the one before it left.
constexpr const char* kSaveLock = "SELECT pg_advisory_xact_lock(7461726)";

// Writes held back are sent at the latest with this many, so that neither side waits on a full
// network buffer while the other has not read.
constexpr std::size_t kMostHeldWrites = 256;

const std::string kBusy =
    "データベースは他のプログラムで使用中です。しばらくしてから、もう一度やり直してください。";
const std::string kLost =
    "データベースサーバーとの接続が切れました。書きかけの内容は保存されていません。"
    "接続を確認して、もう一度やり直してください。";

std::string Trimmed(const char* text) {
  std::string s = text ? text : "";
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// Why a connection could not be made, in the words a user can act on.
DatabaseError ConnectError(PGconn* conn, const std::string& shown) {
  const std::string detail = Trimmed(PQerrorMessage(conn));
  std::cerr << "velmora: " << shown << ": " << detail << std::endl;
  const std::string user = PQuser(conn) ? PQuser(conn) : "";
  if (PQconnectionNeedsPassword(conn) || Contains(detail, "authentication failed") ||
      Contains(detail, "no pg_hba.conf entry") ||
      (Contains(detail, "role \"") && Contains(detail, "does not exist"))) {
    return DatabaseError(
        "データベースサーバーへのログインが拒否されました。ユーザー名とパスワード"
        "（~/.pgpass または PGPASSWORD）を確認してください。\nユーザー: " +
        user + "\n(" + detail + ")");
  }
  if (Contains(detail, "database \"") && Contains(detail, "does not exist")) {
    const char* db = PQdb(conn);
    return DatabaseError("データベース「" + std::string(db ? db : "") +
                         "」がサーバーにありません。設定ファイルのデータベース名を確認してください"
                         "。\n(" +
                         detail + ")");
  }
  const char* host = PQhost(conn);
  const char* port = PQport(conn);
  return DatabaseError(
      "データベースサーバーに接続できません。サーバーが動いているか、ネットワークと設定ファイルの"
      "アドレスを確認してください。\nホスト: " +
      std::string(host && *host ? host : "localhost") +
      "  ポート: " + std::string(port && *port ? port : "5432") + "\n(" + detail + ")");
}

std::string ParameterText(const Value& value) {
  const auto& raw = value.Raw();
  if (const auto* s = std::get_if<std::string>(&raw)) return *s;
  return value.Text();
}

// The rows of one result, which the server sent whole.
class PgRows final : public Rows {
 public:
  PgRows(PgResult result, std::shared_ptr<const ResultColumns> columns, bool forUpdate)
      : result_(std::move(result)),
        columns_(std::move(columns)),
        first_(forUpdate ? 1 : 0),
        count_(PQntuples(result_.get())) {
    const int fields = PQnfields(result_.get());
    for (int c = first_; c < fields; ++c) types_.push_back(PQftype(result_.get(), c));
  }

  const std::shared_ptr<const ResultColumns>& Columns() const override { return columns_; }

  bool Next() override { return ++row_ < count_; }

  bool IsNull(int column) const override {
    return PQgetisnull(result_.get(), row_, column + first_) != 0;
  }

  Value Get(int column) const override {
    if (IsNull(column)) return Value();
    const char* text = PQgetvalue(result_.get(), row_, column + first_);
    switch (types_[static_cast<std::size_t>(column)]) {
      case kBool:
        return Value(static_cast<std::int64_t>(text[0] == 't' ? 1 : 0));
      case kInt2:
      case kInt4:
      case kInt8:
      case kOid:
        return Value(static_cast<std::int64_t>(std::strtoll(text, nullptr, 10)));
      case kFloat4:
      case kFloat8:
        return Value(std::strtod(text, nullptr));
      case kNumeric:
        // A sum of whole numbers comes as numeric: whole, it reads as the integer it is.
        if (std::strpbrk(text, ".eEN") == nullptr && std::strlen(text) < 19) {
          return Value(static_cast<std::int64_t>(std::strtoll(text, nullptr, 10)));
        }
        return Value(std::strtod(text, nullptr));
      default:
        return Value(std::string(
            text, static_cast<std::size_t>(PQgetlength(result_.get(), row_, column + first_))));
    }
  }

  std::string Text(int column) const override {
    if (IsText(column)) {
      return std::string(
          PQgetvalue(result_.get(), row_, column + first_),
          static_cast<std::size_t>(PQgetlength(result_.get(), row_, column + first_)));
    }
    return Get(column).Text();
  }

  double Number(int column) const override {
    if (IsNull(column)) return 0.0;
    if (IsText(column)) return Val(PQgetvalue(result_.get(), row_, column + first_));
    return Get(column).Number();
  }

  Value RowId() const override { return Value(std::string(PQgetvalue(result_.get(), row_, 0))); }

 private:
  bool IsText(int column) const {
    switch (types_[static_cast<std::size_t>(column)]) {
      case kBool:
      case kInt2:
      case kInt4:
      case kInt8:
      case kOid:
      case kFloat4:
      case kFloat8:
      case kNumeric:
        return false;
      default:
        return true;
    }
  }

  PgResult result_;
  std::shared_ptr<const ResultColumns> columns_;
  int first_;
  int count_;
  int row_ = -1;
  std::vector<Oid> types_;
};

}  // namespace

void PgResultDeleter::operator()(pg_result* result) const {
  PQclear(result);
}
void PgEngine::Closer::operator()(pg_conn* conn) const {
  PQfinish(conn);
}

PgEngine::PgEngine(const std::string& address, const Options& options)
    : address_(address),
      name_(AddressWithoutPassword(address)),
      readOnly_(options.readOnly),
      lockTimeoutMs_(options.lockTimeoutMs) {
  Reconnect();
}

PgEngine::~PgEngine() = default;

void PgEngine::Reconnect() {
  kept_.clear();  // prepared statements live as long as the server's session
  conn_.reset(PQconnectdb(address_.c_str()));
  if (!conn_) throw std::bad_alloc();
  if (PQstatus(conn_.get()) != CONNECTION_OK) throw ConnectError(conn_.get(), name_);
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
  if (PQstatus(conn_.get()) == CONNECTION_OK) return;
  // Inside a transaction the work done so far is gone with the connection: the failure is
  // reported, and never carried on in a new session as if nothing had happened.
  if (transaction_) throw DatabaseError(kLost + "\n(" + name_ + ")");
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

std::vector<PgResult> PgEngine::Send(std::vector<PgStatement> requests) {
  ThrowIfBroken();
  EnsureConnected();
  std::vector<PgStatement> statements = held_.Take();
  const std::size_t held = statements.size();
  for (PgStatement& request : requests) statements.push_back(std::move(request));
  ++roundTrips_;
  std::vector<PgResult> results = Pipeline(statements);

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
    if (statements[i].RowUpdate() && PQntuples(result.get()) == 1) {
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
  const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
  const std::string code = state ? state : "";
  const std::string detail =
      Trimmed(result ? PQresultErrorMessage(result.get()) : PQerrorMessage(conn_.get()));
  const std::string technical = std::string(what) + ": " + detail;
  // A connection failure (libpq's own errors have no code), or the server ending the session
  // (shut down, or by an administrator).
  if (PQstatus(conn_.get()) != CONNECTION_OK || code.empty() || code.starts_with("08") ||
      code.starts_with("57P")) {
    throw DatabaseError(kLost + "\n(" + technical + ")");
  }
  if (code == "40001" || code == "40P01") throw TransactionConflict(technical);
  if (code == "55P03") throw DatabaseError(kBusy + "\n(" + technical + ")");
  if (code == "25006") {
    throw DatabaseError("データベースは読み取り専用で開かれているため、書き込めません。\n" + name_ +
                        "\n(" + technical + ")");
  }
  if (code == "42P01") {
    throw DatabaseError(
        "データベースに必要なテーブルがありません。管理者に velmora-demo --empty でテーブルを作成"
        "してもらってください。\n" +
        name_ + "\n(" + technical + ")");
  }
  throw DatabaseError(technical);
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
  std::vector<PgResult> results = Send({Statement(sql, pointers.data(), count, keep)});
  Check(results[0], sql);
  return RowsOf(std::move(results[0]), sql, forUpdate);
}

std::vector<std::unique_ptr<Rows>> PgEngine::QueryBatch(const std::vector<BatchQuery>& queries) {
  std::vector<PgStatement> statements;
  for (const BatchQuery& query : queries) {
    std::vector<const Value*> pointers(query.count);
    for (std::size_t i = 0; i < query.count; ++i) pointers[i] = &query.parameters[i];
    statements.push_back(Statement(query.sql, pointers.data(), query.count, true));
  }
  std::vector<PgResult> results = Send(std::move(statements));
  std::vector<std::unique_ptr<Rows>> rows;
  for (std::size_t k = 0; k < queries.size(); ++k) {
    Check(results[k], queries[k].sql);
    rows.push_back(RowsOf(std::move(results[k]), queries[k].sql, queries[k].forUpdate));
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
  return std::make_unique<PgRows>(std::move(result), std::move(columns), forUpdate);
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
    // The server writes a new version of the row elsewhere; that is where it is found next.
    if (PQntuples(results[0].get()) == 0) return rowId;
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

void PgEngine::Run(std::string_view sql, const Value* parameters, std::size_t count) {
  std::vector<const Value*> pointers(count);
  for (std::size_t i = 0; i < count; ++i) pointers[i] = &parameters[i];
  std::vector<PgResult> results = Send({Statement(sql, pointers.data(), count, true)});
  Check(results[0], sql);
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
  const PgResult begun = Simple(std::string("BEGIN; ") + kSaveLock);
  const PGTransactionStatusType status = PQtransactionStatus(conn_.get());
  if (PQresultStatus(begun.get()) != PGRES_TUPLES_OK &&
      (status == PQTRANS_INTRANS || status == PQTRANS_INERROR)) {
    // The lock was not had: the transaction begun for it ends before the failure is told.
    PgResult(PQexec(conn_.get(), "ROLLBACK"));
  }
  Check(begun, "BEGIN");
  transaction_ = true;
}

void PgEngine::Commit() {
  ThrowIfBroken();
  // A transaction the server already failed would answer COMMIT by rolling back.
  if (PQstatus(conn_.get()) != CONNECTION_OK ||
      PQtransactionStatus(conn_.get()) != PQTRANS_INTRANS) {
    throw DatabaseError(kLost + "\n(" + name_ + ": the transaction was not open at COMMIT)");
  }
  std::vector<PgResult> results = Send({PgStatement{"COMMIT", {}, false, {}, {}}});
  Check(results[0], "COMMIT");
  EndTransaction();
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
