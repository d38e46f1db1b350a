// Today's browsers in the real clearvane.exe under Wine: their page of
// "Cleaning Settings" and "Kept Domains" driven by the keyboard alone, at
// 96 and 144 DPI, and the offer to close a running browser before a run
// started at the window (a stand-in browser holds Chromium's lock file).
// clang-format off
#include "platform/win32/win.h"
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "gui_fixture_win.h"
#include "resources/modern_browsers_res.h"
#include "resources/resource.h"

namespace cv::guidriver {
namespace {

namespace fs = std::filesystem;

constexpr DWORD kWaitMs = 10000;
// "Browsers" holds ten sub-tabs; "Modern browsers" comes next.
constexpr int kModernBrowsersPage = 10;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Type(HWND window, std::string_view text) {
  for (char c : text) {
    const WORD key = c == '.' ? VK_OEM_PERIOD : static_cast<WORD>(std::toupper(static_cast<unsigned char>(c)));
    PressKey(window, {}, key);
  }
}

class ModernBrowsersGui : public ProgramFixture {
 protected:
  // Starts the program and opens "Cleaning Settings" on the browsers' page.
  HWND OpenPage() {
    Start();
    HWND main = WaitForMain();
    if (!main) return nullptr;
    PostCommand(main, IDM_FILE_SETTINGS);
    HWND settings = WaitForWindow(MessageBox(L"Cleaning Settings"), kWaitMs);
    if (!settings) return nullptr;
    for (int page = 0; page < kModernBrowsersPage; ++page) PressKey(settings, {VK_CONTROL}, VK_TAB);
    if (!WaitUntil([&] { return IsShown(FindControl(settings, IDC_BROWSERS_LIST)); }, 3000)) return nullptr;
    ::Sleep(300);  // painted
    return settings;
  }

  // Opens "Kept Domains" by the page's mnemonic.
  HWND OpenKeptDomains(HWND settings) {
    PressKey(settings, {VK_MENU}, 'K');
    HWND window = WaitForWindow(MessageBox(L"Kept Domains"), kWaitMs);
    if (window) ::Sleep(300);
    return window;
  }

  // The message box now up: its text, then Enter.
  std::wstring Dismiss() {
    HWND box = WaitForWindow(MessageBox(L"Clearvane"), kWaitMs);
    if (!box) return L"(no message)";
    const std::wstring text = AllTexts(box);
    PressKey(box, {}, VK_RETURN);
    WaitUntil([&] { return !::IsWindow(box) || !IsShown(box); }, kWaitMs);
    return text;
  }

