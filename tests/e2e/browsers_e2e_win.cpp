// End to end under Wine: the browser items previewed and cleaned through
// clearvane-cli.exe. A sandbox profile (two Firefox profiles, Opera roaming
// and local roots, two Netscape roots, Chrome with a nested cache, Internet
// Explorer cookies, a Maxthon install folder) is named by a REGEDIT4 fixture
// imported with regedit; the whole sandbox is compared entry by entry before
// and after. Items that start programs (clearing commands) stay off.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "clean/clean_run.h"
#include "clean/run_items.h"
#include "e2e_support_win.h"
#include "platform/win32/text_win.h"
#include "platform/win32/win.h"
#include "test_filesystem.h"
#include "tree_compare.h"

namespace cv {
namespace {

using e2e::Captured;
using e2e::Exists;
using e2e::RegEscape;
using e2e::RunCapturing;
using win32::Widen;
using Snapshot = std::map<std::string, std::string>;

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr char kMaxthonUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Maxthon2";

// The selected items as section/key; every other switch of the 140 is "0".
// Not here: items that start clearing commands (IE history, cache,
// autocomplete, add-ons; AOL cache and history) or open dialogs.
const std::set<std::pair<std::string, std::string>> kSelected = {
    {"EXPLORER", "location"},  {"EXPLORER", "cookies"}, {"FIREFOX", "Address"},   {"FIREFOX", "Cookies"},
    {"FIREFOX", "cache"},      {"FIREFOX", "History"},  {"FIREFOX", "Download"},  {"FIREFOX", "bookmarks"},
    {"FIREFOX", "passwords"},  {"Opera", "Address"},    {"Opera", "Cookies"},     {"Opera", "cache"},
    {"Opera", "History"},      {"Opera", "downloads"},  {"Opera", "Sessions"},    {"Opera", "Images"},
    {"Opera", "Bookmarks"},    {"Opera", "Passwords"},  {"Netscape", "Location"}, {"Netscape", "Cookies"},
    {"Netscape", "Cache"},     {"Netscape", "History"}, {"Netscape", "download"}, {"Netscape", "bookmarks"},
    {"Netscape", "passwords"}, {"Maxthon", "keywords"}, {"Maxthon", "groups"},    {"Maxthon", "folder"},
    {"Chrome", "download"},    {"Chrome", "Cookies"},   {"Chrome", "Cache"},      {"Chrome", "History"},
    {"Chrome", "Forms"},       {"Chrome", "Session"},
};

std::string SelectionFile() {
  std::map<std::string, std::string> sections;
  std::vector<std::string> order;
  for (const RunItem& item : RunItems()) {
    const std::string section(item.section), key(item.key);
    if (!sections.count(section)) order.push_back(section);
    sections[section] += key + "=" + (kSelected.count({section, key}) ? "1" : "0") + "\r\n";
  }
  std::string text;
  for (const std::string& section : order) text += "[" + section + "]\r\n" + sections[section];
  return text;
}

// "%USERPROFILE%\AppData\Local\TIF" as REGEDIT4 writes an expandable string: ANSI bytes and a NUL.
std::string ExpandableHex(const std::string& text) {
  std::string hex = "hex(2):";
  char byte[4];
  for (unsigned char c : text) {
    std::snprintf(byte, sizeof byte, "%02x,", c);
    hex += byte;
  }
  return hex + "00";
}

class BrowsersEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    disk_ = test::MakeFileSystemFixture();
    root_ = disk_->Root();
    program_ = disk_->Path("Clearvane");
    profile_ = disk_->Path("Profile");
    roaming_ = profile_ + "\\AppData\\Roaming";
    local_ = profile_ + "\\AppData\\Local";
    maxthon_ = disk_->Path("Maxthon2");
    cookies_ = roaming_ + "\\Cookies";

