#pragma once

#include <cstdint>
#include <vector>

namespace velmora::demo {

// A small seeded generator (splitmix64): the demo must come out the same on every machine
// and library, which std:: distributions do not promise.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // An independent stream for one part of the data, so that changing how one table is
  // generated leaves the others as they were.
  Random Fork(std::uint64_t salt) const {
    return Random(Random(state_ ^ (salt * 0xD6E8FEB86659FD93ULL)).Next());
  }

  // Uniform in [lo, hi]; the modulo bias is far below anything the demo could show.
  int Between(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
  }
  bool Percent(int percent) { return Between(0, 99) < percent; }

  template <class T>
  const T& Pick(const std::vector<T>& values) {
    return values[static_cast<std::size_t>(Between(0, static_cast<int>(values.size()) - 1))];
  }

 private:
  std::uint64_t state_;
};

}  // namespace velmora::demo
