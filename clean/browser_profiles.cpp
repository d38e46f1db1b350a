#include "clean/browser_profiles.h"

#include <set>

#include "platform/json.h"
#include "platform/text.h"

namespace cv {

namespace {

std::string Below(std::string_view base, std::string_view relative) {
  if (base.empty() || relative.empty()) return {};
  std::string path(base);
  if (path.back() != '\\') path += '\\';
  path.append(relative);
  return path;
}

// The text of a small file; empty when missing, unreadable or over the limit.
std::string ReadSmallFile(FileSystem& files, std::string_view path, bool& tooLarge) {
  tooLarge = false;
  std::string text;
  const auto entry = files.Stat(path);
  if (!entry || entry->IsFolder()) return text;
  if (entry->size > kMaxProfileListBytes) {
    tooLarge = true;
    return text;
  }
  if (files.ReadFile(path, text) != kOk || text.size() > kMaxProfileListBytes) text.clear();
  return text;
}

bool IsFullDrivePath(std::string_view path) {
  return path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' &&
         (path[2] == '\\' || path[2] == '/');
}

class ProfileCollector {
 public:
  ProfileCollector(FileSystem& files, const PathGuard& guard, BrowserFamily family, ProfileScan& scan)
      : files_(files), guard_(guard), family_(family), scan_(scan) {}

  void Refuse(std::string why) { scan_.refused.push_back(std::move(why)); }

  // Adds the folder when it is a usable profile folder; notes why not otherwise.
  void Add(std::string name, const std::string& folder, std::string localFolder, std::string_view listedAs) {
    if (folder.empty()) {
      scan_.refused.push_back(std::string(listedAs) + " is not a usable profile folder");
      return;
    }
    const auto entry = files_.Stat(folder);
    if (!entry || !entry->IsFolder()) return;  // listed but gone: nothing to clean
    if (entry->IsReparsePoint()) {
      scan_.refused.push_back(folder + " is a link");
      return;
    }
    if (!guard_.AllowsFolder(folder)) {
      scan_.refused.push_back(folder + " is a protected folder");
      return;
    }
    if (!HasMarker(folder)) return;
    if (!seen_.insert(PathGuard::Normalize(folder)).second) return;
    const auto local = localFolder.empty() ? std::nullopt : files_.Stat(localFolder);
    if (localFolder.empty() || (local && local->IsReparsePoint()) || !guard_.AllowsFolder(localFolder))
      localFolder = folder;
    scan_.profiles.push_back({std::move(name), folder, std::move(localFolder)});
  }

 private:
  bool HasMarker(const std::string& folder) {
    for (std::string_view marker : ProfileMarkers(family_)) {
      const auto file = files_.Stat(folder + "\\" + std::string(marker));
      if (file && !file->IsFolder()) return true;
    }
    return false;
  }

  FileSystem& files_;
  const PathGuard& guard_;
  BrowserFamily family_;
  ProfileScan& scan_;
  std::set<std::string> seen_;
};

// A name listed in "Local State" names a folder directly in the user-data folder.
bool IsPlainFolderName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.size() > 255) return false;
  for (char c : name)
    if (c == '\\' || c == '/' || c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
  return true;
}

void FindChromiumProfiles(FileSystem& files, const BrowserSpec& browser, const BrowserFolders& folders,
                          ProfileCollector& collector) {
  if (browser.rootIsProfile) {
    const std::string local = folders.localRoot.empty() ? folders.root : folders.localRoot;
    collector.Add(std::string(browser.name), folders.root, local, folders.root);
    return;
  }
  bool tooLarge = false;
  const std::string state = ReadSmallFile(files, Below(folders.root, "Local State"), tooLarge);
  if (const auto listed = JsonObjectKeys(state, {"profile", "info_cache"})) {
    for (const std::string& name : *listed) {
      if (IsPlainFolderName(name)) {
        const std::string folder = Below(folders.root, name);
        collector.Add(name, folder, folder, name);
      } else {
        collector.Add(name, {}, {}, "\"" + name + "\"");
      }
    }
  }
  // Folders with the browser's own profile names count whether listed or not:
  // a "Local State" may be missing, damaged or out of date.
  std::vector<std::string> names;
  files.ListFolder(folders.root, [&](const FileEntry& entry) {
    if (entry.IsFolder() && IsChromiumProfileName(entry.name)) names.push_back(entry.name);
  });
  for (const std::string& name : names) {
    const std::string folder = Below(folders.root, name);
    collector.Add(name, folder, folder, name);
  }
}

struct IniProfile {
  std::string name;
  std::string path;
  bool relative = true;
};

// The [Profile*] sections of "profiles.ini" (Name, Path, IsRelative), or the
// Default= entries of every section of "installs.ini".
std::vector<IniProfile> ParseProfileList(std::string_view text, bool installs) {
  std::vector<IniProfile> found;
  bool inProfile = false;
  IniProfile current;
  auto flush = [&] {
    if (inProfile && !current.path.empty()) found.push_back(current);
    current = {};
  };
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = TrimBlanks(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      flush();
      const std::size_t close = line.rfind(']');
      const std::string section(close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1));
      inProfile = installs || AsciiLower(section).rfind("profile", 0) == 0;
      continue;
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || !inProfile) continue;
    const std::string key = AsciiLower(TrimBlanks(line.substr(0, eq)));
    const std::string_view value = TrimBlanks(line.substr(eq + 1));
    if (installs) {
      if (key == "default") found.push_back({std::string(value), std::string(value), true});
    } else if (key == "name") {
      current.name = value;
    } else if (key == "path") {
      current.path = value;
    } else if (key == "isrelative") {
      current.relative = value != "0";
    }
  }
  flush();
  return found;
}

