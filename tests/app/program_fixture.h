#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/program.h"
#include "dialogs/scheduler_splash.h"
#include "qt_test_support.h"
#include "startup/current_user.h"
#include "startup/remembered_category.h"
#include "startup/settings_file.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora::test {

// The program from its settings file to the main window, on a small database, with the
// executable directory, the lock file and the config folder in a scratch directory.
class ProgramFixture : public ::testing::Test {
 protected:
  ProgramFixture() {
    TestApp();
    setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
    db_.Insert("工程分類マスタ", {{"工程分類コード", "01"}, {"工程分類名", "成形"}});
    db_.Insert("工程分類マスタ", {{"工程分類コード", "03"}, {"工程分類名", "組立"}});
    WriteSettings("\"" + db_.path() + "\",12\n");
  }
  ~ProgramFixture() override { unsetenv("XDG_CONFIG_HOME"); }

  void WriteSettings(const std::string& content) {
    std::ofstream(exeDir_.path() / kSettingsFileName, std::ios::binary) << content;
  }
  StartupEnvironment Environment(std::vector<std::string> args) {
    return {std::move(args), exeDir_.path(), exeDir_.path() / "velmora.lock"};
  }
  int Run(std::vector<std::string> args) {
    return RunVelmora(TestApp(), Environment(std::move(args)));
  }
  std::filesystem::path Remembered() { return RememberedCategoryFile(CurrentUserName()); }
  // Notes the main window's caption, then closes it as the user would.
  void CloseMainWindowWhenShown() {
    WhenShown<MainForm>([this](MainForm& main) {
      caption_ = main.windowTitle().toStdString();
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<SchedulerSplash*>(w) && w->isVisible()) splashLeftOpen_ = true;
      }
      main.close();
    });
  }

  ScriptedMessages messages_;
  TempDir exeDir_;
  TempDir config_;
  TestDb db_;
  std::string caption_;
  bool splashLeftOpen_ = false;
};

}  // namespace velmora::test
