#pragma once

#include <memory>

#include "dialogs/model_dialog.h"
#include "lotdetail/plan_search.h"

class QListWidget;
class QPushButton;

namespace velmora {

// The chooser of a search with several hits: one line per plan and "選択". A double click
// chooses its line; closing the window chooses nothing. The choice is the model's.
class SelectPlanDialog : public ModelDialog {
  Q_OBJECT

 public:
  explicit SelectPlanDialog(std::shared_ptr<lotdetail::SelectPlan> chooser,
                            QWidget* parent = nullptr);

  QListWidget* NList = nullptr;
  QPushButton* choose = nullptr;  // "選択"
};

// Shows the chooser modally and reports its choice once the window is gone, so a chosen plan's
// window does not open on top of the chooser.
void ShowSelectPlan(std::shared_ptr<lotdetail::SelectPlan> chooser, QWidget* parent);

}  // namespace velmora
