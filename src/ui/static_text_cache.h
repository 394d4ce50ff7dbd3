#pragma once

#include <QFont>
#include <QStaticText>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace velmora::ui {

// Converted and laid out label texts of one font, by text: the axis and row captions repeat
// from paint to paint, so each is laid out once.
class StaticTextCache {
 public:
  explicit StaticTextCache(const QFont& font) : font_(font) {}
  const QStaticText& Get(std::string_view text);
  const QFont& Font() const { return font_; }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  QFont font_;
  std::unordered_map<std::string, QStaticText, Hash, std::equal_to<>> texts_;
};

}  // namespace velmora::ui
