#include "dialogs/scheduler_splash.h"

#include <QFont>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {
namespace {

QLabel* AddLabel(QVBoxLayout* layout, QWidget* parent, const char* text, int pointSizeDelta) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setAlignment(Qt::AlignCenter);
  QFont font = label->font();
  font.setPointSize(font.pointSize() + pointSizeDelta);
  label->setFont(font);
  layout->addWidget(label);
  return label;
}

}  // namespace

SchedulerSplash::SchedulerSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen) {
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(40, 30, 40, 30);
  AddLabel(layout, this, "Velmora", 14)->setObjectName("ProductName");
  AddLabel(layout, this, "ガントチャートエディタ", 4);
  AddLabel(layout, this, "ver.1.0", 0);
  layout->addSpacing(20);
  AddLabel(layout, this, "計画データを読み込んでいます。しばらくお待ちください．．．", 0);
}

void SchedulerSplash::keyPressEvent(QKeyEvent*) {
  close();
}

void SchedulerSplash::mousePressEvent(QMouseEvent*) {
  close();
}

}  // namespace velmora
