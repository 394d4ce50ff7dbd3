#pragma once

#include <map>
#include <memory>
#include <string>

#include "common/datetime.h"
#include "db/connection.h"
#include "dialogs/model_dialog.h"
#include "startup/category_selection.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmora {

// The modal selection of the process category and the period ("工程分類指定"), bound to the
// selection window of category_selection.h. Escape does not close it; キャンセル asks whether to
// end. After exec(), Selection() holds what the window showed when it was unloaded, for
// PublishSelection.
class KBunSelect : public ModelDialog {
  Q_OBJECT

 public:
  KBunSelect(db::Connection& connection, std::string commandLine, std::string rememberedCode,
             DateTime today, Questions& questions,
             const std::map<std::string, PeriodPrefill>& rememberedPeriods = {},
             QWidget* parent = nullptr);

  const CategorySelection& Selection() const { return window_->Selection; }

  QListWidget* ComboKBun = nullptr;
  QLineEdit* strYYMMDD = nullptr;
  QLineEdit* endYYMMDD = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  KBunSelect(std::shared_ptr<CategoryWindow> window, QWidget* parent);

  std::shared_ptr<CategoryWindow> window_;
  bool activated_ = false;
};

}  // namespace velmora
