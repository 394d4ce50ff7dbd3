#include "dialogs/hozon_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

namespace velmora {

HozonForm::HozonForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("HozonForm");
  setWindowTitle(kHozonCaption);
  setWindowModality(Qt::WindowModal);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 14);
  HozonBar = new QProgressBar(this);
  HozonBar->setTextVisible(false);
  HozonBar->setMinimumWidth(300);
  HozonText = new QLabel(this);
  HozonText->setAlignment(Qt::AlignCenter);
  layout->addWidget(HozonBar);
  layout->addWidget(HozonText);
}

void HozonForm::Start(int maximum) {
  running_ = true;
  HozonBar->setRange(0, std::max(maximum, 1));
  HozonBar->setValue(0);
  HozonText->setText(QString("0/%1").arg(maximum));
  adjustSize();
  if (QWidget* main = parentWidget()) move(main->frameGeometry().center() - rect().center());
  show();
  // Mapped and painted before the first entry; input stays queued for after the save.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void HozonForm::Step(int i, int n, bool repaint) {
  HozonBar->setValue(i);
  HozonText->setText(QString("%1/%2").arg(i).arg(n));
  if (!repaint) return;
  this->repaint();
  // Keeps the window server answered (exposures, the window manager's pings) without letting a
  // click or a key act in the middle of the save.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void HozonForm::Finish() {
  // Clicks and keys queued during the save are delivered now, while the main window is still
  // blocked, and so dropped instead of acting on the saved chart.
  QCoreApplication::processEvents();
  running_ = false;
  hide();
}

void HozonForm::closeEvent(QCloseEvent* event) {
  if (running_) event->ignore();
}

}  // namespace velmora
