#pragma once

#include <memory>

#include "app/level_window.h"
#include "dialogs/model_dialog.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmora {

// The levelling dialog's window: the machine rows with a tick each, the days, the check box
// that lets plans change machine, the seconds, and 計算 / 閉じる. Enter in a field presses 計算.
class LevelDialog : public ModelDialog {
  Q_OBJECT

 public:
  LevelDialog(std::shared_ptr<LevelWindow> window, QWidget* parent = nullptr);

  // Controls, named as the window model names them.
  QListWidget* machines = nullptr;
  QPushButton* allMachines = nullptr;
  QPushButton* noMachines = nullptr;
  QLineEdit* firstDay = nullptr;
  QLineEdit* lastDay = nullptr;
  QCheckBox* otherMachines = nullptr;
  QLineEdit* budget = nullptr;
  QPushButton* compute = nullptr;
  QPushButton* closeButton = nullptr;  // "close"; the name close() is the window's own
};

}  // namespace velmora
