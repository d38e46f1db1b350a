// Firefox, Opera, Netscape and Mozilla items 12-34 and 43-46: profile files
// and cache folders deleted by name wherever they lie below the browser's
// profile root. Each item is one row of data. Firefox keeps its bookmarks in
// the same "places.sqlite" as its history, so the history and download items
// remove rows of it as the Firefox of today's browsers does; only the
// bookmarks item deletes the file.
#include <array>
#include <string>

#include "clean/browser_clean.h"
#include "clean/item_groups.h"
#include "clean/item_table.h"
#include "clean/run_context.h"

namespace cv {
namespace {

enum class Root { FirefoxRoaming, FirefoxLocal, OperaRoaming, OperaLocal, Netscape, Mozilla };

enum class Target { Files, Folders, FirefoxRows };

struct Deletion {
  Target target = Target::Files;
  const char* name = "";                 // file name (exact case) or folder name (lower case)
  TraceKind rows = TraceKind::kHistory;  // FirefoxRows: the kind of trace removed from every profile
};

struct ProfileItem {
  int number;
  Root root;
  std::array<Deletion, 3> deletions;  // in order; an empty name ends the list
};

const BrowserSpec* FirefoxBrowser() {
  for (const BrowserSpec& browser : Browsers())
    if (browser.section == "ModernFirefox") return &browser;
  return nullptr;
}

// The Netscape 8 ("NSB") profiles when present, else Netscape Navigator's;
// looked up again by each item, just before its deletions.
std::string NetscapeRoot(RunContext& run) {
  const std::string nsb = run.values.AppDataFolder + "\\Netscape\\NSB\\Profiles";
  if (run.fso.FolderExists(nsb)) return nsb;
  return run.values.AppDataFolder + "\\Netscape\\Navigator\\Profiles";
}

std::string RootFolder(RunContext& run, Root root) {
  const StartupValues& v = run.values;
  switch (root) {
    case Root::FirefoxRoaming:
      return v.AppDataFolder + "\\Mozilla\\Firefox\\Profiles";
    case Root::FirefoxLocal:
      return v.LocalAppDataFolder + "\\Mozilla\\Firefox\\Profiles";
    case Root::OperaRoaming:
      return v.AppDataFolder + "\\Opera\\Opera";
    case Root::OperaLocal:
      return v.LocalAppDataFolder + "\\Opera\\Opera";
    case Root::Netscape:
      return NetscapeRoot(run);
    case Root::Mozilla:
      return v.AppDataFolder + "\\Mozilla\\Profiles";
  }
  return {};
}

constexpr Deletion Files(const char* name) { return {Target::Files, name}; }
constexpr Deletion Folders(const char* name) { return {Target::Folders, name}; }
constexpr Deletion FirefoxRows(TraceKind kind) { return {Target::FirefoxRows, "places.sqlite", kind}; }
constexpr Deletion kNone{Target::Files, ""};

// Firefox's cache is "cache2" since Firefox 32, "Cache" before; its download
// list has been rows of "places.sqlite" since Firefox 26.
constexpr ProfileItem kProfileItems[] = {
    {12, Root::FirefoxRoaming, {FirefoxRows(TraceKind::kHistory), kNone}},
    {13, Root::FirefoxRoaming, {Files("cookies.sqlite"), kNone}},
    {14, Root::FirefoxLocal, {Folders("cache"), Folders("cache2"), kNone}},
    {15, Root::FirefoxRoaming, {FirefoxRows(TraceKind::kHistory), kNone}},
    {16, Root::FirefoxRoaming, {Files("downloads.sqlite"), FirefoxRows(TraceKind::kDownloads), kNone}},
    {17, Root::FirefoxRoaming, {Files("places.sqlite"), Files("places.sqlite-wal"), Files("places.sqlite-shm")}},
    {18, Root::FirefoxRoaming, {Files("key3.db"), kNone}},
    {19, Root::OperaRoaming, {Files("typed_history.xml"), kNone}},
    {20, Root::OperaRoaming, {Files("cookies4.dat"), kNone}},
    {21, Root::OperaLocal, {Folders("cache"), kNone}},
    {22, Root::OperaRoaming, {Files("global_history.dat"), kNone}},
    {23, Root::OperaRoaming, {Files("download.dat"), kNone}},
    {24, Root::OperaRoaming, {Folders("sessions"), kNone}},
    {25, Root::OperaLocal, {Folders("thumbnails"), kNone}},
    {26, Root::OperaRoaming, {Files("bookmarks.adr"), kNone}},
    {27, Root::OperaRoaming, {Files("wand.dat"), kNone}},
    {28, Root::Netscape, {Files("history.dat"), kNone}},
    {29, Root::Netscape, {Files("cookies.txt"), kNone}},
    {30, Root::Netscape, {Folders("cache"), Files("localstore.rdf")}},
    {31, Root::Netscape, {Files("history.dat"), kNone}},
    {32, Root::Netscape, {Files("downloads.rdf"), kNone}},
    {33, Root::Netscape, {Files("bookmarks.html"), kNone}},
    {34, Root::Netscape, {Files("signons2.txt"), Files("signons.txt")}},
    {43, Root::Mozilla, {Files("history.dat"), kNone}},
    {44, Root::Mozilla, {Files("cookies.txt"), kNone}},
    {45, Root::Mozilla, {Files("localstore.rdf"), Folders("cache")}},
    {46, Root::Mozilla, {Files("history.dat"), kNone}},
};

void RunProfileItem(RunContext& run, const ProfileItem& item) {
  const std::string root = RootFolder(run, item.root);
  for (const Deletion& deletion : item.deletions) {
    if (*deletion.name == '\0') break;
    switch (deletion.target) {
      case Target::Files:
        run.BytesReleased += run.erase.DeleteNamedFilesInTree(root, deletion.name);
        break;
      case Target::Folders:
        run.BytesReleased += run.erase.DeleteNamedFoldersInTree(root, deletion.name);
        break;
      case Target::FirefoxRows:
        if (const BrowserSpec* firefox = FirefoxBrowser()) CleanBrowserTraces(run, *firefox, deletion.rows);
        break;
    }
  }
}

constexpr auto kBindings = BindTable<kProfileItems, RunProfileItem>();

}  // namespace

std::span<const ItemBinding> MozillaOperaItems() { return kBindings; }

}  // namespace cv
