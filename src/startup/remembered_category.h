#pragma once

#include <filesystem>
#include <string>

namespace velmora {

// Each account keeps its last chosen category in its own file:
// <config dir>/velmora/<account>.txt, the config dir being $XDG_CONFIG_HOME or ~/.config.
std::filesystem::path RememberedCategoryFile(const std::string& account);

// The first field of the file; "" when there is no file.
std::string ReadRememberedCategory(const std::filesystem::path& file);

// Replaces the file's content with the code and a line end, creating its folder.
// std::runtime_error naming the file when it cannot be written.
void WriteRememberedCategory(const std::filesystem::path& file, const std::string& code);

}  // namespace velmora
