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

TEST(CommandLine, HelpVersionAndUnknownOptionsAreAnsweredBeforeAnyWindow) {
  using R = CommandLineRequest;
  const struct {
    std::vector<std::string> args;
    R request;
    const char* unknown;
  } cases[] = {
      {{}, R::Run, ""},
      {{"1"}, R::Run, ""},
      {{"20240410", "3"}, R::Run, ""},
      {{"--help"}, R::Help, ""},
      {{"20240410", "-h"}, R::Help, ""},
      {{"--version", "--help"}, R::Help, ""},
      {{"--version"}, R::Version, ""},
      {{"--bogus", "--version"}, R::Version, ""},
      {{"--bogus"}, R::Unknown, "--bogus"},
      {{"20240410", "-x"}, R::Unknown, "-x"},
      {{"--export-csv", "dir", "--mode", "2"}, R::Run, ""},  // the export checks its own
      {{"-platform", "offscreen", "20240410"}, R::Run, ""},
      {{"--style=fusion", "-reverse"}, R::Run, ""},
      {{"-reverse=1"}, R::Unknown, "-reverse=1"},
  };
  for (const auto& c : cases) {
    std::string unknown;
    EXPECT_EQ(c.request, RequestOf(c.args, &unknown)) << JoinArguments(c.args);
    EXPECT_EQ(c.unknown, unknown) << JoinArguments(c.args);
  }
}

TEST(CommandLine, RestartKeepsTheDateAlone) {
  EXPECT_EQ("20240410", RestartCommandLine("20240410 3"));
  EXPECT_EQ("20240410", RestartCommandLine("20240410"));
  EXPECT_EQ("1", RestartCommandLine("1"));
  EXPECT_EQ("", RestartCommandLine(""));
}

}  // namespace
}  // namespace velmora
