// A clean limited to what an analysis listed, and runs stopped by a cancel:
// both on the emulated platform.
#include <gtest/gtest.h>

#include <filesystem>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "clean/allow_list_platform.h"
#include "clean/clean_run.h"
#include "clean/run_context.h"
#include "clean/run_items.h"
#include "config/inifun.h"
#include "config/regfun.h"
#include "config/selection_schema.h"
#include "emulated_platform.h"

namespace cv {
namespace {

TEST(AllowList, AnswersForFilesFoldersKeysValuesAndCommands) {
  AllowList list;
  list.Add(EntryKind::File, "C:\\T\\a.tmp");
  // Spellings Windows resolves, in a folder met again and first met.
  for (const char* odd : {"C:\\T\\dots. .", "C:\\T\\sub\\..\\up.tmp", "C:\\root.tmp", "\\\\server\\share\\u.tmp",
                          "C:\\T\\\xc3\x84rger.tmp", "C:/T/slash.tmp"})
    list.Add(EntryKind::File, odd);
  list.Add(EntryKind::Folder, "C:\\T\\Cache");
  list.Add(EntryKind::RegKey, "HKEY_CURRENT_USER\\Software\\K");
  list.Add(EntryKind::RegTree, "HKEY_CURRENT_USER\\Software\\Tree");
  list.Add(EntryKind::RegValue, "HKEY_CURRENT_USER\\Software\\V\\url1");
  list.Add(EntryKind::Command, "Clear the clipboard");
  list.Finish();
  struct Case {
    const char* what;
    bool expected;
    bool actual;
  };
  const Case cases[] = {
      {"listed file, other case and slashes", true, list.AllowsFile("c:/t/A.TMP")},
      {"unlisted file beside it", false, list.AllowsFile("C:\\T\\b.tmp")},
      {"trailing dots and blanks dropped", true, list.AllowsFile("c:\\t\\DOTS")},
      {"\"..\" resolved", true, list.AllowsFile("C:\\T\\up.tmp")},
      {"file in a drive root", true, list.AllowsFile("c:\\ROOT.TMP")},
      {"a path without a drive", true, list.AllowsFile("\\\\SERVER\\share\\u.tmp")},
      {"names folded beyond ASCII", true, list.AllowsFile("C:\\T\\\xc3\xa4rger.TMP")},
      {"slashes as separators", true, list.AllowsFile("C:\\T\\slash.tmp")},
      {"file below a listed folder", true, list.AllowsFile("C:\\T\\Cache\\x\\y.bin")},
      {"folder sharing a prefix", false, list.AllowsFile("C:\\T\\Cache2\\y.bin")},
      {"listed folder", true, list.AllowsFolder("C:\\T\\Cache")},
      {"a listed file is no folder", false, list.AllowsFolder("C:\\T\\a.tmp")},
      {"parent folder of a file is not allowed", false, list.AllowsFolder("C:\\T")},
      {"route to listed entries", true, list.LeadsToListed("C:\\T")},
      {"no route elsewhere", false, list.LeadsToListed("C:\\U")},
      {"listed key", true, list.AllowsKey("HKEY_CURRENT_USER\\\\software\\K\\")},
      {"key below a listed key", false, list.AllowsKey("HKEY_CURRENT_USER\\Software\\K\\Sub")},
      {"a listed key is no tree", false, list.AllowsTree("HKEY_CURRENT_USER\\Software\\K")},
      {"key below a listed tree", true, list.AllowsKey("HKEY_CURRENT_USER\\Software\\Tree\\Sub")},
      {"listed value", true, list.AllowsValue("HKEY_CURRENT_USER\\Software\\V", "URL1")},
      {"other value of that key", false, list.AllowsValue("HKEY_CURRENT_USER\\Software\\V", "url2")},
      {"value in a listed tree", true, list.AllowsValue("HKEY_CURRENT_USER\\Software\\Tree\\S", "x")},
      {"value of a listed single key", false, list.AllowsValue("HKEY_CURRENT_USER\\Software\\K", "x")},
      {"listed command", true, list.AllowsCommand("Clear the clipboard")},
      {"commands match exactly", false, list.AllowsCommand("clear the clipboard")},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;
}

// Entries of a run, in the order heard.
struct EntryLog : EraseSink {
  void Erased(const EraseEntry& entry) override { entries.push_back(entry); }
  std::vector<EraseEntry> entries;
};

class LimitedRunTest : public ::testing::Test {
 protected:
  LimitedRunTest() : files_(env_.files), ini_(env_.files) {}

  std::string Temp() const { return test::EmulatedPlatformFixture::kTemp; }
  std::string Selection() const { return env_.shell.programFolder + "\\vanesd.dat"; }
  void SelectOnly(std::string_view section, std::string_view key) {
    for (const RunItem& item : RunItems())
      ini_.WriteIniValue(Selection(), item.section, item.key, item.section == section && item.key == key ? "1" : "0");
  }
  // Writes a file, making its folders first.
  void Write(const std::string& path, std::size_t bytes) {
    for (size_t cut = path.find('\\', 3); cut != std::string::npos; cut = path.find('\\', cut + 1))
      files_.CreateFolder(path.substr(0, cut));
    ASSERT_EQ(files_.WriteFileAtomic(path, std::string(bytes, 'x')), kOk) << path;
  }

  RunResult Run(RunObserver& observer, RunOptions options) {
    Platform platform = env_.platform();
    RegKey folders = 0;
    env_.registry.CreateKey(kHkeyCurrentUser,
                            "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", folders);
    const std::string appData = std::string(test::EmulatedPlatformFixture::kAppData) + '\0';
    env_.registry.SetValue(folders, "AppData", kRegSz, appData);
    env_.registry.CloseKey(folders);
    regfun registry(platform.registry, platform.messages);
    values_ = ComputeStartupValues(platform, registry);
    Cleaner cleaner(platform, values_);
    return cleaner.CleanNow(options, observer);
  }

  struct QuietObserver : RunObserver {
    void RowAdded(std::string_view item, std::string_view status) override {
      rows.push_back({std::string(item), std::string(status)});
    }
    void RowStatusChanged(std::string_view status) override { rows.back().second = status; }
    void ProgressChanged(int) override {}
    void StatusLabelChanged(std::string_view) override {}
    void Pump() override {
      if (onPump) onPump();
    }
    void ShowReport(const RunReport& shown) override { report = shown; }
    std::vector<std::pair<std::string, std::string>> rows;
    std::function<void()> onPump;
    RunReport report;
  };

  test::EmulatedPlatformFixture env_;
  emulated::EmulatedFileSystem& files_;
  Inifun ini_;
  StartupValues values_;
};

TEST_F(LimitedRunTest, ACleanLimitedToAnAnalysisErasesWhatWasListedAndNothingThatCameLater) {
  const std::string profiles = std::string(test::EmulatedPlatformFixture::kAppData) + "\\Mozilla\\Firefox\\Profiles";
  Write(profiles + "\\a.default\\cookies.sqlite", 100);
  Write(profiles + "\\b.default\\cookies.sqlite", 50);
  Write(profiles + "\\gone.default\\cookies.sqlite", 20);
  SelectOnly("FIREFOX", "Cookies");
  ini_.WriteIniValue(Selection(), kOptionsSection, kOptionSecurely, "1");
  QuietObserver observer;
  EntryLog analysis;
  RunOptions preview;
  preview.mode = EraseMode::Preview;
  preview.sink = &analysis;
  Run(observer, preview);
  ASSERT_EQ(analysis.entries.size(), 3u);
  AllowList allowed;
  for (const EraseEntry& entry : analysis.entries)
    if (!entry.refused) allowed.Add(entry.kind, entry.path);
  allowed.Finish();

  // Meanwhile: a new profile, and one listed file went by itself.
  Write(profiles + "\\new.default\\cookies.sqlite", 7);
  ASSERT_EQ(files_.DeleteFile(profiles + "\\gone.default\\cookies.sqlite", true), kOk);
  // Held open from outside: after a secure delete its old data is gone.
  std::ifstream held(files_.NativePath(profiles + "\\a.default\\cookies.sqlite"), std::ios::binary);
  RunOptions clean;
  clean.allowed = &allowed;
  const RunResult result = Run(observer, clean);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(held), {}).find("xxxx"), std::string::npos)
      << "the limited clean deleted without overwriting";

