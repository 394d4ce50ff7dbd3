#include "app/main_form.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/legend_window.h"
#include "app/print_actions.h"
#include "app/program.h"
#include "app/proposal_panel.h"
#include "app/side_panel.h"
#include "dialogs/hozon_form.h"
#include "ui/chart_view.h"
#include "ui/load_strip.h"

namespace velmora {

void MainForm::BuildControls() {
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(6, 6, 6, 6);
  column->setSpacing(4);
  column->addLayout(BuildButtonBar(central));
  // The load strip under the chart takes a fixed share of the height; the splitter resizes it.
  splitter_ = new QSplitter(Qt::Vertical, central);
  view_ = new ui::ChartView(session_.Data(), session_.Chart(), splitter_);
  strip_ = new ui::LoadStrip(session_.Chart(), splitter_);
  splitter_->addWidget(view_);
  splitter_->addWidget(strip_);
  splitter_->setStretchFactor(0, 5);
  splitter_->setStretchFactor(1, 1);
  splitter_->setChildrenCollapsible(false);
  column->addWidget(splitter_, 1);
  setCentralWidget(central);
  // The status line for notices is there from the start, so a notice never moves the chart.
  statusBar()->setSizeGripEnabled(false);
  BuildEditMenu();
  BuildViewMenu();
  hozon_ = new HozonForm(this);
  ConnectControls();
}

void MainForm::ConnectControls() {
  connect(modeButton, &QPushButton::clicked, this, [this] { NextDisplayMode(); });
  connect(saveButton, &QPushButton::clicked, this, [this] { Save(); });
  connect(quitButton, &QPushButton::clicked, this, [this] { Quit(); });
  connect(ComKensaku, &QPushButton::clicked, this, [this] { ComKensaku_Click(); });
  connect(DayDispArea, &QLineEdit::returnPressed, this, [this] {
    session_.GoToDate(DayDispArea->text().toStdString());
    Shown();
  });
  // Leaving the box without Enter shows the day at the left edge again.
  connect(DayDispArea, &QLineEdit::editingFinished, this, [this] { ShowChartState(); });
  connect(KCode, &QLineEdit::returnPressed, this, [this] { KName->setFocus(); });
  connect(KName, &QLineEdit::returnPressed, this, [this] { ComKensaku->setFocus(); });
  connect(view_, &ui::ChartView::scrolled, this, [this] {
    ShowChartState();
    ShowLoad();
  });
  connect(strip_, &ui::LoadStrip::choiceChanged, this, [this] { ShowLoad(); });
  connect(strip_, &ui::LoadStrip::bucketClicked, this, [this](int k) {
    if (const auto bucket = StripBucket(k)) {
      session_.RevealBucket(bucket->first, bucket->second);
      Shown();
    }
  });
  strip_->TipFor = [this](int k) {
    const auto bucket = StripBucket(k);
    return bucket ? QString::fromStdString(session_.BucketTip(bucket->first, bucket->second))
                  : QString();
  };
  connect(splitter_, &QSplitter::splitterMoved, this,
          [this] { WindowSettings().setValue("load/split", splitter_->saveState()); });
  connect(view_, &ui::ChartView::resized, this, [this] { FitChart(); });
}

QLayout* MainForm::BuildButtonBar(QWidget* parent) {
  auto* bar = new QHBoxLayout();
  KTbun = new QLabel(parent);
  KTbun->setMinimumWidth(160);
  KTbun->setToolTip("ダブルクリック: 選択し直す");
  DayDispArea = new QLineEdit(parent);
  DayDispArea->setFixedWidth(140);
  DayDispArea->setToolTip("日付を入力して Enter: その日へ移動");
  modeCaption = new QLineEdit(parent);
  modeCaption->setReadOnly(true);
  modeCaption->setFixedWidth(170);
  modeButton = new QPushButton("表示モード変更", parent);
  saveButton = new QPushButton("保存", parent);
  saveButton->setEnabled(false);
  quitButton = new QPushButton("終了", parent);
  KCode = new QLineEdit(parent);
  KCode->setPlaceholderText("品名コード");
  KCode->setFixedWidth(130);
  KName = new QLineEdit(parent);
  KName->setPlaceholderText("型番名");
  KName->setFixedWidth(160);
  ComKensaku = new QPushButton(lotdetail::kSearchCaption, parent);
  for (QWidget* watched :
       {static_cast<QWidget*>(KTbun), static_cast<QWidget*>(KCode), static_cast<QWidget*>(KName)}) {
    watched->installEventFilter(this);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{KTbun, DayDispArea, modeCaption, modeButton}) {
    bar->addWidget(w);
  }
  bar->addSpacing(16);
  for (QWidget* w : std::initializer_list<QWidget*>{KCode, KName, ComKensaku}) bar->addWidget(w);
  bar->addStretch(1);
  bar->addWidget(saveButton);
  bar->addWidget(quitButton);
  return bar;
}

void MainForm::BuildEditMenu() {
  AddPrintActions(
      *this, *menuBar()->addMenu("ファイル"), session_.Data(), session_.Chart(),
      [this] { return ui::MakeLoadTable(session_.Data(), session_.MachineLoad()); },
      program_.UserQuestions());
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
  edit->addSeparator();
  LevelAction = edit->addAction("自動調整...");
  connect(LevelAction, &QAction::triggered, this, [this] { Level_Click(); });
}

void MainForm::BuildViewMenu() {
  panel_ = new SidePanel(session_, this);
  addDockWidget(Qt::RightDockWidgetArea, panel_);
  panel_->hide();
  // The panel's edge is a splitter: the width it was last left at comes back with it.
  connect(panel_, &QDockWidget::visibilityChanged, this, [this](bool shown) {
    if (shown) {
      FitPanel();
    } else {
      WindowSettings().setValue("panel/width", panel_->width());
    }
  });
  QMenu* view = menuBar()->addMenu("表示");
  PanelAction = panel_->toggleViewAction();
  PanelAction->setText("競合と未保存の変更");
  PanelAction->setShortcut(QKeySequence(Qt::Key_F9));
  view->addAction(PanelAction);
  LoadAction = view->addAction("負荷");
  LoadAction->setCheckable(true);
  LoadAction->setShortcut(QKeySequence(Qt::Key_F8));
  QSettings settings = WindowSettings();
  LoadAction->setChecked(settings.value("load/shown", true).toBool());
  strip_->setVisible(LoadAction->isChecked());
  splitter_->restoreState(settings.value("load/split").toByteArray());
  connect(LoadAction, &QAction::toggled, this, [this](bool shown) {
    strip_->setVisible(shown);
    WindowSettings().setValue("load/shown", shown);
    ShowLoad();
  });
  LegendAction = view->addAction(kLegendCaption);
  connect(LegendAction, &QAction::triggered, this, [this] { LegendWindow(this).exec(); });
  connect(panel_, &SidePanel::revealed, this, [this] { Shown(); });
  connect(panel_->Proposal(), &ProposalPanel::changed, this, [this] {
    statusBar()->clearMessage();  // the notice of the proposal is over
    Shown();
  });
}

}  // namespace velmora
