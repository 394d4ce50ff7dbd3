#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace velmora::ui {

// Message box styles, numbered as the program's message calls number them (added together).
enum MsgBoxStyle : int {
  kOkOnly = 0,
  kYesNo = 4,
  kCritical = 16,
  kQuestion = 32,
  kExclamation = 48,
  kInformation = 64,
  kDefaultButton2 = 256,
};

enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// Where message boxes go: the Qt dialogs in the program, standard error in a headless run,
// a script in tests.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual Answer Show(std::string_view text, int style, std::string_view title) = 0;
};

// Shows a message and returns the pressed button. Logic never talks to the toolkit directly.
Answer MsgBox(std::string_view text, int style = kOkOnly, std::string_view title = "");

// Installs the implementation used by MsgBox; returns the previous one. Without one installed,
// messages go to standard error and questions take their default answer.
MessageBoxes* InstallMessageBoxes(MessageBoxes* boxes);

// The answer a question gets when nobody can click: No when the second button is the default.
Answer DefaultAnswer(int style);

// Headless: writes the text (and title) to standard error, answers with the default button.
class ConsoleMessageBoxes : public MessageBoxes {
 public:
  Answer Show(std::string_view text, int style, std::string_view title) override;
};

}  // namespace velmora::ui
