#include "regclean/registry_scan.h"

#include <array>
#include <cstdio>
#include <functional>
#include <map>

#include "clean/path_guard.h"
#include "platform/reg_text.h"
#include "platform/text.h"

namespace cv {
namespace {

constexpr std::string_view kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr std::string_view kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr std::string_view kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::string_view kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr std::string_view kMuiCache =
    "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache";
constexpr std::string_view kCompatibilityStore =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Store";
constexpr std::string_view kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr std::string_view kClasses = "Software\\Classes";
constexpr std::string_view kFileExts = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";

// Components no finding may lie in, wherever they appear in its key.
constexpr std::array<std::string_view, 4> kProtectedComponents = {"clsid", "policies", "services", "drivers"};

std::string Text(const RegValue& value) {
  if (value.type != kRegSz && value.type != kRegExpandSz) return {};
  std::string text = value.data;
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

std::string Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return std::string(text);
}

// A full local path ("C:\..."), with no variable left to expand.
bool Judgeable(std::string_view path) {
  return path.size() >= 3 && path[1] == ':' && path[2] == '\\' && path.find('%') == std::string_view::npos &&
         path.find('/') == std::string_view::npos;
}

// The program a command line starts: the quoted path, or the text up to
// ".exe"; empty when the line names no full path (a bare "rundll32 ...").
std::string ProgramOf(std::string_view commandLine) {
  const std::string line = Trim(commandLine);
  if (!line.empty() && line.front() == '"') {
    const auto end = line.find('"', 1);
    return end == std::string::npos ? std::string() : line.substr(1, end - 1);
  }
  const auto exe = AsciiLower(line).find(".exe");
  return exe == std::string::npos ? line : line.substr(0, exe + 4);
}

class Scanner {
 public:
  Scanner(Registry& registry, FileSystem& files) : registry_(registry), files_(files) {}

  // nullopt when the path cannot be judged (or its drive is not there);
  // else whether it is missing.
  std::optional<bool> Missing(const std::string& path) {
    if (!Judgeable(path)) return std::nullopt;
    const char letter = AsciiLower(path.substr(0, 1))[0];
    auto drive = drives_.find(letter);
    if (drive == drives_.end()) {
      const auto root = files_.Stat(path.substr(0, 3));
      drive = drives_.emplace(letter, root && root->IsFolder()).first;
    }
    if (!drive->second) return std::nullopt;
    return !files_.Stat(path).has_value();
  }

  void Uninstall(RegKey root) {
    Keys(root, kUninstall, [&](const std::string& key) {
      const std::string uninstaller = ProgramOf(Value(root, key, "UninstallString"));
      std::string folder = Trim(Value(root, key, "InstallLocation"));
      if (folder.empty())
        folder = uninstaller.substr(0, uninstaller.rfind('\\') == std::string::npos ? 0 : uninstaller.rfind('\\'));
      while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
      if (Missing(uninstaller) != true || Missing(folder) != true) return;
      Add({FindingCategory::kUninstallEntry, root, key, "", true,
           "the program folder " + folder + " and the uninstaller " + uninstaller + " are missing"});
    });
  }

  void AppPaths(RegKey root) {
    Keys(root, kAppPaths, [&](const std::string& key) {
      const std::string program = ProgramOf(Value(root, key, ""));
      if (Missing(program) == true) Add({FindingCategory::kAppPath, root, key, "", true, program + " is missing"});
    });
  }

  void Startup() {
    for (std::string_view key : {kRun, kRunOnce}) {
      Values(kHkeyCurrentUser, key, [&](const std::string& name, const RegValue& value) {
        const std::string program = ProgramOf(Text(value));
        if (Missing(program) == true)
          Add({FindingCategory::kStartupValue, kHkeyCurrentUser, std::string(key), name, false,
               program + " is missing"});
      });
    }
  }

  // Values named by the file they are about: the cache of program names
  // ("C:\a\b.exe.FriendlyAppName"), the compatibility store, shared DLLs.
  void NamedByPath(FindingCategory category, RegKey root, std::string_view key) {
    Values(root, key, [&](const std::string& name, const RegValue&) {
      std::string path = name;
      if (category == FindingCategory::kMuiCache) {
        const auto exe = AsciiLower(name).rfind(".exe.");
        if (exe != std::string::npos) path = name.substr(0, exe + 4);
      }
      if (Missing(path) == true) Add({category, root, std::string(key), name, false, path + " is missing"});
    });
  }

