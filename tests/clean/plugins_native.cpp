#include <gtest/gtest.h>

#include "platform/fso.h"
#include "clean/plugins.h"
#include "config/inifun.h"
#include "items_run_fixture.h"

namespace cv::test {
namespace {

std::string Definition(std::string_view name, std::string_view on, std::string_view actions = "") {
  return "[name]\r\nappname=" + std::string(name) + "\r\n[version]\r\nappver=1.0\r\n[dec]\r\ndecs=Test plug-in\r\n" +
         "[swich]\r\non=" + std::string(on) + "\r\n" + std::string(actions);
}

class PluginsTest : public ::testing::Test, public ItemRunFixture {
 protected:
  std::string PluginPath(std::string_view fileName) { return ProgramFile("\\plus-in\\") + std::string(fileName); }
  void WritePlugin(std::string_view fileName, std::string_view text) { WriteFile(PluginPath(fileName), text); }
  std::string AppData(std::string_view relative) {
    return std::string(EmulatedPlatformFixture::kAppData) + std::string(relative);
  }
  std::string LocalAppData(std::string_view relative) {
    return std::string(EmulatedPlatformFixture::kLocalAppData) + std::string(relative);
  }
};

TEST_F(PluginsTest, RowsComeFromVpeFilesWithTheirTicks) {
  WritePlugin("Alpha.vpe", Definition("Alpha", "1"));
  WritePlugin("Beta.VPE", Definition("Beta", "0"));
  WritePlugin("Gamma.vpe", Definition("Gamma", "01"));
  WritePlugin("Delta.vpe.bak", Definition("Delta", "1"));
  WritePlugin("Epsilon.vpe", "[name]\r\nappname=Epsilon\r\n");

  FileSystemObject fso(env.files);
  Inifun ini(env.files);
  std::vector<PluginRow> rows = LoadPluginRows(fso, ini, ProgramFile("\\plus-in"));
  std::sort(rows.begin(), rows.end(), [](const PluginRow& a, const PluginRow& b) { return a.name < b.name; });
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].name, "Alpha");
  EXPECT_EQ(rows[0].version, "1.0");
  EXPECT_EQ(rows[0].description, "Alpha 1.0 Test plug-in");
  EXPECT_TRUE(rows[0].ticked);
  EXPECT_EQ(rows[1].name, "Beta");
  EXPECT_FALSE(rows[1].ticked);
  EXPECT_EQ(rows[2].name, "Epsilon");
  EXPECT_EQ(rows[2].description, "Epsilon  ");
  EXPECT_FALSE(rows[2].ticked);
  EXPECT_EQ(rows[3].name, "Gamma");
  EXPECT_TRUE(rows[3].ticked) << "the tick is the number 1, as for every switch";

  EXPECT_TRUE(LoadPluginRows(fso, ini, ProgramFile("\\no such folder")).empty());
}

TEST_F(PluginsTest, SavedTicksGoIntoTheRowsOwnFilesOnly) {
  WritePlugin("Alpha.vpe", Definition("Alpha", "1"));
  WritePlugin("Stray.vpe", Definition("Other", "1"));
  FileSystemObject fso(env.files);
  Inifun ini(env.files);
  std::vector<PluginRow> rows = LoadPluginRows(fso, ini, ProgramFile("\\plus-in"));
  for (PluginRow& row : rows) row.ticked = false;
  SavePluginTicks(fso, ini, ProgramFile("\\plus-in"), rows);
  EXPECT_EQ(ini.ReadIniValue(PluginPath("Alpha.vpe"), "swich", "on"), "0");
  EXPECT_EQ(ini.ReadIniValue(PluginPath("Stray.vpe"), "swich", "on"), "1");
  EXPECT_FALSE(Exists(PluginPath("Other.vpe"))) << "no stray file for a name that is not its file's";
}

