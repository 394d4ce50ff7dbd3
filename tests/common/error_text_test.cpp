#include "common/error_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>
#include <vector>

#include "common/errors.h"

namespace velmora {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct Case {
  const char* name;
  std::exception_ptr failure;
  const char* shownPart;  // a part of the text the user must see
};

TEST(UserErrorText, JapaneseForEveryKindOfFailureAndTheDetailKept) {
  const std::string japanese = "M01     の計画におかしい情報が存在します。日付:20240411";
  const std::vector<Case> cases = {
      {"program's own text", std::make_exception_ptr(ConversionError(japanese)), japanese.c_str()},
      {"wrapped engine text stays whole",
       std::make_exception_ptr(DatabaseError("データベースを開けません。\nnot a database file: x")),
       "not a database file: x"},
      {"engine text", std::make_exception_ptr(DatabaseError("no such table: 工程分類マスタ")),
       "データベースの処理に失敗しました。"},
      {"conversion in English",
       std::make_exception_ptr(ConversionError("overflow: 70000 does not fit a 16-bit integer")),
       "確認してください"},
      {"memory", std::make_exception_ptr(std::bad_alloc()), "メモリが不足しています。"},
      {"library text", std::make_exception_ptr(std::length_error("vector::_M_default_append")),
       "予期しないエラーが発生しました。"},
      {"file system",
       std::make_exception_ptr(std::filesystem::filesystem_error(
           "rename", std::make_error_code(std::errc::is_a_directory))),
       "ファイルを読み書きできませんでした。"},
      {"not an exception", std::make_exception_ptr(42), "予期しないエラーが発生しました。"},
  };
  for (const Case& c : cases) {
    const std::string text = UserErrorText(c.failure);
    EXPECT_THAT(text, HasSubstr(c.shownPart)) << c.name;
    EXPECT_TRUE(IsJapaneseSentence(text)) << c.name;
  }
  EXPECT_THAT(UserErrorText(cases[3].failure), Not(HasSubstr("overflow")));
  EXPECT_EQ("overflow: 70000 does not fit a 16-bit integer", TechnicalErrorText(cases[3].failure));
  EXPECT_EQ("", TechnicalErrorText(cases.back().failure));
}

TEST(IsJapaneseSentence, KanjiOrKatakanaAloneIsNoSentence) {
  EXPECT_TRUE(IsJapaneseSentence("工程分類 7 はありません"));
  EXPECT_TRUE(IsJapaneseSentence("ゟ"));  // last hiragana
  EXPECT_FALSE(IsJapaneseSentence("no such table: 工程分類マスタ"));
  EXPECT_FALSE(IsJapaneseSentence("cannot open /home/データ/plan.db"));
  EXPECT_FALSE(IsJapaneseSentence("period start is not a date"));
}

}  // namespace
}  // namespace velmora
