// "Cleaning Settings" and the two keep-list windows, driven from outside in
// the real clearvane.exe under Wine and Xvfb. Every test runs the exe from a
// fresh temporary folder with its own selection, custom item and plug-in
// files; registry values a test sets are put back afterwards.
// clang-format off
#include "platform/win32/win.h"
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "config/selection_schema.h"
#include "driver.h"
#include "gui_fixture_win.h"
#include "resources/modern_browsers_res.h"
#include "resources/modern_windows_res.h"
#include "resources/resource.h"
#include "resources/selection_res.h"
#include "resources/winapp2_res.h"
#include "ui/window_names.h"

namespace cv::guidriver {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kSettingsCaption[] = L"Cleaning Settings";
constexpr DWORD kWaitMs = 10000;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::wstring WithoutMnemonic(const std::optional<std::wstring>& text) {
  std::wstring shown;
  for (std::size_t i = 0; text && i < text->size(); ++i) {
    if ((*text)[i] == L'&') ++i;
    if (i < text->size()) shown += (*text)[i];
  }
  return shown;
}

int SwitchId(std::string_view section, std::string_view key) {
  return IDC_SWITCH_FIRST + static_cast<int>(*FindSwitchIndex(section, key));
}

int SelectAllId(SelectionFrame frame) { return IDC_SELECTALL_FIRST + static_cast<int>(frame); }

class SelectionGui : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path exe = ProgramUnderTest();
    ASSERT_FALSE(exe.empty()) << "clearvane.exe not found above " << ModuleFolder();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / (L"clearvane-selection-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                           std::wstring(info->name(), info->name() + std::strlen(info->name())));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    fs::copy_file(exe, folder_ / "clearvane.exe");
    screenshots_ = ModuleFolder() / "screenshots";
    fs::create_directories(screenshots_);
    WriteBytes(folder_ / "vanesd.dat", "[Maxthon]\r\nkeywords=0\r\npages=0\r\nsettings=0\r\ngroups=0\r\nfolder=0\r\n");
    WriteBytes(folder_ / "cusd.dat", "");
    WriteBytes(
        folder_ / "plus-in" / "Alpha.vpe",
        "[name]\r\nappname=Alpha\r\n[version]\r\nappver=2.1\r\n[dec]\r\ndecs=Alpha traces\r\n[swich]\r\non=1\r\n");
  }