TEST_F(PluginsTest, TwoTickedPluginsWithoutActionsAddTheFixedAmounts) {
  WritePlugin("Alpha.vpe", Definition("Alpha", "1"));
  WritePlugin("Beta.vpe", Definition("Beta", "1"));
  WritePlugin("Off.vpe", Definition("Off", "0"));
  const RunResult result = DoRun();
  EXPECT_EQ(result.registryKeysCleaned, 2);
  EXPECT_EQ(result.bytesReleased, 100000);
  auto rows = recorder.ItemRows();
  ASSERT_EQ(rows.size(), 2u);
  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.item < b.item; });
  EXPECT_EQ(rows[0].item, "Alpha");
  EXPECT_EQ(rows[0].status, "Done");
  EXPECT_EQ(rows[1].item, "Beta");
  EXPECT_EQ(rows[1].status, "Done");
}

TEST_F(PluginsTest, NameThatDiffersFromTheFileNameIsCountedButErasesNothing) {
  CreateKey(kHkeyCurrentUser, "Software\\Vendor\\App");
  WritePlugin("Real.vpe", Definition("Other", "1", "[regtree]\r\n1=-2147483647,Software\\Vendor\\App\r\n"));
  WritePlugin("Escape.vpe", Definition("..\\Escape", "1", "[regtree]\r\n1=-2147483647,Software\\Vendor\\App\r\n"));
  WriteFile(ProgramFile("\\Escape.vpe"), "[regtree]\r\n1=-2147483647,Software\\Vendor\\App\r\n");
  const RunResult result = DoRun();
  EXPECT_EQ(result.registryKeysCleaned, 2);
  EXPECT_EQ(result.bytesReleased, 100000);
  EXPECT_EQ(recorder.ItemRows().size(), 2u);
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Vendor\\App"));
}

TEST_F(PluginsTest, RootsWrittenInDecimalOrHexDeleteUnderTheCurrentUser) {
  for (const char* key : {"Software\\Vendor\\A", "Software\\Vendor\\B", "Software\\Vendor\\C", "Software\\Vendor\\D"})
    CreateKey(kHkeyCurrentUser, key);
  WritePlugin("Roots.vpe", Definition("Roots", "1",
                                      "[regtree]\r\n"
                                      "a=-2147483647,Software\\Vendor\\A\r\n"
                                      "b=&H80000001,Software\\Vendor\\B\r\n"
                                      "c=2147483649,Software\\Vendor\\C\r\n"
                                      "d=-2147483647.2,Software\\Vendor\\D,ignored extra field\r\n"));
  const RunResult result = DoRun();
  EXPECT_EQ(result.registryKeysCleaned, 1 + 5 * 3) << "the entry that does not fit is not counted";
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Vendor\\A"));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Vendor\\B"));
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Vendor\\C"));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Vendor\\D"));
}

