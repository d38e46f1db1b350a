#pragma once
// The targets no erasure may ever touch, whatever a registry value, a plug-in
// or a custom item names: empty and relative paths, drive roots, the Windows
// and program-files folders, the profile root and the folder above it, the
// program's own folder, and anything that contains one of them; in the
// registry, a root key alone and the keys directly under a root.
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "platform/shell.h"

namespace cv {

class PathGuard {
 public:
  PathGuard() = default;
  // Protected folders of the running system: %SystemRoot%, the Windows folder,
  // %ProgramFiles%, %ProgramFiles(x86)%, %ProgramW6432%, %USERPROFILE% and its
  // parent, %ALLUSERSPROFILE%, %PUBLIC%, and the program folder.
  static PathGuard ForSystem(Shell& shell);

  void Protect(std::string_view folder);

  // A folder a primitive may walk, empty or delete.
  bool AllowsFolder(std::string_view folder) const;
  // A single file a primitive may delete: a full path that is not a drive root
  // (nor a protected folder or one above it).
  bool AllowsFile(std::string_view file) const;
  // A registry key a primitive may delete: at least two levels below a root.
  static bool AllowsRegistryKey(RegKey root, std::string_view subKey);

  // "C:\a\.\b\..\c\" -> "c:\a\c" (lower case, one backslash, no trailing one);
  // empty for a path that is not a full drive path.
  static std::string Normalize(std::string_view path);

 private:
  std::vector<std::string> protected_;  // normalised
};

}  // namespace cv
