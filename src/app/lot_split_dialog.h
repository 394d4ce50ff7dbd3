#pragma once

#include <QDialog>
#include <memory>

#include "lotdetail/lot_split.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmora {

// "ロット分割": the members of the plan with the count of each that goes to the new lot. The
// rules are the model's; the dialog shows it and hands it the clicks and the Enter key.
class LotSplitDialog : public QDialog {
  Q_OBJECT

 public:
  explicit LotSplitDialog(std::shared_ptr<lotdetail::BunWindow> dialog, QWidget* parent = nullptr);

  QListWidget* NList = nullptr;
  QListWidget* GList = nullptr;
  QLineEdit* Text1 = nullptr;
  QLineEdit* Text14 = nullptr;
  QLineEdit* Text2 = nullptr;
  QLineEdit* Text3 = nullptr;
  QPushButton* Command3 = nullptr;  // "分割実施"
  QPushButton* Command1 = nullptr;  // "分割キャンセル"

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowModel();

  std::shared_ptr<lotdetail::BunWindow> model_;
};

}  // namespace velmora
