#pragma once

#include <cstddef>
#include <string_view>

namespace velmora::ui {

// Calls `each` with every line of a caption: the bars break with "\r\n", subcontractor rows
// with a lone "\r".
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    each(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  each(text.substr(start));
}

}  // namespace velmora::ui
