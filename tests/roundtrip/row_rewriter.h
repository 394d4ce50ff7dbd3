#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// Another program on the server that rewrites the given arrangement rows (those a save is about
// to write) and the numbering row with the values they hold, at random, as fast as it can, from
// its own connection. Nothing it writes changes a
// value, but each write moves the row: a save that writes a row by where it read it, without
// holding it, loses that write.
namespace velmora::test {

class RowRewriter {
 public:
  RowRewriter(const std::string& uri, std::vector<std::int32_t> numbers, std::uint64_t seed);
  ~RowRewriter();  // stops and waits for the last statement
  RowRewriter(const RowRewriter&) = delete;
  RowRewriter& operator=(const RowRewriter&) = delete;
  // Rows rewritten so far.
  int Rewritten() const { return rewritten_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<int> rewritten_{0};
  std::thread thread_;
};

}  // namespace velmora::test
