// velmora-demo's command line: options, the settings file it writes, and its refusals.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "db/recordset.h"
#include "generator/demo_command.h"
#include "support/pg_test_server.h"
#include "support/test_db.h"

namespace velmora::demo {
namespace {

namespace fs = std::filesystem;

const DateTime kToday = DateTime::FromDate(2024, 5, 1);

std::string ReadFile(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

struct RunResult {
  int status;
  std::string out;
  std::string err;
};

RunResult RunDemo(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunDemoCommand(args, kToday, out, err);
  return {status, out.str(), err.str()};
}

std::vector<std::string> Quick(const std::string& out) {
  return {"--out", out, "--arrangements", "50", "--machines", "4", "--days", "10", "--seed", "3"};
}

TEST(DemoCommand, ParsesOptionsAndDefaultsTheStartToAMonthBeforeToday) {
  const DemoCommand defaults = ParseDemoCommand({"--out", "x.db"}, kToday);
  EXPECT_EQ(DateTime::FromDate(2024, 4, 1), defaults.options.baseDate);
  EXPECT_EQ(3, defaults.options.plantCode);
  EXPECT_EQ(DemoOptions().seed, defaults.options.seed);

  const DemoCommand c = ParseDemoCommand(
      {"--out", "x.db", "--seed", "18446744073709551615", "--start", "20240229", "--days", "60",
       "--machines", "100", "--arrangements", "20000", "--plant", "12", "--ini", "v.ini"},
      kToday);
  EXPECT_EQ(18446744073709551615ULL, c.options.seed);
  EXPECT_EQ(DateTime::FromDate(2024, 2, 29), c.options.baseDate);
  EXPECT_EQ(60, c.options.days);
  EXPECT_EQ(100, c.options.machines);
  EXPECT_EQ(20000, c.options.arrangements);
  EXPECT_EQ(12, c.options.plantCode);
  EXPECT_EQ("v.ini", c.ini);

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {},                                        // no --out
           {"--out"},                                 // no value
           {"--out", "x.db", "--days", "12x"},        // not a whole number
           {"--out", "x.db", "--seed", "-1"},         // not a seed
           {"--out", "x.db", "--start", "20240230"},  // not a date
           {"--out", "x.db", "--machines", "3"},      // out of range
           {"--out", "x.db", "--ini-only"},           // settings file not named
           {"--out", "x.db", "extra"},
           {"--out", "x.db", "--colour", "red"}}) {
    EXPECT_THROW(ParseDemoCommand(bad, kToday), std::invalid_argument)
        << ::testing::PrintToString(bad);
  }
}

TEST(DemoCommand, WritesTheDatabaseAndASettingsFileNamingItByAbsolutePath) {
  test::TempDir dir;
  const std::string db = dir.File("velmora-demo.db");
  const std::string ini = dir.File("velmora.ini");
  std::vector<std::string> args = Quick(db);
  args.insert(args.end(), {"--ini", ini, "--plant", "5"});
  const RunResult run = RunDemo(args);
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_TRUE(fs::is_regular_file(db));
  EXPECT_EQ("\"" + fs::absolute(db).lexically_normal().string() + "\",5\n", ReadFile(ini));
  EXPECT_NE(std::string::npos, run.out.find("2024/04/04"))
      << run.out;  // the busy period starts at the as-of day

  EXPECT_THROW(SettingsFileText("/tmp/a\"b.db", 3), std::invalid_argument);
}

TEST(DemoCommand, RefusesToOverwriteAnythingAndChecksBeforeWriting) {
  test::TempDir dir;
  const std::string db = dir.File("demo.db");
  const std::string ini = dir.File("velmora.ini");
  std::ofstream(ini) << "\"/my/own.db\",3\n";

  // An existing settings file stops the run before the database is made.
  std::vector<std::string> args = Quick(db);
  args.insert(args.end(), {"--ini", ini});
  RunResult run = RunDemo(args);
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("already exists")) << run.err;
  EXPECT_FALSE(fs::exists(db));
  EXPECT_EQ("\"/my/own.db\",3\n", ReadFile(ini));

  ASSERT_EQ(0, RunDemo(Quick(db)).status);
  const std::string made = ReadFile(db);
  run = RunDemo(Quick(db));
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("already exists")) << run.err;
  EXPECT_EQ(made, ReadFile(db));

  // --ini-only writes just the settings file, and only for a database that exists.
  fs::remove(ini);
  EXPECT_EQ(0, RunDemo({"--out", db, "--ini", ini, "--ini-only"}).status);
  EXPECT_EQ("\"" + fs::absolute(db).lexically_normal().string() + "\",3\n", ReadFile(ini));
  EXPECT_EQ(made, ReadFile(db));
  EXPECT_EQ(
      1,
      RunDemo({"--out", dir.File("none.db"), "--ini", dir.File("other.ini"), "--ini-only"}).status);
  EXPECT_FALSE(fs::exists(dir.File("other.ini")));
}

// On a server: --empty makes the tables of an existing database and nothing else; the demo
// fills only a database without tables; the settings file names the address.
TEST(DemoCommand, OnAServerItFillsOnlyAnEmptyDatabase) {
  test::PgDatabase plant("demo_command");
  const auto count = [&](const char* table) {
    db::Connection connection;
    connection.OpenServer(plant.uri());
    db::Recordset rs;
    rs.Open(std::string("SELECT count(*) FROM ") + table, connection);
    return rs.Fields(0).Int32();
  };
  RunResult run = RunDemo({"--out", plant.uri(), "--empty"});
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_EQ(0, count("手配情報"));
  EXPECT_EQ(0, count("番号管理マスタ"));

  run = RunDemo(Quick(plant.uri()));
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("already holds tables")) << run.err;
  EXPECT_EQ(0, count("手配情報"));

  test::TempDir dir;
  test::PgDatabase filled("demo_command");
  std::vector<std::string> args = Quick(filled.uri());
  args.insert(args.end(), {"--ini", dir.File("velmora.ini")});
  run = RunDemo(args);
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_EQ("\"" + filled.uri() + "\",3\n", ReadFile(dir.File("velmora.ini")));
  db::Connection connection;
  connection.OpenServer(filled.uri());
  db::Recordset rs;
  rs.Open("SELECT count(*) FROM 手配情報", connection);
  EXPECT_GE(rs.Fields(0).Int32(), 50);
}

TEST(DemoCommand, TheProgramExitsNonZeroOnAnExistingFile) {
  test::TempDir dir;
  const std::string db = dir.File("demo.db");
  std::ofstream(db) << "keep me";
  const std::string command = std::string(VELMORA_DEMO_EXE) + " --out '" + db + "' 2>/dev/null";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(1, WEXITSTATUS(status));
  EXPECT_EQ("keep me", ReadFile(db));
  EXPECT_NE(0, std::system((std::string(VELMORA_DEMO_EXE) + " --bogus >/dev/null 2>&1").c_str()));
}

}  // namespace
}  // namespace velmora::demo
