// Analyze, the clean that follows it, and Cancel, on the real window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "driver.h"
#include "gui_fixture_win.h"
#include "resources/resource.h"
#include "resources/window_res.h"
#include "ui/window_names.h"

namespace cv::guidriver {
namespace {

namespace fs = std::filesystem;

class WindowGui : public ProgramFixture {
 protected:
  // A folder of Firefox profiles in the sandbox user's own profile, removed afterwards.
  fs::path Profiles(const std::string& name) {
    const char* appData = std::getenv("APPDATA");
    EXPECT_NE(appData, nullptr);
    profile_ = fs::path(appData ? appData : ".") / "Mozilla" / "Firefox" / "Profiles" / name;
    return profile_;
  }
  static void WriteFile(const fs::path& path, std::size_t bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << std::string(bytes, 'c');
  }
  HWND OpenStatusPanel(HWND main) {
    Click(FindControl(main, IDC_IMAGE3));
    EXPECT_TRUE(WaitUntil([&] { return IsShown(FindControl(main, IDC_COMMAND1)); }, 5000));
    return FindControl(main, IDC_COMMAND1);
  }
  std::wstring StatusLabel(HWND main) { return Text(FindControl(main, IDC_SKINLABEL5)).value_or(L"?"); }
};

TEST_F(WindowGui, AnalyzeFillsTheListAndTheDetailsAndTheCleanErasesOnlyWhatItListed) {
  const fs::path profiles = Profiles("clearvane-analyze");
  for (const char* name : {"a", "b"}) WriteFile(profiles / name / "cookies.sqlite", 1000);
  const fs::path victim = Victim(4096);
  selection_ += "[FIREFOX]\r\nCookies=1\r\n";
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  PressKey(main, {VK_CONTROL}, 'R');
  if (!WaitUntil([&] { return StatusLabel(main).rfind(L"Analysis:", 0) == 0; }, 3000))
    PostCommand(main, IDM_FILE_ANALYZE);  // without keyboard focus in this display
  ASSERT_TRUE(WaitUntil([&] { return StatusLabel(main).rfind(L"Analysis:", 0) == 0; }, 60000)) << "no analysis";

  HWND list = FindControl(main, IDC_LISTVIEW1);
  const auto rows = ListViewRows(list, 4);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"Firefox Cookies", L"Done", L"2", L"2.0 KB"}));
  EXPECT_EQ(rows[1], (std::vector<std::wstring>{L"Custom Item", L"Done", L"1", L"4.0 KB"}));
  EXPECT_EQ(rows[2][0], L"Analysis complete: nothing was erased.");
  EXPECT_EQ(StatusLabel(main),
            L"Analysis: 3 files and folders, 6.0 KB would be released. Start Cleaning erases exactly these.");
  EXPECT_EQ(FindTopWindow(MessageBox(L"Task Complete")), nullptr) << "an analysis reports in the window";

  // The details of the first row, then narrowed by the filter box.
  HWND details = FindControl(main, IDC_DETAILS_LIST);
  ASSERT_TRUE(IsShown(details));
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(details) == 2; }, 5000));
  const auto entries = ListViewRows(details, 3);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_NE(entries[0][0].find(L"\\a\\cookies.sqlite"), std::wstring::npos);
  EXPECT_EQ(entries[0][1], L"1000 bytes");
  EXPECT_EQ(entries[0][2], L"file");
  ASSERT_TRUE(SetText(FindControl(main, IDC_DETAILS_FILTER), L"\\B\\"));
  EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(details) == 1; }, 5000)) << "the filter did not apply";
  Screenshot(main, "analysis");
  EXPECT_TRUE(fs::exists(victim));
  EXPECT_TRUE(fs::exists(profiles / "a" / "cookies.sqlite"));

  // Meanwhile a new profile appears; the clean leaves it alone.
  WriteFile(profiles / "c" / "cookies.sqlite", 500);
  Click(FindControl(main, IDC_COMMAND1));
  HWND question = WaitForWindow(CleanQuestion(), 10000);
  ASSERT_NE(question, nullptr) << "no question before the clean";
  EXPECT_NE(AllTexts(question).find(L"The analysis listed 3 entries, 6.0 KB."), std::wstring::npos);
  Screenshot(question, "question");
  EXPECT_EQ(ClippedControls(question), std::vector<std::wstring>{});
  ASSERT_TRUE(AnswerCleanQuestion(VK_RETURN));
  HWND box = WaitForWindow(MessageBox(L"Task Complete"), 120000);
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(fs::exists(profiles / "a" / "cookies.sqlite"));
  EXPECT_FALSE(fs::exists(profiles / "b" / "cookies.sqlite"));
  EXPECT_FALSE(fs::exists(victim));
  EXPECT_TRUE(fs::exists(profiles / "c" / "cookies.sqlite"));
  EXPECT_FALSE(IsShown(details));
  Click(FindControl(box, IDOK));
  ASSERT_TRUE(WaitForNoWindow(MessageBox(L"Task Complete"), 10000));
  EXPECT_NE(ReadSelection().find("filesize=6096"), std::string::npos);
}

