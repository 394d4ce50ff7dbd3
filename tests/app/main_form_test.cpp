#include "app/main_form.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "app/side_panel.h"
#include "chart/display_mode.h"
#include "dialogs/kbun_select.h"
#include "program_fixture.h"
#include "ui/chart_view.h"

namespace velmora {
namespace {

// The main window on a plant of plant code 12 with one machine, its calendar and two plans.
class MainFormTest : public test::ProgramFixture {
 protected:
  MainFormTest() {
    db_.Insert("工程内容マスタ",
               {{"工程内容コード", "301"}, {"工程内容名", "組立"}, {"工程分類コード", "03"}});
    db_.Insert("品目マスタ", {{"品名コード", "AS2000-61C"}, {"品名＿品名仕様", "ユニット"}});
    db_.Insert("工程手順マスタ", {{"品名コード", "AS2000-61C"},
                                  {"順序", 1},
                                  {"生産工場コード", 12},
                                  {"工程内容コード", "301"}});
    db_.Insert("機械マスタ", {{"機械コード", "A01     "},
                              {"機械名", "組立ライン1"},
                              {"生産工場コード", 12},
                              {"工程分類コード", "03"}});
    for (int no : {1, 2}) {
      db_.Insert("手配情報", {{"手配番号", no},
                              {"生産計画番号", 0},
                              {"品名コード", "AS2000-61C"},
                              {"順序", 1},
                              {"生産工場コード", 12},
                              {"機械コード", "A01     "},
                              {"開始日", "20240411"},
                              {"納期", "20240411"},
                              {"GNT開始時刻", "080000"},
                              {"GNT終了時刻", "120000"},
                              {"GNT所要時間（分）", 240},
                              {"手配数", 100},
                              {"手配確定区分", "2"}});
    }
  }

