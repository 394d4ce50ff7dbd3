#pragma once

#include <QMainWindow>
#include <QSettings>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lotdetail/plan_search.h"
#include "session/edit_session.h"
#include "startup/app_state.h"

class QAction;
class QLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScreen;
class QSplitter;

namespace velmora {

namespace ui {
class ChartView;
class LoadStrip;
}  // namespace ui

class ChartGestures;
class SidePanel;
class HozonForm;
class Program;

inline constexpr const char* kMainFormCaption = "生産計画支援システム";
inline constexpr const char* kInquiryCaptionSuffix = "(照会モード)";
// How long a notice stays in the status line.
inline constexpr int kNoticeMilliseconds = 5000;

// The status line's notice after a save that wrote `entries` plan entries.
inline std::string SavedNotice(int entries) {
  return "保存しました（" + std::to_string(entries) + "件）";
}

// The main window: the Gantt chart of the selection with its category label, display mode,
// date of the left edge, and the save and exit buttons. It hosts the edit session of the
// selection: its controls and the chart's pointer events become the session's operations, and
// it shows the dialogs the session opens.
class MainForm : public QMainWindow {
  Q_OBJECT

 public:
  MainForm(AppState& state, Program& program);
  ~MainForm() override;

  // The load: rows, calendars and plans of the selection, the chart in week mode; shows the
  // window and closes the splash.
  void Form_Load();

  EditSession& Session() { return session_; }
  chart::ChartModel& Chart() { return session_.Chart(); }
  AppState& State() { return state_; }
  ui::ChartView* Picture1() const { return view_; }
  // The progress window of the save; hidden between saves.
  HozonForm* Hozon() const { return hozon_; }
  // The clashes and unsaved changes beside the chart; hidden until the menu shows it.
  SidePanel* Panel() const { return panel_; }
  // The machine load under the chart.
  ui::LoadStrip* Strip() const { return strip_; }

  // Controls, named as the program names them.
  QLabel* KTbun = nullptr;            // category caption; a double click discards and restarts
  QLineEdit* DayDispArea = nullptr;   // long date at the left edge; a typed date goes there
  QLineEdit* modeCaption = nullptr;   // display mode caption
  QPushButton* modeButton = nullptr;  // "表示モード変更"
  QPushButton* saveButton = nullptr;  // "保存"
  QPushButton* quitButton = nullptr;  // "終了"
  QLineEdit* KCode = nullptr;         // item code searched for
  QLineEdit* KName = nullptr;         // model name searched for
  QPushButton* ComKensaku = nullptr;  // "検索"
  QAction* UndoAction = nullptr;      // "元に戻す"
  QAction* RedoAction = nullptr;      // "やり直し"
  QAction* LevelAction = nullptr;     // "自動調整...": the levelling dialog
  QAction* PanelAction = nullptr;     // "競合と未保存の変更"
  QAction* LegendAction = nullptr;    // "凡例"
  QAction* LoadAction = nullptr;      // "負荷": the load strip shown or not

  // The chart model changed: the widgets take its values.
  void ShowChartState();

 protected:
  // The unload: unsaved changes are confirmed, then the program ends (unless restarting).
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void NextDisplayMode();
  void Save();
  // Plan entries with changes not yet saved.
  int ChangedEntries() const;
  void Quit();
  void ComKensaku_Click();
  void ShowSearchedFor(const lotdetail::SearchBoxes& boxes);
  void KTbun_DblClick();
  void Undo_Click();
  void Redo_Click();
  // The levelling dialog; its 計算 shows the proposal on the chart and in the side panel.
  void Level_Click();
  void BuildControls();
  void ConnectControls();
  QLayout* BuildButtonBar(QWidget* parent);
  void BuildEditMenu();
  void BuildViewMenu();
  void StartEditing();
  void ShowDialog(const std::shared_ptr<DialogModel>& dialog);
  void Shown();
  double ViewportWidth() const;
  void FitScreen(const QScreen& screen);
  void FitChart();
  void FitPanel();
  void ShowLoad();
  // Bucket k of the strip's lanes: its row (0: every machine row) and its load.
  std::optional<std::pair<int, load::BucketLoad>> StripBucket(int k) const;
  // Where the window keeps what the user chose for it (the strip shown, its height).
  static QSettings WindowSettings();

  AppState& state_;
  Program& program_;
  EditSession session_;
  ui::ChartView* view_ = nullptr;
  ChartGestures* gestures_ = nullptr;
  HozonForm* hozon_ = nullptr;
  SidePanel* panel_ = nullptr;
  QSplitter* splitter_ = nullptr;
  ui::LoadStrip* strip_ = nullptr;
  std::vector<LoadLane> lanes_;  // as the strip shows them
  bool frameFitted_ = false;     // fitted again once the window manager's frame was known
};

}  // namespace velmora
