// The items of today's Windows on a profile laid out as Windows 10 and 11 lay
// it out: each item takes its traces and leaves what sits beside them, files
// held open stay and are counted, system folders need administrator rights.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "clean/item_list.h"
#include "clean/items_modern_windows.h"
#include "items_run_fixture.h"
#include "tree_compare.h"

namespace cv::test {
namespace {

constexpr const char* kLocal = "Users/Tester/AppData/Local/";
constexpr const char* kRoaming = "Users/Tester/AppData/Roaming/";
constexpr const char* kExplorer = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

std::string L(std::string_view relative) { return kLocal + std::string(relative); }
std::string R(std::string_view relative) { return kRoaming + std::string(relative); }

class ModernWindowsTest : public ::testing::Test, public ItemRunFixture {
 protected:
  void SetUp() override {
    // Explorer's caches and the files beside them.
    for (const auto& file :
         {L("Microsoft/Windows/Explorer/thumbcache_256.db"), L("Microsoft/Windows/Explorer/thumbcache_idx.db"),
          L("Microsoft/Windows/Explorer/iconcache_32.db"), L("Microsoft/Windows/Explorer/ExplorerStartupLog.etl"),
          L("Microsoft/Windows/Explorer/thumbcache_256.db.bak"),
          // Jump lists, recent items, and what else the Recent folder holds.
          R("Microsoft/Windows/Recent/AutomaticDestinations/5f7b5f1e01b83767.automaticDestinations-ms"),
          R("Microsoft/Windows/Recent/CustomDestinations/28c8b86deab549a1.customDestinations-ms"),
          R("Microsoft/Windows/Recent/Report.docx.lnk"), R("Microsoft/Windows/Recent/Downloads.lnk"),
          R("Microsoft/Windows/Recent/desktop.ini"), R("Microsoft/Windows/Recent/Archive/Old.lnk"),
          R("Microsoft/Windows/Start Menu/Programs/Notepad.lnk"),
          // Error reports and crash dumps.
          L("Microsoft/Windows/WER/ReportArchive/AppCrash_app.exe_1/Report.wer"),
          L("Microsoft/Windows/WER/ReportQueue/AppHang_b/Report.wer"),
          std::string("ProgramData/Microsoft/Windows/WER/ReportQueue/Kernel_1/Report.wer"),
          std::string("ProgramData/Microsoft/Windows/Start Menu/Programs/Tool.lnk"), L("CrashDumps/app.exe.1234.dmp"),
          std::string("WINDOWS/Minidump/120926-01.dmp"), std::string("WINDOWS/MEMORY.DMP"),
          std::string("WINDOWS/System32/config/SYSTEM"),
          // Shader caches and the drivers' settings beside them.
          L("D3DSCache/6c2d/app.idx"), L("NVIDIA/DXCache/a.bin"), L("NVIDIA/GLCache/b/c.bin"), L("NVIDIA/Settings.ini"),
          L("AMD/DxCache/d.bin"), L("AMD/VkCache/e.bin"), L("AMD/GLCache/f.bin"), L("AMD/CN/settings.json"),
          // The system's logs, Delivery Optimization and Prefetch.
          std::string("WINDOWS/Logs/CBS/CBS.log"), std::string("WINDOWS/Logs/DISM/dism.log"),
          std::string("WINDOWS/Panther/setupact.log"), std::string("WINDOWS/Panther/UnattendGC/setupact.log"),
          std::string("WINDOWS/Panther/unattend.xml"), std::string("WINDOWS/WindowsUpdate.log"),
          std::string("WINDOWS/win.ini"),
          std::string("WINDOWS/ServiceProfiles/NetworkService/AppData/Local/Microsoft/Windows/"
                      "DeliveryOptimization/Cache/0a/1b.dat"),
          std::string("WINDOWS/ServiceProfiles/NetworkService/AppData/Local/Microsoft/Windows/"
                      "DeliveryOptimization/State/dosvcState.dat"),
          std::string("WINDOWS/SoftwareDistribution/Download/3f1a9c/Windows10.0-KB5034441-x64.cab"),
          std::string("WINDOWS/SoftwareDistribution/Download/SharedFileCache/a.psf"),
          std::string("WINDOWS/SoftwareDistribution/DataStore/DataStore.edb"),
          std::string("WINDOWS/Prefetch/CHROME.EXE-12AB34CD.pf"), std::string("WINDOWS/Prefetch/Layout.ini"),
          std::string("WINDOWS/Prefetch/ReadyBoot/Trace1.fx"), L("Documents.txt")})
      WriteFile(Windows(file), "0123456789");
  }

