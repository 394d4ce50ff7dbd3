// The load strip under the chart and the marks on the row captions follow the plan: a click on a
// row, a drag (before the drop), the drop and its undo.
#include <gtest/gtest.h>

#include "chart_editing_fixture.h"
#include "ui/load_strip.h"

namespace velmora::test {
namespace {

// The fixture's lines work 08:00-16:00 (480 minutes a day); plans 3 and 4 start on A02 at 08:00
// and 11:00 on 04/15 and need 300 minutes each, on a day A01 has nothing on.
class LoadStripTest : public ChartEditingTest {
 protected:
  LoadStripTest() {
    for (int no : {3, 4}) {
      db_.Insert("手配情報", {{"手配番号", no},
                              {"生産計画番号", no},
                              {"品名コード", "AS2000-61C"},
                              {"順序", 1},
                              {"生産工場コード", 12},
                              {"機械コード", "A02     "},
                              {"開始日", "20240415"},
                              {"納期", "20240416"},
                              {"GNT開始時刻", no == 3 ? "080000" : "110000"},
                              {"GNT終了時刻", no == 3 ? "130000" : "160000"},
                              {"GNT所要時間（分）", 300},
                              {"手配数", 125},
                              {"手配確定区分", "2"}});
    }
  }
  // The mark on the caption of row `code`, or "" when it has none.
  static std::string Mark(MainForm& main, const std::string& code) {
    const int slot = Row(main, code) - main.Chart().KScroll.Value;
    const auto& marks = main.Chart().MachineMark;
    return slot >= 1 && static_cast<std::size_t>(slot) < marks.size()
               ? marks[static_cast<std::size_t>(slot)]
               : "";
  }
  // What the strip shows for the day starting 08:00 of `date` ("yyyy/mm/dd") in lane `lane`:
  // "title used/available figure" (with "->after" while dragged).
  static std::string Day(MainForm& main, std::size_t lane, const std::string& date) {
    const auto& lanes = main.Strip()->Lanes();
    if (lane >= lanes.size()) return "(no lane)";
    const DateTime start = *ParseSlashDate(date) + DateTime::FromSeconds(8 * 3600);
    for (const ui::LoadColumn& c : lanes[lane].columns) {
      if (c.start != start) continue;
      std::string shown = lanes[lane].title + " " + std::to_string(c.used) + "/" +
                          std::to_string(c.available.value_or(-1)) + " " + c.figure;
      if (c.preview) shown += " ->" + std::to_string(*c.preview);
      return shown;
    }
    return lanes[lane].title + " (no day)";
  }
};

TEST_F(LoadStripTest, TheStripAndTheMarksFollowTheRowsADragAndADrop) {
  WithMainForm([this](MainForm& main) {
    QApplication::processEvents();
    ASSERT_TRUE(main.Strip()->isVisible());
    // Nothing chosen yet: every machine row together. A02 is over its hours on 04/15.
    EXPECT_EQ(Day(main, 0, "2024/04/15"), "全機械 600/960 63%");
    EXPECT_EQ(Mark(main, "A02     "), "負荷超過: 04/15 (月) 125%");
    EXPECT_EQ(Mark(main, "A01     "), "");

    // A click on plan 1's bar chooses its row.
    const chart::BarLabel& one = main.Chart().PlanBar[Plan(main, 1).Bar().Slot()];
    const QPoint grab = OnRows(main, one.Left + 150, one.Top + 180);
    Press(main, grab);
    Release(main, grab);
    EXPECT_EQ(Day(main, 0, "2024/04/11"), "A01 組立ライン1 240/480 50%");

    // Dragging plan 3 onto A01 on 04/15: before the drop, both rows as the drop would leave them.
    const chart::BarLabel& three = main.Chart().PlanBar[Plan(main, 3).Bar().Slot()];
    const QPoint from = OnRows(main, three.Left + 45, three.Top + 180);
    const double rowA01 =
        main.Session().Data().RowTop[static_cast<std::size_t>(Row(main, "A01     "))];
    const QPoint to = OnRows(main, X(main, "2024/04/15 08:00") + 150, rowA01 + 180);
    Press(main, from);
    DragTo(main, (from + to) / 2);
    DragTo(main, to);
    EXPECT_EQ(Day(main, 0, "2024/04/15"), "A02 組立ライン2 600/480 125% ->300");
    EXPECT_EQ(Day(main, 1, "2024/04/15"), "A01 組立ライン1 0/480 0% ->300");
    EXPECT_EQ(Mark(main, "A02     "), "負荷超過: 04/15 (月) 125%") << "nothing moved yet";
    Release(main, to);
    ASSERT_EQ("A01     ", Plan(main, 3).MachineCode) << testing::PrintToString(messages_.texts());

    // Dropped: each line has one plan of 300 minutes that day, and the strip follows the row
    // clicked last.
    EXPECT_EQ(Mark(main, "A02     "), "");
    EXPECT_EQ(Mark(main, "A01     "), "");
    EXPECT_EQ(Day(main, 0, "2024/04/15"), "A02 組立ライン2 300/480 63%");

    main.UndoAction->trigger();
    EXPECT_EQ(Mark(main, "A02     "), "負荷超過: 04/15 (月) 125%");
    EXPECT_EQ(Mark(main, "A01     "), "");

    // The day's bucket names its plans with their minutes there, and a click frames their bars.
    const auto& columns = main.Strip()->Lanes().at(0).columns;
    const DateTime day = *ParseSlashDate("2024/04/15") + DateTime::FromSeconds(8 * 3600);
    int k = 0;
    while (k < static_cast<int>(columns.size()) &&
           columns[static_cast<std::size_t>(k)].start != day)
      ++k;
    ASSERT_LT(k, static_cast<int>(columns.size()));
    const std::string tip = main.Strip()->TipFor(k).toStdString();
    EXPECT_NE(tip.find("\n3  "), std::string::npos) << tip;
    EXPECT_NE(tip.find("\n4  "), std::string::npos) << tip;
    EXPECT_NE(tip.find("300分"), std::string::npos) << tip;
    emit main.Strip()->bucketClicked(k);
    const std::vector<BarIdx>& framed = main.Chart().Highlighted;
    EXPECT_EQ(framed.size(), 2u);
    for (int no : {3, 4}) {
      EXPECT_NE(std::find(framed.begin(), framed.end(), Plan(main, no).Bar()), framed.end()) << no;
    }
  });
}

}  // namespace
}  // namespace velmora::test
