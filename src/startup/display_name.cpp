#include "startup/display_name.h"

#include <algorithm>
#include <array>

#include "common/text.h"

namespace velmora {

std::string NormalizeDisplayName(std::string_view display) {
  const std::size_t colon = display.rfind(':');
  if (colon == std::string_view::npos) return std::string(display);

  std::string host = AsciiLower(display.substr(0, colon));
  for (std::string_view protocol : {"unix/", "tcp/", "inet/", "inet6/"}) {
    if (host.starts_with(protocol)) host.erase(0, protocol.size());
  }
  constexpr std::array<std::string_view, 2> kLocal = {"unix", "localhost"};
  if (std::find(kLocal.begin(), kLocal.end(), host) != kLocal.end()) host.clear();

  std::string_view number = display.substr(colon + 1);
  number = number.substr(0, number.find('.'));
  while (number.size() > 1 && number.front() == '0') number.remove_prefix(1);
  return host + ":" + std::string(number);
}

}  // namespace velmora
