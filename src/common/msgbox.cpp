#include "common/msgbox.h"

#include <iostream>

namespace velmora::ui {
namespace {

ConsoleMessageBoxes& Console() {
  static ConsoleMessageBoxes console;
  return console;
}

MessageBoxes* installed = nullptr;

}  // namespace

Answer DefaultAnswer(int style) {
  const int buttons = style & 7;
  if (buttons == kYesNo) return (style & kDefaultButton2) ? Answer::No : Answer::Yes;
  return Answer::Ok;
}

Answer ConsoleMessageBoxes::Show(std::string_view text, int style, std::string_view title) {
  if (!title.empty()) std::cerr << title << ": ";
  std::cerr << text << std::endl;
  return DefaultAnswer(style);
}

Answer MsgBox(std::string_view text, int style, std::string_view title) {
  return (installed ? *installed : static_cast<MessageBoxes&>(Console())).Show(text, style, title);
}

MessageBoxes* InstallMessageBoxes(MessageBoxes* boxes) {
  MessageBoxes* previous = installed;
  installed = boxes;
  return previous;
}

}  // namespace velmora::ui
