// The options dialog, the schedule, the boss key and the session end of the
// real clearvane.exe under Wine and Xvfb.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "driver.h"
#include "gui_fixture_win.h"
#include "resources/options_res.h"
#include "resources/resource.h"

namespace cv::guidriver {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kXdotool[] = L"\\\\?\\unix\\usr\\bin\\xdotool";

std::optional<std::wstring> RegistryText(HKEY root, const wchar_t* key, const wchar_t* name) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  if (::RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return std::nullopt;
  return std::wstring(data);
}

// Runs the host's xdotool (Wine starts Unix programs named by a \\?\unix path).
bool Xdotool(const std::wstring& arguments) {
  if (::GetFileAttributesW(kXdotool) == INVALID_FILE_ATTRIBUTES) return false;
  std::wstring commandLine = L"\"" + std::wstring(kXdotool) + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  ::WaitForSingleObject(info.hProcess, 10000);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return true;
}

class OptionsGui : public ProgramFixture {
 protected:
  void TearDown() override {
    if (windows_) windows_->Kill();
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Clearvane");
    ProgramFixture::TearDown();
  }

  HWND OpenOptions(HWND main) {
    PostCommand(main, IDM_FILE_OPTIONS);
    HWND dialog = WaitForWindow(MessageBox(L"Options"), 10000);
    EXPECT_NE(dialog, nullptr) << "the options dialog did not open";
    return dialog;
  }
  // Ctrl+Tab to the next tab; true when `control` of that tab shows.
  bool NextTab(HWND dialog, int control) {
    PressKey(dialog, {VK_CONTROL}, VK_TAB);
    return WaitUntil([&] { return IsShown(FindControl(dialog, control)); }, 5000);
  }
  void SetTicked(HWND dialog, int id, bool ticked) {
    HWND box = FindControl(dialog, id);
    if (IsChecked(box) != ticked) Click(box);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(box) == ticked; }, 3000)) << id;
  }
  void SetText(HWND dialog, int id, const std::wstring& text) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(FindControl(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                          SMTO_ABORTIFHUNG, kReplyTimeoutMs, &ignored);
  }
  // Enter is "OK", Esc is "Cancel": either closes the dialog.
  void Press(HWND dialog, WORD key) {
    PressKey(dialog, {}, key);
    EXPECT_TRUE(WaitForNoWindow(MessageBox(L"Options"), 10000)) << "the dialog stayed open";
  }
  std::wstring ExpectedRunValue() const { return L"\"" + (folder_ / "clearvane.exe").wstring() + L"\" min"; }

  std::optional<Process> windows_;
};

TEST_F(OptionsGui, CancelStoresNothingAndOkStoresTheBoxesTheScheduleAndTheRunValue) {
  selection_ += "[Options]\r\nbosskey=0\r\nstartup=0\r\nexit=0\r\n";
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  const std::string before = ReadSelection();

  HWND dialog = OpenOptions(main);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(FindControl(dialog, IDX_OPTIONS_STARTUP)), L"Load Clearvane on Windows &Start Up");
  EXPECT_EQ(IsChecked(FindControl(dialog, IDX_OPTIONS_STARTUP)), false);
  EXPECT_EQ(IsChecked(FindControl(dialog, IDX_OPTIONS_SECURELY)), false);  // missing: off, as the program treats it
  EXPECT_FALSE(IsShown(FindControl(dialog, IDX_OPTIONS_MONDAY)));
  SetTicked(dialog, IDX_OPTIONS_STARTUP, true);
  Press(dialog, VK_ESCAPE);
  EXPECT_EQ(ReadSelection(), before);
  EXPECT_FALSE(RegistryText(HKEY_CURRENT_USER, kRunKey, L"Clearvane"));

  dialog = OpenOptions(main);
  ASSERT_NE(dialog, nullptr);
  SetTicked(dialog, IDX_OPTIONS_STARTUP, true);
  Screenshot(dialog, "general");
  ASSERT_TRUE(NextTab(dialog, IDX_OPTIONS_MONDAY)) << "Ctrl+Tab did not turn to \"Schedule\"";
  EXPECT_FALSE(IsShown(FindControl(dialog, IDX_OPTIONS_STARTUP)));
  Click(FindControl(dialog, IDX_OPTIONS_DAILY));  // "Run daily" ticks all seven
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(FindControl(dialog, IDX_OPTIONS_SATURDAY)) == true; }, 3000));
  SetTicked(dialog, IDX_OPTIONS_SUNDAY, false);
  SetText(dialog, IDC_OPTIONS_STARTTIME, L"07:05");
  Screenshot(dialog, "schedule");
  ASSERT_TRUE(NextTab(dialog, IDE_OPTIONS_TITLE));
  Screenshot(dialog, "homepage");
  Press(dialog, VK_RETURN);

  const std::string stored = ReadSelection();
  for (const char* line : {"startup=1", "exit=0", "bosskey=0", "autoclean=0", "CleanDays=0111111", "CleanTime=07:05"})
    EXPECT_NE(stored.find(line), std::string::npos) << line << " in\n" << stored;
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kRunKey, L"Clearvane"), ExpectedRunValue());

  dialog = OpenOptions(main);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(IsChecked(FindControl(dialog, IDX_OPTIONS_STARTUP)), true);
  SetTicked(dialog, IDX_OPTIONS_STARTUP, false);
  Press(dialog, VK_RETURN);
  EXPECT_FALSE(RegistryText(HKEY_CURRENT_USER, kRunKey, L"Clearvane"));
  EXPECT_NE(ReadSelection().find("startup=0"), std::string::npos);
}

