#pragma once

#include <QDialog>
#include <memory>

#include "lotdetail/plan_search.h"

class QListWidget;
class QPushButton;

namespace velmora {

// The chooser of a search with several hits: one line per plan and "選択". A double click
// chooses its line; closing the window chooses nothing. The choice is the model's.
class SelectPlanDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SelectPlanDialog(std::shared_ptr<lotdetail::SelectPlan> chooser,
                            QWidget* parent = nullptr);

  QListWidget* NList = nullptr;
  QPushButton* Command1 = nullptr;  // "選択"

  void done(int result) override;

 private:
  void CloseWhenChosen();

  std::shared_ptr<lotdetail::SelectPlan> chooser_;
};

// Shows the chooser modally and reports its choice once the window is gone, so a chosen plan's
// window does not open on top of the chooser.
void ShowSelectPlan(std::shared_ptr<lotdetail::SelectPlan> chooser, QWidget* parent);

}  // namespace velmora
