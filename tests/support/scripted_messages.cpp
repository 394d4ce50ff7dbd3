#include "support/scripted_messages.h"

#include <algorithm>

namespace velmora::test {
namespace {

std::vector<ScriptedMessages*>& Alive() {
  static std::vector<ScriptedMessages*> alive;
  return alive;
}

class Innermost : public Questions {
 public:
  void Tell(const Message& message) override { Current().Tell(message); }
  Answer Ask(const Question& question) override { return Current().Ask(question); }

 private:
  Questions& Current() {
    if (Alive().empty()) return console_;
    return *Alive().back();
  }
  ConsoleQuestions console_;
};

}  // namespace

ScriptedMessages::ScriptedMessages() {
  Alive().push_back(this);
}

ScriptedMessages::~ScriptedMessages() {
  Alive().erase(std::find(Alive().begin(), Alive().end(), this));
}

void ScriptedMessages::Tell(const Message& message) {
  shown_.push_back({.text = std::string(message.text),
                    .title = std::string(message.title),
                    .tone = message.tone});
}

Answer ScriptedMessages::Ask(const Question& question) {
  shown_.push_back({.text = std::string(question.text),
                    .title = std::string(question.title),
                    .question = true,
                    .byDefault = question.byDefault,
                    .questionMark = question.questionMark});
  if (answers_.empty()) return question.byDefault;
  const velmora::Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::vector<std::string> ScriptedMessages::texts() const {
  std::vector<std::string> out;
  for (const auto& s : shown_) out.push_back(s.text);
  return out;
}

Questions& TestQuestions() {
  static Innermost innermost;
  return innermost;
}

}  // namespace velmora::test
