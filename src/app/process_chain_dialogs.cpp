#include "app/process_chain_dialogs.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace velmora {
namespace {

QLineEdit* ReadOnlyBox(QWidget* parent, const std::string& text) {
  auto* box = new QLineEdit(QString::fromStdString(text), parent);
  box->setObjectName("Text1");
  box->setReadOnly(true);
  return box;
}

QListWidget* ChainList(QWidget* parent, const lotdetail::ChainList& chain) {
  auto* list = new QListWidget(parent);
  list->setObjectName("NList");
  list->setMinimumSize(420, 220);
  for (const std::string& line : chain.Lines) {
    auto* item = new QListWidgetItem(QString::fromStdString(line), list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  }
  return list;
}

// The model decides every tick; the widget only mirrors it, without echoing the change back.
void MirrorTicks(QListWidget* list, const lotdetail::ChainList& chain) {
  const QSignalBlocker quiet(list);
  for (int i = 0; i < list->count(); ++i) {
    list->item(i)->setCheckState(chain.Ticked[static_cast<std::size_t>(i)] ? Qt::Checked
                                                                           : Qt::Unchecked);
  }
}

}  // namespace

AddPlanDialog::AddPlanDialog(std::shared_ptr<lotdetail::AddPlan> dialog, QWidget* parent)
    : QDialog(parent), model_(std::move(dialog)) {
  setWindowTitle(QString::fromUtf8("工程追加"));
  auto* column = new QVBoxLayout(this);
  Text1 = ReadOnlyBox(this, model_->Text1);
  column->addWidget(Text1);
  NList = ChainList(this, model_->NList);
  column->addWidget(NList, 1);
  auto* buttons = new QHBoxLayout();
  Command3 = new QPushButton(QString::fromUtf8("追加実施"), this);
  Command3->setObjectName("Command3");
  Command1 = new QPushButton(QString::fromUtf8("追加キャンセル"), this);
  Command1->setObjectName("Command1");
  buttons->addStretch(1);
  buttons->addWidget(Command3);
  buttons->addWidget(Command1);
  column->addLayout(buttons);
  ShowTicks();

  connect(NList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    model_->Check("NList", NList->row(item));
    ShowTicks();
  });
  connect(Command3, &QPushButton::clicked, this, [this] {
    model_->Command3_Click();
    if (model_->Closed()) accept();
  });
  connect(Command1, &QPushButton::clicked, this, [this] {
    model_->Command1_Click();
    reject();
  });
}

void AddPlanDialog::ShowTicks() {
  MirrorTicks(NList, model_->NList);
}

void AddPlanDialog::done(int result) {
  // The close box and Escape cancel.
  if (!model_->Closed()) model_->Close();
  QDialog::done(result);
}

ShowPlanDialog::ShowPlanDialog(std::shared_ptr<lotdetail::ShowPlan> dialog, QWidget* parent)
    : QDialog(parent), model_(std::move(dialog)) {
  setWindowTitle(QString::fromUtf8("工程照会"));
  auto* column = new QVBoxLayout(this);
  Text1 = ReadOnlyBox(this, model_->Text1);
  column->addWidget(Text1);
  NList = ChainList(this, model_->NList);
  column->addWidget(NList, 1);
  Command1 = new QPushButton(QString::fromUtf8("照会終了"), this);
  Command1->setObjectName("Command1");
  column->addWidget(Command1, 0, Qt::AlignRight);
  ShowTicks();

  connect(NList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    model_->Check("NList", NList->row(item));
    ShowTicks();
  });
  connect(Command1, &QPushButton::clicked, this, [this] {
    model_->Command1_Click();
    accept();
  });
}

void ShowPlanDialog::ShowTicks() {
  MirrorTicks(NList, model_->NList);
}

void ShowPlanDialog::done(int result) {
  if (!model_->Closed()) model_->Close();
  QDialog::done(result);
}

}  // namespace velmora