  void TearDown() override {
    if (process_) process_->Kill();
    process_.reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  HWND StartMain() {
    process_ = Process::Start((folder_ / "clearvane.exe").wstring(), L"", folder_.wstring());
    if (!process_) return nullptr;
    HWND main = WaitForWindow({process_->Id(), ui::kMainWindowClass, kMainCaption, true}, kStartTimeoutMs);
    EXPECT_NE(main, nullptr) << "the main window did not appear";
    return main;
  }

  WindowQuery Dialog(const std::wstring& caption) const { return {process_->Id(), L"#32770", caption, true}; }

  // Opens the settings through the File menu's command.
  HWND OpenSettings(HWND main) {
    PostCommand(main, IDM_FILE_SETTINGS);
    HWND settings = WaitForWindow(Dialog(kSettingsCaption), kWaitMs);
    EXPECT_NE(settings, nullptr) << "\"Cleaning Settings\" did not open";
    return settings;
  }

  // Answers the message box with this caption by the button with this id.
  bool Answer(const std::wstring& caption, int button, std::wstring* text = nullptr) {
    HWND box = WaitForWindow(Dialog(caption), kWaitMs);
    if (!box) return false;
    if (text) *text = AllTexts(box);
    Click(FindControl(box, button));
    return WaitUntil([&] { return !::IsWindow(box) || !IsShown(box); }, kWaitMs);
  }

  std::optional<bool> Checked(HWND settings, int id) { return IsChecked(FindControl(settings, id)); }

  void Screenshot(HWND window, const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    SaveScreenshot(window, (screenshots_ / (std::string(info->name()) + "-" + name + ".png")).wstring());
  }

  fs::path folder_, screenshots_;
  std::optional<Process> process_;
};

TEST_F(SelectionGui, EveryPageShowsAndFitsAndCtrlTabWalksThePages) {
  HWND main = StartMain();
  ASSERT_NE(main, nullptr);
  HWND settings = OpenSettings(main);
  ASSERT_NE(settings, nullptr);
  EXPECT_FALSE(IsEnabled(main)) << "the dialog is modal";

  const RECT window = ScreenRect(settings), area = WorkArea();
  EXPECT_LE(window.right - window.left, 1024);
  EXPECT_LE(window.bottom - window.top, 768 - 40);
  EXPECT_GE(window.left, area.left);
  EXPECT_LE(window.bottom, area.bottom);

  EXPECT_EQ(ClippedControls(settings), std::vector<std::wstring>{});
  EXPECT_EQ(Text(FindControl(settings, IDOK)), L"OK");
  EXPECT_EQ(Text(FindControl(settings, IDCANCEL)), L"Cancel");
  // The captions as shown: a mnemonic's "&" is not part of the text.
  EXPECT_EQ(WithoutMnemonic(Text(FindControl(settings, SwitchId("EXPLORER", "location")))), L"IE Address Bar History");
  EXPECT_EQ(WithoutMnemonic(Text(FindControl(settings, SelectAllId(SelectionFrame::kSafari)))),
            L"Select all of the above");

  // The 19 pages in order through Ctrl+Tab; each page's first box shows
  // (the lists of the pages without boxes: plug-ins, browsers, community).
  const std::pair<const char*, const char*> firstBoxes[] = {
      {"EXPLORER", "location"}, {"FIREFOX", "Address"},   {"OPERA", "Address"},   {"NETSCAPE", "Location"},
      {"AOL", "Address"},       {"MSN", "Location"},      {"Mozilla", "Address"}, {"Maxthon", "keywords"},
      {"Chrome", "download"},   {"Safari", "history"},    {nullptr, "browsers"},  {"WINDOWS", "recent"},
      {nullptr, "windows10"},   {"OFFICE", "word"},       {nullptr, nullptr},     {nullptr, "community"},
      {"Custom", "Custom"},     {"Messenger", "msnchat"}, {"outlook", "address"}};
  const char* names[] = {"ie",           "firefox",   "opera",  "netscape",  "aol",     "msn",       "mozilla",
                         "maxthon",      "chrome",    "safari", "modern",    "windows", "windows10", "office",
                         "applications", "community", "custom", "messaging", "email"};
  for (std::size_t page = 0; page < std::size(firstBoxes); ++page) {
    if (firstBoxes[page].first) {
      HWND box = FindControl(settings, SwitchId(firstBoxes[page].first, firstBoxes[page].second));
      EXPECT_TRUE(WaitUntil([&] { return IsShown(box); }, 3000)) << names[page];
    } else {
      const std::string_view which = firstBoxes[page].second ? firstBoxes[page].second : "";
      const int list = which == "community"   ? IDC_COMMUNITY_LIST
                       : which == "browsers"  ? IDC_BROWSERS_LIST
                       : which == "windows10" ? IDC_MODERN_WINDOWS_LIST
                                              : IDC_PLUGIN_LIST;
      EXPECT_TRUE(WaitUntil([&] { return IsShown(FindControl(settings, list)); }, 3000)) << names[page];
    }
    ::Sleep(300);  // painted
    Screenshot(settings, std::to_string(page + 10) + "-" + names[page]);
    if (page == 0) {
      SaveScreenshot(settings, (screenshots_ / "selection-browsers.png").wstring());
    }
    PressKey(settings, {VK_CONTROL}, VK_TAB);
  }
  EXPECT_TRUE(WaitUntil([&] { return IsShown(FindControl(settings, SwitchId("EXPLORER", "location"))); }, 3000))
      << "Ctrl+Tab wraps to the first page";
  PressKey(settings, {VK_CONTROL, VK_SHIFT}, VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return IsShown(FindControl(settings, SwitchId("outlook", "address"))); }, 3000))
      << "Ctrl+Shift+Tab goes back to the last page";

  // The plug-in list with its tick.
  const auto plugins = ListViewRows(FindControl(settings, IDC_PLUGIN_LIST), 3);
  ASSERT_EQ(plugins.size(), 1u);
  EXPECT_EQ(plugins[0], (std::vector<std::wstring>{L"Alpha", L"2.1", L"Alpha 2.1 Alpha traces"}));

  PressKey(settings, {}, VK_ESCAPE);
  EXPECT_TRUE(WaitForNoWindow(Dialog(kSettingsCaption), kWaitMs)) << "Esc is Cancel";
  EXPECT_TRUE(IsEnabled(main));
}

