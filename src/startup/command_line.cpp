#include "startup/command_line.h"

#include "common/date_text.h"
#include "common/text.h"

namespace velmora {

std::string JoinArguments(const std::vector<std::string>& args) {
  std::string joined;
  for (const std::string& arg : args) {
    if (&arg != &args.front()) joined += ' ';
    joined += arg;
  }
  return joined;
}

bool ForcesCategory(std::string_view commandLine) {
  return commandLine.find(' ') != std::string_view::npos;
}

std::string_view ForcedCategoryText(std::string_view commandLine) {
  const std::size_t blank = commandLine.find(' ');
  return blank == std::string_view::npos ? std::string_view() : commandLine.substr(blank);
}

std::optional<PeriodPrefill> PeriodFromCommandLine(std::string_view commandLine) {
  const std::optional<DateTime> start = ParseYmd(Left(commandLine, 8));
  if (!start) return std::nullopt;
  return PeriodPrefill{FormatSlashDate(*start), FormatSlashDate(start->AddMonths(1))};
}

std::string RestartCommandLine(std::string_view commandLine) {
  const std::size_t blank = commandLine.find(' ');
  if (blank == std::string_view::npos) return std::string(commandLine);
  return Trim(commandLine.substr(0, blank));
}

}  // namespace velmora
