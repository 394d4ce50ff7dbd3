#include "app/kbun_select.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "common/normalize_date.h"

namespace velmora {
namespace {

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}
std::string ToStd(const QString& text) {
  return text.toStdString();
}

bool IsEnter(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

KBunSelect::KBunSelect(db::Connection& connection, std::string commandLine,
                       std::string rememberedCode, DateTime today, QWidget* parent)
    : QDialog(parent),
      ComboKBun(new QListWidget(this)),
      strYYMMDD(new QLineEdit(this)),
      endYYMMDD(new QLineEdit(this)),
      commandLine_(std::move(commandLine)),
      today_(today) {
  setWindowTitle("工程分類指定");
  ComboKBun->setObjectName("ComboKBun");
  strYYMMDD->setObjectName("strYYMMDD");
  endYYMMDD->setObjectName("endYYMMDD");
  ComboKBun->setSelectionMode(QAbstractItemView::SingleSelection);

  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel("工程分類", this), 0, 0);
  layout->addWidget(ComboKBun, 0, 1, 1, 3);
  layout->addWidget(new QLabel("期間", this), 1, 0);
  layout->addWidget(strYYMMDD, 1, 1);
  layout->addWidget(new QLabel("～", this), 1, 2);
  layout->addWidget(endYYMMDD, 1, 3);
  setTabOrder(strYYMMDD, endYYMMDD);
  setTabOrder(endYYMMDD, ComboKBun);

  strYYMMDD->installEventFilter(this);
  endYYMMDD->installEventFilter(this);
  ComboKBun->installEventFilter(this);
  ComboKBun->viewport()->installEventFilter(this);
  connect(strYYMMDD, &QLineEdit::returnPressed, this, [this] { strYYMMDD_KeyPressEnter(); });
  connect(endYYMMDD, &QLineEdit::returnPressed, this, [this] { endYYMMDD_KeyPressEnter(); });

  Form_Load(connection, rememberedCode);
}

void KBunSelect::Form_Load(db::Connection& connection, const std::string& rememberedCode) {
  selection_ = LoadCategorySelection(connection, commandLine_, rememberedCode);
  for (const CategoryItem& item : selection_.Items) ComboKBun->addItem(ToQString(item.Text));
  if (selection_.ListIndex >= 0) ComboKBun->setCurrentRow(selection_.ListIndex);
  strYYMMDD->setText(ToQString(selection_.StartText));
  endYYMMDD->setText(ToQString(selection_.EndText));
  strYYMMDD->setFocus();
}

void KBunSelect::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (activated_) return;
  activated_ = true;
  // Run once the dialog's event loop is running, so that accepting at once ends it cleanly.
  QTimer::singleShot(0, this, [this] { Form_Activate(); });
}

void KBunSelect::Form_Activate() {
  switch (ActivateActionFor(commandLine_)) {
    case ActivateAction::AcceptAtOnce:
      accept();
      break;
    case ActivateAction::FocusList:
      ComboKBun->setFocus();
      break;
    case ActivateAction::None:
      break;
  }
}

bool KBunSelect::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (edit != nullptr && event->type() == QEvent::FocusIn) {
    // After the click that gave the focus has placed the cursor.
    QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
  } else if (watched == ComboKBun && IsEnter(event)) {
    ComboKBun_Accept();
    return true;
  } else if (watched == ComboKBun->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    ComboKBun_Accept();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void KBunSelect::keyPressEvent(QKeyEvent* event) {
  // The dialog has no cancel button: Escape must not close it (closing would accept a
  // complete selection).
  if (event->key() == Qt::Key_Escape) return;
  QDialog::keyPressEvent(event);
}

void KBunSelect::strYYMMDD_KeyPressEnter() {
  strYYMMDD->setText(ToQString(NormalizeDateText(ToStd(strYYMMDD->text()), today_)));
  endYYMMDD->selectAll();
  endYYMMDD->setFocus();
}

void KBunSelect::endYYMMDD_KeyPressEnter() {
  endYYMMDD->setText(ToQString(NormalizeDateText(ToStd(endYYMMDD->text()), today_)));
  ComboKBun->setFocus();
}

void KBunSelect::ComboKBun_Accept() {
  ReadControls();
  if (ConfirmPeriod(selection_)) {
    accept();
  } else {
    strYYMMDD->setFocus();
  }
}

void KBunSelect::ReadControls() {
  const QList<QListWidgetItem*> selected = ComboKBun->selectedItems();
  selection_.ListIndex = selected.isEmpty() ? -1 : ComboKBun->row(selected.front());
  selection_.StartText = ToStd(strYYMMDD->text());
  selection_.EndText = ToStd(endYYMMDD->text());
}

void KBunSelect::done(int result) {
  // The unload, by acceptance or by closing the window: keep what the controls show.
  ReadControls();
  QDialog::done(result);
}

}  // namespace velmora
