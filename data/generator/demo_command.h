#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "common/datetime.h"
#include "generator/demo_options.h"

namespace velmora::demo {

// velmora-demo --out TARGET [--empty] [--seed N] [--start yyyymmdd] [--days N] [--machines N]
//              [--arrangements N] [--plant N] [--ini PATH [--ini-only]]
struct DemoCommand {
  DemoOptions options;
  std::string out;
  std::string ini;       // settings file to write, naming `out`; empty = none
  bool iniOnly = false;  // write only the settings file for an existing database
  bool empty = false;    // create the tables only
  bool help = false;
};

// Parses the arguments (without the program name); the default start is `today` minus 30
// days, so that a period around today shows a full chart. Throws std::invalid_argument.
DemoCommand ParseDemoCommand(const std::vector<std::string>& args, DateTime today);

// The settings file's content: the database path in double quotes, a comma, the plant code
// and a line end. Throws std::invalid_argument for a path the file cannot hold.
std::string SettingsFileText(const std::string& absoluteDatabasePath, int plantCode);

// Runs the command; returns the exit status. Never overwrites an existing file.
int RunDemoCommand(const std::vector<std::string>& args, DateTime today, std::ostream& out,
                   std::ostream& err);

}  // namespace velmora::demo
