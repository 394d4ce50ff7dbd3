#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The command line as one text: the arguments joined with single blanks, so that
// `velmora 20240410 3` gives "20240410 3". The text is compared as it stands, never trimmed.
std::string JoinArguments(const std::vector<std::string>& args);

// "date category": the category is chosen from the command line and the selection closes at once.
bool ForcesCategory(std::string_view commandLine);
// The text from the first blank on (" 3" for "20240410 3"); its numeric value is the category.
std::string_view ForcedCategoryText(std::string_view commandLine);

// The period the command line pre-fills: its first eight characters as "yyyy/mm/dd" and one
// month later. Nothing when they are not a date ("1" of the inquiry mode, a typing error).
struct PeriodPrefill {
  std::string Start;
  std::string End;
};
std::optional<PeriodPrefill> PeriodFromCommandLine(std::string_view commandLine);

// What a command line asks for before any window opens, in this order: --help (or -h) anywhere
// the usage, --version the version. An option (a leading "-") that is neither the program's nor
// one of Qt's own (-platform, -style, ...) is unknown; the exports' options are theirs to check.
enum class CommandLineRequest { Run, Help, Version, Unknown };
CommandLineRequest RequestOf(const std::vector<std::string>& args, std::string* unknown = nullptr);

// The command line after a restart: the date alone, so the selection waits for the user.
std::string RestartCommandLine(std::string_view commandLine);

}  // namespace velmora
