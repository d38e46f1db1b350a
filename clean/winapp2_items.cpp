#include "clean/winapp2_items.h"

#include <algorithm>

#include "clean/allerase.h"
#include "clean/registry_reach.h"
#include "clean/run_context.h"
#include "clean/winapp2_reach.h"
#include "platform/text.h"

namespace cv {

namespace {

// Registry keys are nested far less deeply; deeper recursion is not followed.
constexpr int kMaxRegistryDepth = 64;

std::vector<std::string> LowerComponents(std::string_view normalized) {
  std::vector<std::string> parts;
  std::size_t pos = 0;
  while (pos < normalized.size()) {
    std::size_t end = normalized.find('\\', pos);
    if (end == std::string_view::npos) end = normalized.size();
    if (end > pos) parts.emplace_back(normalized.substr(pos, end - pos));
    pos = end + 1;
  }
  return parts;
}

// `ancestor` is `key` or a key above it (`key` folded, same root).
bool IsSameOrAbove(const Winapp2RegKey& ancestor, RegKey root, std::string_view key) {
  if (ancestor.root != root) return false;
  const std::string above = FoldCase(ancestor.subKey);
  if (above.size() > key.size() || key.compare(0, above.size(), above) != 0) return false;
  return above.size() == key.size() || key[above.size()] == '\\';
}

class RegistryCleaner {
 public:
  RegistryCleaner(RunContext& run, std::vector<Winapp2RegKey> spared) : run_(run), spared_(std::move(spared)) {}

  void Clean(const Winapp2RegKey& key) {
    const std::string lower = FoldCase(key.subKey);
    if (Spared(key.root, lower)) return;
    if (key.value) {
      run_.RegistryKeysCleaned += run_.erase.DeleteRegValue(key.root, key.subKey, *key.value);
      return;
    }
    CleanTree(key.root, key.subKey, 0);
  }

 private:
  bool Spared(RegKey root, std::string_view lower) const {
    return std::any_of(spared_.begin(), spared_.end(),
                       [&](const Winapp2RegKey& s) { return IsSameOrAbove(s, root, lower); });
  }
  bool HoldsSpared(RegKey root, std::string_view lower) const {
    Winapp2RegKey self{root, std::string(lower), std::nullopt};
    return std::any_of(spared_.begin(), spared_.end(),
                       [&](const Winapp2RegKey& s) { return IsSameOrAbove(self, s.root, FoldCase(s.subKey)); });
  }

  // The whole tree, or, when a spared key lies below, its values and the
  // sub-trees that hold nothing spared.
  void CleanTree(RegKey root, const std::string& subKey, int depth) {
    const std::string lower = FoldCase(subKey);
    if (Spared(root, lower)) return;
    if (!HoldsSpared(root, lower)) {
      run_.RegistryKeysCleaned += run_.erase.DeleteRegTree(root, subKey);
      return;
    }
    if (depth >= kMaxRegistryDepth) return;
    Registry& registry = run_.platform.registry;
    std::vector<std::string> values, children;
    {
      ScopedRegKey key(registry);
      if (registry.OpenKey(root, subKey, kKeyRead, key.out()) != kOk) return;
      std::string name;
      RegValue value;
      for (std::uint32_t i = 0; registry.EnumValue(key.get(), i, name, value) == kOk; ++i) values.push_back(name);
      for (std::uint32_t i = 0; registry.EnumKey(key.get(), i, name) == kOk; ++i) children.push_back(name);
    }
    for (const std::string& value : values) run_.RegistryKeysCleaned += run_.erase.DeleteRegValue(root, subKey, value);
    for (const std::string& child : children) CleanTree(root, subKey + "\\" + child, depth + 1);
  }

