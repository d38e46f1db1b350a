#include "clean/startup_values.h"

#include "clean/allerase.h"
#include "config/regfun.h"
#include "platform/text.h"

namespace cv {

namespace {
constexpr std::string_view kUserShellFolders =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
}

std::string GetWindowsVersion(Shell& shell) {
  const OsVersion version = shell.GetVersion();
  return std::to_string(version.major) + "." + std::to_string(version.minor);
}

std::string GetIeMajorVersion(regfun& registry) {
  const std::string version =
      registry.ReadRegString("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer", "Version");
  const std::string_view trimmed = TrimSpaces(version);
  return std::string(trimmed.substr(0, 1));
}

StartupValues ComputeStartupValues(Platform& platform, regfun& registry) {
  StartupValues values;
  values.WindowsVersion = GetWindowsVersion(platform.shell);
  const auto folder = [&](std::string_view valueName) {
    const std::string stored = registry.ReadRegString(kUserShellFolders, valueName);
    return ExpandUserProfile(platform.shell, TrimSpaces(stored));
  };
  values.AppDataFolder = folder("AppData");
  values.LocalAppDataFolder = folder("Local AppData");
  values.WindowsFolder = std::string(TrimSpaces(platform.shell.GetWindowsDirectory()));
  // Only the first character of the version is kept, so a text that is not a
  // digit reads as 0.
  const std::string ie = GetIeMajorVersion(registry);
  values.IeMajorVersion = (!ie.empty() && ie[0] >= '0' && ie[0] <= '9') ? ie[0] - '0' : 0;
  return values;
}

}  // namespace cv
