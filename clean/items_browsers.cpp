// AOL Explorer, MSN Explorer, Maxthon, Chrome and Safari items 35-42 and
// 47-65. AOL Explorer shares Internet Explorer's stores; the others delete
// named files below fixed folders, one row of data per item.
#include <array>
#include <string>

#include "clean/browser_clean.h"
#include "clean/ie_steps.h"
#include "clean/item_groups.h"
#include "clean/item_table.h"
#include "clean/run_context.h"
#include "platform/text.h"

namespace cv {
namespace {

// AOL Explorer (section "AOL").

void AolAddressBar(RunContext& run) {
  ie::RestoreKeptTypedUrls(run);
  run.RegistryKeysCleaned += 10;
}

void AolCookies(RunContext& run) { ie::DeleteCookiesNotKept(run); }

void AolCache(RunContext& run) { ie::ClearCache(run); }

// Unlike Internet Explorer's own history item, the store is cleared on every Windows version.
void AolHistory(RunContext& run) {
  ie::ClearHistoryStore(run);
  run.RegistryKeysCleaned += 15;
  run.BytesReleased += 500000;
  if (run.values.IeMajorVersion > 6) ie::ClearMyTracks(run, "1");
}

// MSN Explorer (section "MSN"): only its address list is erased; the other
// three rows report, and the cache row counts a fixed amount.

void MsnAddressBar(RunContext& run) {
  run.RegistryKeysCleaned += run.erase.DeleteRegKey(kHkeyCurrentUser, "Software\\Microsoft\\MSN6\\Users");
}

void MsnReportOnly(RunContext&) {}

void MsnCache(RunContext& run) { run.BytesReleased += 500000; }

// Chrome's "History" holds the pages visited beside the download list, and
// "Web Data" saved addresses, payment cards and search engines beside the
// typed form entries: the download and forms items remove their own rows, in
// every profile, as the Chrome of today's browsers does.
void ChromeRows(RunContext& run, TraceKind kind) {
  for (const BrowserSpec& browser : Browsers())
    if (browser.section == "ModernChrome") CleanBrowserTraces(run, browser, kind);
}
void ChromeDownloadList(RunContext& run) { ChromeRows(run, TraceKind::kDownloads); }
void ChromeFormEntries(RunContext& run) { ChromeRows(run, TraceKind::kFormData); }

// Maxthon, Chrome and Safari: steps on folders below a base folder.

enum class Base { AppData, LocalAppData, MaxthonInstall };

enum class Op {
  None,
  NamedFilesInTree,   // DeleteNamedFilesInTree (folder, name)
  AllFilesInTree,     // DeleteAllFilesInTree (folder)
  NamedFileInFolder,  // DeleteNamedFilesInFolder (folder, name)
  AllFilesInFolder,   // DeleteFilesInFolder (folder)
  EmptyWholeFolder,   // EmptyFolder (folder)
  IniSection,         // DeleteIniSection (folder = the INI file, name = the section)
};

struct Step {
  Op op = Op::None;
  Base base = Base::AppData;
  const char* folder = "";  // appended to the base, begins with "\"
  const char* name = "";
};

struct FolderItem {
  int number;
  std::array<Step, 3> steps;  // in order; Op::None ends the list
};

constexpr const char* kMaxthonUninstallKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Maxthon2";

// Read anew by every Maxthon item. Not installed: the marker "Error", a
// relative path that the primitives refuse. A trailing backslash (as
// installers often store it) is dropped so the joined paths stay well formed.
std::string MaxthonFolder(RunContext& run) {
  std::string folder(TrimSpaces(regfun::TrimAtNul(run.reg.ReadRegString(kMaxthonUninstallKey, "InstallLocation"))));
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

std::string BaseFolder(RunContext& run, Base base) {
  switch (base) {
    case Base::AppData:
      return run.values.AppDataFolder;
    case Base::LocalAppData:
      return run.values.LocalAppDataFolder;
    case Base::MaxthonInstall:
      return MaxthonFolder(run);
  }
  return {};
}

double RunStep(RunContext& run, const Step& step) {
  const std::string folder = BaseFolder(run, step.base) + step.folder;
  allerase& erase = run.erase;
  switch (step.op) {
    case Op::None:
      return 0;
    case Op::NamedFilesInTree:
      return erase.DeleteNamedFilesInTree(folder, step.name);
    case Op::AllFilesInTree:
      return erase.DeleteAllFilesInTree(folder);
    case Op::NamedFileInFolder:
      return erase.DeleteNamedFilesInFolder(folder, step.name);
    case Op::AllFilesInFolder:
      return erase.DeleteFilesInFolder(folder);
    case Op::EmptyWholeFolder:
      return erase.EmptyFolder(folder);
    case Op::IniSection:
      erase.DeleteIniSection(folder, step.name);
      return 0;
  }
  return 0;
}

void RunFolderItem(RunContext& run, const FolderItem& item) {
  for (const Step& step : item.steps) {
    if (step.op == Op::None) break;
    run.BytesReleased += RunStep(run, step);
  }
}

constexpr Step Maxthon(Op op, const char* folder, const char* name = "") {
  return {op, Base::MaxthonInstall, folder, name};
}
constexpr Step Chrome(const char* name) {
  return {Op::NamedFilesInTree, Base::LocalAppData, "\\Google\\Chrome\\User Data\\Default", name};
}
constexpr Step Roaming(const char* name, const char* folder = "\\Apple Computer\\Safari") {
  return {Op::NamedFileInFolder, Base::AppData, folder, name};
}
constexpr Step Local(const char* name) {
  return {Op::NamedFileInFolder, Base::LocalAppData, "\\Apple Computer\\Safari", name};
}

constexpr FolderItem kFolderItems[] = {
    {47, {Maxthon(Op::IniSection, "\\SharedAccount\\Config\\Config.ini", "TypedUrls")}},
    {48,
     {Maxthon(Op::NamedFileInFolder, "\\SharedAccount\\Data", "Dynamic.ini"),
      Maxthon(Op::NamedFileInFolder, "\\SharedAccount\\Config", "Config.ini")}},
    {49, {Maxthon(Op::NamedFileInFolder, "\\SharedAccount\\Config", "Config.ini")}},
    {50,
     {Maxthon(Op::NamedFileInFolder, "\\SharedAccount\\Data", "history2.dat"),
      Maxthon(Op::NamedFileInFolder, "\\SharedAccount\\Data", "LastSession.ini"),
      Maxthon(Op::NamedFileInFolder, "\\SharedAccount\\Data", "TmpSession.ini")}},
    {51, {Maxthon(Op::EmptyWholeFolder, "\\SharedAccount\\Downloads")}},
    {53, {Chrome("Cookies")}},
    {54, {Step{Op::AllFilesInTree, Base::LocalAppData, "\\Google\\Chrome\\User Data\\Default\\Cache"}}},
    {55, {Chrome("History")}},
    {57, {Chrome("Last Session"), Chrome("Current Session"), Chrome("Top Sites")}},
    {58,
     {Step{Op::AllFilesInFolder, Base::LocalAppData, "\\Apple Computer\\Safari\\History"}, Roaming("History.plist")}},
    {59, {Roaming("LastSession.plist"), Roaming("TopSites.plist")}},
    {60, {Local("Cache.db"), Local("WebpageIcons.db")}},
    {61, {Roaming("Cookies.plist", "\\Apple Computer\\Safari\\Cookies")}},
    {62, {Roaming("Downloads.plist")}},
    {63, {Roaming("Form Values.plist"), Roaming("keychain.plist", "\\Apple Computer\\Safari\\Preferences")}},
    {64, {Step{Op::AllFilesInFolder, Base::LocalAppData, "\\Apple Computer\\Safari\\Webpage Previews"}}},
    {65, {Roaming("com.apple.Safari.plist", "\\Apple Computer\\Preferences")}},
};

constexpr auto kFolderBindings = BindTable<kFolderItems, RunFolderItem>();

constexpr std::array<ItemBinding, 10> kOwnBindings = {{
    {35, AolAddressBar},
    {36, AolCookies},
    {37, AolCache},
    {38, AolHistory},
    {39, MsnAddressBar},
    {40, MsnReportOnly},
    {41, MsnCache},
    {42, MsnReportOnly},
    {52, ChromeDownloadList},
    {56, ChromeFormEntries},
}};

constexpr auto Concatenate(const decltype(kOwnBindings)& first, const decltype(kFolderBindings)& second) {
  std::array<ItemBinding, std::tuple_size_v<std::remove_cvref_t<decltype(first)>> +
                              std::tuple_size_v<std::remove_cvref_t<decltype(second)>>>
      all{};
  std::size_t i = 0;
  for (const auto& binding : first) all[i++] = binding;
  for (const auto& binding : second) all[i++] = binding;
  return all;
}

constexpr auto kItems = Concatenate(kOwnBindings, kFolderBindings);

}  // namespace

std::span<const ItemBinding> OtherBrowserItems() { return kItems; }

}  // namespace cv
