#include "common/text.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(Trim, RemovesBlanksAroundOnly) {
  EXPECT_EQ("M1", Trim("  M1    "));
  EXPECT_EQ("a b", Trim(" a b "));
  EXPECT_EQ("", Trim("        "));
}

TEST(CharacterPositions, CountCharactersNotBytes) {
  EXPECT_EQ(5u, CharCount("成形A(1"));
  EXPECT_EQ("形A", Mid("成形A(1", 2, 2));
  EXPECT_EQ("A(1", Right("成形A(1", 3));
  EXPECT_EQ("成形", Left("成形A(1", 2));
  EXPECT_EQ("4", Mid("BX1234-04AB", 9, 1));
  EXPECT_EQ("", Mid("short", 9, 1));
}

TEST(FoldNarrowUpper, FullWidthBecomesHalfWidthUpperCase) {
  EXPECT_EQ("ABC-123", FoldNarrowUpper("ａｂｃ－１２３"));
  EXPECT_EQ("ABC", FoldNarrowUpper("abc"));
  EXPECT_EQ("ｶﾞﾝﾄ ﾁｬｰﾄ", FoldNarrowUpper("ガント　チャート"));
  EXPECT_EQ("ﾊﾟﾚｯﾄ", FoldNarrowUpper("パレット"));
  EXPECT_EQ("ｳﾞｧ", FoldNarrowUpper("ヴァ"));
  EXPECT_EQ("ｦﾝ", FoldNarrowUpper("ヲン"));
}

TEST(FoldNarrowUpper, OtherCharactersStay) {
  EXPECT_EQ("成形ひらがな", FoldNarrowUpper("成形ひらがな"));
  EXPECT_EQ("ｶﾞ", FoldNarrowUpper("ｶﾞ"));  // already narrow
}

}  // namespace
}  // namespace velmora
