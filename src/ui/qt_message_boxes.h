#pragma once

#include "common/msgbox.h"

namespace velmora::ui {

// Message boxes as Qt dialogs: buttons, icon and default button from the style; the title
// when one is given, else the application's name.
class QtMessageBoxes : public MessageBoxes {
 public:
  Answer Show(std::string_view text, int style, std::string_view title) override;
};

}  // namespace velmora::ui