// The community page by the keyboard: detected entries only, the search,
// a warning when an entry that has one is ticked, and the tick stored on OK.
TEST_F(SelectionGui, CommunityPageWarnsWhenTickedAndStoresTheTick) {
  WriteBytes(folder_ / "winapp2.ini",
             "[Zed Tool *]\r\nLangSecRef=3024\r\nFileKey1=%Temp%\\ZedTool|*.log\r\n\r\n"
             "[Alpha Player *]\r\nLangSecRef=3023\r\nWarning=Playlists go too.\r\nFileKey1=%Temp%\\Alpha|*.tmp\r\n\r\n"
             "[Absent *]\r\nLangSecRef=3021\r\nDetectFile=%WinDir%\\NoSuchFolder\r\nFileKey1=%Temp%\\Absent|*\r\n");
  HWND main = StartMain();
  ASSERT_NE(main, nullptr);
  HWND settings = OpenSettings(main);
  ASSERT_NE(settings, nullptr);
  HWND list = FindControl(settings, IDC_COMMUNITY_LIST);
  for (int page = 0; page < 15; ++page) PressKey(settings, {VK_CONTROL}, VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return IsShown(list); }, 3000));
  EXPECT_EQ(ListViewRows(list, 2),
            (std::vector<std::vector<std::wstring>>{{L"Alpha Player", L"Multimedia"}, {L"Zed Tool", L"Utilities"}}));
  PressKey(settings, {VK_MENU}, 'S');  // "&Search:"
  for (WORD key : {'Z', 'E', 'D'}) PressKey(settings, {}, key);
  EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 1; }, 3000));
  for (int i = 0; i < 3; ++i) PressKey(settings, {}, VK_BACK);
  EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 2; }, 3000));

  PressKey(settings, {}, VK_TAB);  // to the list
  PressKey(settings, {}, VK_HOME);
  PressKey(settings, {}, VK_SPACE);
  std::wstring warning;
  ASSERT_TRUE(Answer(L"Clearvane", IDOK, &warning));
  EXPECT_NE(warning.find(L"Playlists go too."), std::wstring::npos);
  EXPECT_NE(Text(FindControl(settings, IDC_COMMUNITY_WARNING)).value_or(L"").find(L"Playlists go too."),
            std::wstring::npos);
  Screenshot(settings, "community");
  PressKey(settings, {}, VK_RETURN);  // OK
  ASSERT_TRUE(WaitForNoWindow(Dialog(kSettingsCaption), kWaitMs));
  const std::string stored = ReadBytes(folder_ / "vanesd.dat");
  EXPECT_NE(stored.find("[winapp2]\r\nZed Tool=0\r\nAlpha Player=1\r\n"), std::string::npos) << stored;
}

