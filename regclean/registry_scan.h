#pragma once
// The registry cleaner's model, careful by design: it lists only entries that
// point at files or folders that are gone, in a fixed set of places, each with
// the reason, and never anything in a protected tree (HKLM\SYSTEM, CLSID,
// Policies, services, drivers). A path it cannot judge (a variable, a relative
// name, a drive that is not there) is left alone. Fixing writes a backup that
// regedit can import first, one .reg file per fix, and removes the entry only
// when the backup is written.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/filesystem.h"
#include "platform/registry.h"

namespace cv {

enum class FindingCategory : std::uint8_t {
  kUninstallEntry,      // program folder and uninstaller both missing
  kAppPath,             // App Paths entry whose program is missing
  kStartupValue,        // per-user Run or RunOnce value whose program is missing
  kMuiCache,            // Explorer's cache of program names
  kCompatibilityStore,  // the compatibility assistant's list of programs run
  kSharedDll,           // shared-DLL count of a missing file (administrator)
  kFileType,            // a file type of the current user with no handler at all
  kOpenWithList,        // a program of Explorer's "open with" list of an extension
};

struct RegFinding {
  FindingCategory category = FindingCategory::kStartupValue;
  RegKey root = kHkeyCurrentUser;
  std::string key;
  std::string value;      // the value's name, for a value finding
  bool wholeKey = false;  // the key with everything below it
  std::string reason;     // "C:\Old\app.exe is missing"
};

// The category's name, for the list.
std::string_view CategoryName(FindingCategory category);

// True for a key the cleaner never touches, whatever a scan finds there.
bool IsProtectedRegistryKey(RegKey root, std::string_view key);

// Scans the per-user places, and the machine-wide ones (uninstall entries,
// App Paths, shared DLLs of HKEY_LOCAL_MACHINE) when `machine` is set.
// `programFolders` are where a program named without a folder ("notepad.exe")
// is looked for (the Windows and system folders); with none, such a name that
// App Paths and the registered applications do not know is left alone.
// `progress` is told after each place how many of all are done.
using ScanProgress = std::function<void(std::size_t done, std::size_t total)>;
std::vector<RegFinding> ScanRegistry(Registry& registry, FileSystem& files, bool machine,
                                     const std::vector<std::string>& programFolders = {},
                                     const ScanProgress& progress = {});

struct FixResult {
  std::string backup;   // the .reg file written; empty when none could be
  Status status = kOk;  // of the removal; not attempted without a backup
};

// Writes the backup of `finding` into `backupFolder` (made when missing),
// named with the date and time ("2026-12-09 14.05.09 01.reg", the number
// counting the fixes of one go), then removes the entry.
FixResult FixFinding(Registry& registry, FileSystem& files, const RegFinding& finding, std::string_view backupFolder,
                     const LocalTime& now, int number);

// Imports a backup written by FixFinding (or any .reg text).
Status RestoreBackup(Registry& registry, FileSystem& files, std::string_view backupFile);

}  // namespace cv
