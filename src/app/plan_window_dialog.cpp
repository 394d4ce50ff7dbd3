#include "app/plan_window_dialog.h"

#include "app/dialog_widgets.h"
#include "app/restructuring_dialogs.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

namespace velmora {
namespace {

using lotdetail::PlanWindow;

void SetDropDown(QComboBox* box, const std::vector<std::string>& lines, const std::string& text) {
  QStringList items;
  for (const std::string& line : lines) items << QString::fromStdString(line);
  QStringList shown;
  for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
  if (shown != items) {
    box->clear();
    box->addItems(items);
  }
  const QString value = QString::fromStdString(text);
  if (box->currentText() != value) box->setEditText(value);
}

void ShowSelection(QListWidget* list, const std::vector<int>& selected) {
  const QSignalBlocker quiet(list);
  for (int i = 0; i < list->count(); ++i) {
    list->item(i)->setSelected(std::find(selected.begin(), selected.end(), i) != selected.end());
  }
}

// One row of label and field pairs in a grid: each pair takes a label column and a field
// column; a pair of two widgets (a date and its time) shares its field column.
void Place(QGridLayout* grid, int row, int pair, QWidget* label,
           std::initializer_list<QWidget*> fields) {
  grid->addWidget(label, row, pair * 2, Qt::AlignRight | Qt::AlignVCenter);
  if (fields.size() == 1) {
    grid->addWidget(*fields.begin(), row, pair * 2 + 1);
    return;
  }
  auto* line = new QHBoxLayout();
  line->setSpacing(4);
  for (QWidget* field : fields) line->addWidget(field);
  grid->addLayout(line, row, pair * 2 + 1);
}

QGridLayout* Group(QVBoxLayout* column, QWidget* parent, const char* title) {
  auto* box = new QGroupBox(title, parent);
  auto* grid = new QGridLayout(box);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(4);
  column->addWidget(box);
  return grid;
}

}  // namespace

PlanWindowDialog::PlanWindowDialog(std::shared_ptr<PlanWindow> window, QWidget* parent)
    : QDialog(parent), window_(std::move(window)) {
  setWindowTitle(lotdetail::kPlanWindowCaption);
  // The model outlives this dialog; a late call finds no parent rather than a dead one.
  const QPointer<QWidget> self(this);
  window_->ShowDialog = [self](const std::shared_ptr<editing::ScriptDialog>& d) {
    ShowRestructuringDialog(d, self);
  };
  auto* column = new QVBoxLayout(this);
  auto label = [this](const char* text) { return new QLabel(text, this); };

  QGridLayout* lot = Group(column, this, "手配");
  Label4 = label("計画番号");
  Label4->setObjectName("Label4");
  Place(lot, 0, 0, label("手配番号"), {AddBox("Text14")});
  Place(lot, 0, 1, Label4, {AddBox("Text4")});
  Place(lot, 0, 2, label("品名コード"), {AddBox("Text10")});
  Place(lot, 1, 0, label("工程"), {AddBox("Text9")});
  Place(lot, 1, 1, label("順序"), {AddBox("Text23")});
  Place(lot, 1, 2, label("金型"), {AddBox("Text29")});
  lot->addWidget(label("型番名"), 2, 0, Qt::AlignRight | Qt::AlignVCenter);
  lot->addWidget(AddBox("Text2"), 2, 1, 1, 5);

  QGridLayout* dates = Group(column, this, "日程");
  Place(dates, 0, 0, label("開始"), {AddBox("Text7"), AddBox("Text1")});
  Place(dates, 0, 1, label("終了"), {AddBox("Text8"), AddBox("Text6")});
  Place(dates, 0, 2, label("初期納期"), {AddBox("Text11")});
  Text5 = AddDropDown("Text5");
  Text12 = AddDropDown("Text12");
  Place(dates, 1, 0, label("機械"), {Text5});
  Place(dates, 1, 1, label("指示先"), {Text12});
  Place(dates, 1, 2, label("固定"), {AddBox("Text18")});

  QGridLayout* quantities = Group(column, this, "数量");
  Place(quantities, 0, 0, label("手配数"), {AddBox("Text3")});
  Place(quantities, 0, 1, label("計画数"), {AddBox("Text17")});
  Place(quantities, 0, 2, label("実績数"), {AddBox("Text20")});
  Place(quantities, 0, 3, label("最終実績日"), {AddBox("Text21")});
  Place(quantities, 1, 0, label("入数"), {AddBox("Text22")});
  Place(quantities, 1, 1, label("取数"), {AddBox("Text25")});
  Place(quantities, 1, 2, label("端数/箱数"), {AddBox("Text28"), AddBox("Text27")});
  Place(quantities, 1, 3, label("重量"), {AddBox("Text26")});

  QGridLayout* times = Group(column, this, "時間");
  Place(times, 0, 0, label("段取"), {AddBox("Text13")});
  Place(times, 0, 1, label("サイクル"), {AddBox("Text15")});
  Place(times, 0, 2, label("総時間"), {AddBox("Text16")});
  Place(times, 0, 3, label("作業時間"), {AddBox("Text19")});
  Place(times, 1, 0, label("人員"), {AddBox("Text40")});
  Place(times, 1, 1, label("型サイクル"), {AddBox("Text24")});
  Place(times, 1, 2, label("実績時間"), {AddBox("Text42")});

  auto addList = [this](QBoxLayout* row, const char* name, const char* title, int height) {
    auto* box = new QGroupBox(title, this);
    auto* inside = new QVBoxLayout(box);
    auto* list = new QListWidget(box);
    list->setObjectName(name);
    list->setMinimumHeight(height);
    inside->addWidget(list);
    row->addWidget(box, 1);
    return list;
  };
  auto* members = new QHBoxLayout();
  NList = addList(members, "NList", "構成手配 A", 70);
  GList = addList(members, "GList", "構成手配 B", 70);
  // Members are picked for the process split one click each.
  for (QListWidget* list : {NList, GList}) {
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
      std::vector<int> rows;
      for (const QModelIndex& index : list->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
      }
      window_->Select(list->objectName().toStdString(), rows);
    });
  }
  column->addLayout(members, 1);
  // The relation lines are long: they take the whole width, in fixed-width columns.
  JList = addList(column, "JList", "受注・所要計画", 100);
  JList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* buttons = new QHBoxLayout();
  Command2 = AddButton("Command2", window_->Command2);
  Command3 = AddButton("Command3", window_->Command3);
  Command4 = AddButton("Command4", window_->Command4);
  Command5 = AddButton("Command5", window_->Command5);
  Command6 = AddButton("Command6", window_->Command6);
  Command7 = AddButton("Command7", window_->Command7);
  Command1 = AddButton("Command1", window_->Command1);
  for (QPushButton* b : {Command2, Command3, Command4, Command5, Command6, Command7}) {
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  buttons->addWidget(Command1);
  column->addLayout(buttons);

  // Tab follows the model's tab indexes; the display-only boxes are reached by clicking only.
  std::vector<std::pair<int, QWidget*>> order;
  for (const auto& [name, box] : boxes_) {
    if (PlanWindow::TabIndex(name) >= 0) order.emplace_back(PlanWindow::TabIndex(name), box);
  }
  order.emplace_back(PlanWindow::TabIndex("Text5"), Text5);
  order.emplace_back(PlanWindow::TabIndex("Text12"), Text12);
  std::sort(order.begin(), order.end());
  for (std::size_t i = 1; i < order.size(); ++i) {
    setTabOrder(order[i - 1].second, order[i].second);
  }
  QWidget* previous = order.back().second;
  for (QWidget* next :
       std::initializer_list<QWidget*>{NList, GList, JList, Command2, Command3, Command4, Command5,
                                       Command6, Command7, Command1}) {
    setTabOrder(previous, next);
    previous = next;
  }

  // The window sees every key before its controls.
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);

  ShowModel();
  FocusModel();
}

