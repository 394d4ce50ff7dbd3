#include "common/text.h"

#include <array>
#include <cstdint>

#include "common/utf8.h"

namespace velmora {
namespace {

// Byte offset of the character with 0-based index `index` (size() when past the end). Character
// bounds are the decoder's, so a broken sequence never swallows the character after it.
std::size_t ByteOffset(std::string_view text, std::size_t index) {
  std::size_t pos = 0;
  for (; index > 0 && pos < text.size(); --index) DecodeUtf8(text, pos);
  return pos;
}

// Half-width forms of the katakana U+30A1..U+30FA, in code order.
constexpr std::array<std::string_view, 90> kNarrowKatakana = {
    "ｧ",  "ｱ",  "ｨ",  "ｲ",  "ｩ",  "ｳ",  "ｪ",  "ｴ", "ｫ",  "ｵ",  "ｶ",  "ｶﾞ", "ｷ",  "ｷﾞ", "ｸ",
    "ｸﾞ", "ｹ",  "ｹﾞ", "ｺ",  "ｺﾞ", "ｻ",  "ｻﾞ", "ｼ", "ｼﾞ", "ｽ",  "ｽﾞ", "ｾ",  "ｾﾞ", "ｿ",  "ｿﾞ",
    "ﾀ",  "ﾀﾞ", "ﾁ",  "ﾁﾞ", "ｯ",  "ﾂ",  "ﾂﾞ", "ﾃ", "ﾃﾞ", "ﾄ",  "ﾄﾞ", "ﾅ",  "ﾆ",  "ﾇ",  "ﾈ",
    "ﾉ",  "ﾊ",  "ﾊﾞ", "ﾊﾟ", "ﾋ",  "ﾋﾞ", "ﾋﾟ", "ﾌ", "ﾌﾞ", "ﾌﾟ", "ﾍ",  "ﾍﾞ", "ﾍﾟ", "ﾎ",  "ﾎﾞ",
    "ﾎﾟ", "ﾏ",  "ﾐ",  "ﾑ",  "ﾒ",  "ﾓ",  "ｬ",  "ﾔ", "ｭ",  "ﾕ",  "ｮ",  "ﾖ",  "ﾗ",  "ﾘ",  "ﾙ",
    "ﾚ",  "ﾛ",  "ﾜ",  "ﾜ",  "ｲ",  "ｴ",  "ｦ",  "ﾝ", "ｳﾞ", "ｶ",  "ｹ",  "ﾜﾞ", "ｲﾞ", "ｴﾞ", "ｦﾞ"};

void AppendNarrow(std::string& out, char32_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E) {
    c -= 0xFF01 - 0x21;  // full-width ASCII block
  } else if (c == 0x3000) {
    c = U' ';
  } else if (c >= 0x30A1 && c <= 0x30FA) {
    out += kNarrowKatakana[c - 0x30A1];
    return;
  } else {
    switch (c) {
      case 0x3002:
        c = 0xFF61;
        break;  // 。
      case 0x300C:
        c = 0xFF62;
        break;  // 「
      case 0x300D:
        c = 0xFF63;
        break;  // 」
      case 0x3001:
        c = 0xFF64;
        break;  // 、
      case 0x30FB:
        c = 0xFF65;
        break;  // ・
      case 0x30FC:
        c = 0xFF70;
        break;  // ー
      case 0x309B:
        c = 0xFF9E;
        break;  // ゛
      case 0x309C:
        c = 0xFF9F;
        break;  // ゜
      default:
        break;
    }
  }
  if (c >= U'a' && c <= U'z') c -= U'a' - U'A';
  AppendUtf8(out, c);
}

}  // namespace

std::string Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) DecodeUtf8(text, pos);
  return count;
}

std::string Mid(std::string_view text, std::size_t start, std::size_t length) {
  if (start < 1) start = 1;
  const std::size_t from = ByteOffset(text, start - 1);
  if (length == std::string::npos) return std::string(text.substr(from));
  const std::size_t to = from + ByteOffset(text.substr(from), length);
  return std::string(text.substr(from, to - from));
}

std::string Left(std::string_view text, std::size_t length) {
  return Mid(text, 1, length);
}

std::string Right(std::string_view text, std::size_t length) {
  const std::size_t count = CharCount(text);
  if (length >= count) return std::string(text);
  return Mid(text, count - length + 1);
}

std::string FoldNarrowUpper(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) AppendNarrow(out, DecodeUtf8(text, pos));
  return out;
}

std::string PadRight(std::string_view text, std::size_t width) {
  return Left(std::string(text) + std::string(width, ' '), width);
}

std::string AlignRight(std::string_view text, std::size_t width) {
  return Right(std::string(width, ' ') + std::string(text), width);
}

}  // namespace velmora
