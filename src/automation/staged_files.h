#pragma once

#include <filesystem>
#include <vector>

namespace velmora {

// New contents for a set of files, written under temporary names beside their targets and put
// in place together: after Commit every target has its new content; when anything fails, every
// target is as it was and no temporary file is left.
class StagedFiles {
 public:
  StagedFiles() = default;
  ~StagedFiles();  // an uncommitted set removes its temporary files
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;

  // The temporary file to write the new content of `target` to.
  std::filesystem::path Stage(const std::filesystem::path& target);

  // Renames every temporary file onto its target. Throws, with the targets unchanged, when one
  // cannot be replaced (a target that is a folder is refused before anything is touched).
  void Commit();

 private:
  struct Entry {
    std::filesystem::path target;
    std::filesystem::path temp;
    std::filesystem::path backup;  // the old content while the set is put in place
    bool hasBackup = false;
    bool placed = false;
  };
  void RollBack() noexcept;
  void RemoveTemporaries() noexcept;

  std::vector<Entry> entries_;
};

}  // namespace velmora
