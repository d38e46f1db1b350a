#include "clean/path_guard.h"

#include <gtest/gtest.h>

#include "test_filesystem.h"

namespace cv {
namespace {

TEST(PathGuardNormalize, FoldsCaseSeparatorsDotsAndPrefixes) {
  EXPECT_EQ(PathGuard::Normalize("C:\\a\\.\\b\\..\\c\\"), "c:\\a\\c");
  EXPECT_EQ(PathGuard::Normalize("c:/Users//Tester///"), "c:\\users\\tester");
  EXPECT_EQ(PathGuard::Normalize("\\\\?\\C:\\Windows\\System32"), "c:\\windows\\system32");
  EXPECT_EQ(PathGuard::Normalize("C:\\..\\..\\Windows"), "c:\\windows");  // clamped at the root
  EXPECT_EQ(PathGuard::Normalize("C:\\Windows. \\"), "c:\\windows");      // Windows drops trailing dots/blanks
  EXPECT_EQ(PathGuard::Normalize("C:\\"), "c:\\");
  EXPECT_EQ(PathGuard::Normalize("C:\\a\\.."), "c:\\");
}

TEST(PathGuardNormalize, AChildsKeyFromItsFoldersKeyIsTheKeyOfItsPath) {
  for (const char* folder : {"C:\\", "C:\\Users\\Tester", "d:\\A. b\\c"})
    for (const char* name : {"File.TXT", "trailing. . ", "...", "..", ".", "Caf\xC3\xA9"})
      EXPECT_EQ(PathGuard::NormalizeChild(PathGuard::Normalize(folder), name),
                PathGuard::Normalize(std::string(folder) + "\\" + name))
          << folder << " / " << name;
  EXPECT_EQ(PathGuard::NormalizeChild("", "x"), "");
}

TEST(PathGuardNormalize, NonDrivePathsGiveEmpty) {
  for (const char* path : {"", "C:", "C:foo", "Error\\Cookies", "\\Mozilla\\Firefox", "\\\\server\\share\\x",
                           "\\\\?\\UNC\\server\\share", "\\\\.\\PhysicalDrive0", "1:\\x"})
    EXPECT_EQ(PathGuard::Normalize(path), "") << path;
}

class PathGuardFolders : public ::testing::Test {
 protected:
  PathGuardFolders() {
    guard.Protect("C:\\WINDOWS");
    guard.Protect("C:\\Users\\Tester");
    guard.Protect("C:\\Program Files\\Clearvane");
    guard.Protect("");  // an unset variable protects nothing
  }
  PathGuard guard;
};

TEST_F(PathGuardFolders, RefusesEmptyRelativeRootsProtectedAndTheirAncestors) {
  for (const char* path : {"",
                           "Error",
                           "Error\\Cookies",
                           "Cookies\\",
                           "\\Temp",
                           "C:",
                           "C:\\",
                           "c:/",
                           "D:\\\\",
                           "\\\\?\\C:\\",
                           "C:\\Windows",
                           "c:\\windows\\",
                           "C:\\WINDOWS\\System32\\..",
                           "C:\\Users",
                           "C:\\Users\\Tester",
                           "C:\\USERS\\TESTER\\.",
                           "C:\\Users\\Tester\\Desktop\\..",
                           "C:\\Program Files",
                           "C:\\Program Files\\Clearvane\\",
                           "C:\\x\\..\\Users\\.\\Tester",
                           "C:\\Users\\Tester.",
                           "\\\\server\\share"})
    EXPECT_FALSE(guard.AllowsFolder(path)) << path;
}

TEST_F(PathGuardFolders, AllowsFoldersBelowProtectedOnesAndElsewhere) {
  for (const char* path :
       {"C:\\WINDOWS\\Temp", "C:\\Users\\Tester\\AppData\\Local\\Temp", "C:\\Users\\Tester2",
        "C:\\Users\\Tester\\Cookies\\", "D:\\Cache", "\\\\?\\C:\\Users\\Tester\\Recent", "C:\\Program Files\\Other"})
    EXPECT_TRUE(guard.AllowsFolder(path)) << path;
}

TEST_F(PathGuardFolders, FilesFollowTheSameRules) {
  EXPECT_TRUE(guard.AllowsFile("C:\\Users\\Tester\\ntuser.ini"));
  EXPECT_FALSE(guard.AllowsFile("C:\\"));
  EXPECT_FALSE(guard.AllowsFile("index.dat"));
  EXPECT_FALSE(guard.AllowsFile("C:\\Windows"));
}

TEST(PathGuardSystem, ProtectsTheRunningSystemsFolders) {
  class FakeShell : public Shell {
   public:
    std::optional<std::string> GetEnvironmentVariable(std::string_view name) override {
      if (name == "USERPROFILE") return "C:\\Users\\Ann";
      if (name == "ProgramFiles") return "C:\\Program Files";
      if (name == "ProgramFiles(x86)") return "C:\\Program Files (x86)";
      if (name == "APPDATA") return "C:\\Users\\Ann\\AppData\\Roaming";
      return std::nullopt;
    }
    std::string GetWindowsDirectory() override { return "C:\\Win"; }
    OsVersion GetVersion() override { return {6, 1}; }
    std::string ProgramFolder() override { return "D:\\Tools\\Clearvane"; }
    bool IsElevated() override { return false; }
    ServiceState QueryServiceState(std::string_view) override { return ServiceState::kUnknown; }
    ProcessId StartProgram(std::string_view, ShowMode) override { return 0; }
    bool IsProcessRunning(ProcessId) override { return false; }
    bool OpenDocument(std::string_view) override { return false; }
    bool ClearRecentDocuments() override { return false; }
    bool EmptyRecycleBin() override { return false; }
    bool ClearClipboard() override { return false; }
  } shell;
  const auto files = test::MakeFileSystemFixture();
  const PathGuard guard = PathGuard::ForSystem(shell, files->fs());
  for (const char* path :
       {"C:\\Win", "C:\\Win\\System32", "C:\\Users", "C:\\Users\\Ann", "C:\\Program Files", "C:\\Program Files (x86)",
        "D:\\Tools", "D:\\Tools\\Clearvane", "C:\\Users\\Ann\\AppData", "C:\\Users\\Ann\\AppData\\Roaming"})
    EXPECT_FALSE(guard.AllowsFolder(path)) << path;
  for (const char* path : {"C:\\Win\\Temp", "C:\\Users\\Ann\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles",
                           "D:\\Tools\\Other", "C:\\Users\\Ann\\Recent"})
    EXPECT_TRUE(guard.AllowsFolder(path)) << path;
}

TEST(PathGuardRegistry, RefusesRootsAndTheKeysDirectlyUnderThem) {
  const struct {
    RegKey root;
    const char* subKey;
  } refused[] = {{kHkeyCurrentUser, ""},
                 {kHkeyCurrentUser, "\\"},
                 {kHkeyCurrentUser, "Software"},
                 {kHkeyCurrentUser, "Software\\"},
                 {kHkeyCurrentUser, "\\\\Software\\\\"},
                 {kHkeyLocalMachine, "SOFTWARE"},
                 {kHkeyLocalMachine, "SYSTEM"},
                 {kHkeyUsers, "S-1-5-21-1-2-3-1001"},
                 {kHkeyUsers, ".DEFAULT\\Software"},
                 {0, "Software\\Microsoft"},
                 {0x1234, "Software\\Microsoft"}};
  for (const auto& key : refused)
    EXPECT_FALSE(PathGuard::AllowsRegistryKey(key.root, key.subKey)) << key.root << " " << key.subKey;

  EXPECT_TRUE(PathGuard::AllowsRegistryKey(kHkeyCurrentUser, "Software\\Microsoft\\Internet Explorer\\TypedURLs"));
  EXPECT_TRUE(PathGuard::AllowsRegistryKey(kHkeyCurrentUser, "Software\\Yahoo"));
  EXPECT_TRUE(PathGuard::AllowsRegistryKey(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Direct3D\\MostRecentApplication"));
  EXPECT_TRUE(
      PathGuard::AllowsRegistryKey(kHkeyUsers, ".DEFAULT\\Software\\Microsoft\\Internet Explorer\\IntelliForms"));
}

}  // namespace
}  // namespace cv
