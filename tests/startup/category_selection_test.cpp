#include "startup/category_selection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <functional>

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
  EXPECT_FALSE(ConfirmDatesEntered(s, test::TestQuestions()));
  s.EndText = "2024/05/10";
  EXPECT_TRUE(ConfirmDatesEntered(s, test::TestQuestions()));
  ASSERT_EQ(1u, messages.shown().size());
  EXPECT_EQ("日付を入力してください", messages.shown()[0].text);
  EXPECT_FALSE(messages.shown()[0].question);
  EXPECT_EQ(Tone::Plain, messages.shown()[0].tone);
}

// The period is checked before anything is loaded: the dialog says why and stays open; closing
// the window with such a period says why and ends the program, remembering nothing.
TEST_F(CategorySelectionTest, APeriodThatCannotBePlannedIsRefusedWithItsReason) {
  test::ScriptedMessages messages;
  CategorySelection s = Load("20240410 03");
  s.EndText = "2024/04/09";
  EXPECT_FALSE(ConfirmPeriod(s, test::TestQuestions()));
  s.EndText = "2024/4/31";
  EXPECT_FALSE(ConfirmPeriod(s, test::TestQuestions()));
  s.EndText = "2024年5月10日";
  EXPECT_TRUE(ConfirmPeriod(s, test::TestQuestions()));
  ASSERT_EQ(2u, messages.shown().size());
  EXPECT_THAT(messages.shown()[0].text, ::testing::HasSubstr("終了日が開始日より前です"));
  EXPECT_THAT(messages.shown()[1].text, ::testing::HasSubstr("「2024/4/31」は日付ではありません"));

  s.EndText = "2024/04/01";
  PlanData data;
  EXPECT_THROW(PublishSelection(s, data, remembered_, test::TestQuestions()), ProgramEnd);
  ASSERT_EQ(3u, messages.shown().size());
  EXPECT_THAT(messages.shown()[2].text, ::testing::HasSubstr("終了日が開始日より前です"));
  EXPECT_FALSE(std::filesystem::exists(remembered_));
  EXPECT_TRUE(data.PeriodStart().empty());
}

TEST_F(CategorySelectionTest, PublishSetsTheSelectionValuesAndRemembersTheCode) {
  CategorySelection s = Load("20240410 03");
  PlanData data;
  PublishSelection(s, data, remembered_, test::TestQuestions());
  EXPECT_EQ("3", data.CategoryCode);
  EXPECT_EQ("3 検査", data.CategoryCaption);
  EXPECT_EQ("2024/04/10", data.PeriodStart());
  EXPECT_EQ("2024/05/10", data.PeriodEnd());
  EXPECT_EQ(DateTime::FromTime(0, 0, 0), data.DayStartTime);
  EXPECT_EQ("3", ReadRememberedCategory(remembered_));
  EXPECT_EQ("2024/04/10", ReadRememberedPeriods(remembered_).at("3").Start);
}

