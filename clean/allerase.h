#pragma once
// The erasure primitives: the only code in the program that deletes files,
// folders, registry keys and values, and INI sections. Each file primitive
// returns the bytes it released (sizes are added before each delete call, so
// a failed delete still counts); each registry primitive returns its fixed
// weight (key 3, tree 5, value 1) whether or not anything was there.
//
// In preview mode every primitive reports what it would erase to the sink and
// erases nothing; what an earlier call would already have erased is not
// reported or counted again. In clean mode the sink hears what was erased.
// Targets refused by the PathGuard are reported as refused and not touched.
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "clean/erase_entry.h"
#include "platform/fso.h"
#include "clean/path_guard.h"
#include "config/folder_settings.h"
#include "platform/platform.h"

namespace cv {

class allerase {
 public:
  // `yield` lets the user interface process pending messages (may be empty).
  allerase(Platform& platform, const PathGuard& guard, EraseMode mode, EraseSink* sink, std::function<void()> yield);

  EraseMode Mode() const { return mode_; }
  // Secure erasure: every file deleted from now on has its content
  // overwritten `passes` times first (0: plain deletes). Counts are unchanged.
  void SetOverwritePasses(int passes) { overwritePasses_ = passes; }
  const PathGuard& Guard() const { return guard_; }

  double DeleteNamedFilesInTree(std::string_view folder, std::string_view fileName);
  double DeleteAllFilesInTree(std::string_view folder);
  double DeleteFilesByExtensionInTree(std::string_view folder, std::string_view extension);
  double DeleteNamedFoldersInTree(std::string_view folder, std::string_view folderName);
  double EmptyFolder(std::string_view folder);
  // A folder named by a plug-in: emptied as EmptyFolder does, except that a
  // folder that is itself a link is removed as the link (0 bytes) and what it
  // leads to is kept.
  double EmptyNamedFolder(std::string_view folder);
  // The same, when `alsoGuard` allows the folder too; it judges what the
  // run's guard judges, so the folder is looked up once for both.
  double EmptyNamedFolderGuardedBy(std::string_view folder, const PathGuard& alsoGuard);
  double DeleteFilesInFolder(std::string_view folder);
  double DeleteNamedFilesInFolder(std::string_view folder, std::string_view fileName);
  double DeleteFilesByExtensionInFolder(std::string_view folder, std::string_view extension);
  // The files `matches` picks in the folder (and below it, when `recursive`;
  // links never entered). With `removeEmptied`, then every folder of the walk,
  // the start included, that is left empty and that this call emptied of at
  // least one file is removed, deepest first; in preview the folders that
  // would be left empty are reported.
  double DeleteMatchingFiles(std::string_view folder, const std::function<bool(const FileEntry&)>& matches,
                             bool recursive, bool removeEmptied);
  // The files `matches` picks directly in `folder`, which may be a protected
  // folder (a definition's named files in the drive root, the profile ...;
  // the caller judged the folder and the patterns): sub-folders are never
  // entered, no folder is removed. A path that is not a full one is refused.
  double DeleteMatchingFilesInProtected(std::string_view folder, const std::function<bool(const FileEntry&)>& matches);

  double DeleteRegKey(RegKey root, std::string_view subKey);
  double DeleteRegTree(RegKey root, std::string_view subKey);
  double DeleteRegValue(RegKey root, std::string_view subKey, std::string_view valueName);
  void DeleteIniSection(std::string_view file, std::string_view section);
  void DeleteAtReboot(std::string_view file);

  // Single targets named by the user (custom items): the size is counted,
  // then the file or the folder with its contents is deleted (no force). A
  // target that is itself a link is removed as the link and counts 0 bytes.
  double DeleteSingleFile(std::string_view file);
  double DeleteFolderTree(std::string_view folder);

 private:
  // How one of the six file primitives picks and paces its files.
  struct FileRule {
    std::function<bool(const FileEntry&)> matches;
    bool recursive = false;
    bool yieldAfterHiddenStep = false;                // besides the yield after every file
    bool yieldAfterFolder = false;                    // after each sub-folder searched
    std::vector<std::string>* emptiedFrom = nullptr;  // hears each folder a file went from, once
    bool insideProtected = false;                     // files only, in a folder the guard may protect
  };

  std::unique_ptr<Folder> OpenGuarded(std::string_view folder, const PathGuard* alsoGuard = nullptr,
                                      bool* throughLink = nullptr);
  bool AllowsFolder(std::string_view folder, const PathGuard* alsoGuard) const;
  bool AllowsIdentity(const FileIdentity& identity, const PathGuard* alsoGuard) const;
  std::string EntryKey(Folder& in, std::string_view name);
  double EraseFiles(std::string_view folder, const FileRule& rule);
  double EraseFolderTree(Folder& folder, bool force, const std::function<Status()>& removeFolder);
  double EmptyFolderAt(std::string_view folder, bool throughLink, const PathGuard* alsoGuard);
  double RemoveLink(const std::string& link);
  bool IsOtherThan(const std::string& path, Folder& opened);
  void RemoveEmptiedFolders(const std::string& start, const std::vector<std::string>& emptiedFrom);
  double UnclaimedTreeSize(Folder& folder);
  void EraseRegistryKey(EntryKind kind, RegKey root, std::string_view subKey);

  // Deletes one file (or link) of an open folder, overwritten first when asked.
  Status DeleteFileIn(Folder& in, const FileEntry& file, bool force);
  void Report(EntryKind kind, std::string path, double bytes, bool refused);
  void Yield();
  void Claim(std::string_view key);
  bool IsClaimed(std::string_view key) const;
  // The key itself or a key above it (cut at "\") was claimed.
  bool IsClaimedOrUnder(std::string_view key) const;

  Platform& platform_;
  const PathGuard& guard_;
  EraseMode mode_;
  EraseSink* sink_;
  std::function<void()> yield_;
  FileSystemObject fso_;
  int overwritePasses_ = 0;
  // Preview only: what an earlier call would already have erased, as hashes
  // of normalised paths and key paths (eight bytes each however long the
  // path; a collision could only hide one entry from a preview).
  std::unordered_set<std::size_t> claimed_;
  // The folder whose claim key EntryKey worked out last.
  std::string keyedFolder_;
  std::string folderKey_;
};

// "HKEY_CURRENT_USER\Software\x" for a root and a sub-key written with or
// without stray backslashes.
std::string FullKeyPath(RegKey root, std::string_view subKey);

}  // namespace cv
