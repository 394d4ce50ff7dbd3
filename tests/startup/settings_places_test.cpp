#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "startup/remembered_category.h"
#include "startup/settings_file.h"
#include "startup/user_dirs.h"
#include "support/test_db.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// Sets (or, with nullopt, removes) an environment variable and restores it at the end.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedVariable() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "/data/plan.db,3\n";
}

TEST(SettingsPlaces, BesideTheExecutableWinsElseTheUsersConfigFolder) {
  test::TempDir root;
  const fs::path exe = root.path() / "bin";
  const fs::path home = root.path() / "home";
  const fs::path xdg = root.path() / "xdg";
  const fs::path beside = exe / "velmora.ini";
  const fs::path inXdg = xdg / "velmora" / "velmora.ini";
  const fs::path inHome = home / ".config" / "velmora" / "velmora.ini";
  enum Beside { kNone, kFile, kDanglingLink };
  struct Case {
    const char* what;
    Beside besideFile;
    std::optional<std::string> xdgConfigHome;
    bool userFile;
    std::optional<fs::path> found;
  };
  const std::vector<Case> cases = {
      {"beside and user: beside", kFile, xdg.string(), true, beside},
      {"only beside", kFile, xdg.string(), false, beside},
      {"a broken link beside is still the one to report", kDanglingLink, xdg.string(), true,
       beside},
      {"only the user's, XDG_CONFIG_HOME set", kNone, xdg.string(), true, inXdg},
      {"XDG_CONFIG_HOME unset: ~/.config", kNone, std::nullopt, true, inHome},
      {"XDG_CONFIG_HOME empty: ~/.config", kNone, "", true, inHome},
      {"XDG_CONFIG_HOME relative is ignored", kNone, "relative/conf", true, inHome},
      {"none anywhere", kNone, xdg.string(), false, std::nullopt},
  };
  const ScopedVariable homeVariable("HOME", home.string());
  for (const Case& c : cases) {
    fs::remove_all(exe);
    fs::remove_all(home);
    fs::remove_all(xdg);
    fs::create_directories(exe);
    if (c.besideFile == kFile) Touch(beside);
    if (c.besideFile == kDanglingLink) fs::create_symlink(exe / "gone.ini", beside);
    const ScopedVariable config("XDG_CONFIG_HOME", c.xdgConfigHome);
    const SettingsPlaces places = SettingsPlaces::For(exe);
    if (c.userFile) Touch(places.User);
    EXPECT_EQ(c.found, places.Find()) << c.what;
  }
}

TEST(SettingsPlaces, NoFileInEitherPlaceNamesBoth) {
  test::TempDir root;
  const SettingsPlaces places = SettingsPlaces::For(root.path() / "bin", root.path() / "conf");
  EXPECT_EQ(root.path() / "conf" / "velmora.ini", places.User);
  try {
    ReadSettings(places);
    FAIL() << "no error";
  } catch (const SettingsError& e) {
    EXPECT_THAT(e.what(), HasSubstr("設定ファイルがありません"));
    EXPECT_THAT(e.what(), HasSubstr(places.BesideExecutable.string()));
    EXPECT_THAT(e.what(), HasSubstr(places.User.string()));
  }
  Touch(places.User);
  EXPECT_EQ(3, ReadSettings(places).PlantCode);
}

TEST(UserDirs, FollowTheBaseDirectoryRules) {
  test::TempDir root;
  const fs::path home = root.path() / "home";
  const ScopedVariable homeVariable("HOME", home.string());
  {
    const ScopedVariable data("XDG_DATA_HOME", std::nullopt);
    const ScopedVariable config("XDG_CONFIG_HOME", (root.path() / "c").string());
    EXPECT_EQ(home / ".local" / "share" / "velmora", VelmoraDataDir());
    // The remembered category shares the settings' folder.
    EXPECT_EQ(root.path() / "c" / "velmora" / "someone.txt", RememberedCategoryFile("someone"));
  }
  for (const char* relative : {"data", ""}) {
    const ScopedVariable data("XDG_DATA_HOME", relative);
    EXPECT_EQ(home / ".local" / "share" / "velmora", VelmoraDataDir()) << relative;
  }
  {
    const ScopedVariable data("XDG_DATA_HOME", (root.path() / "d").string());
    EXPECT_EQ(root.path() / "d" / "velmora", VelmoraDataDir());
  }
  // Without HOME the account's home folder is used, never a folder relative to wherever the
  // program was started.
  const ScopedVariable noHome("HOME", std::nullopt);
  const ScopedVariable config("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_TRUE(VelmoraConfigDir().is_absolute()) << VelmoraConfigDir();
}

}  // namespace
}  // namespace velmora