QLineEdit* PlanWindowDialog::AddBox(const char* name) {
  auto* box = new QLineEdit(this);
  box->setObjectName(name);
  box->setMinimumWidth(90);
  if (PlanWindow::TabIndex(name) < 0) {
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
  }
  connect(box, &QLineEdit::textEdited, this,
          [this, name](const QString& text) { window_->Type(name, text.toStdString()); });
  boxes_[name] = box;
  return box;
}

QComboBox* PlanWindowDialog::AddDropDown(const char* name) {
  auto* box = new QComboBox(this);
  box->setObjectName(name);
  box->setEditable(true);
  // What is typed stays typed: the list holds the rows, not the user's entries.
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMinimumWidth(140);
  connect(box->lineEdit(), &QLineEdit::textEdited, this,
          [this, name](const QString& text) { window_->Type(name, text.toStdString()); });
  connect(box, &QComboBox::activated, this, [this, name](int index) {
    if (index < 0) return;
    window_->Select(name, {index});
    ShowModel();
  });
  return box;
}

QPushButton* PlanWindowDialog::AddButton(const char* name, const lotdetail::Button& model) {
  auto* button = new QPushButton(QString::fromStdString(model.Caption), this);
  button->setObjectName(name);
  // Enter belongs to the window's navigation: no button is the dialog's default.
  button->setAutoDefault(false);
  button->setDefault(false);
  connect(button, &QPushButton::clicked, this, [this, name] { ButtonClicked(name); });
  return button;
}

