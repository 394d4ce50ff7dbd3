#pragma once

#include <cstdint>

namespace velmora {

inline constexpr int kDefaultCycleSeconds = 5;  // seconds per piece when the cycle is 0

// Production length in minutes: the whole minutes (rounded down) of quantity x cycle seconds,
// plus setup; 5 seconds a piece when the cycle is 0. The cycle counts as the decimal it was
// entered as (0.7, not the single's 0.69999998). ConversionError when the result does not fit
// 32 bits.
std::int32_t ProductionMinutes(std::int16_t setupMinutes, float cycleSeconds,
                               std::int32_t quantity);

}  // namespace velmora
