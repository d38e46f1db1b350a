// Community definitions in the run on the emulated platform: preview lists
// exactly what clean removes, exclusions spare, links are not followed,
// refused entries erase nothing, and the command line reports the source.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/command_line.h"
#include "clean/winapp2_items.h"
#include "items_run_fixture.h"

namespace cv {
namespace {

constexpr const char* kTool = "C:\\Users\\Tester\\AppData\\Local\\Tool";

class Winapp2RunTest : public ::testing::Test, public test::ItemRunFixture {
 protected:
  void Definitions(std::string_view text) { WriteFile(ProgramFile("\\winapp2.ini"), text); }
  std::string At(std::string_view relative) const { return std::string(kTool) + "\\" + std::string(relative); }

  // "kind path" of what the run listed (or refused, marked "!").
  std::vector<std::string> Listed() const {
    std::vector<std::string> listed;
    for (const EraseEntry& entry : recorder.entries)
      listed.push_back((entry.refused ? "!" : "") + std::string(EntryKindName(entry.kind)) + " " + entry.path);
    std::sort(listed.begin(), listed.end());
    return listed;
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (const auto& row : recorder.ItemRows()) rows.push_back(row.item + "|" + row.status + "|" + row.source);
    return rows;
  }
};

TEST_F(Winapp2RunTest, PreviewListsExactlyWhatCleanRemoves) {
  Definitions(
      "[Tool *]\r\nLangSecRef=3021\r\nDetectFile=%LocalAppData%\\Tool\r\n"
      "FileKey1=%LocalAppData%\\Tool\\Cache|*|REMOVESELF\r\n"
      "FileKey2=%LocalAppData%\\Tool\\Logs|*.log\r\n"
      "FileKey3=%LocalAppData%\\Tool\\Profiles\\*\\Temp|*.tmp|RECURSE\r\n"
      "FileKey4=%LocalAppData%\\Tool\\Old|*.old|REMOVESELF\r\n"
      "RegKey1=HKCU\\Software\\Tool\\MRU\r\nRegKey2=HKCU\\Software\\Tool|LastPath\r\n"
      "RegKey3=HKCU\\Software\\Tool\\History\r\n"
      "ExcludeKey1=FILE|%LocalAppData%\\Tool\\Logs\\|keep.log\r\n"
      "ExcludeKey2=PATH|%LocalAppData%\\Tool\\Profiles\\Two\\|*\r\n"
      "ExcludeKey3=REG|HKCU\\Software\\Tool\\History\\Pinned\r\n\r\n"
      "[Absent *]\r\nDetectFile=%LocalAppData%\\Absent*\r\nFileKey1=%LocalAppData%\\Tool\\Logs|*\r\n\r\n"
      "[Unticked *]\r\nDetect=HKCU\\Software\\Tool\r\nFileKey1=%LocalAppData%\\Tool\\Logs|*\r\n");
  const std::string important = "C:\\Users\\Tester\\Documents\\Important";
  for (const char* file : {"Cache\\a.bin", "Cache\\sub\\b.bin", "Logs\\a.log", "Logs\\keep.log", "Logs\\notes.txt",
                           "Profiles\\One\\Temp\\x.tmp", "Profiles\\One\\Temp\\deep\\y.tmp",
                           "Profiles\\Two\\Temp\\z.tmp", "Old\\x.old", "Old\\Keep\\k.txt"})
    WriteFile(At(file), "abc");
  MakeFolders(At("Old\\Empty"));
  WriteFile(important + "\\i.tmp", "abc");
  std::filesystem::create_directory_symlink(env.files.HostPath(important),
                                            env.files.HostPath(At("Profiles\\One\\Temp\\link")));
  SetString("HKEY_CURRENT_USER\\Software\\Tool\\MRU", "1", "a");
  SetString("HKEY_CURRENT_USER\\Software\\Tool", "LastPath", "a");
  SetString("HKEY_CURRENT_USER\\Software\\Tool", "Other", "a");
  SetString("HKEY_CURRENT_USER\\Software\\Tool\\History", "h", "a");
  SetString("HKEY_CURRENT_USER\\Software\\Tool\\History\\Pinned", "p", "a");
  SetString("HKEY_CURRENT_USER\\Software\\Tool\\History\\Recent", "r", "a");
  Select("winapp2", "Tool");
  Select("winapp2", "Absent");

  const std::vector<std::string> expected{
      "file " + At("Cache\\a.bin"),
      "file " + At("Cache\\sub\\b.bin"),
      "file " + At("Logs\\a.log"),
      "file " + At("Old\\x.old"),
      "file " + At("Profiles\\One\\Temp\\deep\\y.tmp"),
      "file " + At("Profiles\\One\\Temp\\x.tmp"),
      "folder " + At("Cache"),
      "folder " + At("Cache\\sub"),
      "regtree HKEY_CURRENT_USER\\Software\\Tool\\History\\Recent",
      "regtree HKEY_CURRENT_USER\\Software\\Tool\\MRU",
      "regvalue HKEY_CURRENT_USER\\Software\\Tool\\History\\h",
      "regvalue HKEY_CURRENT_USER\\Software\\Tool\\LastPath",
  };
  const RunResult preview = DoRun(EraseMode::Preview);
  EXPECT_EQ(Listed(), expected);
  EXPECT_EQ(Rows(), std::vector<std::string>{"Tool|Done|winapp2"});
  EXPECT_TRUE(Exists(At("Cache\\a.bin")));

  const RunResult clean = DoRun(EraseMode::Clean);
  EXPECT_EQ(Listed(), expected);
  EXPECT_DOUBLE_EQ(clean.bytesReleased, preview.bytesReleased);
  EXPECT_DOUBLE_EQ(clean.bytesReleased, 18);
  for (const char* gone : {"Cache", "Logs\\a.log", "Old\\x.old", "Profiles\\One\\Temp\\x.tmp"})
    EXPECT_FALSE(Exists(At(gone))) << gone;
  for (const char* kept : {"Logs\\keep.log", "Logs\\notes.txt", "Profiles\\Two\\Temp\\z.tmp", "Old\\Empty",
                           "Old\\Keep\\k.txt", "Profiles\\One\\Temp\\deep"})
    EXPECT_TRUE(Exists(At(kept))) << kept;
  EXPECT_TRUE(Exists(important + "\\i.tmp"));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Tool\\MRU"));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Tool\\History\\Recent"));
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Tool\\History\\Pinned"));
  EXPECT_FALSE(ValueExists(kHkeyCurrentUser, "Software\\Tool", "LastPath"));
  EXPECT_TRUE(ValueExists(kHkeyCurrentUser, "Software\\Tool", "Other"));
}

