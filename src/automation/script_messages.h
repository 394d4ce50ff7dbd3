#pragma once

#include <deque>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>

#include "common/questions.h"

namespace velmora {

// A script line that cannot go on: the exit status (2: the line cannot run, 3: a question
// without an answer or answers left over) and why.
struct ScriptFailure : std::runtime_error {
  ScriptFailure(int status, const std::string& why) : std::runtime_error(why), status(status) {}
  int status;
};

// The questions port of a script run: each message and question is printed as one line on
// standard output as it comes ("message" or "question", title, text, the button pressed;
// tab-separated), and questions take the answers the script queued.
class ScriptMessageBoxes : public Questions {
 public:
  explicit ScriptMessageBoxes(std::ostream& out) : out_(out) {}

  void Queue(Answer answer) { answers_.push_back(answer); }
  // Answers a question no answer was queued for (a driver that decides as it goes); without it
  // such a question ends the run.
  std::function<Answer(std::string_view text)> Unanswered;
  std::size_t Queued() const { return answers_.size(); }
  void Tell(const Message& message) override;
  Answer Ask(const Question& question) override;
  // Other output of the script, in order with the messages.
  void Print(std::string_view text) {
    out_ << text;
    out_.flush();
  }

 private:
  std::ostream& out_;
  void PrintLine(std::string_view kind, std::string_view title, std::string_view text,
                 std::string_view button);

  std::deque<Answer> answers_;
};

// A text on one line: carriage returns and line feeds as the two characters \r and \n.
std::string OneLine(std::string_view text);

}  // namespace velmora
