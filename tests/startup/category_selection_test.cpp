#include "startup/category_selection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include "common/errors.h"
#include "startup/remembered_category.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora {
namespace {

using ::testing::ElementsAre;

class CategorySelectionTest : public ::testing::Test {
 protected:
  CategorySelectionTest() {
    // Codes "03" and "3" read as the same number; "04" is deleted.
    for (auto [code, name, deleted] : {std::tuple{"03", "組立", "0"},
                                       {"01", "成形", "0"},
                                       {"3", "検査", "0"},
                                       {"04", "廃止", "1"},
                                       {"00", "未分類", "0"}}) {
      db_.Insert("工程分類マスタ",
                 {{"工程分類コード", code}, {"工程分類名", name}, {"削除フラグ", deleted}});
    }
  }
  CategorySelection Load(std::string_view commandLine, std::string_view remembered = "") {
    return LoadCategorySelection(db_.connection(), commandLine, remembered);
  }
  std::string SelectedText(const CategorySelection& s) {
    return s.ListIndex < 0 ? "(none)" : s.Items[static_cast<std::size_t>(s.ListIndex)].Text;
  }

  test::TestDb db_;
  test::TempDir dir_;
  std::filesystem::path remembered_ = dir_.path() / "user.txt";
};

TEST_F(CategorySelectionTest, ListsLiveCategoriesByCodeWithTheirNumber) {
  const CategorySelection s = Load("");
  std::vector<std::string> texts;
  std::vector<int> data;
  for (const auto& item : s.Items) texts.push_back(item.Text), data.push_back(item.ItemData);
  EXPECT_THAT(texts, ElementsAre("00 未分類", "01 成形", "03 組立", "3 検査"));
  EXPECT_THAT(data, ElementsAre(0, 1, 3, 3));
  EXPECT_EQ(-1, s.ListIndex) << "no remembered code selects nothing, not the code 00";
  EXPECT_EQ("", s.StartText);
}

TEST_F(CategorySelectionTest, RememberedCodeIsPreselectedLastMatchWins) {
  EXPECT_EQ("01 成形", SelectedText(Load("", "1")));
  EXPECT_EQ("3 検査", SelectedText(Load("", "3")));
  EXPECT_EQ("00 未分類", SelectedText(Load("", "0")));
  EXPECT_EQ("(none)", SelectedText(Load("", "4"))) << "deleted categories are not listed";
}

TEST_F(CategorySelectionTest, CommandLineWithABlankSelectsAndPrefills) {
  const CategorySelection s = Load("20240410 01", "3");
  EXPECT_EQ("01 成形", SelectedText(s));
  EXPECT_EQ("2024/04/10", s.StartText);
  EXPECT_EQ("2024/05/10", s.EndText);
  EXPECT_EQ("(none)", SelectedText(Load("20240410 9", "1"))) << "no match leaves nothing selected";
}

TEST_F(CategorySelectionTest, DateOrInquiryCommandLineKeepsTheRememberedCategory) {
  const CategorySelection dated = Load("20240410", "1");
  EXPECT_EQ("01 成形", SelectedText(dated));
  EXPECT_EQ("2024/04/10", dated.StartText);
  const CategorySelection inquiry = Load("1", "1");
  EXPECT_EQ("01 成形", SelectedText(inquiry));
  EXPECT_EQ("", inquiry.StartText) << "\"1\" is no date";
  EXPECT_EQ("", inquiry.EndText);
}

TEST_F(CategorySelectionTest, AcceptingFromTheListNeedsBothDates) {
  test::ScriptedMessages messages;
  CategorySelection s = Load("", "1");
  s.StartText = "2024/04/10";
  EXPECT_FALSE(ConfirmDatesEntered(s));
  s.EndText = "2024/05/10";
  EXPECT_TRUE(ConfirmDatesEntered(s));
  ASSERT_EQ(1u, messages.shown().size());
  EXPECT_EQ("日付を入力してください", messages.shown()[0].text);
  EXPECT_EQ(0, messages.shown()[0].style);
}

// The period is checked before anything is loaded: the dialog says why and stays open; closing
// the window with such a period says why and ends the program, remembering nothing.
TEST_F(CategorySelectionTest, APeriodThatCannotBePlannedIsRefusedWithItsReason) {
  test::ScriptedMessages messages;
  CategorySelection s = Load("20240410 03");
  s.EndText = "2024/04/09";
  EXPECT_FALSE(ConfirmPeriod(s));
  s.EndText = "2024/4/31";
  EXPECT_FALSE(ConfirmPeriod(s));
  s.EndText = "2024年5月10日";
  EXPECT_TRUE(ConfirmPeriod(s));
  ASSERT_EQ(2u, messages.shown().size());
  EXPECT_THAT(messages.shown()[0].text, ::testing::HasSubstr("終了日が開始日より前です"));
  EXPECT_THAT(messages.shown()[1].text, ::testing::HasSubstr("「2024/4/31」は日付ではありません"));

  s.EndText = "2024/04/01";
  PlanData data;
  EXPECT_THROW(PublishSelection(s, data, remembered_), ProgramEnd);
  ASSERT_EQ(3u, messages.shown().size());
  EXPECT_THAT(messages.shown()[2].text, ::testing::HasSubstr("終了日が開始日より前です"));
  EXPECT_FALSE(std::filesystem::exists(remembered_));
  EXPECT_TRUE(data.PeriodStart().empty());
}

TEST_F(CategorySelectionTest, PublishSetsTheSelectionValuesAndRemembersTheCode) {
  CategorySelection s = Load("20240410 03");
  PlanData data;
  PublishSelection(s, data, remembered_);
  EXPECT_EQ("3", data.CategoryCode);
  EXPECT_EQ("3 検査", data.CategoryCaption);
  EXPECT_EQ("2024/04/10", data.PeriodStart());
  EXPECT_EQ("2024/05/10", data.PeriodEnd());
  EXPECT_EQ(DateTime::FromTime(0, 0, 0), data.DayStartTime);
  EXPECT_EQ("3", ReadRememberedCategory(remembered_));
}

TEST_F(CategorySelectionTest, UnloadWithoutCategoryOrDatesEndsTheProgram) {
  PlanData data;
  const auto endStatus = [&](const CategorySelection& s) {
    try {
      PublishSelection(s, data, remembered_);
    } catch (const ProgramEnd& end) {
      return end.status;
    }
    return -1;
  };
  EXPECT_EQ(0, endStatus(Load("20240410 9"))) << "the immediate accept without a match";
  CategorySelection noEnd = Load("20240410 01");
  noEnd.EndText.clear();
  EXPECT_EQ(0, endStatus(noEnd));
  EXPECT_EQ(0, endStatus(Load("1 01"))) << "no dates from a command line that is no date";
  EXPECT_FALSE(std::filesystem::exists(remembered_));
  EXPECT_EQ("", data.CategoryCode);
}

TEST(RememberedCategory, EachAccountKeepsItsOwnFile) {
  test::TempDir config;
  setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  const auto alice = RememberedCategoryFile("alice");
  const auto bob = RememberedCategoryFile("bob");
  EXPECT_EQ(config.path() / "velmora" / "alice.txt", alice);
  EXPECT_EQ("", ReadRememberedCategory(alice)) << "no file yet";
  WriteRememberedCategory(alice, "3");
  WriteRememberedCategory(bob, "12");
  WriteRememberedCategory(alice, "5");
  EXPECT_EQ("5", ReadRememberedCategory(alice));
  EXPECT_EQ("12", ReadRememberedCategory(bob));
  EXPECT_EQ(config.path() / "velmora" / ".txt", RememberedCategoryFile(""));
  unsetenv("XDG_CONFIG_HOME");
}

TEST(RememberedCategory, UnwritableFileIsAnError) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.path() / "taken.txt");
  EXPECT_THROW(WriteRememberedCategory(dir.path() / "taken.txt", "1"), std::runtime_error);
}

}  // namespace
}  // namespace velmora
