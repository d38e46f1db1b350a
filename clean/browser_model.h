#pragma once
// Today's browsers as data: where each keeps its profiles, how its profiles
// are found, and which files and folders of a profile hold each kind of
// trace. The Chromium family shares one layout, Firefox and its forks
// another; a browser is a row naming its folders. Nothing here names a
// password store or a bookmark file: no trace kind reaches them.
#include <cstdint>
#include <span>
#include <string_view>

namespace cv {

enum class BrowserFamily : std::uint8_t { kChromium, kFirefox };

// The kinds of trace the user can choose per browser, in the order of the selection page.
enum class TraceKind : std::uint8_t { kCache, kCookies, kHistory, kSessions, kDownloads, kFormData, kSiteStorage };

struct TraceKindInfo {
  TraceKind kind;
  std::string_view key;   // switch key in the browser's section
  std::string_view name;  // row text after the browser's name
};
std::span<const TraceKindInfo> TraceKinds();
const TraceKindInfo& InfoOf(TraceKind kind);

// Which user folder a browser's folders are below.
enum class UserFolder : std::uint8_t { kAppData, kLocalAppData };

struct BrowserSpec {
  std::string_view name;     // "Google Chrome"
  std::string_view section;  // its switch section in the selection file
  BrowserFamily family;
  UserFolder rootBase;
  std::string_view root;  // Chromium: the user-data folder; Firefox: the folder holding profiles.ini
  // Firefox: the folder below %LOCALAPPDATA% holding the profiles' caches.
  // Opera: the folder below %LOCALAPPDATA% holding the caches of its one profile.
  std::string_view localRoot;
  // The root is itself the one profile (Opera); otherwise profiles are found in it.
  bool rootIsProfile = false;
  // The image name of its processes, whose windows are asked to close when
  // the user agrees to close the browser before a run.
  std::string_view processImage = {};
  // Where two browsers share an image name (Chrome and Chromium, Opera and
  // Opera GX): a folder the image's path must hold, lower case, so a "Yes"
  // for one never closes the other. Empty: any folder.
  std::string_view processFolder = {};
};
std::span<const BrowserSpec> Browsers();

// Where a trace lies.
enum class TraceScope : std::uint8_t {
  kProfile,  // in the profile folder
  kLocal,    // in the profile's cache folder (the profile folder where the browser has no other)
  kRoot,     // in the browser's user-data folder, shared by its profiles
};

// What is done to it.
enum class TraceAction : std::uint8_t {
  kFile,          // the file with its "-journal", "-wal" and "-shm" companions
  kFolder,        // the folder with its contents
  kCookieRows,    // rows of the cookie table, hosts on the domain keep list spared
  kHistoryRows,   // Firefox: visits and the pages nothing else refers to
  kDownloadRows,  // the download list
  kFormRows,      // saved form entries
};

struct TraceSpec {
  BrowserFamily family;
  TraceKind kind;
  TraceScope scope;
  TraceAction action;
  std::string_view path;  // relative to its scope's folder
};
std::span<const TraceSpec> Traces();

// The SQLite companions of a database file, deleted with it.
inline constexpr std::string_view kDatabaseCompanions[] = {"-journal", "-wal", "-shm"};

// Chromium's profile-folder names: "Default", "Profile N" (N a number) and
// "Guest Profile". Other folders of the user-data folder are not profiles.
bool IsChromiumProfileName(std::string_view name);

// A folder is taken for a profile only when it holds one of its family's
// marker files, so a list entry naming some other folder cleans nothing there.
std::span<const std::string_view> ProfileMarkers(BrowserFamily family);

// The lock a running browser holds open: Chromium's in its user-data folder,
// Firefox's in each profile.
inline constexpr std::string_view kChromiumLockFile = "lockfile";
inline constexpr std::string_view kFirefoxLockFile = "parent.lock";

}  // namespace cv