TEST_F(PluginsTest, EveryActionSectionErasesItsTargets) {
  SetString("HKEY_CURRENT_USER\\Software\\Vendor\\App", "LastFile", "c:\\x");
  SetString("HKEY_CURRENT_USER\\Software\\Vendor\\App", "Kept", "y");
  WriteFile(AppData("\\App\\history.dat"), "1234");
  WriteFile(AppData("\\App\\History.dat.bak"), "1");
  WriteFile(LocalAppData("\\App\\logs\\a.LOG"), "12");
  WriteFile(LocalAppData("\\App\\logs\\b.txt"), "1");
  WriteFile(LocalAppData("\\App\\logs\\old\\c.log"), "1");
  WriteFile(LocalAppData("\\App\\Cache\\x\\y.bin"), "123456");
  WritePlugin("App.vpe", Definition("App", "1",
                                    "[reg]\r\nv=-2147483647,Software\\Vendor\\App,LastFile\r\n"
                                    "[file]\r\nf=appdata,\\App,history.dat\r\n"
                                    "[fileext]\r\ne=localappdata,\\App\\logs,log\r\n"
                                    "[folder]\r\nd=localappdata,\\App\\Cache\r\n"));
  const RunResult preview = DoRun(EraseMode::Preview);
  EXPECT_EQ(preview.bytesReleased, 50000 + 4 + 2 + 6);
  EXPECT_TRUE(Exists(AppData("\\App\\history.dat")));

  const RunResult result = DoRun();
  EXPECT_EQ(result.registryKeysCleaned, 1 + 1);
  EXPECT_EQ(result.bytesReleased, 50000 + 4 + 2 + 6);
  EXPECT_FALSE(ValueExists(kHkeyCurrentUser, "Software\\Vendor\\App", "LastFile"));
  EXPECT_TRUE(ValueExists(kHkeyCurrentUser, "Software\\Vendor\\App", "Kept"));
  EXPECT_FALSE(Exists(AppData("\\App\\history.dat")));
  EXPECT_TRUE(Exists(AppData("\\App\\History.dat.bak")));
  EXPECT_FALSE(Exists(LocalAppData("\\App\\logs\\a.LOG")));
  EXPECT_TRUE(Exists(LocalAppData("\\App\\logs\\b.txt")));
  EXPECT_TRUE(Exists(LocalAppData("\\App\\logs\\old\\c.log"))) << "only directly in the folder";
  EXPECT_FALSE(Exists(LocalAppData("\\App\\Cache\\x")));
  EXPECT_TRUE(Exists(LocalAppData("\\App\\Cache"))) << "the emptied folder is created again";
}

TEST_F(PluginsTest, BaseNamesAreCaseSensitiveSoAppDataIsALiteralPath) {
  WriteFile(AppData("\\App\\history.dat"), "1234");
  WriteFile("C:\\AppData\\App\\history.dat", "1234");  // where the relative path would lead
  WritePlugin("App.vpe", Definition("App", "1",
                                    "[file]\r\nf=AppData,\\App,history.dat\r\n"
                                    "g=APPDATA,\\App,history.dat\r\n"));
  const RunResult result = DoRun();
  EXPECT_EQ(result.bytesReleased, 50000);
  EXPECT_TRUE(Exists(AppData("\\App\\history.dat")));
  EXPECT_TRUE(Exists("C:\\AppData\\App\\history.dat"));
}

TEST_F(PluginsTest, EntriesWithTooFewFieldsAreSkipped) {
  CreateKey(kHkeyCurrentUser, "Software\\Vendor\\App");
  SetString("HKEY_CURRENT_USER\\Software\\Vendor\\App", "v", "1");
  WriteFile(AppData("\\App\\history.dat"), "1234");
  WriteFile(LocalAppData("\\App\\Cache\\a.bin"), "12");
  WritePlugin("App.vpe", Definition("App", "1",
                                    "[regtree]\r\nt=-2147483647\r\nnoequals\r\n"
                                    "[reg]\r\nv=-2147483647,Software\\Vendor\\App\r\n"
                                    "[file]\r\nf=appdata,\\App\r\n"
                                    "[fileext]\r\ne=appdata\r\n"
                                    "[folder]\r\nd=localappdata\r\n"));
  const RunResult result = DoRun();
  EXPECT_EQ(result.registryKeysCleaned, 1);
  EXPECT_EQ(result.bytesReleased, 50000);
  EXPECT_TRUE(ValueExists(kHkeyCurrentUser, "Software\\Vendor\\App", "v"));
  EXPECT_TRUE(Exists(AppData("\\App\\history.dat")));
  EXPECT_TRUE(Exists(LocalAppData("\\App\\Cache\\a.bin")));
}

