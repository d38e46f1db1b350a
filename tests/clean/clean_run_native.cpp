// The run frame: which items a selection file selects, the rows, progress
// checkpoints, counters, the stored figures and the report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clean/clean_run.h"
#include "clean/run_items.h"
#include "config/inifun.h"
#include "config/regfun.h"
#include "emulated_platform.h"
#include "platform/reg_text.h"

namespace cv {
namespace {

// Records everything the run tells its watcher.
class RecordingObserver : public RunObserver {
 public:
  struct Row {
    std::string item, status;
  };
  void RowAdded(std::string_view item, std::string_view status) override {
    rows.push_back({std::string(item), std::string(status)});
  }
  void RowStatusChanged(std::string_view status) override { rows.back().status = status; }
  void ProgressChanged(int value) override { progress.push_back(value); }
  void StatusLabelChanged(std::string_view text) override {
    label = text;
    labels.emplace_back(text);
  }
  void Pump() override {
    ++pumps;
    if (onPump) onPump();
  }
  void ShowReport(const RunReport& shown) override { reports.push_back(shown); }
  void StatisticsChanged(std::string_view last, std::string_view statistics) override {
    lastClean = last;
    statisticsLine = statistics;
  }
  void ExitRequested() override { exitRequested = true; }

  std::vector<Row> rows;
  std::vector<int> progress;
  std::vector<RunReport> reports;
  std::string label, lastClean, statisticsLine;
  std::vector<std::string> labels;
  bool exitRequested = false;
  int pumps = 0;
  std::function<void()> onPump;
};

class CleanRunTest : public ::testing::Test {
 protected:
  CleanRunTest() : registry_(env_.registry), files_(env_.files), shell_(env_.shell), ini_(env_.files) {}

  std::string Selection() const { return shell_.programFolder + "\\vanesd.dat"; }
  std::string Temp() const { return test::EmulatedPlatformFixture::kTemp; }
  void Select(std::string_view section, std::string_view key, std::string_view value) {
    ini_.WriteIniValue(Selection(), section, key, value);
  }
  std::string Option(std::string_view key) { return ini_.ReadIniValue(Selection(), "Options", key); }

  RunResult Run(RecordingObserver& observer, RunOptions options = {}) {
    Platform platform = env_.platform();
    regfun registry(platform.registry, platform.messages);
    values_ = ComputeStartupValues(platform, registry);
    Cleaner cleaner(platform, values_);
    return cleaner.CleanNow(options, observer);
  }

