// End to end under Wine: community definitions (winapp2.ini beside
// clearvane-cli.exe) for five applications, one a Chromium browser with two
// profiles, previewed and cleaned on a sandbox profile and the real registry.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>

#include "app/command_line.h"
#include "clean/run_items.h"
#include "e2e_support_win.h"
#include "platform/win32/text_win.h"
#include "test_filesystem.h"
#include "tree_compare.h"

namespace cv {
namespace {

constexpr char kKey[] = "Software\\ClearvaneWinapp2E2E";

// Below the sandbox root.
const std::set<std::string> kGoneFiles{
    "Profile\\AppData\\Local\\Chromium\\User Data\\Default\\Cache\\data_0",
    "Profile\\AppData\\Local\\Chromium\\User Data\\Default\\Cache\\index\\f_000001",
    "Profile\\AppData\\Local\\Chromium\\User Data\\Profile 1\\Cache\\data_1",
    "Profile\\AppData\\Local\\Chromium\\User Data\\Profile 1\\Code Cache\\js\\a",
    "Profile\\AppData\\Roaming\\Editor\\Logs\\today.log",
    "Profile\\AppData\\Local\\Player\\Thumbs\\a.jpg",
    "Profile\\AppData\\Local\\Player\\Thumbs\\2024\\b.png",
    "Profile\\AppData\\Roaming\\Viewer\\Temp\\t1.tmp",
    "Profile\\AppData\\Local\\Chat\\alice\\logs\\1.txt",
    "Profile\\AppData\\Local\\Chat\\bob\\logs\\2.txt",
};
// Emptied by a REMOVESELF key.
const std::set<std::string> kGoneFolders{
    "Profile\\AppData\\Local\\Chromium\\User Data\\Profile 1\\Code Cache\\js",
    "Profile\\AppData\\Local\\Chromium\\User Data\\Profile 1\\Code Cache",
    "Profile\\AppData\\Roaming\\Viewer\\Temp",
};

class Winapp2EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    disk_ = test::MakeFileSystemFixture();
    program_ = disk_->Path("Clearvane");
    const std::string profile = disk_->Path("Profile");
    local_ = profile + "\\AppData\\Local";
    roaming_ = profile + "\\AppData\\Roaming";
    // The program and the runs it starts see the sandbox as the user's profile.
    environment_.push_back(std::make_unique<e2e::ScopedEnvironmentVariable>("USERPROFILE", profile));
    environment_.push_back(std::make_unique<e2e::ScopedEnvironmentVariable>("LOCALAPPDATA", local_));
    environment_.push_back(std::make_unique<e2e::ScopedEnvironmentVariable>("APPDATA", roaming_));

    std::string selection, section;
    for (const RunItem& item : RunItems()) {
      if (item.section != section) selection += "[" + (section = std::string(item.section)) + "]\r\n";
      selection += std::string(item.key) + "=0\r\n";
    }
    selection += "[winapp2]\r\n";
    for (const char* name : {"Chromium Caches", "Editor", "Player", "Viewer", "Chat", "Missing", "Hostile"})
      selection += std::string(name) + "=1\r\n";
    selection += "Unticked=0\r\n";
    ASSERT_NO_FATAL_FAILURE(e2e::InstallProgram(*disk_, program_, selection));

    const std::string k = std::string("HKCU\\") + kKey;
    ASSERT_TRUE(disk_->WriteFile(
        program_ + "\\winapp2.ini",
        "; hand-written definitions in the community format\r\n"
        "[Chromium Caches *]\r\nSection=Chromium\r\nDetectFile=%LocalAppData%\\Chromium\\User Data\r\n"
        "FileKey1=%LocalAppData%\\Chromium\\User Data\\*\\Cache|*|RECURSE\r\n"
        "FileKey2=%LocalAppData%\\Chromium\\User Data\\*\\Code Cache|*|REMOVESELF\r\n"
        "ExcludeKey1=PATH|%LocalAppData%\\Chromium\\User Data\\*\\Cache\\Keep\\|*\r\n\r\n"
        "[Editor *]\r\nLangSecRef=3021\r\nDetectFile=%AppData%\\Editor\r\n"
        "FileKey1=%AppData%\\Editor\\Logs|*.log\r\nExcludeKey1=FILE|%AppData%\\Editor\\Logs\\|keep.log\r\n"
        "RegKey1=" +
            k + "\\Editor\\MRU\r\nRegKey2=" + k +
            "\\Editor|LastFile\r\n\r\n"
            "[Player *]\r\nLangSecRef=3023\r\nDetect=" +
            k +
            "\\Player\r\n"
            "FileKey1=%LocalAppData%\\Player\\Thumbs|*.jpg;*.png|RECURSE\r\nRegKey1=" +
            k +
            "\\Player\\History\r\n\r\n"
            "[Viewer "
            "*]\r\nLangSecRef=3023\r\nDetectFile=%AppData%\\Viewer*\r\nFileKey1=%AppData%\\Viewer\\Temp|*|"
            "REMOVESELF\r\n\r\n"
            "[Chat "
            "*]\r\nLangSecRef=3022\r\nDetectFile=%LocalAppData%\\Chat\r\nFileKey1=%LocalAppData%\\Chat\\*\\logs|*."
            "txt\r\n\r\n"
            "[Missing "
            "*]\r\nLangSecRef=3021\r\nDetectFile=%LocalAppData%\\Missing\r\nFileKey1=%LocalAppData%\\Chat\\*|*|"
            "RECURSE\r\n\r\n"
            "[Unticked "
            "*]\r\nLangSecRef=3021\r\nDetectFile=%LocalAppData%\\Chat\r\nFileKey1=%LocalAppData%\\Chat\\alice|*\r\n\r\n"
            "[Hostile "
            "*]\r\nLangSecRef=3021\r\nFileKey1=%LocalAppData%\\Chat\\alice|*\r\nFileKey2=%WinDir%|*.log|RECURSE\r\n\r\n"
            "[Nope *]\r\nLangSecRef=3021\r\nFileKey1=%Nope%|*\r\n"));

