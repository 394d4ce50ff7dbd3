#include "startup/current_user.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace velmora {
namespace {

// Calls `take` with the effective user's account entry; returns "" when there is none.
template <class Take>
std::string FromAccountEntry(Take take) {
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
    if (rc != 0 || found == nullptr) return "";
    const char* value = take(*found);
    return value ? value : "";
  }
}

}  // namespace

std::string CurrentUserName() {
  return FromAccountEntry([](const passwd& entry) { return entry.pw_name; });
}

std::filesystem::path CurrentUserHome() {
  const char* home = std::getenv("HOME");
  if (home && std::filesystem::path(home).is_absolute()) return home;
  // Without HOME (a service, a stripped environment) a relative folder would land wherever
  // the program was started.
  std::filesystem::path fromAccount =
      FromAccountEntry([](const passwd& entry) { return entry.pw_dir; });
  return fromAccount.is_absolute() ? fromAccount : std::filesystem::path();
}

}  // namespace velmora
