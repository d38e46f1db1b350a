// The main window's behaviour on the emulated platform, watched through a
// recording view.
#include "app/main_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "app/main_texts.h"
#include "config/inifun.h"
#include "emulated_platform.h"
#include "platform/reg_text.h"
#include "resources/window_res.h"

namespace cv {
namespace {

struct Row {
  std::string item, status;
};

class RecordingView : public MainView {
 public:
  void ShowPanel(Panel panel) override { this->panel = panel; }
  void ClearRows() override { rows.clear(); }
  void AddRow(std::string_view item, std::string_view status) override {
    rows.push_back({std::string(item), std::string(status)});
  }
  void SetRowStatus(std::string_view status) override { rows.back().status = status; }
  void SetProgress(int value) override { progress = value; }
  void SetStatusLabel(std::string_view text) override { statusLabel = text; }
  void SetStartEnabled(bool enabled) override { startEnabled = enabled; }
  void SetBusy(bool busy) override { this->busy = busy; }
  void PumpMessages() override {
    ++pumps;
    if (onPump) onPump();
  }
  void SetLastCleaned(std::string_view text) override { lastCleaned = text; }
  void SetStatistics(std::string_view text) override { statistics = text; }
  void HideWindow() override { visible = false; }
  void RestoreWindow() override { visible = true, restored = true; }
  void ShowWindow() override { visible = true; }
  void ShowTrayMenu() override { ++trayMenus; }
  void ShowAbout() override { ++abouts; }
  CleanAnswer AskBeforeCleaning(std::string_view question) override {
    questions.emplace_back(question);
    if (onQuestion) onQuestion();
    return answer;
  }
  void OpenDialog(DialogKind dialog) override {
    dialogs.push_back(dialog);
    if (onDialog) onDialog();
  }
  ElevatedStart StartElevatedCopy(std::string_view arguments) override {
    elevatedStarts.emplace_back(arguments);
    return elevatedStart;
  }
  void AddTrayIcon() override { trayIcon = true; }
  void RemoveTrayIcon() override { trayIcon = false; }
  void EndProgram() override { ended = true; }
  void SetRowFigures(int row, std::string_view files, std::string_view size) override {
    figures.push_back(std::to_string(row) + " " + std::string(files) + " " + std::string(size));
  }
  void ShowAnalysis(const AnalysisStore* analysis) override { analysisShown = analysis != nullptr; }

  Panel panel = Panel::Status;
  std::vector<Row> rows;
  int progress = -1;
  std::string statusLabel, lastCleaned, statistics;
  bool startEnabled = true, busy = false, visible = true, restored = false, trayIcon = false, ended = false;
  int pumps = 0, trayMenus = 0, abouts = 0;
  std::vector<DialogKind> dialogs;
  std::function<void()> onPump;
  std::function<void()> onDialog;  // while the modal window is open
  std::vector<std::string> questions;
  CleanAnswer answer{true, false};
  std::function<void()> onQuestion;  // while the question is open
  std::vector<std::string> figures;
  bool analysisShown = false;
  std::vector<std::string> elevatedStarts;
  ElevatedStart elevatedStart{ElevatedStart::Outcome::Started, {}};
};

class NoPopups : public PopupFactory {
 public:
  std::unique_ptr<NotificationPopup> ShowNotification(const cNotificationRequest& request) override {
    shown.push_back(request);
    return nullptr;
  }
  std::vector<cNotificationRequest> shown;
};

class MainControllerTest : public ::testing::Test {
 protected:
  MainControllerTest() : ini(fixture.files), platform(fixture.platform()), notifications(popups) { SelectNothing(); }

  std::string SelectionFile() const { return fixture.shell.programFolder + "\\vanesd.dat"; }
  void Option(std::string_view key, std::string_view value) {
    ini.WriteIniValue(SelectionFile(), "Options", key, value);
  }
  void Select(std::string_view section, std::string_view key) { ini.WriteIniValue(SelectionFile(), section, key, "1"); }
  // A selection file with nothing ticked.
  void SelectNothing() {
    for (const char* key : {"keywords", "pages", "settings", "groups", "folder"})
      ini.WriteIniValue(SelectionFile(), "Maxthon", key, "0");
  }
  MainController& Loaded(std::string_view argument = "") {
    controller = std::make_unique<MainController>(platform, view, notifications);
    controller->Load(argument);
    return *controller;
  }

