// The real clearvane.exe under Wine and Xvfb, driven from outside, each test
// in a fresh data folder (gui_fixture_win.h).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "driver.h"
#include "gui_fixture_win.h"
#include "resources/resource.h"
#include "ui/window_names.h"

namespace cv::guidriver {
namespace {

namespace fs = std::filesystem;

class ClearvaneGui : public ProgramFixture {};

TEST_F(ClearvaneGui, SplashShowsFirstThenTheMainWindowWithItsWelcomePanel) {
  Start();
  HWND splash = WaitForWindow({process_->Id(), ui::kSplashClass, L"", true}, kStartTimeoutMs);
  ASSERT_NE(splash, nullptr);
  EXPECT_EQ(FindTopWindow(Main()), nullptr) << "the main window shows while the splash is up";
  Screenshot(splash, "splash");
  const ULONGLONG splashSeen = ::GetTickCount64();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  EXPECT_GE(::GetTickCount64() - splashSeen, 1000u) << "the splash closed too early";
  EXPECT_TRUE(WaitForNoWindow({process_->Id(), ui::kSplashClass, L"", true}, 5000));

  EXPECT_TRUE(IsShown(FindControl(main, IDC_FRAME2)));
  EXPECT_FALSE(IsShown(FindControl(main, IDC_FRAME4)));
  EXPECT_EQ(Text(FindControl(main, IDC_WELCOME_LINE)),
            L"Ensure your privacy by erasing kinds of tracks from your computer.");
  EXPECT_EQ(Text(FindControl(main, IDC_WELCOME_HEADING1)), L"Using this program, you can clean and remove:");
  EXPECT_EQ(Text(FindControl(main, IDC_LABEL4)), L"Search and  Erase");
  EXPECT_EQ(Text(FindControl(main, IDC_LABEL14)), L"  Cleaned Registry Keys: 0     Released HD Space:0.00MB");
  EXPECT_EQ(Text(FindControl(main, IDC_SKINLABEL10)), L"Last Cleaned at:");
  EXPECT_EQ(Text(FindControl(main, IDC_LABEL12)), L"");
  Screenshot(main, "welcome");

  // "CLEAN NOW" shows the status panel with its controls.
  Click(FindControl(main, IDC_IMAGE3));
  ASSERT_TRUE(WaitUntil([&] { return IsShown(FindControl(main, IDC_FRAME4)); }, 5000));
  EXPECT_FALSE(IsShown(FindControl(main, IDC_FRAME2)));
  EXPECT_EQ(Text(FindControl(main, IDC_COMMAND1)), L"Start Cleaning >>");
  EXPECT_EQ(Text(FindControl(main, IDC_COMMAND2)), L"Cancel");
  EXPECT_EQ(Text(FindControl(main, IDC_FRAME4)), L"Status");
  Click(FindControl(main, IDC_IMAGE1));
  EXPECT_TRUE(WaitUntil([&] { return IsShown(FindControl(main, IDC_FRAME2)); }, 5000));
}

TEST_F(ClearvaneGui, StartCleaningFillsTheListAndEndsWithTheTaskCompleteMessage) {
  const fs::path victim = Victim(1048576);
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  Click(FindControl(main, IDC_IMAGE3));
  HWND start = FindControl(main, IDC_COMMAND1);
  ASSERT_TRUE(WaitUntil([&] { return IsShown(start); }, 5000));
  Click(start);
  ASSERT_TRUE(AnswerCleanQuestion('Y'));

  HWND box = WaitForWindow(MessageBox(L"Task Complete"), 120000);
  ASSERT_NE(box, nullptr) << "no \"Task Complete\" message box";
  EXPECT_NE(AllTexts(box).find(L"Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:1.00MB"),
            std::wstring::npos)
      << "message box text: " << std::string(AllTexts(box).begin(), AllTexts(box).end());
  HWND list = FindControl(main, IDC_LISTVIEW1);
  const auto rows = ListViewRows(list, 2);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"Custom Item", L"Done"}));
  EXPECT_EQ(rows[1], (std::vector<std::wstring>{L"Task complete Successfully!", L""}));
  EXPECT_EQ(ProgressValue(FindControl(main, IDC_PROGRESS)), 100);
  EXPECT_EQ(Text(FindControl(main, IDC_SKINLABEL5)), L"Task complete Successfully!");
  EXPECT_TRUE(IsEnabled(start));
  EXPECT_FALSE(fs::exists(victim));
  Screenshot(nullptr, "report");

  Click(FindControl(box, IDOK));
  ASSERT_TRUE(WaitForNoWindow(MessageBox(L"Task Complete"), 10000));
  EXPECT_TRUE(WaitUntil([&] { return Text(FindControl(main, IDC_LABEL12)).value_or(L"") != L""; }, 5000));
  EXPECT_EQ(Text(FindControl(main, IDC_LABEL14)), L"  Cleaned Registry Keys: 0     Released HD Space:1.00MB");
  EXPECT_NE(ReadSelection().find("filesize=1048576"), std::string::npos);
  Screenshot(main, "after-run");
}

