#pragma once

#include <string>
#include <string_view>

namespace velmora {

// One spelling per display, so that every way of naming the same X server gives the same
// name: the local host ("", "unix", "localhost", a "unix/" or "tcp/" prefix) is dropped, as are
// the screen number (":0.1" is the server ":0") and leading zeros of the display number. A
// remote host keeps its name in lower case. A name without a colon (a Wayland socket) stays.
std::string NormalizeDisplayName(std::string_view display);

}  // namespace velmora
