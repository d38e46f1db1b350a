#pragma once
// The sandbox profile and registry of the browser item tests: Internet
// Explorer's shell folders, cookies, cache and typed URLs; two Firefox
// profiles; roaming and local Opera roots; NSB and Navigator Netscape roots;
// a Mozilla profile; Chrome's "User Data\Default" with a nested cache;
// Safari's roaming and local folders; Maxthon installed where the registry
// says. The whole tree can be snapshot, so a test checks that exactly the
// named files went and every other file is byte for byte what it was.
// Native builds only.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "config/inifun.h"
#include "config/regfun.h"
#include "items_run_fixture.h"
#include "tree_compare.h"
#include "platform/emulated/emulated_keys.h"
#include "platform/emulated/emulated_url_history.h"

namespace cv::test {

inline constexpr const char* kBrowsersRegText = R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders]
"Cache"=hex(2):25,00,55,00,53,00,45,00,52,00,50,00,52,00,4f,00,46,00,49,00,4c,00,45,00,25,00,5c,00,41,00,70,00,70,00,44,00,61,00,74,00,61,00,5c,00,4c,00,6f,00,63,00,61,00,6c,00,5c,00,54,00,49,00,46,00,00,00
"Cookies"="%USERPROFILE%\\AppData\\Roaming\\Cookies"
"Favorites"="%USERPROFILE%\\Favorites"
"History"="%USERPROFILE%\\AppData\\Local\\History"

[HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\Main]
"Default Download Directory"="C:\\Users\\Tester\\Downloads"

[HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\TypedURLs]
"url1"="http://old-one.example/"
"url2"="http://old-two.example/"
"url5"="http://old-five.example/"

[HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\IntelliForms\SPW]
"a"="1"

[HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\IntelliForms\Other]
"b"="2"

[HKEY_USERS\.DEFAULT\Software\Microsoft\Internet Explorer\IntelliForms]
"c"="3"

[HKEY_CURRENT_USER\Software\Microsoft\MSN6\Users]
"name"="someone"

[HKEY_CURRENT_USER\Software\Microsoft\MSN6\Settings]
"keep"="1"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Maxthon2]
"InstallLocation"="C:\\Program Files\\Maxthon2\\"
)";

class BrowsersFixture : public ItemRunFixture {
 public:
  static constexpr const char* kProfile = "C:\\Users\\Tester";
  static constexpr const char* kRoaming = "C:\\Users\\Tester\\AppData\\Roaming";
  static constexpr const char* kLocal = "C:\\Users\\Tester\\AppData\\Local";
  static constexpr const char* kMaxthon = "C:\\Program Files\\Maxthon2";

  BrowsersFixture() : ini_(env.files) {
    const RegTextResult loaded = ImportRegText(env.registry, kBrowsersRegText);
    EXPECT_EQ(loaded.skipped, 0u);
    values.IeMajorVersion = 8;
  }

  void Set(std::string_view section, std::string_view key, std::string_view value) {
    ini_.WriteIniValue(ProgramFile("\\vanesd.dat"), section, key, value);
  }

  static std::string Roaming(std::string_view relative) { return std::string(kRoaming) + "\\" + std::string(relative); }
  static std::string Local(std::string_view relative) { return std::string(kLocal) + "\\" + std::string(relative); }
  static std::string Profile(std::string_view relative) { return std::string(kProfile) + "\\" + std::string(relative); }
  static std::string Maxthon(std::string_view relative) { return std::string(kMaxthon) + "\\" + std::string(relative); }

  std::string Cookies(std::string_view name) { return Roaming("Cookies\\" + std::string(name)); }

  // Writes `size` bytes, the path's own text repeated, so every file's content is distinct.
  void Put(const std::string& path, std::size_t size) {
    std::string bytes;
    while (bytes.size() < size) bytes += path;
    bytes.resize(size);
    WriteFile(path, bytes);
  }

  void WriteKeepFile(std::string_view name, std::string_view text) { WriteFile(ProgramFile(name), text); }

