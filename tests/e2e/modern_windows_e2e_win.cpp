// End to end under Wine: the Windows 10 and 11 items previewed and cleaned
// through clearvane-cli.exe on a sandbox profile laid out as today's Windows
// lays it out, one trace of each class, with a thumbnail cache held open as
// Explorer holds it. Afterwards exactly the traces are gone, what sits beside
// them stays, and the registry histories have lost their values only.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "clean/run_items.h"
#include "e2e_support_win.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/text_win.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win.h"
#include "test_filesystem.h"
#include "tree_compare.h"

namespace cv {
namespace {

using e2e::Captured;
using Snapshot = std::map<std::string, std::string>;

constexpr char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr const char* kHistoryKeys[] = {"TypedPaths", "WordWheelQuery", "RunMRU"};
constexpr const char* kSelected[] = {"ThumbnailCaches", "JumpLists",    "RecentItems",       "ErrorReports",
                                     "CrashDumps",      "ShaderCaches", "ExplorerHistories", "Prefetch"};

// Every one of the 140 switches "0"; the Windows 10 and 11 items above "1".
std::string SelectionFile() {
  std::string text = e2e::BuiltInItemsOff();
  text += "[ModernWindows]\r\n";
  for (const char* key : kSelected) text += std::string(key) + "=1\r\n";
  return text;
}

class ModernWindowsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    disk_ = test::MakeFileSystemFixture();
    root_ = disk_->Root();
    program_ = disk_->Path("Clearvane");
    roaming_ = disk_->Path("Profile\\AppData\\Roaming");
    local_ = disk_->Path("Profile\\AppData\\Local");
    ASSERT_NO_FATAL_FAILURE(e2e::InstallProgram(*disk_, program_, SelectionFile()));
    ASSERT_NO_FATAL_FAILURE(e2e::RedirectUserFolders(*disk_, roaming_, local_, folders_));
    std::string reg = "REGEDIT4\r\n";
    for (const char* key : kHistoryKeys) {
      backups_.push_back(
          std::make_unique<e2e::RegistryKeyBackup>(HKEY_CURRENT_USER, std::string(kExplorer) + "\\" + key));
      reg += "\r\n[HKEY_CURRENT_USER\\" + std::string(kExplorer) + "\\" + key +
             "]\r\n\"a\"=\"secret\"\r\n\"b\"=\"more\"\r\n";
    }
    ASSERT_NO_FATAL_FAILURE(e2e::ImportRegistry(*disk_, reg));

