#include "e2e/csv_file.h"

#include <gtest/gtest.h>

#include "support/run_program.h"

namespace velmora::test {

Csv::Csv(const std::string& path) {
  std::string text = ReadWholeFile(path);
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  std::vector<std::string> record;
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      record.push_back(std::move(field));
      field.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      record.push_back(std::move(field));
      field.clear();
      if (header_.empty()) {
        header_ = std::move(record);
      } else {
        records_.push_back(std::move(record));
      }
      record.clear();
      ++i;
    } else {
      field += c;
    }
  }
}

std::map<std::string, std::string> Csv::Find(const std::string& key,
                                             const std::string& value) const {
  for (const auto& r : records_) {
    std::map<std::string, std::string> named = Named(r);
    if (named[key] == value) return named;
  }
  ADD_FAILURE() << "no record with " << key << " = " << value;
  return {};
}

std::vector<std::map<std::string, std::string>> Csv::All() const {
  std::vector<std::map<std::string, std::string>> out;
  for (const auto& r : records_) out.push_back(Named(r));
  return out;
}

std::map<std::string, std::string> Csv::Named(const std::vector<std::string>& r) const {
  std::map<std::string, std::string> named;
  for (std::size_t i = 0; i < header_.size() && i < r.size(); ++i) named[header_[i]] = r[i];
  return named;
}

}  // namespace velmora::test
