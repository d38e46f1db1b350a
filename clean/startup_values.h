#pragma once
// The folders and versions the cleaning items use, computed once when the
// program starts (the main window's load does it; so does the command line).
#include <string>

#include "platform/platform.h"

namespace cv {

class regfun;

struct StartupValues {
  std::string WindowsVersion;      // "major.minor"
  std::string AppDataFolder;       // "User Shell Folders" AppData, expanded
  std::string LocalAppDataFolder;  // "User Shell Folders" Local AppData, expanded
  std::string WindowsFolder;       // the Windows directory
  int IeMajorVersion = 0;          // first digit of Internet Explorer's "Version"
};

// "major.minor" of the running Windows.
std::string GetWindowsVersion(Shell& shell);
// The first character of the trimmed "Version" of Internet Explorer's key.
std::string GetIeMajorVersion(regfun& registry);

StartupValues ComputeStartupValues(Platform& platform, regfun& registry);

}  // namespace cv
