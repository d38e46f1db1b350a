// The main window without a mouse: Tab through the welcome and status panels
// to the navigation bar, the arrows and Enter or Space opening every entry, the
// menus' mnemonics; a click on a caption acting as one on its picture; and
// "Restart as administrator".
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "driver.h"
#include "gui_fixture_win.h"
#include "resources/resource.h"
#include "resources/window_res.h"
#include "ui/window_names.h"

namespace cv::guidriver {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kShredderCaption[] = L"Clearvane File Shredder";
constexpr wchar_t kHivebrushCaption[] = L"Clearvane Registry Cleaner";
constexpr int kEntries[] = {IDC_IMAGE1, IDC_IMAGE2, IDC_IMAGE3, IDC_IMAGE4,
                            IDC_IMAGE5, IDC_IMAGE6, IDC_IMAGE9, IDC_IMAGE10};

// The path of the program that owns a window.
std::wstring ImageOf(HWND window) {
  DWORD id = 0;
  ::GetWindowThreadProcessId(window, &id);
  win32::UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (!process || !::QueryFullProcessImageNameW(process.get(), 0, path, &size)) return L"";
  return path;
}

bool Elevated(HANDLE process) {
  win32::UniqueKernelHandle token;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return ::OpenProcessToken(process, TOKEN_QUERY, token.put()) &&
         ::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size) &&
         elevation.TokenIsElevated;
}

class WindowKeys : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    for (const char* companion : {"Shardmill.exe", "Hivebrush.exe"}) {
      const fs::path built = ProgramUnderTest().parent_path() / companion;
      ASSERT_TRUE(fs::exists(built)) << built;
      fs::copy_file(built, folder_ / companion);
    }
  }
  int FocusedId() const { return ::GetDlgCtrlID(FocusedControl(main_)); }
  bool Press(WORD key) {
    if (!PressKey(main_, {}, key)) return false;
    ::Sleep(100);
    return true;
  }
  // The window of this program with the caption, or of a companion program.
  WindowQuery Dialog(const std::wstring& caption) const { return {process_->Id(), L"#32770", caption, true}; }

  HWND main_ = nullptr;
};

TEST_F(WindowKeys, TheKeyboardAloneReachesTheStatusButtonsAndOpensEveryEntry) {
  Start();
  main_ = WaitForMain();
  ASSERT_NE(main_, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return FocusedId() == IDC_IMAGE1; }, 5000)) << "the window opens with focus on Main";

  // What the entries do, each checked and undone; Enter and Space take turns.
  struct Entry {
    const char* name;
    std::function<bool()> opened;
    std::function<void()> close;
  };
  HWND window = nullptr;
  auto dialog = [&](const wchar_t* caption) {
    return [&, caption] { return (window = WaitForWindow(Dialog(caption), 10000)) != nullptr; };
  };
  auto closeDialog = [&] {
    ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(window); }, 10000));
  };
  auto companion = [&](const wchar_t* exe, const wchar_t* caption) {
    return [&, exe, caption] {
      window = WaitForWindow({0, L"#32770", caption, true}, kStartTimeoutMs);
      return window && fs::path(ImageOf(window)) == folder_ / exe;
    };
  };
  auto panel = [&](int id) {
    return [&, id] { return WaitUntil([&] { return IsShown(FindControl(main_, id)); }, 5000); };
  };
  const Entry entries[] = {
      {"Main", panel(IDC_FRAME2), [] {}},
      {"Clearner Settings", dialog(L"Cleaning Settings"), closeDialog},
      {"CLEAN NOW", panel(IDC_FRAME4), [] {}},
      {"Search and  Erase", dialog(L"Search & Erase"), closeDialog},
      {"Clean Options", dialog(L"Options"), closeDialog},
      {"File Shredder", companion(L"Shardmill.exe", kShredderCaption), closeDialog},
      {"Clean Registry", companion(L"Hivebrush.exe", kHivebrushCaption), closeDialog},
      {"EXIT", [&] { return process_->WaitForExit(10000); }, [] {}},
  };
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(entries[i].name);
    ASSERT_TRUE(Press(VK_HOME));
    for (int step = 0; step < i; ++step) ASSERT_TRUE(Press(VK_DOWN));
    ASSERT_EQ(FocusedId(), kEntries[i]) << "the arrows did not move to the entry";
    if (i == 0) Screenshot(main_, "focus");
    ASSERT_TRUE(Press(i % 2 ? VK_SPACE : VK_RETURN));
    ASSERT_TRUE(entries[i].opened()) << "the entry did not open what it names";
    entries[i].close();
    if (i == 7) break;
    // The keyboard is back where it was, once the window is active again.
    ::SetForegroundWindow(main_);
    EXPECT_TRUE(WaitUntil([&] { return FocusedId() == kEntries[i]; }, 5000)) << FocusedId();

    if (i != 0 && i != 2) continue;
    // With a panel shown, Tab walks its controls and comes back to the bar's
    // current entry, and Shift+Tab goes the other way.
    const std::vector<int> expected =
        i == 0 ? std::vector<int>{IDC_HELP_LABEL, IDC_LABEL51, IDC_IMAGE1}
               : std::vector<int>{IDC_LISTVIEW1, IDC_ANALYZE, IDC_COMMAND1, IDC_COMMAND2, IDC_IMAGE3};
    std::vector<int> order;
    for (int step = 0; step < 6 && (order.empty() || order.back() != kEntries[i]); ++step) {
      ASSERT_TRUE(Press(VK_TAB));
      order.push_back(FocusedId());
    }
    EXPECT_EQ(order, expected);
    const size_t last = expected.size() - 1;
    ASSERT_TRUE(PressKey(main_, {VK_SHIFT}, VK_TAB));
    EXPECT_TRUE(WaitUntil([&] { return FocusedId() == expected[last - 1]; }, 2000));
    ASSERT_TRUE(PressKey(main_, {VK_SHIFT}, VK_TAB));
    EXPECT_TRUE(WaitUntil([&] { return FocusedId() == expected[last - 2]; }, 2000));
    Screenshot(main_, i == 0 ? "tab-welcome" : "tab");
    ASSERT_TRUE(Press(VK_TAB));
    ASSERT_TRUE(Press(VK_TAB));
    ASSERT_EQ(FocusedId(), kEntries[i]);
  }
}

