#include "ui/pdf_text_map.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <cstdio>
#include <cstring>

namespace velmora::ui {
namespace {

// The value of a four-digit hex token "<hhhh>" at `p`, or -1.
int HexToken(const char* p, const char* end) {
  if (end - p < 6 || p[0] != '<' || p[5] != '>') return -1;
  const auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  int value = 0;
  for (int i = 1; i <= 4; ++i) {
    if (digit(p[i]) < 0) return -1;
    value = value * 16 + digit(p[i]);
  }
  return value;
}

void Mend(char* token) {
  const char16_t u = static_cast<char16_t>(HexToken(token, token + 6));
  const char16_t better = PreferredCodePoint(u);
  if (better == u) return;
  char hex[5];
  std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(better));
  std::memcpy(token + 1, hex, 4);
}

// One line of a section: "<a> <b> [<u> ...]" or "<a> <b> <u>" (bfrange), "<a> <u>" (bfchar).
void MendLine(char* p, char* end, bool range) {
  char* tokens[3] = {};
  int count = 0;
  for (; p < end; ++p) {
    if (*p == '[') {  // one destination per source
      for (++p; p < end && *p != ']'; ++p) {
        if (HexToken(p, end) >= 0) Mend(p);
      }
      return;
    }
    if (HexToken(p, end) >= 0 && count < 3) tokens[count++] = p;
  }
  // A range "<a> <b> <u>" maps a run of glyphs to a run of code points: only one glyph's
  // destination can be changed without changing the others'.
  if (range && count == 3 && HexToken(tokens[0], end) == HexToken(tokens[1], end)) Mend(tokens[2]);
  if (!range && count == 2) Mend(tokens[1]);
}

void MendSections(char* data, qint64 size, const char* begin, const char* finish, bool range) {
  const QByteArrayView all(data, size);
  for (qsizetype at = all.indexOf(begin); at >= 0; at = all.indexOf(begin, at + 1)) {
    const qsizetype stop = all.indexOf(finish, at);
    if (stop < 0) return;
    char* line = data + at + std::strlen(begin);
    while (line < data + stop) {
      char* next = static_cast<char*>(std::memchr(line, '\n', data + stop - line));
      if (next == nullptr) next = data + stop;
      MendLine(line, next, range);
      line = next + 1;
    }
  }
}

}  // namespace

char16_t PreferredCodePoint(char16_t u) {
  switch (u) {
    case 0x0009:
      return 0x0020;
    case 0x2003:
      return 0x3000;
    case 0x301C:
      return 0xFF5E;
    default:
      break;
  }
  const bool radical = u >= 0x2E80 && u <= 0x2FDF;
  const bool compatibility = u >= 0xF900 && u <= 0xFAFF;
  if (radical || compatibility) {
    const QString same = QChar(u).decomposition();
    if (same.size() == 1) return same[0].unicode();
  }
  return u;
}

void MendToUnicodeMaps(char* data, qint64 size) {
  MendSections(data, size, "beginbfrange", "endbfrange", true);
  MendSections(data, size, "beginbfchar", "endbfchar", false);
}

qint64 ToUnicodeMending::writeData(const char* data, qint64 size) {
  const QByteArrayView chunk(data, size);
  if (!chunk.contains("begincmap")) return target_.write(data, size);
  QByteArray mended(data, size);
  MendToUnicodeMaps(mended.data(), mended.size());
  return target_.write(mended);
}

}  // namespace velmora::ui
