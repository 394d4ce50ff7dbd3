#pragma once

#include <deque>
#include <string>
#include <vector>

#include "common/msgbox.h"

namespace velmora::test {

// Records every message box and answers from a script (then with the default button).
// Installed for its lifetime.
class ScriptedMessages : public ui::MessageBoxes {
 public:
  struct Shown {
    std::string text;
    int style;
    std::string title;
  };

  ScriptedMessages();
  ~ScriptedMessages() override;
  ScriptedMessages(const ScriptedMessages&) = delete;
  ScriptedMessages& operator=(const ScriptedMessages&) = delete;

  ScriptedMessages& Answer(ui::Answer answer) {
    answers_.push_back(answer);
    return *this;
  }
  ui::Answer Show(std::string_view text, int style, std::string_view title) override;

  const std::vector<Shown>& shown() const { return shown_; }
  std::vector<std::string> texts() const;

 private:
  std::deque<ui::Answer> answers_;
  std::vector<Shown> shown_;
  ui::MessageBoxes* previous_;
};

}  // namespace velmora::test
