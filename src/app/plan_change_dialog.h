#pragma once

#include <QDialog>
#include <memory>

#include "lotdetail/plan_change.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmora {

// "計画変更": the parent items of the plan's component with a share of the plan each, and the
// parents' existing arrangements for reference. The rules are the model's.
class PlanChangeDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PlanChangeDialog(std::shared_ptr<lotdetail::PlanChange> dialog,
                            QWidget* parent = nullptr);

  QLineEdit* Text1 = nullptr;
  QListWidget* ZList = nullptr;
  QListWidget* MList = nullptr;
  QListWidget* KList = nullptr;
  QLineEdit* TextSuryo = nullptr;
  QLineEdit* TextDate = nullptr;
  QComboBox* Text5 = nullptr;
  QPushButton* Command1 = nullptr;  // "分割実施"

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowModel();
  void FocusModel();

  std::shared_ptr<lotdetail::PlanChange> model_;
};

}  // namespace velmora
