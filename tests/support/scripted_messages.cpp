#include "support/scripted_messages.h"

namespace velmora::test {

ScriptedMessages::ScriptedMessages() : previous_(ui::InstallMessageBoxes(this)) {}
ScriptedMessages::~ScriptedMessages() {
  ui::InstallMessageBoxes(previous_);
}

ui::Answer ScriptedMessages::Show(std::string_view text, int style, std::string_view title) {
  shown_.push_back({std::string(text), style, std::string(title)});
  if (answers_.empty()) return ui::DefaultAnswer(style);
  const ui::Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::vector<std::string> ScriptedMessages::texts() const {
  std::vector<std::string> out;
  for (const auto& s : shown_) out.push_back(s.text);
  return out;
}

}  // namespace velmora::test
