#pragma once

#include <string>
#include <string_view>

namespace velmora {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the character at byte `pos` and moves `pos` past it. A malformed sequence (overlong
// form, surrogate, code point past U+10FFFF, missing continuation bytes, stray continuation
// byte) comes back as one U+FFFD covering its longest valid-looking start, at least one byte,
// never past the end; so no ASCII character is ever read out of, or swallowed by, a broken
// multi-byte sequence.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

void AppendUtf8(std::string& out, char32_t c);

}  // namespace velmora
