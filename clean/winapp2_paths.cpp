#include "clean/winapp2_paths.h"

#include <algorithm>

#include "clean/path_guard.h"
#include "clean/user_data_folders.h"
#include "clean/winapp2_reader.h"
#include "platform/text.h"

namespace cv {

namespace {

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

std::string WithoutTrailingBackslash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

std::string Join(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || path.back() != '\\') path += '\\';
  path.append(name);
  return path;
}

}  // namespace

Winapp2Folders Winapp2Folders::ForSystem(Platform& platform) {
  Shell& shell = platform.shell;
  const auto env = [&shell](std::string_view name) { return shell.GetEnvironmentVariable(name).value_or(""); };
  const std::string profile = env("USERPROFILE");
  const std::string local = env("LOCALAPPDATA");
  const auto shellFolderOr = [&](std::string_view name, std::string_view underProfile) {
    return UserShellFolder(platform, name, underProfile);
  };

  Winapp2Folders folders;
  folders.Set("AppData", {env("APPDATA")});
  folders.Set("LocalAppData", {local});
  const std::string localLower = AsciiLower(local);
  if (localLower.size() > 6 && localLower.substr(localLower.size() - 6) == "\\local")
    folders.Set("LocalLowAppData", {local + "Low"});
  folders.Set("UserProfile", {profile});
  folders.Set("ProgramFiles", {env("ProgramFiles"), env("ProgramW6432"), env("ProgramFiles(x86)")});
  folders.Set("CommonProgramFiles",
              {env("CommonProgramFiles"), env("CommonProgramW6432"), env("CommonProgramFiles(x86)")});
  const std::string programData = env("ProgramData").empty() ? env("ALLUSERSPROFILE") : env("ProgramData");
  folders.Set("ProgramData", {programData});
  folders.Set("CommonAppData", {programData});
  folders.Set("Public", {env("PUBLIC")});
  folders.Set("SystemDrive", {env("SystemDrive")});
  folders.Set("HomeDrive", {env("HOMEDRIVE")});
  folders.Set("WinDir", {shell.GetWindowsDirectory()});
  folders.Set("SystemRoot", {shell.GetWindowsDirectory()});
  folders.Set("Temp", {env("TEMP").empty() ? env("TMP") : env("TEMP")});
  folders.Set("UserName", {env("USERNAME")});
  folders.Set("Documents", {shellFolderOr("Personal", "Documents")});
  folders.Set("Music", {shellFolderOr("My Music", "Music")});
  folders.Set("Pictures", {shellFolderOr("My Pictures", "Pictures")});
  folders.Set("Video", {shellFolderOr("My Video", "Videos")});

  for (KnownFolder& known : UserDataFoldersOf(platform))
    folders.AddUserDataFolder(std::move(known.name), std::move(known.path));
  const std::string windows = shell.GetWindowsDirectory();
  if (!windows.empty()) folders.systemFolders = {windows, windows + "\\System32", windows + "\\SysWOW64"};
  folders.programFolder = shell.ProgramFolder();
  return folders;
}

void Winapp2Folders::AddUserDataFolder(std::string name, std::string path) {
  if (PathGuard::Normalize(path).empty() || HasWildcard(path)) return;
  userData_.push_back({std::move(name), WithoutTrailingBackslash(std::move(path))});
}

