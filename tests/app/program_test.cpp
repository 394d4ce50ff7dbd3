#include "app/program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <fstream>

#include "common/errors.h"
#include "dialogs/kbun_select.h"
#include "program_fixture.h"
#include "qt_test_support.h"
#include "startup/current_user.h"
#include "startup/remembered_category.h"
#include "startup/settings_file.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class ProgramTest : public test::ProgramFixture {};

TEST_F(ProgramTest, DateAndCategoryRunStraightToTheMainWindow) {
  CloseMainWindowWhenShown();
  EXPECT_EQ(0, Run({"20240410", "03"}));
  EXPECT_EQ("生産計画支援システム", caption_);
  EXPECT_FALSE(splashLeftOpen_) << "the main window's load closes the splash";
  EXPECT_EQ("3", ReadRememberedCategory(Remembered()));
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(ProgramTest, InquiryModeWaitsForTheSelectionAndMarksTheCaption) {
  WriteRememberedCategory(Remembered(), "1");
  test::WhenShown<KBunSelect>([this](KBunSelect& dialog) {
    EXPECT_TRUE(dialog.ComboKBun->item(0)->isSelected());
    EXPECT_EQ(dialog.strYYMMDD, dialog.focusWidget()) << "a date is typed first";
    EXPECT_EQ("", dialog.strYYMMDD->text().toStdString());
    dialog.strYYMMDD->setText("2024/04/01");
    dialog.endYYMMDD->setText("2024/04/30");
    test::PressEnter(dialog.ComboKBun);
    CloseMainWindowWhenShown();
  });
  EXPECT_EQ(0, Run({"1"}));
  EXPECT_EQ("生産計画支援システム(照会モード)", caption_);
}

TEST_F(ProgramTest, ClosingTheSelectionWithoutAChoiceAsksBeforeTheProgramEnds) {
  messages_.Answer(Answer::No).Answer(Answer::Yes);
  test::WhenShown<KBunSelect>([](KBunSelect& dialog) {
    dialog.close();
    EXPECT_TRUE(dialog.isVisible()) << "いいえ keeps the selection open";
    dialog.close();
  });
  EXPECT_EQ(0, Run({}));
  EXPECT_EQ(std::vector<std::string>(2, "終了しますか？"), messages_.texts());
  EXPECT_FALSE(std::filesystem::exists(Remembered()));
}

TEST_F(ProgramTest, TheNextStartShowsTheCategoryAndPeriodLastUsed) {
  CloseMainWindowWhenShown();
  ASSERT_EQ(0, Run({"20240410", "03"}));
  test::WhenShown<KBunSelect>([](KBunSelect& dialog) {
    EXPECT_TRUE(dialog.ComboKBun->item(1)->isSelected());
    EXPECT_EQ("2024/04/10", dialog.strYYMMDD->text().toStdString());
    EXPECT_EQ("2024/05/10", dialog.endYYMMDD->text().toStdString());
    dialog.cmdOK->click();
  });
  CloseMainWindowWhenShown();
  EXPECT_EQ(0, Run({}));
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(ProgramTest, SecondCopyIsRefusedWithStatusOne) {
  InstanceGuard running;
  ASSERT_TRUE(running.TryAcquire(exeDir_.path() / "velmora.lock"));
  EXPECT_EQ(1, Run({"20240410", "03"}));
  ASSERT_EQ(1u, messages_.shown().size());
  EXPECT_EQ("二重起動", messages_.shown()[0].title);
}

TEST_F(ProgramTest, BadInputIsReportedAndEndsWithStatusOne) {
  const std::string settings = (exeDir_.path() / kSettingsFileName).string();
  const std::string missingDb = exeDir_.File("missing.db");
  const std::string notDb = exeDir_.File("notes.txt");
  std::ofstream(notDb) << "plain text\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", settings},  // the settings file is empty
      {missingDb + "\n12", missingDb},
      {notDb + "\n12", notDb},
      {db_.path() + "\nabc", settings},
  };
  for (const auto& [content, named] : cases) {
    test::ScriptedMessages messages;
    WriteSettings(content);
    EXPECT_EQ(1, Run({"20240410", "03"})) << content;
    ASSERT_EQ(1u, messages.shown().size()) << content;
    EXPECT_EQ(Tone::Critical, messages.shown()[0].tone);
    EXPECT_THAT(messages.shown()[0].text, HasSubstr(named));
  }
  EXPECT_FALSE(std::filesystem::exists(missingDb)) << "opening never creates a database";
  std::ifstream in(notDb);
  EXPECT_EQ("plain text\n", std::string(std::istreambuf_iterator<char>(in), {}));
  std::filesystem::remove(exeDir_.path() / kSettingsFileName);
  EXPECT_EQ(1, Run({}));
}

