#pragma once

#include <memory>

#include "dialogs/model_dialog.h"
#include "lotdetail/lot_split.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmora {

// "ロット分割": the members of the plan with the count of each that goes to the new lot. A
// clicked member is counted in the count box, whose Enter takes the count.
class LotSplitDialog : public ModelDialog {
  Q_OBJECT

 public:
  explicit LotSplitDialog(std::shared_ptr<lotdetail::BunWindow> dialog, QWidget* parent = nullptr);

  QListWidget* NList = nullptr;
  QListWidget* GList = nullptr;
  QLineEdit* memberNo = nullptr;
  QLineEdit* splitCount = nullptr;
  QLineEdit* innerTotal = nullptr;
  QLineEdit* outerTotal = nullptr;
  QPushButton* split = nullptr;   // "分割実施"
  QPushButton* cancel = nullptr;  // "分割キャンセル"
};

}  // namespace velmora