  test::EmulatedPlatformFixture env_;
  emulated::EmulatedRegistry& registry_;
  emulated::EmulatedFileSystem& files_;
  emulated::EmulatedShell& shell_;
  Inifun ini_;
  StartupValues values_;
};

std::vector<int> Checkpoints() {
  std::vector<int> expected{1};
  for (const RunItem& item : RunItems())
    if (item.progress) expected.push_back(*item.progress);
  expected.push_back(kPluginCheckpoint);
  expected.push_back(100);
  return expected;
}

TEST_F(CleanRunTest, WithoutSelectionFileNothingRunsAndFiguresAreStored) {
  // A fresh install: the Maxthon download folder holds the user's files.
  ImportRegText(registry_,
                "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Maxthon2]"
                "\r\n\"InstallLocation\"=\"C:\\\\Program Files\\\\Maxthon2\\\\\"\r\n");
  const std::string downloads = "C:\\Program Files\\Maxthon2\\SharedAccount\\Downloads\\setup.exe";
  for (const char* folder :
       {"C:\\Program Files", "C:\\Program Files\\Maxthon2", "C:\\Program Files\\Maxthon2\\SharedAccount",
        "C:\\Program Files\\Maxthon2\\SharedAccount\\Downloads"})
    files_.CreateFolder(folder);
  ASSERT_TRUE(env_.fileFixture->WriteFile(downloads, "keep"));
  RecordingObserver observer;
  const RunResult result = Run(observer);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  std::vector<std::string> items;
  for (const auto& row : observer.rows) items.push_back(row.item);
  EXPECT_EQ(items, std::vector<std::string>{"Task complete Successfully!"});
  EXPECT_TRUE(files_.Stat(downloads));
  EXPECT_EQ(result.registryKeysCleaned, 0);
  EXPECT_EQ(observer.rows.back().status, "");
  EXPECT_EQ(observer.label, "Task complete Successfully!");
  EXPECT_EQ(Option("lastclean"), "12/8/2026 9:30:00 AM");
  EXPECT_EQ(observer.lastClean, "12/8/2026 9:30:00 AM");
  EXPECT_EQ(observer.progress, Checkpoints());
}

TEST_F(CleanRunTest, ItemsAreSelectedByTheNumberOne) {
  Select("EXPLORER", "downloadedhistory", "01");
  Select("explorer", "INPRIVATE", "true");
  Select("WINDOWS", "passwords", " 1 ");  // blanks are trimmed when read
  Select("WINDOWS", "swap", "1");
  Select("Maxthon", "keywords", "01");
  Select("Maxthon", "pages", "2");
  Select("Maxthon", "settings", "0");
  Select("Maxthon", "groups", "words");
  Select("Maxthon", "folder", "");
  RecordingObserver observer;
  Run(observer);
  std::vector<std::string> items;
  for (const auto& row : observer.rows) items.push_back(row.item);
  EXPECT_EQ(items, (std::vector<std::string>{"IE Downloaded History(Only IE9)", "Maxthon Typed Urls",
                                             "Windows Passwords(Only 9X/Me)", "windows swap/paging file",
                                             "Task complete Successfully!"}));
  // The IE9 row says the version is not there; the others are done.
  for (size_t i = 1; i + 1 < observer.rows.size(); ++i) EXPECT_EQ(observer.rows[i].status, "Done");
}

TEST_F(CleanRunTest, ProgressCheckpointsAreTheSameWhateverIsSelected) {
  for (const RunItem& item : RunItems()) Select(item.section, item.key, "1");
  RecordingObserver everything;
  Run(everything);
  EXPECT_EQ(everything.progress, Checkpoints());
  const std::vector<int>& seen = everything.progress;
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

TEST_F(CleanRunTest, WindowsSectionCountsItsFixedRegistryWeights) {
  for (const RunItem& item : RunItems()) Select(item.section, item.key, item.group == ItemGroup::kWindows ? "1" : "0");
  RecordingObserver observer;
  const RunResult result = Run(observer);
  EXPECT_EQ(observer.rows.size(), 28u);  // 27 items and the closing row
  EXPECT_DOUBLE_EQ(result.registryKeysCleaned, 149);
  EXPECT_EQ(Option("regnum"), "149");
  EXPECT_EQ(shell_.recycleBinEmptied, 1);
  EXPECT_EQ(shell_.clipboardCleared, 1);
  EXPECT_EQ(shell_.recentDocumentsCleared, 1);
  ASSERT_EQ(shell_.started.size(), 1u);
  EXPECT_EQ(shell_.started[0].show, ShowMode::Hidden);
}

// The batch file runs through the interpreter's full path, its own path
// quoted whole whatever the folder is called.
TEST_F(CleanRunTest, TheBatchFileCommandLineIsQuoted) {
  const struct {
    const char* folder;
    const char* comSpec;  // nullptr: not set
    const char* expected;
  } cases[] = {
      {"C:\\Program Files\\Clearvane (1)", "C:\\WINDOWS\\system32\\cmd.exe",
       "\"C:\\WINDOWS\\system32\\cmd.exe\" /d /s /c \"\"C:\\Program Files\\Clearvane (1)\\delThumbs.bat\"\""},
      {"C:\\a&b", "D:\\Shell Tools\\cmd.exe", "\"D:\\Shell Tools\\cmd.exe\" /d /s /c \"\"C:\\a&b\\delThumbs.bat\"\""},
      {"C:\\cv", nullptr, "\"C:\\WINDOWS\\system32\\cmd.exe\" /d /s /c \"\"C:\\cv\\delThumbs.bat\"\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    shell_.programFolder = c.folder;
    files_.CreateFolder(c.folder);
    ASSERT_EQ(files_.WriteFileAtomic(Selection(), "[WINDOWS]\r\nthumbs=1\r\n"), kOk);
    if (c.comSpec)
      shell_.SetEnvironmentVariable("ComSpec", c.comSpec);
    else
      shell_.UnsetEnvironmentVariable("ComSpec");
    shell_.started.clear();
    RecordingObserver observer;
    Run(observer);
    ASSERT_EQ(shell_.started.size(), 1u);
    EXPECT_EQ(shell_.started[0].commandLine, c.expected);
  }
}

// A clearing operation the system refused is neither reported nor counted.
TEST_F(CleanRunTest, FailedShellOperationsAreNotCounted) {
  for (const char* key : {"recent", "recycle", "clip"}) Select("WINDOWS", key, "1");
  shell_.clearingFails = true;
  RecordingObserver observer;
  EXPECT_EQ(Run(observer).registryKeysCleaned, 0);
  EXPECT_EQ(shell_.recycleBinEmptied + shell_.clipboardCleared + shell_.recentDocumentsCleared, 0);
  shell_.clearingFails = false;
  EXPECT_EQ(Run(observer).registryKeysCleaned, 2);
}

TEST_F(CleanRunTest, ReportsReleasedBytesInMegabytes) {
  EXPECT_EQ(MegabytesText(0, '.'), "0.00");
  EXPECT_EQ(MegabytesText(1048576, '.'), "1.00");
  EXPECT_EQ(MegabytesText(1572864, ','), "1,50");
  EXPECT_EQ(PlainNumber(149), "149");
  EXPECT_EQ(PlainNumber(1e20), "100000000000000000000");
  EXPECT_EQ(PlainNumber(0.5), "0.5");

  ASSERT_EQ(files_.WriteFileAtomic(Temp() + "\\big.tmp", std::string(1048576, 'x')), kOk);
  for (const RunItem& item : RunItems()) Select(item.section, item.key, item.key == "temp" ? "1" : "0");
  RecordingObserver observer;
  const RunResult result = Run(observer);
  EXPECT_DOUBLE_EQ(result.bytesReleased, 1048576);
  EXPECT_FALSE(files_.Stat(Temp() + "\\big.tmp"));
  EXPECT_TRUE(files_.Stat(Temp()));
  ASSERT_EQ(observer.reports.size(), 1u);
  EXPECT_EQ(observer.reports[0].messageTitle, "Task Complete");
  EXPECT_EQ(observer.reports[0].messageText,
            "Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:1.00MB");
  EXPECT_EQ(observer.statisticsLine, "  Cleaned Registry Keys: 0     Released HD Space:1.00MB");
  EXPECT_EQ(Option("filesize"), "1048576");
}

TEST_F(CleanRunTest, UnattendedRunReportsByPopup) {
  RecordingObserver observer;
  RunOptions options;
  options.unattended = true;
  Run(observer, options);
  ASSERT_EQ(observer.reports.size(), 1u);
  const RunReport& report = observer.reports[0];
  EXPECT_TRUE(report.unattended);
  EXPECT_EQ(report.popupKey, "www");
  EXPECT_EQ(report.popupTitle, "Clearvane");
  EXPECT_EQ(report.popupText, "Clearvane Clean is done! Cleaned Registry Keys: 0 Released HD Space:0.00MB");
  EXPECT_EQ(report.popupSoundFile, shell_.programFolder + "\\Sounds\\Message.wav");
}

TEST_F(CleanRunTest, ExitAfterCleaningKeepsThePreviousFigures) {
  Select("Options", "lastclean", "before");
  Select("Options", "regnum", "7");
  Select("Options", "exit", "1");
  Select("WINDOWS", "run", "1");
  RecordingObserver observer;
  const RunResult result = Run(observer);
  EXPECT_EQ(result.outcome, RunOutcome::ExitRequested);
  EXPECT_TRUE(observer.exitRequested);
  EXPECT_TRUE(observer.reports.empty());
  EXPECT_EQ(Option("lastclean"), "before");
  EXPECT_EQ(Option("regnum"), "7");
  EXPECT_NE(observer.progress.back(), 100);
}

TEST_F(CleanRunTest, ASecondRunRequestedDuringARunIsRefused) {
  Select("WINDOWS", "passwords", "1");  // a row, so the run lets messages through
  Platform platform = env_.platform();
  regfun registry(platform.registry, platform.messages);
  values_ = ComputeStartupValues(platform, registry);
  Cleaner cleaner(platform, values_);
  RecordingObserver observer;
  int refused = 0;
  observer.onPump = [&] {
    RecordingObserver inner;
    if (cleaner.CleanNow({}, inner).outcome == RunOutcome::Refused) ++refused;
    EXPECT_EQ(inner.label, "A cleaning run is already in progress.");
    EXPECT_TRUE(inner.rows.empty());
  };
  EXPECT_EQ(cleaner.CleanNow({}, observer).outcome, RunOutcome::Completed);
  EXPECT_GT(refused, 0);
  EXPECT_FALSE(cleaner.Running());
  observer.onPump = nullptr;
  RecordingObserver again;
  EXPECT_EQ(cleaner.CleanNow({}, again).outcome, RunOutcome::Completed);
}

TEST_F(CleanRunTest, PreviewChangesNothingAndStoresNoFigures) {
  ASSERT_EQ(files_.WriteFileAtomic(Temp() + "\\a.tmp", "12345"), kOk);
  registry_.LoadRegText(
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU]\r\n"
      "\"a\"=\"notepad\"\r\n");
  Select("WINDOWS", "temp", "1");
  Select("WINDOWS", "run", "1");
  Select("WINDOWS", "recycle", "1");
  const std::string before = registry_.ExportRegText();

  struct Sink : EraseSink {
    void Erased(const EraseEntry& entry) override { entries.push_back(entry); }
    std::vector<EraseEntry> entries;
  } sink;
  RecordingObserver observer;
  RunOptions options;
  options.mode = EraseMode::Preview;
  options.sink = &sink;
  const RunResult result = Run(observer, options);

  EXPECT_EQ(registry_.ExportRegText(), before);
  EXPECT_TRUE(files_.Stat(Temp() + "\\a.tmp"));
  EXPECT_EQ(shell_.recycleBinEmptied, 0);
  EXPECT_EQ(Option("lastclean"), "");
  EXPECT_DOUBLE_EQ(result.bytesReleased, 5);
  EXPECT_DOUBLE_EQ(result.registryKeysCleaned, 3 + 1);
  bool sawFile = false, sawKey = false, sawCommand = false;
  for (const EraseEntry& entry : sink.entries) {
    sawFile |= entry.kind == EntryKind::File && entry.path == Temp() + "\\a.tmp" && entry.bytes == 5;
    sawKey |= entry.kind == EntryKind::RegKey;
    sawCommand |= entry.kind == EntryKind::Command;
  }
  EXPECT_TRUE(sawFile);
  EXPECT_TRUE(sawKey);
  EXPECT_TRUE(sawCommand);
  // It says what it does: each item is analyzed, and the last line says nothing was erased.
  ASSERT_EQ(observer.labels.size(), 5u);  // cleared at the start, three items, the closing line
  for (std::size_t i = 1; i + 1 < observer.labels.size(); ++i)
    EXPECT_EQ(observer.labels[i], "Analyzing " + observer.rows[i - 1].item + " ......");
  EXPECT_EQ(observer.rows.back().item, "Analysis complete: nothing was erased.");
  EXPECT_EQ(observer.label, "Analysis complete: nothing was erased.");
}

}  // namespace
}  // namespace cv
