#pragma once
// The user's data folders on this machine (Documents, Desktop, AppData, the
// profile, Program Files ...), by the name of the known folder. Cleaning may
// delete named traces inside them but never take one of them, or a folder
// above one, as a folder of its own to empty.
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace cv {

struct KnownFolder {
  std::string name;  // "Documents", "LocalAppData" ...
  std::string path;  // full path, no trailing backslash
};

// A user shell folder as Windows stores it ("Personal", "My Music" ...), or
// where Windows puts it in the profile (`underProfile`) when none is stored.
std::string UserShellFolder(Platform& platform, std::string_view name, std::string_view underProfile);

// From the environment and the user's shell folders, plus where Windows puts
// them in a profile (also when the registry says otherwise). Paths that are
// not full paths are left out.
std::vector<KnownFolder> UserDataFoldersOf(Platform& platform);

// The user data folder that `folder` is, or one it lies above, compared by
// spelling and by final path (a link or another spelling of the same folder
// counts); nullptr when there is none.
const KnownFolder* UserDataAtOrBelow(FileSystem& files, const std::vector<KnownFolder>& known, std::string_view folder);

}  // namespace cv
