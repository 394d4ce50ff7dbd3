#pragma once

#include <functional>

#include "common/msgbox.h"

namespace velmora::ui {

// Message boxes as Qt dialogs: buttons, icon and default button from the style; the title
// when one is given, else the application's name.
class QtMessageBoxes : public MessageBoxes {
 public:
  Answer Show(std::string_view text, int style, std::string_view title) override;
};

// Runs before every box is shown: the main window brings its chart up to date there, so a
// question asked in the middle of a gesture shows the bars as they stand at that moment.
void SetBeforeMessage(std::function<void()> beforeMessage);

}  // namespace velmora::ui