    for (const char* file :
         {"Microsoft\\Windows\\Explorer\\thumbcache_256.db", "Microsoft\\Windows\\Explorer\\iconcache_16.db",
          "Microsoft\\Windows\\Explorer\\thumbcache_idx.db",
          "Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_a\\Report.wer", "CrashDumps\\app.exe.42.dmp",
          "D3DSCache\\5e1f\\app.idx", "NVIDIA\\DXCache\\a.bin", "AMD\\VkCache\\b.bin"})
      Trace(local_ + "\\" + file);
    for (const char* file :
         {"Microsoft\\Windows\\Recent\\AutomaticDestinations\\1b4dd67f29cb1962.automaticDestinations-ms",
          "Microsoft\\Windows\\Recent\\CustomDestinations\\7e4dca80246863e3.customDestinations-ms",
          "Microsoft\\Windows\\Recent\\Budget.xlsx.lnk"})
      Trace(roaming_ + "\\" + file);
    for (const std::string& file :
         {local_ + "\\Microsoft\\Windows\\Explorer\\ExplorerStartupLog.etl", local_ + "\\NVIDIA\\Settings.ini",
          roaming_ + "\\Microsoft\\Windows\\Recent\\desktop.ini",
          roaming_ + "\\Microsoft\\Windows\\Recent\\Saved\\Keep.lnk", disk_->Path("Profile\\Documents\\Budget.xlsx")})
      Put(file, "keep");
    // Explorer holds one cache open.
    inUse_.reset(::CreateFileW(win32::Widen(local_ + "\\Microsoft\\Windows\\Explorer\\thumbcache_idx.db").c_str(),
                               GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(inUse_) << ::GetLastError();
  }

  void TearDown() override {
    inUse_.reset();
    backups_.clear();
    folders_.reset();
  }

  void Put(const std::string& path, const std::string& text) {
    for (std::size_t cut = path.find('\\', root_.size() + 1); cut != std::string::npos; cut = path.find('\\', cut + 1))
      if (!e2e::Exists(path.substr(0, cut))) {
        ASSERT_TRUE(disk_->MakeFolder(path.substr(0, cut)));
      }
    ASSERT_TRUE(disk_->WriteFile(path, text));
  }
  void Trace(const std::string& path) {
    Put(path, std::string(1000, 't'));
    traces_.push_back(path.substr(root_.size() + 1));
  }
  Captured Cli(const std::string& arguments) {
    return e2e::RunCapturing("\"" + program_ + "\\clearvane-cli.exe\" " + arguments);
  }

  std::unique_ptr<test::FileSystemFixture> disk_;
  std::unique_ptr<e2e::RegistryKeyBackup> folders_;
  std::vector<std::unique_ptr<e2e::RegistryKeyBackup>> backups_;
  win32::UniqueFileHandle inUse_;
  std::string root_, program_, roaming_, local_;
  std::vector<std::string> traces_;  // relative to the root
};

TEST_F(ModernWindowsEndToEnd, EachTraceClassGoesAndWhatIsBesideStays) {
  const Snapshot before = e2e::SnapshotTree(root_);
  const Captured preview = Cli("--preview --json");
  ASSERT_EQ(preview.exitCode, 0u) << preview.out;
  test::ExpectOnlyRemoved(before, e2e::SnapshotTree(root_), {}, {}, true);
  for (const char* key : kHistoryKeys) EXPECT_TRUE(e2e::ValueExists(std::string(kExplorer) + "\\" + key, "a")) << key;
  EXPECT_NE(preview.out.find("\"source\": \"windows\""), std::string::npos) << preview.out;

  const Captured clean = Cli("--clean --json");
  ASSERT_EQ(clean.exitCode, 0u) << clean.out;
  std::set<std::string> gone(traces_.begin(), traces_.end());
  const std::string local = local_.substr(root_.size() + 1);
  gone.erase(local + "\\Microsoft\\Windows\\Explorer\\thumbcache_idx.db");
  // The sub-folders of emptied folders go with them.
  for (const char* folder : {"\\Microsoft\\Windows\\WER\\ReportArchive",
                             "\\Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_a", "\\D3DSCache\\5e1f"})
    gone.insert(local + folder);
  const std::string selection = (program_ + "\\vanesd.dat").substr(root_.size() + 1);
  test::ExpectOnlyRemoved(before, e2e::SnapshotTree(root_), gone, {selection}, true);
  EXPECT_EQ(e2e::Occurrences(clean.out, "\"status\": \"Done, 1 file in use\""), 1u) << clean.out;
  for (const char* key : kHistoryKeys) {
    EXPECT_TRUE(e2e::KeyExists(std::string(kExplorer) + "\\" + key)) << key;
    EXPECT_FALSE(e2e::ValueExists(std::string(kExplorer) + "\\" + key, "a")) << key;
  }
  // Prefetch needs administrator rights: skipped and said so without them.
  win32::Win32Shell shell;
  const std::string prefetch = shell.IsElevated() ? "Done" : "Skipped: needs administrator rights";
  EXPECT_NE(clean.out.find("{\"item\": \"Prefetch\""), std::string::npos) << clean.out;
  EXPECT_NE(clean.out.find("\"status\": \"" + prefetch + "\""), std::string::npos) << clean.out;
}

}  // namespace
}  // namespace cv
