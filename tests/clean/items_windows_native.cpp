// The Windows items on the emulated platform: temporary folders, Scandisk
// folders, saved searches, and the side effects that go through the shell.
#include <gtest/gtest.h>

#include <string>

#include "clean/clean_run.h"
#include "clean/run_items.h"
#include "config/inifun.h"
#include "config/regfun.h"
#include "emulated_platform.h"

namespace cv {
namespace {

class NullObserver : public RunObserver {
 public:
  void RowAdded(std::string_view item, std::string_view) override { rows.emplace_back(item); }
  void RowStatusChanged(std::string_view status) override { last = status; }
  void ProgressChanged(int value) override { progress.push_back(value); }
  void StatusLabelChanged(std::string_view) override {}
  std::vector<std::string> rows;
  std::vector<int> progress;
  std::string last;
};

class WindowsItemsTest : public ::testing::Test {
 protected:
  WindowsItemsTest() : ini_(env_.files) {}

  // Selects exactly the given keys of section "WINDOWS" (and nothing else).
  RunResult RunWindows(std::initializer_list<std::string_view> keys) {
    const std::string selection = env_.shell.programFolder + "\\vanesd.dat";
    for (const RunItem& item : RunItems()) {
      bool on = false;
      for (std::string_view key : keys) on |= item.group == ItemGroup::kWindows && item.key == key;
      ini_.WriteIniValue(selection, item.section, item.key, on ? "1" : "0");
    }
    Platform platform = env_.platform();
    regfun registry(platform.registry, platform.messages);
    values_ = ComputeStartupValues(platform, registry);
    Cleaner cleaner(platform, values_);
    return cleaner.CleanNow({}, observer_);
  }

  bool Exists(const std::string& path) { return env_.files.Stat(path).has_value(); }
  void Write(const std::string& path, size_t bytes) {
    ASSERT_EQ(env_.files.WriteFileAtomic(path, std::string(bytes, 'x')), kOk) << path;
  }
  void MakeFolders(std::initializer_list<std::string> folders) {
    for (const std::string& folder : folders) env_.files.CreateFolder(folder);
  }

