#include "plandata/unreadable_value.h"

#include <cmath>

#include "common/errors.h"
#include "common/numeric.h"

namespace velmora {
namespace {

std::string Quoted(std::string_view text) {
  return "「" + std::string(text) + "」";
}

}  // namespace

void RefuseStoredValue(std::string_view where, std::string_view column, std::string_view problem) {
  throw ConversionError(std::string(where) + " の「" + std::string(column) +
                        "」が読み取れません（" + std::string(problem) +
                        "）。データベースのこの値を正しく直してから、もう一度読み込んでください。");
}

std::string NotANumber(std::string_view text) {
  return Quoted(text) + "は数値ではありません";
}

std::string NotADate(std::string_view text) {
  return Quoted(text) + "は日付ではありません";
}

std::string NotATime(std::string_view text) {
  return Quoted(text) + "は時刻ではありません";
}

std::string OutOfRange(std::string_view text) {
  return Quoted(text) + "は範囲外です";
}

std::string UnknownFlag(std::string_view text, std::span<const std::string_view> known) {
  std::string values;
  for (std::string_view value : known) {
    if (!values.empty()) values += "、";
    values += value;
  }
  return Quoted(text) + "は " + values + " のいずれでもありません";
}

std::string NumberProblem(const db::Value& value) {
  if (value.IsText() && !IsNumeric(value.Text())) return NotANumber(value.Text());
  // A real, or a text such as "1e999" that reads as one too large.
  if (!std::isfinite(value.Number())) return NotANumber(value.Text());
  return "";
}

}  // namespace velmora