TEST_F(ClearvaneGui, MinWithStartupCleaningHidesTheWindowRunsOnceAndReportsByPopup) {
  const fs::path victim = Victim(2048);
  selection_ += "[Options]\r\nWindowsStartup=1\r\n";
  Start(L"min");
  ASSERT_NE(WaitForWindow(Main(false), kStartTimeoutMs), nullptr);
  HWND popup = WaitForWindow(Popup(), 60000);
  ASSERT_NE(popup, nullptr) << "no pop-up after the unattended run";
  const ULONGLONG shownAt = ::GetTickCount64();
  EXPECT_EQ(FindTopWindow(Main()), nullptr) << "the main window is visible after a start with min";
  EXPECT_EQ(FindTopWindow(MessageBox(L"Task Complete")), nullptr);
  EXPECT_FALSE(fs::exists(victim));
  EXPECT_EQ(Text(FindControl(popup, IDC_POPUP_TITLE)), L"Clearvane");
  EXPECT_EQ(Text(FindControl(popup, IDC_POPUP_DESCRIPTION)),
            L"Clearvane Clean is done! Cleaned Registry Keys: 0 Released HD Space:0.00MB");

  // It grows out of the work area's bottom-right corner.
  ASSERT_TRUE(WaitUntil([&] { return ScreenRect(popup).bottom - ScreenRect(popup).top > 60; }, 5000));
  const RECT work = WorkArea(), rect = ScreenRect(popup);
  EXPECT_LE(rect.right, work.right);
  EXPECT_GE(rect.right, work.right - 20);
  EXPECT_LE(std::abs(rect.bottom - work.bottom), 20);
  Screenshot(nullptr, "popup");

  // About five seconds at full height, then it shrinks away.
  ASSERT_TRUE(WaitForNoWindow(Popup(), 20000)) << "the pop-up stayed";
  const ULONGLONG shownFor = ::GetTickCount64() - shownAt;
  EXPECT_GE(shownFor, 5000u);
  EXPECT_LE(shownFor, 12000u);
  // One run only, and the window stays in the tray.
  ::Sleep(1500);
  EXPECT_EQ(FindTopWindow(Popup()), nullptr);
  EXPECT_EQ(FindTopWindow(Main()), nullptr);
  EXPECT_TRUE(process_->Running());
}

TEST_F(ClearvaneGui, MinWithStartupCleaningOffOnlyHides) {
  const fs::path victim = Victim(10);
  selection_ += "[Options]\r\nWindowsStartup=0\r\n";
  Start(L"min");
  HWND main = WaitForWindow(Main(false), kStartTimeoutMs);
  ASSERT_NE(main, nullptr);
  ::Sleep(4000);  // splash, first activation, and time for a run that must not come
  EXPECT_FALSE(IsShown(main));
  EXPECT_EQ(FindTopWindow(Popup()), nullptr);
  EXPECT_TRUE(fs::exists(victim));
}

TEST_F(ClearvaneGui, OtherArgumentsKeepTheWindowShown) {
  selection_ += "[Options]\r\nWindowsStartup=0\r\n";
  Start(L"Min");
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  ::Sleep(1500);
  EXPECT_TRUE(IsShown(main));
}

TEST_F(ClearvaneGui, CloseHidesToTheTrayAndALeftClickRestores) {
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);  // the title bar's close button
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(main); }, 5000)) << "closing did not hide the window";
  ::Sleep(500);
  EXPECT_TRUE(process_->Running());
  // Presses, moves and double clicks do nothing; the release of the left button restores.
  for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN}) PostTrayCallback(main, message);
  ::Sleep(800);
  EXPECT_FALSE(::IsWindowVisible(main));
  // A real mouse move at x = 514 over the window is not a tray event any more.
  ::PostMessageW(main, WM_MOUSEMOVE, 0, MAKELPARAM(514, 10));
  ::Sleep(500);
  EXPECT_FALSE(::IsWindowVisible(main));
  PostTrayCallback(main, WM_LBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] { return IsShown(main); }, 5000)) << "a left click on the icon did not restore";
}

