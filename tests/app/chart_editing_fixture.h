#pragma once

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "app/chart_gestures.h"
#include "common/date_text.h"
#include "common/format.h"
#include "dialogs/hozon_form.h"
#include "dialogs/line_plan_dialog.h"
#include "dialogs/plan_window_dialog.h"
#include "dialogs/select_plan_dialog.h"
#include "editing/day_calendar.h"
#include "editing/row_expansion.h"
#include "lotdetail/lot_opening.h"
#include "lotdetail/plan_window.h"
#include "program_fixture.h"
#include "ui/chart_view.h"

namespace velmora::test {

using ui::ChartHit;
using ui::ChartPainter;

// The main window on two assembly lines working 08:00-16:00, with plans on A01 on 04/11 and
// 04/12 from 08:00 for four hours. The item makes 100 pieces in four hours on either line.
class ChartEditingTest : public test::ProgramFixture {
 protected:
  ChartEditingTest() {
    db_.Insert("工程内容マスタ",
               {{"工程内容コード", "301"}, {"工程内容名", "組立"}, {"工程分類コード", "03"}});
    db_.Insert("品目マスタ", {{"品名コード", "AS2000-61C"}, {"品名＿品名仕様", "ユニット"}});
    db_.Insert("工程手順マスタ", {{"品名コード", "AS2000-61C"},
                                  {"順序", 1},
                                  {"生産工場コード", 12},
                                  {"工程内容コード", "301"}});
    for (const char* line : {"A01     ", "A02     "}) {
      db_.Insert("機械マスタ", {{"機械コード", line},
                                {"機械名", std::string("組立ライン") + line[2]},
                                {"生産工場コード", 12},
                                {"工程分類コード", "03"}});
      db_.Insert(
          "品目別機械別ｻｲｸﾙﾏｽﾀ",
          {{"品名コード", "AS2000-61C"}, {"順序", 1}, {"機械コード", line}, {"サイクル", 144}});
      for (int day = 1; day <= 30; ++day) {
        db_.Insert("機械別勤務体系マスタ", {{"機械コード", line},
                                            {"年月日", FormatYmd(DateTime::FromDate(2024, 4, day))},
                                            {"勤務時間", 480},
                                            {"開始時刻１", "080000"},
                                            {"終了時刻１", "160000"}});
      }
    }
    for (int no : {1, 2}) {
      const std::string day = no == 1 ? "20240411" : "20240412";
      db_.Insert("手配情報", {{"手配番号", no},
                              {"生産計画番号", no},
                              {"品名コード", "AS2000-61C"},
                              {"順序", 1},
                              {"生産工場コード", 12},
                              {"機械コード", "A01     "},
                              {"開始日", day},
                              {"納期", day},
                              {"GNT開始時刻", "080000"},
                              {"GNT終了時刻", "120000"},
                              {"GNT所要時間（分）", 240},
                              {"手配数", 100},
                              {"手配確定区分", "2"}});
    }
  }

  // Runs the program to its main window and hands the window to `check`, then closes it
  // without saving.
  void WithMainForm(std::function<void(MainForm&)> check) {
    test::WhenShown<MainForm>([check](MainForm& main) {
      check(main);
      main.Session().Data().Edits.MarkSaved();
      main.close();
    });
    EXPECT_EQ(0, Run({"20240410", "03"}));
  }

  static PlanEntry& Plan(MainForm& main, int no) {
    PlanData& data = main.Session().Data();
    for (std::int32_t i = 1; i <= data.PlanCount(); ++i) {
      if (data.Plan(PlanIdx{i}).OrderNo == no) return data.Plan(PlanIdx{i});
    }
    throw std::logic_error("no such plan");
  }
  static int Row(MainForm& main, const std::string& code) {
    const PlanData& data = main.Session().Data();
    for (int r = 1; r <= data.RowCount; ++r) {
      if (data.RowCode[static_cast<std::size_t>(r)] == code) return r;
    }
    return 0;
  }
  // The canvas pixel showing point (x, y) of the rows' surface.
  static QPoint OnRows(MainForm& main, double x, double y) {
    const chart::ChartModel& m = main.Chart();
    const ui::ChartFrame frame = ChartPainter::ViewportFrame(m);
    const QRect rows = ChartPainter::BandsOf(frame).rows;
    auto px = [](double twips) { return static_cast<int>(std::floor(twips / 15 + 0.5)); };
    return QPoint(rows.left() + px(frame.platFormLeft - m.PlatForm.ScaleLeft + x),
                  rows.top() + px(frame.platFormTop + y));
  }
  // The rows' surface x of a moment ("yyyy/mm/dd hh:nn").
  static double X(MainForm& main, const std::string& at) {
    const DateTime t = *ParseSlashDate(at.substr(0, 10)) + *ParseColonTime(at.substr(11) + ":00");
    return main.Chart().Scale.TimeToX(t.DatePart(), t.TimePart(), chart::TimeKind::Rows);
  }
  static ChartHit HitAt(MainForm& main, QPoint at) {
    return main.Picture1()->Painter().HitTest(main.Chart(),
                                              ChartPainter::ViewportFrame(main.Chart()), at);
  }

  static void Mouse(MainForm& main, QEvent::Type type, QPoint at, Qt::MouseButton button,
                    Qt::MouseButtons held) {
    QWidget* canvas = main.Picture1()->Canvas();
    QMouseEvent event(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
  }
  static void Press(MainForm& main, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(main, QEvent::MouseButtonPress, at, button, button);
  }
  static void DragTo(MainForm& main, QPoint at) {
    Mouse(main, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
  }
  static void Release(MainForm& main, QPoint at) {
    Mouse(main, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  }
  // Drags plan `no` onto A02 at 04/12 10:00.
  static void MoveToA02(MainForm& main, int no) {
    const chart::BarLabel& bar = main.Chart().PlanBar[Plan(main, no).Bar().Slot()];
    const QPoint grab = OnRows(main, bar.Left + 150, bar.Top + 180);
    const double rowA02 =
        main.Session().Data().RowTop[static_cast<std::size_t>(Row(main, "A02     "))];
    const QPoint drop = OnRows(main, X(main, "2024/04/12 10:00") + 150, rowA02 + 180);
    Press(main, grab);
    DragTo(main, (grab + drop) / 2);
    DragTo(main, drop);
    Release(main, drop);
    ASSERT_EQ("A02     ", Plan(main, no).MachineCode);
  }
  std::string Stored(int no, const std::string& columns) {
    return db_.Scalar("SELECT " + columns + " FROM 手配情報 WHERE 手配番号=" + std::to_string(no))
        .Text();
  }
  static void Keys(MainForm& main, Qt::KeyboardModifiers keys, Qt::Key key) {
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, key, keys);
  }
};

}  // namespace velmora::test
