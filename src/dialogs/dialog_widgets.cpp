#include "dialogs/dialog_widgets.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>

namespace velmora {
namespace {

QStringList ToStrings(const std::vector<std::string>& lines) {
  QStringList items;
  for (const std::string& line : lines) items << QString::fromStdString(line);
  return items;
}

QStringList Shown(const QListWidget* list) {
  QStringList shown;
  for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
  return shown;
}

std::vector<int> SelectedRows(const QListWidget* list) {
  std::vector<int> rows;
  for (int i = 0; i < list->count(); ++i) {
    if (list->item(i)->isSelected()) rows.push_back(i);
  }
  return rows;
}

}  // namespace

void SetText(QLineEdit* box, const std::string& text) {
  const QString value = QString::fromStdString(text);
  if (box->text() != value) box->setText(value);
}

void SetLines(QListWidget* list, const std::vector<std::string>& lines) {
  const QStringList items = ToStrings(lines);
  if (Shown(list) == items) return;
  const QSignalBlocker quiet(list);
  list->clear();
  list->addItems(items);
}

void ShowCurrentLine(QListWidget* list, const std::vector<int>& selected) {
  if (SelectedRows(list) == selected) return;
  const QSignalBlocker quiet(list);
  list->clearSelection();
  list->setCurrentRow(selected.empty() ? -1 : selected.front());
}

void ShowSelection(QListWidget* list, const std::vector<int>& selected) {
  const QSignalBlocker quiet(list);
  for (int i = 0; i < list->count(); ++i) {
    list->item(i)->setSelected(std::find(selected.begin(), selected.end(), i) != selected.end());
  }
}

void ShowTicks(QListWidget* list, const ControlState& state) {
  const QSignalBlocker quiet(list);
  if (Shown(list) != ToStrings(state.Lines)) {
    list->clear();
    for (const std::string& line : state.Lines) {
      auto* item = new QListWidgetItem(QString::fromStdString(line), list);
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    }
  }
  for (int i = 0; i < list->count(); ++i) {
    const auto line = static_cast<std::size_t>(i);
    const bool ticked = line < state.Ticked.size() && state.Ticked[line];
    list->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
  }
}

void ShowDropDown(QComboBox* box, const ControlState& state) {
  const QSignalBlocker quiet(box);
  const QStringList items = ToStrings(state.Lines);
  QStringList shown;
  for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
  if (shown != items) {
    box->clear();
    box->addItems(items);
  }
  const QString value = QString::fromStdString(state.Text);
  if (!box->isEditable()) {
    box->setCurrentIndex(box->findText(value));
  } else if (box->currentText() != value) {
    box->setEditText(value);
  }
}

bool IsEnter(const QKeyEvent* key) {
  return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

QLineEdit* TextBoxOf(QWidget* widget) {
  if (auto* dropDown = qobject_cast<QComboBox*>(widget)) return dropDown->lineEdit();
  return qobject_cast<QLineEdit*>(widget);
}

}  // namespace velmora
