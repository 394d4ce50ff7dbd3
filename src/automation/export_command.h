#pragma once

#include <string>
#include <vector>

namespace velmora {

// Headless runs of the program: "--export-csv DIR ...", "--export-png FILE ...",
// "--export-pdf FILE ..." and "--script FILE ...".
// `args` are the command-line arguments without the program name.
bool IsExportCommand(const std::vector<std::string>& args);

// Runs the export named by `args` and returns the process exit status. Must be called before
// any QApplication exists: it creates its own (offscreen) where it needs one.
int RunExport(int argc, char** argv, const std::vector<std::string>& args);

}  // namespace velmora
