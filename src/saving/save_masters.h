#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/connection.h"

namespace velmora::saving {

// Masters the save reads but never writes, read once per pass: entries ask for the same few
// machines and suppliers again and again, and on a server each ask is a round trip.
class SaveMasters {
 public:
  explicit SaveMasters(db::Connection& connection) : connection_(connection) {}

  // A machine's destination code ("" when it has none); no value for an unknown machine.
  std::optional<std::string> MachineDestination(const std::string& machine);
  // A supplier's class; no value for an unknown supplier.
  std::optional<std::string> SupplierKind(const std::string& supplier);
  // A department's first section ("ddss" and eight blanks); no value when it has none.
  std::optional<std::string> FirstSection(const std::string& department);

  // Reads the machines (or suppliers) of `codes` not read yet, asked together: a server answers
  // them in a few exchanges instead of one each.
  void ReadMachines(const std::vector<std::string>& codes);
  void ReadSuppliers(const std::vector<std::string>& codes);

 private:
  using Known = std::unordered_map<std::string, std::optional<std::string>>;
  // Reads `sql` for each code not in `known` yet and keeps what `column` holds, or no value when
  // no row answers.
  void ReadAll(const char* sql, const char* column, const std::vector<std::string>& codes,
               Known& known);

  db::Connection& connection_;
  Known machineDestinations_;
  Known supplierKinds_;
  Known firstSections_;
};

}  // namespace velmora::saving