// A profile of 100,000 empty files (CV_GUI_CACHE_FILES sets another count)
// with a cookie file in each of its folders: "Firefox Cookies" searches it all.
TEST_F(WindowGui, CancelStopsALongRunAtOnceAndTheReportCountsWhatWasDone) {
  int files = 100000;
  if (const char* count = std::getenv("CV_GUI_CACHE_FILES")) files = std::max(1000, std::atoi(count));
  const fs::path profile = Profiles("clearvane-cancel.default");
  const int folders = BulkFiles(profile, files);
  for (int d = 0; d < folders; ++d) WriteFile(profile / ("d" + std::to_string(d)) / "cookies.sqlite", 100);
  auto cookiesLeft = [&] {
    int left = 0;
    for (int d = 0; d < folders; ++d) left += fs::exists(profile / ("d" + std::to_string(d)) / "cookies.sqlite");
    return left;
  };
  selection_ += "[FIREFOX]\r\nCookies=1\r\n[Options]\r\n" + std::string(kDontAsk);
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  HWND list = FindControl(main, IDC_LISTVIEW1);

  // Once by the button, timed; once by the tray menu's command; once by Esc
  // in the results list.
  for (int id : {IDC_COMMAND2, IDM_TRAY_CANCEL, IDM_ESCAPE_CANCEL}) {
    SCOPED_TRACE(id);
    const int before = cookiesLeft();
    Click(OpenStatusPanel(main));
    ASSERT_TRUE(WaitUntil([&] { return StatusLabel(main) == L"Cleaning Firefox Cookies ......"; }, 30000, 5))
        << "the run did not start, or ended too soon to be cancelled";
    const ULONGLONG asked = ::GetTickCount64();
    if (id == IDC_COMMAND2)
      Click(FindControl(main, IDC_COMMAND2));
    else if (id == IDM_TRAY_CANCEL)
      PostCommand(main, IDM_TRAY_CANCEL);
    else
      ::PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 1);
    const bool stopped = WaitUntil([&] { return StatusLabel(main) == L"Cancelled"; }, 10000, 5);
    if (!stopped) Screenshot(nullptr, "not-cancelled");
    const std::wstring label = StatusLabel(main);
    ASSERT_TRUE(stopped) << "running: " << process_->Running()
                         << ", label: " << std::string(label.begin(), label.end());
    const ULONGLONG took = ::GetTickCount64() - asked;
    // The delay is reported, not asserted: a loaded machine may take longer,
    // and what must hold is that the run stopped before its end (below).
    if (id == IDC_COMMAND2)
      std::cout << "stopped " << took << " ms after Cancel, in a run over " << files << " files\n";

    HWND box = WaitForWindow(MessageBox(L"Cancelled"), 10000);
    ASSERT_NE(box, nullptr);
    const int erased = before - cookiesLeft();
    EXPECT_GT(cookiesLeft(), 0) << "the run went to its end";
    const std::wstring expected = L"Cancelled. Cleaned Registry Keys: 0 Released HD Space:";
    EXPECT_NE(AllTexts(box).find(expected), std::wstring::npos);
    const auto rows = ListViewRows(list, 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"Firefox Cookies", L"Cancelled"}));
    EXPECT_EQ(rows[1][0], L"Cancelled");
    if (id == IDC_COMMAND2) Screenshot(nullptr, "cancelled");
    Click(FindControl(box, IDOK));
    ASSERT_TRUE(WaitForNoWindow(MessageBox(L"Cancelled"), 10000));
    // The stored figure is what this run erased.
    EXPECT_NE(ReadSelection().find("filesize=" + std::to_string(erased * 100) + "\r\n"), std::string::npos)
        << ReadSelection() << " erased " << erased;
    EXPECT_TRUE(IsEnabled(FindControl(main, IDC_COMMAND1)));
  }
}

}  // namespace
}  // namespace cv::guidriver
