#include "app/line_plan_dialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "common/date_text.h"

namespace velmora {
namespace {

QString TimeBoxName(int i) {
  return QStringLiteral("PlanTime(%1)").arg(i);
}

void SetText(QLineEdit* box, const std::string& text) {
  const QString value = QString::fromStdString(text);
  // Unchanged boxes keep their cursor and selection.
  if (box->text() != value) box->setText(value);
}

}  // namespace

QString LinePlanTitle(const PlanData& data, const editing::LinePlanWindow& window) {
  // Day index 2 is the period's first day.
  const DateTime day = data.PeriodStartDate().AddDays(window.DateNum - 2);
  std::string caption;
  const auto row = static_cast<std::size_t>(window.MachineNo);
  if (row < data.RowCaption.size()) caption = data.RowCaption[row];
  for (char& c : caption) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return QString::fromStdString(std::string(editing::kLinePlanCaption) + "  " + caption + "  " +
                                FormatSlashDate(day));
}

LinePlanDialog::LinePlanDialog(std::shared_ptr<editing::LinePlanWindow> window,
                               const QString& title, QWidget* parent)
    : QDialog(parent), window_(std::move(window)) {
  setWindowTitle(title);
  auto* column = new QVBoxLayout(this);
  auto* grid = new QGridLayout();
  grid->addWidget(new QLabel("開始", this), 0, 1, Qt::AlignHCenter);
  grid->addWidget(new QLabel("終了", this), 0, 3, Qt::AlignHCenter);
  for (int i = 0; i < 8; ++i) {
    auto* box = new QLineEdit(this);
    box->setObjectName(TimeBoxName(i));
    box->setFixedWidth(90);
    box->installEventFilter(this);
    PlanTime[static_cast<std::size_t>(i)] = box;
    const int row = i / 2 + 1;
    if (i % 2 == 0) {
      grid->addWidget(new QLabel(QString::number(row), this), row, 0);
      grid->addWidget(box, row, 1);
      grid->addWidget(new QLabel("–", this), row, 2, Qt::AlignHCenter);
    } else {
      grid->addWidget(box, row, 3);
    }
    connect(box, &QLineEdit::textEdited, this, [this, i](const QString& text) {
      window_->Type(TimeBoxName(i).toStdString(), text.toStdString());
    });
    connect(box, &QLineEdit::returnPressed, this, [this, i] { PlanTime_Enter(i); });
  }
  PlanSum = new QLineEdit(this);
  PlanSum->setObjectName("PlanSum");
  PlanSum->setFixedWidth(90);
  PlanSum->installEventFilter(this);
  connect(PlanSum, &QLineEdit::textEdited, this,
          [this](const QString& text) { window_->Type("PlanSum", text.toStdString()); });
  grid->addWidget(new QLabel("稼働時間（分）", this), 5, 0, 1, 2);
  grid->addWidget(PlanSum, 5, 3);
  column->addLayout(grid);

  Command1 = new QPushButton("変更", this);
  Command1->setObjectName("Command1");
  // Enter belongs to the time boxes: it must not press the button as a dialog's default would.
  Command1->setAutoDefault(false);
  Command1->setDefault(false);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  column->addWidget(Command1, 0, Qt::AlignRight);

  ShowModel();
  FocusModel();
}

void LinePlanDialog::done(int result) {
  // The close box and Escape leave the day as it was.
  if (!window_->Closed()) window_->Close();
  QDialog::done(result);
}

bool LinePlanDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (auto* box = qobject_cast<QLineEdit*>(watched)) {
      window_->Focus = box->objectName().toStdString();
      // After the press that focused it has placed the cursor.
      QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void LinePlanDialog::PlanTime_Enter(int index) {
  window_->PlanTime_KeyDown(index, editing::kEnterKey);
  ShowModel();
  FocusModel();
}

void LinePlanDialog::Command1_Click() {
  window_->Command1_Click();
  if (window_->Closed()) {
    accept();
    return;
  }
  ShowModel();
  FocusModel();
}

void LinePlanDialog::ShowModel() {
  for (std::size_t i = 0; i < PlanTime.size(); ++i) SetText(PlanTime[i], window_->PlanTime[i]);
  SetText(PlanSum, window_->PlanSum);
}

void LinePlanDialog::FocusModel() {
  if (auto* box = findChild<QLineEdit*>(QString::fromStdString(window_->Focus))) {
    box->setFocus();
    box->selectAll();
  }
}

}  // namespace velmora