// The Windows 10 and 11 page by the keyboard: the selected item says what it
// erases, Space ticks it, OK stores the tick.
TEST_F(SelectionGui, WindowsTenAndElevenPageDescribesTheSelectedItemAndStoresItsTick) {
  HWND main = StartMain();
  ASSERT_NE(main, nullptr);
  HWND settings = OpenSettings(main);
  ASSERT_NE(settings, nullptr);
  HWND list = FindControl(settings, IDC_MODERN_WINDOWS_LIST);
  for (int page = 0; page < 12; ++page) PressKey(settings, {VK_CONTROL}, VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return IsShown(list); }, 3000));
  const auto rows = ListViewRows(list, 1);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0], std::vector<std::wstring>{L"Thumbnail and icon caches"});
  PressKey(settings, {VK_MENU}, 'S');  // "&Search:"
  PressKey(settings, {}, VK_TAB);      // to the list
  PressKey(settings, {}, VK_HOME);
  EXPECT_TRUE(WaitUntil(
      [&] {
        return Text(FindControl(settings, IDC_MODERN_WINDOWS_NOTE)).value_or(L"").find(L"thumbcache_*.db") !=
               std::wstring::npos;
      },
      3000));
  EXPECT_EQ(ClippedControls(settings), std::vector<std::wstring>{});
  Screenshot(settings, "windows10");
  PressKey(settings, {}, VK_SPACE);
  PressKey(settings, {}, VK_RETURN);  // OK
  ASSERT_TRUE(WaitForNoWindow(Dialog(kSettingsCaption), kWaitMs));
  const std::string stored = ReadBytes(folder_ / "vanesd.dat");
  EXPECT_NE(stored.find("[ModernWindows]\r\nThumbnailCaches=1\r\nJumpLists=0\r\n"), std::string::npos) << stored;
}

TEST_F(SelectionGui, SelectAllBoxesTickTheirGroupsAndInternetExplorerAsksTwice) {
  WriteBytes(folder_ / "vanesd.dat", ReadBytes(folder_ / "vanesd.dat") +
                                         "[EXPLORER]\r\nlocation=0\r\nhistory=0\r\ncache=0\r\ncookies=0\r\n"
                                         "favorites=0\r\nautocomplete=0\r\ndownloaded=0\r\ndownloadedhistory=0\r\n"
                                         "index=0\r\ninprivate=0\r\naddons=0\r\n[Safari]\r\nhistory=0\r\npages=0\r\n"
                                         "Cache=0\r\nCookies=0\r\nDownload=0\r\nAutocomplete=0\r\n"
                                         "RecentSearches=0\r\nImages=0\r\n");
  HWND main = StartMain();
  ASSERT_NE(main, nullptr);
  HWND settings = OpenSettings(main);
  ASSERT_NE(settings, nullptr);
  const auto explorer = SwitchesInFrame(SelectionFrame::kInternetExplorer);
  auto ticked = [&](const std::vector<const ItemSwitch*>& group) {
    int count = 0;
    for (const ItemSwitch* s : group) count += Checked(settings, SwitchId(s->section, s->key)).value_or(false);
    return count;
  };
  EXPECT_EQ(ticked(explorer), 0);

  Click(FindControl(settings, SelectAllId(SelectionFrame::kInternetExplorer)));
  std::wstring first, second;
  ASSERT_TRUE(Answer(L"Clearvane", IDCANCEL, &first));
  ASSERT_TRUE(Answer(L"Clearvane", IDCANCEL, &second));
  EXPECT_NE(first.find(L"Are you sure delete IE Favorites?"), std::wstring::npos);
  EXPECT_NE(second.find(L"Are you sure delete Downloaded Files?"), std::wstring::npos);
  EXPECT_TRUE(WaitUntil([&] { return ticked(explorer) == 9; }, kWaitMs)) << ticked(explorer);
  EXPECT_EQ(Checked(settings, SwitchId("EXPLORER", "favorites")), false);
  EXPECT_EQ(Checked(settings, SwitchId("EXPLORER", "downloaded")), false);
  Screenshot(settings, "ie-select-all");
  Click(FindControl(settings, SelectAllId(SelectionFrame::kInternetExplorer)));
  EXPECT_TRUE(WaitUntil([&] { return ticked(explorer) == 0; }, kWaitMs)) << "clearing asks nothing";

  const auto safari = SwitchesInFrame(SelectionFrame::kSafari);
  Click(FindControl(settings, SelectAllId(SelectionFrame::kSafari)));
  EXPECT_TRUE(WaitUntil([&] { return ticked(safari) == 8; }, kWaitMs));
  Click(FindControl(settings, SelectAllId(SelectionFrame::kSafari)));
  EXPECT_TRUE(WaitUntil([&] { return ticked(safari) == 0; }, kWaitMs));
  EXPECT_EQ(FindTopWindow(Dialog(L"Clearvane")), nullptr);
}

