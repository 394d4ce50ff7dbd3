#pragma once

#include <cstdint>
#include <optional>

#include "db/connection.h"
#include "db/recordset.h"

namespace velmora::saving {

// The key of the arrangement numbers' row in 番号管理マスタ: "手配番号" and twelve blanks.
inline constexpr const char* kArrangementNumberKey = "手配番号            ";

// The next arrangement number: the row's current number plus one, stored back at once. Throws
// SaveRefused, naming the row, when there is no row, when its current number is not a whole
// number, when the next one leaves the row's range (開始番号..終了番号) or 32 bits, and when an
// arrangement already has it: the save then stores nothing.
std::int32_t AllocateArrangementNumber(db::Connection& connection);

// Whether an arrangement has the number in its one parameter: a number it has cannot be given.
inline constexpr const char* kNumberTaken = "SELECT 手配番号 FROM 手配情報 WHERE 手配番号=?";

// The arrangement numbers of one write transaction. The row is read once, for update, and
// written by its row id: it stays locked (or the file's write lock keeps other programs out)
// until the transaction ends, so what this copy wrote last is what it holds.
class ArrangementNumbers {
 public:
  // The number Next would give, when the row is read and its number can go on; a read of
  // kNumberTaken for it may then be asked for with other reads and handed to Next.
  std::optional<std::int32_t> Upcoming() const;
  // As AllocateArrangementNumber. `taken`: kNumberTaken as read for `upcoming`, if it was.
  std::int32_t Next(db::Connection& connection, std::optional<std::int32_t> upcoming = {},
                    db::Recordset* taken = nullptr);

 private:
  mutable db::Recordset row_;  // Fields() reads through a non-const recordset
};

}  // namespace velmora::saving
