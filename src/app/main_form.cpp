#include "app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "app/chart_gestures.h"
#include "app/program.h"
#include "app/side_panel.h"
#include "common/errors.h"
#include "common/text.h"
#include "dialogs/dialog_views.h"
#include "dialogs/hozon_form.h"
#include "load/load_text.h"
#include "session/plan_texts.h"
#include "startup/user_dirs.h"
#include "ui/chart_view.h"
#include "ui/load_strip.h"
#include "ui/qt_questions.h"

namespace velmora {

MainForm::MainForm(AppState& state, Program& program)
    : state_(state),
      program_(program),
      session_(state.Data, &state.Connection, &state.Command, program.UserQuestions()) {
  setWindowTitle(kMainFormCaption);
  BuildControls();
}

MainForm::~MainForm() = default;

// The chart takes the room the window gives it: more rows and more time on a larger window.
void MainForm::FitChart() {
  const QSizeF room = view_->RoomForChart();
  session_.FitViewport(room.width(), room.height());
  Shown();
}

// The viewport takes the screen's width less the row captions and the scroll bar, so the
// whole day of the day mode fits on screen.
double MainForm::ViewportWidth() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int screenWidth = screen ? screen->availableGeometry().width() : 1280;
  const int captions = static_cast<int>(chart::kCaptionColumnWidth / chart::kTwipsPerPixel);
  const int scrollBar = view_->KScroll()->sizeHint().width();
  const int pixels = std::max(640, screenWidth - captions - scrollBar - 40);
  return pixels * chart::kTwipsPerPixel;
}

void MainForm::Form_Load() {
  session_.Chart().Picture1.Width = ViewportWidth();
  session_.Load();
  StartEditing();

  KTbun->setText(QString::fromStdString(session_.Data().CategoryCaption));
  ShowChartState();
  // The viewport's scale was taken from the screen: the window takes the screen as well, within
  // it, and the chart then fits the room the window leaves it.
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) FitScreen(*screen);
  show();
  if (screen != nullptr) FitScreen(*screen);
  FitChart();
  if (session_.Data().InquiryMode()) setWindowTitle(windowTitle() + kInquiryCaptionSuffix);
  program_.UnloadSplash();
  // The restart is over: a later close of this window must ask and end again.
  state_.ReloadPending = 0;
}

void MainForm::FitScreen(const QScreen& screen) {
  const QRect available = screen.availableGeometry();
  // The frame (title bar, borders) counts once the window is shown and a window manager put one.
  const QSize frame = frameGeometry().size() - geometry().size();
  resize(available.size() - frame);
  move(available.topLeft());
}

bool MainForm::event(QEvent* event) {
  // A window manager frames the window some time after it is shown; the first move or resize
  // that brings the frame fits the window again, so that its frame lies within the screen too.
  // (Looked at before the base class handles the event: a deferred delete ends the window there.)
  if (!frameFitted_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
      isVisible() && !isMaximized() && !isFullScreen() && frameGeometry() != geometry()) {
    frameFitted_ = true;
    if (const QScreen* shown = screen();
        shown != nullptr && !shown->availableGeometry().contains(frameGeometry())) {
      FitScreen(*shown);
    }
  }
  return QMainWindow::event(event);
}

void MainForm::ShowChartState() {
  const chart::ChartModel& chart = session_.Chart();
  DayDispArea->setText(QString::fromStdString(chart.DayDispArea));
  modeCaption->setText(QString::fromStdString(chart.modeCaption));
  // An edit enables saving only outside the inquiry mode.
  saveButton->setEnabled(session_.CanSave());
  UndoAction->setEnabled(session_.CanUndo());
  RedoAction->setEnabled(session_.CanRedo());
}

void MainForm::Shown() {
  ShowLoad();
  view_->Refresh();
  ShowChartState();
  if (std::vector<PlanIdx> off = session_.TakeTakenOff(); !off.empty()) {
    statusBar()->showMessage(QString::fromStdString(TakenOffText(session_.Data(), off)),
                             kNoticeMilliseconds);
    panel_->ShowTakenOff(std::move(off));
  } else {
    panel_->Refresh();
  }
}

// As wide as the user left it, or else as its longest line within a third of the window.
void MainForm::FitPanel() {
  constexpr int kDesignWidth = 380;
  const int remembered = WindowSettings().value("panel/width", 0).toInt();
  const int width =
      remembered > 0 ? remembered
                     : std::max(kDesignWidth, std::min(panel_->FittingWidth(), this->width() / 3));
  resizeDocks({panel_}, {width}, Qt::Horizontal);
}

QSettings MainForm::WindowSettings() {
  return QSettings(QString::fromStdString((VelmoraConfigDir() / "window.ini").string()),
                   QSettings::IniFormat);
}

