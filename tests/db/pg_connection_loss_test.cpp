// What a connection to a server that goes away tells: a commit whose answer was lost is asked
// about and never guessed, and a connection that died while idle is opened again before the next
// statement, so the first attempt after it lands.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/errors.h"
#include "db/recordset.h"
#include "db/transaction.h"
#include "support/pg_proxy.h"
#include "support/pg_test_server.h"
#include "support/test_db.h"

namespace velmora::db {
namespace {

class ServerConnectionLoss : public ::testing::Test {
 protected:
  ServerConnectionLoss() {
    connection_.OpenTarget(proxy_.Uri(),
                           {.readOnly = false, .busyTimeoutMs = 10000, .commitOutcomeWaitMs = 500});
    db_.connection().ExecuteScript("INSERT INTO 品目マスタ (品名コード,型番名) VALUES ('A','a')");
  }
  // Adds item B and writes A over (held back to the commit), in one transaction.
  void Write(Transaction& transaction) {
    connection_.ExecuteScript("INSERT INTO 品目マスタ (品名コード) VALUES ('B')");
    Recordset a;
    a.Open("SELECT * FROM 品目マスタ WHERE 品名コード=?", {"A"}, connection_, CursorType::Keyset,
           LockType::Optimistic);
    a.Fields("型番名") = "written";
    a.Update();
    (void)transaction;
  }
  // What another program reads: the item count and A's model name.
  std::string Stored() {
    return db_.Scalar("SELECT count(*) FROM 品目マスタ").Text() + " " +
           db_.Scalar("SELECT 型番名 FROM 品目マスタ WHERE 品名コード='A'").Text();
  }

  test::TestDb db_{test::Engine::Server};
  test::PgProxy proxy_{db_.target()};
  Connection connection_;
};

TEST_F(ServerConnectionLoss, TheServerDecidesWhatALostCommitAnswerMeans) {
  const struct Case {
    const char* name;
    bool cutAfterCommit;  // the COMMIT reaches the server; its answer never arrives
    bool cutBefore;       // the connection goes before the COMMIT is sent
    bool unreachable;     // afterwards no new connection can be made
    const char* stored;
    const char* says;  // "" for a commit that counts as done
  } cases[] = {
      {"answer lost, committed", true, false, false, "2 written", ""},
      {"cut before the commit", false, true, false, "1 a", "接続が切れました"},
      {"answer lost, server out of reach", true, false, true, "2 written", "分かりません"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    db_.connection().ExecuteScript(
        "DELETE FROM 品目マスタ WHERE 品名コード='B'; UPDATE 品目マスタ SET 型番名='a'");
    std::string said;
    bool unknown = false;
    try {
      Transaction transaction(connection_);
      Write(transaction);
      if (c.cutAfterCommit) proxy_.CutAfterAnswerTo("COMMIT");
      if (c.cutBefore) proxy_.CutAll();
      proxy_.Refuse(c.unreachable);
      transaction.Commit();
    } catch (const CommitOutcomeUnknown& e) {
      said = e.what();
      unknown = true;
    } catch (const DatabaseError& e) {
      said = e.what();
    }
    proxy_.Refuse(false);
    EXPECT_EQ(Stored(), c.stored);
    if (*c.says == '\0') {
      EXPECT_EQ(said, "");
    } else {
      EXPECT_NE(said.find(c.says), std::string::npos) << said;
    }
    EXPECT_EQ(unknown, c.unreachable);
    // The same connection goes on at once.
    Transaction next(connection_);
    connection_.ExecuteScript("UPDATE 品目マスタ SET 品名略称='next'");
    EXPECT_NO_THROW(next.Commit());
  }
}

TEST_F(ServerConnectionLoss, AConnectionEndedWhileIdleIsOpenedAgainAtOnce) {
  test::PgConnectionPtr admin = test::ConnectPg(test::PgAdminUri());
  const std::string database = db_.Scalar("SELECT current_database()").Text();
  const struct Case {
    const char* name;
    std::function<void()> end;
  } cases[] = {
      {"ended by the server (an administrator, a restart)",
       [&] {
         test::ExecPg(admin.get(),
                      "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
                          database + "'");
       }},
      {"cut without a word", [&] { proxy_.CutAll(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.end();
    Recordset read;
    EXPECT_NO_THROW(read.Open("SELECT count(*) FROM 品目マスタ", connection_));
    c.end();
    EXPECT_NO_THROW({
      Transaction transaction(connection_);
      Write(transaction);
      transaction.Commit();
    });
    EXPECT_EQ(Stored(), "2 written");
    db_.connection().ExecuteScript(
        "DELETE FROM 品目マスタ WHERE 品名コード='B'; UPDATE 品目マスタ SET 型番名='a'");
  }
}

}  // namespace
}  // namespace velmora::db