QLineEdit* PlanWindowDialog::Box(const std::string& name) const {
  const auto it = boxes_.find(name);
  return it == boxes_.end() ? nullptr : it->second;
}

std::string PlanWindowDialog::ControlOf(QObject* widget) const {
  for (QObject* o = widget; o != nullptr && o != this; o = o->parent()) {
    const std::string name = o->objectName().toStdString();
    if (boxes_.count(name) != 0 || name == "Text5" || name == "Text12" || name == "NList" ||
        name == "GList" || name == "JList" || (name.rfind("Command", 0) == 0 && name.size() == 8)) {
      return name;
    }
  }
  return "";
}

void PlanWindowDialog::done(int result) {
  // Every way of closing writes back; a refused close keeps the window on the field to fix.
  if (!window_->Closed() && !window_->QueryClose()) {
    ShowModel();
    FocusModel();
    return;
  }
  QDialog::done(result);
}

bool PlanWindowDialog::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (IsEnter(key)) {
        KeyEnter();
        return true;
      }
      // Escape is no way out: the close writes back, so it takes a deliberate click.
      if (key->key() == Qt::Key_Escape) return true;
      break;
    }
    case QEvent::FocusIn: {
      const std::string name = ControlOf(watched);
      if (name.empty()) break;
      window_->SetFocus(name);
      // Leaving the item code may have looked up the model name.
      ShowModel();
      if (PlanWindow::SelectsAllOnFocus(name)) {
        QLineEdit* box = name == "Text5"    ? Text5->lineEdit()
                         : name == "Text12" ? Text12->lineEdit()
                                            : Box(name);
        // After the press that focused it has placed the cursor.
        if (box != nullptr) QTimer::singleShot(0, box, &QLineEdit::selectAll);
      }
      break;
    }
    case QEvent::MouseButtonPress:
      if (watched == Label4) {
        window_->Click("Label4");
        QLineEdit* text4 = Box("Text4");
        text4->setFocus();
        QTimer::singleShot(0, text4, &QLineEdit::selectAll);
        return true;
      }
      break;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void PlanWindowDialog::keyPressEvent(QKeyEvent* event) {
  if (IsEnter(event)) {
    KeyEnter();
    return;
  }
  if (event->key() == Qt::Key_Escape) return;
  QDialog::keyPressEvent(event);
}

void PlanWindowDialog::KeyEnter() {
  if (const std::string name = ControlOf(focusWidget()); !name.empty()) window_->SetFocus(name);
  window_->KeyEnter();
  ShowModel();
  FocusModel();
}

void PlanWindowDialog::ButtonClicked(const char* name) {
  window_->Click(name);
  if (window_->Closed()) {
    accept();
    return;
  }
  ShowModel();
  FocusModel();
}

void PlanWindowDialog::ShowModel() {
  const PlanWindow& w = *window_;
  for (const auto& [control, text] : w.Show()) {
    if (QLineEdit* box = Box(control)) SetText(box, text);
  }
  SetDropDown(Text5, w.Text5List, w.Text5);
  SetDropDown(Text12, w.Text12List, w.Text12);
  SetLines(NList, w.NList);
  SetLines(GList, w.GList);
  ShowSelection(NList, w.NListSelected);
  ShowSelection(GList, w.GListSelected);
  SetLines(JList, w.JList);
  const std::pair<QPushButton*, const lotdetail::Button*> buttons[] = {
      {Command1, &w.Command1}, {Command2, &w.Command2}, {Command3, &w.Command3},
      {Command4, &w.Command4}, {Command5, &w.Command5}, {Command6, &w.Command6},
      {Command7, &w.Command7}};
  for (const auto& [button, model] : buttons) {
    button->setText(QString::fromStdString(model->Caption));
    button->setVisible(model->Visible);
    button->setEnabled(model->Enabled);
  }
}

void PlanWindowDialog::FocusModel() {
  QWidget* target = findChild<QWidget*>(QString::fromStdString(window_->Focus));
  if (target == nullptr || target->hasFocus()) return;
  target->setFocus();
  auto* box = qobject_cast<QLineEdit*>(target);
  if (auto* dropDown = qobject_cast<QComboBox*>(target)) box = dropDown->lineEdit();
  if (box != nullptr && PlanWindow::SelectsAllOnFocus(window_->Focus)) box->selectAll();
}

}  // namespace velmora
