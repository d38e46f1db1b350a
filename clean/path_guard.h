#pragma once
// The targets no erasure may ever touch, whatever a registry value, a plug-in
// or a custom item names: empty and relative paths, drive roots, the Windows
// and program-files folders, the profile root and the folder above it, the
// program's own folder, and anything that contains one of them; in the
// registry, a root key alone and the keys directly under a root.
//
// A guard given the file system judges what a path names on disk, not how
// it is spelled: a folder link, a short (8.3) name or another letter case
// that leads to a protected folder is refused like the folder itself.
#include <string>
#include <string_view>
#include <vector>

#include "platform/filesystem.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace cv {

class PathGuard {
 public:
  // A guard that judges spellings only.
  PathGuard() = default;
  // A guard that also resolves each path on `files`; it must outlive the guard.
  explicit PathGuard(FileSystem& files) : files_(&files) {}
  // Protected folders of the running system: %SystemRoot%, the Windows folder,
  // %ProgramFiles%, %ProgramFiles(x86)%, %ProgramW6432%, %USERPROFILE% and its
  // parent, %ALLUSERSPROFILE%, %PUBLIC%, and the program folder.
  static PathGuard ForSystem(Shell& shell, FileSystem& files);

  // Protects the folder as spelled and, with a file system, what it resolves
  // to and every folder above that.
  void Protect(std::string_view folder);

  // A folder a primitive may walk, empty or delete: neither its spelling nor
  // what it names on disk (the entry itself, and what a link leads to) is a
  // protected folder or above one.
  bool AllowsFolder(std::string_view folder) const;
  // The same judgement for something already opened.
  bool AllowsIdentity(const FileIdentity& identity) const;
  // The judgement of a path by its spelling alone (the first half of AllowsFolder).
  bool SpellingAllowed(std::string_view folder) const;
  // A single file a primitive may delete: a full path that is not a drive root
  // (nor a protected folder or one above it).
  bool AllowsFile(std::string_view file) const;
  // A registry key a primitive may delete: at least two levels below a root.
  static bool AllowsRegistryKey(RegKey root, std::string_view subKey);

  // "C:\a\.\b\..\c\" -> "c:\a\c" (folded case, one backslash, no trailing one);
  // empty for a path that is not a full drive path.
  static std::string Normalize(std::string_view path);
  // Normalize of the path of `name` in the folder whose normalised path is
  // `folderKey`, worked out from that key: a walk's keys cost their own
  // length, not their folder's depth again.
  static std::string NormalizeChild(std::string_view folderKey, std::string_view name);

 private:
  std::vector<std::string> protected_;        // normalised spellings and final paths
  std::vector<FileIdentity> protectedFiles_;  // protected folders and every folder above them
  FileSystem* files_ = nullptr;
};

}  // namespace cv
