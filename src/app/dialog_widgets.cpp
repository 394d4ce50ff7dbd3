#include "app/dialog_widgets.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

namespace velmora {

void SetText(QLineEdit* box, const std::string& text) {
  const QString value = QString::fromStdString(text);
  if (box->text() != value) box->setText(value);
}

void SetLines(QListWidget* list, const std::vector<std::string>& lines) {
  QStringList items;
  for (const std::string& line : lines) items << QString::fromStdString(line);
  QStringList shown;
  for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
  if (shown == items) return;
  list->clear();
  list->addItems(items);
}

void ShowCurrentLine(QListWidget* list, const std::optional<int>& line) {
  const QSignalBlocker quiet(list);
  list->clearSelection();
  list->setCurrentRow(line ? *line : -1);
}

bool IsEnter(const QKeyEvent* key) {
  return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

QListWidget* FixedWidthList(QWidget* parent, const char* name) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  return list;
}

QLineEdit* ReadOnlyBox(QWidget* parent, const char* name) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::ClickFocus);
  return box;
}

}  // namespace velmora
