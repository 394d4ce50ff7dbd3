#pragma once

#include <filesystem>
#include <string>

namespace velmora {

// The account name of the user the program runs as; "" when it cannot be found.
std::string CurrentUserName();

// That user's home folder: $HOME when it is an absolute path, else the account's entry; empty
// when neither is known.
std::filesystem::path CurrentUserHome();

}  // namespace velmora