  test::EmulatedPlatformFixture fixture;
  Inifun ini;
  Platform platform;
  RecordingView view;
  NoPopups popups;
  NotificationSystem notifications;
  std::unique_ptr<MainController> controller;
};

TEST_F(MainControllerTest, LoadWithoutStoredFiguresShowsZeroesAndAddsTheTrayIcon) {
  const MainController& main = Loaded();
  EXPECT_EQ(view.panel, Panel::Welcome);
  EXPECT_EQ(view.lastCleaned, "");
  EXPECT_EQ(view.statistics, "  Cleaned Registry Keys: 0     Released HD Space:0.00MB");
  EXPECT_EQ(main.State().scheduleDays, (ScheduleDays{"0", "0", "0", "0", "0", "0", "0"}));
  EXPECT_EQ(main.State().UnattendedRun, 0);
  EXPECT_FALSE(main.State().bossKeyWanted);  // a missing "bosskey" is off, as its box shows
  EXPECT_TRUE(view.trayIcon);
  EXPECT_EQ(main.Values().WindowsFolder, "C:\\WINDOWS");
  EXPECT_EQ(main.Values().WindowsVersion, "6.1");
}

TEST_F(MainControllerTest, LoadReadsTheStoredFiguresAndSchedule) {
  Option("lastclean", "12/8/2026 9:30:00 AM");
  Option("regnum", "12");
  Option("filesize", "1048576");
  Option("CleanDays", "0111110");
  Option("CleanTime", "10:15");
  Option("bosskey", "0");
  const MainController& main = Loaded();
  EXPECT_EQ(view.lastCleaned, "12/8/2026 9:30:00 AM");
  EXPECT_EQ(view.statistics, "  Cleaned Registry Keys: 12     Released HD Space:1.00MB");
  EXPECT_EQ(main.State().scheduleDays, (ScheduleDays{"0", "1", "1", "1", "1", "1", "0"}));
  EXPECT_EQ(main.State().ScheduleTime, "10:15");
  EXPECT_FALSE(main.State().bossKeyWanted);
}

TEST_F(MainControllerTest, StartCleaningWithNothingSelectedReportsZeroesByMessageBox) {
  MainController& main = Loaded();
  main.Execute(Command::StartCleaning);
  ASSERT_EQ(view.rows.size(), 1u);
  EXPECT_EQ(view.rows[0].item, "Task complete Successfully!");
  EXPECT_EQ(view.statusLabel, "Task complete Successfully!");
  EXPECT_EQ(view.progress, 100);
  EXPECT_TRUE(view.startEnabled);
  EXPECT_FALSE(view.busy);
  EXPECT_TRUE(view.visible);
  ASSERT_EQ(fixture.messages.shown.size(), 1u);
  EXPECT_EQ(fixture.messages.shown[0].caption, "Task Complete");
  EXPECT_EQ(fixture.messages.shown[0].text,
            "Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:0.00MB");
  EXPECT_EQ(fixture.messages.shown[0].style, kMbOk | kMbIconInformation);
  EXPECT_NE(ini.ReadIniValue(SelectionFile(), "Options", "lastclean"), "");
  EXPECT_EQ(view.lastCleaned, ini.ReadIniValue(SelectionFile(), "Options", "lastclean"));
  EXPECT_TRUE(notifications.NotificationQueue().empty());
}

TEST_F(MainControllerTest, TheStartButtonIsDisabledWhileTheRunIsUnderWay) {
  Select("WINDOWS", "clip");
  MainController& main = Loaded();
  std::vector<bool> enabledDuringRun;
  view.onPump = [&] { enabledDuringRun.push_back(view.startEnabled && !view.busy); };
  main.Execute(Command::StartCleaning);
  ASSERT_FALSE(enabledDuringRun.empty());
  for (bool enabled : enabledDuringRun) EXPECT_FALSE(enabled);
  ASSERT_EQ(view.rows.size(), 2u);
  EXPECT_EQ(view.rows[0].item, "Windows Clipboard");
  EXPECT_EQ(view.rows[0].status, "Done");
  EXPECT_EQ(fixture.shell.clipboardCleared, 1);
}

TEST_F(MainControllerTest, ARequestDuringARunIsRefusedAndTheRunReportsOnce) {
  Select("WINDOWS", "clip");
  MainController& main = Loaded();
  bool asked = false;
  view.onPump = [&] {
    if (asked) return;
    asked = true;
    main.Execute(Command::TrayCleanNow);  // arrives through the message pump
    main.Execute(Command::MenuCleanNow);
  };
  main.Execute(Command::StartCleaning);
  EXPECT_TRUE(asked);
  EXPECT_EQ(fixture.shell.clipboardCleared, 1);
  EXPECT_EQ(fixture.messages.shown.size(), 1u);  // the first run's message box, no pop-up
  EXPECT_EQ(view.questions.size(), 1u);          // refused requests ask nothing
  EXPECT_TRUE(notifications.NotificationQueue().empty());
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(main.State().UnattendedRun, 0);
}

TEST_F(MainControllerTest, NoRunAndNoSecondWindowWhileAWindowIsOpen) {
  Select("WINDOWS", "clip");
  MainController& main = Loaded();
  view.HideWindow();
  view.onDialog = [&] {
    view.onDialog = nullptr;
    main.Execute(Command::TrayCleanNow);
    main.Execute(Command::StartCleaning);
    main.Execute(Command::CleanOptions);
  };
  main.Execute(Command::CleaningSettings);
  EXPECT_EQ(fixture.shell.clipboardCleared, 0);
  EXPECT_EQ(view.dialogs, (std::vector<DialogKind>{DialogKind::CleaningSettings}));
  ASSERT_EQ(fixture.messages.shown.size(), 2u);
  EXPECT_EQ(fixture.messages.shown[0].text, texts::kRunRefusedWhileWindowOpen);
  main.Execute(Command::TrayCleanNow);  // closed again: runs
  EXPECT_EQ(fixture.shell.clipboardCleared, 1);
}

TEST_F(MainControllerTest, TrayCleanNowReportsByPopupAndLeavesTheWindowHidden) {
  MainController& main = Loaded();
  view.HideWindow();
  main.Execute(Command::TrayCleanNow);
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(fixture.messages.shown.empty());
  EXPECT_EQ(main.State().UnattendedRun, 0);
  ASSERT_EQ(notifications.NotificationQueue().size(), 1u);
  const cNotificationRequest& request = notifications.NotificationQueue()[0].request;
  EXPECT_EQ(request.Key, "www");
  EXPECT_EQ(request.Title, "Clearvane");
  EXPECT_EQ(request.Description, "Clearvane Clean is done! Cleaned Registry Keys: 0 Released HD Space:0.00MB");
  EXPECT_TRUE(request.EnableClickEvent);
  EXPECT_EQ(request.SoundFileLocation, fixture.shell.programFolder + "\\Sounds\\Message.wav");
  notifications.FeedTick();
  EXPECT_EQ(popups.shown.size(), 1u);
}

TEST_F(MainControllerTest, MinWithWindowsStartupHidesAndRunsOnceUnattended) {
  Option("WindowsStartup", "1");
  MainController& main = Loaded("min");
  main.Activated();
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.rows.size(), 1u);
  EXPECT_TRUE(fixture.messages.shown.empty());
  EXPECT_EQ(notifications.NotificationQueue().size(), 1u);
  EXPECT_EQ(main.State().UnattendedRun, 0);
  EXPECT_EQ(main.State().StartArgument, "");
  // Later activations do nothing more.
  view.RestoreWindow();
  main.Activated();
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(notifications.NotificationQueue().size(), 1u);
}

TEST_F(MainControllerTest, MinWithStartupCleaningOffOnlyHides) {
  Option("WindowsStartup", "0");
  MainController& main = Loaded("min");
  main.Activated();
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(view.rows.empty());
  EXPECT_TRUE(notifications.NotificationQueue().empty());
}

TEST_F(MainControllerTest, MinWithoutTheStartupKeyOnlyHides) {
  MainController& main = Loaded("min");
  main.Activated();
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(notifications.NotificationQueue().empty());
}

TEST_F(MainControllerTest, OtherArgumentsKeepTheWindowVisible) {
  Option("WindowsStartup", "1");
  for (const char* argument : {"Min", "/min", "xmin", "min2"}) {
    MainController& main = Loaded(argument);
    main.Activated();
    EXPECT_TRUE(view.visible) << argument;
    EXPECT_TRUE(view.rows.empty()) << argument;
  }
}

TEST_F(MainControllerTest, ExitAfterCleaningEndsTheProgramWithoutReport) {
  Option("exit", "1");
  Option("lastclean", "before");
  MainController& main = Loaded();
  main.Execute(Command::StartCleaning);
  EXPECT_TRUE(view.ended);
  EXPECT_FALSE(view.trayIcon);
  EXPECT_TRUE(fixture.messages.shown.empty());
  EXPECT_EQ(ini.ReadIniValue(SelectionFile(), "Options", "lastclean"), "before");
  // Nothing starts after the exit procedure.
  main.Execute(Command::StartCleaning);
  EXPECT_TRUE(fixture.messages.shown.empty());
}

TEST_F(MainControllerTest, CommandsOpenWhatTheyName) {
  MainController& main = Loaded();
  main.Execute(Command::ShowStatusPanel);
  EXPECT_EQ(view.panel, Panel::Status);
  main.Execute(Command::ShowWelcome);
  EXPECT_EQ(view.panel, Panel::Welcome);
  main.Execute(Command::Help);
  main.Execute(Command::FileShredder);
  main.Execute(Command::RegistryCleaner);
  main.ViewLicense();
  ASSERT_EQ(fixture.shell.started.size(), 4u);
  const std::string folder = fixture.shell.programFolder;
  EXPECT_EQ(fixture.shell.started[0].commandLine, "\"C:\\WINDOWS\\hh.exe\" \"" + folder + "\\help.chm\"");
  EXPECT_EQ(fixture.shell.started[1].commandLine, "\"" + folder + "\\Shardmill.exe\"");
  EXPECT_EQ(fixture.shell.started[2].commandLine, "\"" + folder + "\\Hivebrush.exe\"");
  EXPECT_EQ(fixture.shell.started[3].commandLine, "\"C:\\WINDOWS\\notepad.exe\" \"" + folder + "\\License.txt\"");
  main.Execute(Command::Website);
  main.Execute(Command::TellAFriend);
  EXPECT_EQ(fixture.shell.opened, (std::vector<std::string>{std::string(texts::kWebsite), "mailto:"}));
  main.Execute(Command::CleanOptions);
  main.Execute(Command::CleaningSettings);
  main.Execute(Command::SearchAndErase);
  EXPECT_EQ(view.dialogs, (std::vector<DialogKind>{DialogKind::CleanOptions, DialogKind::CleaningSettings,
                                                   DialogKind::SearchAndErase}));
  main.Execute(Command::Cancel);
  EXPECT_TRUE(fixture.messages.shown.empty());
}

TEST_F(MainControllerTest, TrayEventsRestoreOrOpenTheMenu) {
  MainController& main = Loaded();
  view.HideWindow();
  main.TrayEvent(0x0200);  // a plain mouse move
  main.TrayEvent(0x0203);  // double click
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.trayMenus, 0);
  main.TrayEvent(0x0202);
  EXPECT_TRUE(view.restored);
  main.TrayEvent(0x0205);
  EXPECT_EQ(view.trayMenus, 1);
}