TEST_F(WindowKeys, MenuMnemonicsOpenTheirWindows) {
  Start();
  main_ = WaitForMain();
  ASSERT_NE(main_, nullptr);
  const struct {
    WORD menu, item;
    const wchar_t* caption;
  } cases[] = {{'F', 'O', L"Options"}, {'T', 'S', L"Search & Erase"}, {'H', 'A', L"About Clearvane"}};
  for (const auto& test : cases) {
    SCOPED_TRACE(std::string(1, static_cast<char>(test.menu)) + static_cast<char>(test.item));
    ASSERT_TRUE(PressKey(main_, {VK_MENU}, test.menu));
    ASSERT_TRUE(WaitForWindow({process_->Id(), L"#32768", L"", true}, 5000)) << "Alt opened no menu";
    TypeKeys({}, test.item);
    HWND opened = WaitForWindow(Dialog(test.caption), 10000);
    ASSERT_NE(opened, nullptr) << "the item's letter opened nothing";
    ::PostMessageW(opened, WM_COMMAND, IDCANCEL, 0);
    ::PostMessageW(opened, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForNoWindow(Dialog(test.caption), 10000));
  }
}

// A real click on a caption, at its centre on the screen, acts once, as one
// on the picture does.
TEST_F(WindowKeys, AClickOnACaptionActsAsOneOnItsPicture) {
  Start();
  main_ = WaitForMain();
  ASSERT_NE(main_, nullptr);
  for (int caption : {IDC_LABEL3, IDC_LABEL5}) {
    SCOPED_TRACE(caption);
    ::SetForegroundWindow(main_);
    // The click must reach the caption: the window in front and laid out
    // (the caption where it was at the last look), nothing (the splash as it
    // closes) over it.
    POINT at{};
    RECT last{};
    ASSERT_TRUE(WaitUntil(
        [&] {
          HWND label = FindControl(main_, caption);
          const RECT rect = ScreenRect(label);
          const bool settled = ::EqualRect(&rect, &last);
          last = rect;
          at = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
          HWND hit = ::WindowFromPoint(at);
          return settled && ::GetForegroundWindow() == main_ && (hit == label || hit == ::GetParent(label));
        },
        5000, 150))
        << "the caption is covered or the window is not in front";
    ::SetCursorPos(at.x, at.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(::SendInput(2, clicks, sizeof(INPUT)), 2u);
    if (caption == IDC_LABEL3) {
      EXPECT_TRUE(WaitUntil([&] { return IsShown(FindControl(main_, IDC_FRAME4)); }, 5000));
      continue;
    }
    HWND options = WaitForWindow(Dialog(L"Options"), 10000);
    ASSERT_NE(options, nullptr) << "the caption opened nothing";
    ::PostMessageW(options, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitForNoWindow(Dialog(L"Options"), 10000));
    EXPECT_EQ(WaitForWindow(Dialog(L"Options"), 1500), nullptr) << "the click acted twice";
  }
}

// "Restart as administrator" (Alt+F, R): a new process of the same exe, in
// the same folder, takes over (the boss key's hot keys free for it) and the
// first exits. Wine may or may not elevate it; elevated, it offers no restart.
TEST_F(WindowKeys, RestartAsAdministratorHandsOverToANewProcessOfTheSameExe) {
  // Wine runs programs elevated: this one starts with the limited token
  // linked to the test's own, as a program started by Explorer would.
  win32::UniqueKernelHandle own, limited;
  TOKEN_LINKED_TOKEN linked{};
  DWORD size = 0;
  ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, own.put()));
  if (::GetTokenInformation(own.get(), TokenLinkedToken, &linked, sizeof linked, &size) &&
      Elevated(::GetCurrentProcess())) {
    ::DuplicateTokenEx(linked.LinkedToken, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary,
                       limited.put());
    ::CloseHandle(linked.LinkedToken);
  }
  selection_ += "[Options]\r\nbosskey=1\r\n";
  std::ofstream(folder_ / "vanesd.dat", std::ios::binary) << selection_;
  process_ = Process::Start((folder_ / "clearvane.exe").wstring(), L"", folder_.wstring(), limited.get());
  ASSERT_TRUE(process_);
  main_ = WaitForMain();
  ASSERT_NE(main_, nullptr);
  const DWORD first = process_->Id();
  {
    win32::UniqueKernelHandle self(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, first));
    ASSERT_FALSE(Elevated(self.get())) << "the program could not be started without elevation";
  }
  ASSERT_TRUE(PressKey(main_, {VK_MENU}, 'F'));
  ASSERT_TRUE(WaitForWindow({first, L"#32768", L"", true}, 5000)) << "Alt+F opened no menu";
  TypeKeys({}, 'R');
  const bool exited = process_->WaitForExit(15000);
  if (!exited) Screenshot(nullptr, "not-restarted");
  ASSERT_TRUE(exited) << "the first program did not exit";

  HWND next = WaitForWindow({0, ui::kMainWindowClass, kMainCaption, true}, kStartTimeoutMs);
  ASSERT_NE(next, nullptr) << "no program started again";
  DWORD id = 0;
  ::GetWindowThreadProcessId(next, &id);
  win32::UniqueKernelHandle copy(
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
  ASSERT_TRUE(copy);
  struct Ender {
    HANDLE process;
    ~Ender() {
      if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT) ::TerminateProcess(process, 1);
    }
  } ender{copy.get()};
  EXPECT_NE(id, first);
  EXPECT_EQ(fs::path(ImageOf(next)), folder_ / "clearvane.exe");
  EXPECT_EQ(WaitForWindow({id, L"#32770", L"Clearvane", true}, 3000), nullptr) << "the copy found its hot keys taken";

  const bool elevated = Elevated(copy.get());
  std::cout << "the copy runs " << (elevated ? "elevated" : "without elevation") << "\n";
  if (elevated) {
    PostCommand(next, IDM_FILE_RESTART_ADMIN);
    EXPECT_EQ(::WaitForSingleObject(copy.get(), 3000), static_cast<DWORD>(WAIT_TIMEOUT))
        << "an elevated program restarted";
  }
  PostCommand(next, IDM_FILE_EXIT);
  EXPECT_EQ(::WaitForSingleObject(copy.get(), 15000), static_cast<DWORD>(WAIT_OBJECT_0));
}

}  // namespace
}  // namespace cv::guidriver