// The user started it: it asks first, and "No" leaves everything as it was.
TEST_F(ClearvaneGui, TrayCleanNowAsksThenLeavesTheWindowHiddenAndReportsByPopup) {
  const fs::path victim = Victim(100);
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  PostCommand(main, IDM_TRAY_CLEANNOW);
  ASSERT_TRUE(AnswerCleanQuestion('N'));
  ::Sleep(1000);
  EXPECT_TRUE(fs::exists(victim));
  EXPECT_TRUE(IsShown(main));
  EXPECT_EQ(FindTopWindow(Popup()), nullptr);
  PostCommand(main, IDM_TRAY_CLEANNOW);
  ASSERT_TRUE(AnswerCleanQuestion(VK_RETURN));
  HWND popup = WaitForWindow(Popup(), 60000);
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(fs::exists(victim));
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(main); }, 5000));
  EXPECT_EQ(FindTopWindow(MessageBox(L"Task Complete")), nullptr);
  // The tray menu's "Restore" brings it back.
  PostCommand(main, IDM_TRAY_RESTORE);
  EXPECT_TRUE(WaitUntil([&] { return IsShown(main); }, 5000));
  const auto rows = ListViewRows(FindControl(main, IDC_LISTVIEW1), 2);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back()[0], L"Task complete Successfully!");
}

TEST_F(ClearvaneGui, ExitRemovesTheTrayIconAndEndsTheProgram) {
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  const bool trayWorks = TrayIconPresent(main, CV_TRAY_ICON_ID);
  PostCommand(main, IDM_FILE_EXIT);
  ASSERT_TRUE(process_->WaitForExit(15000)) << "Exit did not end the program";
  if (!trayWorks) GTEST_SKIP() << "this system has no notification area to ask about the icon";
  EXPECT_FALSE(TrayIconPresent(main, CV_TRAY_ICON_ID));
}

// A browser profile holding a cache of many files (CV_GUI_CACHE_FILES,
// 100,000 unless set), in the sandbox prefix's own profile: while the
// "Firefox Cookies" item searches it for its file, the window answers, and its
// list and progress bar can be read.
TEST_F(ClearvaneGui, TheWindowAnswersDuringALongRun) {
  int files = 100000;
  if (const char* count = std::getenv("CV_GUI_CACHE_FILES")) files = std::max(1, std::atoi(count));
  const char* appData = std::getenv("APPDATA");
  ASSERT_NE(appData, nullptr);
  profile_ = fs::path(appData) / "Mozilla" / "Firefox" / "Profiles" / "clearvane-gui.default";
  const fs::path cache = profile_ / "cache2" / "entries";
  BulkFiles(cache, files);
  const fs::path cookies = profile_ / "zz" / "cookies.sqlite";
  fs::create_directories(cookies.parent_path());
  std::ofstream(cookies) << "cookies";
  selection_ += "[FIREFOX]\r\nCookies=1\r\n[Options]\r\n" + std::string(kDontAsk);
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  Click(FindControl(main, IDC_IMAGE3));
  HWND list = FindControl(main, IDC_LISTVIEW1);
  HWND start = FindControl(main, IDC_COMMAND1);
  ASSERT_TRUE(WaitUntil([&] { return IsShown(start); }, 5000));
  Click(start);

  // Under way: the row shows the item at work, the button is disabled, and
  // every read is answered in time.
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list).value_or(0) >= 1; }, 30000));
  int answeredWhileRunning = 0;
  while (FindTopWindow(MessageBox(L"Task Complete")) == nullptr && answeredWhileRunning < 20) {
    const auto rows = ListViewRows(list, 2);
    const auto progress = ProgressValue(FindControl(main, IDC_PROGRESS));
    if (FindTopWindow(MessageBox(L"Task Complete"))) break;
    ASSERT_TRUE(progress.has_value()) << "the window did not answer during the run";
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0][0], L"Firefox Cookies");
    if (rows.size() == 1) {
      EXPECT_EQ(rows[0][1], L"Cleaning Firefox Cookies ......");
      EXPECT_FALSE(IsEnabled(start));
      if (answeredWhileRunning == 0) Screenshot(main, "running");
      ++answeredWhileRunning;
    }
    ::Sleep(100);
  }
  EXPECT_GT(answeredWhileRunning, 0) << "the run ended before the window could be read";
  HWND box = WaitForWindow(MessageBox(L"Task Complete"), 600000);
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(fs::exists(cookies));
  EXPECT_TRUE(fs::exists(cache));  // the item removes its own file only
  Click(FindControl(box, IDOK));
}

TEST_F(ClearvaneGui, TheAboutBoxOpensFromItsShortcutAndCloses) {
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  PressKey(main, {VK_CONTROL}, 'A');
  HWND about = WaitForWindow(MessageBox(L"About Clearvane"), 10000);
  if (!about) {
    // Without keyboard focus in this display, ask through the menu instead.
    PostCommand(main, IDM_HELP_ABOUT);
    about = WaitForWindow(MessageBox(L"About Clearvane"), 10000);
  }
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(Text(FindControl(about, IDC_ABOUT_VERSION)), L"Ver 6.1        Build:6.1.111201");
  Screenshot(about, "about");
  Click(FindControl(about, IDC_ABOUT_EXIT));
  EXPECT_TRUE(WaitForNoWindow(MessageBox(L"About Clearvane"), 5000));
  EXPECT_TRUE(IsShown(main));
}

}  // namespace
}  // namespace cv::guidriver