  // ".ext" keys of the current user that hold only a default value naming a
  // file type that exists nowhere: opening such a file has no handler at all.
  void FileTypes() {
    Keys(kHkeyCurrentUser, kClasses, [&](const std::string& key) {
      const std::string extension = key.substr(kClasses.size() + 1);
      if (extension.size() < 2 || extension.front() != '.') return;
      ScopedRegKey open(registry_);
      if (registry_.OpenKey(kHkeyCurrentUser, key, kKeyRead, open.out()) != kOk) return;
      std::string name;
      RegValue value;
      if (registry_.EnumKey(open.get(), 0, name) == kOk) return;  // OpenWithProgids, shell ...
      if (registry_.EnumValue(open.get(), 1, name, value) == kOk) return;
      const std::string type = Trim(Value(kHkeyCurrentUser, key, ""));
      if (type.empty() || type.find('\\') != std::string::npos) return;
      for (RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
        ScopedRegKey handler(registry_);
        if (registry_.OpenKey(root, std::string(kClasses) + "\\" + type, kKeyRead, handler.out()) == kOk) return;
      }
      Add({FindingCategory::kFileType, kHkeyCurrentUser, key, "", true,
           "its file type " + type + " does not exist: no program opens " + extension + " files"});
    });
  }

  // Explorer's per-extension "open with" lists: values "a", "b" ... each
  // naming a program ("notepad.exe", seldom a full path), ordered by
  // "MRUList". Only such a value is a finding, never the extension's key.
  void OpenWithLists(const std::vector<std::string>& programFolders) {
    Keys(kHkeyCurrentUser, kFileExts, [&](const std::string& extension) {
      const std::string key = extension + "\\OpenWithList";
      Values(kHkeyCurrentUser, key, [&](const std::string& name, const RegValue& value) {
        if (AsciiLower(name) == "mrulist") return;
        const std::string program = Trim(Text(value));
        if (ProgramFound(program, programFolders) != false) return;
        Add({FindingCategory::kOpenWithList, kHkeyCurrentUser, key, name, false,
             program.find('\\') == std::string::npos
                 ? "the program " + program + " is not found (App Paths, registered applications, Windows folders)"
                 : program + " is missing"});
      });
    });
  }

  std::vector<RegFinding> findings;

 private:
  // Whether a program named by a full path or a bare file name is there;
  // nullopt when that cannot be judged.
  std::optional<bool> ProgramFound(const std::string& program, const std::vector<std::string>& programFolders) {
    if (program.empty()) return std::nullopt;
    if (program.find('\\') != std::string::npos) {
      const auto missing = Missing(program);
      return missing ? std::optional<bool>(!*missing) : std::nullopt;
    }
    if (program.find_first_of("%/:\"*?<>|") != std::string::npos) return std::nullopt;
    for (RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine})
      for (const std::string& known :
           {std::string(kAppPaths) + "\\" + program, std::string(kClasses) + "\\Applications\\" + program}) {
        ScopedRegKey open(registry_);
        if (registry_.OpenKey(root, known, kKeyRead, open.out()) == kOk) return true;
      }
    std::optional<bool> found;
    for (const std::string& folder : programFolders) {
      const auto missing = Missing(folder + "\\" + program);
      if (missing == false) return true;
      if (missing) found = false;
    }
    return found;
  }

  void Add(RegFinding finding) {
    if (!IsProtectedRegistryKey(finding.root, finding.key)) findings.push_back(std::move(finding));
  }

  std::string Value(RegKey root, const std::string& key, std::string_view name) {
    ScopedRegKey open(registry_);
    RegValue value;
    if (registry_.OpenKey(root, key, kKeyRead, open.out()) != kOk ||
        registry_.QueryValue(open.get(), name, value) != kOk)
      return {};
    return Text(value);
  }

  void Keys(RegKey root, std::string_view parent, const std::function<void(const std::string&)>& visit) {
    ScopedRegKey open(registry_);
    if (registry_.OpenKey(root, parent, kKeyRead, open.out()) != kOk) return;
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; registry_.EnumKey(open.get(), i, name) == kOk; ++i) names.push_back(name);
    for (const std::string& child : names) visit(std::string(parent) + "\\" + child);
  }

  void Values(RegKey root, std::string_view key,
              const std::function<void(const std::string&, const RegValue&)>& visit) {
    ScopedRegKey open(registry_);
    if (registry_.OpenKey(root, key, kKeyRead, open.out()) != kOk) return;
    std::string name;
    RegValue value;
    for (std::uint32_t i = 0; registry_.EnumValue(open.get(), i, name, value) == kOk; ++i)
      if (!name.empty()) visit(name, value);
  }

  Registry& registry_;
  FileSystem& files_;
  std::map<char, bool> drives_;  // whether each drive seen is there, asked once a scan
};

}  // namespace