  void AddBrowserProfiles() {
    // Internet Explorer.
    Put(Local("TIF\\Content.IE5\\index.dat"), 32);
    Put(Local("TIF\\Content.IE5\\AB12\\logo[1].png"), 700);
    Put(Local("TIF\\desktop.ini"), 10);
    Put(Cookies("tester@alpha[1].txt"), 101);
    Put(Cookies("tester@kept[1].txt"), 102);
    Put(Cookies("tester@case[1].txt"), 103);
    Put(Cookies("index.dat"), 16);
    Put(Cookies("Low\\tester@low[1].txt"), 104);
    Put(Profile("Favorites\\Links\\Web.url"), 40);
    Put(Profile("Favorites\\News.url"), 41);
    Put(Profile("Downloads\\setup.exe"), 900);
    Put(Local("History\\History.IE5\\index.dat"), 64);
    Put(Profile("PrivacIE\\index.dat"), 50);
    Put(Profile("PrivacIE\\other.dat"), 51);
    // Firefox: two profiles.
    for (const char* profile : {"abc.default", "xyz.second"}) {
      const std::string roaming = "Mozilla\\Firefox\\Profiles\\" + std::string(profile) + "\\";
      Put(Roaming(roaming + "places.sqlite"), profile[0] == 'a' ? 1000 : 1100);
      Put(Roaming(roaming + "cookies.sqlite"), profile[0] == 'a' ? 200 : 210);
      Put(Roaming(roaming + "downloads.sqlite"), 300);
      Put(Roaming(roaming + "key3.db"), 400);
      Put(Roaming(roaming + "prefs.js"), 77);
    }
    Put(Roaming("Mozilla\\Firefox\\Profiles\\abc.default\\backup\\Places.sqlite"), 55);
    Put(Roaming("Mozilla\\Firefox\\Profiles\\abc.default\\Cache\\roaming-cache.bin"), 66);
    Put(Local("Mozilla\\Firefox\\Profiles\\abc.default\\Cache\\_CACHE_001_"), 500);
    Put(Local("Mozilla\\Firefox\\Profiles\\abc.default\\Cache\\0\\A1\\entry"), 250);
    Put(Local("Mozilla\\Firefox\\Profiles\\xyz.second\\cache\\entry"), 120);
    Put(Local("Mozilla\\Firefox\\Profiles\\abc.default\\urlclassifier3.sqlite"), 90);
    // Opera.
    for (const char* name : {"typed_history.xml", "cookies4.dat", "global_history.dat", "download.dat", "bookmarks.adr",
                             "wand.dat", "operaprefs.ini"})
      Put(Roaming(std::string("Opera\\Opera\\") + name), 20 + std::string(name).size());
    Put(Roaming("Opera\\Opera\\sessions\\autosave.win"), 33);
    Put(Roaming("Opera\\Opera\\cache\\roaming.tmp"), 34);
    Put(Local("Opera\\Opera\\cache\\opr00001.tmp"), 35);
    Put(Local("Opera\\Opera\\thumbnails\\t1.png"), 36);
    Put(Local("Opera\\Opera\\sessions\\local.win"), 37);
    // Netscape: both roots, NSB wins.
    for (const char* name : {"history.dat", "cookies.txt", "localstore.rdf", "downloads.rdf", "bookmarks.html",
                             "signons2.txt", "signons.txt", "prefs.js"}) {
      Put(Roaming(std::string("Netscape\\NSB\\Profiles\\p1\\") + name), 40 + std::string(name).size());
      Put(Roaming(std::string("Netscape\\Navigator\\Profiles\\p2\\") + name), 60 + std::string(name).size());
    }
    Put(Roaming("Netscape\\NSB\\Profiles\\p1\\Cache\\blob"), 44);
    Put(Roaming("Netscape\\Navigator\\Profiles\\p2\\Cache\\blob"), 45);
    // Mozilla suite.
    for (const char* name : {"history.dat", "cookies.txt", "localstore.rdf", "prefs.js"})
      Put(Roaming(std::string("Mozilla\\Profiles\\m1\\") + name), 80 + std::string(name).size());
    Put(Roaming("Mozilla\\Profiles\\m1\\cache\\c1"), 81);
    // Chrome.
    const std::string chrome = "Google\\Chrome\\User Data\\Default\\";
    for (const char* name :
         {"History", "Cookies", "Web Data", "Last Session", "Current Session", "Top Sites", "Preferences", "Bookmarks"})
      Put(Local(chrome + name), 120 + std::string(name).size());
    Put(Local(chrome + "Extensions\\ext1\\History"), 15);
    Put(Local(chrome + "Cache\\data_1"), 400);
    Put(Local(chrome + "Cache\\Nested\\f_000001"), 401);
    Put(Local("Google\\Chrome\\User Data\\Local State"), 12);
    // Safari.
    Put(Local("Apple Computer\\Safari\\History\\h1.dat"), 21);
    Put(Local("Apple Computer\\Safari\\History\\sub\\h2.dat"), 22);
    Put(Local("Apple Computer\\Safari\\Cache.db"), 23);
    Put(Local("Apple Computer\\Safari\\WebpageIcons.db"), 24);
    Put(Local("Apple Computer\\Safari\\Webpage Previews\\p1.png"), 25);
    Put(Local("Apple Computer\\Safari\\Other.db"), 26);
    for (const char* name : {"History.plist", "LastSession.plist", "TopSites.plist", "Downloads.plist",
                             "Form Values.plist", "Bookmarks.plist"})
      Put(Roaming(std::string("Apple Computer\\Safari\\") + name), 30 + std::string(name).size());
    Put(Roaming("Apple Computer\\Safari\\Cookies\\Cookies.plist"), 27);
    Put(Roaming("Apple Computer\\Safari\\Preferences\\keychain.plist"), 28);
    Put(Roaming("Apple Computer\\Preferences\\com.apple.Safari.plist"), 29);
    Put(Roaming("Apple Computer\\Preferences\\other.plist"), 19);
    // Maxthon.
    WriteFile(Maxthon("SharedAccount\\Config\\Config.ini"),
              "[General]\r\nHome=about:blank\r\n[TypedUrls]\r\nurl1=http://typed.example/\r\n[Window]\r\nMax=1\r\n");
    for (const char* name : {"Dynamic.ini", "history2.dat", "LastSession.ini", "TmpSession.ini", "Favorite.dat"})
      Put(Maxthon(std::string("SharedAccount\\Data\\") + name), 50 + std::string(name).size());
    Put(Maxthon("SharedAccount\\Downloads\\d.zip"), 300);
    Put(Maxthon("SharedAccount\\Downloads\\more\\e.zip"), 301);
    Put(Maxthon("Maxthon.exe"), 99);
  }