  // Runs the program to its main window and hands the window to `check`.
  int RunWithMainForm(std::vector<std::string> args, std::function<void(MainForm&)> check) {
    test::WhenShown<MainForm>(std::move(check));
    return Run(std::move(args));
  }
};

TEST_F(MainFormTest, LoadShowsTheSelectionInWeekModeWithEveryBar) {
  const int status = RunWithMainForm({"20240410", "03"}, [](MainForm& main) {
    EXPECT_EQ("03 組立", main.KTbun->text().toStdString());
    EXPECT_EQ("１週間表示モード", main.modeCaption->text().toStdString());
    EXPECT_EQ("2024年4月10日", main.DayDispArea->text().toStdString());
    EXPECT_EQ("保存", main.saveButton->text().toStdString());
    EXPECT_FALSE(main.saveButton->isEnabled());
    EXPECT_EQ("終了", main.quitButton->text().toStdString());
    const chart::ChartModel& chart = main.Chart();
    ASSERT_GE(chart.PlanBar.size(), 4u);
    EXPECT_TRUE(chart.PlanBar[2].Visible);
    EXPECT_TRUE(chart.PlanBar[3].Visible);
    EXPECT_EQ("A01 組立ライン1", chart.MachineName[2]);
    main.quitButton->click();
  });
  EXPECT_EQ(0, status);
  EXPECT_TRUE(messages_.shown().empty()) << "nothing unsaved: no question";
}

TEST_F(MainFormTest, ModeButtonCyclesTheDisplayModes) {
  RunWithMainForm({"20240410", "03"}, [](MainForm& main) {
    main.modeButton->click();
    EXPECT_EQ("1ヶ月(４週間)表示モード", main.modeCaption->text().toStdString());
    main.modeButton->click();
    EXPECT_EQ("１日表示モード", main.modeCaption->text().toStdString());
    main.close();
  });
}

// The two plans of the plant run on one machine at once: the panel lists the clash, choosing it
// outlines both bars; the tip over a bar names the lot.
TEST_F(MainFormTest, PanelListsTheClashAndChoosingItOutlinesTheBars) {
  RunWithMainForm({"20240410", "03"}, [](MainForm& main) {
    main.PanelAction->trigger();
    SidePanel& panel = *main.Panel();
    ASSERT_TRUE(panel.isVisible());
    EXPECT_EQ("競合 (1)", panel.Tabs()->tabText(0).toStdString());
    EXPECT_EQ("未保存の変更 (0)", panel.Tabs()->tabText(1).toStdString());
    const QModelIndex line = panel.ClashList()->model()->index(0, 0);
    EXPECT_EQ("重複 A01  2 ⇔ 1  04/11 08:00～04/11 12:00", line.data().toString().toStdString());
    emit panel.ClashList()->clicked(line);
    EXPECT_EQ(2u, main.Chart().Highlighted.size());

    const chart::BarLabel& bar = main.Chart().PlanBar[2];
    const QString tip =
        main.Picture1()->TipFor({chart::ChartHit::Target::PlanBar, 2, bar.Left + 10, bar.Top + 10});
    EXPECT_TRUE(tip.contains("手配番号: ")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("機械: A01 組立ライン1")) << tip.toStdString();
    main.quitButton->click();
  });
}

// The panel opens as wide as its lines, and comes back as wide as the user left it, also in
// the next window.
TEST_F(MainFormTest, SidePanelShowsItsLinesWholeAndKeepsItsWidth) {
  for (const int round : {1, 2}) {
    RunWithMainForm({"20240410", "03"}, [round](MainForm& main) {
      main.resize(1900, 1000);
      main.PanelAction->trigger();
      QApplication::processEvents();
      SidePanel& panel = *main.Panel();
      if (round == 1) {
        const QString line = panel.ClashList()->model()->index(0, 0).data().toString();
        EXPECT_GE(panel.ClashList()->viewport()->width(),
                  panel.ClashList()->fontMetrics().horizontalAdvance(line) + 8);
        main.resizeDocks({&panel}, {640}, Qt::Horizontal);
        QApplication::processEvents();
        ASSERT_EQ(640, panel.width()) << "the edge widens it";
        main.PanelAction->trigger();  // hidden
        main.PanelAction->trigger();
        QApplication::processEvents();
      }
      EXPECT_EQ(640, panel.width());
      main.quitButton->click();
    });
  }
}

TEST_F(MainFormTest, UnsavedChangesAreConfirmedWithNoAsTheDefault) {
  messages_.Answer(Answer::No).Answer(Answer::Yes);
  bool stayedOpen = false;
  const int status = RunWithMainForm({"20240410", "03"}, [&stayedOpen](MainForm& main) {
    main.Session().Data().Edits.MarkEdited();  // as an edit leaves it
    main.ShowChartState();
    ASSERT_TRUE(main.saveButton->isEnabled());
    main.close();
    stayedOpen = main.isVisible();
    main.close();
  });
  EXPECT_TRUE(stayedOpen) << "No keeps the window";
  EXPECT_EQ(0, status);
  ASSERT_EQ(2u, messages_.shown().size());
  EXPECT_EQ("変更を保存せずに終了しますか？", messages_.shown()[0].text);
  EXPECT_TRUE(messages_.shown()[0].question);
  EXPECT_EQ(Answer::No, messages_.shown()[0].byDefault);
  EXPECT_EQ("", messages_.shown()[0].title);
}

TEST_F(MainFormTest, InquiryModeNeverEnablesSavingSoClosingNeverAsks) {
  WriteRememberedCategory(Remembered(), "3");
  test::WhenShown<KBunSelect>([this](KBunSelect& dialog) {
    dialog.strYYMMDD->setText("2024/04/10");
    dialog.endYYMMDD->setText("2024/04/30");
    test::PressEnter(dialog.ComboKBun);
    test::WhenShown<MainForm>([](MainForm& main) {
      EXPECT_EQ("生産計画支援システム(照会モード)", main.windowTitle().toStdString());
      main.Session().Data().Edits.MarkEdited();
      main.ShowChartState();
      EXPECT_FALSE(main.saveButton->isEnabled());
      main.close();
    });
  });
  EXPECT_EQ(0, Run({"1"}));
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(MainFormTest, AfterARestartClosingStillAsksAboutUnsavedChanges) {
  AppState state;
  StartUp(state, Environment({"20240410", "03"}), test::TestQuestions());
  Program program(state, test::TestApp(), [] { return DateTime::FromDate(2024, 4, 10); });
  program.ShowSelectionAndMain();
  test::WhenShown<KBunSelect>([](KBunSelect& dialog) {
    dialog.ComboKBun->setCurrentRow(1);
    test::PressEnter(dialog.ComboKBun);
  });
  program.Restart();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  MainForm* main = program.Main();
  ASSERT_NE(nullptr, main);

  main->Session().Data().Edits.MarkEdited();
  main->ShowChartState();
  messages_.Answer(Answer::No);
  main->close();
  EXPECT_TRUE(main->isVisible());
  ASSERT_EQ(1u, messages_.shown().size());
  EXPECT_EQ("変更を保存せずに終了しますか？", messages_.shown()[0].text);
}

}  // namespace
}  // namespace velmora
