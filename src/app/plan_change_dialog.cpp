#include "app/plan_change_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/dialog_widgets.h"

namespace velmora {
namespace {

QListWidget* TitledList(QBoxLayout* row, QWidget* parent, const char* name, const char* title,
                        int height) {
  auto* box = new QGroupBox(title, parent);
  auto* inside = new QVBoxLayout(box);
  QListWidget* list = FixedWidthList(box, name);
  list->setMinimumHeight(height);
  inside->addWidget(list);
  row->addWidget(box, 1);
  return list;
}

}  // namespace

PlanChangeDialog::PlanChangeDialog(std::shared_ptr<lotdetail::PlanChange> dialog, QWidget* parent)
    : QDialog(parent), model_(std::move(dialog)) {
  setWindowTitle(lotdetail::kPlanChangeCaption);
  auto* column = new QVBoxLayout(this);
  auto* top = new QHBoxLayout();
  top->addWidget(new QLabel("手配番号", this));
  Text1 = ReadOnlyBox(this, "Text1");
  top->addWidget(Text1);
  top->addStretch(1);
  column->addLayout(top);

  auto* parents = new QVBoxLayout();
  ZList = TitledList(parents, this, "ZList", "上位品目 (在庫/配分数 日付 機械)", 160);
  ZList->setMinimumWidth(900);
  column->addLayout(parents, 2);
  auto* existing = new QHBoxLayout();
  MList = TitledList(existing, this, "MList", "未割付の手配", 110);
  KList = TitledList(existing, this, "KList", "機械割付済の手配", 110);
  MList->setEnabled(false);
  KList->setEnabled(false);
  column->addLayout(existing, 1);

  auto* share = new QHBoxLayout();
  TextSuryo = new QLineEdit(this);
  TextSuryo->setObjectName("TextSuryo");
  TextDate = new QLineEdit(this);
  TextDate->setObjectName("TextDate");
  Text5 = new QComboBox(this);
  Text5->setObjectName("Text5");
  Text5->setMinimumWidth(140);
  for (const std::string& code : model_->Text5List) Text5->addItem(QString::fromStdString(code));
  share->addWidget(new QLabel("数量", this));
  share->addWidget(TextSuryo);
  share->addWidget(new QLabel("開始日", this));
  share->addWidget(TextDate);
  share->addWidget(new QLabel("機械", this));
  share->addWidget(Text5);
  share->addStretch(1);
  Command1 = new QPushButton("分割実施", this);
  Command1->setObjectName("Command1");
  Command1->setAutoDefault(false);
  share->addWidget(Command1);
  column->addLayout(share);

  connect(ZList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    model_->Select("ZList", {ZList->row(item)});
    ShowModel();
    FocusModel();
  });
  connect(TextSuryo, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_->Type("TextSuryo", text.toStdString()); });
  connect(TextDate, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_->Type("TextDate", text.toStdString()); });
  // Chosen by mouse or keyboard; the model's own changes are shown with the signal blocked.
  connect(Text5, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) model_->Select("Text5", {index});
  });
  connect(Command1, &QPushButton::clicked, this, [this] {
    model_->Command1_Click();
    if (model_->Closed()) {
      accept();
      return;
    }
    ShowModel();
  });
  for (QWidget* w : std::initializer_list<QWidget*>{TextSuryo, TextDate, Text5}) {
    w->installEventFilter(this);
  }
  ShowModel();
}

bool PlanChangeDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && IsEnter(static_cast<QKeyEvent*>(event))) {
    model_->Enter(watched->objectName().toStdString());
    ShowModel();
    FocusModel();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void PlanChangeDialog::ShowModel() {
  const lotdetail::PlanChange& m = *model_;
  SetText(Text1, m.Text1);
  SetLines(ZList, m.ZList);
  SetLines(MList, m.MList);
  SetLines(KList, m.KList);
  ShowCurrentLine(ZList, m.ZListIndex);
  ShowCurrentLine(MList, m.MListIndex);
  ShowCurrentLine(KList, m.KListIndex);
  SetText(TextSuryo, m.TextSuryo);
  SetText(TextDate, m.TextDate);
  const QSignalBlocker quiet(Text5);
  Text5->setCurrentIndex(Text5->findText(QString::fromStdString(m.Text5)));
}

void PlanChangeDialog::FocusModel() {
  QWidget* target = findChild<QWidget*>(QString::fromStdString(model_->Focus));
  if (target == nullptr) return;
  target->setFocus();
  if (auto* box = qobject_cast<QLineEdit*>(target)) box->selectAll();
}

void PlanChangeDialog::done(int result) {
  if (!model_->Closed()) model_->Close();
  QDialog::done(result);
}

}  // namespace velmora