    for (const char* file :
         {"Chromium\\User Data\\Local State", "Chromium\\User Data\\Default\\Cache\\data_0",
          "Chromium\\User Data\\Default\\Cache\\index\\f_000001", "Chromium\\User Data\\Default\\Cache\\Keep\\pin",
          "Chromium\\User Data\\Default\\History", "Chromium\\User Data\\Profile 1\\Cache\\data_1",
          "Chromium\\User Data\\Profile 1\\Code Cache\\js\\a", "Chromium\\User Data\\Profile 1\\Bookmarks",
          "Player\\Thumbs\\a.jpg", "Player\\Thumbs\\2024\\b.png", "Player\\Thumbs\\notes.txt",
          "Chat\\alice\\logs\\1.txt", "Chat\\alice\\settings.ini", "Chat\\bob\\logs\\2.txt", "Chat\\bob\\logs\\2.dat"})
      Write(local_ + "\\" + file);
    for (const char* file : {"Editor\\Logs\\today.log", "Editor\\Logs\\keep.log", "Editor\\Logs\\read.me",
                             "Editor\\settings.ini", "Viewer\\Temp\\t1.tmp", "Viewer\\viewer.ini"})
      Write(roaming_ + "\\" + file);

    ASSERT_NO_FATAL_FAILURE(e2e::ImportRegistry(*disk_, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + std::string(kKey) +
                                                            "\\Editor]\r\n\"LastFile\"=\"x\"\r\n"
                                                            "\"Keep\"=\"y\"\r\n\r\n[HKEY_CURRENT_USER\\" +
                                                            std::string(kKey) +
                                                            "\\Editor\\MRU]\r\n\"a\"=\"b\"\r\n\r\n"
                                                            "[HKEY_CURRENT_USER\\" +
                                                            std::string(kKey) +
                                                            "\\Player\\History\\1]\r\n\"a\"=\"b\"\r\n"));
  }

  void TearDown() override { e2e::RunCapturing("reg.exe delete HKCU\\" + std::string(kKey) + " /f"); }

  void Write(const std::string& path) {
    for (std::size_t cut = path.find('\\', disk_->Root().size() + 1); cut != std::string::npos;
         cut = path.find('\\', cut + 1))
      if (!e2e::Exists(path.substr(0, cut))) disk_->MakeFolder(path.substr(0, cut));
    ASSERT_TRUE(disk_->WriteFile(path, "data of " + path)) << path;
  }

  e2e::Captured Cli(const std::string& arguments) {
    return e2e::RunCapturing("\"" + program_ + "\\clearvane-cli.exe\" " + arguments);
  }