// Boxes show what the run would do: a key that is missing is clear, and an
// untouched "OK" stores "1" only where the file held it.
TEST_F(SelectionGui, AnUntouchedOkStoresOneOnlyForTheKeysThatHeldIt) {
  WriteBytes(folder_ / "vanesd.dat",
             "[EXPLORER]\r\nlocation=1\r\nhistory=1\r\ncache=1\r\ncookies=1\r\n"
             "[FIREFOX]\r\nCache=1\r\nHistory=1\r\n"
             "[WINDOWS]\r\ntemp=1\r\nrecent=1\r\nrun=1\r\nthumbs=1\r\n");
  HWND main = StartMain();
  ASSERT_NE(main, nullptr);
  HWND settings = OpenSettings(main);
  ASSERT_NE(settings, nullptr);
  for (const auto& [section, key] :
       std::initializer_list<std::pair<const char*, const char*>>{{"FIREFOX", "passwords"},
                                                                  {"FIREFOX", "bookmarks"},
                                                                  {"EXPLORER", "favorites"},
                                                                  {"outlook", "address"},
                                                                  {"outlook", "sent"},
                                                                  {"outlook", "deleted"},
                                                                  {"Maxthon", "folder"}})
    EXPECT_EQ(Checked(settings, SwitchId(section, key)), false) << section << "/" << key;
  EXPECT_EQ(Checked(settings, SwitchId("EXPLORER", "cache")), true);
  PressKey(settings, {}, VK_RETURN);
  ASSERT_TRUE(WaitForNoWindow(Dialog(kSettingsCaption), kWaitMs));
  const std::string stored = ReadBytes(folder_ / "vanesd.dat");
  std::size_t ones = 0;
  for (std::size_t at = stored.find("=1\r\n"); at != std::string::npos; at = stored.find("=1\r\n", at + 1)) ++ones;
  EXPECT_EQ(ones, 10u) << stored;
}

// A folder of the sandbox as the program sees it.
std::wstring WindowsPath(const fs::path& path) { return path.wstring(); }