// A fresh install: the shipped selection file shows every box clear, and an
// untouched "OK" adds nothing to start-up and stores no "1".
TEST_F(OptionsGui, AnUntouchedOkOnAFreshInstallTurnsNothingOn) {
  std::ifstream shipped(ProgramUnderTest().parent_path() / "vanesd.dat", std::ios::binary);
  selection_.assign(std::istreambuf_iterator<char>(shipped), {});
  ASSERT_NE(selection_.find("[Options]"), std::string::npos);
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  HWND dialog = OpenOptions(main);
  ASSERT_NE(dialog, nullptr);
  for (int id : {IDX_OPTIONS_STARTUP, IDX_OPTIONS_AUTOCLEAN, IDX_OPTIONS_EXIT, IDX_OPTIONS_SECURELY,
                 IDX_OPTIONS_BOSSKEY, IDX_OPTIONS_WINSTARTUP, IDX_OPTIONS_WINSHUTDOWN})
    EXPECT_EQ(IsChecked(FindControl(dialog, id)), false) << id;
  Press(dialog, VK_RETURN);
  EXPECT_FALSE(RegistryText(HKEY_CURRENT_USER, kRunKey, L"Clearvane"));
  const std::string stored = ReadSelection();
  const std::string options = stored.substr(stored.find("[Options]"));
  for (const char* flag :
       {"bosskey", "bosskeybrowsers", "startup", "autoclean", "exit", "securely", "WindowsStartup", "WindowsShutdown"})
    EXPECT_EQ(options.find(std::string("\n") + flag + "=1"), std::string::npos) << flag << " in\n" << options;
}