  EXPECT_EQ(result.outcome, RunOutcome::Completed);
  EXPECT_FALSE(files_.Stat(profiles + "\\a.default\\cookies.sqlite"));
  EXPECT_FALSE(files_.Stat(profiles + "\\b.default\\cookies.sqlite"));
  EXPECT_TRUE(files_.Stat(profiles + "\\new.default\\cookies.sqlite"));
  EXPECT_DOUBLE_EQ(observer.report.bytesReleased, 150) << "an unlisted file was counted";
  EXPECT_EQ(ini_.ReadIniValue(Selection(), "Options", "filesize"), "150");
}

TEST_F(LimitedRunTest, TheLimitedPlatformRefusesWhatTheListDoesNotHold) {
  auto& registry = env_.registry;
  RegKey key = 0;
  ASSERT_EQ(registry.CreateKey(kHkeyCurrentUser, "Software\\V", key), kOk);
  registry.SetValue(key, "keep", kRegSz, "1");
  registry.SetValue(key, "go", kRegSz, "1");
  registry.CloseKey(key);
  ASSERT_EQ(registry.CreateKey(kHkeyCurrentUser, "Software\\Other\\Sub", key), kOk);
  registry.CloseKey(key);
  Write(Temp() + "\\a.tmp", 1);
  Write(Temp() + "\\b.tmp", 1);

  AllowList allowed;
  allowed.Add(EntryKind::RegValue, "HKEY_CURRENT_USER\\Software\\V\\go");
  allowed.Add(EntryKind::File, Temp() + "\\a.tmp");
  allowed.Add(EntryKind::Command, kEmptyRecycleBinCommand);
  allowed.Add(EntryKind::Rows, Temp() + "\\places.sqlite [moz_places]");
  allowed.Finish();
  Platform inner = env_.platform();
  AllowListPlatform limited(inner, allowed);
  Platform& view = limited.View();

  RegKey open = 0;
  ASSERT_EQ(view.registry.OpenKey(kHkeyCurrentUser, "Software\\V", kKeyRead | kKeyWrite, open), kOk);
  EXPECT_EQ(view.registry.DeleteValue(open, "keep"), kErrAccessDenied);
  EXPECT_EQ(view.registry.DeleteValue(open, "go"), kOk);
  view.registry.CloseKey(open);
  EXPECT_EQ(view.registry.DeleteTree(kHkeyCurrentUser, "Software\\Other"), kErrAccessDenied);
  EXPECT_EQ(view.registry.DeleteKey(kHkeyCurrentUser, "Software\\Other\\Sub"), kErrAccessDenied);

  std::vector<std::string> listed;
  view.files.ListFolder(Temp(), [&](const FileEntry& entry) { listed.push_back(entry.name); });
  EXPECT_EQ(listed, std::vector<std::string>{"a.tmp"});
  EXPECT_EQ(view.files.DeleteFile(Temp() + "\\b.tmp", true), kErrAccessDenied);
  EXPECT_EQ(view.files.SetAttributes(Temp() + "\\b.tmp", kAttrHidden), kErrAccessDenied);
  EXPECT_EQ(view.files.RemoveFolder(Temp(), true), kErrAccessDenied);
  const auto folder = view.files.OpenFolder(Temp());
  ASSERT_TRUE(folder);
  listed.clear();
  folder->List([&](const FileEntry& entry) { listed.push_back(entry.name); });
  EXPECT_EQ(listed, std::vector<std::string>{"a.tmp"});
  EXPECT_EQ(folder->DeleteEntry("b.tmp", true), kErrAccessDenied);
  EXPECT_EQ(folder->DeleteEntryOverwritten("b.tmp", true, 1), kErrAccessDenied);
  EXPECT_EQ(folder->SetEntryAttributes("b.tmp", kAttrHidden), kErrAccessDenied);
  EXPECT_EQ(view.files.NativePath(Temp() + "\\b.tmp"), "") << "rows of an unlisted database";
  EXPECT_EQ(view.files.NativePath(Temp() + "\\places.sqlite"), inner.files.NativePath(Temp() + "\\places.sqlite"));
  EXPECT_EQ(view.files.DeleteFile(Temp() + "\\a.tmp", false), kOk);

  EXPECT_EQ(view.shell.StartProgram("cmd.exe /c del x", ShowMode::Hidden), 0u);
  EXPECT_FALSE(view.shell.ClearClipboard());
  view.shell.EmptyRecycleBin();
  EXPECT_EQ(env_.shell.clipboardCleared, 0);
  EXPECT_EQ(env_.shell.recycleBinEmptied, 1);
  EXPECT_TRUE(view.files.Stat(Temp() + "\\b.tmp"));
  RegValue value;
  ASSERT_EQ(registry.OpenKey(kHkeyCurrentUser, "Software\\V", kKeyRead, key), kOk);
  EXPECT_EQ(registry.QueryValue(key, "keep", value), kOk);
  registry.CloseKey(key);
}

// A listed folder on the way replaced by a link since the analysis: nothing is
// reached through the link, by path or by an opened folder.
TEST_F(LimitedRunTest, AListedPathIsNeverFollowedThroughAFolderSwappedForALink) {
  const std::string tool = Temp() + "\\Tool", project = Temp() + "\\Documents\\Project";
  for (const std::string& base : {tool, project}) {
    Write(base + "\\Logs\\a.log", 5);
    Write(base + "\\Cache\\c.bin", 5);
  }
  AllowList allowed;
  allowed.Add(EntryKind::File, tool + "\\Logs\\a.log");
  allowed.Add(EntryKind::Folder, tool + "\\Cache");
  allowed.Finish();
  Platform inner = env_.platform();
  AllowListPlatform limited(inner, allowed);
  FileSystem& view = limited.View().files;
  ASSERT_TRUE(view.OpenFolder(tool + "\\Cache")) << "reached where the analysis saw it";

  std::filesystem::remove_all(files_.HostPath(tool));
  std::filesystem::create_directory_symlink(files_.HostPath(project), files_.HostPath(tool));
  EXPECT_EQ(view.DeleteFile(tool + "\\Logs\\a.log", true), kErrAccessDenied);
  EXPECT_EQ(view.SetAttributes(tool + "\\Logs\\a.log", kAttrHidden), kErrAccessDenied);
  EXPECT_EQ(view.RemoveFolder(tool + "\\Cache", true), kErrAccessDenied);
  EXPECT_EQ(view.OpenFolder(tool + "\\Cache"), nullptr);
  EXPECT_TRUE(files_.Stat(project + "\\Logs\\a.log"));
  EXPECT_TRUE(files_.Stat(project + "\\Cache\\c.bin"));
  EXPECT_EQ(files_.Stat(project + "\\Logs\\a.log")->attributes & kAttrHidden, 0u);
}

// A cancel asked after a given number of pumps stops the run at the next
// safe point; the report and the stored figures are those of what was done.
TEST_F(LimitedRunTest, ACancelStopsTheRunBetweenTwoFilesAndReportsWhatWasDone) {
  constexpr int kFiles = 40;
  for (int i = 0; i < kFiles; ++i) Write(Temp() + "\\f" + std::to_string(i) + ".tmp", 10);
  SelectOnly("WINDOWS", "temp");
  for (int cancelAfter : {0, 1, 5, 12}) {
    SCOPED_TRACE(cancelAfter);
    CancelRequest cancel;
    QuietObserver observer;
    int pumps = 0;
    observer.onPump = [&] {
      if (pumps++ == cancelAfter) cancel.Request();
    };
    EntryLog erased;
    RunOptions options;
    options.cancel = &cancel;
    options.sink = &erased;
    const int before = [&] {
      int n = 0;
      files_.ListFolder(Temp(), [&](const FileEntry&) { ++n; });
      return n;
    }();
    const RunResult result = Run(observer, options);
    int after = 0;
    files_.ListFolder(Temp(), [&](const FileEntry&) { ++after; });

    EXPECT_EQ(result.outcome, RunOutcome::Cancelled);
    EXPECT_TRUE(observer.report.cancelled);
    EXPECT_EQ(observer.report.messageTitle, "Cancelled");
    // The figures are those of what went: the entries heard, the files gone.
    double heard = 0;
    int heardHere = 0;
    for (const EraseEntry& entry : erased.entries) {
      heard += entry.bytes;
      if (entry.path.rfind(Temp() + "\\", 0) == 0) ++heardHere;
    }
    EXPECT_EQ(heardHere, before - after);
    EXPECT_DOUBLE_EQ(observer.report.bytesReleased, heard);
    EXPECT_EQ(ini_.ReadIniValue(Selection(), "Options", "filesize"), PlainNumber(heard));
    EXPECT_NE(ini_.ReadIniValue(Selection(), "Options", "lastclean"), "");
    ASSERT_FALSE(observer.rows.empty());
    EXPECT_EQ(observer.rows.back().first, "Cancelled");
    if (observer.rows.size() > 1) {
      EXPECT_EQ(observer.rows[observer.rows.size() - 2].second, "Cancelled");
    }
    EXPECT_GT(after, 0) << "the run went on after the cancel";
  }
}

}  // namespace
}  // namespace cv
