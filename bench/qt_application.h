#pragma once

#include <QApplication>

namespace velmora::bench {

// Painting and windows need an application object: one for the whole run, on the offscreen
// platform when no display is set. It lives until the program ends.
inline void StartApplication(const char* program) {
  static int argc = 1;
  static char* argv[] = {const_cast<char*>(program), nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

}  // namespace velmora::bench
