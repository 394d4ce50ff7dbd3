#include "app/select_plan_dialog.h"

#include <QFontDatabase>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

SelectPlanDialog::SelectPlanDialog(std::shared_ptr<lotdetail::SelectPlan> chooser, QWidget* parent)
    : QDialog(parent), chooser_(std::move(chooser)) {
  setWindowTitle(lotdetail::kSearchCaption);
  auto* column = new QVBoxLayout(this);
  NList = new QListWidget(this);
  NList->setObjectName("NList");
  NList->setMinimumSize(520, 240);
  // The lines are columns of numbers and codes.
  NList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  for (const std::string& line : chooser_->NList) NList->addItem(QString::fromStdString(line));
  column->addWidget(NList, 1);
  Command1 = new QPushButton(lotdetail::kChooseCaption, this);
  Command1->setObjectName("Command1");
  Command1->setDefault(true);
  column->addWidget(Command1, 0, Qt::AlignRight);

  connect(NList, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) chooser_->Select("NList", {row});
  });
  connect(NList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    chooser_->DblClick("NList", NList->row(item));
    CloseWhenChosen();
  });
  connect(Command1, &QPushButton::clicked, this, [this] {
    chooser_->Command1_Click();
    CloseWhenChosen();
  });
}

void SelectPlanDialog::CloseWhenChosen() {
  if (chooser_->Closed()) accept();
}

void SelectPlanDialog::done(int result) {
  // The close box and Escape choose nothing.
  if (!chooser_->Closed()) chooser_->Close();
  QDialog::done(result);
}

void ShowSelectPlan(std::shared_ptr<lotdetail::SelectPlan> chooser, QWidget* parent) {
  auto report = std::move(chooser->Chosen);
  int chosen = 0;
  chooser->Chosen = [&chosen](int line) { chosen = line; };
  {
    SelectPlanDialog dialog(chooser, parent);
    dialog.exec();
  }
  chooser->Chosen = nullptr;
  if (report) report(chosen);
}

}  // namespace velmora
