#include "dialogs/model_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "dialogs/dialog_widgets.h"

namespace velmora {
namespace {

std::vector<int> SelectedRows(const QListWidget* list) {
  std::vector<int> rows;
  for (const QModelIndex& index : list->selectionModel()->selectedRows()) {
    rows.push_back(index.row());
  }
  return rows;
}

// After the press that gave the focus has placed the cursor.
void SelectAllLater(QLineEdit* box) {
  QTimer::singleShot(0, box, &QLineEdit::selectAll);
}

}  // namespace

ModelDialog::ModelDialog(std::shared_ptr<DialogModel> model, Outline outline, QWidget* parent)
    : QDialog(parent),
      model_(std::move(model)),
      escapeCloses_(outline.escapeCloses),
      enterEverywhere_(outline.enterEverywhere),
      selectAgain_(outline.selectAgain) {
  setWindowTitle(outline.title);
  controls_ = BuildLayout(this, outline.layout);
  for (const Placed& placed : controls_) Bind(placed);
  SetTabOrder(outline.tabOrder);
  // The window sees every key, focus and click before its controls.
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
  ShowModel();
  FocusModel();
}

void ModelDialog::Bind(const Placed& placed) {
  const std::string name = placed.control.name;
  const unsigned flags = placed.control.flags;
  const auto type = [this, name](const QString& text) { model_->Type(name, text.toStdString()); };
  const auto pick = [this, name](int index) {
    if (index >= 0) Act([this, &name, index] { model_->Select(name, {index}); }, false);
  };
  switch (placed.control.kind) {
    case Kind::Box: {
      auto* box = static_cast<QLineEdit*>(placed.widget);
      if ((flags & kEveryChange) != 0) {
        connect(box, &QLineEdit::textChanged, this, type);
      } else {
        connect(box, &QLineEdit::textEdited, this, type);
      }
      break;
    }
    case Kind::DropDown: {
      auto* box = static_cast<QComboBox*>(placed.widget);
      connect(box->lineEdit(), &QLineEdit::textEdited, this, type);
      connect(box, &QComboBox::activated, this, pick);
      break;
    }
    case Kind::Choice:
      // Chosen by mouse, keyboard or program alike.
      connect(static_cast<QComboBox*>(placed.widget), &QComboBox::currentIndexChanged, this, pick);
      break;
    case Kind::Button:
      connect(static_cast<QPushButton*>(placed.widget), &QPushButton::clicked, this,
              [this, name, flags] {
                Act([this, &name] { model_->Click(name); }, (flags & kKeepsFocus) == 0,
                    (flags & kCancels) != 0);
              });
      break;
    case Kind::Label:
    case Kind::ReadOnly:
    case Kind::Stretch:
      break;
    default:
      BindList(placed);
      break;
  }
}

void ModelDialog::BindList(const Placed& placed) {
  const std::string name = placed.control.name;
  auto* list = static_cast<QListWidget*>(placed.widget);
  // Lines the user selects are the list's own, which the model follows: nothing else changes.
  const auto follow = [this, name, list] { model_->Select(name, SelectedRows(list)); };
  switch (placed.control.kind) {
    case Kind::PickList:
      connect(list, &QListWidget::itemClicked, this, [this, name, list](QListWidgetItem* item) {
        Act([this, &name, line = list->row(item)] { model_->Select(name, {line}); });
      });
      break;
    case Kind::MultiList:
    case Kind::SelectList:
      connect(list, &QListWidget::itemSelectionChanged, this, follow);
      break;
    case Kind::CurrentList:
      connect(list, &QListWidget::currentRowChanged, this, [this, name](int row) {
        if (row >= 0) model_->Select(name, {row});
      });
      connect(list, &QListWidget::itemDoubleClicked, this,
              [this, name, list](QListWidgetItem* item) {
                Act([this, &name, line = list->row(item)] { model_->DblClick(name, line); });
              });
      break;
    case Kind::TickList:
      connect(list, &QListWidget::itemChanged, this, [this, name, list](QListWidgetItem* item) {
        Act([this, &name, line = list->row(item)] { model_->Check(name, line); }, false);
      });
      break;
    default:
      break;
  }
}

void ModelDialog::SetTabOrder(const std::vector<std::string>& first) {
  if (first.empty()) return;
  std::vector<QWidget*> order;
  for (const std::string& name : first) {
    if (const Placed* placed = Find(name)) order.push_back(placed->widget);
  }
  for (const Placed& placed : controls_) {
    const bool listed = std::find(first.begin(), first.end(), placed.control.name) != first.end();
    if (!listed && (placed.widget->focusPolicy() & Qt::TabFocus) != 0) {
      order.push_back(placed.widget);
    }
  }
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

QWidget* ModelDialog::Widget(std::string_view control) const {
  const Placed* placed = Find(control);
  return placed == nullptr ? nullptr : placed->widget;
}

const Placed* ModelDialog::Find(std::string_view control) const {
  for (const Placed& placed : controls_) {
    if (placed.control.name == control) return &placed;
  }
  return nullptr;
}

const Placed* ModelDialog::ControlOf(QObject* widget) const {
  for (QObject* o = widget; o != nullptr && o != this; o = o->parent()) {
    for (const Placed& placed : controls_) {
      if (placed.widget == o) return &placed;
    }
  }
  return nullptr;
}

void ModelDialog::done(int result) {
  if (!model_->Closed()) {
    model_->Close();
    if (!model_->Closed()) {
      ShowModel();
      FocusModel();
      return;
    }
  }
  QDialog::done(result);
}

bool ModelDialog::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      if (KeyPressed(watched, static_cast<QKeyEvent*>(event))) return true;
      break;
    case QEvent::FocusIn:
      FocusArrived(watched);
      break;
    case QEvent::MouseButtonPress:
      if (LabelClicked(watched)) return true;
      break;
    case QEvent::MouseButtonDblClick:
      if (DoubleClicked(watched, static_cast<QMouseEvent*>(event))) return true;
      break;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void ModelDialog::keyPressEvent(QKeyEvent* event) {
  if (KeyPressed(this, event)) return;
  QDialog::keyPressEvent(event);
}

bool ModelDialog::KeyPressed(QObject* watched, const QKeyEvent* key) {
  if (IsEnter(key)) {
    const Placed* placed = ControlOf(enterEverywhere_ ? focusWidget() : watched);
    const bool taken = placed != nullptr && (placed->control.flags & kTakesEnter) != 0;
    if (enterEverywhere_ || taken) {
      const std::string name = placed == nullptr ? "" : placed->control.name;
      Act([this, &name] { EnterKey(name); });
      return true;
    }
    // Enter on a focused button presses it, whether or not it is the dialog's default.
    auto* button = qobject_cast<QPushButton*>(placed == nullptr ? nullptr : placed->widget);
    if (button != nullptr && button == watched && button->hasFocus() && button->isEnabled()) {
      button->click();
      return true;
    }
  }
  // An Escape that is no way out reaches neither a control nor the dialog's reject.
  return key->key() == Qt::Key_Escape && !escapeCloses_;
}

void ModelDialog::EnterKey(const std::string& control) {
  model_->Enter(control);
}

void ModelDialog::FocusArrived(QObject* watched) {
  const Placed* placed = ControlOf(watched);
  if (placed == nullptr) return;
  if (model_->FocusMoved(placed->control.name)) ShowModel();
  if ((placed->control.flags & kSelectOnFocus) != 0) {
    if (QLineEdit* box = TextBoxOf(placed->widget)) SelectAllLater(box);
  }
}

bool ModelDialog::LabelClicked(QObject* watched) {
  const Placed* placed = ControlOf(watched);
  if (placed == nullptr || placed->control.kind != Kind::Label) return false;
  model_->Click(placed->control.name);
  if (QWidget* field = static_cast<QLabel*>(placed->widget)->buddy()) {
    field->setFocus();
    if (QLineEdit* box = TextBoxOf(field)) SelectAllLater(box);
  }
  return true;
}

bool ModelDialog::DoubleClicked(QObject* watched, const QMouseEvent* event) {
  const Placed* placed = ControlOf(watched);
  if (placed == nullptr || placed->control.kind != Kind::SelectList) return false;
  auto* list = static_cast<QListWidget*>(placed->widget);
  if (watched != list->viewport()) return false;
  const std::string& name = placed->control.name;
  const int line = list->indexAt(event->position().toPoint()).row();
  Act([this, &name, line] { model_->DblClick(name, line); });
  return true;
}

void ModelDialog::Act(const std::function<void()>& action, bool refocus, bool cancel) {
  action();
  if (model_->Closed()) {
    if (cancel) {
      reject();
    } else {
      accept();
    }
    return;
  }
  ShowModel();
  if (refocus) FocusModel();
}

void ModelDialog::ShowModel() {
  for (const Placed& placed : controls_) ShowControl(placed, model_->State(placed.control.name));
}

void ModelDialog::ShowControl(const Placed& placed, const ControlState& state) {
  QWidget* widget = placed.widget;
  auto* list = qobject_cast<QListWidget*>(widget);
  switch (placed.control.kind) {
    case Kind::Box:
    case Kind::ReadOnly:
      SetText(static_cast<QLineEdit*>(widget), state.Text);
      break;
    case Kind::DropDown:
    case Kind::Choice:
      ShowDropDown(static_cast<QComboBox*>(widget), state);
      break;
    case Kind::Button: {
      auto* button = static_cast<QPushButton*>(widget);
      const QString caption =
          placed.control.text.isEmpty() ? QString::fromStdString(state.Text) : placed.control.text;
      if (button->text() != caption) button->setText(caption);
      break;
    }
    case Kind::List:
    case Kind::CurrentList:
      SetLines(list, state.Lines);
      break;
    case Kind::PickList:
    case Kind::SelectList:
      SetLines(list, state.Lines);
      ShowCurrentLine(list, state.Selected);
      break;
    case Kind::MultiList:
      SetLines(list, state.Lines);
      ShowSelection(list, state.Selected);
      break;
    case Kind::TickList:
      ShowTicks(list, state);
      break;
    default:
      break;
  }
  widget->setEnabled(state.Enabled);
  if (widget->isVisibleTo(this) != state.Visible) widget->setVisible(state.Visible);
}

void ModelDialog::FocusModel() {
  const Placed* placed = Find(model_->Focused());
  if (placed == nullptr || !placed->widget->isEnabled()) return;
  QWidget* target = placed->widget;
  if (target->hasFocus() && !selectAgain_) return;
  target->setFocus();
  if ((placed->control.flags & kSelectAll) != 0) {
    if (QLineEdit* box = TextBoxOf(target)) box->selectAll();
  }
}

}  // namespace velmora
