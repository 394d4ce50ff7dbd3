#pragma once

#include <QDialog>
#include <memory>

#include "lotdetail/process_dialogs.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmora {

// Adding following steps to a plan: the plan's arrangement, the chain with tick boxes, "追加実施"
// and "追加キャンセル". The rules are the model's; the dialog shows it and hands it the clicks.
class AddPlanDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AddPlanDialog(std::shared_ptr<lotdetail::AddPlan> dialog, QWidget* parent = nullptr);

  QLineEdit* Text1 = nullptr;
  QListWidget* NList = nullptr;
  QPushButton* Command3 = nullptr;  // "追加実施"
  QPushButton* Command1 = nullptr;  // "追加キャンセル"

  void done(int result) override;

 private:
  void ShowTicks();

  std::shared_ptr<lotdetail::AddPlan> model_;
};

// The process chain around a plan's arrangement, for reading; "照会終了" closes it.
class ShowPlanDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ShowPlanDialog(std::shared_ptr<lotdetail::ShowPlan> dialog, QWidget* parent = nullptr);

  QLineEdit* Text1 = nullptr;
  QListWidget* NList = nullptr;
  QPushButton* Command1 = nullptr;  // "照会終了"

  void done(int result) override;

 private:
  void ShowTicks();

  std::shared_ptr<lotdetail::ShowPlan> model_;
};

}  // namespace velmora
