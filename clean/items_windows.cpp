// The Windows items: most-recently-used lists in the registry, temporary
// folders, the Recycle Bin, Scandisk's lost-cluster folders, the clipboard and
// the thumbnail caches.
#include <cstdio>
#include <initializer_list>
#include <string>

#include "clean/item_groups.h"
#include "clean/run_context.h"

namespace cv {

namespace {

constexpr std::string_view kUserShellFolders =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

enum class RegStepKind { Key, Tree, Value };

// One registry deletion of an item; keys are under HKEY_CURRENT_USER unless
// the step names another root.
struct RegStep {
  RegStepKind kind;
  std::string_view subKey;
  std::string_view valueName = {};
  RegKey root = kHkeyCurrentUser;
};

struct RegistryItem {
  int number;
  std::initializer_list<RegStep> steps;
};

using K = RegStep;
constexpr RegStepKind Key = RegStepKind::Key;
constexpr RegStepKind Tree = RegStepKind::Tree;
constexpr RegStepKind Value = RegStepKind::Value;

// The items that only delete registry keys, trees and values, in run order.
const RegistryItem kRegistryItems[] = {
    {67, {K{Key, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU"}}},
    {68,
     {K{Key, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU"},
      K{Key,
        "Software\\Microsoft\\Internet Explorer\\Explorer "
        "Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\ComputerNameMRU"},
      K{Key,
        "Software\\Microsoft\\Internet Explorer\\Explorer "
        "Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\ContainingTextMRU"},
      K{Key,
        "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\FilesNamedMRU"},
      K{Key, "Software\\Microsoft\\Search Assistant\\ACMru\\5603"},
      K{Key, "Software\\Microsoft\\Search Assistant\\ACMru\\5604"},
      K{Key, "Software\\Microsoft\\Search Assistant\\ACMru\\5647"},
      K{Key, "Software\\Microsoft\\Search Assistant\\ACMru\\5601"},
      K{Key, "Software\\Microsoft\\Search Assistant\\ACMru\\5602"},
      K{Key, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FindComputerMRU"}}},
    {71, {K{Tree, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU"}}},
    {75, {K{Key, "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List"}}},
    {76, {K{Key, "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List"}}},
    {77, {K{Key, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Wallpaper"}}},
    {78,
     {K{Key, "SOFTWARE\\Microsoft\\Direct3D\\MostRecentApplication", {}, kHkeyLocalMachine},
      K{Key, "SOFTWARE\\Microsoft\\DirectDraw\\MostRecentApplication", {}, kHkeyLocalMachine}}},
    {79,
     {K{Key, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FindComputerMRU"},
      K{Key,
        "Software\\Microsoft\\Internet Explorer\\Explorer "
        "Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\ComputerNameMRU"},
      K{Key, "Software\\Microsoft\\Search Assistant\\ACMru"}}},
    {80,
     {K{Key, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU"},
      K{Key, "Software\\Microsoft\\Internet Explorer\\Explorer Bars"},
      K{Key, "Software\\Microsoft\\Search Assistant\\ACMru"},
      K{Key,
        "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\FilesNamedMRU"},
      K{Key, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\WordWheelQuery"}}},
    {81, {K{Key, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Map Network Drive MRU"}}},
    {82, {K{Key, "Software\\Microsoft\\Microsoft Management Console\\Recent File List"}}},
    {83,
     {K{Value, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TrayNotify", "IconStreams"},
      K{Value, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TrayNotify", "PastIconsStream"},
      K{Value, "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\TrayNotify",
        "IconStreams"},
      K{Value, "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\TrayNotify",
        "PastIconsStream"}}},
    {84, {K{Tree, "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit"}}},
    {86, {K{Tree, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder"}}},
    {87,
     {K{Tree, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedMRU"},
      K{Tree, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU"},
      K{Tree, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\CIDSizeMRU"},
      K{Tree, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedPidlMRU"},
      K{Tree, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU"}}},
    {89,
     {K{Tree, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StreamMRU"},
      K{Tree, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths"}}},
    {91,
     {K{Tree,
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\{5E6AB780-7743-11CF-A12B-00AA004AE837}"
        "\\Count"},
      K{Tree,
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\{75048700-EF1F-11D0-9888-006097DEACF9}"
        "\\Count"}}},
    {92, {K{Tree, "Software\\Microsoft\\Windows\\CurrentVersion\\UnreadMail"}}},
};

template <int Number>
void RegistryOnlyItem(RunContext& run) {
  for (const RegistryItem& item : kRegistryItems) {
    if (item.number != Number) continue;
    for (const RegStep& step : item.steps) {
      switch (step.kind) {
        case RegStepKind::Key:
          run.RegistryKeysCleaned += run.erase.DeleteRegKey(step.root, step.subKey);
          break;
        case RegStepKind::Tree:
          run.RegistryKeysCleaned += run.erase.DeleteRegTree(step.root, step.subKey);
          break;
        case RegStepKind::Value:
          run.RegistryKeysCleaned += run.erase.DeleteRegValue(step.root, step.subKey, step.valueName);
          break;
      }
    }
  }
}

void RecentDocuments(RunContext& run) {
  if (run.ClearRecentDocuments()) run.RegistryKeysCleaned += 1;
}

// Each temporary folder is emptied file by file, then removed and recreated.
void CleanTempFolder(RunContext& run, const std::string& folder) {
  run.BytesReleased += run.erase.DeleteAllFilesInTree(folder);
  run.BytesReleased += run.erase.EmptyFolder(folder);
}

void WindowsTemp(RunContext& run) {
  // The per-user temp folder of the older profile layout sits beside
  // "Application Data" in "Local Settings".
  const std::string& local = run.values.LocalAppDataFolder;
  if (const auto at = local.find("Application Data"); at != std::string::npos)
    CleanTempFolder(run, local.substr(0, at) + "temp");
  CleanTempFolder(run, run.values.WindowsFolder + "\\temp");
  CleanTempFolder(run, run.platform.shell.GetEnvironmentVariable("TEMP").value_or(""));
}

void RecycleBin(RunContext& run) {
  constexpr std::string_view kOldRecycleFolder = "C:\\RECYCLED";
  const double oldFolderBytes =
      run.fso.FolderExists(kOldRecycleFolder) ? static_cast<double>(run.fso.FolderSize(kOldRecycleFolder)) : 0;
  // A Recycle Bin that could not be emptied released nothing.
  if (!run.EmptyRecycleBin()) return;
  run.BytesReleased += oldFolderBytes;
  run.RegistryKeysCleaned += 1;
}

void ScandiskFiles(RunContext& run) {
  for (char drive : {'C', 'D', 'E', 'F'}) {
    for (int n = 0; n <= 10; ++n) {
      char folder[32];
      std::snprintf(folder, sizeof folder, "%c:\\Found.%03d", drive, n);
      run.BytesReleased += run.erase.DeleteFilesInFolder(folder);
    }
  }
}

void NothingToErase(RunContext&) {}

void Clipboard(RunContext& run) { run.ClearClipboard(); }

void SavedSearches(RunContext& run) {
  const std::string documents = ReadFolderSetting(run.reg, run.platform.shell, kUserShellFolders, "Personal");
  // An unreadable location ("Error" or empty) gives a relative path, which
  // the primitives refuse.
  run.BytesReleased += run.erase.DeleteAllFilesInTree(documents + "\\Searches");
}

// The command interpreter by its full path (ComSpec, else the system's own),
// /d so no AutoRun command comes first, and /s so that the outer quotes go
// and the path stays quoted: blanks, "&" or "(" in the program folder and a
// "C:\Program.exe" change nothing.
std::string BatchFileCommandLine(RunContext& run, std::string_view relative) {
  const std::string interpreter = run.platform.shell.GetEnvironmentVariable("ComSpec").value_or(
      run.platform.shell.GetWindowsDirectory() + "\\system32\\cmd.exe");
  return "\"" + interpreter + "\" /d /s /c \"\"" + run.ProgramFile(relative) + "\"\"";
}

void ThumbnailCaches(RunContext& run) { run.RunHiddenAndWait(BatchFileCommandLine(run, "\\delThumbs.bat")); }

const ItemBinding kWindowsItems[] = {
    {66, RecentDocuments},
    {67, RegistryOnlyItem<67>},
    {68, RegistryOnlyItem<68>},
    {69, WindowsTemp},
    {70, RecycleBin},
    {71, RegistryOnlyItem<71>},
    {72, ScandiskFiles},
    {73, NothingToErase},  // "Windows Passwords(Only 9X/Me)": nothing on these systems
    {74, Clipboard},
    {75, RegistryOnlyItem<75>},
    {76, RegistryOnlyItem<76>},
    {77, RegistryOnlyItem<77>},
    {78, RegistryOnlyItem<78>},
    {79, RegistryOnlyItem<79>},
    {80, RegistryOnlyItem<80>},
    {81, RegistryOnlyItem<81>},
    {82, RegistryOnlyItem<82>},
    {83, RegistryOnlyItem<83>},
    {84, RegistryOnlyItem<84>},
    {85, SavedSearches},
    {86, RegistryOnlyItem<86>},
    {87, RegistryOnlyItem<87>},
    {88, ThumbnailCaches},
    {89, RegistryOnlyItem<89>},
    {90, NothingToErase},  // "windows swap/paging file": shown and marked done only
    {91, RegistryOnlyItem<91>},
    {92, RegistryOnlyItem<92>},
};

}  // namespace

std::span<const ItemBinding> WindowsItems() { return kWindowsItems; }

}  // namespace cv
