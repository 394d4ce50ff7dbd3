#pragma once

#include <map>
#include <string>
#include <vector>

namespace velmora::test {

// A CSV file as the export writes it: the header names the columns of every record.
class Csv {
 public:
  explicit Csv(const std::string& path);

  // The first record whose column `key` is `value` (a test failure and nothing when none is).
  std::map<std::string, std::string> Find(const std::string& key, const std::string& value) const;
  std::vector<std::map<std::string, std::string>> All() const;

 private:
  std::map<std::string, std::string> Named(const std::vector<std::string>& r) const;
  std::vector<std::string> header_;
  std::vector<std::vector<std::string>> records_;
};

}  // namespace velmora::test
