#include "common/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

std::u32string DecodeAll(std::string_view text) {
  std::u32string out;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t before = pos;
    out += DecodeUtf8(text, pos);
    if (pos <= before || pos > text.size()) ADD_FAILURE() << "bad step at byte " << before;
  }
  return out;
}

// Hostile byte sequences, each next to the characters it must decode to.
TEST(DecodeUtf8, MalformedBytesBecomeReplacementCharacters) {
  struct Case {
    std::string bytes;
    std::u32string chars;
  };
  const std::vector<Case> cases = {
      {"A\xE6\x88\x90Z", U"A成Z"},
      {"\xF0\x9F\x98\x80", U"\U0001F600"},
      {"\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
      {"\xEF\xBF\xBD", U"\uFFFD"},
      {"\xC0\xA7", U"\uFFFD\uFFFD"},            // overlong quote
      {"\xC1\xBF", U"\uFFFD\uFFFD"},            // overlong DEL
      {"\xE0\x80\xA7", U"\uFFFD\uFFFD\uFFFD"},  // overlong quote, three bytes
      {"\xF0\x80\x80\xA7", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},            // surrogate
      {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
      {"\xF5\xF8\xFE\xFF", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\x80\xBF"
       "A",
       U"\uFFFD\uFFFDA"},  // stray continuation bytes
      {"\xE6\x88"
       "A",
       U"\uFFFDA"},                 // truncated, then ASCII
      {"\xF0\x9F\x98", U"\uFFFD"},  // truncated at the end
      {"\xE6", U"\uFFFD"},
      {"\xC3"
       "\xE6\x88\x90",
       U"\uFFFD成"},
      {std::string("\xC2\0", 2), std::u32string(U"\uFFFD") + U'\0'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.chars, DecodeAll(c.bytes)) << ::testing::PrintToString(c.bytes);
  }
}

TEST(AppendUtf8, EncodesEveryLength) {
  std::string out;
  for (char32_t c : std::u32string_view(U"A\u00E9成\U0001F600")) AppendUtf8(out, c);
  EXPECT_EQ("A\xC3\xA9\xE6\x88\x90\xF0\x9F\x98\x80", out);
}

}  // namespace
}  // namespace velmora
