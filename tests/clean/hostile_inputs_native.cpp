// Hostile inputs, grouped by where they come from: registry values, the
// custom list, plug-in files and community definitions (winapp2.ini). Each
// case runs a whole cleaning run over a drive full of bystanders and checks that nothing but the case's own
// targets changed (files byte for byte, the registry as exported) and that
// the run ended normally.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "clean/winapp2_items.h"
#include "items_run_fixture.h"
#include "tree_compare.h"

namespace cv::test {
namespace {

using namespace std::string_literals;

constexpr const char* kPublic =
    "C:\\Users\\\xC3\x96"
    "ffentlich";  // "Öffentlich" in UTF-8
constexpr const char* kPublicAnsi =
    "C:\\Users\\\xD6"
    "ffentlich";  // the same in Windows-1252
constexpr const char* kLocal = EmulatedPlatformFixture::kLocalAppData;
constexpr const char* kRoaming = EmulatedPlatformFixture::kAppData;
constexpr const char* kVendorKey = "Software\\Vendor\\App";

std::string Local(std::string_view relative) { return kLocal + std::string(relative); }
std::string Roaming(std::string_view relative) { return kRoaming + std::string(relative); }

// Entries of a plug-in section so long that the profile functions' buffer
// ends right after the first `kept` characters of `last`: filler entries with
// too few fields (never executed) push it there.
std::string SectionCutInside(std::string_view name, std::string_view last, std::size_t kept) {
  constexpr std::size_t kBufferEnd = 32765;  // characters before the two closing NULs
  std::string body = "[" + std::string(name) + "]\r\n";
  std::size_t used = 0;
  for (int i = 0; used < kBufferEnd - kept;) {
    const std::size_t room = kBufferEnd - kept - used;  // characters left, each entry with its NUL
    std::string key = "f" + std::to_string(i++) + "=";
    const std::size_t fill = room >= 120 + key.size() + 1 + 8 ? 120 : room - key.size() - 1;
    body += key + std::string(fill, 'x') + "\r\n";
    used += key.size() + fill + 1;
  }
  return body + std::string(last) + "\r\n";
}

class HostileInputs : public ::testing::Test, public ItemRunFixture {
 protected:
  HostileInputs() {
    env.shell.SetEnvironmentVariable("PUBLIC", kPublic);
    for (const std::string& file : {Local("\\Vendor\\App\\Cache\\c.bin"), Local("\\Vendor\\Other\\data.db"),
                                    Roaming("\\App\\history.log"), Roaming("\\App\\LICENSE"), Roaming("\\App\\README"),
                                    std::string(kPublic) + "\\shared.doc", std::string(kDocuments) + "\\thesis.doc",
                                    std::string("C:\\WINDOWS\\system.ini"), std::string("C:\\Data\\notes.txt")})
      WriteFile(file, "bystander " + file);
    SetString("HKEY_CURRENT_USER\\Software\\Vendor\\App", "", "default");
    SetString("HKEY_CURRENT_USER\\Software\\Vendor\\App", "LastFile", "x");
    SetString("HKEY_CURRENT_USER\\Software\\Vendor\\Other", "Keep", "y");
  }

  TreeSnapshot Files() { return test::FilesBelow(env.files.HostPath("C:\\")); }
  std::string Key(std::string_view path) {
    return std::filesystem::relative(env.files.HostPath(path), env.files.HostPath("C:\\")).generic_string();
  }

