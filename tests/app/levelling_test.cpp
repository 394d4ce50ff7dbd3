#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTreeWidget>

#include "app/level_dialog.h"
#include "app/level_window.h"
#include "app/proposal_panel.h"
#include "app/side_panel.h"
#include "chart/legend.h"
#include "chart_editing_fixture.h"

namespace velmora::test {
namespace {

// A period of April 2024 with the unplanned row and three machine rows.
PlanData ThreeMachines() {
  PlanData data;
  data.SetPeriod("2024/04/10", "2024/04/30");
  data.RowCount = 4;
  data.MachineRowCount = 4;
  data.RowCode = {"", "        ", "A01     ", "A02     ", "A03     "};
  data.RowCaption = {"", "", "A01 組立\r\nライン1", "A02 組立ライン2", "A03 組立ライン3"};
  return data;
}

// Each field the dialog refuses: the message, and the field that gets the focus while the
// dialog stays open.
TEST(LevelWindow, RefusesWhatItCannotComputeAndStaysOpen) {
  const PlanData data = ThreeMachines();
  const std::string outside = std::string(kDateOutsidePeriod) + "2024/04/10～2024/04/30";
  struct Case {
    const char* control;
    const char* typed;
    std::string message;
    const char* focus;
  };
  const Case cases[] = {
      {"firstDay", "2024/02/30", kLevelBadFirstDay, "firstDay"},
      {"firstDay", "abc", kLevelBadFirstDay, "firstDay"},
      {"firstDay", "2024/05/02", outside, "firstDay"},
      {"lastDay", "", kLevelBadLastDay, "lastDay"},
      {"lastDay", "4/9", outside, "lastDay"},
      {"lastDay", "4/11", kLevelEndBeforeStart, "lastDay"},
      {"budget", "0", kLevelBadBudget, "budget"},
      {"budget", "-1", kLevelBadBudget, "budget"},
      {"budget", "61", kLevelBadBudget, "budget"},
      {"budget", "2秒", kLevelBadBudget, "budget"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.control) + " = " + c.typed);
    ScriptedMessages messages;
    LevelWindow window(data, DateTime::FromDate(2024, 4, 12), messages);
    bool computed = false;
    window.Compute = [&computed](const levelling::LevelRequest&) { computed = true; };
    window.Type(c.control, c.typed);
    window.Enter(c.control);
    EXPECT_EQ(std::vector<std::string>{c.message}, messages.texts());
    EXPECT_EQ(c.focus, window.Focused());
    EXPECT_FALSE(window.Closed());
    EXPECT_FALSE(computed);
  }
  ScriptedMessages messages;
  LevelWindow window(data, DateTime::FromDate(2024, 4, 12), messages);
  window.Click("noMachines");
  window.Click("compute");
  EXPECT_EQ(std::vector<std::string>{kLevelNoMachine}, messages.texts());
  EXPECT_EQ("machines", window.Focused());
  EXPECT_FALSE(window.Closed());
}

TEST(LevelWindow, ComputesTheRequestTheFieldsDescribe) {
  const PlanData data = ThreeMachines();
  ScriptedMessages messages;
  // Today inside the period is the first day; the period's end the last.
  LevelWindow window(data, DateTime::FromDate(2024, 4, 12), messages);
  EXPECT_EQ("2024/04/12", window.State("firstDay").Text);
  EXPECT_EQ("2024/04/30", window.State("lastDay").Text);
  EXPECT_EQ("2", window.State("budget").Text);
  EXPECT_EQ((std::vector<std::string>{"A01 組立 ライン1", "A02 組立ライン2", "A03 組立ライン3"}),
            window.State("machines").Lines);
  EXPECT_EQ((std::vector<bool>{true, true, true}), window.State("machines").Ticked);

  std::optional<levelling::LevelRequest> handed;
  window.Compute = [&handed](levelling::LevelRequest r) { handed = std::move(r); };
  window.Check("machines", 1);
  window.Click("otherMachines");
  window.Type("firstDay", "4/15");
  window.Type("lastDay", "４／２０");
  window.Type("budget", "0.5");
  window.Click("compute");
  EXPECT_TRUE(messages.texts().empty());
  ASSERT_TRUE(handed);
  EXPECT_TRUE(window.Closed());
  EXPECT_EQ((std::vector<int>{2, 4}), handed->rows);
  EXPECT_EQ(DateTime::FromDate(2024, 4, 15), handed->firstDay);
  EXPECT_EQ(DateTime::FromDate(2024, 4, 20), handed->lastDay);
  EXPECT_TRUE(handed->otherMachines);
  EXPECT_DOUBLE_EQ(0.5, handed->budgetSeconds);

  // Every row ticked is the whole category; a day outside the period is not the default.
  LevelWindow all(data, DateTime::FromDate(2025, 1, 1), messages);
  EXPECT_EQ("2024/04/10", all.State("firstDay").Text);
  all.Click("noMachines");
  all.Click("allMachines");
  all.Click("compute");
  ASSERT_TRUE(all.Computed());
  EXPECT_TRUE(all.Computed()->rows.empty());
  EXPECT_FALSE(all.Computed()->otherMachines);
}

// The demo's two assembly lines with a third plan on A01 at the same time as plan 1: the
// leveller moves one of the two later that day.
class LevellingTest : public ChartEditingTest {
 protected:
  LevellingTest() {
    db_.Insert("手配情報", {{"手配番号", 3},
                            {"生産計画番号", 3},
                            {"品名コード", "AS2000-61C"},
                            {"順序", 1},
                            {"生産工場コード", 12},
                            {"機械コード", "A01     "},
                            {"開始日", "20240411"},
                            {"納期", "20240412"},
                            {"GNT開始時刻", "080000"},
                            {"GNT終了時刻", "120000"},
                            {"GNT所要時間（分）", 240},
                            {"手配数", 100},
                            {"手配確定区分", "2"}});
  }

