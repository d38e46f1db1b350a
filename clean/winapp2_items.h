#pragma once
// Community cleaning definitions as run items: "winapp2.ini" and the user's
// own "custom.ini" beside the program (never fetched from anywhere), read
// safely, each entry that applies to this machine offered as one item of
// source "winapp2" with its switch in the selection file's section
// "winapp2" (the key is the entry's name).
//
// An entry runs whole or not at all: before anything is erased its targets
// are resolved and each one is judged by what it reaches on this machine
// (clean/winapp2_reach.h); an entry with one target it may not reach (a
// protected or user data folder emptied, another application's top folder,
// a vendor's folder holding other products, a wildcard cut by the folder
// limit) is refused, its row says why, and nothing of it is erased. Preview and clean resolve the
// same way and erase through the same primitives, so a clean erases nothing
// its preview would not list.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "clean/item.h"
#include "clean/path_guard.h"
#include "clean/winapp2_paths.h"
#include "clean/winapp2_reach.h"
#include "clean/winapp2_reader.h"
#include "platform/platform.h"

namespace cv {

inline constexpr std::string_view kWinapp2Source = "winapp2";
inline constexpr std::string_view kWinapp2Section = "winapp2";
// Beside the program; the second one is the user's own.
inline constexpr std::string_view kWinapp2Files[] = {"\\winapp2.ini", "\\custom.ini"};
// What was ignored or rejected while reading, beside the program.
inline constexpr std::string_view kWinapp2LogFile = "\\winapp2.log";

// Both files read in turn (a name taken in the first is a duplicate in the second).
Winapp2Database LoadWinapp2Files(Platform& platform, std::string_view programFolder);

// Whether an entry applies here: any Detect key or DetectFile path exists (an
// entry without either always applies), and the Windows version is within DetectOS.
bool Winapp2Detected(const Winapp2Entry& entry, Platform& platform, const Winapp2Folders& folders);

// What one entry erases on this machine, resolved before anything is erased.
struct Winapp2Plan {
  struct Files {
    std::string folder;
    const Winapp2FileKey* key;
    bool insideProtected = false;  // named files directly in a protected folder
  };
  struct Exclude {
    Winapp2Exclude::Kind kind;
    std::vector<std::string> components;  // of the folder as spelled, folded, may hold wildcards
    std::vector<std::string> patterns;
  };
  std::vector<Files> files;
  std::vector<Exclude> fileExcludes;
  // Set: the entry is refused because of this target, for this reason.
  std::string refusedPath;
  std::string refusedReason;
  // Winapp2Excludes' last folder and its final path.
  mutable std::pair<std::string, std::string> identified;
};
Winapp2Plan PlanWinapp2Entry(const Winapp2Entry& entry, const Winapp2Folders& folders, FileSystem& files,
                             const PathGuard& guard);
// The same with a judge made once for many entries.
Winapp2Plan PlanWinapp2Entry(const Winapp2Entry& entry, const Winapp2Folders& folders, FileSystem& files,
                             Winapp2Reach& reach);
// Whether a plan's exclusions spare a file. With `files`, a folder is also
// compared by what it is on disk (its final path), so another spelling of an
// excluded folder (a short name, a link to it) is still spared.
bool Winapp2Excludes(const Winapp2Plan& plan, std::string_view filePath, FileSystem* files = nullptr);

// Runs one entry in the run (the item's action).
void RunWinapp2Entry(RunContext& run, const Winapp2Entry& entry, const Winapp2Folders& folders);

// The items of the entries detected here, in file order (the extra-item source).
std::vector<Item> Winapp2Items(Platform& platform);

}  // namespace cv
