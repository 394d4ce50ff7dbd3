#include "db/engine.h"

#include "common/text.h"

namespace velmora::db {

void ResultColumns::Add(std::string name, std::string origin) {
  const int index = static_cast<int>(names.size());
  byName.try_emplace(name, index);
  byFoldedName.try_emplace(AsciiLower(name), index);
  names.push_back(std::move(name));
  originNames.push_back(std::move(origin));
}

void PrintValue(Fingerprint& print, const Value& value) {
  const auto& raw = value.Raw();
  if (value.IsNull()) {
    print.Null();
  } else if (const auto* i = std::get_if<std::int64_t>(&raw)) {
    print.Integer(*i);
  } else if (const auto* d = std::get_if<double>(&raw)) {
    print.Real(*d);
  } else {
    print.Text(std::get<std::string>(raw));
  }
}

void Rows::Print(Fingerprint& print, int column) const {
  PrintValue(print, Get(column));
}

}  // namespace velmora::db
