#pragma once

#include <QDialog>
#include <map>
#include <memory>
#include <string>

#include "lotdetail/plan_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmora {

// The lot detail window of one plan entry. The rules are the window model's: this dialog shows
// its texts, lists and buttons and hands it the user's typing, Enter, focus changes and clicks.
// The window takes Enter from every control (the model's confirmation and navigation); it
// closes only when the model's close went through.
class PlanWindowDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PlanWindowDialog(std::shared_ptr<lotdetail::PlanWindow> window,
                            QWidget* parent = nullptr);

  // A text box of the model by name ("Text7"), or nothing.
  QLineEdit* Box(const std::string& name) const;
  QComboBox* Text5 = nullptr;
  QComboBox* Text12 = nullptr;
  QListWidget* NList = nullptr;
  QListWidget* GList = nullptr;
  QListWidget* JList = nullptr;
  QLabel* Label4 = nullptr;
  QPushButton* Command1 = nullptr;  // "変更完了"
  QPushButton* Command2 = nullptr;
  QPushButton* Command3 = nullptr;
  QPushButton* Command4 = nullptr;
  QPushButton* Command5 = nullptr;
  QPushButton* Command6 = nullptr;
  QPushButton* Command7 = nullptr;  // "××削除××"

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLineEdit* AddBox(const char* name);
  QComboBox* AddDropDown(const char* name);
  QPushButton* AddButton(const char* name, const lotdetail::Button& model);
  void ButtonClicked(const char* name);
  void KeyEnter();
  // The model control a widget belongs to (a drop-down's own line edit counts as the
  // drop-down), or "".
  std::string ControlOf(QObject* widget) const;
  void ShowModel();
  void FocusModel();

  std::shared_ptr<lotdetail::PlanWindow> window_;
  std::map<std::string, QLineEdit*> boxes_;
};

}  // namespace velmora
