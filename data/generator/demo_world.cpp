#include "generator/demo_world.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"

namespace velmora::demo {

std::string PadCode(const std::string& code, std::size_t width) {
  return code.size() >= width ? code : code + std::string(width - code.size(), ' ');
}

double HalfSeconds(double seconds) {
  return std::max(0.5, std::round(seconds * 2) / 2);
}

int RoutingStep::SetupMinutes() const {
  return setupMinutes != 0 ? setupMinutes : molded ? setupBefore + setupAfter : 0;
}

std::string Plant::SectionCode(int plant, const std::string& category) const {
  // Sections are numbered in category order in every plant; the other plant only molds
  // and assembles.
  int section = 1;
  if (plant == code) {
    section = category == "10" ? 2 : category == "20" ? 3 : category == "30" ? 4 : 1;
  } else {
    section = category == "30" ? 2 : 1;
  }
  return PadCode(FormatNumber(plant, "00") + FormatNumber(section, "00"), kSupplierCodeWidth);
}

std::vector<int> Plant::MachinesOf(int plant, const std::string& category) const {
  std::vector<int> found;
  for (std::size_t i = 0; i < machines.size(); ++i) {
    const Machine& m = machines[i];
    if (!m.deleted && m.plant == plant && m.category == category)
      found.push_back(static_cast<int>(i));
  }
  return found;
}

std::vector<int> Plant::SubcontractorsOf(const std::string& category) const {
  std::vector<int> found;
  for (std::size_t i = 0; i < suppliers.size(); ++i) {
    const Supplier& s = suppliers[i];
    if (s.deleted || s.supplierClass != "2") continue;
    for (const std::string& c : s.categories) {
      if (c == category) found.push_back(static_cast<int>(i));
    }
  }
  return found;
}

}  // namespace velmora::demo
