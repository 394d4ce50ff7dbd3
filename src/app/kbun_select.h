#pragma once

#include <QDialog>
#include <string>

#include "app/category_selection.h"
#include "common/datetime.h"
#include "db/connection.h"

class QLineEdit;
class QListWidget;

namespace velmora {

// The modal selection of the process category and the period ("工程分類指定"). The logic is in
// category_selection.h; this window binds its controls to it. After exec(), Selection() holds
// what the window showed when it was unloaded, for PublishSelection.
class KBunSelect : public QDialog {
  Q_OBJECT

 public:
  KBunSelect(db::Connection& connection, std::string commandLine, std::string rememberedCode,
             DateTime today, QWidget* parent = nullptr);

  const CategorySelection& Selection() const { return selection_; }

  QListWidget* ComboKBun;
  QLineEdit* strYYMMDD;
  QLineEdit* endYYMMDD;

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Form_Load(db::Connection& connection, const std::string& rememberedCode);
  void Form_Activate();
  void strYYMMDD_KeyPressEnter();
  void endYYMMDD_KeyPressEnter();
  void ComboKBun_Accept();
  void ReadControls();

  std::string commandLine_;
  DateTime today_;
  CategorySelection selection_;
  bool activated_ = false;
};

}  // namespace velmora
