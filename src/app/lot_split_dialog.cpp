#include "app/lot_split_dialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialog_widgets.h"

namespace velmora {
namespace {

QListWidget* MemberList(QBoxLayout* row, QWidget* parent, const char* name, const char* title) {
  auto* box = new QGroupBox(title, parent);
  auto* inside = new QVBoxLayout(box);
  QListWidget* list = FixedWidthList(box, name);
  list->setMinimumSize(460, 140);
  inside->addWidget(list);
  row->addWidget(box, 1);
  return list;
}

}  // namespace

LotSplitDialog::LotSplitDialog(std::shared_ptr<lotdetail::BunWindow> dialog, QWidget* parent)
    : QDialog(parent), model_(std::move(dialog)) {
  setWindowTitle(lotdetail::kLotSplitCaption);
  auto* column = new QVBoxLayout(this);
  auto* lists = new QVBoxLayout();
  NList = MemberList(lists, this, "NList", "内輪");
  GList = MemberList(lists, this, "GList", "外輪");
  column->addLayout(lists, 1);

  auto* fields = new QGridLayout();
  Text1 = ReadOnlyBox(this, "Text1");
  Text14 = new QLineEdit(this);
  Text14->setObjectName("Text14");
  Text2 = ReadOnlyBox(this, "Text2");
  Text3 = ReadOnlyBox(this, "Text3");
  fields->addWidget(new QLabel("手配番号", this), 0, 0);
  fields->addWidget(Text1, 0, 1);
  fields->addWidget(new QLabel("分割数", this), 0, 2);
  fields->addWidget(Text14, 0, 3);
  fields->addWidget(new QLabel("内輪合計", this), 1, 0);
  fields->addWidget(Text2, 1, 1);
  fields->addWidget(new QLabel("外輪合計", this), 1, 2);
  fields->addWidget(Text3, 1, 3);
  column->addLayout(fields);

  auto* buttons = new QHBoxLayout();
  Command3 = new QPushButton("分割実施", this);
  Command3->setObjectName("Command3");
  Command1 = new QPushButton("分割キャンセル", this);
  Command1->setObjectName("Command1");
  for (QPushButton* b : {Command3, Command1}) {
    // Enter belongs to the count box.
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->insertStretch(0, 1);
  column->addLayout(buttons);

  for (QListWidget* list : {NList, GList}) {
    connect(list, &QListWidget::itemClicked, this, [this, list](QListWidgetItem* item) {
      model_->Select(list->objectName().toStdString(), {list->row(item)});
      ShowModel();
    });
  }
  connect(Text14, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (model_->Text14Enabled) model_->Type("Text14", text.toStdString());
  });
  connect(Command3, &QPushButton::clicked, this, [this] {
    model_->Command3_Click();
    if (model_->Closed()) {
      accept();
      return;
    }
    ShowModel();
  });
  connect(Command1, &QPushButton::clicked, this, [this] {
    model_->Command1_Click();
    reject();
  });
  Text14->installEventFilter(this);
  ShowModel();
}

bool LotSplitDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Text14 && event->type() == QEvent::KeyPress &&
      IsEnter(static_cast<QKeyEvent*>(event))) {
    if (model_->Text14Enabled) model_->Text14_Enter();
    ShowModel();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void LotSplitDialog::ShowModel() {
  const lotdetail::BunWindow& m = *model_;
  SetLines(NList, m.NList);
  SetLines(GList, m.GList);
  ShowCurrentLine(NList, m.NListIndex);
  ShowCurrentLine(GList, m.GListIndex);
  SetText(Text1, m.Text1);
  SetText(Text14, m.Text14);
  SetText(Text2, m.Text2);
  SetText(Text3, m.Text3);
  Text14->setEnabled(m.Text14Enabled);
  if (m.Focus == "Text14" && m.Text14Enabled) {
    Text14->setFocus();
    Text14->selectAll();
  }
}

void LotSplitDialog::done(int result) {
  // The close box and Escape cancel the split.
  if (!model_->Closed()) model_->Close();
  QDialog::done(result);
}

}  // namespace velmora