    // %USERPROFILE% of the program is the sandbox profile; nothing below may
    // run unless the program would really see it.
    userProfile_ = std::make_unique<e2e::ScopedEnvironmentVariable>("USERPROFILE", profile_);
    const Captured echoed = RunCapturing("cmd.exe /c echo %USERPROFILE%");
    ASSERT_EQ(echoed.out.substr(0, echoed.out.find_first_of("\r\n")), profile_);

    ASSERT_NO_FATAL_FAILURE(e2e::InstallProgram(*disk_, program_, SelectionFile()));
    ASSERT_TRUE(
        disk_->WriteFile(program_ + "\\keepurl.dat", "http://kept-one.example/\r\nhttp://kept-two.example/\r\n"));
    // The second line differs from a cookie's path in case only: it spares nothing.
    ASSERT_TRUE(disk_->WriteFile(program_ + "\\keepcook.dat",
                                 cookies_ + "\\tester@kept[1].txt\r\n" + cookies_ + "\\TESTER@case[1].txt\r\n"));
    ASSERT_NO_FATAL_FAILURE(BuildProfile());
    ASSERT_NO_FATAL_FAILURE(ImportFixtureRegistry());
  }

  // Writes `text`, making the folders above it first.
  void PutText(const std::string& path, const std::string& text) {
    for (size_t cut = path.find('\\', root_.size() + 1); cut != std::string::npos; cut = path.find('\\', cut + 1)) {
      const std::string folder = path.substr(0, cut);
      if (Exists(folder)) continue;
      ASSERT_TRUE(disk_->MakeFolder(folder));
    }
    ASSERT_TRUE(disk_->WriteFile(path, text));
  }
  // Writes `size` bytes, the path's own text repeated, so every file's content is distinct.
  void Put(const std::string& path, std::size_t size) {
    std::string bytes;
    while (bytes.size() < size) bytes += path;
    bytes.resize(size);
    PutText(path, bytes);
  }
  std::string Roaming(const std::string& relative) const { return roaming_ + "\\" + relative; }
  std::string Local(const std::string& relative) const { return local_ + "\\" + relative; }
  std::string Maxthon(const std::string& relative) const { return maxthon_ + "\\" + relative; }
  std::string Chrome(const std::string& relative) const {
    return Local("Google\\Chrome\\User Data\\Default\\" + relative);
  }