  // Runs preview and clean; only `gone` may go, only the run's own files may change.
  void ExpectOnlyTargetsGo(const std::set<std::string>& gone = {}, std::string_view registryAfter = {}) {
    const TreeSnapshot before = Files();
    const std::string registry = env.registry.ExportRegText();
    std::set<std::string> goneKeys, changed{Key(ProgramFile("\\vanesd.dat")), Key(ProgramFile("\\winapp2.log"))};
    for (const auto& path : gone) goneKeys.insert(Key(path));
    EXPECT_EQ(DoRun(EraseMode::Preview).outcome, RunOutcome::Completed);
    ExpectOnlyRemoved(before, Files(), {}, changed, true);
    EXPECT_EQ(env.registry.ExportRegText(), registry) << "preview";
    EXPECT_EQ(DoRun().outcome, RunOutcome::Completed);
    ExpectOnlyRemoved(before, Files(), goneKeys, changed, false);
    if (registryAfter.empty()) {
      EXPECT_EQ(env.registry.ExportRegText(), registry);
    }
  }
  // The community definitions beside the program, every entry of them ticked
  // (the log of what the reader refused is written before the run).
  void Define(const std::string& entries) {
    WriteFile(ProgramFile("\\winapp2.ini"), entries);
    WriteFile(ProgramFile("\\winapp2.log"), "");
    ResetSelection();
    Platform services = platform();
    for (const Item& item : Winapp2Items(services)) Select("winapp2", item.key);
  }
  std::string Status(std::string_view item) {
    for (const auto& row : recorder.ItemRows())
      if (row.item == item) return row.status;
    return "(no row)";
  }
};

// ---- Registry values: the shell folders the browser and Windows items read.

TEST_F(HostileInputs, RegistryValuesNamingWhatMustSurvive) {
  const std::string padded(300, 'p');
  const std::string values[] = {"",
                                "C:\\",
                                "C:",
                                "C:\\Users\\Tester",
                                "C:\\Users\\Tester\\..",
                                "C:\\Users\\Tester\\.",
                                "C:\\WINDOWS",
                                "relative",
                                "\\\\?\\C:\\Users\\Tester",
                                "C:\\Users\\Tester\0C:\\Data"s,
                                kPublic,
                                "%USERPROFILE%",
                                "C:\\Data\\..",
                                padded};
  Select("EXPLORER", "cache");
  Select("EXPLORER", "cookies");
  Select("EXPLORER", "favorites");
  Select("WINDOWS", "searchfolders");
  for (const std::string& value : values) {
    SCOPED_TRACE("value \"" + value + "\"");
    for (const char* name : {"Cache", "Cookies", "Favorites", "Personal"})
      SetString("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", name,
                value);
    ExpectOnlyTargetsGo();
  }
}

// ---- The custom list: paths the user (or anyone who can write the file) names.

TEST_F(HostileInputs, CustomListLinesNamingWhatMustSurvive) {
  Select("Custom", "Custom");
  const std::string lines[] = {
      std::string(kPublicAnsi) + "\tFolder",  // ANSI bytes for a protected folder
      "C:\\Users\\Tester\\Documents\\..\tFolder",
      "C:\\Data\\..\\Users\\Tester\tFolder",
      "Users\\Tester\tFolder",
      "\\\\?\\C:\\Users\\Tester\tFolder",
      "C:\\\tFolder",
      "C:\tFolder",
      "C:\\Data\\notes.txt\0\tFile"s,
      "\xFF\xFE\x00\x41\tFolder"s,
      std::string(40000, 'a') + "\tFolder",
  };
  for (const std::string& line : lines) {
    SCOPED_TRACE(line.substr(0, 60));
    WriteFile(ProgramFile("\\cusd.dat"), line + "\r\n");
    ExpectOnlyTargetsGo();
    EXPECT_EQ(Status("Custom Item"), "Done");
  }
}

TEST_F(HostileInputs, CustomListThatCannotBeReadErasesNothingAndSaysSo) {
  Select("Custom", "Custom");
  std::string list = "C:\\Data\\notes.txt\tFile\r\n";
  list.resize((16u << 20) + 1, '\n');
  WriteFile(ProgramFile("\\cusd.dat"), list);
  ExpectOnlyTargetsGo();
  EXPECT_EQ(Status("Custom Item"), "Fail, File too large!");
}

// ---- Plug-in files.

std::string Plugin(std::string_view actions) {
  return "[name]\r\nappname=App\r\n[swich]\r\non=1\r\n" + std::string(actions);
}

// An entry the section buffer cut must not run: what remains of it names more.
TEST_F(HostileInputs, PluginEntriesCutByTheSectionBufferAreDropped) {
  const struct {
    const char* section;
    std::string entry;
    std::string keptUpTo;  // the buffer ends after this text of the entry
  } cases[] = {
      {"folder", "z=localappdata,\\Vendor\\App\\Cache", "z=localappdata,\\Vendor"},
      {"regtree", "z=-2147483647,Software\\Vendor\\App", "z=-2147483647,Software\\Vendor"},
      {"reg", "z=-2147483647,Software\\Vendor\\App,LastFile", "z=-2147483647,Software\\Vendor\\App,"},
      {"fileext", "z=appdata,\\App,log", "z=appdata,\\App,"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    WriteFile(ProgramFile("\\plus-in\\App.vpe"), Plugin(SectionCutInside(c.section, c.entry, c.keptUpTo.size())));
    ExpectOnlyTargetsGo();
    EXPECT_EQ(Status("App"), "Done");
  }
}

TEST_F(HostileInputs, PluginEntriesNamingWhatMustSurvive) {
  const std::string actions[] = {
      "[folder]\r\nd=" + std::string(kPublicAnsi) + ",\r\n",  // ANSI bytes for a protected folder
      "[folder]\r\nd=localappdata,\\Vendor\\..\r\n",
      "[folder]\r\nd=localappdata,\\..\\..\r\n",
      "[folder]\r\nd=C:,\r\n",
      "[folder]\r\nd=\\\\?\\C:\\Users,\\Tester\r\n",
      "[fileext]\r\ne=appdata,\\App,\r\n",  // no extension: not "every file without one"
      "[file]\r\nf=appdata,\\App,\r\n",
      "[regtree]\r\nt=-2147483647,\r\nu=-2147483647,Software\r\nv=-2147483647,\\Software\\Vendor\r\n",
      "[regtree]\r\nt=4294967297,Software\\Vendor\\App\r\nu=&H180000001,Software\\Vendor\\App\r\n",
      "[folder]\r\nd=\xFF\xFE\x00\r\n"s,
      "[folder]\r\nd=localappdata," + std::string(70000, '\\') + "\r\n",
  };
  for (const std::string& action : actions) {
    SCOPED_TRACE(action.substr(0, 60));
    WriteFile(ProgramFile("\\plus-in\\App.vpe"), Plugin(action));
    ExpectOnlyTargetsGo();
  }
}

// The profile functions see the first of two sections of one name; a
// duplicate never adds entries behind the reader's back.
TEST_F(HostileInputs, PluginDuplicateSectionsAreReadAsTheProfileFunctionsSeeThem) {
  WriteFile(
      ProgramFile("\\plus-in\\App.vpe"),
      Plugin("[folder]\r\nd=localappdata,\\Vendor\\App\\Cache\r\n[FOLDER]\r\nd=localappdata,\\Vendor\\Other\r\n"));
  ExpectOnlyTargetsGo({Local("\\Vendor\\App\\Cache\\c.bin")});
}

TEST_F(HostileInputs, PluginThatCannotBeReadRunsNothingAndSaysSo) {
  std::string plugin = Plugin("[folder]\r\nd=localappdata,\\Vendor\\App\\Cache\r\n");
  plugin.resize((16u << 20) + 1, ';');
  WriteFile(ProgramFile("\\plus-in\\App.vpe"), plugin);
  ExpectOnlyTargetsGo();
  EXPECT_EQ(Status("App"), "Fail, File too large!");
}

// ---- Community definitions: entries of winapp2.ini (and custom.ini) beside the program.

// One entry of the application "Tool" (detected by its folder) with `lines`.
std::string ToolEntry(std::string_view lines) {
  return "[Tool *]\r\nLangSecRef=3021\r\nDetectFile=%LocalAppData%\\Tool\r\n" + std::string(lines) + "\r\n";
}

class HostileDefinitions : public HostileInputs {
 protected:
  HostileDefinitions() {
    for (const std::string& file : {Local("\\Google\\Chrome\\User Data\\Default\\Bookmarks"),
                                    Local("\\Tool\\Cache\\t.tmp"),
                                    Local("\\Tool\\Data\\a.txt"),
                                    Local("\\Tool\\Data\\settings.ini"),
                                    Local("\\Tool\\Data\\\xC3\x9C"
                                          "berweisung.txt"),
                                    Local("\\Tool\\Data\\a.bak"),
                                    Local("\\Tool\\Data\\b.log"),
                                    Local("\\x.log"),
                                    Local("\\Vendor\\App\\y.log"),
                                    std::string(kUserProfile) + "\\Desktop\\note.txt",
                                    std::string(kUserProfile) + "\\Downloads\\setup.exe",
                                    std::string(kUserProfile) + "\\Favorites\\site.url",
                                    std::string(kUserProfile) + "\\Saved Games\\g.sav",
                                    std::string(kUserProfile) + "\\Pictures\\p.jpg",
                                    std::string(kUserProfile) + "\\Music\\m.mp3",
                                    std::string(kUserProfile) + "\\Videos\\v.mp4",
                                    std::string(kUserProfile) + "\\OneDrive\\o.docx",
                                    std::string(kUserProfile) + "\\AppData\\LocalLow\\Game\\save.dat",
                                    std::string(kUserProfile) + "\\CCleaner_log1.txt",
                                    std::string("C:\\AdwCleaner[S00].txt"),
                                    std::string("C:\\AdwCleanerOld\\AdwCleaner[S01].txt"),
                                    std::string("C:\\setup.exe"),
                                    std::string("C:\\WINDOWS\\shell32.dll"),
                                    std::string("C:\\WINDOWS\\setup.log")})
      WriteFile(file, "bystander " + file);
  }
  static constexpr const char* kUserProfile = EmulatedPlatformFixture::kUserProfile;
};

// Fault 1: a key is judged by what it reaches, however it is spelled.
TEST_F(HostileDefinitions, KeysReachingUserDataOrOtherApplicationsAreRefused) {
  const char* keys[] = {
      "%LocalAppData%\\*|*.*|RECURSE",
      "%LocalAppData%\\*.*|*.*|RECURSE",
      "%LocalAppData%\\**|*|RECURSE",
      "%LocalAppData%\\*|**|REMOVESELF",
      "%UserProfile%\\AppData\\Local\\*|*|RECURSE",
      "%Documents%|**|RECURSE",
      "%Documents%|?*|RECURSE",
      "%UserProfile%\\Documents|*|RECURSE",
      "%AppData%\\*\\*|*.*|RECURSE",
      "%LocalAppData%\\Vendor|*|RECURSE",
      "%LocalAppData%\\Google|*.*",
      "%UserProfile%\\Desktop|*.txt|RECURSE",
      "%UserProfile%\\Downloads|*",
      "%UserProfile%\\Favorites|*|REMOVESELF",
      "%UserProfile%\\Saved Games|*|RECURSE",
      "%Pictures%|*.jpg|RECURSE",
      "%Music%|*",
      "%Video%|*|RECURSE",
      "%UserProfile%\\OneDrive|*|RECURSE",
      "%LocalLowAppData%|*|RECURSE",
      "%LocalAppData%\\..\\LocalLow|*|RECURSE",
  };
  for (const char* key : keys) {
    SCOPED_TRACE(key);
    Define(ToolEntry("FileKey1=%LocalAppData%\\Tool\\Cache|*.tmp\r\nFileKey2=" + std::string(key)));
    ExpectOnlyTargetsGo();
    const std::string status = Status("Tool");
    EXPECT_TRUE(status == "(no row)" || status.rfind("Refused: ", 0) == 0) << status;
  }
}

// Fault 2: registry trees of Windows, however the entry names them.
TEST_F(HostileDefinitions, RegistryKeysOutsideOneApplicationAreRefused) {
  const char* keys[] = {
      "HKLM\\SYSTEM\\CurrentControlSet\\Services",
      "HKLM\\SOFTWARE\\Classes\\CLSID",
      "HKCR\\exefile\\shell",
      "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
      "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
      "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders|Personal",
      "HKCU\\Environment|TEMP",
      "HKCU\\Control Panel\\Desktop",
      "HKLM\\Software\\Wow6432Node\\Policies\\Vendor",
      "HKU\\S-1-5-18\\Software\\Classes\\txtfile\\shell\\open",
      "HKCU\\Software\\Vendor",
      "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion",
  };
  for (const char* key :
       {"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{1}", "HKEY_CLASSES_ROOT\\exefile\\shell\\open\\command",
        "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
        "HKEY_CURRENT_USER\\Environment", "HKEY_CURRENT_USER\\Control Panel\\Desktop"})
    SetString(key, "Personal", "x");
  for (const char* key : keys) {
    SCOPED_TRACE(key);
    Define(ToolEntry("RegKey1=" + std::string(key)));
    ExpectOnlyTargetsGo();
    EXPECT_EQ(Status("Tool"), "(no row)");  // refused on its face, logged
  }
}

// Fault 3: exclusions spare what they mean.
TEST_F(HostileDefinitions, ExclusionsSpareWhatTheyName) {
  std::filesystem::create_directory_symlink(env.files.HostPath(Local("\\Tool")),
                                            env.files.HostPath(Local("\\ToolLink")));
  const std::string data = Local("\\Tool\\Data\\");
  const struct {
    std::string exclude;
    std::vector<std::string> spared;  // of a.txt, settings.ini, Überweisung.txt, a.bak, b.log
  } cases[] = {
      {"FILE|%LocalAppData%\\Tool\\Data\\|\xC3\x9C"
       "BERWEISUNG.TXT",
       {"\xC3\x9C"
        "berweisung.txt"}},
      {"FILE|%LocalAppData%\\Tool\\Data\\settings.ini|", {"settings.ini"}},
      {"PATH|%LocalAppData%\\Tool\\Data|*.bak;*.log", {"a.bak", "b.log"}},
      {"PATH|%LocalAppData%\\ToolLink\\Data\\|*.txt",
       {"a.txt",
        "\xC3\x9C"
        "berweisung.txt"}},
      {"FILE|%LocalAppData%\\TOOL\\data. \\|a.txt", {"a.txt"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exclude);
    std::set<std::string> gone;
    for (const char* name : {"a.txt", "settings.ini",
                             "\xC3\x9C"
                             "berweisung.txt",
                             "a.bak", "b.log"})
      if (std::find(c.spared.begin(), c.spared.end(), name) == c.spared.end()) gone.insert(data + name);
    Define(ToolEntry("FileKey1=%LocalAppData%\\Tool\\Data|*\r\nExcludeKey1=" + c.exclude));
    ExpectOnlyTargetsGo(gone);
    EXPECT_EQ(Status("Tool"), "Done");
    for (const char* name : {"a.txt", "settings.ini",
                             "\xC3\x9C"
                             "berweisung.txt",
                             "a.bak", "b.log"})
      WriteFile(data + name, "bystander " + data + name);
  }
  // Registry names fold as file names do.
  SetString(
      "HKEY_CURRENT_USER\\Software\\Tool\\Verlauf\\\xC3\xB6"
      "ffnen",
      "a", "b");
  SetString("HKEY_CURRENT_USER\\Software\\Tool\\Verlauf\\Neu", "a", "b");
  Define(
      ToolEntry("RegKey1=HKCU\\Software\\Tool\\Verlauf\r\nExcludeKey1=REG|HKCU\\Software\\Tool\\Verlauf\\\xC3\x96"
                "FFNEN"));
  DoRun();
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser,
                        "Software\\Tool\\Verlauf\\\xC3\xB6"
                        "ffnen"));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Tool\\Verlauf\\Neu"));
}

// The real entries of the shared database (beside the repository), by name.
std::string RealEntry(std::string_view name) {
  for (const char* shared : {"/../shared", "/../../shared"}) {
    std::ifstream in(CV_SOURCE_DIR + std::string(shared) + "/data/winapp2/Winapp2.ini", std::ios::binary);
    if (!in) continue;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t at = text.find("\n[" + std::string(name) + " *]");
    if (at == std::string::npos) return {};
    return text.substr(at + 1, text.find("\n[", at + 1) - at - 1);
  }
  return {};
}

// Fault 4: a vendor-wide key of a real entry.
TEST_F(HostileDefinitions, VendorWideKeysOfRealEntriesSpareTheVendorsOtherProducts) {
  const std::string stardock = RealEntry("Stardock ObjectDock Plus"), winamp = RealEntry("Winamp");
  if (stardock.empty() || winamp.empty()) GTEST_SKIP() << "no shared Winapp2.ini";
  const std::string roaming = kRoaming, programData = "C:\\ProgramData";
  WriteFile("C:\\Program Files\\Stardock\\ObjectDock Plus\\ObjectDock.exe", "program");
  const std::string own[] = {roaming + "\\Stardock\\ObjectDock Plus\\docks.ini",
                             programData + "\\Stardock\\ObjectDock Plus\\x.log"};
  const std::string others[] = {roaming + "\\Stardock\\Fences\\layout.dat",
                                programData + "\\Stardock\\Start11\\licence.dat"};
  for (const std::string& file : own) WriteFile(file, "own");
  for (const std::string& file : others) WriteFile(file, "other");
  Define(stardock);
  ExpectOnlyTargetsGo();
  EXPECT_NE(Status("Stardock ObjectDock Plus").find("holds other products than Stardock ObjectDock Plus (Fences)"),
            std::string::npos)
      << Status("Stardock ObjectDock Plus");
  // Alone in the vendor's folders, the product's data goes as written.
  for (const std::string& file : others) std::filesystem::remove_all(env.files.HostPath(file).parent_path());
  ExpectOnlyTargetsGo({own[0], own[1]});
  EXPECT_EQ(Status("Stardock ObjectDock Plus"), "Done");

  SetString("HKEY_CURRENT_USER\\Software\\Winamp", "", "x");
  WriteFile(roaming + "\\Streamripper\\streamripper.ini", "another application's settings");
  WriteFile(roaming + "\\Winamp\\Plugins\\a.log", "log");
  Define(winamp);
  ExpectOnlyTargetsGo();
  EXPECT_NE(Status("Winamp").find("Streamripper is the folder of another application than Winamp"), std::string::npos)
      << Status("Winamp");
}

// Fault 5: named files directly in a protected folder are the entry's; sub-folders and programs are not.
TEST_F(HostileDefinitions, NamedFilesInProtectedFoldersGoAndNothingBelowThem) {
  Define(
      "[AdwCleaner *]\r\nFileKey1=%SystemDrive%|AdwCleaner*.txt\r\n[CCleaner "
      "*]\r\nFileKey1=%UserProfile%|CCleaner_log*.txt\r\n"
      "[Logs *]\r\nFileKey1=%LocalAppData%|*.log\r\n");
  ExpectOnlyTargetsGo({"C:\\AdwCleaner[S00].txt", std::string(kUserProfile) + "\\CCleaner_log1.txt", Local("\\x.log")});
  for (const char* item : {"AdwCleaner", "CCleaner", "Logs"}) EXPECT_EQ(Status(item), "Done") << item;

  for (const std::string key : {"%SystemDrive%|*.exe", "%WinDir%|*.dll", "%WinDir%|shell32.*",
                                "C:\\Program Files\\Clearvane|vanesd.dat", "%SystemDrive%|AdwCleaner*.txt|RECURSE"}) {
    SCOPED_TRACE(key);
    Define(ToolEntry("FileKey1=" + key));
    ExpectOnlyTargetsGo();
    EXPECT_EQ(Status("Tool").rfind("Refused: ", 0), 0u) << Status("Tool");
  }
}

// Fault 6: variables and wildcards that multiply are bounded.
TEST_F(HostileDefinitions, ExpansionsAreBoundedAndAnEntryOverTheBoundIsRefused) {
  std::string thirty = "DetectFile=";
  for (int i = 0; i < 30; ++i) thirty += "%ProgramFiles%";
  std::string six = "FileKey1=%LocalAppData%\\Tool\\";
  for (int i = 0; i < 6; ++i) six += "%ProgramFiles%";
  Define("[Thirty *]\r\n" + thirty + "\r\nFileKey1=%LocalAppData%\\Tool\\Cache|*.tmp\r\n" + ToolEntry(six + "|*.tmp"));
  std::string log;
  ASSERT_EQ(env.files.ReadFile(ProgramFile("\\winapp2.log"), log), kOk);
  EXPECT_NE(log.find("[Thirty]: refused: DetectFile expands to more than 256 spellings"), std::string::npos) << log;
  EXPECT_NE(log.find("[Tool]: refused: FileKey expands to more than 256 spellings"), std::string::npos) << log;

  // A wildcard naming more folders than the limit refuses the entry, not a part of it.
  for (std::size_t i = 0; i <= kWinapp2MaxFolders; ++i)
    std::filesystem::create_directory(env.files.HostPath(Local("\\Tool\\Cache")) / std::to_string(i));
  Define(ToolEntry("FileKey1=%LocalAppData%\\Tool\\Cache\\*|*.tmp"));
  ExpectOnlyTargetsGo();
  EXPECT_NE(Status("Tool").find("names more than 10000 folders"), std::string::npos) << Status("Tool");
}

}  // namespace
}  // namespace cv::test
