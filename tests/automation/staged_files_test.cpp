#include "automation/staged_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "support/test_db.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> Names(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
  return names;
}

class StagedFilesTest : public ::testing::Test {
 protected:
  StagedFilesTest() { Write(dir / "a.csv", "old a"); }
  test::TempDir temp;
  fs::path dir = temp.path();
};

TEST_F(StagedFilesTest, CommitPutsEveryNewContentInPlace) {
  StagedFiles files;
  Write(files.Stage(dir / "a.csv"), "new a");
  Write(files.Stage(dir / "b.csv"), "new b");
  files.Commit();
  EXPECT_EQ("new a", Read(dir / "a.csv"));
  EXPECT_EQ("new b", Read(dir / "b.csv"));
  EXPECT_EQ((std::set<std::string>{"a.csv", "b.csv"}), Names(dir));
}

TEST_F(StagedFilesTest, AFailureLeavesEveryTargetAsItWasAndNoTemporaryFile) {
  fs::create_directory(dir / "c.csv");
  {
    StagedFiles files;
    Write(files.Stage(dir / "a.csv"), "new a");
    Write(files.Stage(dir / "b.csv"), "new b");
    Write(files.Stage(dir / "c.csv"), "new c");
    EXPECT_THROW(files.Commit(), fs::filesystem_error);
  }
  {
    StagedFiles files;  // the last one never written: its rename fails after the others
    Write(files.Stage(dir / "a.csv"), "new a");
    Write(files.Stage(dir / "b.csv"), "new b");
    files.Stage(dir / "d.csv");
    EXPECT_THROW(files.Commit(), fs::filesystem_error);
  }
  {
    StagedFiles files;  // abandoned before its commit
    Write(files.Stage(dir / "a.csv"), "new a");
  }
  EXPECT_EQ("old a", Read(dir / "a.csv"));
  EXPECT_EQ((std::set<std::string>{"a.csv", "c.csv"}), Names(dir));
}

}  // namespace
}  // namespace velmora
