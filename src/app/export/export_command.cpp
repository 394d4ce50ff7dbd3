#include "app/export/export_command.h"

#include <iostream>

namespace velmora {

bool IsExportCommand(const std::vector<std::string>& args) {
  return !args.empty() && (args[0] == "--export-csv" || args[0] == "--export-png");
}

int RunExport(int, char**, const std::vector<std::string>& args) {
  std::cerr << "velmora: " << args[0] << " is not available in this build" << std::endl;
  return 2;
}

}  // namespace velmora