// The strip's content and the captions' marks follow the plan, the scroll and a drag.
void MainForm::ShowLoad() {
  const std::vector<std::string> marks = session_.Chart().MachineMark;
  session_.MarkOverloadedRows();
  if (session_.Chart().MachineMark != marks) view_->Canvas()->update();
  if (!strip_->isVisible()) return;
  lanes_ = session_.LoadLanes(!strip_->FollowsRow());
  std::vector<ui::LoadLaneView> shown;
  for (const LoadLane& lane : lanes_) {
    ui::LoadLaneView view{lane.title, {}};
    for (std::size_t k = 0; k < lane.buckets.size(); ++k) {
      const load::BucketLoad& b = lane.buckets[k];
      ui::LoadColumn column{b.start, b.end,      std::nullopt, b.used,
                            b.plans, b.quantity, std::nullopt, load::Figure(b)};
      if (b.capacity) column.available = b.available;
      if (k < lane.after.size()) column.preview = lane.after[k];
      view.columns.push_back(std::move(column));
    }
    shown.push_back(std::move(view));
  }
  strip_->Show(std::move(shown));
}

std::optional<std::pair<int, load::BucketLoad>> MainForm::StripBucket(int k) const {
  // The buckets of the strip's lanes are numbered one after another.
  for (const LoadLane& lane : lanes_) {
    if (k < static_cast<int>(lane.buckets.size())) {
      return std::make_pair(lane.row, lane.buckets[static_cast<std::size_t>(k)]);
    }
    k -= static_cast<int>(lane.buckets.size());
  }
  return std::nullopt;
}

void MainForm::StartEditing() {
  session_.ShowModal = [this](const std::shared_ptr<DialogModel>& dialog) { ShowDialog(dialog); };
  gestures_ = new ChartGestures(session_, *view_, this);
  connect(gestures_, &ChartGestures::changed, this, [this] {
    ShowLoad();
    ShowChartState();
    panel_->Refresh();
  });
  connect(gestures_, &ChartGestures::pointed, this, [this] { ShowLoad(); });
  // A question in the middle of a drop shows the bars as they stand: the moved bar at its new
  // place while the user decides about its neighbours.
  ui::SetBeforeMessage([view = QPointer<ui::ChartView>(view_)] {
    if (view) view->Refresh();
  });
}

// Over the dialog it was opened from, if any: a lot window's dialogs stay in front of it.
void MainForm::ShowDialog(const std::shared_ptr<DialogModel>& dialog) {
  QWidget* parent = QApplication::activeModalWidget();
  ShowDialogView(dialog, session_.Data(), parent != nullptr ? parent : this);
  Shown();
}

void MainForm::ComKensaku_Click() {
  const std::string code = KCode->text().toStdString();
  const std::string name = KName->text().toStdString();
  // The boxes show the folded terms while a chooser of several hits is open.
  ShowSearchedFor({FoldNarrowUpper(code), FoldNarrowUpper(name)});
  ShowSearchedFor(session_.Search(code, name));
  Shown();
}

// The boxes show what was searched for: folded to upper case and half width.
void MainForm::ShowSearchedFor(const lotdetail::SearchBoxes& boxes) {
  KCode->setText(QString::fromStdString(boxes.KCode));
  KName->setText(QString::fromStdString(boxes.KName));
}

void MainForm::KTbun_DblClick() {
  if (session_.Discard()) program_.Restart();
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == KTbun && event->type() == QEvent::MouseButtonDblClick) {
    KTbun_DblClick();
    return true;
  }
  if ((watched == KCode || watched == KName) && event->type() == QEvent::FocusIn) {
    // After the press that focused it has placed the cursor.
    QTimer::singleShot(0, static_cast<QLineEdit*>(watched), &QLineEdit::selectAll);
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainForm::Undo_Click() {
  session_.Undo();
  Shown();
}

void MainForm::Redo_Click() {
  session_.Redo();
  Shown();
}

void MainForm::NextDisplayMode() {
  session_.NextDisplayMode();
  Shown();
}

int MainForm::ChangedEntries() const {
  const std::vector<PlanEntry>& plans = session_.Data().PlanTable;
  return static_cast<int>(
      std::count_if(plans.begin(), plans.end(), [](const PlanEntry& p) { return p.Changed != 0; }));
}

void MainForm::Save() {
  // The entries the save wrote are those it left unchanged; the save itself is not asked.
  const int before = ChangedEntries();
  const std::optional<saving::SaveResult> result = session_.Save(hozon_);
  if (result == saving::SaveResult::Complete || result == saving::SaveResult::Interrupted) {
    statusBar()->showMessage(QString::fromStdString(SavedNotice(before - ChangedEntries())),
                             kNoticeMilliseconds);
  }
  Shown();
}

void MainForm::Quit() {
  close();
}

void MainForm::closeEvent(QCloseEvent* event) {
  if (state_.ReloadPending == 0 && !session_.ConfirmClose()) {
    event->ignore();
    return;
  }
  event->accept();
  if (panel_->isVisible()) WindowSettings().setValue("panel/width", panel_->width());
  if (state_.ReloadPending == 0) throw ProgramEnd{0};
}

}  // namespace velmora
