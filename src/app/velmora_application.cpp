#include "app/velmora_application.h"

namespace velmora {

VelmoraApplication::VelmoraApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("Velmora");
  // The program ends when the main window is unloaded, not when the last window closes:
  // the restart closes the main window before the selection dialog opens again.
  setQuitOnLastWindowClosed(false);
}

bool VelmoraApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    // The first failure is the one to report; whatever follows from it is noise.
    if (!pending_) pending_ = std::current_exception();
    exit(1);
    return false;
  }
}

void VelmoraApplication::RethrowPending() {
  if (!pending_) return;
  std::exception_ptr pending = pending_;
  pending_ = nullptr;
  std::rethrow_exception(pending);
}

}  // namespace velmora