void Winapp2Folders::Set(std::string_view variable, std::vector<std::string> values) {
  const bool plainName = EqualsNoCase(variable, "UserName");
  std::vector<std::string> kept;
  std::vector<std::string> keys;
  for (std::string& value : values) {
    if (HasWildcard(value) || value.find('%') != std::string::npos) continue;
    std::string key;
    if (plainName) {
      if (value.empty() || value == "." || value == ".." || value.find_first_of("\\/:") != std::string::npos) continue;
      key = AsciiLower(value);
    } else {
      // "C:" (a drive variable) is a full path once a backslash follows.
      key = PathGuard::Normalize(value.size() == 2 ? value + "\\" : value);
      if (key.empty()) continue;
      value = WithoutTrailingBackslash(value);
      if (value.size() == 3 && value[2] == '\\') value.pop_back();  // "C:\" joins as "C:"
    }
    if (std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
    keys.push_back(std::move(key));
    kept.push_back(std::move(value));
  }
  const std::string name = AsciiLower(variable);
  const auto found = std::find_if(values_.begin(), values_.end(), [&](const auto& v) { return v.first == name; });
  if (found != values_.end())
    found->second = std::move(kept);
  else
    values_.emplace_back(name, std::move(kept));
}

std::vector<std::string> Winapp2Folders::Expand(std::string_view path, bool* overLimit) const {
  std::vector<std::string> results{""};
  std::size_t pos = 0;
  while (pos < path.size()) {
    const std::size_t open = path.find('%', pos);
    const std::size_t close = open == std::string_view::npos ? open : path.find('%', open + 1);
    if (close == std::string_view::npos) {
      for (std::string& result : results) result.append(path.substr(pos));
      break;
    }
    for (std::string& result : results) result.append(path.substr(pos, open - pos));
    const std::string name = AsciiLower(path.substr(open + 1, close - open - 1));
    const auto found = std::find_if(values_.begin(), values_.end(), [&](const auto& v) { return v.first == name; });
    if (found == values_.end() || found->second.empty()) return {};
    if (results.size() * found->second.size() > kWinapp2MaxSpellings) {
      if (overLimit) *overLimit = true;
      return {};
    }
    std::vector<std::string> next;
    for (const std::string& result : results)
      for (const std::string& value : found->second) next.push_back(result + value);
    results = std::move(next);
    pos = close + 1;
  }
  return results;
}

std::vector<std::string> ResolveWinapp2Folders(FileSystem& files, std::string_view path, std::size_t limit, bool* cut) {
  const std::vector<std::string> parts = PathComponents(path);
  if (parts.empty() || parts[0].size() != 2 || parts[0][1] != ':' || HasWildcard(parts[0])) return {};
  std::vector<std::string> current{parts[0] + "\\"};
  for (std::size_t i = 1; i < parts.size() && !current.empty(); ++i) {
    std::vector<std::string> next;
    for (const std::string& folder : current) {
      if (!HasWildcard(parts[i])) {
        next.push_back(Join(folder, parts[i]));
        continue;
      }
      files.ListFolder(folder, [&](const FileEntry& entry) {
        if (!entry.IsFolder() || entry.IsReparsePoint() || !Winapp2Matches(parts[i], entry.name)) return;
        if (next.size() < limit)
          next.push_back(entry.path);
        else if (cut)
          *cut = true;
      });
    }
    current = std::move(next);
  }
  // The named folders themselves must exist and not be links.
  std::vector<std::string> existing;
  for (std::string& folder : current) {
    const auto entry = files.Stat(folder);
    if (entry && entry->IsFolder() && !entry->IsReparsePoint() && existing.size() < limit)
      existing.push_back(WithoutTrailingBackslash(std::move(folder)));
  }
  return existing;
}

bool Winapp2PathExists(FileSystem& files, std::string_view path) {
  const std::size_t cut = path.rfind('\\');
  if (cut == std::string_view::npos) return false;
  const std::string_view last = path.substr(cut + 1);
  if (!HasWildcard(path)) return files.Stat(path).has_value();
  for (const std::string& folder : ResolveWinapp2Folders(files, path.substr(0, cut))) {
    if (!HasWildcard(last)) {
      if (files.Stat(Join(folder, last))) return true;
      continue;
    }
    bool found = false;
    files.ListFolder(folder, [&](const FileEntry& entry) { found = found || Winapp2Matches(last, entry.name); });
    if (found) return true;
  }
  return false;
}

}  // namespace cv
