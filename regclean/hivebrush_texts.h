#pragma once
// Texts of the registry cleaner's window, shared with its GUI test.

namespace cv::texts {

inline constexpr char kHivebrushCaption[] = "Clearvane Registry Cleaner";
inline constexpr char kHivebrushIntro[] =
    "Lists only registry entries that point at programs and files that are gone: uninstall entries whose folder "
    "and uninstaller are both missing, App Paths, your start-up entries, Explorer's caches and \"open with\" lists, "
    "the compatibility store, shared-DLL counts (as administrator) and file types with no handler. It never touches "
    "HKLM\\SYSTEM, CLSID, Policies, services or drivers. Each fix is backed up first as a .reg file in Backups "
    "beside the program.";
inline constexpr char kFixCaption[] = "Fix selected";
inline constexpr char kRestoreCaption[] = "Restore a backup";

}  // namespace cv::texts
