#include "automation/export_options.h"

#include "common/date_text.h"

namespace velmora {

const char* const kUsage =
    "usage: velmora [1]\n"
    "       velmora yyyymmdd [N]\n"
    "       velmora --export-csv DIR --from yyyymmdd --to yyyymmdd --category N\n"
    "       velmora --export-png FILE --from yyyymmdd --to yyyymmdd --category N [--mode "
    "1|2|3|4]\n"
    "       velmora --export-pdf FILE --from yyyymmdd --to yyyymmdd --category N [--mode "
    "1|2|3|4] [--page A4|A3]\n"
    "       velmora --script FILE --from yyyymmdd --to yyyymmdd --category N [--inquiry]\n"
    "       velmora --help | --version\n"
    "\n"
    "  velmora             the selection of a category and a period, then the chart\n"
    "  velmora 1           the inquiry mode: nothing can be saved\n"
    "  velmora yyyymmdd    the period pre-filled from that day to one month later\n"
    "  velmora yyyymmdd N  as above with category N, accepted at once\n"
    "  --export-csv DIR    write plans, rows, calendar, bars, members, conflicts and load CSV\n"
    "  --export-png FILE   the whole chart of a display mode (1 day, 2 three days, 3 week,\n"
    "                      4 four weeks; default 3) as a PNG\n"
    "  --export-pdf FILE   the same on landscape A4 or A3 pages of a PDF, as printed\n"
    "  --script FILE       run the gestures of FILE (-: standard input) on the chart\n"
    "  --inquiry           a script that cannot save\n"
    "  --help              this text\n"
    "  --version           the program's version\n";

namespace {

bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The options that must all be given.
struct Given {
  bool from = false;
  bool to = false;
  bool category = false;
};

// One option with its value into `options`; false with `error` set when it cannot be taken.
bool TakeOption(const std::string& name, const std::string& value, ExportOptions& options,
                Given& given, std::string& error) {
  if (name == "--from" || name == "--to") {
    const auto date = ParseYmd(value);
    if (!date) {
      error = name + " " + value + " is not a date yyyymmdd";
      return false;
    }
    (name == "--from" ? options.from : options.to) = *date;
    (name == "--from" ? given.from : given.to) = true;
  } else if (name == "--category") {
    if (!AllDigits(value) || value.size() > 4) {
      error = "--category " + value + " is not a category number";
      return false;
    }
    options.category = std::to_string(std::stoi(value));  // the selection publishes "3" for "03"
    given.category = true;
  } else if (name == "--mode" && (options.kind == ExportOptions::Kind::Png ||
                                  options.kind == ExportOptions::Kind::Pdf)) {
    if (value.size() != 1 || value[0] < '1' || value[0] > '4') {
      error = "--mode " + value + " is not one of 1, 2, 3, 4";
      return false;
    }
    options.mode = value[0] - '0';
  } else if (name == "--page" && options.kind == ExportOptions::Kind::Pdf) {
    if (value != "A4" && value != "A3") {
      error = "--page " + value + " is not one of A4, A3";
      return false;
    }
    options.page = value;
  } else {
    error = "unknown argument " + name;
    return false;
  }
  return true;
}

}  // namespace

std::optional<ExportOptions> ParseExportOptions(const std::vector<std::string>& args,
                                                std::string& error) {
  ExportOptions options;
  if (args.size() < 2 || (args[0] != "--export-csv" && args[0] != "--export-png" &&
                          args[0] != "--export-pdf" && args[0] != "--script")) {
    error =
        "a headless run needs --export-csv DIR, --export-png FILE, --export-pdf FILE or --script "
        "FILE";
    return std::nullopt;
  }
  options.kind = args[0] == "--export-csv"   ? ExportOptions::Kind::Csv
                 : args[0] == "--export-png" ? ExportOptions::Kind::Png
                 : args[0] == "--export-pdf" ? ExportOptions::Kind::Pdf
                                             : ExportOptions::Kind::Script;
  options.target = args[1];
  if (options.target.empty() || options.target.rfind("--", 0) == 0) {
    error =
        args[0] + " needs a " + (options.kind == ExportOptions::Kind::Csv ? "directory" : "file");
    return std::nullopt;
  }

  Given given;
  for (std::size_t i = 2; i < args.size(); i += 2) {
    const std::string& name = args[i];
    if (name == "--inquiry" && options.kind == ExportOptions::Kind::Script) {
      options.inquiry = true;
      --i;  // a flag without a value
      continue;
    }
    if (i + 1 >= args.size()) {
      error = name + " needs a value";
      return std::nullopt;
    }
    if (!TakeOption(name, args[i + 1], options, given, error)) return std::nullopt;
  }
  if (!given.from || !given.to || !given.category) {
    error = "--from, --to and --category are all needed";
    return std::nullopt;
  }
  if (options.to < options.from) {
    error = "--to is before --from";
    return std::nullopt;
  }
  return options;
}

}  // namespace velmora
