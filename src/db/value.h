#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace velmora::db {

// One field value as the database holds it: Null, an integer, a real or a text.
class Value {
 public:
  Value() = default;
  Value(std::int64_t v) : v_(v) {}
  Value(int v) : v_(static_cast<std::int64_t>(v)) {}
  Value(double v) : v_(v) {}
  Value(std::string v) : v_(std::move(v)) {}
  Value(std::string_view v) : v_(std::string(v)) {}
  Value(const char* v) : v_(std::string(v)) {}

  bool IsNull() const { return std::holds_alternative<std::monostate>(v_); }
  bool IsInteger() const { return std::holds_alternative<std::int64_t>(v_); }
  bool IsReal() const { return std::holds_alternative<double>(v_); }
  bool IsText() const { return std::holds_alternative<std::string>(v_); }

  // The value as text without a format: Null gives "", numbers their shortest decimal form.
  std::string Text() const;
  // The numeric value: numbers as they are, a text by the number it starts with, Null 0.
  double Number() const;

  const std::variant<std::monostate, std::int64_t, double, std::string>& Raw() const { return v_; }
  bool operator==(const Value&) const = default;

 private:
  std::variant<std::monostate, std::int64_t, double, std::string> v_;
};

// Shortest decimal text of a real that reads back to the same value ("12.5", "3", "0.1").
std::string RealText(double v);

}  // namespace velmora::db
