#pragma once
// Folder locations the system keeps in the registry (the user's shell
// folders and the like), read as the program's items and keep lists need them.
#include <string>
#include <string_view>

#include "platform/shell.h"

namespace cv {

// Replaces "%USERPROFILE%" (case-sensitive) and everything before it with the
// USERPROFILE environment value; a path without the token comes back as is.
std::string ExpandUserProfile(Shell& shell, std::string_view path);

class regfun;
// A folder location stored in the registry: read, cut at NUL, trimmed, expanded.
std::string ReadFolderSetting(regfun& registry, Shell& shell, std::string_view fullKeyPath, std::string_view valueName);

}  // namespace cv
