#pragma once

#include <string>
#include <string_view>

namespace velmora {

// A cell as a spreadsheet may safely read it. A text starting with = + - @, a tab or a carriage
// return would be taken for a formula there, so it gets a leading single quote, which
// spreadsheets read as "text follows". Numbers as the files write them (-5, -0.25, 1e-05) stay
// as they are: they are values, not formulas.
std::string SpreadsheetSafe(std::string_view cell);

}  // namespace velmora