TEST_F(SelectionGui, ThreeFilesFromTheFileDialogThenOkAndReopenShowTheSameState) {
  const fs::path picked = folder_ / "picked";
  WriteBytes(picked / "one.txt", std::string(524288, 'x'));
  WriteBytes(picked / "two.txt", "");
  WriteBytes(picked / "three.txt", "3");
  HWND main = StartMain();
  ASSERT_NE(main, nullptr);
  HWND settings = OpenSettings(main);
  ASSERT_NE(settings, nullptr);

  // "Add" opens its menu; "Add Files" the file-open dialog.
  Click(FindControl(settings, IDC_CUSTOM_ADD));
  ASSERT_TRUE(WaitUntil([&] { return FindTopWindow({process_->Id(), L"#32768", L"", true}) != nullptr; }, kWaitMs));
  PressKey(FindTopWindow({process_->Id(), L"#32768", L"", true}), {}, 'F');
  HWND open = WaitForWindow(Dialog(L"Open File"), kWaitMs);
  ASSERT_NE(open, nullptr) << "the file-open dialog did not appear";
  HWND name = FindControl(open, 0x47c);  // the file name box (cmb13), or its edit
  if (!name) name = FindControl(open, 0x480);
  ASSERT_NE(name, nullptr);
  // The name box is an edit, or holds one (inside a combo box, inside a ComboBoxEx).
  HWND edit = ClassName(name) == L"Edit" ? name : nullptr;
  ::EnumChildWindows(
      name,
      [](HWND child, LPARAM found) -> BOOL {
        if (ClassName(child) != L"Edit") return TRUE;
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&edit));
  ASSERT_NE(edit, nullptr) << ClassName(name);
  // Into the folder first, then the three names, as a user types them.
  const std::wstring folder = WindowsPath(picked);
  ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
  PostCommand(open, IDOK);
  ::Sleep(1000);
  const std::wstring names = L"\"one.txt\" \"two.txt\" \"three.txt\"";
  ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names.c_str()));
  ::Sleep(300);
  Screenshot(open, "file-open");
  PostCommand(open, IDOK);
  ASSERT_TRUE(WaitForNoWindow(Dialog(L"Open File"), kWaitMs));

  HWND list = FindControl(settings, IDC_CUSTOM_LIST);
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 3; }, kWaitMs)) << ListViewRowCount(list).value_or(-1);
  const auto rows = ListViewRows(list, 4);
  const std::wstring expected[] = {L"one.txt", L"two.txt", L"three.txt"};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(rows[i][0], WindowsPath(picked) + L"\\" + expected[i]);
    EXPECT_EQ(rows[i][1], L"File");
  }
  EXPECT_EQ(rows[0][2], L".5MB");
  EXPECT_EQ(rows[1][2], L".MB");
  EXPECT_FALSE(rows[0][3].empty());
  Screenshot(settings, "custom-items");

  // Some changes, then "OK" (Enter).
  Click(FindControl(settings, SwitchId("WINDOWS", "recycle")));
  Click(FindControl(settings, SwitchId("Custom", "Custom")));
  const std::optional<bool> recycle = Checked(settings, SwitchId("WINDOWS", "recycle"));
  std::vector<std::optional<bool>> before;
  for (std::size_t i = 0; i < kItemSwitchCount; ++i) before.push_back(Checked(settings, IDC_SWITCH_FIRST + int(i)));
  Click(FindControl(settings, IDOK));
  ASSERT_TRUE(WaitForNoWindow(Dialog(kSettingsCaption), kWaitMs));

  const std::string selection = ReadBytes(folder_ / "vanesd.dat");
  for (const ItemSwitch& s : ItemSwitches())
    EXPECT_NE(selection.find(std::string(s.key) + "="), std::string::npos) << s.key;
  const std::string custom = ReadBytes(folder_ / "cusd.dat");
  EXPECT_EQ(custom, picked.string() + "\\one.txt\tFile\r\n" + picked.string() + "\\two.txt\tFile\r\n" +
                        picked.string() + "\\three.txt\tFile\r\n");

  settings = OpenSettings(main);
  ASSERT_NE(settings, nullptr);
  for (std::size_t i = 0; i < kItemSwitchCount; ++i)
    EXPECT_EQ(Checked(settings, IDC_SWITCH_FIRST + int(i)), before[i]) << ItemSwitches()[i].checkBox;
  EXPECT_EQ(Checked(settings, SwitchId("WINDOWS", "recycle")), recycle);
  const auto reopened = ListViewRows(FindControl(settings, IDC_CUSTOM_LIST), 4);
  ASSERT_EQ(reopened.size(), 3u);
  EXPECT_EQ(reopened[0][2], L"00.50MB") << "reloaded rows use the two-digit pattern";
  EXPECT_EQ(reopened[1][2], L"00.00MB");
  PressKey(settings, {}, VK_RETURN);
  EXPECT_TRUE(WaitForNoWindow(Dialog(kSettingsCaption), kWaitMs)) << "Enter is OK";
}