  fs::path KeepFile() const { return folder_ / "keepdomains.dat"; }
};

TEST_F(ModernBrowsersGui, TickByKeyboardWarnsAndIsStoredAndKeptDomainsEditTheirFile) {
  HWND settings = OpenPage();
  ASSERT_NE(settings, nullptr);
  HWND list = FindControl(settings, IDC_BROWSERS_LIST);
  EXPECT_EQ(ListViewRowCount(list), 77);
  EXPECT_EQ(ClippedControls(settings), std::vector<std::wstring>{});
  Screenshot(settings, "page");

  PressKey(settings, {VK_MENU}, 'S');  // "&Search:"
  Type(settings, "cook");
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 11; }, 3000)) << ListViewRowCount(list).value_or(-1);
  EXPECT_EQ(ListViewRows(list, 1).front().front(), L"Google Chrome Cookies");
  PressKey(settings, {}, VK_TAB);  // to the list
  PressKey(settings, {}, VK_HOME);
  PressKey(settings, {}, VK_SPACE);
  EXPECT_NE(Dismiss().find(L"keepdomains.dat"), std::wstring::npos) << "ticking cookies warns";

  HWND keep = OpenKeptDomains(settings);
  ASSERT_NE(keep, nullptr);
  EXPECT_EQ(ClippedControls(keep), std::vector<std::wstring>{});
  Screenshot(keep, "kept-domains");
  HWND edit = FindControl(keep, IDC_DOMAINS_EDIT), domains = FindControl(keep, IDC_DOMAINS_LIST);
  Type(keep, "example.com");
  PressKey(keep, {}, VK_RETURN);  // "Add" is the default while there is text
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(domains, LB_GETCOUNT, 0, 0) == 1; }, kWaitMs));
  EXPECT_EQ(ReadBytes(KeepFile()), "example.com\r\n");
  EXPECT_EQ(Text(edit), L"");

  const std::pair<const wchar_t*, const wchar_t*> refused[] = {{L"www.example.com", L"already listed"},
                                                               {L"two words", L"is not a domain"}};
  for (const auto& [typed, reason] : refused) {
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
    PressKey(keep, {}, VK_RETURN);
    const std::wstring message = Dismiss();
    EXPECT_NE(message.find(reason), std::wstring::npos) << message;
  }
  EXPECT_EQ(ReadBytes(KeepFile()), "example.com\r\n");

  ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  PressKey(keep, {VK_MENU}, 'K');  // the list, its one entry selected
  // Delete waits until Alt+K has given the list the focus.
  ASSERT_TRUE(WaitUntil([&] { return FocusedControl(keep) == domains; }, kWaitMs));
  PressKey(keep, {}, VK_DELETE);
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(domains, LB_GETCOUNT, 0, 0) == 0; }, kWaitMs));
  EXPECT_EQ(ReadBytes(KeepFile()), "");
  PressKey(keep, {}, VK_ESCAPE);
  ASSERT_TRUE(WaitForNoWindow(MessageBox(L"Kept Domains"), kWaitMs)) << "Esc closes";

  PressKey(settings, {}, VK_RETURN);  // OK
  ASSERT_TRUE(WaitForNoWindow(MessageBox(L"Cleaning Settings"), kWaitMs));
  const std::string stored = ReadSelection();
  EXPECT_NE(stored.find("[ModernChrome]\r\ncache=0\r\ncookies=1\r\n"), std::string::npos) << stored;
  EXPECT_NE(stored.find("[ModernFloorp]\r\ncache=0\r\ncookies=0\r\n"), std::string::npos) << stored;
}

TEST_F(ModernBrowsersGui, PageAndKeptDomainsFitAt144Dpi) {
  RegistryValueGuard dpi(L"Control Panel\\Desktop", L"LogPixels", 144);
  HWND settings = OpenPage();
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(ClippedControls(settings), std::vector<std::wstring>{});
  Screenshot(settings, "page-144dpi");
  HWND keep = OpenKeptDomains(settings);
  ASSERT_NE(keep, nullptr);
  EXPECT_EQ(ClippedControls(keep), std::vector<std::wstring>{});
  Screenshot(keep, "kept-domains-144dpi");
  PressKey(keep, {}, VK_RETURN);  // nothing typed: "Close"
  EXPECT_TRUE(WaitForNoWindow(MessageBox(L"Kept Domains"), kWaitMs)) << "Enter closes";
  PressKey(settings, {}, VK_ESCAPE);
  EXPECT_TRUE(WaitForNoWindow(MessageBox(L"Cleaning Settings"), kWaitMs));
}