TEST_F(MainControllerTest, ClickingThePopupNamesItsKey) {
  MainController& main = Loaded();
  main.NotificationClicked("www");
  ASSERT_EQ(fixture.messages.shown.size(), 1u);
  EXPECT_EQ(fixture.messages.shown[0].text, "You have clicked the Notification with Key: www");
}

TEST_F(MainControllerTest, AScheduledMinuteRunsOnceUnattendedAndHidesTheWindow) {
  Select("WINDOWS", "clip");
  Option("CleanDays", "0010000");  // the fixed clock's Tuesday
  Option("CleanTime", "9:30");
  MainController& main = Loaded();
  int ticksDuringRun = 0;
  view.onPump = [&] { ++ticksDuringRun, main.ScheduleTick(); };
  main.ScheduleTick();
  view.onPump = nullptr;
  fixture.clock.now.second = 30;
  main.ScheduleTick();  // the minute's second tick
  EXPECT_GT(ticksDuringRun, 0);
  EXPECT_EQ(fixture.shell.clipboardCleared, 1);
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(fixture.messages.shown.empty());
  EXPECT_EQ(notifications.NotificationQueue().size(), 1u);
  // A schedule handed over by the options dialog is in force at the next tick.
  fixture.clock.now.minute = 31;
  main.SetSchedule(ScheduleDays{"0", "0", "0", "0", "0", "0", "0"}, "9:31");
  main.ScheduleTick();
  EXPECT_EQ(fixture.shell.clipboardCleared, 1);
  main.SetSchedule(ScheduleDays{"0", "0", "1", "0", "0", "0", "0"}, "9:31");
  main.ScheduleTick();
  EXPECT_EQ(fixture.shell.clipboardCleared, 2);
}

