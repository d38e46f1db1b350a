#pragma once
// Finding a browser's profiles on disk. Chromium browsers list their profile
// folders in "Local State" (profile.info_cache) and name them "Default",
// "Profile N" and "Guest Profile"; Firefox and its forks list them in
// "profiles.ini" (and "installs.ini"), by a path relative to the root or a
// full one. Every folder found is checked before it is used: it must stay
// inside the browser's root when named relative to it, must not be a folder
// the path guard protects, and must not itself be a link.
#include <string>
#include <string_view>
#include <vector>

#include "clean/browser_model.h"
#include "clean/path_guard.h"
#include "clean/user_data_folders.h"
#include "platform/filesystem.h"

namespace cv {

struct BrowserProfile {
  std::string name;         // the folder's name (Chromium) or its "Name" (Firefox)
  std::string folder;       // full path of the profile folder
  std::string localFolder;  // where its caches are: the profile folder unless the browser keeps them apart
};

struct BrowserFolders {
  std::string root;       // Chromium: the user-data folder; Firefox: the folder of profiles.ini
  std::string localRoot;  // empty when the browser has none
};

struct ProfileScan {
  std::vector<BrowserProfile> profiles;
  // Profile entries that were not used, each with the reason ("C:\x is a link").
  std::vector<std::string> refused;
};

// The browser's folders below the given user folders (empty when the user
// folder is unknown).
BrowserFolders FoldersOf(const BrowserSpec& browser, std::string_view appData, std::string_view localAppData);

// Files larger than this (a "Local State", a "profiles.ini") are not read:
// the folder scan stands in for "Local State", a huge "profiles.ini" names no profile.
inline constexpr std::uint64_t kMaxProfileListBytes = 4 << 20;

// `userData` (UserDataFoldersOf): a full profile path may not be one of them
// or lie above one.
ProfileScan FindProfiles(FileSystem& files, const PathGuard& guard, const BrowserSpec& browser,
                         const BrowserFolders& folders, const std::vector<KnownFolder>& userData);

// "a\b/../c" joined below `base` with one backslash between components;
// empty when `relative` is empty, absolute, or has a "." or ".." component.
std::string JoinInside(std::string_view base, std::string_view relative);

}  // namespace cv