  test::EmulatedPlatformFixture env_;
  Inifun ini_;
  StartupValues values_;
  NullObserver observer_;
};

TEST_F(WindowsItemsTest, ScandiskDeletesOnlyFilesDirectlyInsideTheFoundFolders) {
  MakeFolders({"C:\\Found.000", "C:\\Found.000\\sub", "C:\\Found.010", "C:\\Found.011"});
  Write("C:\\Found.000\\FILE0000.CHK", 100);
  Write("C:\\Found.000\\sub\\inner.chk", 7);
  Write("C:\\Found.010\\FILE0001.CHK", 20);
  Write("C:\\Found.011\\FILE0002.CHK", 5);  // beyond 010: not one of the 44
  const RunResult result = RunWindows({"scandisk"});
  EXPECT_DOUBLE_EQ(result.bytesReleased, 120);
  EXPECT_FALSE(Exists("C:\\Found.000\\FILE0000.CHK"));
  EXPECT_FALSE(Exists("C:\\Found.010\\FILE0001.CHK"));
  EXPECT_TRUE(Exists("C:\\Found.000\\sub\\inner.chk"));
  EXPECT_TRUE(Exists("C:\\Found.011\\FILE0002.CHK"));
  EXPECT_TRUE(Exists("C:\\Found.000"));
}

TEST_F(WindowsItemsTest, TempCleansTheOldLayoutFolderOnlyWhenTheLocalPathNamesIt) {
  // A Windows 7 profile: "Local AppData" has no "Application Data", so only
  // the Windows temp folder and TEMP are cleaned.
  MakeFolders({"C:\\Users\\Tester\\AppData\\temp", "C:\\WINDOWS\\temp"});
  Write("C:\\Users\\Tester\\AppData\\temp\\stays.tmp", 3);
  Write("C:\\WINDOWS\\temp\\w.tmp", 10);
  Write(std::string(test::EmulatedPlatformFixture::kTemp) + "\\t.tmp", 5);
  RunResult result = RunWindows({"temp"});
  EXPECT_DOUBLE_EQ(result.bytesReleased, 15);
  EXPECT_TRUE(Exists("C:\\Users\\Tester\\AppData\\temp\\stays.tmp"));
  EXPECT_FALSE(Exists("C:\\WINDOWS\\temp\\w.tmp"));
  EXPECT_TRUE(Exists("C:\\WINDOWS\\temp"));

  // The older layout: "...\Local Settings\Application Data" -> "...\Local Settings\temp".
  MakeFolders({"C:\\Profile", "C:\\Profile\\Local Settings", "C:\\Profile\\Local Settings\\Application Data",
               "C:\\Profile\\Local Settings\\temp"});
  Write("C:\\Profile\\Local Settings\\temp\\old.tmp", 8);
  env_.registry.LoadRegText(
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
      "Folders]\r\n\"Local AppData\"=\"C:\\\\Profile\\\\Local Settings\\\\Application Data\"\r\n");
  result = RunWindows({"temp"});
  EXPECT_DOUBLE_EQ(result.bytesReleased, 8);
  EXPECT_FALSE(Exists("C:\\Profile\\Local Settings\\temp\\old.tmp"));
  EXPECT_TRUE(Exists("C:\\Profile\\Local Settings\\Application Data"));
}

TEST_F(WindowsItemsTest, TempRefusesATempVariableNamingTheProfileOrADriveRoot) {
  Write("C:\\Users\\Tester\\ntuser.dat", 50);
  Write("C:\\boot.ini", 4);
  for (const char* hostile : {"C:\\Users\\Tester", "C:\\", "", "relative\\temp"}) {
    env_.shell.SetEnvironmentVariable("TEMP", hostile);
    RunWindows({"temp"});
    EXPECT_TRUE(Exists("C:\\Users\\Tester\\ntuser.dat")) << hostile;
    EXPECT_TRUE(Exists("C:\\boot.ini")) << hostile;
  }
}

TEST_F(WindowsItemsTest, SavedSearchesUseTheDocumentsFolderAndNothingWhenItCannotBeRead) {
  MakeFolders({"C:\\Docs", "C:\\Docs\\Searches", "C:\\Docs\\Searches\\sub"});
  Write("C:\\Docs\\Searches\\a.search-ms", 9);
  Write("C:\\Docs\\Searches\\sub\\b.search-ms", 1);
  Write("C:\\Docs\\letter.doc", 6);
  // No "Personal" value: the read gives "Error", a relative path that is refused.
  RunResult result = RunWindows({"searchfolders"});
  EXPECT_DOUBLE_EQ(result.bytesReleased, 0);
  EXPECT_TRUE(Exists("C:\\Docs\\Searches\\a.search-ms"));

  env_.registry.LoadRegText(
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
      "Folders]\r\n\"Personal\"=\"  C:\\\\Docs  \"\r\n");
  result = RunWindows({"searchfolders"});
  EXPECT_DOUBLE_EQ(result.bytesReleased, 10);
  EXPECT_FALSE(Exists("C:\\Docs\\Searches\\sub\\b.search-ms"));
  EXPECT_TRUE(Exists("C:\\Docs\\Searches\\sub"));
  EXPECT_TRUE(Exists("C:\\Docs\\letter.doc"));
}

TEST_F(WindowsItemsTest, ThumbnailsWaitForTheBatchFileWhilePumping) {
  env_.shell.processRunsForPolls = 3;
  struct CountingObserver : NullObserver {
    void Pump() override { ++pumps; }
    int pumps = 0;
  } counting;
  const std::string selection = env_.shell.programFolder + "\\vanesd.dat";
  ini_.WriteIniValue(selection, "WINDOWS", "thumbs", "1");
  Platform platform = env_.platform();
  regfun registry(platform.registry, platform.messages);
  values_ = ComputeStartupValues(platform, registry);
  Cleaner cleaner(platform, values_);
  cleaner.CleanNow({}, counting);
  ASSERT_EQ(env_.shell.started.size(), 1u);
  EXPECT_GE(counting.pumps, 3);
  // A batch file that cannot start ends the wait at once.
  env_.shell.failingPrograms = {"\"C:\\WINDOWS\\system32\\cmd.exe\""};
  env_.shell.started.clear();
  cleaner.CleanNow({}, counting);
  EXPECT_TRUE(env_.shell.started.empty());
}

TEST_F(WindowsItemsTest, PasswordsAndSwapOnlyShowTheirRows) {
  const RunResult result = RunWindows({"passwords", "swap"});
  EXPECT_EQ(observer_.rows, (std::vector<std::string>{"Windows Passwords(Only 9X/Me)", "windows swap/paging file",
                                                      "Task complete Successfully!"}));
  EXPECT_DOUBLE_EQ(result.registryKeysCleaned, 0);
  EXPECT_DOUBLE_EQ(result.bytesReleased, 0);
}

}  // namespace
}  // namespace cv
