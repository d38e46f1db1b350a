#pragma once
// A keep-list file beside the program ("keepurl.dat", "keepcook.dat"): one
// entry per line, CR LF line ends, order kept, duplicates and empty lines
// allowed. Each operation reads or writes the whole file and keeps nothing open.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/filesystem.h"

namespace cv {

class KeepListFile {
 public:
  KeepListFile(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}

  const std::string& Path() const { return path_; }
  bool Exists() const;
  // Every line with its trailing spaces removed, decoded by AnsiToUtf8; a
  // missing or unreadable file gives none.
  std::vector<std::string> Read() const;
  // The same lines into `entries` (left empty on failure): kOk, or
  // kErrFileNotFound for a missing list, or why it could not be read
  // (kErrFileTooLarge beyond kMaxFileBytes, a sharing violation ...).
  Status ReadEntries(std::vector<std::string>& entries) const;
  // Adds one line (trailing spaces removed), creating the file when missing;
  // a list that cannot be read is left alone.
  Status Append(std::string_view entry) const;
  // Replaces the whole file with one line per entry; no entries give an empty file.
  Status Rewrite(const std::vector<std::string>& entries) const;

  // A keep list names addresses or cookie files a user picked by hand.
  static constexpr std::uint64_t kMaxFileBytes = 1 << 20;

 private:
  FileSystem& files_;
  std::string path_;
};

// A keep-list window's "kept" side: the entries the file held at the last
// Load, changed only by writes the file took.
class KeptEntries {
 public:
  KeptEntries(FileSystem& files, std::string path) : file_(files, std::move(path)) {}

  void Load() { readStatus_ = file_.ReadEntries(entries_); }
  const std::vector<std::string>& Entries() const { return entries_; }
  // Appends `text` to the file; the list shows it only when the write was taken.
  Status Add(const std::string& text);
  // Rewrites the file without the entries at `positions`; a list that could
  // not be read is shown empty, so it is never rewritten (that would lose it).
  Status Remove(const std::vector<std::size_t>& positions);

 private:
  KeepListFile file_;
  std::vector<std::string> entries_;
  Status readStatus_ = kErrFileNotFound;  // of the file at the last Load
};

// Drops the entries at the given positions (any order; out-of-range ones
// ignored), keeping the order of the rest.
void RemoveAtPositions(std::vector<std::string>& list, const std::vector<std::size_t>& positions);
// Removes trailing blanks (spaces only).
std::string_view TrimTrailingSpaces(std::string_view text);

}  // namespace cv
