#include "automation/formula_guard.h"

namespace velmora {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// -?digits[.digits][e[+-]digits]: what the files write for integers and floats.
bool IsPlainNumber(std::string_view s) {
  std::size_t i = 0;
  auto digits = [&] {
    const std::size_t start = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i > start;
  };
  if (i < s.size() && s[i] == '-') ++i;
  if (!digits()) return false;
  if (i < s.size() && s[i] == '.') {
    ++i;
    if (!digits()) return false;
  }
  if (i < s.size() && s[i] == 'e') {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (!digits()) return false;
  }
  return i == s.size();
}

}  // namespace

std::string SpreadsheetSafe(std::string_view cell) {
  if (cell.empty()) return std::string();
  switch (cell.front()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
      if (!IsPlainNumber(cell)) return "'" + std::string(cell);
      break;
    default:
      break;
  }
  return std::string(cell);
}

}  // namespace velmora
