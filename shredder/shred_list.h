#pragma once
// The file shredder's model: the files and folders the user chose, and the
// shredding of them, each file's content overwritten (1, 3 or 7 passes of
// random bytes, flushed) and then the file deleted, through the same
// secure-erasure primitive the cleaning run uses. What cannot be overwritten
// safely (a link, a file whose data another name shares, a sparse, compressed
// or encrypted file) is deleted plainly and its row says why. Folders go file
// by file, then the folders themselves; the path guard refuses protected
// folders, and a listed link goes as the link, never what it leads to.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "clean/path_guard.h"
#include "platform/filesystem.h"

namespace cv {

inline constexpr std::array<int, 3> kShredPassChoices = {1, 3, 7};

enum class ShredTargetKind : std::uint8_t { kFile, kFolder, kLink };

struct ShredTarget {
  std::string path;
  ShredTargetKind kind = ShredTargetKind::kFile;
  std::uint64_t bytes = 0;  // a folder: all files below it
  std::uint64_t files = 0;  // a folder: how many files are below it
};

enum class AddOutcome : std::uint8_t {
  kAdded,
  kAlreadyListed,  // the path, or a folder above it, is in the list
  kNotFound,
  kNotFullPath,
  kProtected,  // a protected folder, a folder holding one, or a drive root
};

// The message for an outcome other than kAdded, for `path`.
std::string AddRefusalText(AddOutcome outcome, std::string_view path);

class ShredList {
 public:
  ShredList(FileSystem& files, const PathGuard& guard) : files_(files), guard_(guard) {}

  // Adds a file, a folder (with its size) or a link. A folder replaces the
  // listed entries below it.
  AddOutcome Add(std::string_view path);
  void Remove(std::size_t index);
  void Clear() { targets_.clear(); }
  const std::vector<ShredTarget>& Targets() const { return targets_; }
  std::uint64_t TotalBytes() const;

 private:
  FileSystem& files_;
  const PathGuard& guard_;
  std::vector<ShredTarget> targets_;
};

// What shredding will do, for the list's third column.
std::string PlannedActionText(const ShredTarget& target, int passes);

enum class ShredOutcome : std::uint8_t {
  kShredded,        // overwritten and deleted
  kDeletedPlainly,  // deleted, content not overwritten (the text says why)
  kFailed,          // still there (the text says why)
  kRemoved,         // a folder, emptied and removed
  kCancelled,       // not reached before "Cancel"
};

struct ShredRow {
  std::string path;
  ShredOutcome outcome = ShredOutcome::kFailed;
  std::string text;  // "Shredded", "Deleted (not overwritten: ...)", or why it failed
};

class ShredObserver {
 public:
  virtual ~ShredObserver() = default;
  // One file, link or folder is done.
  virtual void RowDone(const ShredRow& row) = 0;
  virtual void Progress(std::uint64_t doneBytes, std::uint64_t totalBytes) = 0;
  // Asked between files; a window processes its messages here.
  virtual bool CancelRequested() = 0;
};

struct ShredSummary {
  std::size_t shredded = 0;
  std::size_t deletedPlainly = 0;
  std::size_t failed = 0;
  bool cancelled = false;
};

// Shreds `targets` in order. A folder is judged by the guard again when it
// is opened, so a folder swapped for a link or a protected one since it was
// listed is refused.
ShredSummary Shred(FileSystem& files, const PathGuard& guard, const std::vector<ShredTarget>& targets, int passes,
                   ShredObserver& observer);

// "Shredded 3 files, 1 deleted without overwriting, 1 failed." and the like.
std::string ShredSummaryText(const ShredSummary& summary);

}  // namespace cv
