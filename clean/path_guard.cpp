#include "clean/path_guard.h"

#include <algorithm>
#include <optional>

#include "platform/text.h"

namespace cv {

namespace {

bool IsDriveLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Windows drops trailing dots and blanks of a path component when it
// resolves a path ("C:\Windows. " names C:\Windows), so the guard must too.
std::string_view StripTrailingDotsAndBlanks(std::string_view component) {
  while (!component.empty() && (component.back() == '.' || component.back() == ' ')) component.remove_suffix(1);
  return component;
}

// True when `ancestor` is `path` or a folder above it (both normalised).
bool IsSameOrAncestor(std::string_view ancestor, std::string_view path) {
  if (ancestor.size() > path.size()) return false;
  if (path.compare(0, ancestor.size(), ancestor) != 0) return false;
  return ancestor.size() == path.size() || path[ancestor.size()] == '\\';
}

// Appends the components of `rest` ("a\.\b\..\c") to the normalised path
// `out`, whose drive part ("c:") is `rootLength` long, as Normalize resolves them.
void AppendComponents(std::string& out, size_t rootLength, std::string_view rest) {
  size_t pos = 0;
  while (pos <= rest.size()) {
    size_t end = rest.find_first_of("\\/", pos);
    if (end == std::string_view::npos) end = rest.size();
    std::string_view component = rest.substr(pos, end - pos);
    pos = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      // ".." above the root stays at the root, as Windows resolves it.
      const size_t cut = out.rfind('\\');
      if (cut != std::string::npos && cut >= rootLength) out.resize(cut);
      continue;
    }
    component = StripTrailingDotsAndBlanks(component);
    if (component.empty()) continue;  // "..." and the like resolve to the folder itself
    out += '\\';
    out += FoldCase(component);
  }
  if (out.size() == rootLength) out += '\\';  // the drive root keeps its backslash
}

}  // namespace

std::string PathGuard::NormalizeChild(std::string_view folderKey, std::string_view name) {
  if (folderKey.size() < 3 || folderKey[1] != ':' || folderKey[2] != '\\') return {};
  std::string out;
  out.reserve(folderKey.size() + 1 + name.size());
  out.append(folderKey.size() == 3 ? folderKey.substr(0, 2) : folderKey);
  AppendComponents(out, 2, name);
  return out;
}

std::string PathGuard::Normalize(std::string_view path) {
  std::string text(path);
  std::replace(text.begin(), text.end(), '/', '\\');
  // The long-path form of a drive path names the same place.
  constexpr std::string_view kLongPrefix = "\\\\?\\";
  std::string_view rest = text;
  if (rest.substr(0, kLongPrefix.size()) == kLongPrefix) rest.remove_prefix(kLongPrefix.size());
  if (rest.size() < 3 || !IsDriveLetter(rest[0]) || rest[1] != ':' || rest[2] != '\\') return {};

  std::string out;
  out.reserve(rest.size());
  out += AsciiLower(rest[0]);
  out += ':';
  AppendComponents(out, out.size(), rest.substr(3));
  return out;
}

PathGuard PathGuard::ForSystem(Shell& shell, FileSystem& files) {
  PathGuard guard(files);
  const auto env = [&shell](std::string_view name) { return shell.GetEnvironmentVariable(name).value_or(""); };

  const std::string windows = shell.GetWindowsDirectory();
  for (const std::string& folder :
       {env("SystemRoot"), env("windir"), windows, windows + "\\System32", windows + "\\SysWOW64", env("ProgramFiles"),
        env("ProgramFiles(x86)"), env("ProgramW6432"), env("CommonProgramFiles"), env("CommonProgramFiles(x86)"),
        env("ALLUSERSPROFILE"), env("ProgramData"), env("PUBLIC"), env("APPDATA"), env("LOCALAPPDATA"),
        shell.ProgramFolder()})
    guard.Protect(folder);

  const std::string profile = env("USERPROFILE");
  guard.Protect(profile);
  guard.Protect(profile + "\\..");
  return guard;
}

void PathGuard::Protect(std::string_view folder) {
  const auto add = [this](std::string normalized) {
    if (normalized.empty()) return;  // unset variables and the like protect nothing
    if (std::find(protected_.begin(), protected_.end(), normalized) == protected_.end())
      protected_.push_back(std::move(normalized));
  };
  if (Normalize(folder).empty()) return;
  add(Normalize(folder));
  if (!files_) return;
  const auto resolved = files_->Identify(folder, true);
  if (!resolved) return;
  add(Normalize(resolved->finalPath));
  // The folder and each folder above it, by identity: another name for any
  // of them (a link, a short name) is then known whatever its spelling.
  std::string above = resolved->finalPath;
  for (;;) {
    if (const auto id = files_->Identify(above, true)) {
      const auto same = [&id](const FileIdentity& known) { return known.SameFile(*id); };
      if (std::none_of(protectedFiles_.begin(), protectedFiles_.end(), same)) protectedFiles_.push_back(*id);
    }
    const size_t cut = above.find_last_of('\\');
    if (cut == std::string::npos || cut + 1 >= above.size()) break;
    above.resize(cut <= 2 ? cut + 1 : cut);  // "C:\a" -> "C:\", then stop
  }
}

bool PathGuard::SpellingAllowed(std::string_view folder) const {
  const std::string normalized = Normalize(folder);
  if (normalized.empty()) return false;      // empty, relative, UNC or device path
  if (normalized.size() <= 3) return false;  // "c:\"
  for (const std::string& guarded : protected_)
    if (IsSameOrAncestor(normalized, guarded)) return false;
  return true;
}

bool PathGuard::AllowsIdentity(const FileIdentity& identity) const {
  if (!SpellingAllowed(identity.finalPath)) return false;
  const auto same = [&identity](const FileIdentity& known) { return known.SameFile(identity); };
  return std::none_of(protectedFiles_.begin(), protectedFiles_.end(), same);
}

bool PathGuard::AllowsFolder(std::string_view folder) const {
  if (!SpellingAllowed(folder)) return false;
  if (!files_) return true;
  // The entry itself (a link judged as the link), then what it leads to,
  // which is the entry itself unless the entry is a link.
  const auto own = files_->Identify(folder, false);
  if (own && !AllowsIdentity(*own)) return false;
  if (own && !own->reparsePoint) return true;
  const auto reached = files_->Identify(folder, true);
  return !reached || AllowsIdentity(*reached);
}

bool PathGuard::AllowsFile(std::string_view file) const { return AllowsFolder(file); }

bool PathGuard::AllowsRegistryKey(RegKey root, std::string_view subKey) {
  if (!IsPredefinedRoot(root)) return false;
  size_t depth = 0;
  size_t pos = 0;
  while (pos < subKey.size()) {
    size_t end = subKey.find('\\', pos);
    if (end == std::string_view::npos) end = subKey.size();
    if (end > pos) ++depth;
    pos = end + 1;
  }
  // Under HKEY_USERS the first level is a whole user's hive (a SID or
  // ".DEFAULT"), so its top-level keys sit one level lower.
  const size_t minimum = root == kHkeyUsers ? 3 : 2;
  return depth >= minimum;
}

}  // namespace cv