void FindFirefoxProfiles(FileSystem& files, const BrowserFolders& folders, const std::vector<KnownFolder>& userData,
                         ProfileCollector& collector) {
  std::vector<IniProfile> listed;
  for (const bool installs : {false, true}) {
    bool tooLarge = false;
    const std::string text =
        ReadSmallFile(files, Below(folders.root, installs ? "installs.ini" : "profiles.ini"), tooLarge);
    for (IniProfile& p : ParseProfileList(text, installs)) listed.push_back(std::move(p));
  }
  for (const IniProfile& p : listed) {
    std::string name = p.name.empty() ? p.path : p.name;
    if (p.relative && !IsFullDrivePath(p.path)) {
      const std::string folder = JoinInside(folders.root, p.path);
      collector.Add(name, folder, JoinInside(folders.localRoot, p.path), p.path);
    } else if (IsFullDrivePath(p.path)) {
      // A profile kept elsewhere may be anywhere, but never one of the user's
      // data folders (or above one): its caches are emptied by name.
      const std::string folder = JoinInside(p.path.substr(0, 2) + "\\", p.path.substr(3));
      if (const KnownFolder* data = folder.empty() ? nullptr : UserDataAtOrBelow(files, userData, folder)) {
        const bool same = PathGuard::Normalize(folder) == PathGuard::Normalize(data->path);
        collector.Refuse(folder + (same ? " is" : " holds") + " the user's " + data->name + " folder");
        continue;
      }
      collector.Add(name, folder, folder, p.path);
    } else {
      collector.Add(name, {}, {}, p.path);
    }
  }
  // Folders in "Profiles" count whether listed or not: a "profiles.ini" may be
  // missing, damaged or out of date. Only folders with a profile's marker files are used.
  const std::string profiles = Below(folders.root, "Profiles");
  std::vector<std::string> names;
  files.ListFolder(profiles, [&](const FileEntry& entry) {
    if (entry.IsFolder()) names.push_back(entry.name);
  });
  for (const std::string& name : names) {
    const std::string relative = "Profiles\\" + name;
    collector.Add(name, Below(folders.root, relative), JoinInside(folders.localRoot, relative), relative);
  }
}

}  // namespace

BrowserFolders FoldersOf(const BrowserSpec& browser, std::string_view appData, std::string_view localAppData) {
  const std::string_view base = browser.rootBase == UserFolder::kAppData ? appData : localAppData;
  BrowserFolders folders;
  folders.root = Below(base, browser.root);
  if (!browser.localRoot.empty()) folders.localRoot = Below(localAppData, browser.localRoot);
  return folders;
}

std::string JoinInside(std::string_view base, std::string_view relative) {
  if (base.empty() || relative.empty() || relative[0] == '\\' || relative[0] == '/' || IsFullDrivePath(relative) ||
      relative.find(':') != std::string_view::npos)
    return {};
  std::string path(base);
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  std::size_t pos = 0;
  bool any = false;
  while (pos <= relative.size()) {
    std::size_t end = relative.find_first_of("\\/", pos);
    if (end == std::string_view::npos) end = relative.size();
    const std::string_view part = relative.substr(pos, end - pos);
    pos = end + 1;
    if (part.empty()) continue;
    if (part == "." || part == "..") return {};
    if (path.back() != '\\') path += '\\';
    path.append(part);
    any = true;
  }
  return any ? path : std::string();
}

ProfileScan FindProfiles(FileSystem& files, const PathGuard& guard, const BrowserSpec& browser,
                         const BrowserFolders& folders, const std::vector<KnownFolder>& userData) {
  ProfileScan scan;
  if (folders.root.empty()) return scan;
  const auto root = files.Stat(folders.root);
  if (!root || !root->IsFolder()) return scan;
  if (root->IsReparsePoint() || !guard.AllowsFolder(folders.root)) {
    scan.refused.push_back(folders.root + (root->IsReparsePoint() ? " is a link" : " is a protected folder"));
    return scan;
  }
  ProfileCollector collector(files, guard, browser.family, scan);
  if (browser.family == BrowserFamily::kChromium)
    FindChromiumProfiles(files, browser, folders, collector);
  else
    FindFirefoxProfiles(files, folders, userData, collector);
  return scan;
}

}  // namespace cv