  static std::string Windows(std::string_view relative) {
    std::string path = "C:\\" + std::string(relative);
    for (char& c : path)
      if (c == '/') c = '\\';
    return path;
  }
  // Every file of the drive but the selection file, which the run writes.
  TreeSnapshot Snapshot() {
    TreeSnapshot files = FilesBelow(env.files.HostPath("C:\\"));
    files.erase("Program Files/Clearvane/vanesd.dat");
    return files;
  }

  RunResult RunItem(std::string_view key, EraseMode mode = EraseMode::Clean) {
    ResetSelection();
    Select(kModernWindowsSection, key);
    return DoRun(mode);
  }
  std::string RowOf(std::string_view name) {
    for (const auto& row : recorder.ItemRows())
      if (row.item == name) return row.status;
    return "no row";
  }
};

struct ItemCase {
  const char* key;
  const char* row;
  bool elevated;
  std::set<std::string> gone;
  const char* status;
  ServiceState updateService = ServiceState::kStopped;
};

TEST_F(ModernWindowsTest, EachItemTakesItsTracesAndLeavesWhatIsBeside) {
  const ItemCase cases[] = {
      {"ThumbnailCaches",
       "Thumbnail and icon caches",
       false,
       {L("Microsoft/Windows/Explorer/thumbcache_256.db"), L("Microsoft/Windows/Explorer/thumbcache_idx.db"),
        L("Microsoft/Windows/Explorer/iconcache_32.db")},
       "Done"},
      {"JumpLists",
       "Jump lists",
       false,
       {R("Microsoft/Windows/Recent/AutomaticDestinations/5f7b5f1e01b83767.automaticDestinations-ms"),
        R("Microsoft/Windows/Recent/CustomDestinations/28c8b86deab549a1.customDestinations-ms")},
       "Done"},
      {"RecentItems",
       "Recent items",
       false,
       {R("Microsoft/Windows/Recent/Report.docx.lnk"), R("Microsoft/Windows/Recent/Downloads.lnk")},
       "Done"},
      {"ErrorReports",
       "Windows Error Reporting",
       false,
       {L("Microsoft/Windows/WER/ReportArchive/AppCrash_app.exe_1/Report.wer"),
        L("Microsoft/Windows/WER/ReportQueue/AppHang_b/Report.wer")},
       "Done; needs administrator rights: C:\\ProgramData\\Microsoft\\Windows\\WER"},
      {"ErrorReports",
       "Windows Error Reporting",
       true,
       {L("Microsoft/Windows/WER/ReportArchive/AppCrash_app.exe_1/Report.wer"),
        L("Microsoft/Windows/WER/ReportQueue/AppHang_b/Report.wer"),
        "ProgramData/Microsoft/Windows/WER/ReportQueue/Kernel_1/Report.wer"},
       "Done"},
      {"CrashDumps",
       "Crash dumps",
       false,
       {L("CrashDumps/app.exe.1234.dmp")},
       "Done; needs administrator rights: C:\\WINDOWS\\Minidump, C:\\WINDOWS\\MEMORY.DMP"},
      {"CrashDumps",
       "Crash dumps",
       true,
       {L("CrashDumps/app.exe.1234.dmp"), "WINDOWS/Minidump/120926-01.dmp", "WINDOWS/MEMORY.DMP"},
       "Done"},
      {"ShaderCaches",
       "Graphics shader caches",
       false,
       {L("D3DSCache/6c2d/app.idx"), L("NVIDIA/DXCache/a.bin"), L("NVIDIA/GLCache/b/c.bin"), L("AMD/DxCache/d.bin"),
        L("AMD/VkCache/e.bin"), L("AMD/GLCache/f.bin")},
       "Done"},
      {"WindowsLogs", "Windows log files", false, {}, "Skipped: needs administrator rights"},
      {"WindowsLogs",
       "Windows log files",
       true,
       {"WINDOWS/Logs/CBS/CBS.log", "WINDOWS/Panther/setupact.log", "WINDOWS/Panther/UnattendGC/setupact.log",
        "WINDOWS/WindowsUpdate.log"},
       "Done"},
      {"DeliveryOptimization", "Delivery Optimization cache", false, {}, "Skipped: needs administrator rights"},
      {"DeliveryOptimization",
       "Delivery Optimization cache",
       true,
       {"WINDOWS/ServiceProfiles/NetworkService/AppData/Local/Microsoft/Windows/DeliveryOptimization/Cache/0a/1b.dat"},
       "Done"},
      {"WindowsUpdateCache", "Windows Update download cache", false, {}, "Skipped: needs administrator rights"},
      {"WindowsUpdateCache",
       "Windows Update download cache",
       true,
       {"WINDOWS/SoftwareDistribution/Download/3f1a9c/Windows10.0-KB5034441-x64.cab",
        "WINDOWS/SoftwareDistribution/Download/SharedFileCache/a.psf"},
       "Done"},
      {"WindowsUpdateCache",
       "Windows Update download cache",
       true,
       {},
       "Skipped: Windows Update is running",
       ServiceState::kActive},
      {"WindowsUpdateCache",
       "Windows Update download cache",
       true,
       {},
       "Skipped: cannot tell whether Windows Update is stopped",
       ServiceState::kUnknown},
      {"Prefetch", "Prefetch", false, {}, "Skipped: needs administrator rights"},
      {"Prefetch", "Prefetch", true, {"WINDOWS/Prefetch/CHROME.EXE-12AB34CD.pf"}, "Done"},
  };
  for (const ItemCase& c : cases) {
    SCOPED_TRACE(std::string(c.key) + (c.elevated ? " elevated" : " not elevated"));
    SetUp();  // the whole profile again
    env.shell.elevated = c.elevated;
    env.shell.services.clear();
    if (c.updateService != ServiceState::kUnknown) env.shell.services["wuauserv"] = c.updateService;
    ResetSelection();
    Select(kModernWindowsSection, c.key);
    const TreeSnapshot before = Snapshot();
    const RunResult preview = DoRun(EraseMode::Preview);
    EXPECT_EQ(Snapshot(), before) << "a preview erases nothing";
    EXPECT_EQ(preview.bytesReleased, 10.0 * static_cast<double>(c.gone.size()));

    const RunResult result = DoRun();
    ExpectOnlyRemoved(before, Snapshot(), c.gone, {}, true);
    EXPECT_EQ(RowOf(c.row), c.status);
    EXPECT_EQ(result.bytesReleased, 10.0 * static_cast<double>(c.gone.size()));
  }
  // The folders the caches live in stay, and no cache folder is made where none was.
  EXPECT_TRUE(Exists("C:\\Users\\Tester\\AppData\\Roaming\\Microsoft\\Windows\\Recent\\AutomaticDestinations"));
  EXPECT_TRUE(Exists("C:\\Users\\Tester\\AppData\\Local\\NVIDIA\\DXCache"));
}

TEST_F(ModernWindowsTest, FilesInUseStayAndAreCountedInTheRow) {
  auto first = env.files.LockFile("C:\\Users\\Tester\\AppData\\Local\\Microsoft\\Windows\\Explorer\\thumbcache_idx.db");
  auto second = env.files.LockFile("C:\\Users\\Tester\\AppData\\Local\\Microsoft\\Windows\\Explorer\\iconcache_32.db");
  ASSERT_TRUE(first && second);
  const RunResult result = RunItem("ThumbnailCaches");
  EXPECT_EQ(RowOf("Thumbnail and icon caches"), "Done, 2 files in use");
  EXPECT_EQ(result.bytesReleased, 10.0) << "only the file that went counts";
  EXPECT_FALSE(Exists("C:\\Users\\Tester\\AppData\\Local\\Microsoft\\Windows\\Explorer\\thumbcache_256.db"));

  second = {};
  RunItem("ThumbnailCaches");
  EXPECT_EQ(RowOf("Thumbnail and icon caches"), "Done, 1 file in use");
}

TEST_F(ModernWindowsTest, MissingFoldersAreLeftMissingAndLinksLeftAlone) {
  for (const char* gone : {"D3DSCache", "NVIDIA", "AMD"})
    std::filesystem::remove_all(env.files.HostPath(std::string(EmulatedPlatformFixture::kLocalAppData) + "\\" + gone));
  RunItem("ShaderCaches");
  EXPECT_EQ(RowOf("Graphics shader caches"), "Done");
  EXPECT_FALSE(Exists(std::string(EmulatedPlatformFixture::kLocalAppData) + "\\NVIDIA")) << "no vendor folder made";

  if (!env.fileFixture->SupportsFolderLinks()) GTEST_SKIP() << "no folder links here";
  const std::string documents = std::string(EmulatedPlatformFixture::kLocalAppData) + "\\Documents";
  WriteFile(documents + "\\Thesis.docx", "mine");
  MakeFolders(std::string(EmulatedPlatformFixture::kLocalAppData) + "\\AMD");
  ASSERT_TRUE(env.fileFixture->MakeFolderLink(std::string(EmulatedPlatformFixture::kLocalAppData) + "\\AMD\\DxCache",
                                              documents));
  RunItem("ShaderCaches");
  EXPECT_TRUE(Exists(documents + "\\Thesis.docx"));
  EXPECT_TRUE(Exists(std::string(EmulatedPlatformFixture::kLocalAppData) + "\\AMD\\DxCache"));
  EXPECT_EQ(RowOf("Graphics shader caches"),
            "Done; " + std::string(EmulatedPlatformFixture::kLocalAppData) + "\\AMD\\DxCache is a link, left as it is");
}

TEST_F(ModernWindowsTest, ExplorerHistoriesLoseTheirValuesAndKeepTheirKeys) {
  const std::string explorer = kExplorer;
  SetString(explorer + "\\TypedPaths", "url1", "C:\\Users\\Tester\\Secret");
  SetString(explorer + "\\TypedPaths", "url2", "D:\\Work");
  SetString(explorer + "\\WordWheelQuery", "0", "salary");
  SetString(explorer + "\\WordWheelQuery", "MRUListEx", "x");
  SetString(explorer + "\\WordWheelQuery\\Other", "0", "kept");
  SetString(explorer + "\\RunMRU", "a", "regedit\\1");
  SetString(explorer + "\\RunMRU", "MRUList", "a");
  SetString(explorer + "\\RecentDocs", "0", "kept");
  const std::string sub = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
  RunItem("ExplorerHistories");
  for (const char* key : {"TypedPaths", "WordWheelQuery", "RunMRU"}) {
    EXPECT_TRUE(KeyExists(kHkeyCurrentUser, sub + key)) << key;
    for (const char* value : {"url1", "url2", "0", "MRUListEx", "a", "MRUList"})
      EXPECT_FALSE(ValueExists(kHkeyCurrentUser, sub + key, value)) << key << " " << value;
  }
  EXPECT_TRUE(ValueExists(kHkeyCurrentUser, sub + "WordWheelQuery\\Other", "0"));
  EXPECT_TRUE(ValueExists(kHkeyCurrentUser, sub + "RecentDocs", "0"));
}

TEST_F(ModernWindowsTest, DnsCacheIsFlushedByTheSystemsCommandAndOnlyAnnouncedInPreview) {
  RunItem("DnsCache", EraseMode::Preview);
  EXPECT_TRUE(env.shell.started.empty());
  ASSERT_EQ(recorder.entries.size(), 1u);
  EXPECT_EQ(recorder.entries[0].kind, EntryKind::Command);
  RunItem("DnsCache");
  ASSERT_EQ(env.shell.started.size(), 1u);
  EXPECT_EQ(env.shell.started[0].commandLine, "C:\\WINDOWS\\System32\\ipconfig.exe /flushdns");
}

// One switch per item, in its own section, each item saying what it erases.
TEST_F(ModernWindowsTest, EveryItemHasItsOwnSwitchADescriptionAndTheGroup) {
  Platform services = platform();
  std::set<std::string> keys;
  const std::vector<Item> items = ModernWindowsItems(services);
  EXPECT_GE(items.size(), 9u);
  for (const Item& item : items) {
    EXPECT_EQ(item.section, "ModernWindows");
    EXPECT_TRUE(keys.insert(item.key).second) << item.key;
    EXPECT_FALSE(item.description.empty()) << item.key;
    EXPECT_EQ(item.group, "Windows 10 and 11");
    EXPECT_EQ(item.source, "windows");
  }
  std::size_t inRun = 0;
  for (const Item& item : ItemsOfRun(services))
    if (item.source == "windows") ++inRun;
  EXPECT_EQ(inRun, items.size());
}

}  // namespace
}  // namespace cv::test
