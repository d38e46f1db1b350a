// Internet Explorer items 1-11: typed addresses, history, cache, cookies,
// favorites, saved forms, downloads, index files, InPrivate filter, add-ons.
#include <array>

#include "clean/ie_steps.h"
#include "clean/item_groups.h"
#include "clean/run_context.h"
#include "keep/cookie_keep_list.h"
#include "platform/keys.h"

namespace cv {
namespace {

constexpr const char* kOnlyIe9 = "Only Support IE9.";

void LocationBarHistory(RunContext& run) { ie::RestoreKeptTypedUrls(run); }

// Windows 6.x (Vista, 7) has the clearing routine; older systems clear the store directly.
void InternetHistory(RunContext& run) {
  if (run.values.WindowsVersion.empty() || run.values.WindowsVersion[0] != '6')
    ie::ClearHistoryStore(run);
  else
    ie::ClearMyTracks(run, "1");
  run.RegistryKeysCleaned += 15;
  run.BytesReleased += 500000;
}

void InternetCache(RunContext& run) { ie::ClearCache(run); }

void Cookies(RunContext& run) { ie::DeleteCookiesNotKept(run); }

void Favorites(RunContext& run) { run.BytesReleased += run.erase.EmptyFolder(ie::ShellFolder(run, "Favorites")); }

// Internet Explorer 6 has no clearing command for forms: its Internet Options
// page is opened and driven by keys (AutoComplete settings, clear forms,
// confirm, close both dialogs). The keys go only to that dialog's window.
void ClearFormsByKeystrokes(RunContext& run) {
  const ProcessId dialog = run.StartCommand("rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,3", ShowMode::Hidden);
  if (dialog == 0 || !run.platform.keys) return;
  run.ReportSideEffect(kInternetOptionsKeystrokesCommand);
  for (const char* key : {"{U}", "{C}", "{ENTER}", "{ESC}", "{ESC}"})
    if (!run.platform.keys->SendKeyToProcess(dialog, key)) break;
}

void AutocompleteMemory(RunContext& run) {
  run.RegistryKeysCleaned +=
      run.erase.DeleteRegKey(kHkeyCurrentUser, "Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW");
  run.RegistryKeysCleaned +=
      run.erase.DeleteRegKey(kHkeyUsers, ".DEFAULT\\Software\\Microsoft\\Internet Explorer\\IntelliForms");
  if (run.values.IeMajorVersion > 6) {
    ie::ClearMyTracks(run, "16");
    ie::ClearMyTracks(run, "32");
  } else if (run.values.IeMajorVersion == 6) {
    ClearFormsByKeystrokes(run);
  }
  if (!run.Preview() && run.platform.keys) run.platform.keys->ReturnFocus();
  run.RegistryKeysCleaned += 3;
}

void DownloadedFiles(RunContext& run) {
  if (run.values.IeMajorVersion < 9) {
    run.SetFinalStatus(kOnlyIe9);
    return;
  }
  const std::string folder =
      ReadFolderSetting(run.reg, run.platform.shell, "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main",
                        "Default Download Directory");
  run.BytesReleased += run.erase.EmptyFolder(folder);
}

// Nothing is erased on Internet Explorer 9 either: the row only reports.
void DownloadedHistory(RunContext& run) {
  if (run.values.IeMajorVersion < 9) run.SetFinalStatus(kOnlyIe9);
}

struct IndexFile {
  const char* shellFolder;
  const char* relativePath;
  const char* status;
};

constexpr std::array kIndexFiles = {
    IndexFile{"Cache", "\\Content.IE5\\index.dat", "Clearing IE Cache Index.dat File Content......"},
    IndexFile{"History", "\\History.IE5\\index.dat", "Clearing IE History Index.dat File Content......"},
    IndexFile{"Cookies", "\\index.dat", "Clearing IE Cookies Index.dat File Content......"},
};

// The index files are in use while Windows runs: they go at the next restart.
void IndexDatFiles(RunContext& run) {
  for (const IndexFile& index : kIndexFiles) {
    const std::string file = ie::ShellFolder(run, index.shellFolder) + index.relativePath;
    run.SetRowStatus(index.status);
    run.erase.DeleteAtReboot(file);
  }
  run.BytesReleased += 3500000;
  run.SetFinalStatus("Need to reboot your computer!");
}

void InprivateFilter(RunContext& run) {
  if (run.values.IeMajorVersion < 8) return;
  const auto profile = run.platform.shell.GetEnvironmentVariable("userprofile");
  run.BytesReleased += run.erase.DeleteNamedFilesInFolder(profile.value_or("") + "\\PrivacIE", "index.dat");
}

void AddonsSettings(RunContext& run) {
  if (run.values.IeMajorVersion < 7) return;
  ie::ClearMyTracks(run, "4351");
  run.RegistryKeysCleaned += 15;
  run.BytesReleased += 500000;
}

constexpr ItemBinding kItems[] = {
    {1, LocationBarHistory}, {2, InternetHistory},    {3, InternetCache},   {4, Cookies},
    {5, Favorites},          {6, AutocompleteMemory}, {7, DownloadedFiles}, {8, DownloadedHistory},
    {9, IndexDatFiles},      {10, InprivateFilter},   {11, AddonsSettings},
};

}  // namespace

std::span<const ItemBinding> InternetExplorerItems() { return kItems; }

}  // namespace cv
