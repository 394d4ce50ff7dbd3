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

// The command line after a restart: the date alone, so the selection waits for the user.
std::string RestartCommandLine(std::string_view commandLine);

}  // namespace velmora
