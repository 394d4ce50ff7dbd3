#pragma once

#include <QApplication>
#include <exception>
#include <optional>

#include "common/questions.h"

namespace velmora {

// The Qt application of the program. Qt cannot carry an exception through its event loop, so
// the failure is handled where the event was dispatched: an error is reported at once (later,
// with every event loop stopping, no message box could run), a ProgramEnd is kept; then every
// running event loop, a modal dialog's included, is told to stop, and the code after the loop
// ends the program with ThrowIfEnded.
class VelmoraApplication : public QApplication {
 public:
  // Every message and question of the program's windows goes to `questions`, which outlives the
  // application: Qt message boxes, or a test's script.
  VelmoraApplication(int& argc, char** argv, Questions& questions);
  Questions& UserQuestions() { return questions_; }

  bool notify(QObject* receiver, QEvent* event) override;
  // Enter on a focused push button of a window that is no dialog presses it, as Space does;
  // dialogs have their own Enter (a default button, or the model's navigation).
  bool eventFilter(QObject* watched, QEvent* event) override;

  // Throws ProgramEnd (once) when an event handler ended the program.
  void ThrowIfEnded();

 private:
  void End(int status);

  Questions& questions_;
  std::optional<int> endStatus_;
  bool reporting_ = false;
};

// The top-level report of a failure: its text as a critical message. Returns the exit status
// for it.
int ReportFailure(std::exception_ptr failure, Questions& questions);

}  // namespace velmora
