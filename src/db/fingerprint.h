#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace velmora::db {

// A 64-bit fingerprint of a sequence of field values. Two reads of the same stored row give the
// same fingerprint; a change of any value, its type or its place gives another one with
// overwhelming odds. Only compared within one run, so the mixing may change between versions.
class Fingerprint {
 public:
  void Null() { Word(0x6e756c6cull); }
  void Integer(std::int64_t v) {
    Word(0x696e74ull);
    Word(static_cast<std::uint64_t>(v));
  }
  // A real that holds a whole number is the integer: the engine may give either for one value.
  void Real(double v) {
    if (v >= -9.2e18 && v <= 9.2e18 && static_cast<double>(static_cast<std::int64_t>(v)) == v) {
      Integer(static_cast<std::int64_t>(v));
      return;
    }
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    Word(0x7265616cull);
    Word(bits);
  }
  void Text(std::string_view text) {
    Word(0x74657874ull ^ (static_cast<std::uint64_t>(text.size()) << 32));
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
      std::uint64_t w;
      std::memcpy(&w, text.data() + i, 8);
      Word(w);
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, text.data() + i, text.size() - i);
    Word(tail);
  }
  std::uint64_t Value() const {
    std::uint64_t h = hash_;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ull;
    h ^= h >> 33;
    return h;
  }

 private:
  void Word(std::uint64_t w) {
    hash_ ^= w + 0x9e3779b97f4a7c15ull + (hash_ << 6) + (hash_ >> 2);
    hash_ *= 0xff51afd7ed558ccdull;
    hash_ ^= hash_ >> 32;
  }
  std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

}  // namespace velmora::db