  // Every file of the sandbox's C: drive: host-relative path -> content.
  std::map<std::string, std::string> Snapshot() { return test::FilesBelow(env.files.HostPath("C:\\")); }
  std::string Key(std::string_view windowsPath) {
    return std::filesystem::relative(env.files.HostPath(windowsPath), env.files.HostPath("C:\\")).generic_string();
  }
  // Exactly `removed` went; every other file is unchanged. `changed` lists
  // files whose content may change (INI files edited in place); the
  // selection file, where the run stores its figures, always may.
  void ExpectOnlyRemoved(const std::map<std::string, std::string>& before, const std::set<std::string>& removed,
                         const std::set<std::string>& changed = {}) {
    std::set<std::string> removedKeys, changedKeys = {Key(ProgramFile("\\vanesd.dat"))};
    for (const auto& path : removed) removedKeys.insert(Key(path));
    for (const auto& path : changed) changedKeys.insert(Key(path));
    test::ExpectOnlyRemoved(before, Snapshot(), removedKeys, changedKeys, false);
  }
  double SizeOf(const std::map<std::string, std::string>& snapshot, const std::set<std::string>& paths) {
    double total = 0;
    for (const auto& path : paths) total += static_cast<double>(snapshot.at(Key(path)).size());
    return total;
  }

  // The typed-URL values as name -> text.
  std::vector<std::pair<std::string, std::string>> TypedUrls() {
    std::vector<std::pair<std::string, std::string>> values;
    ScopedRegKey key(env.registry);
    if (env.registry.OpenKey(kHkeyCurrentUser, "Software\\Microsoft\\Internet Explorer\\TypedURLs", kKeyRead,
                             key.out()) != kOk)
      return values;
    std::string name;
    RegValue value;
    for (std::uint32_t i = 0; env.registry.EnumValue(key.get(), i, name, value) == kOk; ++i)
      values.emplace_back(name, regfun::TrimAtNul(value.data));
    return values;
  }

  RunResult RunBrowsers(EraseMode mode = EraseMode::Clean) {
    recorder = RunRecorder();
    Platform services = platform();
    services.urlHistory = &history;
    services.keys = &keys;
    Cleaner cleaner(services, values);
    RunOptions options;
    options.mode = mode;
    options.sink = &recorder;
    return cleaner.CleanNow(options, recorder);
  }

  std::vector<std::string> Started() const {
    std::vector<std::string> lines;
    for (const auto& started : env.shell.started) lines.push_back(started.commandLine);
    return lines;
  }

  emulated::EmulatedUrlHistory history;
  emulated::EmulatedKeySender keys;

 private:
  Inifun ini_;
};

}  // namespace cv::test
