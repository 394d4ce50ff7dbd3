#pragma once

#include <memory>

#include "dialogs/model_dialog.h"
#include "lotdetail/plan_change.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmora {

// "計画変更": the parent items of the plan's component with a share of the plan each, and the
// parents' existing arrangements for reference. A share is entered with Enter from box to box.
class PlanChangeDialog : public ModelDialog {
  Q_OBJECT

 public:
  explicit PlanChangeDialog(std::shared_ptr<lotdetail::PlanChange> dialog,
                            QWidget* parent = nullptr);

  QLineEdit* memberNo = nullptr;
  QListWidget* ZList = nullptr;
  QListWidget* MList = nullptr;
  QListWidget* KList = nullptr;
  QLineEdit* shareQty = nullptr;
  QLineEdit* shareDate = nullptr;
  QComboBox* machine = nullptr;
  QPushButton* split = nullptr;  // "分割実施"
};

}  // namespace velmora
