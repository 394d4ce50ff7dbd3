// The window's toolkit sets the C locale from the environment; numbers in files, the database
// and the exports must read and write the same under any of them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <string>

#include "common/errors.h"
#include "common/format.h"
#include "common/numeric.h"
#include "support/test_db.h"

namespace velmora {
namespace {

// Switches the whole process to a locale whose decimal point is a comma, as German has. The
// locale is compiled into a scratch directory, so the test needs no generated system locales.
class CommaLocale {
 public:
  CommaLocale() {
    std::ofstream(dir_.File("comma.src")) << "LC_NUMERIC\n"
                                             "decimal_point \",\"\n"
                                             "thousands_sep \".\"\n"
                                             "grouping 3;3\n"
                                             "END LC_NUMERIC\n";
    const std::string command = "localedef -c -i '" + dir_.File("comma.src") + "' '" +
                                dir_.File("comma") + "' >/dev/null 2>&1";
    std::system(command.c_str());  // warns (non-zero) about the categories it copies
    setenv("LOCPATH", dir_.path().c_str(), 1);
    active_ = std::setlocale(LC_ALL, "comma") != nullptr;
  }
  ~CommaLocale() {
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
  }
  bool Active() const { return active_; }

 private:
  test::TempDir dir_;
  bool active_ = false;
};

TEST(LocaleIndependence, NumbersReadAndWriteWithAPointUnderACommaLocale) {
  CommaLocale locale;
  if (!locale.Active()) GTEST_SKIP() << "localedef could not build a test locale";
  ASSERT_EQ(0.5, std::strtod("0,5", nullptr)) << "the locale is really in force";

  EXPECT_EQ(61199.6, Val("61199.6"));
  EXPECT_EQ(-0.25, Val(" -0.25kg"));
  EXPECT_EQ(61199, Val("61199,6"));
  EXPECT_TRUE(IsNumeric("61199.6"));
  EXPECT_EQ("061200", FormatDigits("61199.6", "000000"));
  EXPECT_EQ("2024/12/06", FormatDateTime(DateTime::FromDate(2024, 12, 6), "yyyy/mm/dd"));
  try {
    ToInt16(40000.5);
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_THAT(e.what(), ::testing::HasSubstr("40000.5 "));
  }
}

}  // namespace
}  // namespace velmora