TEST_F(SelectionGui, CancelAndTheCloseButtonWriteNothingAndAReadOnlyFileKeepsTheDialogOpen) {
  WriteBytes(folder_ / "cusd.dat", (folder_ / "vanesd.dat").string() + "\tFile\r\n");
  const std::string selection = ReadBytes(folder_ / "vanesd.dat"), custom = ReadBytes(folder_ / "cusd.dat");
  const std::string plugin = ReadBytes(folder_ / "plus-in" / "Alpha.vpe");
  HWND main = StartMain();
  ASSERT_NE(main, nullptr);
  for (int way = 0; way < 2; ++way) {
    HWND settings = OpenSettings(main);
    ASSERT_NE(settings, nullptr);
    Click(FindControl(settings, SwitchId("OPERA", "Cache")));
    Click(FindControl(settings, SelectAllId(SelectionFrame::kWindows)));
    Click(FindControl(settings, IDC_CUSTOM_CLEAR));
    if (way == 0) {
      Click(FindControl(settings, IDCANCEL));
    } else {
      ::PostMessageW(settings, WM_CLOSE, 0, 0);
    }
    ASSERT_TRUE(WaitForNoWindow(Dialog(kSettingsCaption), kWaitMs));
    EXPECT_EQ(ReadBytes(folder_ / "vanesd.dat"), selection);
    EXPECT_EQ(ReadBytes(folder_ / "cusd.dat"), custom);
    EXPECT_EQ(ReadBytes(folder_ / "plus-in" / "Alpha.vpe"), plugin);
  }

  ::SetFileAttributesW((folder_ / "vanesd.dat").c_str(), FILE_ATTRIBUTE_READONLY);
  HWND settings = OpenSettings(main);
  ASSERT_NE(settings, nullptr);
  Click(FindControl(settings, SwitchId("OPERA", "Cache")));
  Click(FindControl(settings, IDOK));
  std::wstring message;
  ASSERT_TRUE(Answer(L"Clearvane", IDOK, &message));
  EXPECT_NE(message.find(L"could not be saved"), std::wstring::npos) << message;
  EXPECT_TRUE(IsShown(settings)) << "the choices stay on screen";
  EXPECT_EQ(ReadBytes(folder_ / "vanesd.dat"), selection);
  ::SetFileAttributesW((folder_ / "vanesd.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
  Click(FindControl(settings, IDOK));
  EXPECT_TRUE(WaitForNoWindow(Dialog(kSettingsCaption), kWaitMs));
  EXPECT_NE(ReadBytes(folder_ / "vanesd.dat"), selection);
}

TEST_F(SelectionGui, KeepListWindowsAddAndRemoveAndTheirFilesFollow) {
  const std::wstring typedUrls = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
  RegistryValueGuard url(typedUrls, L"url1", REG_SZ, L"http://kept.example/");
  const fs::path cookies = folder_ / "cookies";
  WriteBytes(cookies / "user@kept[1].txt", "kept\nexample.org/\n");
  RegistryValueGuard cookieFolder(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                                  L"Cookies", REG_EXPAND_SZ, cookies.wstring());
  HWND main = StartMain();
  ASSERT_NE(main, nullptr);
  HWND settings = OpenSettings(main);
  ASSERT_NE(settings, nullptr);

  Click(FindControl(settings, IDC_URL_OPTIONS));
  HWND urls = WaitForWindow(Dialog(L"URL Drop-List Options"), kWaitMs);
  ASSERT_NE(urls, nullptr);
  HWND current = FindControl(urls, IDC_URL_CURRENT), keep = FindControl(urls, IDC_URL_KEEP);
  ASSERT_EQ(::SendMessageW(current, LB_GETCOUNT, 0, 0), 1);
  ::SendMessageW(current, LB_SETCURSEL, 0, 0);
  Click(FindControl(urls, IDC_URL_ADD));
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(keep, LB_GETCOUNT, 0, 0) == 1; }, kWaitMs));
  EXPECT_EQ(ReadBytes(folder_ / "keepurl.dat"), "http://kept.example/\r\n");
  Click(FindControl(urls, IDC_URL_ADD));
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(keep, LB_GETCOUNT, 0, 0) == 2; }, kWaitMs));
  Screenshot(urls, "url-keep-list");
  ::SendMessageW(keep, LB_SETSEL, TRUE, 0);
  Click(FindControl(urls, IDC_URL_REMOVE));
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(keep, LB_GETCOUNT, 0, 0) == 1; }, kWaitMs));
  EXPECT_EQ(ReadBytes(folder_ / "keepurl.dat"), "http://kept.example/\r\n");
  PressKey(urls, {}, VK_ESCAPE);
  if (!WaitForNoWindow(Dialog(L"URL Drop-List Options"), 3000)) Click(FindControl(urls, IDOK));
  ASSERT_TRUE(WaitForNoWindow(Dialog(L"URL Drop-List Options"), kWaitMs));

  Click(FindControl(settings, IDC_COOKIE_OPTIONS));
  HWND cookieWindow = WaitForWindow(Dialog(L"Cookies Options"), kWaitMs);
  ASSERT_NE(cookieWindow, nullptr);
  current = FindControl(cookieWindow, IDC_COOKIE_CURRENT);
  keep = FindControl(cookieWindow, IDC_COOKIE_KEEP);
  ASSERT_EQ(::SendMessageW(current, LB_GETCOUNT, 0, 0), 1);
  ::SendMessageW(current, LB_SETCURSEL, 0, 0);
  ::PostMessageW(cookieWindow, WM_COMMAND, MAKEWPARAM(IDC_COOKIE_CURRENT, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(current));
  EXPECT_TRUE(WaitUntil(
      [&] { return Text(FindControl(cookieWindow, IDC_COOKIE_PREVIEW)) == L"kept\r\nexample.org/\r\n"; }, kWaitMs));
  Click(FindControl(cookieWindow, IDC_COOKIE_ADD));
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(keep, LB_GETCOUNT, 0, 0) == 1; }, kWaitMs));
  const std::string keptCookie = ReadBytes(folder_ / "keepcook.dat");
  EXPECT_NE(keptCookie.find("user@kept[1].txt\r\n"), std::string::npos) << keptCookie;
  Screenshot(cookieWindow, "cookie-keep-list");
  ::SendMessageW(keep, LB_SETSEL, TRUE, 0);
  Click(FindControl(cookieWindow, IDC_COOKIE_REMOVE));
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(keep, LB_GETCOUNT, 0, 0) == 0; }, kWaitMs));
  EXPECT_EQ(ReadBytes(folder_ / "keepcook.dat"), "");
  Click(FindControl(cookieWindow, IDOK));
  ASSERT_TRUE(WaitForNoWindow(Dialog(L"Cookies Options"), kWaitMs));
  EXPECT_TRUE(IsShown(settings));
  Click(FindControl(settings, IDCANCEL));
}

