#include "levelling/timeline.h"

#include <algorithm>
#include <iterator>

namespace velmora::levelling {

void Timeline::AddStaying(DateTime start, DateTime end) {
  if (!(start < end)) return;
  // Swallow every staying span this one touches; a placed span it overlaps stays as it is (the
  // leveller never places into a staying span, so that only happens among staying plans).
  auto it = spans_.upper_bound(start);
  if (it != spans_.begin()) {
    auto before = std::prev(it);
    if (before->second.owner == kStays && before->second.end >= start) it = before;
  }
  while (it != spans_.end() && it->first <= end && it->second.owner == kStays) {
    start = std::min(start, it->second.start);
    end = std::max(end, it->second.end);
    it = spans_.erase(it);
  }
  spans_.emplace(start, Busy{start, end, kStays});
}

void Timeline::Add(DateTime start, DateTime end, int owner) {
  if (!(start < end)) return;
  spans_.emplace(start, Busy{start, end, owner});
}

void Timeline::Remove(DateTime start, int owner) {
  auto it = spans_.find(start);
  if (it != spans_.end() && it->second.owner == owner) spans_.erase(it);
}

const Timeline::Busy* Timeline::FirstOverlap(DateTime start, DateTime end) const {
  if (!(start < end)) return nullptr;
  auto it = spans_.upper_bound(start);
  if (it != spans_.begin()) {
    auto before = std::prev(it);
    if (before->second.end > start) return &before->second;
  }
  if (it != spans_.end() && it->first < end) return &it->second;
  return nullptr;
}

DateTime Timeline::FirstGap(DateTime from, std::int64_t length) const {
  auto it = spans_.upper_bound(from);
  if (it != spans_.begin() && std::prev(it)->second.end > from) from = std::prev(it)->second.end;
  for (; it != spans_.end() && it->first < from.AddSeconds(length); ++it) {
    from = std::max(from, it->second.end);
  }
  return from;
}

std::vector<int> Timeline::PlacedOverlapping(DateTime start, DateTime end) const {
  std::vector<int> owners;
  auto it = spans_.upper_bound(start);
  if (it != spans_.begin()) --it;
  for (; it != spans_.end() && it->first < end; ++it) {
    if (it->second.owner != kStays && it->second.end > start) owners.push_back(it->second.owner);
  }
  return owners;
}

std::vector<int> Timeline::OwnersBefore(DateTime from, DateTime to, std::size_t limit) const {
  std::vector<int> owners;
  auto it = spans_.lower_bound(to);
  while (it != spans_.begin() && owners.size() < limit) {
    --it;
    if (it->first < from) break;
    if (it->second.owner != kStays) owners.push_back(it->second.owner);
  }
  return owners;
}

}  // namespace velmora::levelling
