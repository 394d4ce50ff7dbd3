#pragma once

#include <functional>

#include "common/questions.h"

namespace velmora::ui {

// Messages and questions as Qt message boxes: the icon of the message's tone (a question's
// mark when it asks for one), Yes/No (and Cancel) with the default button, the title when one
// is given, else the application's name.
class QtQuestions : public Questions {
 public:
  void Tell(const Message& message) override;
  Answer Ask(const Question& question) override;
};

// Runs before every box is shown: the main window brings its chart up to date there, so a
// question asked in the middle of a gesture shows the bars as they stand at that moment.
void SetBeforeMessage(std::function<void()> beforeMessage);

}  // namespace velmora::ui
