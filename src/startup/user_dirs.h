#pragma once

#include <filesystem>

namespace velmora {

// The user's folders by the XDG base directory rules: the variable when it holds an absolute
// path (a relative one is ignored, as the rules say), else the default under the home folder.
std::filesystem::path UserConfigHome();  // $XDG_CONFIG_HOME, else ~/.config
std::filesystem::path UserDataHome();    // $XDG_DATA_HOME, else ~/.local/share

// Velmora's own folders in them.
std::filesystem::path VelmoraConfigDir();  // UserConfigHome()/velmora
std::filesystem::path VelmoraDataDir();    // UserDataHome()/velmora

}  // namespace velmora
