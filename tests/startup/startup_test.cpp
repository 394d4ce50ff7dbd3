#include "startup/startup.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/errors.h"
#include "startup/settings_file.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora {
namespace {

class StartUpTest : public ::testing::Test {
 protected:
  void WriteSettings(const std::string& content) {
    std::ofstream(dir_.path() / kSettingsFileName, std::ios::binary) << content;
  }
  StartupEnvironment Environment(std::vector<std::string> args = {}) {
    return {std::move(args), dir_.path(), dir_.path() / "velmora.lock"};
  }

  test::ScriptedMessages messages_;
  test::TempDir dir_;
};

TEST_F(StartUpTest, OpensTheDatabaseNamedInTheSettings) {
  test::TestDb db;
  WriteSettings("\"" + db.path() + "\", 12\n");
  AppState state;
  StartUp(state, Environment({"20240410", "3"}));
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
    StartUp(state, Environment());
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
    StartUp(state, Environment());
    FAIL() << "started twice";
  } catch (const ProgramEnd& end) {
    EXPECT_EQ(1, end.status);
  }
  ASSERT_EQ(1u, messages_.shown().size());
  EXPECT_EQ("生産計画システムは既に起動されています。", messages_.shown()[0].text);
  EXPECT_EQ("二重起動", messages_.shown()[0].title);
  EXPECT_EQ(64, messages_.shown()[0].style);
  EXPECT_EQ(12, state.Data.PlantCode) << "the settings are read first";
  EXPECT_FALSE(state.Connection.IsOpen());
}

TEST_F(StartUpTest, BadSettingsAreReportedBeforeTheInstanceCheck) {
  InstanceGuard running;
  ASSERT_TRUE(running.TryAcquire(dir_.path() / "velmora.lock"));
  AppState state;
  EXPECT_THROW(StartUp(state, Environment()), SettingsError);
  EXPECT_TRUE(messages_.shown().empty());
}

}  // namespace
}  // namespace velmora
