#include "automation/formula_guard.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "automation/csv_writer.h"

namespace velmora {
namespace {

struct Case {
  std::string field;
  std::string written;  // as it appears in the record
};

TEST(SpreadsheetSafe, FormulaStartsAreQuotedAndNumbersLeftAlone) {
  const std::vector<Case> cases = {
      {"=SUM(A1:A9)", "'=SUM(A1:A9)"},
      {"+81-3-1234", "'+81-3-1234"},
      {"-2+3", "'-2+3"},
      {"@cmd", "'@cmd"},
      {"\tx", "'\tx"},
      {"\r=1", "\"'\r=1\""},  // then quoted for its line break
      {"=HYPERLINK(\"x\",\"y\")", "\"'=HYPERLINK(\"\"x\"\",\"\"y\"\")\""},
      {"-", "'-"},
      {"--5", "'--5"},
      {"-5.", "'-5."},
      {"-e5", "'-e5"},
      {"-5", "-5"},
      {"-0.25", "-0.25"},
      {"-1.5e-05", "-1.5e-05"},
      {"2024/04/10", "2024/04/10"},
      {"a=b", "a=b"},
      {" =1", " =1"},
      {"", ""},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    CsvWriter(out).Record({c.field});
    EXPECT_EQ(c.written + "\r\n", out.str()) << c.field;
  }
}

}  // namespace
}  // namespace velmora
