#pragma once
// The file-system service. Paths are full Windows paths in UTF-8 ("C:\a\b",
// no trailing backslash except on a drive root). Long paths (over 260
// characters) are supported by both implementations.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/overwrite.h"
#include "platform/status.h"

namespace cv {

inline constexpr std::uint32_t kAttrReadOnly = 0x1;
inline constexpr std::uint32_t kAttrHidden = 0x2;
inline constexpr std::uint32_t kAttrSystem = 0x4;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrNormal = 0x80;  // what SetAttributes(0) stores
inline constexpr std::uint32_t kAttrReparsePoint = 0x400;

struct FileEntry {
  std::string name;              // last component of the path
  std::string path;              // full path
  std::uint64_t size = 0;        // bytes; 0 for folders
  std::uint32_t attributes = 0;  // FILE_ATTRIBUTE_* bits
  std::int64_t modified = 0;     // FILETIME: 100 ns units since 1601-01-01 UTC

  bool IsFolder() const { return (attributes & kAttrDirectory) != 0; }
  // Junctions, symbolic links and mount points. Walks never descend into them.
  bool IsReparsePoint() const { return (attributes & kAttrReparsePoint) != 0; }
};

// What a path names on disk: the volume and the file's ID on it (an inode
// on the emulated platform), and its full path with every link on the way
// and every short (8.3) name resolved.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t idHigh = 0;
  std::uint64_t idLow = 0;
  std::string finalPath;
  std::uint32_t links = 1;    // the names the file has (hard links)
  bool reparsePoint = false;  // a link (junction, symbolic link, mount point) itself

  bool SameFile(const FileIdentity& other) const {
    return volume == other.volume && idHigh == other.idHigh && idLow == other.idLow;
  }
};

// A folder opened once. Its entries are listed, opened and deleted relative
// to it, never by a path looked up again, so a folder that is renamed or
// replaced by a link while a walk is under way is never followed.
class Folder {
 public:
  virtual ~Folder() = default;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  // The path the folder was reached by; entries' paths are joined to it.
  const std::string& Path() const { return path_; }
  // The full path of the entry `name` in this folder.
  std::string EntryPath(std::string_view name) const;
  // As FileSystem::ListFolder, for this folder.
  virtual bool List(const std::function<void(const FileEntry&)>& visit) = 0;
  // The sub-folder `name`, opened without following a link: nullptr when it
  // is gone, is not a folder, or is a reparse point (never entered).
  virtual std::unique_ptr<Folder> OpenSubFolder(std::string_view name) = 0;
  // Deletes the file, link or empty folder `name` (a link as the link, never
  // what it leads to). Without `force` a read-only entry stays.
  virtual Status DeleteEntry(std::string_view name, bool force) = 0;
  // Deletes the file `name` as DeleteEntry does, its content first
  // overwritten `passes` times with random bytes and flushed, then the file
  // renamed to a random name and truncated. Links, files whose data another
  // name still needs (hard links) and sparse, compressed or encrypted files
  // are deleted without overwriting; nothing is overwritten that the delete
  // would then leave (read-only without `force`, locked, in use).
  // `content`, when given, is set to what became of the content (kFailed
  // also when the file could not be opened for writing).
  virtual Status DeleteEntryOverwritten(std::string_view name, bool force, int passes,
                                        OverwriteResult* content = nullptr) = 0;
  // SetFileAttributes on the entry `name`; 0 stores "normal".
  virtual Status SetEntryAttributes(std::string_view name, std::uint32_t attributes) = 0;
  // The folder's own attributes, and SetFileAttributes on it (0: "normal").
  virtual std::optional<std::uint32_t> Attributes() = 0;
  virtual Status SetAttributes(std::uint32_t attributes) = 0;
  // What this open folder is on disk.
  virtual std::optional<FileIdentity> Identity() = 0;

 protected:
  explicit Folder(std::string path) : path_(std::move(path)) {}

 private:
  std::string path_;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The entry itself, without following a final reparse point. nullopt when missing.
  virtual std::optional<FileEntry> Stat(std::string_view path) = 0;

  // Opens `path` (following a final link only when `followFinalLink`) and
  // tells what it is. nullopt when it cannot be opened. File systems that
  // cannot tell (test doubles) answer nullopt, and callers then judge by the
  // path's spelling alone.
  virtual std::optional<FileIdentity> Identify(std::string_view path, bool followFinalLink) {
    (void)path;
    (void)followFinalLink;
    return std::nullopt;
  }

  // Calls `visit` for each file and folder directly inside `folder`, in the
  // order the file system lists them ("." and ".." left out). Entries are
  // streamed: nothing is collected. Returns false when the folder cannot be
  // opened (then nothing is visited). The callback may delete the entry it
  // is given.
  virtual bool ListFolder(std::string_view folder, const std::function<void(const FileEntry&)>& visit) = 0;

  // Opens the folder at `path`, links on the way and a final link followed
  // as Windows resolves any path. nullptr when it is not an existing folder.
  // The default works through the path operations below, for file systems
  // without handles (test doubles).
  virtual std::unique_ptr<Folder> OpenFolder(std::string_view path);
  // Opens the folder at `path` itself, a final link not followed: nullptr
  // when it is missing, is not a folder, or is a link (callers judge a link
  // as one). The default works through Stat and OpenFolder.
  virtual std::unique_ptr<Folder> OpenFolderItself(std::string_view path);

  // Whole-file read. `out` is unchanged on failure; a file of more than
  // `maxBytes` is not read (kErrFileTooLarge), so no file can exhaust memory.
  virtual Status ReadFile(std::string_view path, std::string& out, std::uint64_t maxBytes) = 0;
  Status ReadFile(std::string_view path, std::string& out) { return ReadFile(path, out, kMaxReadBytes); }
  static constexpr std::uint64_t kMaxReadBytes = 64ull << 20;
  // Writes a temporary file beside `path` and renames it over `path`, so a
  // failure or crash leaves either the old or the new content, never a mix.
  // The file's attributes are kept; a read-only file is not replaced.
  virtual Status WriteFileAtomic(std::string_view path, std::string_view data) = 0;

  // Deletes one file. With `force`, a read-only file goes too; without, it stays.
  virtual Status DeleteFile(std::string_view path, bool force) = 0;
  // Removes an empty folder, or a folder reparse point itself (never what it points to).
  virtual Status RemoveFolder(std::string_view path, bool force) = 0;
  // Creates one folder; kErrAlreadyExists when something is there.
  virtual Status CreateFolder(std::string_view path) = 0;
  // SetFileAttributes; 0 stores "normal".
  virtual Status SetAttributes(std::string_view path, std::uint32_t attributes) = 0;
  // Marks a file for deletion when Windows next starts (MoveFileEx with a null target).
  virtual Status DeleteAtReboot(std::string_view path) = 0;

  // The name the system's own file functions take for `path`, for a library
  // that opens files itself (SQLite). Empty when the path cannot be named.
  virtual std::string NativePath(std::string_view path) { return std::string(path); }
};

}  // namespace cv
