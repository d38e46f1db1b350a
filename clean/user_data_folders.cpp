#include "clean/user_data_folders.h"

#include <algorithm>

#include "clean/path_guard.h"
#include "platform/text.h"

namespace cv {

namespace {

constexpr std::string_view kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string StoredShellFolder(Registry& registry, std::string_view name) {
  ScopedRegKey key(registry);
  if (registry.OpenKey(kHkeyCurrentUser, kShellFolders, kKeyRead, key.out()) != kOk) return {};
  RegValue value;
  if (registry.QueryValue(key.get(), name, value) != kOk) return {};
  if (value.type != kRegSz && value.type != kRegExpandSz) return {};
  return std::string(TrimBlanks(value.data.substr(0, value.data.find('\0'))));
}

bool IsAtOrAbove(std::string_view ancestor, std::string_view path) {
  if (ancestor.empty() || ancestor.size() > path.size() || path.compare(0, ancestor.size(), ancestor) != 0)
    return false;
  return ancestor.size() == path.size() || ancestor.back() == '\\' || path[ancestor.size()] == '\\';
}

}  // namespace

std::string UserShellFolder(Platform& platform, std::string_view name, std::string_view underProfile) {
  std::string stored = StoredShellFolder(platform.registry, name);
  if (!stored.empty()) return stored;
  const std::string profile = platform.shell.GetEnvironmentVariable("USERPROFILE").value_or("");
  return profile.empty() ? std::string() : profile + "\\" + std::string(underProfile);
}

std::vector<KnownFolder> UserDataFoldersOf(Platform& platform) {
  Shell& shell = platform.shell;
  const auto env = [&shell](std::string_view name) { return shell.GetEnvironmentVariable(name).value_or(""); };
  const std::string profile = env("USERPROFILE");
  const std::string local = env("LOCALAPPDATA");
  const std::string localLower = AsciiLower(local);
  const std::string programData = env("ProgramData").empty() ? env("ALLUSERSPROFILE") : env("ProgramData");
  const auto shellFolder = [&](std::string_view name, std::string_view underProfile) {
    return UserShellFolder(platform, name, underProfile);
  };

  const std::pair<const char*, std::vector<std::string>> stored[] = {
      {"UserProfile", {profile}},
      {"Documents", {shellFolder("Personal", "Documents")}},
      {"Pictures", {shellFolder("My Pictures", "Pictures")}},
      {"Music", {shellFolder("My Music", "Music")}},
      {"Videos", {shellFolder("My Video", "Videos")}},
      {"Desktop", {shellFolder("Desktop", "Desktop")}},
      {"Downloads", {shellFolder("{374DE290-123F-4565-9164-39C4925E467B}", "Downloads")}},
      {"Favorites", {shellFolder("Favorites", "Favorites")}},
      {"Saved Games", {shellFolder("{4C5C32FF-BB9D-43b0-B5B4-2D72E54EAAA4}", "Saved Games")}},
      {"OneDrive",
       {env("OneDrive").empty() && !profile.empty() ? profile + "\\OneDrive" : env("OneDrive"), env("OneDriveConsumer"),
        env("OneDriveCommercial")}},
      {"AppData", {env("APPDATA")}},
      {"LocalAppData", {local}},
      {"LocalLow",
       {localLower.size() > 6 && localLower.substr(localLower.size() - 6) == "\\local" ? local + "Low" : ""}},
      {"ProgramData", {programData}},
      {"ProgramFiles", {env("ProgramFiles"), env("ProgramW6432"), env("ProgramFiles(x86)")}},
      {"CommonProgramFiles", {env("CommonProgramFiles"), env("CommonProgramW6432"), env("CommonProgramFiles(x86)")}},
      {"Public", {env("PUBLIC")}},
  };
  std::vector<KnownFolder> known;
  const auto add = [&known](std::string name, std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    if (PathGuard::Normalize(path).empty() || path.find_first_of("*?") != std::string::npos) return;
    known.push_back({std::move(name), std::move(path)});
  };
  for (const auto& [name, paths] : stored)
    for (const std::string& path : paths) add(name, path);
  if (!profile.empty()) {
    for (const char* name : {"Documents", "Pictures", "Music", "Videos", "Desktop", "Downloads", "Favorites",
                             "Saved Games", "OneDrive", "Contacts", "Links", "Searches"})
      add(name, profile + "\\" + name);
    const std::pair<const char*, const char*> appData[] = {
        {"AppData", "\\AppData\\Roaming"}, {"LocalAppData", "\\AppData\\Local"}, {"LocalLow", "\\AppData\\LocalLow"}};
    for (const auto& [name, below] : appData) add(name, profile + below);
  }
  return known;
}

const KnownFolder* UserDataAtOrBelow(FileSystem& files, const std::vector<KnownFolder>& known,
                                     std::string_view folder) {
  const auto finalOf = [&files](std::string_view path) {
    const auto id = files.Identify(path, true);
    return id ? PathGuard::Normalize(id->finalPath) : std::string();
  };
  const std::string spelling = PathGuard::Normalize(folder);
  const std::string finalPath = finalOf(folder);
  for (const KnownFolder& k : known) {
    const std::string knownSpelling = PathGuard::Normalize(k.path);
    const std::string knownFinal = finalOf(k.path);
    for (const std::string* path : {&spelling, &finalPath})
      if (IsAtOrAbove(*path, knownSpelling) || IsAtOrAbove(*path, knownFinal)) return &k;
  }
  return nullptr;
}

}  // namespace cv
