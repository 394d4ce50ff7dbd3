#pragma once

#include <string>

namespace velmora {

// The account name of the user the program runs as; "" when it cannot be found.
std::string CurrentUserName();

}  // namespace velmora
