#include "startup/local_today.h"

#include <ctime>

namespace velmora {

DateTime LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return DateTime::FromDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

DateTime LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return DateTime::FromDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         DateTime::FromTime(local.tm_hour, local.tm_min, local.tm_sec);
}

}  // namespace velmora