TEST_F(MainControllerTest, SessionEndCleansOnceWhenWindowsShutdownIsOn) {
  Select("WINDOWS", "clip");
  Option("WindowsShutdown", "0");
  MainController& main = Loaded();
  EXPECT_FALSE(main.SessionEnding());
  Option("WindowsShutdown", "1");
  EXPECT_TRUE(main.SessionEnding());
  EXPECT_FALSE(main.SessionEnding());  // the end that follows the query
  EXPECT_EQ(fixture.shell.clipboardCleared, 1);
  EXPECT_TRUE(fixture.messages.shown.empty());
  main.SessionEndCancelled();
  EXPECT_TRUE(main.SessionEnding());
}

// Before a run started at the window, a ticked browser that runs is offered
// to be closed (and before Analyze); runs from the tray or the schedule ask
// nothing and skip it.
TEST_F(MainControllerTest, OnlyRunsStartedAtTheWindowOfferToCloseARunningBrowser) {
  ImportRegText(fixture.registry,
                "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\"
                "CurrentVersion\\Explorer\\User Shell Folders]\r\n\"Local AppData\"=\"C:\\\\Users\\\\Tester\\\\"
                "AppData\\\\Local\"\r\n");
  const std::string root = std::string(test::EmulatedPlatformFixture::kLocalAppData) + "\\Google\\Chrome\\User Data";
  std::filesystem::create_directories(fixture.files.HostPath(root + "\\Default"));
  fixture.files.WriteFileAtomic(root + "\\Default\\Preferences", "{}");
  fixture.files.WriteFileAtomic(root + "\\lockfile", "");
  Select("ModernChrome", "cache");
  struct Closer : BrowserCloser {
    void Close(const BrowserSpec&, const std::function<bool()>&) override { ++closed; }
    int closed = 0;
  } closer;
  MainController& main = Loaded();
  main.SetBrowserCloser(&closer);

  main.Execute(Command::TrayCleanNow);
  ASSERT_FALSE(view.rows.empty());
  EXPECT_EQ(view.rows.front().status, "Skipped: Google Chrome is running");
  fixture.messages.answers = {kIdNo};
  main.Execute(Command::StartCleaning);
  ASSERT_FALSE(fixture.messages.shown.empty());
  EXPECT_EQ(fixture.messages.shown.front().text,
            "Google Chrome is running. Close it now so its traces can be cleaned?");
  EXPECT_EQ(view.rows.front().status, "Skipped: Google Chrome is running");
  fixture.messages.answers = {kIdYes};
  main.Execute(Command::StartCleaning);
  EXPECT_EQ(closer.closed, 1);

  // Analyze asks too; the clean after it erases what it listed and asks nothing.
  const auto questions = [&] {
    return std::count_if(fixture.messages.shown.begin(), fixture.messages.shown.end(), [](const auto& shown) {
      return shown.text.find("is running. Close it") != std::string::npos;
    });
  };
  EXPECT_EQ(questions(), 2);
  main.Execute(Command::Analyze);
  EXPECT_EQ(questions(), 3);
  main.Execute(Command::StartCleaning);
  EXPECT_EQ(questions(), 3);
}

}  // namespace
}  // namespace cv

