#include "plandata/plan_entry.h"

#include <stdexcept>

#include "common/text.h"

namespace velmora {

const Member& MemberGroup::operator[](int k) const {
  static const Member kFree;
  if (k < 1 || k > kSlots) throw std::out_of_range("member slot " + std::to_string(k));
  return k <= Stored() ? slots_[static_cast<std::size_t>(k - 1)] : kFree;
}

Member& MemberGroup::Slot(int k) {
  if (k < 1 || k > kSlots) throw std::out_of_range("member slot " + std::to_string(k));
  if (k > Stored()) slots_.resize(static_cast<std::size_t>(k));
  return slots_[static_cast<std::size_t>(k - 1)];
}

int MemberGroup::FirstFree() const {
  for (int k = 1; k <= kSlots; ++k) {
    if ((*this)[k].OrderNo == 0) return k;
  }
  return 0;
}

void MemberGroup::Remove(int k) {
  if (k < 1 || k > kSlots) throw std::out_of_range("member slot " + std::to_string(k));
  if (k <= Stored()) slots_.erase(slots_.begin() + (k - 1));
}

int MemberGroup::Count() const {
  int n = 0;
  for (const Member& m : slots_) n += m.OrderNo != 0 ? 1 : 0;
  return n;
}

int MemberGroup::SlotOfLine(int line) const {
  for (int k = 1; k <= Stored(); ++k) {
    if (slots_[static_cast<std::size_t>(k - 1)].OrderNo != 0 && line-- == 0) return k;
  }
  return 0;
}

bool PlanEntry::IsGroupB(const std::string& itemCode) {
  const std::string kind = Mid(itemCode, 9, 1);
  return kind == "4" || kind == "2";
}

}  // namespace velmora
