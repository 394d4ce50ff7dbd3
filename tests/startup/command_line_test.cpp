#include "startup/command_line.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(CommandLine, ArgumentsAreJoinedWithSingleBlanks) {
  EXPECT_EQ("", JoinArguments({}));
  EXPECT_EQ("1", JoinArguments({"1"}));
  EXPECT_EQ("20240410 3", JoinArguments({"20240410", "3"}));
}

TEST(CommandLine, ABlankForcesTheCategoryAfterIt) {
  EXPECT_FALSE(ForcesCategory(""));
  EXPECT_FALSE(ForcesCategory("1"));
  EXPECT_FALSE(ForcesCategory("20240410"));
  EXPECT_TRUE(ForcesCategory("20240410 3"));
  EXPECT_EQ(" 3", ForcedCategoryText("20240410 3"));
  EXPECT_EQ(" 03 x", ForcedCategoryText("20240410 03 x"));
}

TEST(CommandLine, PeriodIsTheDateAndOneMonthLater) {
  const auto period = PeriodFromCommandLine("20240410 3");
  ASSERT_TRUE(period);
  EXPECT_EQ("2024/04/10", period->Start);
  EXPECT_EQ("2024/05/10", period->End);
  EXPECT_EQ("2024/02/29", PeriodFromCommandLine("20240131")->End) << "end of a shorter month";
  EXPECT_EQ("2025/01/15", PeriodFromCommandLine("20241215")->End);
}

TEST(CommandLine, NoPeriodFromATextThatIsNoDate) {
  EXPECT_FALSE(PeriodFromCommandLine("1")) << "the inquiry mode";
  EXPECT_FALSE(PeriodFromCommandLine(""));
  EXPECT_FALSE(PeriodFromCommandLine("20241340"));
  EXPECT_FALSE(PeriodFromCommandLine("2024041 3"));
}

TEST(CommandLine, RestartKeepsTheDateAlone) {
  EXPECT_EQ("20240410", RestartCommandLine("20240410 3"));
  EXPECT_EQ("20240410", RestartCommandLine("20240410"));
  EXPECT_EQ("1", RestartCommandLine("1"));
  EXPECT_EQ("", RestartCommandLine(""));
}

}  // namespace
}  // namespace velmora
