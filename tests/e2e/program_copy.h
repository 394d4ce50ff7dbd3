#pragma once

#include <string>

#include "support/test_db.h"

namespace velmora::test {

// A copy of the built program in a scratch directory, with its own settings file, so a run
// reads exactly the database a test prepared.
class ProgramCopy {
 public:
  ProgramCopy();
  // Writes velmora.ini naming `databasePath` and `plantCode`.
  void Settings(const std::string& databasePath, int plantCode);
  const std::string& executable() const { return executable_; }
  std::string File(const std::string& name) const { return dir_.File(name); }

 private:
  TempDir dir_;
  std::string executable_;
};

}  // namespace velmora::test
