#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/velmora_application.h"
#include "support/scripted_messages.h"

namespace velmora::test {

// The one application object of the test program.
inline VelmoraApplication& TestApp() {
  static int argc = 1;
  static char name[] = "velmora_app_ui_tests";
  static char* argv[] = {name, nullptr};
  static VelmoraApplication* app = new VelmoraApplication(argc, argv, test::TestQuestions());
  return *app;
}

// Runs `action` on the first visible top-level window of type T once it is shown, from the
// event loop (typically inside a modal dialog's loop). Gives up after 10 s so a test fails
// instead of hanging.
template <typename T>
void WhenShown(std::function<void(T&)> action) {
  auto* timer = new QTimer();
  auto* clock = new QElapsedTimer();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [timer, clock, action] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* window = qobject_cast<T*>(widget);
      if (window == nullptr || !window->isVisible()) continue;
      timer->stop();
      timer->deleteLater();
      delete clock;
      action(*window);
      return;
    }
    if (clock->elapsed() > 10000) {
      timer->stop();
      timer->deleteLater();
      delete clock;
      ADD_FAILURE() << "window " << T::staticMetaObject.className() << " never shown";
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
      QApplication::exit(99);
    }
  });
  timer->start(5);
}

inline void PressEnter(QWidget* widget) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
  QApplication::sendEvent(widget, &press);
}

inline void PressKey(QWidget* widget, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

}  // namespace velmora::test
