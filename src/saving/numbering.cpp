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
  db::Recordset rs;
  rs.Open("SELECT 現在番号,開始番号,終了番号 FROM 番号管理マスタ WHERE 番号管理キー=?",
          {kArrangementNumberKey}, connection, db::CursorType::Keyset, db::LockType::Optimistic);
  if (rs.Eof()) throw SaveRefused(kNoNumbering);
  const db::Value stored = rs.Fields("現在番号").Get();
  const double current = stored.Number();
  const double first = rs.Fields("開始番号").Number();
  const double last = rs.Fields("終了番号").Number();
  // A text counts only when all of it is the number: "1003000abc" is not 1003000.
  if ((stored.IsText() && !IsNumeric(stored.Text())) || !std::isfinite(current) ||
      current != std::trunc(current)) {
    Refuse("の現在番号「" + rs.Fields("現在番号").Text() + "」が整数ではありません");
  }
  const double next = current + 1;
  if (next < first || next > last || next < 1 || next > std::numeric_limits<std::int32_t>::max()) {
    Refuse("で次の番号 " + Whole(next) + " が範囲(" + Whole(first) + "～" + Whole(last) +
           ")を外れています。番号の範囲を確認してください");
  }
  const auto number = static_cast<std::int32_t>(next);
  db::Recordset taken;
  taken.Open("SELECT 手配番号 FROM 手配情報 WHERE 手配番号=?", {number}, connection);
  if (!taken.Eof()) {
    Refuse("の次の番号 " + Whole(next) + " は既に手配情報にあります。現在番号を確認してください");
  }
  // Advanced by its key from the number read under the row's lock, and only from that number:
  // if another program took one meanwhile, nothing is changed and the save stops instead of
  // handing out a number twice.
  const std::int64_t changed =
      connection.Run("UPDATE 番号管理マスタ SET 現在番号=? WHERE 番号管理キー=? AND 現在番号=?",
                     {number, kArrangementNumberKey, stored});
  if (changed != 1) throw db::RowNotWritten("番号管理マスタ", changed);
  return number;
}

}  // namespace velmora::saving
