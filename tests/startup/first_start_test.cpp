#include "startup/first_start.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "db/connection.h"
#include "db/recordset.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

class FirstStartTest : public ::testing::Test {
 protected:
  test::TempDir root_;
  SettingsPlaces places_ = SettingsPlaces::For(root_.path() / "bin", root_.path() / "config");
  test::ScriptedMessages messages_;
  const DateTime today_ = DateTime::FromDate(2024, 5, 1);
};

TEST_F(FirstStartTest, ADemoDatabaseAlreadyThereIsKeptWithWhatWasSavedInIt) {
  // The settings were lost, the plant saved into is not: a new demo must not replace it.
  const fs::path data = root_.path() / "data";
  fs::create_directories(data);
  const fs::path database = data / kDemoDatabaseName;
  db::CreateDatabase(database.string())
      .ExecuteScript("CREATE TABLE kept (x); INSERT INTO kept VALUES (1);");
  messages_.Answer(Answer::Yes);
  EXPECT_TRUE(OfferDemoPlant(places_, data, today_, test::TestQuestions()));
  EXPECT_EQ(database.string(), ReadSettings(places_).DatabasePath);
  db::Connection connection;
  connection.OpenTarget(database.string());
  db::Recordset rs;
  rs.Open("SELECT COUNT(*) FROM kept", connection);
  EXPECT_EQ(1, rs.Fields(0).Get().Number());
}

TEST_F(FirstStartTest, APathTheSettingsFileCannotHoldIsRefusedBeforeAnythingIsWritten) {
  const fs::path data = root_.path() / "a\"b";
  messages_.Answer(Answer::Yes);
  EXPECT_THROW(OfferDemoPlant(places_, data, today_, test::TestQuestions()), std::runtime_error);
  EXPECT_FALSE(fs::exists(data));
  EXPECT_FALSE(fs::exists(places_.User.parent_path()));
}

}  // namespace
}  // namespace velmora
