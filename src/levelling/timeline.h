#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "common/datetime.h"

namespace velmora::levelling {

// The busy spans of one machine row or one mold, none overlapping another. Spans of plans that
// must stay are merged where they overlap each other (their owner is kStays), so a plan that
// moves is checked against one span per busy stretch.
class Timeline {
 public:
  static constexpr int kStays = -1;

  struct Busy {
    DateTime start;
    DateTime end;
    int owner = kStays;
  };

  // A span of a plan that stays; merged with the staying spans it overlaps.
  void AddStaying(DateTime start, DateTime end);
  // A span of a plan the leveller places; it must overlap nothing already here.
  void Add(DateTime start, DateTime end, int owner);
  void Remove(DateTime start, int owner);
  // The first busy span overlapping [start, end), or nothing. An empty span overlaps nothing.
  const Busy* FirstOverlap(DateTime start, DateTime end) const;
  // The earliest moment from `from` with `length` free after it, walking the spans in order.
  DateTime FirstGap(DateTime from, std::int64_t length) const;
  // The owners of the placed spans overlapping [start, end).
  std::vector<int> PlacedOverlapping(DateTime start, DateTime end) const;
  // The placed spans starting in [from, to), latest first, at most `limit` of them.
  std::vector<int> OwnersBefore(DateTime from, DateTime to, std::size_t limit) const;

 private:
  std::map<DateTime, Busy> spans_;  // by start
};

}  // namespace velmora::levelling