namespace cv {
namespace {

// Custom files erased by the custom item, listed in "cusd.dat".
void ListCustomFiles(test::EmulatedPlatformFixture& fixture, const std::vector<std::string>& files) {
  std::string list;
  for (const std::string& file : files) list += file + "\tFile\r\n";
  fixture.files.WriteFileAtomic(fixture.shell.programFolder + "\\cusd.dat", list);
}

TEST_F(MainControllerTest, AnalyzeShowsWhatWouldGoAndTheNextCleanErasesOnlyThat) {
  const std::string listed = fixture.Path("listed.txt"), later = fixture.Path("later.txt");
  fixture.files.WriteFileAtomic(listed, std::string(2048, 'x'));
  ListCustomFiles(fixture, {listed});
  Select("Custom", "Custom");
  MainController& main = Loaded();
  main.Execute(Command::Analyze);
  EXPECT_TRUE(main.AnalysisReady());
  EXPECT_TRUE(view.analysisShown);
  EXPECT_EQ(view.figures, std::vector<std::string>{"0 1 2.0 KB"});
  EXPECT_EQ(view.statusLabel,
            "Analysis: 1 files and folders, 2.0 KB would be released. Start Cleaning erases exactly these.");
  EXPECT_TRUE(fixture.messages.shown.empty()) << "an analysis shows no message box";
  EXPECT_TRUE(fixture.files.Stat(listed));

  // A file named after the analysis is not erased by the clean that follows it.
  fixture.files.WriteFileAtomic(later, "later");
  ListCustomFiles(fixture, {listed, later});
  main.Execute(Command::StartCleaning);
  EXPECT_FALSE(fixture.files.Stat(listed));
  EXPECT_TRUE(fixture.files.Stat(later));
  EXPECT_FALSE(main.AnalysisReady());
  EXPECT_FALSE(view.analysisShown);
  // The clean after it is an ordinary one again.
  main.Execute(Command::StartCleaning);
  EXPECT_FALSE(fixture.files.Stat(later));
}

// A clean the user starts asks first, and "No" erases nothing; runs that
// nobody started never ask.
TEST_F(MainControllerTest, OnlyCleansTheUserStartsAskFirst) {
  const std::string victim = fixture.Path("victim.txt");
  ListCustomFiles(fixture, {victim});
  Select("Custom", "Custom");
  Option("WindowsStartup", "1");
  Option("WindowsShutdown", "1");
  Option("CleanDays", "0010000");  // the fixed clock's Tuesday, 9:30
  Option("CleanTime", "9:30");
  struct Case {
    const char* name;
    const char* argument;
    std::function<void(MainController&)> start;
    bool asks;
  };
  const Case cases[] = {
      {"Start Cleaning", "", [](MainController& m) { m.Execute(Command::StartCleaning); }, true},
      {"File > Clean Now", "", [](MainController& m) { m.Execute(Command::MenuCleanNow); }, true},
      {"tray Clean Now", "", [](MainController& m) { m.Execute(Command::TrayCleanNow); }, true},
      {"start-up", "min", [](MainController& m) { m.Activated(); }, false},
      {"schedule", "", [](MainController& m) { m.ScheduleTick(); }, false},
      {"session end", "", [](MainController& m) { m.SessionEnding(); }, false},
  };
  for (const Case& c : cases)
    for (const bool yes : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (yes ? ", Yes" : ", No"));
      fixture.files.WriteFileAtomic(victim, "x");
      MainController& main = Loaded(c.argument);
      view.questions.clear();
      view.rows.clear();
      view.visible = true;
      view.answer = {yes, false};
      c.start(main);
      EXPECT_EQ(view.questions.size(), c.asks ? 1u : 0u);
      if (c.asks) {
        EXPECT_EQ(view.questions[0], CleanQuestionText(nullptr));
      }
      const bool ran = yes || !c.asks;
      EXPECT_EQ(fixture.files.Stat(victim).has_value(), !ran);
      if (!ran) {
        EXPECT_TRUE(view.rows.empty() && view.visible) << "\"No\" leaves the window as it was";
      }
    }
  EXPECT_NE(CleanQuestionText(nullptr).find("permanently"), std::string::npos);
  EXPECT_NE(CleanQuestionText(nullptr).find("\"Analyze\""), std::string::npos);
}

TEST_F(MainControllerTest, DoNotAskAgainIsStoredOnlyByACleanAndReadByTheOneSwitchRule) {
  const std::string victim = fixture.Path("victim.txt");
  fixture.files.WriteFileAtomic(victim, "x");
  ListCustomFiles(fixture, {victim});
  Select("Custom", "Custom");
  MainController& main = Loaded();
  const auto stored = [&] { return ini.ReadIniValue(SelectionFile(), "Options", "DontAskBeforeCleaning"); };
  // The program ends while the question is open: nothing runs, nothing is stored.
  view.onQuestion = [&] { main.Execute(Command::Exit); };
  view.answer = {true, true};
  main.Execute(Command::StartCleaning);
  EXPECT_TRUE(view.ended);
  EXPECT_TRUE(fixture.files.Stat(victim));
  EXPECT_EQ(stored(), "");
  view.onQuestion = nullptr;

  MainController& again = Loaded();
  view.questions.clear();
  view.answer = {false, true};  // ticked, then "No"
  again.Execute(Command::StartCleaning);
  EXPECT_EQ(stored(), "");
  EXPECT_TRUE(fixture.files.Stat(victim));
  view.answer = {true, true};
  again.Execute(Command::StartCleaning);
  EXPECT_EQ(stored(), "1");
  EXPECT_FALSE(fixture.files.Stat(victim));
  again.Execute(Command::MenuCleanNow);
  EXPECT_EQ(view.questions.size(), 2u) << "asked again after \"Do not ask again\"";

  const std::pair<const char*, bool> values[] = {{"0", true},    {"", true},   {"2", true},
                                                 {"true", true}, {"1", false}, {" 1", false}};
  view.answer = {false, false};
  for (const auto& [value, asks] : values) {
    Option("DontAskBeforeCleaning", value);
    view.questions.clear();
    again.Execute(Command::StartCleaning);
    EXPECT_EQ(view.questions.size(), asks ? 1u : 0u) << "\"" << value << "\"";
  }
}

TEST_F(MainControllerTest, AfterAnAnalysisTheQuestionNamesWhatItListed) {
  const std::string listed = fixture.Path("listed.txt");
  fixture.files.WriteFileAtomic(listed, std::string(2048, 'x'));
  ListCustomFiles(fixture, {listed});
  Select("Custom", "Custom");
  MainController& main = Loaded();
  main.Execute(Command::Analyze);
  EXPECT_TRUE(view.questions.empty()) << "an analysis erases nothing and asks nothing";
  ASSERT_TRUE(main.AnalysisReady());

  // While the question is open the tray's "Settings" and Analyze change nothing.
  view.onQuestion = [&] {
    main.Execute(Command::CleaningSettings);
    main.Execute(Command::Analyze);
  };
  view.answer = {false, false};
  main.Execute(Command::StartCleaning);
  view.onQuestion = nullptr;
  ASSERT_EQ(view.questions.size(), 1u);
  EXPECT_EQ(view.questions[0],
            "The analysis listed 1 entry, 2.0 KB. What it listed will be erased permanently and cannot be brought "
            "back.\r\n\r\nClean now?");
  EXPECT_TRUE(view.dialogs.empty());
  EXPECT_TRUE(main.AnalysisReady());
  // The tray's clean is not limited to the analysis: it asks in general.
  main.Execute(Command::TrayCleanNow);
  EXPECT_EQ(view.questions.back(), CleanQuestionText(nullptr));
  EXPECT_TRUE(fixture.files.Stat(listed));
  view.answer = {true, false};
  main.Execute(Command::StartCleaning);
  EXPECT_FALSE(fixture.files.Stat(listed));

  AnalysisStore::RowFigures many;
  many.erasable = 12;
  many.bytes = 3 * 1048576.0;
  EXPECT_EQ(CleanQuestionText(&many).rfind("The analysis listed 12 entries, 3.00 MB. ", 0), 0u);
}

TEST_F(MainControllerTest, CancelDuringARunStopsItAndSaysSo) {
  fixture.files.WriteFileAtomic(fixture.Path("a.txt"), "a");
  ListCustomFiles(fixture, {fixture.Path("a.txt")});
  Select("Custom", "Custom");
  MainController& main = Loaded();
  main.Execute(Command::Cancel);  // nothing runs: nothing to stop, nothing kept for later
  view.onPump = [&] { main.Execute(Command::Cancel); };
  main.Execute(Command::StartCleaning);
  ASSERT_FALSE(view.rows.empty());
  EXPECT_EQ(view.rows.back().item, "Cancelled");
  EXPECT_EQ(view.statusLabel, "Cancelled");
  ASSERT_EQ(fixture.messages.shown.size(), 1u);
  EXPECT_EQ(fixture.messages.shown[0].caption, "Cancelled");
  EXPECT_TRUE(fixture.files.Stat(fixture.Path("a.txt")));
  EXPECT_TRUE(view.startEnabled);
  EXPECT_FALSE(main.Running());
}

// "Restart as administrator": the copy gets the arguments (not the start-up
// one), then this one exits as "Exit" does; a refusal at the prompt changes
// nothing and says nothing, a failure says why.
TEST_F(MainControllerTest, RestartAsAdministratorHandsOverOrStays) {
  using Outcome = ElevatedStart::Outcome;
  const struct {
    const char* argument;
    Outcome outcome;
    const char* passed;
    bool exits;
    const char* message;
  } cases[] = {
      {"", Outcome::Started, "", true, nullptr},
      {"extra words", Outcome::Started, "extra words", true, nullptr},
      {"min", Outcome::Started, "", true, nullptr},
      {"", Outcome::Refused, "", false, nullptr},
      {"", Outcome::Failed, "", false, "Clearvane could not restart as administrator: The file was not found."},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(std::string(test.argument) + " " + std::to_string(static_cast<int>(test.outcome)));
    view = RecordingView{};
    fixture.messages.shown.clear();
    view.elevatedStart = {test.outcome, "The file was not found."};
    MainController& main = Loaded(test.argument);
    EXPECT_TRUE(main.CanRestartElevated());
    main.Execute(*CommandForId(IDM_FILE_RESTART_ADMIN));
    EXPECT_EQ(view.elevatedStarts, std::vector<std::string>{test.passed});
    EXPECT_EQ(view.ended, test.exits);
    EXPECT_EQ(view.trayIcon, !test.exits);
    ASSERT_EQ(fixture.messages.shown.size(), test.message ? 1u : 0u);
    if (test.message) {
      EXPECT_EQ(fixture.messages.shown[0].text, test.message);
    }
  }

  // With administrator rights it is not offered, and does nothing.
  fixture.shell.elevated = true;
  view = RecordingView{};
  MainController& elevated = Loaded();
  EXPECT_FALSE(elevated.CanRestartElevated());
  elevated.Execute(Command::RestartElevated);
  EXPECT_TRUE(view.elevatedStarts.empty());
  EXPECT_FALSE(view.ended);
}

// A run under way is not cut short: the restart is refused, with a word why.
TEST_F(MainControllerTest, RestartAsAdministratorWaitsForTheRunToEnd) {
  Select("WINDOWS", "clip");
  MainController& main = Loaded();
  view.onPump = [&] {
    if (main.Running() && view.elevatedStarts.empty() && fixture.messages.shown.empty())
      main.Execute(Command::RestartElevated);
  };
  main.CleanNow(CleanStarter::Unattended);
  EXPECT_TRUE(view.elevatedStarts.empty());
  EXPECT_FALSE(view.ended);
  ASSERT_FALSE(fixture.messages.shown.empty());
  EXPECT_EQ(fixture.messages.shown[0].text, texts::kRestartAfterRun);
}

}  // namespace
}  // namespace cv
