// Another program writes the rows a save on a server is about to write, between any two of the
// save's requests: the save stores exactly what it reports, and the other program's write is not
// lost either.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "save_world.h"
#include "support/pg_proxy.h"
#include "support/pg_test_server.h"

namespace velmora::test {
namespace {

using saving::SaveResult;

// A statement of another program, through plain libpq. It may have to wait for the save's locks,
// so it is started without waiting for its end.
class OtherProgram {
 public:
  explicit OtherProgram(const std::string& uri) : own_(ConnectPg(uri)), watch_(ConnectPg(uri)) {}

  // Returns once `sql` ran, or once it waits for a lock another transaction holds.
  void Start(const std::string& sql) {
    ASSERT_EQ(PQsendQuery(own_.get(), sql.c_str()), 1);
    const std::string waiting =
        "SELECT 1 FROM pg_stat_activity WHERE wait_event_type='Lock' AND "
        "pid=" +
        std::to_string(PQbackendPID(own_.get()));
    for (;;) {
      PQconsumeInput(own_.get());
      if (PQisBusy(own_.get()) == 0) return;
      if (PQntuples(ExecPg(watch_.get(), waiting).get()) > 0) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  // Waits for the statement's end; false when it failed.
  bool Finish() {
    bool ok = true;
    while (PGresult* result = PQgetResult(own_.get())) {
      ok = ok && PQresultStatus(result) == PGRES_COMMAND_OK;
      PQclear(result);
    }
    return ok;
  }

 private:
  PgConnectionPtr own_;
  PgConnectionPtr watch_;
};

TEST(SaveOnServer, AnotherProgramsWriteBetweenAnyTwoRequestsIsNeitherLostNorLosesTheSave) {
  const struct Case {
    const char* name;
    const char* sql;
    const char* received;  // 受入実績数 of lot 101 afterwards
    int numbersTaken;      // by the other program
  } cases[] = {
      {"rewrites the lot's row as it is", "UPDATE 手配情報 SET 手配数=手配数 WHERE 手配番号=101",
       "0", 0},
      {"changes a column of the lot the save never writes",
       "UPDATE 手配情報 SET 受入実績数=受入実績数+7 WHERE 手配番号=101", "7", 0},
      {"takes an arrangement number", "UPDATE 番号管理マスタ SET 現在番号=現在番号+1", "0", 1},
  };
  for (const Case& c : cases) {
    // A run of the save alone counts its requests; each run after it puts the other program's
    // write before another one of them.
    for (int at = -1, requests = 0; at < requests; ++at) {
      SCOPED_TRACE(std::string(c.name) + ", before request " + std::to_string(at));
      SaveWorld w(Engine::Server);
      ScriptedMessages messages;
      messages.Answer(Answer::Yes).Answer(Answer::Yes).Answer(Answer::Yes);
      w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
      w.ReadRow(101);
      w.db.Insert("手配情報", {{"手配番号", 201}, {"品名コード", "PART"}});
      const int split = w.Entry(102, "M02     ", "2024/12/04 09:00:00", "2024/12/04 10:00:00");
      Member& fresh = w.Plan(split).A.Slot(2);
      fresh.OrderNo = -1;
      fresh.SourceOrderNo = 201;
      fresh.OrderQty = 10;

      PgProxy proxy(w.db.target());
      db::Connection through;
      through.OpenTarget(proxy.Uri());
      OtherProgram other(w.db.target());
      bool ran = false;
      proxy.OnRequest([&](int request, const std::string&) {
        if (request != at) return;
        other.Start(c.sql);
        ran = true;
      });
      const SaveResult result = w.SaveOn(through);
      if (at < 0) requests = proxy.Requests();
      ASSERT_EQ(ran, at >= 0);
      proxy.OnRequest(nullptr);
      ASSERT_TRUE(other.Finish());

      ASSERT_EQ(result, SaveResult::Complete) << testing::PrintToString(messages.texts());
      EXPECT_EQ(w.Sql("SELECT 開始日 || ' ' || GNT開始時刻 FROM 手配情報 WHERE 手配番号=101"),
                "20241203 090000");
      EXPECT_EQ(w.Column(101, "受入実績数"), ran ? c.received : "0");
      const int number = w.Plan(split).A[2].OrderNo;
      EXPECT_EQ(w.Sql("SELECT count(*) FROM 手配情報 WHERE 手配番号>5000"), "1");
      EXPECT_EQ(w.Column(number, "手配数"), "10");
      const int taken = ran ? c.numbersTaken : 0;
      EXPECT_EQ(w.Sql("SELECT 現在番号 FROM 番号管理マスタ"), std::to_string(5001 + taken));
      EXPECT_GE(number, 5001);
      EXPECT_LE(number, 5001 + taken);
    }
  }
}

}  // namespace
}  // namespace velmora::test
