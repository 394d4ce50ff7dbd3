#pragma once

#include <string_view>

namespace velmora {

// What the user answered, by meaning.
enum class Answer { Yes, No, Cancel };

// The icon a message's box shows.
enum class Tone { Plain, Information, Exclamation, Critical };

// A message: the user can only take note of it (OK).
struct Message {
  std::string_view text;
  Tone tone = Tone::Plain;
  std::string_view title = {};  // empty: the program's name
};

// A question answered Yes or No, or Cancel when it offers that. `byDefault` is the button
// Enter presses, and the answer when nobody is there to click.
struct Question {
  std::string_view text;
  Answer byDefault = Answer::Yes;
  std::string_view title = {};
  bool questionMark = false;  // the box shows the question icon
  bool cancel = false;        // Cancel is a third answer
};

// Where an operation stops to tell or ask the user. Whatever takes one may ask; the window shows
// boxes, a script prints each one and takes its queued answers, a test scripts the answers.
class Questions {
 public:
  virtual ~Questions() = default;
  virtual void Tell(const Message& message) = 0;
  virtual Answer Ask(const Question& question) = 0;
};

// Nobody to ask (a run without a window): messages go to standard error, questions take their
// default answer.
class ConsoleQuestions : public Questions {
 public:
  void Tell(const Message& message) override;
  Answer Ask(const Question& question) override;
};

}  // namespace velmora
