#pragma once
// The program's file-system object: folders and files by path, listings in
// file-system order, folder sizes and tree deletion. Every walk here is
// iterative (no depth limit), streams its listings (memory holds only the
// pending folder paths), and never goes through a reparse point inside the
// tree: a link met on the way is neither counted nor entered, and deletion
// removes the link itself. A root that is itself a link is followed for
// listing, as Windows resolves any path, but DeleteFolder removes only it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/filesystem.h"

namespace cv {

class FileSystemObject {
 public:
  using Visit = std::function<void(const FileEntry&)>;
  // Return false to keep the walk out of the folder just visited.
  using FolderVisit = std::function<bool(const FileEntry& folder)>;

  explicit FileSystemObject(FileSystem& files) : files_(files) {}
  // Called once per entry during the long walks (FolderSize, DeleteFolder),
  // so a window can process its messages while a large tree goes.
  void SetProgress(std::function<void()> tick) { tick_ = std::move(tick); }
  FileSystem& Files() { return files_; }

  bool FolderExists(std::string_view path);
  bool FileExists(std::string_view path);
  // nullopt when the path is missing or names a folder.
  std::optional<FileEntry> GetFile(std::string_view path);
  // nullopt when the path is missing or names a file.
  std::optional<FileEntry> GetFolder(std::string_view path);

  // The folder's files / sub-folders (links to folders included, marked as
  // reparse points), in file-system order. False when the folder cannot be opened.
  bool ForEachFile(std::string_view folder, const Visit& visit);
  bool ForEachSubFolder(std::string_view folder, const Visit& visit);
  // The folder, then each folder below it, depth first with siblings in
  // file-system order. False when the folder cannot be opened.
  bool ForEachFolderInTree(std::string_view folder, const FolderVisit& visit);

  // Bytes in all files of the tree; 0 when the folder is missing.
  std::uint64_t FolderSize(std::string_view folder);

  // One file; without `force` a read-only file stays.
  Status DeleteFile(std::string_view path, bool force);
  // The folder with its whole contents. With `force` read-only files and
  // folders go too; files in use stay (and so do the folders holding them).
  // Everything that can go goes; the first failure is returned.
  Status DeleteFolder(std::string_view path, bool force);
  // One folder; kErrAlreadyExists when something is there.
  Status CreateFolder(std::string_view path);
  // 0 makes the item "normal".
  Status SetAttributes(std::string_view path, std::uint32_t attributes);

  // The text after the last "." of the name (or of a path's last component);
  // empty when there is none.
  static std::string GetExtensionName(std::string_view name);

 private:
  void Tick() {
    if (tick_) tick_();
  }
  FileSystem& files_;
  std::function<void()> tick_;
};

}  // namespace cv
