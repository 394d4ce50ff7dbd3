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

TEST(CharacterPositions, BrokenSequencesNeitherSwallowNorOverrun) {
  // A truncated sequence is one character; the ASCII after it stays its own.
  EXPECT_EQ(3u, CharCount("\xE6\x88"
                          "AB"));
  EXPECT_EQ("A", Mid("\xE6\x88"
                     "AB",
                     2, 1));
  EXPECT_EQ("AB", Right("\xE6\x88"
                        "AB",
                        2));
  EXPECT_EQ("\xE6\x88", Left("\xE6\x88"
                             "AB",
                             1))
      << "bytes are kept as they are";
  EXPECT_EQ(1u, CharCount("\xF0\x9F\x98"));
  EXPECT_EQ("", Mid("\xF0\x9F\x98", 2));
  EXPECT_EQ(2u, CharCount("\xC0\xA7"));
}

TEST(FoldNarrowUpper, FullWidthBecomesHalfWidthUpperCase) {
  EXPECT_EQ("ABC-123", FoldNarrowUpper("ａｂｃ－１２３"));
  EXPECT_EQ("ABC", FoldNarrowUpper("abc"));
  EXPECT_EQ("ｶﾞﾝﾄ ﾁｬｰﾄ", FoldNarrowUpper("ガント　チャート"));
  EXPECT_EQ("ﾊﾟﾚｯﾄ", FoldNarrowUpper("パレット"));
  EXPECT_EQ("ｳﾞｧ", FoldNarrowUpper("ヴァ"));
  EXPECT_EQ("ｦﾝ", FoldNarrowUpper("ヲン"));
}

TEST(FoldNarrowUpper, MalformedBytesNeverBecomeAscii) {
  struct Case {
    const char* bytes;
    const char* folded;
  };
  for (const Case& c : {
           Case{"\xC0\xA7", "\uFFFD\uFFFD"},  // an overlong quote must not turn into '
           Case{"\xC1\xA1", "\uFFFD\uFFFD"},
           Case{"\xE0\x81\xA1", "\uFFFD\uFFFD\uFFFD"},
           Case{"\xED\xA0\x80x", "\uFFFD\uFFFD\uFFFDX"},
           Case{"a\xE3\x82", "A\uFFFD"},
           Case{"\xE3", "\uFFFD"},
           Case{"\xFF\xFE", "\uFFFD\uFFFD"},
           Case{"\x80z", "\uFFFDZ"},
       }) {
    EXPECT_EQ(c.folded, FoldNarrowUpper(c.bytes)) << ::testing::PrintToString(c.bytes);
  }
}

TEST(FoldNarrowUpper, OtherCharactersStay) {
  EXPECT_EQ("成形ひらがな", FoldNarrowUpper("成形ひらがな"));
  EXPECT_EQ("ｶﾞ", FoldNarrowUpper("ｶﾞ"));  // already narrow
}

}  // namespace
}  // namespace velmora
