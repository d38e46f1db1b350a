#pragma once
// The program's file-system object: folders and files by path, listings in
// file-system order, folder sizes and tree deletion. Every walk here is
// iterative (no depth limit), streams its listings (memory holds only the
// pending sub-folder names), and never leaves its tree: each folder is opened
// once and what is below it is opened and deleted relative to it, a link met
// on the way is neither counted nor entered, and deletion removes the link
// itself. A root that is itself a link is followed for listing, as Windows
// resolves any path, but DeleteFolder removes only it.
#include <cstdint>
#include <functional>
#include <memory>
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
  // One entry of a walk, listed in the open folder `in`. Return true to walk
  // into it (only a folder that is no link is entered).
  using WalkVisit = std::function<bool(Folder& in, const FileEntry& entry)>;
  // A sub-folder's whole tree was walked; `in` is the open folder holding it.
  using WalkLeave = std::function<void(Folder& in, const FileEntry& folder)>;
  struct WalkResult {
    bool rootListed = false;
    bool complete = false;  // every folder chosen was opened and listed
  };

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

  std::unique_ptr<Folder> OpenFolder(std::string_view path) { return files_.OpenFolder(path); }
  // Walks the tree of `root` depth first: each folder is listed once, its
  // entries handed to `visit` as they come, and the sub-folders chosen are
  // opened relative to it and walked after its listing, in listing order.
  // Only the folders on the way down are held open (a few dozen at most; a
  // deeper one is opened again by path and must still be the same folder).
  WalkResult Walk(Folder& root, const WalkVisit& visit, const WalkLeave& leave = {});

  // Bytes in all files of the tree; 0 when the folder is missing.
  std::uint64_t FolderSize(std::string_view folder);
  std::uint64_t FolderSize(Folder& folder);

  // One file; without `force` a read-only file stays.
  Status DeleteFile(std::string_view path, bool force);
  // The folder with its whole contents. With `force` read-only files and
  // folders go too; files in use stay (and so do the folders holding them).
  // Everything that can go goes; the first failure is returned.
  Status DeleteFolder(std::string_view path, bool force);
  // Everything inside the open folder, as DeleteFolder deletes it; the
  // folder itself stays.
  // With `overwritePasses` above 0 each file's content is overwritten first
  // (Folder::DeleteEntryOverwritten). When `bytes` is given it receives the
  // sizes of the files met (links not counted) and of those that went, from
  // the same walk, so a caller needs no second walk to size the tree.
  struct TreeBytes {
    std::uint64_t found = 0;
    std::uint64_t deleted = 0;
  };
  Status DeleteContents(Folder& folder, bool force, int overwritePasses = 0, TreeBytes* bytes = nullptr);
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
