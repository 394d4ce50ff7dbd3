#include "db/pg_engine.h"

#include <libpq-fe.h>

#include <chrono>
#include <thread>

#include "common/errors.h"
#include "db/pg_errors.h"

namespace velmora::db {
namespace {

// Every copy's save takes this one lock for its transaction, so saves of one database follow
// each other as they do on a file, and each takes numbers the one before it left. The
// transaction's id comes with it: a commit whose answer is lost is asked about by that id.
constexpr const char* kSaveLock = "SELECT pg_advisory_xact_lock(7461726), ";

// A commit whose answer was lost is asked about this far apart while the server still counts the
// transaction in progress (it has not yet seen the connection go) or cannot be reached.
constexpr int kOutcomePauseMs = 100;

const std::string kOutcomeUnknown =
    "データベースサーバーとの接続が保存の確定の途中で切れたため、保存できたかどうか分かりません。"
    "編集内容はそのまま残しています。最新の状態を読み込み直すと、保存されたかどうかが分かります。"
    "読み込み直すまで保存はできません。";

}  // namespace

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
