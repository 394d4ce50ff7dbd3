#include "app/main_form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/main_form_load.h"
#include "app/program.h"
#include "chart/display_mode.h"
#include "common/errors.h"
#include "common/msgbox.h"
#include "ui/chart_view.h"

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
  bar->addWidget(KTbun);
  bar->addWidget(DayDispArea);
  bar->addWidget(Text1);
  bar->addWidget(Command4);
  bar->addStretch(1);
  bar->addWidget(Command8);
  bar->addWidget(Command9);
  column->addLayout(bar);

  view_ = new ui::ChartView(state_.Data, chart_, central);
  column->addWidget(view_, 1, Qt::AlignLeft | Qt::AlignTop);
  setCentralWidget(central);

  connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
  connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
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
}

void MainForm::Command4_Click() {
  chart::Command4_Click(state_.Data, chart_);
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
