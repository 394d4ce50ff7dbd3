#pragma once

#include <QWidget>

namespace velmora {

// Shown while the main window loads; any key or a click closes it early.
class SchedulerSplash : public QWidget {
  Q_OBJECT

 public:
  explicit SchedulerSplash(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace velmora
