#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "startup/command_line.h"

namespace velmora {

// Each account keeps its last chosen category in its own file:
// <config dir>/velmora/<account>.txt, the config dir being $XDG_CONFIG_HOME or ~/.config.
// The first line is the last code; each further line "code,start,end" is the period last used
// with that category, so a file of an older version (one line) still reads.
std::filesystem::path RememberedCategoryFile(const std::string& account);

// The first field of the file; "" when there is no file.
std::string ReadRememberedCategory(const std::filesystem::path& file);

// The period last used with each category, by code; empty when there is no file.
std::map<std::string, PeriodPrefill> ReadRememberedPeriods(const std::filesystem::path& file);

// Makes `code` the last category, and `period` (when given) the one last used with it; the other
// categories' periods stay. Creates the folder. std::runtime_error naming the file when it cannot
// be written.
void WriteRememberedCategory(const std::filesystem::path& file, const std::string& code,
                             const PeriodPrefill& period = {});

}  // namespace velmora
