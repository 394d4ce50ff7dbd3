#include "saving/save_masters.h"

#include <algorithm>
#include <unordered_set>

#include "common/format.h"
#include "db/recordset.h"
#include "plandata/blank_codes.h"

namespace velmora::saving {
namespace {

const char* const kMachine = "SELECT * FROM 機械マスタ WHERE 機械コード=?";
const char* const kSupplier = "SELECT * FROM 仕入先マスタ WHERE 仕入先コード=?";

// Reads asked in one exchange at most: few round trips, and no pipeline so long that both sides
// wait on a full network buffer.
constexpr std::size_t kReadsPerExchange = 200;

// The text of `column` in the first row of `rs`, or no value when there is none.
std::optional<std::string> FirstText(db::Recordset& rs, const char* column) {
  if (rs.Eof()) return std::nullopt;
  return rs.Fields(column).Text();  // Null reads as ""
}

}  // namespace

std::optional<std::string> SaveMasters::MachineDestination(const std::string& code) {
  if (auto known = machineDestinations_.find(code); known != machineDestinations_.end())
    return known->second;
  db::Recordset machine;
  machine.Open(kMachine, {code}, connection_);
  return machineDestinations_[code] = FirstText(machine, "指示先コード");
}

std::optional<std::string> SaveMasters::SupplierKind(const std::string& code) {
  if (auto known = supplierKinds_.find(code); known != supplierKinds_.end()) return known->second;
  db::Recordset supplier;
  supplier.Open(kSupplier, {code}, connection_);
  return supplierKinds_[code] = FirstText(supplier, "仕入先分類");
}

std::optional<std::string> SaveMasters::FirstSection(const std::string& department) {
  if (auto known = firstSections_.find(department); known != firstSections_.end())
    return known->second;
  db::Recordset rs;
  rs.Open("SELECT * FROM 部課マスタ WHERE 部コード=? AND 課コード<>0 ORDER BY 課コード",
          {department}, connection_);
  std::optional<std::string> section;
  if (!rs.Eof()) {
    section = FormatNumber(static_cast<long long>(rs.Fields("部コード").Number()), "00") +
              FormatNumber(static_cast<long long>(rs.Fields("課コード").Number()), "00") +
              kNoMachine;
  }
  return firstSections_[department] = section;
}

void SaveMasters::ReadMachines(const std::vector<std::string>& codes) {
  ReadAll(kMachine, "指示先コード", codes, machineDestinations_);
}

void SaveMasters::ReadSuppliers(const std::vector<std::string>& codes) {
  ReadAll(kSupplier, "仕入先分類", codes, supplierKinds_);
}

void SaveMasters::ReadAll(const char* sql, const char* column,
                          const std::vector<std::string>& codes, Known& known) {
  std::vector<std::string> unread;
  std::unordered_set<std::string> seen;
  for (const std::string& code : codes) {
    if (!known.contains(code) && seen.insert(code).second) unread.push_back(code);
  }
  for (std::size_t at = 0; at < unread.size(); at += kReadsPerExchange) {
    const std::size_t n = std::min(kReadsPerExchange, unread.size() - at);
    std::vector<db::Recordset> rows(n);
    std::vector<db::BatchRead> batch;
    for (std::size_t k = 0; k < n; ++k) batch.push_back({sql, {unread[at + k]}, &rows[k]});
    db::Recordset::OpenTogether(batch, connection_);
    for (std::size_t k = 0; k < n; ++k) known[unread[at + k]] = FirstText(rows[k], column);
  }
}

}  // namespace velmora::saving
