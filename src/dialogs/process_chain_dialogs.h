#pragma once

#include <memory>

#include "dialogs/model_dialog.h"
#include "lotdetail/process_dialogs.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmora {

// Adding following steps to a plan: the plan's arrangement, the chain with tick boxes, "追加実施"
// and "追加キャンセル". The model decides every tick; the list only mirrors it.
class AddPlanDialog : public ModelDialog {
  Q_OBJECT

 public:
  explicit AddPlanDialog(std::shared_ptr<lotdetail::AddPlan> dialog, QWidget* parent = nullptr);

  QLineEdit* memberNo = nullptr;
  QListWidget* NList = nullptr;
  QPushButton* add = nullptr;     // "追加実施"
  QPushButton* cancel = nullptr;  // "追加キャンセル"
};

// The process chain around a plan's arrangement, for reading; "照会終了" closes it.
class ShowPlanDialog : public ModelDialog {
  Q_OBJECT

 public:
  explicit ShowPlanDialog(std::shared_ptr<lotdetail::ShowPlan> dialog, QWidget* parent = nullptr);

  QLineEdit* memberNo = nullptr;
  QListWidget* NList = nullptr;
  QPushButton* done = nullptr;  // "照会終了"
};

}  // namespace velmora
