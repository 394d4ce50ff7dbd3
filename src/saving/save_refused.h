#pragma once

#include <stdexcept>
#include <string>

namespace velmora::saving {

// A save that must store nothing, for a reason the user can read and correct (numbering that
// cannot go on, a day the calendar cannot hold, a file that is no longer the one loaded).
class SaveRefused : public std::runtime_error {
 public:
  explicit SaveRefused(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace velmora::saving