TEST_F(ProgramTest, DatabaseErrorDuringTheSelectionIsReported) {
  db_.connection().ExecuteScript("DROP TABLE 工程分類マスタ");
  EXPECT_EQ(1, Run({"20240410", "03"}));
  ASSERT_EQ(1u, messages_.shown().size());
  // The engine's text goes to standard error; the user reads what failed and what to check.
  EXPECT_THAT(messages_.shown()[0].text, HasSubstr("データベースの処理に失敗しました。"));
  EXPECT_THAT(messages_.shown()[0].text, Not(HasSubstr("no such table")));
}

TEST_F(ProgramTest, RestartAsksForTheSelectionAgainWithTheDateAlone) {
  AppState state;
  StartUp(state, Environment({"20240410", "03"}), test::TestQuestions());
  Program program(state, test::TestApp(), [] { return DateTime::FromDate(2024, 4, 10); });
  program.ShowSelectionAndMain();
  QPointer<MainForm> first = program.Main();
  ASSERT_TRUE(first && first->isVisible());

  test::WhenShown<KBunSelect>([](KBunSelect& dialog) {
    EXPECT_EQ("2024/04/10", dialog.strYYMMDD->text().toStdString());
    dialog.ComboKBun->setCurrentRow(0);
    test::PressEnter(dialog.ComboKBun);
  });
  program.Restart();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  EXPECT_EQ("20240410", state.Data.CommandLine());
  EXPECT_EQ("1", state.Data.CategoryCode);
  EXPECT_EQ(0, state.ReloadPending) << "cleared by the new main window's load";
  EXPECT_TRUE(first.isNull()) << "the old main window was unloaded";
  ASSERT_NE(nullptr, program.Main());
  EXPECT_TRUE(program.Main()->isVisible());
  EXPECT_TRUE(messages_.shown().empty());
}

int EndStatus(VelmoraApplication& app) {
  try {
    app.ThrowIfEnded();
  } catch (const ProgramEnd& end) {
    return end.status;
  }
  return -1;
}

TEST(VelmoraApplication, QtsOwnTextsAreJapanese) {
  test::TestApp();
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_EQ("キャンセル",
            buttons.button(QDialogButtonBox::Cancel)->text().remove('&').toStdString());
  QLineEdit box;
  std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
  QStringList texts;
  for (const QAction* action : menu->actions()) texts << action->text();
  EXPECT_TRUE(texts.join(' ').contains(QStringLiteral("コピー"))) << texts.join(' ').toStdString();
}

TEST(VelmoraApplication, FailureInAHandlerIsReportedAndStopsEveryLoop) {
  VelmoraApplication& app = test::TestApp();
  test::ScriptedMessages messages;
  QDialog dialog;
  QTimer::singleShot(0, [&dialog] { dialog.exec(); });
  // Fires inside the modal dialog's loop.
  QTimer::singleShot(20, [] { throw DatabaseError("lost connection"); });
  EXPECT_EQ(1, app.exec());
  ASSERT_EQ(1u, messages.shown().size());
  EXPECT_THAT(messages.shown()[0].text, HasSubstr("データベースの処理に失敗しました。"));
  EXPECT_EQ(Tone::Critical, messages.shown()[0].tone);
  EXPECT_EQ(1, EndStatus(app));
  EXPECT_EQ(-1, EndStatus(app)) << "ends once";
}

TEST(VelmoraApplication, ProgramEndFromAHandlerIsSilent) {
  VelmoraApplication& app = test::TestApp();
  test::ScriptedMessages messages;
  QTimer::singleShot(0, [] { throw ProgramEnd{0}; });
  app.exec();
  EXPECT_EQ(0, EndStatus(app));
  EXPECT_TRUE(messages.shown().empty());
}

}  // namespace
}  // namespace velmora
