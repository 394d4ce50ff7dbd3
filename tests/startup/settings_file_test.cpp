#include "startup/settings_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <functional>

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
  std::string ErrorOf(const std::string& content) { return ErrorReading(Write(content)); }
  std::string ErrorReading(const std::filesystem::path& file) {
    try {
      ReadSettingsFile(file);
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

TEST_F(SettingsFileTest, OnlyASmallRegularFileIsRead) {
  struct Case {
    const char* what;
    std::function<void(const std::filesystem::path&)> make;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"fifo", [](const auto& f) { ASSERT_EQ(0, mkfifo(f.c_str(), 0600)); },
       "通常のファイルではありません"},
      {"link to /dev/zero", [](const auto& f) { std::filesystem::create_symlink("/dev/zero", f); },
       "通常のファイルではありません"},
      {"directory", [](const auto& f) { std::filesystem::create_directory(f); }, "フォルダです"},
      {"oversized",
       [](const auto& f) { std::ofstream(f) << "/data/plan.db,1\n"
                                            << std::string(1 << 20, ' '); },
       "を超えています"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(file_);
    c.make(file_);
    const auto start = std::chrono::steady_clock::now();
    const std::string error = ErrorReading(file_);
    EXPECT_THAT(error, HasSubstr("設定ファイルを読み込めません: " + file_.string())) << c.what;
    EXPECT_THAT(error, HasSubstr(c.reason)) << c.what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << c.what;
  }
  // Through a link, a regular file is fine.
  std::filesystem::remove_all(file_);
  std::ofstream(dir_.path() / "real.ini") << "/data/plan.db,4";
  std::filesystem::create_symlink(dir_.path() / "real.ini", file_);
  EXPECT_EQ(4, ReadSettingsFile(file_).PlantCode);
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
