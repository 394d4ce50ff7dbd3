#include "db/value.h"

#include "common/numeric.h"

namespace velmora::db {

std::string RealText(double v) {
  return ShortestText(v);
}

std::string Value::Text() const {
  if (const auto* i = std::get_if<std::int64_t>(&v_)) return std::to_string(*i);
  if (const auto* d = std::get_if<double>(&v_)) return RealText(*d);
  if (const auto* s = std::get_if<std::string>(&v_)) return *s;
  return {};
}

double Value::Number() const {
  if (const auto* i = std::get_if<std::int64_t>(&v_)) return static_cast<double>(*i);
  if (const auto* d = std::get_if<double>(&v_)) return *d;
  if (const auto* s = std::get_if<std::string>(&v_)) return Val(*s);
  return 0.0;
}

}  // namespace velmora::db