  // "kind relative-path" of the entries the report gives for community items.
  std::set<std::string> Listed(const std::string& json) {
    std::set<std::string> listed;
    const std::regex entry(
        "\\{\"item\": \"[^\"]*\", \"kind\": \"([a-z]+)\", \"path\": \"((?:[^\"\\\\]|\\\\.)*)\", "
        "\"bytes\": [0-9.]+(, \"refused\": true)?, \"source\": \"winapp2\"\\}");
    const std::string root = JsonString(disk_->Root() + "\\");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), entry); it != std::sregex_iterator(); ++it) {
      std::string path = (*it)[2];
      const std::string prefix = root.substr(1, root.size() - 2);
      if (path.compare(0, prefix.size(), prefix) == 0) path = path.substr(prefix.size());
      std::string unescaped;
      for (std::size_t i = 0; i < path.size(); ++i) unescaped += path[i] == '\\' ? path[++i] : path[i];
      listed.insert(((*it)[3].matched ? "refused " : "") + std::string((*it)[1]) + " " + unescaped);
    }
    return listed;
  }

  std::set<std::string> Expected() const {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::string key = "HKEY_CURRENT_USER\\" + std::string(kKey);
    std::set<std::string> expected{"refused folder " + win32::Narrow(windows), "regtree " + key + "\\Editor\\MRU",
                                   "regvalue " + key + "\\Editor\\LastFile", "regtree " + key + "\\Player\\History"};
    for (const std::string& file : kGoneFiles) expected.insert("file " + file);
    for (const std::string& folder : kGoneFolders) expected.insert("folder " + folder);
    return expected;
  }

  std::unique_ptr<test::FileSystemFixture> disk_;
  std::vector<std::unique_ptr<e2e::ScopedEnvironmentVariable>> environment_;
  std::string program_, local_, roaming_;
};

TEST_F(Winapp2EndToEnd, PreviewListsExactlyTheApplicationsTracesAndErasesNothing) {
  // The first load writes the log of what the reader rejected beside the program.
  const e2e::Captured list = Cli("--list");
  EXPECT_NE(list.out.find("winapp2\twinapp2\tChromium Caches\tChromium Caches"), std::string::npos) << list.out;
  EXPECT_EQ(list.out.find("Missing"), std::string::npos);
  std::string log;
  ASSERT_EQ(disk_->fs().ReadFile(program_ + "\\winapp2.log", log), kOk);
  EXPECT_NE(log.find("[Nope]: refused: FileKey uses the unknown variable %Nope%"), std::string::npos) << log;

  const auto before = e2e::SnapshotTree(disk_->Root());
  const e2e::Captured preview = Cli("--preview --json");
  ASSERT_EQ(preview.exitCode, 0u) << preview.out;
  for (const char* row : {"Chromium Caches", "Editor", "Player", "Viewer", "Chat"})
    EXPECT_NE(
        preview.out.find("{\"item\": \"" + std::string(row) + "\", \"status\": \"Done\", \"source\": \"winapp2\"}"),
        std::string::npos)
        << row << "\n"
        << preview.out;
  EXPECT_NE(preview.out.find("{\"item\": \"Hostile\", \"status\": \"Refused: "), std::string::npos);
  for (const char* absent : {"\"Missing\"", "\"Unticked\"", "\"Nope\""})
    EXPECT_EQ(preview.out.find(absent), std::string::npos) << absent;
  EXPECT_EQ(Listed(preview.out), Expected()) << preview.out;
  EXPECT_EQ(e2e::SnapshotTree(disk_->Root()), before);
  EXPECT_TRUE(e2e::KeyExists(std::string(kKey) + "\\Editor\\MRU"));
}

TEST_F(Winapp2EndToEnd, CleanRemovesExactlyWhatThePreviewListed) {
  Cli("--list");  // writes the reader's log first
  const auto before = e2e::SnapshotTree(disk_->Root());
  const std::set<std::string> previewed = Listed(Cli("--preview --json").out);
  const e2e::Captured clean = Cli("--clean --json");
  ASSERT_EQ(clean.exitCode, 0u) << clean.out;
  EXPECT_EQ(Listed(clean.out), previewed);

  std::set<std::string> gone = kGoneFiles;
  gone.insert(kGoneFolders.begin(), kGoneFolders.end());
  test::ExpectOnlyRemoved(before, e2e::SnapshotTree(disk_->Root()), gone, {"Clearvane\\vanesd.dat"}, true);
  EXPECT_FALSE(e2e::KeyExists(std::string(kKey) + "\\Editor\\MRU"));
  EXPECT_FALSE(e2e::ValueExists(std::string(kKey) + "\\Editor", "LastFile"));
  EXPECT_TRUE(e2e::ValueExists(std::string(kKey) + "\\Editor", "Keep"));
  EXPECT_FALSE(e2e::KeyExists(std::string(kKey) + "\\Player\\History"));
  EXPECT_TRUE(e2e::KeyExists(std::string(kKey) + "\\Player"));
}

