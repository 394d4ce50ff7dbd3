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

namespace {

// Qt's own command-line options, which QApplication takes out of the arguments: those that
// take a value, and flags.
constexpr std::string_view kQtOptionsWithValue[] = {"platform",
                                                    "platformpluginpath",
                                                    "platformtheme",
                                                    "plugin",
                                                    "qwindowgeometry",
                                                    "geometry",
                                                    "qwindowicon",
                                                    "icon",
                                                    "qwindowtitle",
                                                    "title",
                                                    "session",
                                                    "display",
                                                    "name",
                                                    "style",
                                                    "stylesheet",
                                                    "qmljsdebugger"};
constexpr std::string_view kQtFlags[] = {"reverse", "widgetcount", "nograb",
                                         "dograb",  "sync",        "testability"};

bool IsExportOption(std::string_view arg) {
  return arg == "--export-csv" || arg == "--export-png" || arg == "--export-pdf" ||
         arg == "--script";
}

}  // namespace

CommandLineRequest RequestOf(const std::vector<std::string>& args, std::string* unknown) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") return CommandLineRequest::Help;
  }
  for (const std::string& arg : args) {
    if (arg == "--version") return CommandLineRequest::Version;
  }
  if (!args.empty() && IsExportOption(args[0])) return CommandLineRequest::Run;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg.size() < 2 || arg[0] != '-') continue;
    // Qt reads "--style" as "-style" and "-style=fusion" as "-style fusion".
    std::string_view name = arg.substr(arg[1] == '-' ? 2 : 1);
    const std::size_t equals = name.find('=');
    const bool valueAttached = equals != std::string_view::npos;
    name = name.substr(0, equals);
    bool known = false;
    for (std::string_view option : kQtOptionsWithValue) {
      if (name == option) {
        known = true;
        if (!valueAttached) ++i;
      }
    }
    for (std::string_view flag : kQtFlags) known = known || (name == flag && !valueAttached);
    if (!known) {
      if (unknown != nullptr) *unknown = std::string(arg);
      return CommandLineRequest::Unknown;
    }
  }
  return CommandLineRequest::Run;
}

std::string RestartCommandLine(std::string_view commandLine) {
  const std::size_t blank = commandLine.find(' ');
  if (blank == std::string_view::npos) return std::string(commandLine);
  return Trim(commandLine.substr(0, blank));
}

}  // namespace velmora