// Emptied or walked whole, a protected folder refuses the entry; named files
// directly in one are the definitions' to delete (hostile_inputs_native.cpp).
TEST_F(Winapp2RunTest, EntriesEmptyingProtectedFoldersAreRefusedWhole) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"C:\\|*.log|RECURSE", "C:"},
      {"%WinDir%|*", "C:\\WINDOWS"},
      {"%WinDir%|*.dll", "C:\\WINDOWS"},
      {"%SystemDrive%\\*|*.log|RECURSE", "C:\\"},  // the wildcard reaches protected folders
      {"%ProgramFiles%|*.txt|RECURSE", "C:\\Program Files"},
      {"%UserProfile%|*.*", "C:\\Users\\Tester"},
      {"%LocalAppData%|*.txt|RECURSE", "C:\\Users\\Tester\\AppData\\Local"},
  };
  WriteFile(At("Logs\\a.log"), "abc");
  for (const auto& [fileKey, refused] : cases) {
    SCOPED_TRACE(fileKey);
    Definitions("[Bad *]\r\nFileKey1=%LocalAppData%\\Tool\\Logs|*\r\nFileKey2=" + fileKey + "\r\n");
    Select("winapp2", "Bad");
    DoRun(EraseMode::Clean);
    ASSERT_EQ(Rows().size(), 1u);
    EXPECT_EQ(Rows()[0].substr(0, 13), "Bad|Refused: ") << Rows()[0];
    ASSERT_EQ(recorder.entries.size(), 1u);
    EXPECT_TRUE(recorder.entries[0].refused);
    EXPECT_EQ(recorder.entries[0].path.substr(0, refused.size()), refused);
    EXPECT_TRUE(Exists(At("Logs\\a.log")));
  }
}

TEST_F(Winapp2RunTest, BothFilesAreReadRejectionsLoggedAndHugeFilesLeftUnread) {
  Definitions("[Nope *]\r\nFileKey1=%Nope%\\Cache|*\r\n\r\n[Odd *]\r\nFileKey1=%AppData%\\Odd|*\r\nColour=red\r\n");
  WriteFile(ProgramFile("\\custom.ini"),
            "[odd *]\r\nFileKey1=%AppData%\\X|*\r\n[Mine *]\r\nFileKey1=%AppData%\\Y|*\r\n");
  Platform services = platform();
  std::vector<std::string> keys;
  for (const Item& item : Winapp2Items(services)) keys.push_back(item.key);
  EXPECT_EQ(keys, (std::vector<std::string>{"Odd", "Mine"}));
  std::string log;
  ASSERT_EQ(env.files.ReadFile(ProgramFile("\\winapp2.log"), log), kOk);
  for (const char* line : {"winapp2.ini line 1 [Nope]: refused: FileKey uses the unknown variable %Nope%",
                           "winapp2.ini line 6: [Odd] unknown key \"Colour\" ignored",
                           "custom.ini line 1 [odd]: skipped: an entry of the same name came first"})
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;

  // A 50 MB file is not read at all (sparse: no 50 MB are written).
  std::filesystem::resize_file(env.files.HostPath(ProgramFile("\\custom.ini")), 50u << 20);
  keys.clear();
  for (const Item& item : Winapp2Items(services)) keys.push_back(item.key);
  EXPECT_EQ(keys, std::vector<std::string>{"Odd"});
  ASSERT_EQ(env.files.ReadFile(ProgramFile("\\winapp2.log"), log), kOk);
  EXPECT_NE(log.find("custom.ini: larger than 16 MB, not read"), std::string::npos) << log;
}