TEST_F(OptionsGui, WindowsZHidesFolderWindowsAndWindowsShiftZRestoresThemMaximized) {
  selection_ += "[Options]\r\nbosskey=1\r\n";
  windows_ = Process::Start((ModuleFolder() / "cv_test_windows.exe").wstring(), L"", folder_.wstring());
  ASSERT_TRUE(windows_);
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  HWND folder = WaitForWindow({windows_->Id(), L"CabinetWClass", L"", true}, 10000);
  HWND other = WaitForWindow({windows_->Id(), L"ClearvaneTestOther", L"", true}, 10000);
  ASSERT_TRUE(folder && other);
  ASSERT_TRUE(::IsZoomed(folder));

  // A key typed while the X focus is still moving can be lost on a busy
  // machine: each combination is typed up to three times (both are
  // idempotent) until its effect shows.
  const auto typeUntil = [](const wchar_t* keys, const std::function<bool()>& effect) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      Xdotool(L"search --name \"Clearvane Test Focus\" windowfocus");
      ::Sleep(300);
      Xdotool(std::wstring(L"key ") + keys);
      if (WaitUntil(effect, 4000)) return true;
    }
    return false;
  };
  ASSERT_NE(::GetFileAttributesW(kXdotool), INVALID_FILE_ATTRIBUTES) << "xdotool is missing (scripts/setup)";
  EXPECT_TRUE(typeUntil(L"super+z", [&] { return !::IsWindowVisible(folder); })) << "Windows+Z did not hide the folder";
  EXPECT_TRUE(::IsWindowVisible(other));
  Screenshot(nullptr, "hidden");
  EXPECT_TRUE(typeUntil(L"super+shift+z", [&] { return ::IsWindowVisible(folder) != FALSE; }))
      << "Windows+Shift+Z did not show it";
  EXPECT_TRUE(::IsZoomed(folder));

  // "OK" with the box cleared lets the keys go; ticked again, it takes them back.
  const auto keyFree = [] {
    const bool free = ::RegisterHotKey(nullptr, 1, MOD_WIN, 'Z');
    if (free) ::UnregisterHotKey(nullptr, 1);
    return free;
  };
  EXPECT_FALSE(keyFree());
  for (const bool on : {false, true}) {
    HWND dialog = OpenOptions(main);
    ASSERT_NE(dialog, nullptr);
    SetTicked(dialog, IDX_OPTIONS_BOSSKEY, on);
    Press(dialog, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return keyFree() == !on; }, 10000)) << "boss key " << on;
  }
  // A second copy finds the keys taken and says so.
  auto second = Process::Start((folder_ / "clearvane.exe").wstring(), L"", folder_.wstring());
  ASSERT_TRUE(second);
  HWND notice = WaitForWindow({second->Id(), L"#32770", L"Clearvane", true}, kStartTimeoutMs);
  ASSERT_NE(notice, nullptr) << "no word about the taken keys";
  EXPECT_NE(AllTexts(notice).find(L"already used by another program"), std::wstring::npos);
}

TEST_F(OptionsGui, AScheduleSetAMinuteAheadStartsAnUnattendedRunThatReportsByPopup) {
  const fs::path victim = Victim(100);
  selection_ += "[Options]\r\nbosskey=0\r\nexit=0\r\nstartup=0\r\n";
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  HWND dialog = OpenOptions(main);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(NextTab(dialog, IDX_OPTIONS_DAILY));
  SetTicked(dialog, IDX_OPTIONS_DAILY, true);
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  const int next = (now.wHour * 60 + now.wMinute + 1) % (24 * 60);
  wchar_t time[8];
  std::swprintf(time, 8, L"%d:%02d", next / 60, next % 60);
  SetText(dialog, IDC_OPTIONS_STARTTIME, time);
  Press(dialog, VK_RETURN);

  HWND popup = WaitForWindow(Popup(), 150000);
  ASSERT_NE(popup, nullptr) << "no pop-up after the scheduled minute " << fs::path(time).string();
  EXPECT_FALSE(fs::exists(victim));
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(main); }, 5000)) << "the window stayed after the run";
  EXPECT_EQ(FindTopWindow(MessageBox(L"Task Complete")), nullptr);
}

TEST_F(OptionsGui, SessionEndCleansWithinFiveSecondsOnlyWithWindowsShutdownTicked) {
  const fs::path victim = Victim(100);
  const std::string base = selection_;
  for (const bool shutdownCleans : {false, true}) {
    const std::string option = shutdownCleans ? "WindowsShutdown=1" : "WindowsShutdown=0";
    selection_ = base + "[Options]\r\nbosskey=0\r\nexit=0\r\n" + option + "\r\n";
    Start();
    HWND main = WaitForMain();
    ASSERT_NE(main, nullptr);
    const ULONGLONG asked = ::GetTickCount64();
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
        << "no answer within 5 s (" << option << ")";
    EXPECT_LT(::GetTickCount64() - asked, 5000u);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    EXPECT_EQ(fs::exists(victim), !shutdownCleans) << option;
    process_->Kill();
  }
}

}  // namespace
}  // namespace cv::guidriver
