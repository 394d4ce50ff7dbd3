#pragma once

#include <QApplication>
#include <exception>

namespace velmora {

// The Qt application of the program. Qt cannot carry an exception through its event loop, so
// an exception escaping an event handler is kept here, every running event loop (including
// that of a modal dialog) is told to stop, and the code after the loop rethrows it.
class VelmoraApplication : public QApplication {
 public:
  VelmoraApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Rethrows (once) the exception an event handler let escape, if any.
  void RethrowPending();

 private:
  std::exception_ptr pending_;
};

}  // namespace velmora