  // Opens 編集 > 自動調整..., presses 計算 and returns the proposal tab.
  static ProposalPanel& Propose(MainForm& main) {
    WhenShown<LevelDialog>([](LevelDialog& dialog) {
      EXPECT_EQ(2, dialog.machines->count());
      EXPECT_FALSE(dialog.otherMachines->isChecked());
      dialog.compute->click();
    });
    main.LevelAction->trigger();
    return *main.Panel()->Proposal();
  }
  static std::vector<DateTime> Starts(MainForm& main) {
    std::vector<DateTime> starts;
    for (int no : {1, 2, 3}) starts.push_back(Plan(main, no).Start());
    return starts;
  }
};

TEST_F(LevellingTest, TheProposalIsShownListedRefusesEditsAndDropsBack) {
  WithMainForm([this](MainForm& main) {
    const std::vector<DateTime> loaded = Starts(main);
    ProposalPanel& tab = Propose(main);
    ASSERT_TRUE(main.Panel()->isVisible());
    EXPECT_EQ(&tab, main.Panel()->Tabs()->currentWidget());
    ASSERT_EQ(1, tab.Moves()->topLevelItemCount());
    const QTreeWidgetItem& line = *tab.Moves()->topLevelItem(0);
    const int moved = line.text(0).startsWith("3 ") ? 3 : 1;
    EXPECT_EQ(QString("%1  AS2000-61C").arg(moved), line.text(0));
    EXPECT_EQ("A01", line.text(1).toStdString());
    EXPECT_EQ("04/11 08:00 → 04/11 12:00", line.text(2).toStdString());
    EXPECT_EQ("衝突", tab.Totals()[0][0]->text().toStdString());
    EXPECT_TRUE(tab.Totals()[0][1]->text().endsWith(" → 0"))
        << tab.Totals()[0][1]->text().toStdString();
    // Every total has its line, the moved plans last.
    EXPECT_EQ("移動件数", tab.Totals().back()[0]->text().toStdString());
    EXPECT_EQ("0 → 1", tab.Totals().back()[1]->text().toStdString());
    ASSERT_EQ(1u, main.Chart().ProposalOutlines.size());
    const chart::ProposalOutline& old = main.Chart().ProposalOutlines.front();
    const QImage shown = main.Picture1()->Canvas()->grab().toImage();
    EXPECT_EQ(ui::ToQColor(chart::kOldPlaceColor).rgb(),
              shown.pixel(OnRows(main, old.Left, old.Top) + QPoint(1, 1)))
        << "the old place is framed";
    EXPECT_EQ(DateTime::FromDate(2024, 4, 11) + DateTime::FromTime(12, 0, 0),
              Plan(main, moved).Start());

    // Undo and a drag are refused while it is shown, and no drag is left half done.
    main.UndoAction->trigger();
    const chart::BarLabel& bar = main.Chart().PlanBar[Plan(main, 2).Bar().Slot()];
    const QPoint grab = OnRows(main, bar.Left + 150, bar.Top + 180);
    Press(main, grab);
    DragTo(main, grab + QPoint(40, 0));
    Release(main, grab + QPoint(40, 0));
    EXPECT_FALSE(main.Session().Dragging());
    EXPECT_EQ((std::vector<std::string>{kProposalShown, kProposalShown}), messages_.texts());
    EXPECT_EQ(DateTime::FromDate(2024, 4, 12) + DateTime::FromTime(8, 0, 0), Plan(main, 2).Start());

    // A line shows its plan; 取消 puts every plan back and the tab says there is none.
    emit tab.Moves()->itemClicked(tab.Moves()->topLevelItem(0), 0);
    EXPECT_EQ(std::vector<BarIdx>{Plan(main, moved).Bar()}, main.Chart().Highlighted);
    tab.DropButton()->click();
    EXPECT_EQ(loaded, Starts(main));
    EXPECT_TRUE(main.Chart().ProposalOutlines.empty());
    EXPECT_FALSE(main.Session().CanRedo());
    EXPECT_TRUE(tab.Note()->text().contains(kNoProposal));
    EXPECT_FALSE(tab.Moves()->isVisibleTo(&tab));
    EXPECT_FALSE(tab.ApplyButton()->isEnabled());
  });
}

TEST_F(LevellingTest, AnAppliedProposalIsOneStepThatUndoTakesBack) {
  WithMainForm([](MainForm& main) {
    const std::vector<DateTime> loaded = Starts(main);
    ProposalPanel& tab = Propose(main);
    const std::vector<DateTime> proposed = Starts(main);
    ASSERT_NE(loaded, proposed);
    tab.ApplyButton()->click();
    EXPECT_EQ(proposed, Starts(main));
    EXPECT_TRUE(main.Chart().ProposalOutlines.empty());
    EXPECT_TRUE(tab.Note()->text().contains(kProposalApplied));
    EXPECT_TRUE(main.saveButton->isEnabled());
    ASSERT_TRUE(main.UndoAction->isEnabled());
    main.UndoAction->trigger();
    EXPECT_EQ(loaded, Starts(main));
  });
}

}  // namespace
}  // namespace velmora::test
