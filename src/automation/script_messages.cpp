#include "automation/script_messages.h"

namespace velmora {

std::string OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

ui::Answer ScriptMessageBoxes::Show(std::string_view text, int style, std::string_view title) {
  const bool question = (style & 7) == ui::kYesNo;
  ui::Answer answer = ui::Answer::Ok;
  if (question) {
    if (!answers_.empty()) {
      answer = answers_.front();
      answers_.pop_front();
    } else if (Unanswered) {
      answer = Unanswered(text);
    } else {
      throw ScriptFailure(3, "質問に答えがありません: " + OneLine(text));
    }
  }
  out_ << (question ? "question" : "message") << '\t' << OneLine(title) << '\t' << OneLine(text)
       << '\t'
       << (answer == ui::Answer::Yes  ? "Yes"
           : answer == ui::Answer::No ? "No"
                                      : "OK")
       << '\n';
  out_.flush();
  return answer;
}

}  // namespace velmora
