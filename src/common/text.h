#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Removes leading and trailing blanks (ASCII spaces).
std::string Trim(std::string_view text);

// ASCII letters in lower case; every other byte as it is.
std::string AsciiLower(std::string_view text);

// Texts are UTF-8; positions and lengths below count characters (code points), as the
// program's fixed-width list lines and code positions do. A malformed byte sequence counts
// as one character and keeps its bytes.
std::size_t CharCount(std::string_view text);
// Characters from 1-based position `start`, at most `length` of them (all when npos).
std::string Mid(std::string_view text, std::size_t start, std::size_t length = std::string::npos);
std::string Left(std::string_view text, std::size_t length);
std::string Right(std::string_view text, std::size_t length);
// A fixed-width field of `width` characters: the text with blanks after it (PadRight) or
// before it (AlignRight), cut to the width on the far side as the list lines cut it.
std::string PadRight(std::string_view text, std::size_t width);
std::string AlignRight(std::string_view text, std::size_t width);

// Full-width letters, digits, symbols, the ideographic space and katakana folded to their
// half-width forms, then letters in upper case. Other characters stay as they are; malformed
// bytes become U+FFFD, so a broken sequence never folds into an ASCII character.
std::string FoldNarrowUpper(std::string_view text);

}  // namespace velmora
