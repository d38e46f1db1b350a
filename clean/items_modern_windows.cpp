#include "clean/items_modern_windows.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "clean/run_context.h"

namespace cv {

namespace {

// The folder a target is named from.
enum class Base : std::uint8_t { kLocalAppData, kAppData, kProgramData, kWindows };

enum class Reach : std::uint8_t {
  kContents,    // everything in the folder, sub-folders included; the folder itself stays
  kFiles,       // the files directly in the folder whose names match
  kFilesBelow,  // the files in the folder and below it whose names match
  kFile,        // the one file the path names
};

struct Target {
  Base base;
  std::string_view relative;  // below the base; empty for the base folder itself
  Reach reach;
  std::string_view patterns = {};  // kFiles, kFilesBelow: names such as "*.log", separated by ';'
  bool needsAdministrator = false;
};

// A service that must be stopped while the item erases: its files are the
// service's working set, erased under a running service they may be half
// written or read back.
struct StoppedService {
  std::string_view name;         // the service's key name, "wuauserv"
  std::string_view displayName;  // as the row names it
};

struct WindowsItemSpec {
  std::string_view key;
  std::string_view name;
  std::string_view description;
  std::initializer_list<Target> targets;
  // Keys under HKEY_CURRENT_USER whose values (not the keys) are erased.
  std::initializer_list<std::string_view> valuesOfKeys = {};
  // A command the item runs hidden, below the Windows folder.
  std::string_view command = {};
  StoppedService needsStopped = {};
};

constexpr bool kAdmin = true;
constexpr std::string_view kExplorerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";

// The items, in run order.
const WindowsItemSpec kItems[] = {
    {"ThumbnailCaches",
     "Thumbnail and icon caches",
     "Explorer's thumbnail and icon caches (thumbcache_*.db, iconcache_*.db); files Explorer holds open stay.",
     {{Base::kLocalAppData, "Microsoft\\Windows\\Explorer", Reach::kFiles, "thumbcache_*.db;iconcache_*.db"}}},
    {"JumpLists",
     "Jump lists",
     "The recent and pinned files of programs in the taskbar and Start menu jump lists.",
     {{Base::kAppData, "Microsoft\\Windows\\Recent\\AutomaticDestinations", Reach::kContents},
      {Base::kAppData, "Microsoft\\Windows\\Recent\\CustomDestinations", Reach::kContents}}},
    {"RecentItems",
     "Recent items",
     "The shortcuts to recently opened files and folders in the Recent folder.",
     {{Base::kAppData, "Microsoft\\Windows\\Recent", Reach::kFiles, "*.lnk"}}},
    {"ErrorReports",
     "Windows Error Reporting",
     "Error reports waiting to be sent or kept after sending; the system-wide ones need administrator rights.",
     {{Base::kLocalAppData, "Microsoft\\Windows\\WER", Reach::kContents},
      {Base::kProgramData, "Microsoft\\Windows\\WER", Reach::kContents, {}, kAdmin}}},
    {"CrashDumps",
     "Crash dumps",
     "Memory dumps of crashed programs; those of the system need administrator rights.",
     {{Base::kLocalAppData, "CrashDumps", Reach::kContents},
      {Base::kWindows, "Minidump", Reach::kContents, {}, kAdmin},
      {Base::kWindows, "MEMORY.DMP", Reach::kFile, {}, kAdmin}}},
    {"ShaderCaches",
     "Graphics shader caches",
     "Shaders compiled by DirectX and the NVIDIA and AMD drivers; games build them again when needed.",
     {{Base::kLocalAppData, "D3DSCache", Reach::kContents},
      {Base::kLocalAppData, "NVIDIA\\DXCache", Reach::kContents},
      {Base::kLocalAppData, "NVIDIA\\GLCache", Reach::kContents},
      {Base::kLocalAppData, "AMD\\DxCache", Reach::kContents},
      {Base::kLocalAppData, "AMD\\VkCache", Reach::kContents},
      {Base::kLocalAppData, "AMD\\GLCache", Reach::kContents}}},
    {"ExplorerHistories",
     "Explorer address, search and Run histories",
     "The paths typed in Explorer's address bar, its search box history and the Run dialog's history.",
     {},
     {"TypedPaths", "WordWheelQuery", "RunMRU"}},
    {"DnsCache",
     "DNS resolver cache",
     "The names of the sites and servers this computer looked up recently (ipconfig /flushdns).",
     {},
     {},
     "System32\\ipconfig.exe /flushdns"},
    {"WindowsLogs",
     "Windows log files",
     "Setup and servicing logs: Logs\\CBS, the Panther logs and the *.log files of the Windows folder; needs "
     "administrator rights.",
     {{Base::kWindows, "Logs\\CBS", Reach::kContents, {}, kAdmin},
      {Base::kWindows, "Panther", Reach::kFilesBelow, "*.log", kAdmin},
      {Base::kWindows, {}, Reach::kFiles, "*.log", kAdmin}}},
    {"WindowsUpdateCache",
     "Windows Update download cache",
     "Update files Windows Update downloaded; it downloads again what it still needs. Only while the Windows Update "
     "service is stopped; needs administrator rights.",
     {{Base::kWindows, "SoftwareDistribution\\Download", Reach::kContents, {}, kAdmin}},
     {},
     {},
     {"wuauserv", "Windows Update"}},
    {"DeliveryOptimization",
     "Delivery Optimization cache",
     "Update files kept to share with other computers; Windows downloads them again when needed. Needs "
     "administrator rights.",
     {{Base::kWindows,
       "ServiceProfiles\\NetworkService\\AppData\\Local\\Microsoft\\Windows\\DeliveryOptimization\\Cache",
       Reach::kContents,
       {},
       kAdmin}}},
    {"Prefetch",
     "Prefetch",
     "The traces of which programs ran when (Prefetch\\*.pf); programs may start slower once. Needs administrator "
     "rights.",
     {{Base::kWindows, "Prefetch", Reach::kFiles, "*.pf", kAdmin}}},
};

std::string Joined(std::string_view folder, std::string_view relative) {
  std::string path(folder);
  while (!path.empty() && path.back() == '\\') path.pop_back();
  if (!relative.empty()) path.append("\\").append(relative);
  return path;
}

// A name matches a pattern whose '*' stands for any run of characters, ASCII
// letter case ignored.
bool NameMatches(std::string_view name, std::string_view pattern) {
  const auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  };
  std::size_t n = 0, p = 0, starAt = std::string_view::npos, resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeAt = n;
    } else if (p < pattern.size() && same(pattern[p], name[n])) {
      ++p;
      ++n;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool MatchesAny(std::string_view name, std::string_view patterns) {
  while (!patterns.empty()) {
    const std::size_t cut = patterns.find(';');
    if (NameMatches(name, patterns.substr(0, cut))) return true;
    if (cut == std::string_view::npos) break;
    patterns.remove_prefix(cut + 1);
  }
  return false;
}

struct Leftover {
  int files = 0;
  double bytes = 0;
};

// The files a target still holds after its deletion: those the system kept
// open. Links are not entered.
void CountLeftover(FileSystem& files, const std::string& folder, const Target& target, Leftover& left) {
  std::vector<std::string> below;
  files.ListFolder(folder, [&](const FileEntry& entry) {
    if (entry.IsFolder()) {
      if (target.reach != Reach::kFiles && !entry.IsReparsePoint()) below.push_back(Joined(folder, entry.name));
      return;
    }
    if (target.reach == Reach::kContents || MatchesAny(entry.name, target.patterns)) {
      ++left.files;
      if (!entry.IsReparsePoint()) left.bytes += static_cast<double>(entry.size);
    }
  });
  for (const std::string& sub : below) CountLeftover(files, sub, target, left);
}

class WindowsItemCleaner {
 public:
  WindowsItemCleaner(RunContext& run, const WindowsItemSpec& spec) : run_(run), spec_(spec) {}

  void Run() {
    const bool elevated = run_.platform.shell.IsElevated();
    const bool allNeedRights =
        spec_.targets.size() > 0 &&
        std::all_of(spec_.targets.begin(), spec_.targets.end(), [](const Target& t) { return t.needsAdministrator; });
    if (allNeedRights && !elevated) {
      run_.SetFinalStatus(kNeedsAdministratorText);
      return;
    }
    if (!spec_.needsStopped.name.empty()) {
      // A service whose state cannot be read counts as running.
      const ServiceState state = run_.platform.shell.QueryServiceState(spec_.needsStopped.name);
      if (state != ServiceState::kStopped) {
        const std::string service(spec_.needsStopped.displayName);
        run_.SetFinalStatus(state == ServiceState::kActive ? "Skipped: " + service + " is running"
                                                           : "Skipped: cannot tell whether " + service + " is stopped");
        return;
      }
    }
    for (const Target& target : spec_.targets) {
      const std::string path = PathOf(target);
      if (path.empty()) continue;
      if (target.needsAdministrator && !elevated) {
        if (run_.platform.files.Stat(path)) withoutRights_.push_back(path);
        continue;
      }
      Erase(target, path);
      run_.Pump();
    }
    for (std::string_view key : spec_.valuesOfKeys) EraseValues(std::string(kExplorerKey).append(key));
    if (!spec_.command.empty()) run_.RunHiddenAndWait(Joined(run_.values.WindowsFolder, spec_.command));
    Finish();
  }

 private:
  std::string PathOf(const Target& target) const {
    std::string base;
    switch (target.base) {
      case Base::kLocalAppData:
        base = run_.values.LocalAppDataFolder;
        break;
      case Base::kAppData:
        base = run_.values.AppDataFolder;
        break;
      case Base::kProgramData:
        base = run_.platform.shell.GetEnvironmentVariable("ProgramData").value_or("");
        break;
      case Base::kWindows:
        base = run_.values.WindowsFolder;
        break;
    }
    // A base the system does not name would make the relative path relative.
    if (PathGuard::Normalize(base).empty()) return {};
    return Joined(base, target.relative);
  }

  void Erase(const Target& target, const std::string& path) {
    const auto found = run_.platform.files.Stat(path);
    if (!found) return;  // nothing made where there was nothing
    if (found->IsReparsePoint()) {
      // A link in a cache's place may lead anywhere: neither followed nor removed.
      notes_.push_back(path + " is a link, left as it is");
      return;
    }
    allerase& erase = run_.erase;
    const auto matches = [&target](const FileEntry& file) { return MatchesAny(file.name, target.patterns); };
    double bytes = 0;
    switch (target.reach) {
      case Reach::kContents:
        if (!found->IsFolder()) return;
        bytes = erase.EmptyFolder(path);
        break;
      case Reach::kFiles:
        if (!found->IsFolder()) return;
        // The Windows folder itself is protected: only its own files are taken.
        bytes = target.relative.empty() ? erase.DeleteMatchingFilesInProtected(path, matches)
                                        : erase.DeleteMatchingFiles(path, matches, false, false);
        break;
      case Reach::kFilesBelow:
        if (!found->IsFolder()) return;
        bytes = erase.DeleteMatchingFiles(path, matches, true, false);
        break;
      case Reach::kFile:
        if (found->IsFolder()) return;
        bytes = erase.DeleteSingleFile(path);
        break;
    }
    if (!run_.Preview()) {
      // What stayed was in use: not released, and said in the row.
      Leftover left;
      if (target.reach == Reach::kFile) {
        if (const auto still = run_.platform.files.Stat(path)) left = {1, static_cast<double>(still->size)};
      } else {
        CountLeftover(run_.platform.files, path, target, left);
      }
      inUse_ += left.files;
      bytes = std::max(0.0, bytes - left.bytes);
    }
    run_.BytesReleased += bytes;
  }

  void EraseValues(const std::string& subKey) {
    std::vector<std::string> names;
    {
      ScopedRegKey key(run_.platform.registry);
      if (run_.platform.registry.OpenKey(kHkeyCurrentUser, subKey, kKeyRead, key.out()) != kOk) return;
      std::string name;
      RegValue value;
      for (std::uint32_t index = 0; run_.platform.registry.EnumValue(key.get(), index, name, value) == kOk; ++index)
        names.push_back(name);
    }
    for (const std::string& name : names)
      run_.RegistryKeysCleaned += run_.erase.DeleteRegValue(kHkeyCurrentUser, subKey, name);
  }

  void Finish() {
    if (inUse_ == 0 && withoutRights_.empty() && notes_.empty()) return;
    std::string text = "Done";
    if (inUse_ > 0) text += ", " + std::to_string(inUse_) + (inUse_ == 1 ? " file in use" : " files in use");
    if (!withoutRights_.empty()) {
      text += "; needs administrator rights: ";
      for (std::size_t i = 0; i < withoutRights_.size(); ++i) text += (i ? ", " : "") + withoutRights_[i];
    }
    for (const std::string& note : notes_) text += "; " + note;
    run_.SetFinalStatus(text);
  }

  RunContext& run_;
  const WindowsItemSpec& spec_;
  int inUse_ = 0;
  std::vector<std::string> withoutRights_;  // existing targets left for want of rights
  std::vector<std::string> notes_;
};

}  // namespace

std::vector<Item> ModernWindowsItems(Platform&) {
  std::vector<Item> items;
  for (const WindowsItemSpec& spec : kItems) {
    Item item;
    item.section = kModernWindowsSection;
    item.key = spec.key;
    item.displayName = spec.name;
    item.description = spec.description;
    item.group = kModernWindowsGroup;
    item.source = kModernWindowsSource;
    item.action = [&spec](RunContext& run) { WindowsItemCleaner(run, spec).Run(); };
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace cv