// Every hostile entry ticked at once: whatever is read or refused, a clean
// erases exactly what its preview listed, and nothing of the canaries.
TEST_F(Winapp2RunTest, HostileFileErasesNothingBeyondItsPreview) {
  std::string hostile =
      "\xEF\xBB\xBF[Root *]\nFileKey1=C:\\|*.*|RECURSE\r\n[Win *]\r\nFileKey1=%WinDir%|*\r\n"
      "[Profile *]\nFileKey1=%UserProfile%|*.*|RECURSE\r\n[Up *]\r\nFileKey1=%LocalAppData%\\Tool\\..\\..|*\r\n"
      "[Nope *]\r\nFileKey1=%Nope%|*\r\n[NoEquals *]\r\nFileKey1=%LocalAppData%\\Tool|*\r\nFileKey2\r\n"
      "[Dup *]\r\nFileKey1=%LocalAppData%\\Tool\\Logs|*.log\r\n[Dup *]\r\nFileKey1=%LocalAppData%|*|RECURSE\r\n"
      "[Long *]\r\nFileKey1=%LocalAppData%\\" +
      std::string(10000, 'x') +
      "|*\r\n[Caf\xE9 *]\r\nRegKey1=HKCU\r\n"
      "[Many *]\r\n";
  for (int i = 1; i <= 2000; ++i)
    hostile += "FileKey" + std::to_string(i) + "=%LocalAppData%\\Tool\\Logs|" + std::to_string(i) + ".log\r\n";
  Definitions(hostile);
  for (const char* name : {"Root", "Win", "Profile", "Up", "Nope", "NoEquals", "Dup", "Long", "Caf\xC3\xA9", "Many"})
    Select("winapp2", name);
  for (const char* file : {"Logs\\a.log", "Logs\\7.log", "Logs\\keep.txt", "settings.ini"}) WriteFile(At(file), "abc");
  WriteFile("C:\\Users\\Tester\\Documents\\letter.doc", "abc");
  WriteFile("C:\\WINDOWS\\system.log", "abc");

  DoRun(EraseMode::Preview);
  const std::vector<std::string> previewed = Listed();
  DoRun(EraseMode::Clean);
  EXPECT_EQ(Listed(), previewed);
  EXPECT_EQ(previewed, (std::vector<std::string>{"!folder C:", "!folder C:\\WINDOWS", "file " + At("Logs\\7.log"),
                                                 "file " + At("Logs\\a.log")}));
  for (const char* kept : {"Logs\\keep.txt", "settings.ini"}) EXPECT_TRUE(Exists(At(kept))) << kept;
  EXPECT_TRUE(Exists("C:\\Users\\Tester\\Documents\\letter.doc"));
  EXPECT_TRUE(Exists("C:\\WINDOWS\\system.log"));
}

TEST_F(Winapp2RunTest, CommandLineListsAndReportsTheSource) {
  Definitions("[Tool *]\r\nSection=Tools\r\nWarning=Logs go.\r\nFileKey1=%LocalAppData%\\Tool\\Logs|*.log\r\n");
  WriteFile(At("Logs\\a.log"), "abc");
  Select("winapp2", "Tool");
  Platform services = platform();
  std::ostringstream list, json, err;
  ASSERT_EQ(RunCommandLine({"--list"}, services, list, err), 0);
  // After item 139 and the other sources' items, before item 140.
  EXPECT_NE(list.str().find("\nwinapp2\twinapp2\tTool\tTool\n140\t"), std::string::npos) << list.str();
  EXPECT_LT(list.str().find("\n139\t"), list.str().find("\nwinapp2\t")) << list.str();
  std::ostringstream listJson;
  ASSERT_EQ(RunCommandLine({"--list", "--json"}, services, listJson, err), 0);
  EXPECT_NE(listJson.str().find("{\"source\": \"winapp2\", \"section\": \"winapp2\", \"key\": \"Tool\", \"name\": "
                                "\"Tool\", \"group\": \"Tools\", \"warning\": \"Logs go.\"}"),
            std::string::npos)
      << listJson.str();
  ASSERT_EQ(RunCommandLine({"--preview", "--json"}, services, json, err), 0);
  EXPECT_NE(json.str().find("{\"item\": \"Tool\", \"status\": \"Done\", \"source\": \"winapp2\"}"), std::string::npos)
      << json.str();
  EXPECT_NE(json.str().find("\"path\": " + JsonString(At("Logs\\a.log")) + ", \"bytes\": 3, \"source\": \"winapp2\"}"),
            std::string::npos)
      << json.str();
}

}  // namespace
}  // namespace cv
