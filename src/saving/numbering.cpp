#include "saving/numbering.h"

#include <cmath>
#include <limits>
#include <string>

#include "common/numeric.h"
#include "db/recordset.h"
#include "saving/plan_save.h"
#include "saving/save_refused.h"

namespace velmora::saving {
namespace {

const char* const kRowName = "番号管理マスタの「手配番号」の行";

std::string Whole(double v) {
  return std::isfinite(v) && std::fabs(v) < 1e18 ? std::to_string(static_cast<long long>(v))
                                                 : ShortestText(v);
}

[[noreturn]] void Refuse(const std::string& why) {
  throw SaveRefused(std::string(kNoNumbering) + "\n" + kRowName + why);
}

}  // namespace

std::int32_t AllocateArrangementNumber(db::Connection& connection) {
  ArrangementNumbers numbers;
  return numbers.Next(connection);
}

namespace {

// The number after the row's current one; nothing when the row cannot go on, with the reason in
// `why` when asked for.
std::optional<std::int32_t> Following(db::Recordset& rs, std::string* why) {
  const db::Value stored = rs.Fields("現在番号").Get();
  const double current = stored.Number();
  const double first = rs.Fields("開始番号").Number();
  const double last = rs.Fields("終了番号").Number();
  // A text counts only when all of it is the number: "1003000abc" is not 1003000.
  if ((stored.IsText() && !IsNumeric(stored.Text())) || !std::isfinite(current) ||
      current != std::trunc(current)) {
    if (why) *why = "の現在番号「" + rs.Fields("現在番号").Text() + "」が整数ではありません";
    return std::nullopt;
  }
  const double next = current + 1;
  if (next < first || next > last || next < 1 || next > std::numeric_limits<std::int32_t>::max()) {
    if (why) {
      *why = "で次の番号 " + Whole(next) + " が範囲(" + Whole(first) + "～" + Whole(last) +
             ")を外れています。番号の範囲を確認してください";
    }
    return std::nullopt;
  }
  return static_cast<std::int32_t>(next);
}

}  // namespace

std::optional<std::int32_t> ArrangementNumbers::Upcoming() const {
  if (!row_.IsOpen() || row_.Eof()) return std::nullopt;
  return Following(row_, nullptr);
}

std::int32_t ArrangementNumbers::Next(db::Connection& connection,
                                      std::optional<std::int32_t> upcoming, db::Recordset* taken) {
  if (!row_.IsOpen()) {
    row_.Open("SELECT 現在番号,開始番号,終了番号 FROM 番号管理マスタ WHERE 番号管理キー=?",
              {kArrangementNumberKey}, connection, db::CursorType::Keyset,
              db::LockType::Optimistic);
  }
  if (row_.Eof()) throw SaveRefused(kNoNumbering);
  std::string why;
  const std::optional<std::int32_t> number = Following(row_, &why);
  if (!number) Refuse(why);
  db::Recordset read;
  if (!taken || upcoming != number) {
    read.Open(kNumberTaken, {*number}, connection);
    taken = &read;
  }
  if (!taken->Eof()) {
    Refuse("の次の番号 " + Whole(*number) +
           " は既に手配情報にあります。現在番号を確認してください");
  }
  // Written by the row id it was read under: the row stays locked until the transaction ends.
  row_.Fields("現在番号") = *number;
  row_.Update();
  return *number;
}

}  // namespace velmora::saving
