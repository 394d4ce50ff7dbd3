#include "e2e/program_copy.h"

#include <filesystem>
#include <fstream>

namespace velmora::test {

ProgramCopy::ProgramCopy() : executable_(dir_.File("velmora")) {
  std::filesystem::copy_file(VELMORA_BINARY, executable_);
}

void ProgramCopy::Settings(const std::string& databasePath, int plantCode) {
  std::ofstream(dir_.File("velmora.ini")) << "\"" << databasePath << "\"," << plantCode << "\n";
}

}  // namespace velmora::test