TEST_F(PluginsTest, UnsafeEntriesAreRefusedCountedAndShownInPreview) {
  CreateKey(kHkeyCurrentUser, "Software\\Vendor\\App");
  WriteFile(AppData("\\Other\\settings.ini"), "123");
  WriteFile(LocalAppData("\\Other\\data.db"), "1234");
  WriteFile("C:\\WINDOWS\\system.ini", "12");
  WritePlugin("Bad.vpe", Definition("Bad", "1",
                                    "[regtree]\r\n"
                                    "top=-2147483647,Software\r\n"
                                    "root=-2147483647,\r\n"
                                    "nohandle=HKCU,Software\\Vendor\\App\r\n"
                                    "[folder]\r\n"
                                    "a=appdata,\r\n"
                                    "b=localappdata,\\..\r\n"
                                    "c=C:\\WINDOWS,\r\n"
                                    "d=C:\\Users,\\Tester\\AppData\r\n"));
  for (EraseMode mode : {EraseMode::Preview, EraseMode::Clean}) {
    const RunResult result = DoRun(mode);
    EXPECT_EQ(result.registryKeysCleaned, 1 + 5 * 3);
    EXPECT_EQ(result.bytesReleased, 50000);
    EXPECT_TRUE(recorder.HasRefused("Roaming"));
    EXPECT_TRUE(recorder.HasRefused("WINDOWS"));
    EXPECT_TRUE(recorder.HasRefused("Software"));
    EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Vendor\\App"));
    EXPECT_TRUE(Exists(AppData("\\Other\\settings.ini")));
    EXPECT_TRUE(Exists(LocalAppData("\\Other\\data.db")));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\system.ini"));
  }
}

// A "folder" entry whose folder is a link removes the link, never empties
// what it leads to, and preview lists just what clean does.
TEST_F(PluginsTest, AFolderEntryThatIsALinkRemovesOnlyTheLink) {
  WriteFile(AppData("\\Vendor\\Real\\cache.bin"), "12345");
  ASSERT_TRUE(env.fileFixture->MakeFolderLink(AppData("\\Vendor\\Cache"), AppData("\\Vendor\\Real")));
  WritePlugin("Linked.vpe", Definition("Linked", "1", "[folder]\r\na=appdata,\\Vendor\\Cache\r\n"));
  for (EraseMode mode : {EraseMode::Preview, EraseMode::Clean}) {
    EXPECT_EQ(DoRun(mode).bytesReleased, 50000);  // the row's fixed amount, nothing of the target
    ASSERT_EQ(recorder.entries.size(), 1u);
    EXPECT_EQ(recorder.entries[0].path, AppData("\\Vendor\\Cache"));
    EXPECT_EQ(recorder.entries[0].bytes, 0);
  }
  EXPECT_TRUE(Exists(AppData("\\Vendor\\Real\\cache.bin")));
  EXPECT_FALSE(Exists(AppData("\\Vendor\\Cache")));
}

TEST_F(PluginsTest, HugeAndCrowdedDefinitionsRunWithoutHarm) {
  std::string crowded = "[regtree]\r\n";
  for (int i = 0; i < 10000; ++i)
    crowded += "k" + std::to_string(i) + "=-2147483647,Software\\Vendor\\Key" + std::to_string(i) + "\r\n";
  CreateKey(kHkeyCurrentUser, "Software\\Vendor\\Key0");
  CreateKey(kHkeyCurrentUser, "Software\\Vendor\\Key9999");
  WritePlugin("Crowded.vpe", Definition("Crowded", "1", crowded));

  std::string huge = "[file]\r\nf=appdata,\\" + std::string(1 << 20, 'x') + ",a.txt\r\n[folder]\r\n";
  huge += "d=localappdata,\\" + std::string(4000, 'y') + "\r\n";
  WritePlugin("Huge.vpe", Definition("Huge", "1", huge));

  const RunResult result = DoRun();
  ASSERT_EQ(recorder.ItemRows().size(), 2u);
  for (const auto& row : recorder.ItemRows()) EXPECT_EQ(row.status, "Done") << row.item;
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Vendor\\Key0"));
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Vendor\\Key9999"))
      << "entries beyond the section buffer are not seen";
  EXPECT_GT(result.registryKeysCleaned, 2 + 5 * 100);
  EXPECT_LT(result.registryKeysCleaned, 2 + 5 * 10000);
  EXPECT_GE(result.bytesReleased, 100000);
}

}  // namespace
}  // namespace cv::test
