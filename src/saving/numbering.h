#pragma once

#include <cstdint>

#include "db/connection.h"

namespace velmora::saving {

// The key of the arrangement numbers' row in 番号管理マスタ: "手配番号" and twelve blanks.
inline constexpr const char* kArrangementNumberKey = "手配番号            ";

// The next arrangement number: the row's current number plus one, stored back at once. Throws
// SaveRefused, naming the row, when there is no row, when its current number is not a whole
// number, when the next one leaves the row's range (開始番号..終了番号) or 32 bits, and when an
// arrangement already has it: the save then stores nothing.
std::int32_t AllocateArrangementNumber(db::Connection& connection);

}  // namespace velmora::saving