TEST_F(CategorySelectionTest, UnloadWithoutCategoryOrDatesEndsTheProgram) {
  PlanData data;
  const auto endStatus = [&](const CategorySelection& s) {
    try {
      PublishSelection(s, data, remembered_, test::TestQuestions());
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

// The boxes show the period last used with the pre-selected or chosen category, unless the
// command line or the user gave one.
TEST_F(CategorySelectionTest, ThePeriodLastUsedWithACategoryIsShown) {
  const std::map<std::string, PeriodPrefill> periods = {{"1", {"2024/03/01", "2024/03/31"}},
                                                        {"3", {"2024/05/01", "2024/05/20"}}};
  struct Case {
    const char* commandLine;
    const char* remembered;
    const char* start;
  };
  for (const Case& c :
       {Case{"", "1", "2024/03/01"}, Case{"", "03", "2024/05/01"}, Case{"", "0", ""},
        Case{"", "", ""}, Case{"1", "1", "2024/03/01"}, Case{"20240410", "1", "2024/04/10"}}) {
    EXPECT_EQ(
        c.start,
        LoadCategorySelection(db_.connection(), c.commandLine, c.remembered, periods).StartText)
        << c.commandLine << " / " << c.remembered;
  }

  CategoryWindow chosen(LoadCategorySelection(db_.connection(), "", "", periods), "", {},
                        test::TestQuestions());
  chosen.Select("ComboKBun", {2});
  EXPECT_EQ("2024/05/01", chosen.Selection.StartText);
  EXPECT_EQ("2024/05/20", chosen.Selection.EndText);
  chosen.Select("ComboKBun", {0});
  EXPECT_EQ("2024/05/01", chosen.Selection.StartText) << "a category without one keeps the boxes";
  chosen.Type("strYYMMDD", "2024/06/01");
  chosen.Select("ComboKBun", {1});
  EXPECT_EQ("2024/06/01", chosen.Selection.StartText) << "typed by the user";
  EXPECT_EQ("2024/05/20", chosen.Selection.EndText);
}

// The first start: nothing remembered, no command line.
TEST_F(CategorySelectionTest, TheFirstStartNeverEndsWithoutAWord) {
  test::ScriptedMessages messages;
  CategoryWindow window(Load(""), "", DateTime::FromDate(2024, 4, 10), test::TestQuestions());
  window.Activate();
  EXPECT_EQ("strYYMMDD", window.Focused());
  window.Type("strYYMMDD", "401");
  window.Enter("strYYMMDD");
  window.Type("endYYMMDD", "430");
  window.Enter("endYYMMDD");
  ASSERT_EQ("ComboKBun", window.Focused());
  EXPECT_TRUE(window.FocusMoved("ComboKBun"));
  EXPECT_EQ(0, window.Selection.ListIndex) << "the list taking the focus selects its first line";
  EXPECT_FALSE(window.FocusMoved("ComboKBun")) << "a selected line stays";
  window.Enter("ComboKBun");
  EXPECT_TRUE(window.Closed());
  EXPECT_FALSE(window.Selection.Quit);
  EXPECT_TRUE(messages.shown().empty());

  CategoryWindow none(Load(""), "", {}, test::TestQuestions());
  none.Enter("ComboKBun");
  EXPECT_FALSE(none.Closed()) << "Enter with no line selected accepts nothing";
  none.Click("cmdOK");
  EXPECT_FALSE(none.Closed());
}

TEST_F(CategorySelectionTest, OkAcceptsCancelAndCloseAskWhetherToEnd) {
  test::ScriptedMessages messages;
  CategoryWindow ok(Load("20240410", "1"), "20240410", {}, test::TestQuestions());
  ok.Click("cmdOK");
  EXPECT_TRUE(ok.Closed());
  EXPECT_TRUE(messages.shown().empty());

  CategoryWindow kept(Load("20240410", "1"), "20240410", {}, test::TestQuestions());
  kept.Close();
  EXPECT_TRUE(kept.Closed()) << "closing keeps a complete selection, without a question";
  EXPECT_FALSE(kept.Selection.Quit);
  EXPECT_TRUE(messages.shown().empty());

  // Cancelling, or closing without a line, a date or a period that can be planned.
  const auto ask = [&](const std::function<void(CategoryWindow&)>& prepare, bool cancel) {
    CategoryWindow w(Load("20240410", "1"), "20240410", {}, test::TestQuestions());
    prepare(w);
    messages.Answer(Answer::No).Answer(Answer::Yes);
    const auto leave = [&] { cancel ? w.Click("cmdCancel") : w.Close(); };
    leave();
    EXPECT_FALSE(w.Closed()) << "いいえ stays";
    leave();
    EXPECT_TRUE(w.Closed());
    EXPECT_TRUE(w.Selection.Quit);
    PlanData data;
    EXPECT_THROW(PublishSelection(w.Selection, data, remembered_, test::TestQuestions()),
                 ProgramEnd);
  };
  ask([](CategoryWindow&) {}, true);
  ask([](CategoryWindow& w) { w.Select("ComboKBun", {}); }, false);
  ask([](CategoryWindow& w) { w.Type("endYYMMDD", ""); }, false);
  ask([](CategoryWindow& w) { w.Type("endYYMMDD", "2024/04/01"); }, false);
  ASSERT_EQ(8u, messages.shown().size());
  for (const auto& shown : messages.shown()) EXPECT_EQ("終了しますか？", shown.text);
  EXPECT_TRUE(messages.shown()[0].question);
  EXPECT_TRUE(messages.shown()[0].questionMark);
  EXPECT_EQ(Answer::Yes, messages.shown()[0].byDefault);
  EXPECT_FALSE(std::filesystem::exists(remembered_));
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

TEST(RememberedCategory, EachCategoryKeepsItsLastPeriod) {
  test::TempDir dir;
  const auto file = dir.path() / "user.txt";
  std::ofstream(file) << "3\n";  // as an older version wrote it
  EXPECT_TRUE(ReadRememberedPeriods(file).empty());
  WriteRememberedCategory(file, "3", {"2024/04/01", "2024/04/30"});
  WriteRememberedCategory(file, "12", {"2024/05/01", "2024/05/31"});
  WriteRememberedCategory(file, "3", {"2024/06/01", "2024/06/30"});
  WriteRememberedCategory(file, "12");
  EXPECT_EQ("12", ReadRememberedCategory(file));
  const auto periods = ReadRememberedPeriods(file);
  ASSERT_EQ(2u, periods.size());
  EXPECT_EQ("2024/06/30", periods.at("3").End);
  EXPECT_EQ("2024/05/01", periods.at("12").Start);
}

TEST(RememberedCategory, UnwritableFileIsAnError) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.path() / "taken.txt");
  EXPECT_THROW(WriteRememberedCategory(dir.path() / "taken.txt", "1"), std::runtime_error);
}

}  // namespace
}  // namespace velmora