// The hostile-input faults of definitions on the real exe: keys judged by what
// they reach (user data, other applications, a vendor's other products),
// registry trees of Windows, exclusions as meant, named files in the
// profile's own folder.
TEST_F(Winapp2EndToEnd, DefinitionsAreJudgedByWhatTheyReach) {
  const std::string profile = disk_->Path("Profile");
  ASSERT_TRUE(disk_->WriteFile(
      program_ + "\\winapp2.ini",
      "[Every Local *]\r\nDetectFile=%LocalAppData%\\Chat\r\nFileKey1=%LocalAppData%\\C*|*.*|RECURSE\r\n"
      "[Local Spelled *]\r\nDetectFile=%LocalAppData%\\Chat\r\nFileKey1=%UserProfile%\\AppData\\Local\\*|*|RECURSE\r\n"
      "[Documents *]\r\nDetectFile=%LocalAppData%\\Chat\r\nFileKey1=%UserProfile%\\Documents|*|RECURSE\r\n"
      "[Other Application *]\r\nDetectFile=%LocalAppData%\\Chat\r\nFileKey1=%LocalAppData%\\Player|*|REMOVESELF\r\n"
      "[Vendorsoft Dock *]\r\nDetectFile=%AppData%\\Vendorsoft\\Dock\r\nFileKey1=%AppData%\\Vendorsoft|*|REMOVESELF\r\n"
      "[Shell Folders *]\r\nDetectFile=%LocalAppData%\\Chat\r\n"
      "RegKey1=HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders\r\n"
      "[Exclusions *]\r\nDetectFile=%AppData%\\Editor\r\nFileKey1=%AppData%\\Editor\\Data|*\r\n"
      "ExcludeKey1=FILE|%AppData%\\Editor\\Data\\|\xC3\x9C"
      "BERWEISUNG.TXT\r\n"
      "ExcludeKey2=FILE|%AppData%\\Editor\\Data\\settings.ini|\r\nExcludeKey3=PATH|%AppData%\\Editor\\Data|*.bak;*."
      "log\r\n"
      "[Tool Logs *]\r\nDetectFile=%LocalAppData%\\Chat\r\nFileKey1=%UserProfile%|Tool_log*.txt\r\n"));
  std::string selection = "[winapp2]\r\n";
  for (const char* name : {"Every Local", "Local Spelled", "Documents", "Other Application", "Vendorsoft Dock",
                           "Shell Folders", "Exclusions", "Tool Logs"})
    selection += std::string(name) + "=1\r\n";
  ASSERT_TRUE(disk_->WriteFile(program_ + "\\vanesd.dat", selection));
  for (const std::string& file : {profile + "\\Documents\\thesis.doc", roaming_ + "\\Vendorsoft\\Dock\\docks.ini",
                                  roaming_ + "\\Vendorsoft\\Fences\\layout.dat", roaming_ + "\\Editor\\Data\\a.txt",
                                  roaming_ + "\\Editor\\Data\\settings.ini",
                                  roaming_ + "\\Editor\\Data\\\xC3\x9C"
                                             "berweisung.txt",
                                  roaming_ + "\\Editor\\Data\\b.bak", roaming_ + "\\Editor\\Data\\c.log",
                                  profile + "\\Tool_log1.txt", profile + "\\Sub\\Tool_log2.txt"})
    Write(file);
  ASSERT_TRUE(e2e::KeyExists("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"));

  Cli("--list");  // writes the reader's log first
  std::string log;
  ASSERT_EQ(disk_->fs().ReadFile(program_ + "\\winapp2.log", log), kOk);
  EXPECT_NE(log.find("[Shell Folders]: refused: RegKey reaches where the user's folders are"), std::string::npos)
      << log;
  const auto before = e2e::SnapshotTree(disk_->Root());
  const e2e::Captured clean = Cli("--clean --json");
  ASSERT_EQ(clean.exitCode, 0u) << clean.out;
  const std::regex row("\\{\"item\": \"([^\"]*)\", \"status\": \"([^\"]*)\", \"source\": \"winapp2\"\\}");
  std::map<std::string, std::string> rows;
  for (auto it = std::sregex_iterator(clean.out.begin(), clean.out.end(), row); it != std::sregex_iterator(); ++it)
    rows[(*it)[1]] = (*it)[2];
  for (const char* refused : {"Every Local", "Local Spelled", "Documents", "Other Application", "Vendorsoft Dock"})
    EXPECT_EQ(rows[refused].substr(0, 9), "Refused: ") << refused << ": " << rows[refused];
  EXPECT_NE(rows["Vendorsoft Dock"].find("holds other products than Vendorsoft Dock (Fences)"), std::string::npos)
      << rows["Vendorsoft Dock"];
  EXPECT_EQ(rows["Exclusions"], "Done");
  EXPECT_EQ(rows["Tool Logs"], "Done");
  EXPECT_EQ(rows.count("Shell Folders"), 0u);
  test::ExpectOnlyRemoved(before, e2e::SnapshotTree(disk_->Root()),
                          {"Profile\\AppData\\Roaming\\Editor\\Data\\a.txt", "Profile\\Tool_log1.txt"},
                          {"Clearvane\\vanesd.dat"}, true);
  EXPECT_TRUE(e2e::KeyExists("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"));
}

}  // namespace
}  // namespace cv
