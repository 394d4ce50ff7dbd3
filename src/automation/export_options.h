#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/datetime.h"

namespace velmora {

// A headless run as given on the command line.
struct ExportOptions {
  enum class Kind { Csv, Png, Pdf, Script };
  Kind kind = Kind::Csv;
  std::string target;  // the directory of the CSV files, the PNG or PDF file, or the script file
  DateTime from;
  DateTime to;
  std::string category;  // decimal digits, as the selection would publish it
  int mode = 3;  // display mode of the PNG or PDF: 1 day, 2 three days, 3 week, 4 four weeks
  std::string page = "A4";  // paper of the PDF: A4 or A3, landscape
  bool inquiry = false;     // a script run in the inquiry mode: nothing can be saved
};

// Parses "--export-csv DIR --from yyyymmdd --to yyyymmdd --category N" and
// "--export-png FILE --from yyyymmdd --to yyyymmdd --category N [--mode 1|2|3|4]" and
// "--export-pdf FILE --from yyyymmdd --to yyyymmdd --category N [--mode 1|2|3|4] [--page A4|A3]"
// and
// "--script FILE --from yyyymmdd --to yyyymmdd --category N [--inquiry]".
// On a bad argument returns nothing and sets `error` to what is wrong.
std::optional<ExportOptions> ParseExportOptions(const std::vector<std::string>& args,
                                                std::string& error);

// The usage of every command line, printed by --help and with a refused argument.
extern const char* const kUsage;

}  // namespace velmora
