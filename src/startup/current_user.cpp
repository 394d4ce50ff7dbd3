#include "startup/current_user.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace velmora {

std::string CurrentUserName() {
  const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 1024);
  passwd entry{};
  passwd* found = nullptr;
  for (;;) {
    const int rc = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found);
    // A long entry (many groups, a long home path) needs a bigger buffer; give up at 1 MiB.
    if (rc == ERANGE && buffer.size() < (1u << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (rc != 0 || found == nullptr || found->pw_name == nullptr) return "";
    return found->pw_name;
  }
}

}  // namespace velmora