// At 144 DPI (fonts half as large again) every page still holds its controls.
TEST_F(SelectionGui, PagesLayOutAt144Dpi) {
  RegistryValueGuard dpi(L"Control Panel\\Desktop", L"LogPixels", 144);
  HWND main = StartMain();
  ASSERT_NE(main, nullptr);
  HWND settings = OpenSettings(main);
  ASSERT_NE(settings, nullptr);
  const RECT window = ScreenRect(settings), area = WorkArea();
  std::cout << "dialog at 144 DPI: " << window.right - window.left << " x " << window.bottom - window.top << "\n";
  EXPECT_LE(window.right - window.left, area.right - area.left);
  EXPECT_LE(window.bottom - window.top, area.bottom - area.top);
  for (int page = 0; page < 18; ++page) {
    ::Sleep(300);
    EXPECT_EQ(ClippedControls(settings), std::vector<std::wstring>{}) << "page " << page;
    if (page == 0 || page == 10) Screenshot(settings, "144dpi-" + std::to_string(page));
    PressKey(settings, {VK_CONTROL}, VK_TAB);
  }
  Click(FindControl(settings, IDCANCEL));
}

TEST_F(SelectionGui, TrayCleanNowIsRefusedWhileTheDialogIsOpen) {
  HWND main = StartMain();
  ASSERT_NE(main, nullptr);
  HWND settings = OpenSettings(main);
  ASSERT_NE(settings, nullptr);
  PostCommand(main, IDM_TRAY_CLEANNOW);
  std::wstring message;
  ASSERT_TRUE(Answer(L"Clearvane", IDOK, &message));
  EXPECT_NE(message.find(L"cannot start while"), std::wstring::npos) << message;
  PostCommand(main, IDM_TRAY_SETTINGS);
  ::Sleep(500);
  EXPECT_EQ(FindTopWindow(Dialog(L"Task Complete")), nullptr);
  Click(FindControl(settings, IDCANCEL));
  EXPECT_TRUE(WaitForNoWindow(Dialog(kSettingsCaption), kWaitMs)) << "only one settings window was open";
}

}  // namespace
}  // namespace cv::guidriver
