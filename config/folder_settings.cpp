#include "config/folder_settings.h"

#include "config/regfun.h"
#include "platform/text.h"

namespace cv {

namespace {

constexpr std::string_view kUserProfileToken = "%USERPROFILE%";

}  // namespace

std::string ExpandUserProfile(Shell& shell, std::string_view path) {
  const size_t token = path.find(kUserProfileToken);
  if (token == std::string_view::npos) return std::string(path);
  std::string expanded = shell.GetEnvironmentVariable("USERPROFILE").value_or("");
  expanded.append(path.substr(token + kUserProfileToken.size()));
  return expanded;
}

std::string ReadFolderSetting(regfun& registry, Shell& shell, std::string_view fullKeyPath,
                              std::string_view valueName) {
  const std::string stored = regfun::TrimAtNul(registry.ReadRegString(fullKeyPath, valueName));
  return ExpandUserProfile(shell, TrimSpaces(stored));
}

}  // namespace cv