// A stand-in chrome.exe holds Chromium's lock file: a run started at the
// window asks whether to close it; No skips Chrome; Yes to a browser that
// does not close shows the wait, which Esc ends, and the run skips Chrome;
// Yes to one that closes (its window gets WM_CLOSE) lets the run clean its cache.
TEST_F(ModernBrowsersGui, ARunningBrowserIsOfferedToBeClosedBeforeARunFromTheWindow) {
  const char* localAppData = std::getenv("LOCALAPPDATA");
  ASSERT_NE(localAppData, nullptr);
  profile_ = fs::path(localAppData) / "Google";
  const fs::path userData = profile_ / "Chrome" / "User Data";
  const fs::path cached = userData / "Default" / "Cache" / "Cache_Data" / "f_000001";
  fs::create_directories(cached.parent_path());
  std::ofstream(userData / "Default" / "Preferences") << "{}";
  std::ofstream(cached, std::ios::binary) << std::string(4096, 'c');
  const fs::path lock = userData / "lockfile";
  // Where Chrome installs itself: Chromium's chrome.exe lies elsewhere.
  const fs::path image = folder_ / "Google" / "Chrome" / "Application" / "chrome.exe";
  fs::create_directories(image.parent_path());
  fs::copy_file(ModuleFolder() / "cv_fake_browser.exe", image);
  auto browser = Process::Start(image.wstring(), lock.wstring(), folder_.wstring());
  ASSERT_TRUE(browser);
  ASSERT_TRUE(WaitForWindow({browser->Id(), L"", L"Fake Browser", true}, kWaitMs));
  ASSERT_TRUE(fs::exists(lock));
  selection_ += "[ModernChrome]\r\ncache=1\r\n[Options]\r\n" + std::string(kDontAsk);
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  Click(FindControl(main, IDC_IMAGE3));  // the status panel
  HWND start = FindControl(main, IDC_COMMAND1), rows = FindControl(main, IDC_LISTVIEW1);
  ASSERT_TRUE(WaitUntil([&] { return IsShown(start); }, 5000));
  auto chromeRow = [&] {
    for (const auto& row : ListViewRows(rows, 2))
      if (row[0] == L"Google Chrome Cache") return row[1];
    return std::wstring(L"(no row)");
  };

  const fs::path ignoreClose = image.parent_path() / "ignore-close";
  enum class Answer { kNo, kYesButItStays, kYes };
  for (const Answer answer : {Answer::kNo, Answer::kYesButItStays, Answer::kYes}) {
    if (answer == Answer::kYesButItStays) std::ofstream(ignoreClose) << "";
    if (answer == Answer::kYes) fs::remove(ignoreClose);
    Click(start);
    HWND question = WaitForWindow(MessageBox(L"Clearvane"), kWaitMs);
    ASSERT_NE(question, nullptr) << "no question before the run";
    EXPECT_NE(AllTexts(question).find(L"Google Chrome is running. Close it now so its traces can be cleaned?"),
              std::wstring::npos);
    if (answer == Answer::kNo) Screenshot(question, "question");
    PressKey(question, {}, answer == Answer::kNo ? WORD('N') : WORD('Y'));
    if (answer == Answer::kYesButItStays) {
      HWND wait = WaitForWindow(MessageBox(L"Closing Google Chrome"), kWaitMs);
      ASSERT_NE(wait, nullptr) << "no wait for a browser that stays";
      ::Sleep(500);
      EXPECT_TRUE(IsShown(wait)) << "the wait ended while the browser still runs";
      PressKey(wait, {}, VK_ESCAPE);
    }
    HWND report = WaitForWindow(MessageBox(L"Task Complete"), 30000);
    ASSERT_NE(report, nullptr);
    if (answer != Answer::kYes) {
      EXPECT_EQ(chromeRow(), L"Skipped: Google Chrome is running");
      EXPECT_TRUE(fs::exists(cached));
      EXPECT_TRUE(browser->Running()) << "the browser was not closed";
    } else {
      EXPECT_TRUE(browser->WaitForExit(kWaitMs)) << "Yes closes the browser";
      EXPECT_FALSE(fs::exists(lock));
      EXPECT_NE(chromeRow(), L"Skipped: Google Chrome is running");
      EXPECT_FALSE(fs::exists(cached)) << "the run cleaned the closed browser's cache";
      Screenshot(main, "cleaned");
    }
    PressKey(report, {}, VK_RETURN);
    ASSERT_TRUE(WaitForNoWindow(MessageBox(L"Task Complete"), kWaitMs));
  }
}

}  // namespace
}  // namespace cv::guidriver
