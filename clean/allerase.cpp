#include "clean/allerase.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "config/inifun.h"
#include "config/regfun.h"
#include "platform/text.h"

namespace cv {

namespace {

constexpr double kRegKeyWeight = 3;
constexpr double kRegTreeWeight = 5;
constexpr double kRegValueWeight = 1;

std::string_view RootName(RegKey root) {
  switch (root) {
    case kHkeyClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case kHkeyCurrentUser:
      return "HKEY_CURRENT_USER";
    case kHkeyLocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case kHkeyUsers:
      return "HKEY_USERS";
    case kHkeyPerformanceData:
      return "HKEY_PERFORMANCE_DATA";
    case kHkeyCurrentConfig:
      return "HKEY_CURRENT_CONFIG";
    case kHkeyDynData:
      return "HKEY_DYN_DATA";
  }
  return "HKEY_UNKNOWN";
}

}  // namespace

std::string FullKeyPath(RegKey root, std::string_view subKey) {
  std::string path(RootName(root));
  size_t pos = 0;
  while (pos < subKey.size()) {
    size_t end = subKey.find('\\', pos);
    if (end == std::string_view::npos) end = subKey.size();
    if (end > pos) {
      path += '\\';
      path.append(subKey.substr(pos, end - pos));
    }
    pos = end + 1;
  }
  return path;
}

namespace {

// A folder path without trailing backslashes, as the listings join names to it.
std::string_view WithoutTrailingBackslash(std::string_view folder) {
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.remove_suffix(1);
  return folder;
}

// What a plain (unforced) delete does to a file once the hidden step ran:
// a read-only file stays unless it was hidden, as the hidden step clears it.
bool PlainDeleteRemoves(const FileEntry& file) {
  if (file.IsReparsePoint()) return true;
  return (file.attributes & kAttrReadOnly) == 0 || (file.attributes & kAttrHidden) != 0;
}

}  // namespace

allerase::allerase(Platform& platform, const PathGuard& guard, EraseMode mode, EraseSink* sink,
                   std::function<void()> yield)
    : platform_(platform), guard_(guard), mode_(mode), sink_(sink), yield_(std::move(yield)), fso_(platform.files) {
  fso_.SetProgress([this] { Yield(); });
}

// ---------------------------------------------------------------------------
// Reporting and preview bookkeeping

void allerase::Report(EntryKind kind, std::string path, double bytes, bool refused) {
  if (!sink_) return;
  EraseEntry entry;
  entry.kind = kind;
  entry.path = std::move(path);
  entry.bytes = bytes;
  entry.refused = refused;
  sink_->Erased(entry);
}

void allerase::Yield() {
  if (yield_) yield_();
}

void allerase::Claim(std::string_view key) { claimed_.insert(std::hash<std::string_view>{}(key)); }

bool allerase::IsClaimed(std::string_view key) const {
  return !claimed_.empty() && claimed_.count(std::hash<std::string_view>{}(key)) != 0;
}

bool allerase::IsClaimedOrUnder(std::string_view key) const {
  if (claimed_.empty()) return false;
  for (size_t cut = key.find('\\'); cut != std::string_view::npos; cut = key.find('\\', cut + 1))
    if (IsClaimed(key.substr(0, cut))) return true;
  return IsClaimed(key);
}

// ---------------------------------------------------------------------------
// File walks

bool allerase::AllowsFolder(std::string_view folder, const PathGuard* alsoGuard) const {
  return guard_.AllowsFolder(folder) && (!alsoGuard || alsoGuard->AllowsFolder(folder));
}

bool allerase::AllowsIdentity(const FileIdentity& identity, const PathGuard* alsoGuard) const {
  return guard_.AllowsIdentity(identity) && (!alsoGuard || alsoGuard->AllowsIdentity(identity));
}

// Opens the folder a primitive works in, or reports it refused; what the walk
// works in is what the guard judged. A plain folder is opened as itself and
// judged by its spelling and by what the open handle is (one lookup). A link,
// or a folder that became one since it was looked at, is judged as the link
// and as what it leads to, then opened through it, and `throughLink` says so.
// nullptr when refused or missing.
std::unique_ptr<Folder> allerase::OpenGuarded(std::string_view folder, const PathGuard* alsoGuard, bool* throughLink) {
  const std::string_view path = WithoutTrailingBackslash(folder);
  const auto refused = [&] {
    Report(EntryKind::Folder, std::string(folder), 0, true);
    return nullptr;
  };
  if (throughLink) *throughLink = false;
  if (guard_.SpellingAllowed(folder) && (!alsoGuard || alsoGuard->SpellingAllowed(folder))) {
    if (auto itself = fso_.Files().OpenFolderItself(path)) {
      const auto identity = itself->Identity();
      if (identity && !AllowsIdentity(*identity, alsoGuard)) return refused();
      return itself;
    }
  }
  if (!AllowsFolder(folder, alsoGuard)) return refused();
  auto opened = fso_.OpenFolder(path);
  if (!opened) return nullptr;
  if (const auto identity = opened->Identity(); identity && !AllowsIdentity(*identity, alsoGuard)) return refused();
  if (throughLink) *throughLink = true;
  return opened;
}

// The claim key of an entry listed in `in`, as PathGuard::Normalize gives it
// for the entry's path; the folder's own key is worked out once per folder.
std::string allerase::EntryKey(Folder& in, std::string_view name) {
  const std::string& path = in.Path();
  if (path != keyedFolder_) {
    // A walk goes down one folder at a time: a folder just below the one
    // keyed last takes its key from that one's.
    const size_t above = keyedFolder_.size();
    const bool below = above > 0 && path.size() > above + 1 && path[above] == '\\' &&
                       path.compare(0, above, keyedFolder_) == 0 && path.find('\\', above + 1) == std::string::npos;
    folderKey_ = below ? PathGuard::NormalizeChild(folderKey_, std::string_view(path).substr(above + 1))
                       : PathGuard::Normalize(path);
    keyedFolder_ = path;
  }
  return PathGuard::NormalizeChild(folderKey_, name);
}

// The engine of the six file primitives: each file of `folder` (and, when
// `rule.recursive`, of every folder below it, depth first, files before
// sub-folders) gets the hidden step; the files that match are counted and
// deleted. Everything is reached through the folder opened before it, so the
// walk stays in its tree; links found on the way are never entered.
double allerase::EraseFiles(std::string_view folder, const FileRule& rule) {
  std::unique_ptr<Folder> root;
  if (!rule.insideProtected) {
    root = OpenGuarded(folder);
  } else if (PathGuard::Normalize(folder).empty()) {
    Report(EntryKind::Folder, std::string(folder), 0, true);
  } else {
    root = fso_.OpenFolder(WithoutTrailingBackslash(folder));
  }
  if (!root) return 0;
  const bool preview = mode_ == EraseMode::Preview;
  if (preview && IsClaimedOrUnder(PathGuard::Normalize(root->Path()))) return 0;
  const std::string start(WithoutTrailingBackslash(folder));

  double total = 0;
  const auto visit = [&](Folder& in, const FileEntry& file) {
    if (file.IsFolder()) {
      if (!rule.recursive || file.IsReparsePoint()) return false;
      return !preview || !IsClaimed(EntryKey(in, file.name));
    }
    std::string key;
    if (preview) {
      key = EntryKey(in, file.name);
      if (IsClaimed(key)) return false;
    }
    // A link is removed as a link: no attribute change, no size of its target.
    const bool link = file.IsReparsePoint();
    if (!preview && !link && (file.attributes & kAttrHidden)) in.SetEntryAttributes(file.name, 0);
    if (rule.yieldAfterHiddenStep) Yield();
    if (rule.matches(file)) {
      const double bytes = link ? 0 : static_cast<double>(file.size);
      total += bytes;  // counted before the delete, kept when it fails
      bool gone = false;
      if (preview) {
        if (PlainDeleteRemoves(file)) {
          Report(EntryKind::File, file.path, bytes, false);
          Claim(key);
          gone = true;
        }
      } else if (DeleteFileIn(in, file, false) == kOk) {
        Report(EntryKind::File, file.path, bytes, false);
        gone = true;
      }
      if (gone && rule.emptiedFrom) {
        // Spelled from the folder as the caller named it.
        std::string from = start + in.Path().substr(root->Path().size());
        if (rule.emptiedFrom->empty() || rule.emptiedFrom->back() != from) rule.emptiedFrom->push_back(std::move(from));
      }
    }
    // Every walk lets the window breathe after each file, not only those
    // that historically did: a 100,000-file cache must not freeze it.
    Yield();
    return false;
  };
  fso_.Walk(*root, visit, [&](Folder&, const FileEntry&) {
    if (rule.yieldAfterFolder) Yield();
  });
  return total;
}

namespace {

bool AnyFile(const FileEntry&) { return true; }
// The name compared exactly, letter case included.
auto NameIs(std::string_view name) {
  return [name](const FileEntry& f) { return f.name == name; };
}
// The file's extension lower-cased, compared with the (lower-case) argument.
auto ExtensionIs(std::string_view extension) {
  return
      [extension](const FileEntry& f) { return AsciiLower(FileSystemObject::GetExtensionName(f.name)) == extension; };
}

}  // namespace

double allerase::DeleteNamedFilesInTree(std::string_view folder, std::string_view fileName) {
  const FileRule rule{NameIs(fileName), true, true, true};
  return EraseFiles(folder, rule);
}

double allerase::DeleteAllFilesInTree(std::string_view folder) {
  const FileRule rule{AnyFile, true, false, false};
  return EraseFiles(folder, rule);
}

double allerase::DeleteFilesByExtensionInTree(std::string_view folder, std::string_view extension) {
  const FileRule rule{ExtensionIs(extension), true, false, false};
  return EraseFiles(folder, rule);
}

double allerase::DeleteFilesInFolder(std::string_view folder) {
  const FileRule rule{AnyFile, false, false, false};
  return EraseFiles(folder, rule);
}

double allerase::DeleteNamedFilesInFolder(std::string_view folder, std::string_view fileName) {
  const FileRule rule{NameIs(fileName), false, false, false};
  return EraseFiles(folder, rule);
}

double allerase::DeleteFilesByExtensionInFolder(std::string_view folder, std::string_view extension) {
  const FileRule rule{ExtensionIs(extension), false, false, false};
  return EraseFiles(folder, rule);
}

double allerase::DeleteMatchingFiles(std::string_view folder, const std::function<bool(const FileEntry&)>& matches,
                                     bool recursive, bool removeEmptied) {
  std::vector<std::string> emptiedFrom;
  FileRule rule{matches, recursive, false, false};
  if (removeEmptied) rule.emptiedFrom = &emptiedFrom;
  const double total = EraseFiles(folder, rule);
  if (!emptiedFrom.empty()) RemoveEmptiedFolders(std::string(WithoutTrailingBackslash(folder)), emptiedFrom);
  return total;
}

// The folders files went from and the folders between them and `start`, each
// removed when nothing is left in it, deepest first so a parent is judged
// after its children. In preview "nothing left" means every entry in it is
// claimed by what the preview already listed.
void allerase::RemoveEmptiedFolders(const std::string& start, const std::vector<std::string>& emptiedFrom) {
  std::vector<std::string> candidates;
  std::unordered_set<std::string> seen;
  for (std::string folder : emptiedFrom) {
    while (folder.size() >= start.size() && seen.insert(AsciiLower(folder)).second) {
      candidates.push_back(folder);
      if (folder.size() == start.size()) break;
      folder.resize(folder.rfind('\\'));
    }
  }
  const auto depth = [](const std::string& path) { return std::count(path.begin(), path.end(), '\\'); };
  std::stable_sort(candidates.begin(), candidates.end(),
                   [&](const std::string& a, const std::string& b) { return depth(a) > depth(b); });
  const bool preview = mode_ == EraseMode::Preview;
  for (const std::string& folder : candidates) {
    Yield();
    if (!guard_.AllowsFolder(folder)) continue;
    if (!preview) {
      if (fso_.Files().RemoveFolder(folder, false) == kOk) Report(EntryKind::Folder, folder, 0, false);
      continue;
    }
    const std::string key = PathGuard::Normalize(folder);
    bool empty = true;
    fso_.Files().ListFolder(folder, [&](const FileEntry& entry) {
      if (empty && !IsClaimed(PathGuard::NormalizeChild(key, entry.name))) empty = false;
    });
    if (!empty) continue;
    Report(EntryKind::Folder, folder, 0, false);
    Claim(key);
  }
}

// ---------------------------------------------------------------------------
// Whole folders

// In preview: the bytes of the files below `folder` that no earlier call has
// claimed, never through a link.
double allerase::UnclaimedTreeSize(Folder& folder) {
  double total = 0;
  fso_.Walk(folder, [&](Folder&, const FileEntry& entry) {
    Yield();
    if (entry.IsReparsePoint()) return false;
    if (!claimed_.empty() && IsClaimed(PathGuard::Normalize(entry.path))) return false;
    if (!entry.IsFolder()) total += static_cast<double>(entry.size);
    return true;
  });
  return total;
}

double allerase::DeleteMatchingFilesInProtected(std::string_view folder,
                                                const std::function<bool(const FileEntry&)>& matches) {
  FileRule rule{matches, false, false, false};
  rule.insideProtected = true;
  return EraseFiles(folder, rule);
}

// Deletes (or in preview reports and claims) the contents of the open folder
// and then, through `removeFolder` when given, the folder itself. Returns
// the bytes counted for it. In clean mode the entry is reported when
// anything was released: the whole size when everything went, else what
// went before a file in use or a read-only file stopped the delete.
double allerase::EraseFolderTree(Folder& folder, bool force, const std::function<Status()>& removeFolder) {
  if (mode_ == EraseMode::Preview) {
    const std::string key = PathGuard::Normalize(folder.Path());
    if (IsClaimedOrUnder(key)) return 0;
    const double size = UnclaimedTreeSize(folder);
    Report(EntryKind::Folder, folder.Path(), size, false);
    Claim(key);
    return size;
  }
  FileSystemObject::TreeBytes bytes;
  Status status = fso_.DeleteContents(folder, force, overwritePasses_, &bytes);
  if (status == kOk && removeFolder) status = removeFolder();
  const double size = static_cast<double>(bytes.found);
  if (status == kOk) {
    Report(EntryKind::Folder, folder.Path(), size, false);
  } else if (bytes.deleted > 0) {
    Report(EntryKind::Folder, folder.Path(), static_cast<double>(bytes.deleted), false);
  }
  return size;
}

Status allerase::DeleteFileIn(Folder& in, const FileEntry& file, bool force) {
  if (overwritePasses_ > 0 && !file.IsReparsePoint())
    return in.DeleteEntryOverwritten(file.name, force, overwritePasses_);
  return in.DeleteEntry(file.name, force);
}

// A target named by the user or a plug-in that is itself a link goes as the
// link: 0 bytes, and what it leads to is kept.
double allerase::RemoveLink(const std::string& link) {
  if (mode_ == EraseMode::Preview) {
    const std::string key = PathGuard::Normalize(link);
    if (IsClaimedOrUnder(key)) return 0;
    Report(EntryKind::Folder, link, 0, false);
    Claim(key);
    return 0;
  }
  if (fso_.Files().RemoveFolder(link, false) == kOk) Report(EntryKind::Folder, link, 0, false);
  return 0;
}

double allerase::DeleteNamedFoldersInTree(std::string_view folder, std::string_view folderName) {
  const auto root = OpenGuarded(folder);
  if (!root) return 0;
  const bool preview = mode_ == EraseMode::Preview;
  if (preview && IsClaimedOrUnder(PathGuard::Normalize(root->Path()))) return 0;

  double total = 0;
  std::string hiddenStepDoneIn;
  fso_.Walk(*root, [&](Folder& in, const FileEntry& sub) {
    if (!sub.IsFolder()) return false;
    // The hidden step here applies to the folder being searched, once it
    // turns out to have sub-folders.
    if (!preview && hiddenStepDoneIn != in.Path()) {
      hiddenStepDoneIn = in.Path();
      const auto attributes = in.Attributes();
      if (attributes && (*attributes & kAttrHidden) && !(*attributes & kAttrReparsePoint)) in.SetAttributes(0);
    }
    if (sub.IsReparsePoint()) return false;  // neither matched nor entered
    if (AsciiLower(sub.name) == folderName) {
      // A matched folder is not searched further: it is gone, or what is
      // left of it was already counted.
      if (auto match = in.OpenSubFolder(sub.name))
        total += EraseFolderTree(*match, false, [&] { return in.DeleteEntry(sub.name, false); });
      return false;
    }
    return !preview || !IsClaimed(EntryKey(in, sub.name));
  });
  return total;
}

// Whether the entry `path` itself is not the folder `opened` through it: a
// link put in the folder's place since it was looked at, removed as a link.
bool allerase::IsOtherThan(const std::string& path, Folder& opened) {
  const auto own = fso_.Files().Identify(path, false);
  const auto reached = opened.Identity();
  return own && reached && !own->SameFile(*reached);
}

double allerase::EmptyFolder(std::string_view folder) { return EmptyFolderAt(folder, true, nullptr); }

double allerase::EmptyNamedFolder(std::string_view folder) { return EmptyFolderAt(folder, false, nullptr); }

double allerase::EmptyNamedFolderGuardedBy(std::string_view folder, const PathGuard& alsoGuard) {
  return EmptyFolderAt(folder, false, &alsoGuard);
}

// The folder is emptied in place, not removed and made again, so it keeps
// its permissions and whatever else makes it what it is; the result is the
// folder's whole size as found, also when files in use stay. A folder that
// is itself a link (such as the profile's compatibility links) is emptied
// through the link, which stays, unless `throughLink` is false: then the
// link alone goes. A missing folder is created, empty.
double allerase::EmptyFolderAt(std::string_view folder, bool throughLink, const PathGuard* alsoGuard) {
  const std::string path(WithoutTrailingBackslash(folder));
  const bool preview = mode_ == EraseMode::Preview;
  const auto self = fso_.Files().Stat(path);
  // What is not a plain folder is judged here; a plain folder is judged as
  // it is opened.
  if ((!self || self->IsReparsePoint()) && !AllowsFolder(folder, alsoGuard)) {
    Report(EntryKind::Folder, std::string(folder), 0, true);
    return 0;
  }
  if (!self) {
    if (!preview) fso_.CreateFolder(path);
    return 0;
  }
  if (!self->IsFolder()) return 0;  // a file of that name: nothing to empty, nothing created
  if (self->IsReparsePoint() && !throughLink) return RemoveLink(path);

  bool reachedThroughLink = false;
  const auto opened = OpenGuarded(path, alsoGuard, &reachedThroughLink);
  if (!opened) return 0;
  if (reachedThroughLink && !throughLink && IsOtherThan(path, *opened)) return RemoveLink(path);
  if (!preview && !self->IsReparsePoint() && (self->attributes & kAttrHidden)) opened->SetAttributes(0);
  return EraseFolderTree(*opened, true, {});
}

double allerase::DeleteSingleFile(std::string_view file) {
  if (!guard_.AllowsFile(file)) {
    Report(EntryKind::File, std::string(file), 0, true);
    return 0;
  }
  const auto entry = fso_.GetFile(file);
  if (!entry) return 0;
  const double bytes = entry->IsReparsePoint() ? 0 : static_cast<double>(entry->size);
  if (mode_ == EraseMode::Preview) {
    std::string key = PathGuard::Normalize(entry->path);
    if (IsClaimedOrUnder(key)) return 0;
    if ((entry->attributes & kAttrReadOnly) == 0 || entry->IsReparsePoint()) {
      Report(EntryKind::File, entry->path, bytes, false);
      Claim(key);
    }
    return bytes;
  }
  // Deleted (and overwritten) through the folder that holds it, once that
  // folder, as opened, is where the guard saw the file: nothing swapped for a
  // link on the way since is followed.
  const std::string path(WithoutTrailingBackslash(file));
  const auto cut = path.rfind('\\');
  if (cut == std::string::npos || cut + 1 >= path.size()) return 0;
  const auto judged = fso_.Files().Identify(path, false);
  const auto parent = fso_.Files().OpenFolder(path.substr(0, cut < 3 ? cut + 1 : cut));
  if (!parent) return 0;
  if (judged) {
    const auto reached = parent->Identity();
    const std::string_view judgedPath = judged->finalPath;
    const std::size_t judgedCut = judgedPath.rfind('\\');
    if (!reached || judgedCut == std::string_view::npos ||
        !EqualsNoCase(WithoutTrailingBackslash(reached->finalPath),
                      WithoutTrailingBackslash(judgedPath.substr(0, judgedCut < 3 ? judgedCut + 1 : judgedCut)))) {
      Report(EntryKind::File, std::string(file), 0, true);
      return 0;
    }
  }
  FileEntry named = *entry;
  named.name = path.substr(cut + 1);
  if (DeleteFileIn(*parent, named, false) == kOk) Report(EntryKind::File, entry->path, bytes, false);
  return bytes;
}

double allerase::DeleteFolderTree(std::string_view folder) {
  const std::string path(WithoutTrailingBackslash(folder));
  const auto self = fso_.GetFolder(path);
  // What is not a plain folder is judged here; a plain folder is judged as it is opened.
  if ((!self || self->IsReparsePoint()) && !guard_.AllowsFolder(folder)) {
    Report(EntryKind::Folder, std::string(folder), 0, true);
    return 0;
  }
  if (!self) return 0;
  if (self->IsReparsePoint()) return RemoveLink(path);
  bool reachedThroughLink = false;
  const auto opened = OpenGuarded(path, nullptr, &reachedThroughLink);
  if (!opened) return 0;
  if (reachedThroughLink && IsOtherThan(path, *opened)) return RemoveLink(path);
  return EraseFolderTree(*opened, false, [&] { return fso_.Files().RemoveFolder(path, false); });
}

// ---------------------------------------------------------------------------
// Registry, INI files, restart

double allerase::DeleteRegKey(RegKey root, std::string_view subKey) {
  // Windows creates the key with a leading "\" in front of the sub-key path
  // only to delete it at once; that call never changes the outcome, and
  // creating keys here could leave new empty parent keys behind, so the
  // delete is made directly.
  EraseRegistryKey(EntryKind::RegKey, root, subKey);
  return kRegKeyWeight;
}

double allerase::DeleteRegTree(RegKey root, std::string_view subKey) {
  EraseRegistryKey(EntryKind::RegTree, root, subKey);
  return kRegTreeWeight;
}

// A key alone (RegKey: refused by the system when it has sub-keys) or with
// its whole tree (RegTree).
void allerase::EraseRegistryKey(EntryKind kind, RegKey root, std::string_view subKey) {
  std::string path = FullKeyPath(root, subKey);
  if (!PathGuard::AllowsRegistryKey(root, subKey)) {
    Report(kind, std::move(path), 0, true);
    return;
  }
  Registry& registry = platform_.registry;
  if (mode_ == EraseMode::Preview) {
    std::string key = AsciiLower(path);
    if (IsClaimedOrUnder(key)) return;
    ScopedRegKey handle(registry);
    if (registry.OpenKey(root, subKey, kKeyRead, handle.out()) != kOk) return;
    std::string child;
    // A key with sub-keys is refused by the single-key delete, so it would stay.
    if (kind == EntryKind::RegKey && registry.EnumKey(handle.get(), 0, child) == kOk) return;
    Report(kind, std::move(path), 0, false);
    Claim(key);
    return;
  }
  const Status status =
      kind == EntryKind::RegKey ? registry.DeleteKey(root, subKey) : registry.DeleteTree(root, subKey);
  if (status == kOk) Report(kind, std::move(path), 0, false);
}

double allerase::DeleteRegValue(RegKey root, std::string_view subKey, std::string_view valueName) {
  const std::string keyPath = FullKeyPath(root, subKey);
  std::string path = keyPath + "\\" + std::string(valueName);
  if (!PathGuard::AllowsRegistryKey(root, subKey)) {
    Report(EntryKind::RegValue, std::move(path), 0, true);
    return kRegValueWeight;
  }
  Registry& registry = platform_.registry;
  const bool preview = mode_ == EraseMode::Preview;
  // Values are claimed under their key, with a separator no key name holds.
  std::string claim = AsciiLower(keyPath) + '\n' + AsciiLower(valueName);
  if (preview && (IsClaimedOrUnder(AsciiLower(keyPath)) || IsClaimed(claim))) return kRegValueWeight;

  ScopedRegKey handle(registry);
  if (registry.OpenKey(root, subKey, preview ? kKeyRead : (kKeyRead | kKeyWrite), handle.out()) != kOk)
    return kRegValueWeight;
  if (preview) {
    RegValue value;
    if (registry.QueryValue(handle.get(), valueName, value) == kOk) {
      Report(EntryKind::RegValue, std::move(path), 0, false);
      Claim(claim);
    }
    return kRegValueWeight;
  }
  if (registry.DeleteValue(handle.get(), valueName) == kOk) Report(EntryKind::RegValue, std::move(path), 0, false);
  return kRegValueWeight;
}

void allerase::DeleteIniSection(std::string_view file, std::string_view section) {
  std::string path = std::string(file) + " [" + std::string(section) + "]";
  if (!guard_.AllowsFile(file)) {
    Report(EntryKind::IniSection, std::move(path), 0, true);
    return;
  }
  Inifun ini(platform_.files);
  if (mode_ == EraseMode::Preview) {
    std::string claim = PathGuard::Normalize(file) + '\n' + AsciiLower(section);
    if (IsClaimedOrUnder(PathGuard::Normalize(file)) || IsClaimed(claim)) return;
    if (ini.HasIniSection(file, section)) {
      Report(EntryKind::IniSection, std::move(path), 0, false);
      Claim(claim);
    }
    return;
  }
  if (!ini.HasIniSection(file, section)) return;
  ini.DeleteIniSection(file, section);
  if (!ini.HasIniSection(file, section)) Report(EntryKind::IniSection, std::move(path), 0, false);
}

void allerase::DeleteAtReboot(std::string_view file) {
  if (!guard_.AllowsFile(file)) {
    Report(EntryKind::File, std::string(file), 0, true);
    return;
  }
  // Marked only: the file goes when Windows next starts, and nothing is counted.
  if (mode_ == EraseMode::Preview) {
    if (fso_.FileExists(file)) Report(EntryKind::File, std::string(file), 0, false);
    return;
  }
  if (platform_.files.DeleteAtReboot(file) == kOk) Report(EntryKind::File, std::string(file), 0, false);
}

}  // namespace cv