  void BuildProfile() {
    // Internet Explorer: cookies (one hidden, one kept, one in a sub-folder) and stores no selected item touches.
    for (const char* name : {"tester@alpha[1].txt", "tester@kept[1].txt", "tester@case[1].txt", "tester@hidden[1].txt"})
      Put(cookies_ + "\\" + name, 100 + std::string(name).size());
    Put(cookies_ + "\\index.dat", 16);
    Put(cookies_ + "\\Low\\tester@low[1].txt", 104);
    ASSERT_TRUE(::SetFileAttributesW(Widen(cookies_ + "\\tester@hidden[1].txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    Put(Local("TIF\\Content.IE5\\index.dat"), 32);
    Put(Local("TIF\\Content.IE5\\AB12\\logo[1].png"), 700);
    Put(Local("History\\History.IE5\\index.dat"), 64);
    Put(profile_ + "\\Favorites\\News.url", 41);
    Put(profile_ + "\\notes.txt", 12);
    Put(disk_->Path("Outside\\keep.txt"), 4);

    // Firefox: two profiles named by profiles.ini, roaming and local halves.
    PutText(Roaming("Mozilla\\Firefox\\profiles.ini"),
            "[General]\r\nStartWithLastProfile=1\r\n\r\n"
            "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/abc.default\r\nDefault=1\r\n\r\n"
            "[Profile1]\r\nName=second\r\nIsRelative=1\r\nPath=Profiles/xyz.second\r\n");
    for (const std::string profile : {"abc.default", "xyz.second"}) {
      const std::string folder = "Mozilla\\Firefox\\Profiles\\" + profile + "\\";
      const size_t extra = profile[0] == 'a' ? 0 : 10;
      Put(Roaming(folder + "places.sqlite"), 1000 + extra);
      Put(Roaming(folder + "cookies.sqlite"), 200 + extra);
      Put(Roaming(folder + "downloads.sqlite"), 300 + extra);
      Put(Roaming(folder + "key3.db"), 400 + extra);
      Put(Roaming(folder + "prefs.js"), 77 + extra);
    }
    Put(Roaming("Mozilla\\Firefox\\Profiles\\abc.default\\backup\\Places.sqlite"), 55);
    Put(Roaming("Mozilla\\Firefox\\Profiles\\abc.default\\Cache\\roaming-cache.bin"), 66);
    Put(Local("Mozilla\\Firefox\\Profiles\\abc.default\\Cache\\_CACHE_001_"), 500);
    Put(Local("Mozilla\\Firefox\\Profiles\\abc.default\\Cache\\0\\A1\\entry"), 250);
    Put(Local("Mozilla\\Firefox\\Profiles\\xyz.second\\cache\\entry"), 120);
    Put(Local("Mozilla\\Firefox\\Profiles\\abc.default\\urlclassifier3.sqlite"), 90);

    // Opera: roaming and local roots.
    for (const std::string name : {"typed_history.xml", "cookies4.dat", "global_history.dat", "download.dat",
                                   "bookmarks.adr", "wand.dat", "operaprefs.ini"})
      Put(Roaming("Opera\\Opera\\" + name), 20 + name.size());
    Put(Roaming("Opera\\Opera\\sessions\\autosave.win"), 33);
    Put(Roaming("Opera\\Opera\\cache\\roaming.tmp"), 34);
    Put(Local("Opera\\Opera\\cache\\opr00001.tmp"), 35);
    Put(Local("Opera\\Opera\\thumbnails\\t1.png"), 36);
    Put(Local("Opera\\Opera\\sessions\\local.win"), 37);

    // Netscape: both roots; the NSB one is used.
    for (const std::string name : {"history.dat", "cookies.txt", "localstore.rdf", "downloads.rdf", "bookmarks.html",
                                   "signons2.txt", "signons.txt", "prefs.js"}) {
      Put(Roaming("Netscape\\NSB\\Profiles\\p1\\" + name), 40 + name.size());
      Put(Roaming("Netscape\\Navigator\\Profiles\\p2\\" + name), 60 + name.size());
    }
    Put(Roaming("Netscape\\NSB\\Profiles\\p1\\Cache\\blob"), 44);
    Put(Roaming("Netscape\\Navigator\\Profiles\\p2\\Cache\\blob"), 45);
    // Mozilla suite and Safari: not selected.
    Put(Roaming("Mozilla\\Profiles\\m1\\history.dat"), 81);
    Put(Roaming("Mozilla\\Profiles\\m1\\cache\\c1"), 82);
    Put(Local("Apple Computer\\Safari\\Cache.db"), 23);
    Put(Roaming("Apple Computer\\Safari\\History.plist"), 24);

    // Chrome: "User Data\Default" with a nested cache.
    for (const std::string name :
         {"History", "Cookies", "Web Data", "Last Session", "Current Session", "Top Sites", "Preferences", "Bookmarks"})
      Put(Chrome(name), 120 + name.size());
    Put(Chrome("Extensions\\ext1\\History"), 15);
    Put(Chrome("Cache\\data_1"), 400);
    Put(Chrome("Cache\\Nested\\f_000001"), 401);
    Put(Local("Google\\Chrome\\User Data\\Local State"), 12);

    // Maxthon, installed where the registry says.
    PutText(Maxthon("SharedAccount\\Config\\Config.ini"),
            "[General]\r\nHome=about:blank\r\n[TypedUrls]\r\nurl1=http://typed.example/\r\n[Window]\r\nMax=1\r\n");
    for (const std::string name : {"Dynamic.ini", "history2.dat", "LastSession.ini", "TmpSession.ini", "Favorite.dat"})
      Put(Maxthon("SharedAccount\\Data\\" + name), 50 + name.size());
    Put(Maxthon("SharedAccount\\Downloads\\d.zip"), 300);
    Put(Maxthon("SharedAccount\\Downloads\\more\\e.zip"), 301);
    Put(Maxthon("Maxthon.exe"), 99);
  }

  void ImportFixtureRegistry() {
    // The prefix's own values come back when the test ends.
    backups_.push_back(std::make_unique<e2e::RegistryKeyBackup>(HKEY_CURRENT_USER, kShellFolders));
    backups_.push_back(std::make_unique<e2e::RegistryKeyBackup>(HKEY_CURRENT_USER, kTypedUrls));
    backups_.push_back(std::make_unique<e2e::RegistryKeyBackup>(HKEY_LOCAL_MACHINE, kMaxthonUninstall));
    const std::string reg =
        "REGEDIT4\r\n\r\n"
        "[HKEY_CURRENT_USER\\" +
        std::string(kShellFolders) +
        "]\r\n"
        "\"AppData\"=\"%USERPROFILE%\\\\AppData\\\\Roaming\"\r\n"
        "\"Local AppData\"=\"" +
        RegEscape(local_) +
        "\"\r\n"
        "\"Cache\"=" +
        ExpandableHex("%USERPROFILE%\\AppData\\Local\\TIF") +
        "\r\n"
        "\"Cookies\"=\"%USERPROFILE%\\\\AppData\\\\Roaming\\\\Cookies\"\r\n"
        "\"History\"=\"%USERPROFILE%\\\\AppData\\\\Local\\\\History\"\r\n"
        "\"Favorites\"=\"%USERPROFILE%\\\\Favorites\"\r\n\r\n"
        "[-HKEY_CURRENT_USER\\" +
        std::string(kTypedUrls) +
        "]\r\n\r\n"
        "[HKEY_CURRENT_USER\\" +
        std::string(kTypedUrls) +
        "]\r\n"
        "\"url1\"=\"http://old-one.example/\"\r\n\"url2\"=\"http://old-two.example/\"\r\n"
        "\"url3\"=\"http://old-three.example/\"\r\n\"url5\"=\"http://old-five.example/\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\" +
        std::string(kMaxthonUninstall) +
        "]\r\n"
        "\"InstallLocation\"=\"" +
        RegEscape(maxthon_) + "\\\\\"\r\n";
    ASSERT_NO_FATAL_FAILURE(e2e::ImportRegistry(*disk_, reg));
    // Every folder the selected items reach is in the sandbox.
    ASSERT_EQ(e2e::ReadString(HKEY_CURRENT_USER, kShellFolders, "AppData"), "%USERPROFILE%\\AppData\\Roaming");
    ASSERT_EQ(e2e::ReadString(HKEY_CURRENT_USER, kShellFolders, "Local AppData"), local_);
    ASSERT_EQ(e2e::ReadString(HKEY_CURRENT_USER, kShellFolders, "Cache"), "%USERPROFILE%\\AppData\\Local\\TIF");
    ASSERT_EQ(e2e::ReadString(HKEY_LOCAL_MACHINE, kMaxthonUninstall, "InstallLocation"), maxthon_ + "\\");
    ASSERT_EQ(TypedUrls().size(), 4u);
  }

  void TearDown() override {
    backups_.clear();
    userProfile_.reset();
  }

  Captured Cli(const std::string& arguments) {
    return RunCapturing("\"" + program_ + "\\clearvane-cli.exe\" " + arguments);
  }

  std::vector<std::pair<std::string, std::string>> TypedUrls() {
    std::vector<std::pair<std::string, std::string>> urls;
    const auto values = e2e::ReadKeyValues(HKEY_CURRENT_USER, kTypedUrls);
    if (!values) return urls;
    for (const auto& [name, data] : *values)
      urls.emplace_back(name, e2e::ReadString(HKEY_CURRENT_USER, kTypedUrls, name).value_or("<not a string>"));
    return urls;
  }

  // The sandbox's entries that the run removes, as full paths: files and the
  // folders that go with them.
  std::set<std::string> ExpectedGone() const {
    std::set<std::string> gone;
    for (const char* name : {"tester@alpha[1].txt", "tester@case[1].txt", "tester@hidden[1].txt", "index.dat"})
      gone.insert(cookies_ + "\\" + name);
    for (const std::string profile : {"abc.default", "xyz.second"})
      for (const char* name : {"places.sqlite", "cookies.sqlite", "downloads.sqlite", "key3.db"})
        gone.insert(Roaming("Mozilla\\Firefox\\Profiles\\" + profile + "\\" + name));
    for (const char* path :
         {"abc.default\\Cache", "abc.default\\Cache\\_CACHE_001_", "abc.default\\Cache\\0", "abc.default\\Cache\\0\\A1",
          "abc.default\\Cache\\0\\A1\\entry", "xyz.second\\cache", "xyz.second\\cache\\entry"})
      gone.insert(Local("Mozilla\\Firefox\\Profiles\\" + std::string(path)));
    for (const char* name : {"typed_history.xml", "cookies4.dat", "global_history.dat", "download.dat", "bookmarks.adr",
                             "wand.dat", "sessions", "sessions\\autosave.win"})
      gone.insert(Roaming("Opera\\Opera\\" + std::string(name)));
    for (const char* name : {"cache", "cache\\opr00001.tmp", "thumbnails", "thumbnails\\t1.png"})
      gone.insert(Local("Opera\\Opera\\" + std::string(name)));
    for (const char* name : {"history.dat", "cookies.txt", "localstore.rdf", "downloads.rdf", "bookmarks.html",
                             "signons2.txt", "signons.txt", "Cache", "Cache\\blob"})
      gone.insert(Roaming("Netscape\\NSB\\Profiles\\p1\\" + std::string(name)));
    for (const char* name : {"History", "Cookies", "Last Session", "Current Session", "Top Sites",
                             "Extensions\\ext1\\History", "Cache\\data_1", "Cache\\Nested\\f_000001"})
      gone.insert(Chrome(name));
    for (const char* name : {"Data\\history2.dat", "Data\\LastSession.ini", "Data\\TmpSession.ini", "Downloads\\d.zip",
                             "Downloads\\more", "Downloads\\more\\e.zip"})
      gone.insert(Maxthon("SharedAccount\\" + std::string(name)));
    return gone;
  }

  std::string Relative(const std::string& path) const { return path.substr(root_.size() + 1); }

  // Exactly `gone` went; every other entry is byte for byte what it was,
  // except the figures in the selection file and the entries in `changed`.
  void ExpectOnlyRemoved(const Snapshot& before, const std::set<std::string>& gone,
                         const std::set<std::string>& changed = {}) {
    std::set<std::string> goneKeys, changedKeys = {Relative(program_ + "\\vanesd.dat")};
    for (const auto& path : gone) goneKeys.insert(Relative(path));
    for (const auto& path : changed) changedKeys.insert(Relative(path));
    test::ExpectOnlyRemoved(before, e2e::SnapshotTree(root_), goneKeys, changedKeys, true);
  }

  double SizeOf(const Snapshot& snapshot, const std::set<std::string>& paths) const {
    double total = 0;
    for (const auto& path : paths) {
      const std::string& content = snapshot.at(Relative(path));
      if (content != e2e::kFolderMarker) total += static_cast<double>(content.size());
    }
    return total;
  }

  std::unique_ptr<test::FileSystemFixture> disk_;
  std::unique_ptr<e2e::ScopedEnvironmentVariable> userProfile_;
  std::vector<std::unique_ptr<e2e::RegistryKeyBackup>> backups_;
  std::string root_, program_, profile_, roaming_, local_, maxthon_, cookies_;
};

using e2e::Occurrences;

// Every row is done; the five items that remove rows of a database (Firefox's
// address bar, history and downloads, Chrome's downloads and forms) say that
// this sandbox's stand-in files are no databases and leave them.
void ExpectDoneRows(const std::string& report) {
  EXPECT_EQ(Occurrences(report, "\"status\": \"Done\""), kSelected.size() - 5) << report;
  EXPECT_EQ(Occurrences(report, "\"status\": \"Done; places.sqlite is not a database, left untouched"), 3u) << report;
  EXPECT_EQ(Occurrences(report, "\"status\": \"Done; History is not a database, left untouched"), 1u) << report;
  EXPECT_EQ(Occurrences(report, "\"status\": \"Done; Web Data is not a database, left untouched"), 1u) << report;
}

TEST_F(BrowsersEndToEnd, PreviewListsTheFilesAndChangesNothing) {
  const Snapshot before = e2e::SnapshotTree(root_);
  const Captured preview = Cli("--preview --json");
  ASSERT_EQ(preview.exitCode, 0u) << preview.out;
  EXPECT_NE(preview.out.find("\"mode\": \"preview\""), std::string::npos) << preview.out;
  ExpectOnlyRemoved(before, {});
  EXPECT_EQ(TypedUrls().size(), 4u);

  // One row per selected item, each done, then the closing row; no program started.
  EXPECT_EQ(Occurrences(preview.out, "\"status\": "), kSelected.size() + 1) << preview.out;
  EXPECT_NE(preview.out.find("{\"item\": \"Analysis complete: nothing was erased.\", \"status\": \"\"}]"),
            std::string::npos);
  ExpectDoneRows(preview.out);
  EXPECT_EQ(preview.out.find("\"kind\": \"command\""), std::string::npos) << preview.out;
  EXPECT_EQ(preview.out.find("\"refused\""), std::string::npos) << preview.out;

  // Every file the clean removes is listed with its size, or inside a listed folder.
  const std::set<std::string> gone = ExpectedGone();
  for (const std::string& path : gone) {
    const std::string& content = before.at(Relative(path));
    if (content == e2e::kFolderMarker) continue;
    const std::string fileEntry = JsonString(path) + ", \"bytes\": " + std::to_string(content.size());
    bool inListedFolder = false;
    for (size_t cut = path.rfind('\\'); cut != std::string::npos && cut > root_.size(); cut = path.rfind('\\', cut - 1))
      inListedFolder = inListedFolder || preview.out.find("\"kind\": \"folder\", \"path\": " +
                                                          JsonString(path.substr(0, cut))) != std::string::npos;
    EXPECT_TRUE(preview.out.find(fileEntry) != std::string::npos || inListedFolder) << path << "\n" << preview.out;
  }
  // Nothing that stays is listed.
  for (const auto& [relative, content] : before) {
    const std::string path = root_ + "\\" + relative;
    if (gone.count(path) || path == Maxthon("SharedAccount\\Config\\Config.ini") ||
        path == Maxthon("SharedAccount\\Downloads"))
      continue;
    EXPECT_EQ(preview.out.find(JsonString(path) + ", \"bytes\""), std::string::npos) << path;
  }
  EXPECT_NE(preview.out.find(JsonString("HKEY_CURRENT_USER\\" + std::string(kTypedUrls))), std::string::npos)
      << preview.out;
  EXPECT_NE(preview.out.find(JsonString(Maxthon("SharedAccount\\Config\\Config.ini") + " [TypedUrls]")),
            std::string::npos)
      << preview.out;
}

TEST_F(BrowsersEndToEnd, CleanRemovesExactlyTheNamedTracesAndKeepsTheRest) {
  const Snapshot before = e2e::SnapshotTree(root_);
  const Captured preview = Cli("--preview --json");
  ASSERT_EQ(preview.exitCode, 0u) << preview.out;
  const Captured clean = Cli("--clean --json");
  ASSERT_EQ(clean.exitCode, 0u) << clean.out;
  EXPECT_NE(clean.out.find("\"mode\": \"clean\""), std::string::npos) << clean.out;

  const std::set<std::string> gone = ExpectedGone();
  const std::string configIni = Maxthon("SharedAccount\\Config\\Config.ini");
  ExpectOnlyRemoved(before, gone, {configIni});
  EXPECT_TRUE(Exists(Maxthon("SharedAccount\\Downloads"))) << "emptied and made again";
  EXPECT_TRUE(Exists(Chrome("Cache\\Nested"))) << "the cache's files go, its folders stay";

  // The kept cookie stays; the typed URLs are exactly the kept ones, in order.
  EXPECT_TRUE(Exists(cookies_ + "\\tester@kept[1].txt"));
  EXPECT_EQ(TypedUrls(), (std::vector<std::pair<std::string, std::string>>{{"url1", "http://kept-one.example/"},
                                                                           {"url2", "http://kept-two.example/"}}));

  // Only the TypedUrls section left Maxthon's configuration.
  wchar_t text[256];
  const std::wstring ini = Widen(configIni);
  EXPECT_EQ(::GetPrivateProfileStringW(L"TypedUrls", L"url1", L"-", text, 256, ini.c_str()), 1u);
  EXPECT_EQ(std::wstring(text), L"-");
  ::GetPrivateProfileStringW(L"General", L"Home", L"-", text, 256, ini.c_str());
  EXPECT_EQ(std::wstring(text), L"about:blank");
  ::GetPrivateProfileStringW(L"Window", L"Max", L"-", text, 256, ini.c_str());
  EXPECT_EQ(std::wstring(text), L"1");

  // Figures: the typed-URL key (3) and the removed files' sizes, as previewed.
  const std::string bytes = PlainNumber(SizeOf(before, gone));
  EXPECT_NE(clean.out.find("\"registryKeysCleaned\": 3, \"bytesReleased\": " + bytes), std::string::npos) << clean.out;
  EXPECT_NE(preview.out.find("\"registryKeysCleaned\": 3, \"bytesReleased\": " + bytes), std::string::npos)
      << preview.out;
  ExpectDoneRows(clean.out);
}

// A cookie folder value naming the profile root itself: the cookie item
// refuses it and the files directly in the profile stay.
TEST_F(BrowsersEndToEnd, CookieFolderNamingTheProfileRootErasesNothing) {
  ASSERT_TRUE(disk_->WriteFile(program_ + "\\vanesd.dat",
                               "[EXPLORER]\r\ncookies=1\r\n[Maxthon]\r\nkeywords=0\r\npages=0\r\n"
                               "settings=0\r\ngroups=0\r\nfolder=0\r\n"));
  ASSERT_NO_FATAL_FAILURE(e2e::ImportRegistry(
      *disk_,
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + std::string(kShellFolders) + "]\r\n\"Cookies\"=\"%USERPROFILE%\"\r\n"));
  const Snapshot before = e2e::SnapshotTree(root_);

  const Captured preview = Cli("--preview --json");
  ASSERT_EQ(preview.exitCode, 0u) << preview.out;
  EXPECT_NE(
      preview.out.find("\"kind\": \"folder\", \"path\": " + JsonString(profile_) + ", \"bytes\": 0, \"refused\": true"),
      std::string::npos)
      << preview.out;
  const Captured clean = Cli("--clean --json");
  ASSERT_EQ(clean.exitCode, 0u) << clean.out;
  EXPECT_NE(clean.out.find("{\"item\": \"IE Cookies\", \"status\": \"Done\", \"source\": \"builtin\"}"),
            std::string::npos)
      << clean.out;
  EXPECT_NE(clean.out.find("\"bytesReleased\": 0,"), std::string::npos) << clean.out;
  ExpectOnlyRemoved(before, {});
  EXPECT_TRUE(Exists(profile_ + "\\notes.txt"));
}

}  // namespace
}  // namespace cv
