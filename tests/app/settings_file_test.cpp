#include "app/settings_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "support/test_db.h"

namespace velmora {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(DelimitedFields, CommaAndLineEndEndAField) {
  EXPECT_THAT(ReadDelimitedFields("a,b\nc\r\nd\re", 9), ElementsAre("a", "b", "c", "d", "e"));
  EXPECT_THAT(ReadDelimitedFields("a,,b", 9), ElementsAre("a", "", "b"));
  EXPECT_THAT(ReadDelimitedFields("a,b,c", 2), ElementsAre("a", "b"));
  EXPECT_THAT(ReadDelimitedFields("a\n", 2), ElementsAre("a"));
  EXPECT_THAT(ReadDelimitedFields("", 2), ElementsAre());
}

TEST(DelimitedFields, QuotesAreRemovedAndKeepCommasAndBlanks) {
  EXPECT_THAT(ReadDelimitedFields("\"C:\\a,b\\plan.db\" , 7", 2),
              ElementsAre("C:\\a,b\\plan.db", "7"));
  EXPECT_THAT(ReadDelimitedFields("\" x \"tail,y", 2), ElementsAre(" x ", "y"));
  EXPECT_THAT(ReadDelimitedFields("\"open", 2), ElementsAre("open"));
}

TEST(DelimitedFields, SurroundingBlanksAreIgnored) {
  EXPECT_THAT(ReadDelimitedFields("  /x/plan db.sqlite \t,  12  \n", 2),
              ElementsAre("/x/plan db.sqlite", "12"));
}

class SettingsFileTest : public ::testing::Test {
 protected:
  std::filesystem::path Write(const std::string& content) {
    std::ofstream(file_, std::ios::binary) << content;
    return file_;
  }
  std::string ErrorOf(const std::string& content) {
    try {
      ReadSettingsFile(Write(content));
    } catch (const SettingsError& e) {
      return e.what();
    }
    return "no error";
  }

  test::TempDir dir_;
  std::filesystem::path file_ = dir_.path() / kSettingsFileName;
};

TEST_F(SettingsFileTest, ReadsPathThenPlantCode) {
  const Settings s = ReadSettingsFile(Write("\"/data/plan.db\"\r\n12\r\n"));
  EXPECT_EQ("/data/plan.db", s.DatabasePath);
  EXPECT_EQ(12, s.PlantCode);
  EXPECT_EQ(-3, ReadSettingsFile(Write("/data/plan.db,-3")).PlantCode);
  EXPECT_EQ(12, ReadSettingsFile(Write("/data/plan.db,12.5")).PlantCode) << "ties to even";
  EXPECT_EQ("/data/plan.db", ReadSettingsFile(Write("\xEF\xBB\xBF/data/plan.db\n1")).DatabasePath);
}

TEST_F(SettingsFileTest, MissingFileIsNamed) {
  try {
    ReadSettingsFile(file_);
    FAIL() << "no error";
  } catch (const SettingsError& e) {
    EXPECT_THAT(e.what(), HasSubstr("設定ファイルがありません"));
    EXPECT_THAT(e.what(), HasSubstr(file_.string()));
  }
  std::filesystem::create_directory(file_);
  EXPECT_THROW(ReadSettingsFile(file_), SettingsError);
}

TEST_F(SettingsFileTest, MissingFieldsAreErrorsNamingTheFile) {
  EXPECT_THAT(ErrorOf(""), HasSubstr("データベースのパスがありません"));
  EXPECT_THAT(ErrorOf("\n12"), HasSubstr("データベースのパスがありません"));
  EXPECT_THAT(ErrorOf("/data/plan.db\n"), HasSubstr("工場コードがありません"));
  EXPECT_THAT(ErrorOf("/data/plan.db,"), HasSubstr("工場コードがありません"));
  EXPECT_THAT(ErrorOf("/data/plan.db"), HasSubstr(file_.string()));
}

TEST_F(SettingsFileTest, PlantCodeMustBeASixteenBitNumber) {
  EXPECT_THAT(ErrorOf("/data/plan.db\nabc"), HasSubstr("工場コードが数値ではありません"));
  EXPECT_THAT(ErrorOf("/data/plan.db\n12abc"), HasSubstr("\"12abc\""));
  EXPECT_THAT(ErrorOf("/data/plan.db\n40000"), HasSubstr("工場コードが範囲外です"));
  EXPECT_THAT(ErrorOf("/data/plan.db\n-32769"), HasSubstr("範囲外"));
  EXPECT_EQ(32767, ReadSettingsFile(Write("/data/plan.db\n32767")).PlantCode);
}

}  // namespace
}  // namespace velmora