  RunContext& run_;
  std::vector<Winapp2RegKey> spared_;
};

void WriteLogIfChanged(FileSystem& files, const std::string& path, const std::string& text) {
  std::string old;
  if (files.ReadFile(path, old) == kOk && old == text) return;
  files.WriteFileAtomic(path, text);
}

std::string LogText(const Winapp2Database& database) {
  std::string text;
  for (const Winapp2Rejected& rejected : database.rejected)
    text += rejected.file + " line " + std::to_string(rejected.line) + " [" + rejected.name +
            "]: " + (rejected.unsafe ? "refused: " : "skipped: ") + rejected.reason + "\r\n";
  for (const std::string& note : database.notes) text += note + "\r\n";
  return text;
}

}  // namespace

Winapp2Database LoadWinapp2Files(Platform& platform, std::string_view programFolder) {
  Winapp2Database database;
  std::vector<std::string> taken;
  for (std::string_view name : kWinapp2Files) {
    const std::string path = std::string(programFolder) + std::string(name);
    const std::string shown(name.substr(1));
    const auto entry = platform.files.Stat(path);
    if (!entry || entry->IsFolder()) continue;
    if (entry->size > kWinapp2MaxFileBytes) {
      database.notes.push_back(shown + ": larger than " + std::to_string(kWinapp2MaxFileBytes >> 20) + " MB, not read");
      continue;
    }
    std::string bytes;
    if (platform.files.ReadFile(path, bytes) != kOk) {
      database.notes.push_back(shown + ": could not be read");
      continue;
    }
    const std::size_t notesBefore = database.notes.size(), rejectedBefore = database.rejected.size();
    ReadWinapp2(bytes, database, taken);
    for (std::size_t i = notesBefore; i < database.notes.size(); ++i)
      database.notes[i] = shown + " " + database.notes[i];
    for (std::size_t i = rejectedBefore; i < database.rejected.size(); ++i) database.rejected[i].file = shown;
  }
  return database;
}

bool Winapp2Detected(const Winapp2Entry& entry, Platform& platform, const Winapp2Folders& folders) {
  const OsVersion os = platform.shell.GetVersion();
  const unsigned version = os.major * 100 + os.minor;
  if ((entry.osFrom && version < *entry.osFrom) || (entry.osTo && version > *entry.osTo)) return false;
  if (entry.detectKeys.empty() && entry.detectFiles.empty()) return true;
  for (const Winapp2RegKey& key : entry.detectKeys) {
    ScopedRegKey handle(platform.registry);
    if (platform.registry.OpenKey(key.root, key.subKey, kKeyRead, handle.out()) == kOk) return true;
  }
  for (const std::string& path : entry.detectFiles)
    for (const std::string& expanded : folders.Expand(path))
      if (Winapp2PathExists(platform.files, expanded)) return true;
  return false;
}

Winapp2Plan PlanWinapp2Entry(const Winapp2Entry& entry, const Winapp2Folders& folders, FileSystem& files,
                             const PathGuard& guard) {
  if (entry.fileKeys.empty() && entry.excludes.empty()) return {};
  Winapp2Reach reach(folders, files, guard);
  return PlanWinapp2Entry(entry, folders, files, reach);
}

Winapp2Plan PlanWinapp2Entry(const Winapp2Entry& entry, const Winapp2Folders& folders, FileSystem& files,
                             Winapp2Reach& reach) {
  Winapp2Plan plan;
  const auto refuse = [&plan](std::string path, std::string reason) {
    plan.refusedPath = std::move(path);
    plan.refusedReason = std::move(reason);
    plan.files.clear();
    return plan;
  };
  for (const Winapp2FileKey& key : entry.fileKeys) {
    bool overLimit = false;
    const std::vector<std::string> spellings = folders.Expand(key.folder, &overLimit);
    if (overLimit)
      return refuse(key.folder, key.folder + " has more than " + std::to_string(kWinapp2MaxSpellings) + " spellings");
    for (const std::string& expanded : spellings) {
      // A folder named outright is judged even when it is missing here.
      const bool literal = expanded.find_first_of("*?") == std::string::npos;
      bool cut = false;
      std::vector<std::string> resolved = ResolveWinapp2Folders(files, expanded, kWinapp2MaxFolders, &cut);
      if (cut)
        return refuse(expanded, expanded + " names more than " + std::to_string(kWinapp2MaxFolders) + " folders");
      std::vector<std::string> tops;  // reached through a "*" component
      if (literal && resolved.empty()) {
        const Winapp2Reach::Judgement judgement = reach.Judge(entry, key, expanded, expanded);
        if (judgement.verdict == Winapp2Reach::Verdict::kRefused) return refuse(expanded, judgement.reason);
      }
      for (std::size_t i = 0; i < resolved.size(); ++i) {
        std::string& folder = resolved[i];
        const Winapp2Reach::Judgement judgement = reach.Judge(entry, key, expanded, literal ? expanded : folder);
        if (judgement.verdict == Winapp2Reach::Verdict::kRefused)
          return refuse(literal ? expanded : folder, judgement.reason);
        if (!literal && (key.recurse || std::any_of(key.patterns.begin(), key.patterns.end(), Winapp2MatchesEveryName)))
          if (const auto top = reach.TopFolder(expanded, folder); top && top->throughWildcard) {
            if (std::find(tops.begin(), tops.end(), top->path) == tops.end()) tops.push_back(top->path);
            if (tops.size() > 1)
              return refuse(expanded, expanded + " reaches the folders of several applications (" + tops[0] + ", " +
                                          tops[1] + ")");
          }
        plan.files.push_back(
            {std::move(folder), &key, judgement.verdict == Winapp2Reach::Verdict::kAllowedInsideProtected});
      }
    }
  }
  for (const Winapp2Exclude& exclude : entry.excludes) {
    if (exclude.kind == Winapp2Exclude::Kind::kReg) continue;
    for (const std::string& expanded : folders.Expand(exclude.folder)) {
      const std::string normalized = PathGuard::Normalize(expanded);
      if (normalized.empty()) continue;
      plan.fileExcludes.push_back({exclude.kind, LowerComponents(normalized), exclude.patterns});
      // The same folder by what it is on disk: its final path.
      // (A folder named outright may itself be a link or a short name.)
      const std::vector<std::string> resolved = expanded.find_first_of("*?") == std::string::npos
                                                    ? std::vector<std::string>{expanded}
                                                    : ResolveWinapp2Folders(files, expanded);
      for (const std::string& folder : resolved)
        if (const auto id = files.Identify(folder, true)) {
          const std::string finalPath = PathGuard::Normalize(id->finalPath);
          if (!finalPath.empty() && finalPath != normalized)
            plan.fileExcludes.push_back({exclude.kind, LowerComponents(finalPath), exclude.patterns});
        }
    }
  }
  return plan;
}

namespace {

bool ExcludedBy(const Winapp2Plan& plan, const std::vector<std::string>& folder, std::string_view name) {
  for (const Winapp2Plan::Exclude& exclude : plan.fileExcludes) {
    const bool whole = exclude.kind == Winapp2Exclude::Kind::kPath;
    if (folder.size() < exclude.components.size() || (!whole && folder.size() != exclude.components.size())) continue;
    bool inside = true;
    for (std::size_t i = 0; i < exclude.components.size() && inside; ++i)
      inside = Winapp2Matches(exclude.components[i], folder[i]);
    if (inside && std::any_of(exclude.patterns.begin(), exclude.patterns.end(),
                              [&](const std::string& pattern) { return Winapp2Matches(pattern, name); }))
      return true;
  }
  return false;
}

}  // namespace

bool Winapp2Excludes(const Winapp2Plan& plan, std::string_view filePath, FileSystem* files) {
  if (plan.fileExcludes.empty()) return false;
  const std::string normalized = PathGuard::Normalize(filePath);
  const std::size_t cut = normalized.rfind('\\');
  if (cut == std::string::npos) return false;
  const std::string name = normalized.substr(cut + 1);
  if (ExcludedBy(plan, LowerComponents(std::string_view(normalized).substr(0, cut)), name)) return true;
  if (!files) return false;
  // The folder as it is on disk; one look-up per folder of the walk.
  const std::string folder(filePath.substr(0, filePath.rfind('\\')));
  if (folder != plan.identified.first) {
    const auto id = files->Identify(folder, true);
    plan.identified = {folder, id ? PathGuard::Normalize(id->finalPath) : std::string()};
  }
  const std::string& finalPath = plan.identified.second;
  return !finalPath.empty() && finalPath != normalized.substr(0, cut) &&
         ExcludedBy(plan, LowerComponents(finalPath), name);
}

void RunWinapp2Entry(RunContext& run, const Winapp2Entry& entry, const Winapp2Folders& folders) {
  const Winapp2Plan plan = PlanWinapp2Entry(entry, folders, run.platform.files, run.erase.Guard());
  if (!plan.refusedPath.empty()) {
    run.ReportRefused(EntryKind::Folder, plan.refusedPath);
    run.SetFinalStatus("Refused: " + plan.refusedReason);
    return;
  }
  for (const Winapp2RegKey& key : entry.regKeys) {
    std::string refusal = RegistryRefusal(key.root, key.subKey, key.value.has_value());
    if (refusal.empty() && !PathGuard::AllowsRegistryKey(key.root, key.subKey)) refusal = "names a registry root";
    if (!refusal.empty()) {
      const std::string path = FullKeyPath(key.root, key.subKey);
      run.ReportRefused(key.value ? EntryKind::RegValue : EntryKind::RegTree, path);
      run.SetFinalStatus("Refused: " + path + " " + refusal);
      return;
    }
  }

  for (const Winapp2Plan::Files& target : plan.files) {
    const Winapp2FileKey& key = *target.key;
    const auto matches = [&](const FileEntry& file) {
      return std::any_of(key.patterns.begin(), key.patterns.end(),
                         [&](const std::string& pattern) { return Winapp2Matches(pattern, file.name); }) &&
             !Winapp2Excludes(plan, file.path, &run.platform.files);
    };
    run.BytesReleased += target.insideProtected
                             ? run.erase.DeleteMatchingFilesInProtected(target.folder, matches)
                             : run.erase.DeleteMatchingFiles(target.folder, matches, key.recurse, key.removeSelf);
  }

  std::vector<Winapp2RegKey> spared;
  for (const Winapp2Exclude& exclude : entry.excludes)
    if (exclude.kind == Winapp2Exclude::Kind::kReg) spared.push_back(exclude.key);
  RegistryCleaner registry(run, std::move(spared));
  for (const Winapp2RegKey& key : entry.regKeys) registry.Clean(key);
}

std::vector<Item> Winapp2Items(Platform& platform) {
  const std::string programFolder = platform.shell.ProgramFolder();
  auto database = std::make_shared<const Winapp2Database>(LoadWinapp2Files(platform, programFolder));
  const std::string log = LogText(*database);
  if (!log.empty()) WriteLogIfChanged(platform.files, programFolder + std::string(kWinapp2LogFile), log);

  auto folders = std::make_shared<const Winapp2Folders>(Winapp2Folders::ForSystem(platform));
  std::vector<Item> items;
  for (const Winapp2Entry& entry : database->entries) {
    if (!Winapp2Detected(entry, platform, *folders)) continue;
    Item item;
    item.section = kWinapp2Section;
    item.key = entry.name;
    item.displayName = entry.name;
    item.group = entry.group;
    item.source = kWinapp2Source;
    item.warning = entry.warning;
    item.action = [database, folders, found = &entry](RunContext& run) { RunWinapp2Entry(run, *found, *folders); };
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace cv
