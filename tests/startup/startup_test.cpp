#include "startup/startup.h"

#include <gtest/gtest.h>

#include <gmock/gmock.h>

#include <fstream>
#include <memory>

#include "common/errors.h"
#include "startup/settings_file.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora {
namespace {

using ::testing::HasSubstr;

class StartUpTest : public ::testing::Test {
 protected:
  void WriteSettings(const std::string& content) {
    std::ofstream(dir_.path() / kSettingsFileName, std::ios::binary) << content;
  }
  // The user's folders are scratch folders too: a test never reads or writes the real ones.
  StartupEnvironment Environment(std::vector<std::string> args = {}) {
    return {std::move(args),         dir_.path(),           dir_.path() / "velmora.lock",
            user_.path() / "config", user_.path() / "data", DateTime::FromDate(2024, 5, 1)};
  }

  test::ScriptedMessages messages_;
  test::TempDir dir_;
  test::TempDir user_;
};

TEST_F(StartUpTest, OpensTheDatabaseNamedInTheSettings) {
  test::TestDb db;
  WriteSettings("\"" + db.path() + "\", 12\n");
  AppState state;
  StartUp(state, Environment({"20240410", "3"}), test::TestQuestions());
  EXPECT_EQ("20240410 3", state.Data.CommandLine());
  EXPECT_EQ(12, state.Data.PlantCode);
  EXPECT_EQ("Data Source=" + db.path() + ";", state.ConnectionString);
  EXPECT_TRUE(state.Connection.IsOpen());
  EXPECT_EQ(&state.Connection, state.Command.ActiveConnection);
  EXPECT_TRUE(state.Guard.Held());
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(StartUpTest, TheSettingsPathIsOpenedAsWritten) {
  for (const std::string name : {"a;b.db", "plan.db "}) {
    const std::string path = (dir_.path() / name).string();
    db::CreateDatabase(path);
    WriteSettings("\"" + path + "\",12\n");
    AppState state;
    StartUp(state, Environment(), test::TestQuestions());
    EXPECT_EQ(path, state.Connection.Path());
    EXPECT_EQ(path, db::DataSource(state.ConnectionString));
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "a"));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "plan.db"));
}

TEST_F(StartUpTest, SecondCopyIsToldAndEndsWithoutOpeningTheDatabase) {
  test::TestDb db;
  WriteSettings(db.path() + "\n12\n");
  InstanceGuard running;
  ASSERT_TRUE(running.TryAcquire(dir_.path() / "velmora.lock"));
  AppState state;
  try {
    StartUp(state, Environment(), test::TestQuestions());
    FAIL() << "started twice";
  } catch (const ProgramEnd& end) {
    EXPECT_EQ(1, end.status);
  }
  ASSERT_EQ(1u, messages_.shown().size());
  EXPECT_EQ("生産計画システムは既に起動されています。", messages_.shown()[0].text);
  EXPECT_EQ("二重起動", messages_.shown()[0].title);
  EXPECT_FALSE(messages_.shown()[0].question);
  EXPECT_EQ(Tone::Information, messages_.shown()[0].tone);
  EXPECT_EQ(12, state.Data.PlantCode) << "the settings are read first";
  EXPECT_FALSE(state.Connection.IsOpen());
}

TEST_F(StartUpTest, BadSettingsAreReportedBeforeTheInstanceCheck) {
  WriteSettings("");
  InstanceGuard running;
  ASSERT_TRUE(running.TryAcquire(dir_.path() / "velmora.lock"));
  AppState state;
  EXPECT_THROW(StartUp(state, Environment(), test::TestQuestions()), SettingsError);
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(StartUpTest, TheUsersSettingsAreReadWhenNoneIsBesideTheExecutable) {
  test::TestDb db;
  std::filesystem::create_directories(user_.path() / "config");
  std::ofstream(user_.path() / "config" / kSettingsFileName) << "\"" + db.path() + "\",7\n";
  {
    AppState state;
    StartUp(state, Environment(), test::TestQuestions());
    EXPECT_EQ(7, state.Data.PlantCode);
    EXPECT_EQ(db.path(), state.Connection.Path());
    EXPECT_TRUE(messages_.shown().empty());
  }
  // One beside the executable wins, as a copy run from its build folder expects.
  WriteSettings("\"" + db.path() + "\",12\n");
  AppState beside;
  StartUp(beside, Environment(), test::TestQuestions());
  EXPECT_EQ(12, beside.Data.PlantCode);
}

TEST_F(StartUpTest, AFirstStartOffersTheDemoPlantAndGoesOnWithIt) {
  messages_.Answer(Answer::Yes);
  auto state = std::make_unique<AppState>();
  StartUp(*state, Environment({"20240501", "3"}), test::TestQuestions());
  ASSERT_EQ(1u, messages_.shown().size());
  const auto& question = messages_.shown()[0];
  EXPECT_TRUE(question.question);
  EXPECT_TRUE(question.questionMark);
  EXPECT_EQ(Answer::No, question.byDefault);
  EXPECT_THAT(question.text, HasSubstr("設定ファイルがありません。"));
  EXPECT_THAT(question.text, HasSubstr((user_.path() / "data").string() + "/ に作成しますか？"));

  const std::filesystem::path database = user_.path() / "data" / "velmora-demo.db";
  const std::filesystem::path settings = user_.path() / "config" / kSettingsFileName;
  ASSERT_TRUE(std::filesystem::exists(settings));
  EXPECT_EQ(database.string(), ReadSettingsFile(settings).DatabasePath);
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / kSettingsFileName))
      << "an installed program cannot write beside its executable";
  ASSERT_TRUE(state->Connection.IsOpen());
  EXPECT_EQ(database.string(), state->Connection.Path());
  EXPECT_EQ(3, state->Data.PlantCode);
  // The demo's lots lie around the day the program started on.
  db::Recordset rs;
  rs.Open("SELECT MIN(納期), MAX(納期), COUNT(*) FROM 手配情報", state->Connection);
  EXPECT_GT(rs.Fields(2).Get().Number(), 1000);
  EXPECT_LE(rs.Fields(0).Get().Text(), "20240501");
  EXPECT_GE(rs.Fields(1).Get().Text(), "20240601");
  rs.Close();
  state.reset();  // the first copy ends

  // The next start reads the settings it wrote and asks nothing.
  test::ScriptedMessages later;
  AppState next;
  StartUp(next, Environment(), test::TestQuestions());
  EXPECT_TRUE(later.shown().empty());
  EXPECT_EQ(database.string(), next.Connection.Path());
}

TEST_F(StartUpTest, DecliningTheDemoPlantEndsAsAMissingSettingsFileDidAndCreatesNothing) {
  for (const bool answered : {true, false}) {
    test::ScriptedMessages messages;
    if (answered) messages.Answer(Answer::No);  // unanswered: the default button, No
    AppState state;
    try {
      StartUp(state, Environment(), test::TestQuestions());
      FAIL() << "started without settings";
    } catch (const SettingsError& e) {
      EXPECT_THAT(e.what(), HasSubstr("設定ファイルがありません: " +
                                      (dir_.path() / kSettingsFileName).string()));
      EXPECT_THAT(e.what(), HasSubstr((user_.path() / "config" / kSettingsFileName).string()));
    }
    EXPECT_EQ(1u, messages.shown().size());
    EXPECT_FALSE(state.Connection.IsOpen());
    EXPECT_FALSE(state.Guard.Held());
    EXPECT_TRUE(std::filesystem::is_empty(user_.path()));
  }
}

}  // namespace
}  // namespace velmora
