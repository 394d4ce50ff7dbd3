#include "app/main_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <vector>

#include "app/chart_gestures.h"
#include "app/current_user.h"
#include "app/hozon_form.h"
#include "app/line_plan_dialog.h"
#include "app/local_today.h"
#include "app/main_form_load.h"
#include "app/plan_window_dialog.h"
#include "app/program.h"
#include "app/select_plan_dialog.h"
#include "chart/bar_layout.h"
#include "chart/display_mode.h"
#include "common/errors.h"
#include "common/msgbox.h"
#include "lotdetail/lot_opening.h"
#include "lotdetail/plan_search.h"
#include "saving/plan_save.h"
#include "ui/chart_view.h"
#include "ui/qt_message_boxes.h"

namespace velmora {

MainForm::MainForm(AppState& state, Program& program) : state_(state), program_(program) {
  setWindowTitle(kMainFormCaption);
  BuildControls();
}

MainForm::~MainForm() = default;

void MainForm::BuildControls() {
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(6, 6, 6, 6);
  column->setSpacing(4);

  auto* bar = new QHBoxLayout();
  KTbun = new QLabel(central);
  KTbun->setMinimumWidth(160);
  KTbun->setToolTip("ダブルクリック: 選択し直す");
  DayDispArea = new QLineEdit(central);
  DayDispArea->setReadOnly(true);
  DayDispArea->setFixedWidth(140);
  Text1 = new QLineEdit(central);
  Text1->setReadOnly(true);
  Text1->setFixedWidth(170);
  Command4 = new QPushButton("表示モード変更", central);
  Command8 = new QPushButton("保存", central);
  Command8->setEnabled(false);
  Command9 = new QPushButton("終了", central);
  KCode = new QLineEdit(central);
  KCode->setPlaceholderText("品名コード");
  KCode->setFixedWidth(130);
  KName = new QLineEdit(central);
  KName->setPlaceholderText("型番名");
  KName->setFixedWidth(160);
  ComKensaku = new QPushButton(lotdetail::kSearchCaption, central);
  KTbun->installEventFilter(this);
  KCode->installEventFilter(this);
  KName->installEventFilter(this);
  bar->addWidget(KTbun);
  bar->addWidget(DayDispArea);
  bar->addWidget(Text1);
  bar->addWidget(Command4);
  bar->addSpacing(16);
  bar->addWidget(KCode);
  bar->addWidget(KName);
  bar->addWidget(ComKensaku);
  bar->addStretch(1);
  bar->addWidget(Command8);
  bar->addWidget(Command9);
  column->addLayout(bar);

  view_ = new ui::ChartView(state_.Data, chart_, central);
  column->addWidget(view_, 1, Qt::AlignLeft | Qt::AlignTop);
  setCentralWidget(central);

  QMenu* edit = menuBar()->addMenu("編集");
  UndoAction = edit->addAction("元に戻す");
  UndoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  RedoAction = edit->addAction("やり直し");
  RedoAction->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  UndoAction->setEnabled(false);
  RedoAction->setEnabled(false);
  connect(UndoAction, &QAction::triggered, this, [this] { Undo_Click(); });
  connect(RedoAction, &QAction::triggered, this, [this] { Redo_Click(); });

  hozon_ = new HozonForm(this);

  connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
  connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
  connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
  connect(ComKensaku, &QPushButton::clicked, this, [this] { ComKensaku_Click(); });
  connect(KCode, &QLineEdit::returnPressed, this, [this] { KName->setFocus(); });
  connect(KName, &QLineEdit::returnPressed, this, [this] { ComKensaku->setFocus(); });
  connect(view_, &ui::ChartView::scrolled, this, [this] { ShowChartState(); });
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
  move(0, 0);
  chart_.Picture1.Width = ViewportWidth();
  LoadMainForm(state_.Data, chart_, state_.Command);
  StartEditing();

  KTbun->setText(QString::fromStdString(state_.Data.CategoryCaption));
  ShowChartState();
  view_->Refresh();
  // The viewport was sized for the screen: the window takes the screen as well.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    resize(screen->availableGeometry().size());
  show();
  if (state_.Data.InquiryMode()) setWindowTitle(windowTitle() + kInquiryCaptionSuffix);
  program_.UnloadSplash();
  // The restart is over: a later close of this window must ask and end again.
  state_.ReloadPending = 0;
}

void MainForm::ShowChartState() {
  DayDispArea->setText(QString::fromStdString(chart_.DayDispArea));
  Text1->setText(QString::fromStdString(chart_.Text1));
  // An edit enables saving only outside the inquiry mode.
  Command8->setEnabled(state_.Data.Edits.CanSave());
  // Not in the middle of a drag: the dragged bar must stay the one the drop moves.
  const bool idle = editor_ && !editor_->Pointer().Dragged;
  UndoAction->setEnabled(idle && editor_->History().CanUndo());
  RedoAction->setEnabled(idle && editor_->History().CanRedo());
}

void MainForm::StartEditing() {
  editor_ = std::make_unique<editing::ChartEditor>(state_.Data, chart_, &state_.Connection);
  editor_->OpenPlan = [this](PlanIdx plan) { OpenPlanWindow(plan); };
  editor_->ShowLinePlanWindow = [this](std::shared_ptr<editing::LinePlanWindow> window) {
    ShowLinePlanWindow(std::move(window));
  };
  gestures_ = new ChartGestures(*editor_, *view_, this);
  connect(gestures_, &ChartGestures::changed, this, [this] { ShowChartState(); });
  // A question in the middle of a drop shows the bars as they stand: the moved bar at its new
  // place while the user decides about its neighbours.
  ui::SetBeforeMessage([view = QPointer<ui::ChartView>(view_)] {
    if (view) view->Refresh();
  });
}

void MainForm::ShowLinePlanWindow(std::shared_ptr<editing::LinePlanWindow> window) {
  LinePlanDialog dialog(window, LinePlanTitle(state_.Data, *window), this);
  dialog.exec();
  view_->Refresh();
  ShowChartState();
}

void MainForm::OpenPlanWindow(PlanIdx plan) {
  auto window = lotdetail::OpenPlanWindow(editor_->Context(), plan, LocalToday());
  {
    PlanWindowDialog dialog(window, this);
    dialog.exec();
  }
  // A window that went without its close (the program ending under it) still gives the bar
  // back its colours.
  if (!window->Closed()) chart::LayoutBar(state_.Data, chart_, plan, 0);
  window.reset();  // ends the window's undo step if its close did not
  view_->Refresh();
  ShowChartState();
}

void MainForm::ComKensaku_Click() {
  lotdetail::SearchBoxes boxes{KCode->text().toStdString(), KName->text().toStdString()};
  lotdetail::ComKensaku_Click(
      boxes, state_.Data, [this](BarIdx bar) { editor_->RightButtonDown(bar); },
      [this, &boxes](std::shared_ptr<lotdetail::SelectPlan> chooser) {
        ShowSearchedFor(boxes);
        ShowSelectPlan(std::move(chooser), this);
      });
  ShowSearchedFor(boxes);
}

// The boxes show what was searched for: folded to upper case and half width.
void MainForm::ShowSearchedFor(const lotdetail::SearchBoxes& boxes) {
  KCode->setText(QString::fromStdString(boxes.KCode));
  KName->setText(QString::fromStdString(boxes.KName));
}

void MainForm::KTbun_DblClick() {
  if (!lotdetail::ConfirmDiscard(state_.Data)) return;
  // Nothing of the dropped plan can be undone into the reloaded one.
  editor_->History().Clear();
  program_.Restart();
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
  editor_->Undo();
  view_->Refresh();
  ShowChartState();
}

void MainForm::Redo_Click() {
  editor_->Redo();
  view_->Refresh();
  ShowChartState();
}

void MainForm::Command4_Click() {
  chart::Command4_Click(state_.Data, chart_);
  view_->Refresh();
  ShowChartState();
}

void MainForm::Command8_Click() {
  // A second save must not start inside the first (a question in the middle of it runs the
  // event loop).
  if (hozon_->isVisible()) return;
  PlanData& data = state_.Data;
  saving::SaveContext context{data,       chart_, state_.Connection, CurrentUserName(),
                              LocalNow(), hozon_};
  const saving::SaveResult result = saving::SavePlan(context);
  saving::AfterSave(data, result);
  // What was written can no longer be undone; when nothing was written the tables are as
  // before, so the edits stay undoable.
  if (result == saving::SaveResult::Complete || result == saving::SaveResult::Interrupted) {
    editor_->History().Clear();
  }
  view_->Refresh();
  ShowChartState();
}

void MainForm::Command9_Click() {
  close();
}

void MainForm::closeEvent(QCloseEvent* event) {
  if (state_.Data.Edits.CanSave() && state_.ReloadPending == 0) {
    const ui::Answer answer = ui::MsgBox(kUnsavedCloseQuestion, ui::kYesNo | ui::kDefaultButton2);
    if (answer == ui::Answer::No) {
      event->ignore();
      return;
    }
  }
  event->accept();
  if (state_.ReloadPending == 0) throw ProgramEnd{0};
}

}  // namespace velmora