std::string_view CategoryName(FindingCategory category) {
  switch (category) {
    case FindingCategory::kUninstallEntry:
      return "Uninstall entry";
    case FindingCategory::kAppPath:
      return "Program path (App Paths)";
    case FindingCategory::kStartupValue:
      return "Start-up entry";
    case FindingCategory::kMuiCache:
      return "Program name cache";
    case FindingCategory::kCompatibilityStore:
      return "Compatibility Assistant";
    case FindingCategory::kSharedDll:
      return "Shared DLL";
    case FindingCategory::kFileType:
      return "File type";
    case FindingCategory::kOpenWithList:
      return "Open with list";
  }
  return {};
}

bool IsProtectedRegistryKey(RegKey root, std::string_view key) {
  const std::string folded = AsciiLower(key);
  if (root == kHkeyLocalMachine && (folded == "system" || folded.rfind("system\\", 0) == 0)) return true;
  std::size_t start = 0;
  while (start <= folded.size()) {
    auto end = folded.find('\\', start);
    if (end == std::string::npos) end = folded.size();
    const std::string_view component(folded.data() + start, end - start);
    for (std::string_view word : kProtectedComponents)
      if (component == word) return true;
    start = end + 1;
  }
  return false;
}

std::vector<RegFinding> ScanRegistry(Registry& registry, FileSystem& files, bool machine,
                                     const std::vector<std::string>& programFolders, const ScanProgress& progress) {
  Scanner scan(registry, files);
  std::vector<RegKey> roots{kHkeyCurrentUser};
  if (machine) roots.push_back(kHkeyLocalMachine);
  const std::function<void()> places[] = {
      [&] {
        for (RegKey root : roots) scan.Uninstall(root);
      },
      [&] {
        for (RegKey root : roots) scan.AppPaths(root);
      },
      [&] { scan.Startup(); },
      [&] { scan.NamedByPath(FindingCategory::kMuiCache, kHkeyCurrentUser, kMuiCache); },
      [&] { scan.NamedByPath(FindingCategory::kCompatibilityStore, kHkeyCurrentUser, kCompatibilityStore); },
      [&] {
        if (machine) scan.NamedByPath(FindingCategory::kSharedDll, kHkeyLocalMachine, kSharedDlls);
      },
      [&] { scan.FileTypes(); },
      [&] { scan.OpenWithLists(programFolders); },
  };
  for (std::size_t i = 0; i < std::size(places); ++i) {
    places[i]();
    if (progress) progress(i + 1, std::size(places));
  }
  return std::move(scan.findings);
}

FixResult FixFinding(Registry& registry, FileSystem& files, const RegFinding& finding, std::string_view backupFolder,
                     const LocalTime& now, int number) {
  FixResult result;
  if (IsProtectedRegistryKey(finding.root, finding.key) ||
      (finding.wholeKey && !PathGuard::AllowsRegistryKey(finding.root, finding.key))) {
    result.status = kErrAccessDenied;
    return result;
  }
  std::string text;
  if (finding.wholeKey) {
    text = ExportRegText(registry, finding.root, finding.key);
  } else {
    ScopedRegKey key(registry);
    RegValue value;
    if ((result.status = registry.OpenKey(finding.root, finding.key, kKeyRead, key.out())) != kOk ||
        (result.status = registry.QueryValue(key.get(), finding.value, value)) != kOk)
      return result;
    text = ExportRegValueText(finding.root, finding.key, finding.value, value);
  }
  char name[64];
  std::snprintf(name, sizeof name, "%04d-%02d-%02d %02d.%02d.%02d %02d.reg", now.year, now.month, now.day, now.hour,
                now.minute, now.second, number);
  std::string folder(backupFolder);
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  for (auto cut = folder.find('\\', 3); cut != std::string::npos; cut = folder.find('\\', cut + 1))
    files.CreateFolder(folder.substr(0, cut));
  files.CreateFolder(folder);
  const std::string path = folder + "\\" + name;
  if (files.Stat(path) || (result.status = files.WriteFileAtomic(path, text)) != kOk) {
    if (result.status == kOk) result.status = kErrAlreadyExists;
    return result;
  }
  result.backup = path;
  if (finding.wholeKey) {
    result.status = registry.DeleteTree(finding.root, finding.key);
  } else {
    ScopedRegKey key(registry);
    result.status = registry.OpenKey(finding.root, finding.key, kKeyWrite, key.out());
    if (result.status == kOk) result.status = registry.DeleteValue(key.get(), finding.value);
  }
  return result;
}

Status RestoreBackup(Registry& registry, FileSystem& files, std::string_view backupFile) {
  std::string bytes;
  if (Status status = files.ReadFile(backupFile, bytes); status != kOk) return status;
  return ImportRegText(registry, bytes).status;
}

}  // namespace cv
