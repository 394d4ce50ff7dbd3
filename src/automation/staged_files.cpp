#include "automation/staged_files.h"

#include <unistd.h>

#include <string>
#include <system_error>

namespace velmora {

namespace fs = std::filesystem;

namespace {

// Hidden, and named after the process and the file, so that runs side by side do not meet.
fs::path Beside(const fs::path& target, const char* kind) {
  return target.parent_path() /
         ("." + target.filename().string() + "." + std::to_string(getpid()) + kind);
}

}  // namespace

StagedFiles::~StagedFiles() {
  RemoveTemporaries();
}

fs::path StagedFiles::Stage(const fs::path& target) {
  Entry& e = entries_.emplace_back();
  e.target = target;
  e.temp = Beside(target, ".tmp");
  e.backup = Beside(target, ".old");
  return e.temp;
}

void StagedFiles::Commit() {
  for (const Entry& e : entries_) {
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(e.target, ec))) {
      const fs::path folder = e.target;
      RemoveTemporaries();
      throw fs::filesystem_error("cannot replace a folder", folder,
                                 std::make_error_code(std::errc::is_a_directory));
    }
  }
  try {
    // The old contents stay reachable under a second name until every new one is in place; a
    // hard link keeps the target itself present meanwhile.
    for (Entry& e : entries_) {
      if (!fs::exists(fs::symlink_status(e.target))) continue;
      fs::remove(e.backup);
      std::error_code linked;
      fs::create_hard_link(e.target, e.backup, linked);
      if (linked) fs::copy_file(e.target, e.backup);  // a file system without hard links
      e.hasBackup = true;
    }
    for (Entry& e : entries_) {
      fs::rename(e.temp, e.target);
      e.placed = true;
    }
  } catch (...) {
    RollBack();
    throw;
  }
  for (Entry& e : entries_) {
    std::error_code ignored;
    if (e.hasBackup) fs::remove(e.backup, ignored);
  }
  entries_.clear();
}

void StagedFiles::RollBack() noexcept {
  for (Entry& e : entries_) {
    std::error_code ignored;
    if (e.hasBackup) {
      if (e.placed) fs::rename(e.backup, e.target, ignored);
      fs::remove(e.backup, ignored);
    } else if (e.placed) {
      fs::remove(e.target, ignored);
    }
  }
  RemoveTemporaries();
}

void StagedFiles::RemoveTemporaries() noexcept {
  for (const Entry& e : entries_) {
    std::error_code ignored;
    fs::remove(e.temp, ignored);
  }
  entries_.clear();
}

}  // namespace velmora
