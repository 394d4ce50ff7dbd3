#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/questions.h"
#include "lotdetail/lot_opening.h"
#include "session/edit_session.h"

namespace velmora {
namespace {

// A port of the test's own, handed to the session and nowhere else: whatever reaches it came
// through the session, not through anything global.
class Recorder : public Questions {
 public:
  void Tell(const Message& message) override {
    seen.push_back("message " + std::string(message.text));
  }
  Answer Ask(const Question& question) override {
    seen.push_back("question " + std::string(question.text));
    if (answers.empty()) return question.byDefault;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<Answer> answers;
  std::vector<std::string> seen;
};

// The session asks through the port it was given, down into the layers it runs, and each answer
// takes its own branch; a question nobody answers takes the default button.
TEST(QuestionsPort, EachAnswerTakesItsBranch) {
  struct Case {
    const char* name;
    bool edited;
    std::function<bool(EditSession&)> operation;
    std::vector<Answer> answers;
    bool result;
    std::vector<std::string> seen;
  };
  const auto close = [](EditSession& s) { return s.ConfirmClose(); };
  const auto discard = [](EditSession& s) { return s.Discard(); };
  const std::string closeQuestion = std::string("question ") + kUnsavedCloseQuestion;
  const std::string discardQuestion = std::string("question ") + lotdetail::kDiscardQuestion;
  const Case cases[] = {
      {"nothing unsaved: the close asks nothing", false, close, {}, true, {}},
      {"the close, Yes", true, close, {Answer::Yes}, true, {closeQuestion}},
      {"the close, No", true, close, {Answer::No}, false, {closeQuestion}},
      {"the close, unanswered: No", true, close, {}, false, {closeQuestion}},
      {"nothing unsaved: the reload asks nothing", false, discard, {}, true, {}},
      {"the reload, Yes", true, discard, {Answer::Yes}, true, {discardQuestion}},
      {"the reload, No", true, discard, {Answer::No}, false, {discardQuestion}},
      {"a date that is no date is told",
       false,
       [](EditSession& s) { return s.GoToDate("そのうち"); },
       {},
       false,
       {std::string("message ") + kGoToWhichDate}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlanData selection;
    selection.SetPeriod("2024/05/14", "2024/05/31");
    Recorder recorder;
    recorder.answers.assign(c.answers.begin(), c.answers.end());
    EditSession session(selection, nullptr, nullptr, recorder);
    if (c.edited) session.Data().Edits.MarkEdited();
    EXPECT_EQ(c.result, c.operation(session));
    EXPECT_EQ(c.seen, recorder.seen);
    EXPECT_TRUE(recorder.answers.empty()) << "every queued answer was asked for";
  }
}

}  // namespace
}  // namespace velmora
