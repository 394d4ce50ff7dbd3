#pragma once

#include <deque>
#include <string>
#include <vector>

#include "common/questions.h"

namespace velmora::test {

// Records every message and question and answers from a script (then with the default
// answer). While it lives, TestQuestions() hands everything to it.
class ScriptedMessages : public Questions {
 public:
  struct Shown {
    std::string text;
    std::string title;
    bool question = false;
    Tone tone = Tone::Plain;                           // a message's icon
    velmora::Answer byDefault = velmora::Answer::Yes;  // a question's default button
    bool questionMark = false;
  };

  ScriptedMessages();
  ~ScriptedMessages() override;
  ScriptedMessages(const ScriptedMessages&) = delete;
  ScriptedMessages& operator=(const ScriptedMessages&) = delete;

  ScriptedMessages& Answer(velmora::Answer answer) {
    answers_.push_back(answer);
    return *this;
  }
  void Tell(const Message& message) override;
  velmora::Answer Ask(const Question& question) override;

  const std::vector<Shown>& shown() const { return shown_; }
  std::vector<std::string> texts() const;

 private:
  std::deque<velmora::Answer> answers_;
  std::vector<Shown> shown_;
};

// The port the tests hand to the code they drive: the innermost ScriptedMessages alive, else
// nobody to ask (messages on standard error, questions take their default answer).
Questions& TestQuestions();

}  // namespace velmora::test
