#include "common/text.h"

#include <array>
#include <cstdint>

namespace velmora {
namespace {

std::size_t CharLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead >> 5) == 0x6) return 2;
  if ((lead >> 4) == 0xE) return 3;
  if ((lead >> 3) == 0x1E) return 4;
  return 1;  // stray continuation byte: one character, so nothing is lost
}

// Byte offset of the character with 0-based index `index` (size() when past the end).
std::size_t ByteOffset(std::string_view text, std::size_t index) {
  std::size_t pos = 0;
  while (index > 0 && pos < text.size()) {
    pos += CharLength(static_cast<unsigned char>(text[pos]));
    --index;
  }
  return pos < text.size() ? pos : text.size();
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one character at `pos`, advancing it. Malformed bytes come back as themselves.
char32_t Decode(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  const std::size_t len = CharLength(lead);
  if (len == 1 || pos + len > text.size()) {
    ++pos;
    return lead;
  }
  char32_t c = lead & (0xFF >> (len + 1));
  for (std::size_t i = 1; i < len; ++i)
    c = (c << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
  pos += len;
  return c;
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

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size();
       pos += CharLength(static_cast<unsigned char>(text[pos]))) {
    ++count;
  }
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
  for (std::size_t pos = 0; pos < text.size();) AppendNarrow(out, Decode(text, pos));
  return out;
}

}  // namespace velmora
