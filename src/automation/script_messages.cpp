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

void ScriptMessageBoxes::Tell(const Message& message) {
  PrintLine("message", message.title, message.text, "OK");
}

Answer ScriptMessageBoxes::Ask(const Question& question) {
  Answer answer = question.byDefault;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  } else if (Unanswered) {
    answer = Unanswered(question.text);
  } else {
    throw ScriptFailure(3, "質問に答えがありません: " + OneLine(question.text));
  }
  PrintLine("question", question.title, question.text,
            answer == Answer::Yes  ? "Yes"
            : answer == Answer::No ? "No"
                                   : "Cancel");
  return answer;
}

void ScriptMessageBoxes::PrintLine(std::string_view kind, std::string_view title,
                                   std::string_view text, std::string_view button) {
  out_ << kind << '\t' << OneLine(title) << '\t' << OneLine(text) << '\t' << button << '\n';
  out_.flush();
}

}  // namespace velmora
