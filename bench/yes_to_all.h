#pragma once

#include <string_view>

#include "common/msgbox.h"

namespace velmora::bench {

// Every question answered Yes (mold conflicts are kept), every message taken in silence.
class YesToAll : public ui::MessageBoxes {
 public:
  ui::Answer Show(std::string_view, int style, std::string_view) override {
    return (style & 7) == ui::kYesNo ? ui::Answer::Yes : ui::Answer::Ok;
  }
};

}  // namespace velmora::bench
