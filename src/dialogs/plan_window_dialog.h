#pragma once

#include <memory>
#include <string>

#include "dialogs/model_dialog.h"
#include "lotdetail/plan_window.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmora {

// The lot detail window of one plan entry. The window takes Enter from every control for the
// model's confirmation and navigation, Escape is no way out (the close writes back), and it
// closes only when the model's close went through.
class PlanWindowDialog : public ModelDialog {
  Q_OBJECT

 public:
  explicit PlanWindowDialog(std::shared_ptr<lotdetail::PlanWindow> window,
                            QWidget* parent = nullptr);

  // A text box of the model by name ("startDate"), or nothing.
  QLineEdit* Box(const std::string& name) const;
  QComboBox* machine = nullptr;
  QListWidget* NList = nullptr;
  QPushButton* finish = nullptr;  // "変更完了"
  QPushButton* splitProcesses = nullptr;
  QPushButton* splitLot = nullptr;

 protected:
  // Enter moves on from wherever the focus is, a button included: it never presses one.
  void EnterKey(const std::string& control) override;

 private:
  std::shared_ptr<lotdetail::PlanWindow> window_;
};

}  // namespace velmora
