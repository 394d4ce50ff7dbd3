// The command line answered before any window: the usage, the version and a refused option,
// with and without a display.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_program.h"

namespace velmora::test {
namespace {

// Qt aborts when it cannot reach the display it was told to use.
const std::vector<std::string> kNoDisplay = {"QT_QPA_PLATFORM=xcb", "DISPLAY=", "WAYLAND_DISPLAY="};
const std::vector<std::string> kDisplay = {"QT_QPA_PLATFORM=offscreen"};

// The options the README's command-line table names.
std::set<std::string> ReadmeOptions() {
  std::ifstream readme(std::string(VELMORA_SCRIPTS_DIR) + "/../../../README.md");
  std::set<std::string> options;
  bool inTable = false;
  for (std::string line; std::getline(readme, line);) {
    if (line.rfind("## Command line", 0) == 0) inTable = true;
    if (inTable && line.rfind("### ", 0) == 0) break;
    if (!inTable || line.rfind("| `velmora", 0) != 0) continue;
    const std::regex option("--[a-z-]+");
    for (std::sregex_iterator it(line.begin(), line.end(), option), end; it != end; ++it) {
      options.insert(it->str());
    }
  }
  return options;
}

TEST(CommandLine, HelpAndVersionNeedNoDisplayAndOpenNoWindow) {
  const std::set<std::string> options = ReadmeOptions();
  ASSERT_TRUE(options.count("--export-pdf")) << "the README's table was not found";
  ASSERT_TRUE(options.count("--help") && options.count("--version"));
  for (const auto& environment : {kNoDisplay, kDisplay}) {
    const ProgramRun help = RunProgram(VELMORA_BINARY, {"--help"}, environment);
    EXPECT_EQ(0, help.status) << help.err;
    EXPECT_EQ("", help.err);
    for (const std::string& option : options) {
      EXPECT_NE(std::string::npos, help.out.find(option)) << option << " missing from --help";
    }
    EXPECT_NE(std::string::npos, help.out.find("velmora yyyymmdd [N]"));

    const ProgramRun version = RunProgram(VELMORA_BINARY, {"--version"}, environment);
    EXPECT_EQ(0, version.status) << version.err;
    EXPECT_TRUE(std::regex_match(version.out, std::regex("velmora [0-9]+\\.[0-9]+.*\n")))
        << version.out;
  }
}

TEST(CommandLine, AnUnknownOptionIsRefusedWithTheUsage) {
  for (const auto& environment : {kNoDisplay, kDisplay}) {
    const ProgramRun run = RunProgram(VELMORA_BINARY, {"20240410", "--bogus"}, environment);
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("unknown option --bogus")) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("usage: velmora")) << run.err;
    EXPECT_EQ("", run.out);
  }
}

}  // namespace
}  // namespace velmora::test
