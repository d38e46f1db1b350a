// The main window on a 1280x720 screen at 96 and 144 DPI (run by
// small_screen.sh in a Wine world of its own): it opens inside the work area,
// every label and button shows its whole text in the window's fonts, and the
// window keeps that at its least size.
#include <gtest/gtest.h>

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

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// The program's fonts (Segoe UI 9 pt, bold for some labels, 11 pt bold
// headings, 22 pt bold title), made here at the same DPI for measuring.
struct FontSpec {
  int points;
  int weight;
};
FontSpec FontOf(int id) {
  switch (id) {
    case IDC_WELCOME_PRODUCT:
      return {22, FW_BOLD};
    case IDC_WELCOME_HEADING1:
    case IDC_WELCOME_HEADING2:
      return {11, FW_BOLD};
    case IDC_SKINLABEL10:
    case IDC_COMMAND1:
    case IDC_LABEL1:
    case IDC_LABEL2:
    case IDC_LABEL3:
    case IDC_LABEL4:
    case IDC_LABEL5:
    case IDC_LABEL6:
    case IDC_LABEL13:
    case IDC_LABEL7:
      return {9, FW_BOLD};
    default:
      return {9, FW_NORMAL};
  }
}

// The text's size when drawn wrapped at `width`, as the window draws it.
SIZE Measure(const std::wstring& text, FontSpec spec, int dpi, int width, bool prefix) {
  LOGFONTW font{};
  font.lfHeight = -::MulDiv(spec.points, dpi, 72);
  font.lfWeight = spec.weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  ::lstrcpynW(font.lfFaceName, L"Segoe UI", LF_FACESIZE);
  HFONT handle = ::CreateFontIndirectW(&font);
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, handle);
  RECT box{0, 0, width, 0};
  ::DrawTextW(dc, text.c_str(), -1, &box, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | (prefix ? 0 : DT_NOPREFIX));
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(handle);
  return SIZE{box.right, box.bottom};
}

bool VisibleOnScreen(HWND control) { return ::IsWindowVisible(control) != FALSE; }

class WindowFit : public ProgramFixture, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD dpi = static_cast<DWORD>(GetParam());
    ::RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    ::RegCloseKey(key);
  }
  void TearDown() override {
    ProgramFixture::TearDown();
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
  }

  // Every visible label and button below `root` holds its text at `dpi`.
  void ExpectTextsFit(HWND root, const std::string& where, int dpi) {
    std::vector<HWND> controls;
    ::EnumChildWindows(
        root,
        [](HWND child, LPARAM list) -> BOOL {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    int checked = 0;
    for (HWND control : controls) {
      const std::wstring cls = ClassName(control);
      const bool button = ::lstrcmpiW(cls.c_str(), L"Button") == 0;
      const bool label = ::lstrcmpiW(cls.c_str(), L"Static") == 0 || cls == ui::kLinkLabelClass;
      if ((!button && !label) || !VisibleOnScreen(control)) continue;
      const std::wstring text = Text(control).value_or(L"");
      if (text.empty()) continue;
      RECT client{};
      ::GetClientRect(control, &client);
      const int id = ::GetDlgCtrlID(control);
      const bool prefix = button || (::GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX) == 0;
      // A button draws its caption inside its edges; a label may use all of it.
      const int room = button ? client.right - 8 : client.right;
      const SIZE size = Measure(text, FontOf(id), dpi, room, prefix);
      const std::string name =
          where + " control " + std::to_string(id) + " \"" + std::string(text.begin(), text.end()) + "\"";
      EXPECT_LE(size.cx, room) << name << " is wider than its control";
      EXPECT_LE(size.cy, client.bottom) << name << " is taller than its control";
      // And the control is whole inside the panel that holds it.
      RECT parent{};
      ::GetClientRect(::GetParent(control), &parent);
      ::MapWindowPoints(::GetParent(control), nullptr, reinterpret_cast<POINT*>(&parent), 2);
      const RECT own = ScreenRect(control);
      EXPECT_TRUE(own.left >= parent.left && own.top >= parent.top && own.right <= parent.right &&
                  own.bottom <= parent.bottom)
          << name << " is cut off by its panel";
      ++checked;
    }
    EXPECT_GT(checked, 5) << where;
  }

  void ExpectOnScreen(HWND main) {
    const RECT work = WorkArea(), rect = ScreenRect(main);
    EXPECT_GE(rect.left, work.left);
    EXPECT_GE(rect.top, work.top);
    EXPECT_LE(rect.right, work.right);
    EXPECT_LE(rect.bottom, work.bottom);
  }
};

TEST_P(WindowFit, TheWindowIsOnScreenAndEveryTextFitsItsControl) {
  const int dpi = GetParam();
  const RECT work = WorkArea();
  ASSERT_EQ(work.right - work.left, 1280) << "this test wants a 1280x720 screen (small_screen.sh)";
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  // The DPI took effect: the navigation pictures, and the captions as tall as they are, are scaled.
  const RECT image = ScreenRect(FindControl(main, IDC_LABEL1));
  ASSERT_EQ(image.bottom - image.top, ::MulDiv(36, dpi, 96)) << "the window does not run at " << dpi << " DPI";

  ExpectOnScreen(main);
  const RECT opened = ScreenRect(main);
  std::cout << dpi << " DPI: the window opens at " << opened.right - opened.left << "x" << opened.bottom - opened.top
            << " in a work area of " << work.right - work.left << "x" << work.bottom - work.top << "\n";
  ExpectTextsFit(main, "welcome", dpi);
  Screenshot(nullptr, "welcome-" + std::to_string(dpi));
  Click(FindControl(main, IDC_IMAGE3));
  ASSERT_TRUE(WaitUntil([&] { return IsShown(FindControl(main, IDC_COMMAND1)); }, 5000));
  ExpectTextsFit(main, "status", dpi);
  Screenshot(nullptr, "status-" + std::to_string(dpi));

  // Made as small as it lets itself be: everything still fits.
  ::SetWindowPos(main, nullptr, 0, 0, 200, 200, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  ::Sleep(500);
  const RECT least = ScreenRect(main);
  EXPECT_GT(least.right - least.left, 200);
  std::cout << dpi << " DPI: least size " << least.right - least.left << "x" << least.bottom - least.top << "\n";
  ExpectTextsFit(main, "status at the least size", dpi);
  Click(FindControl(main, IDC_IMAGE1));
  ASSERT_TRUE(WaitUntil([&] { return IsShown(FindControl(main, IDC_FRAME2)); }, 5000));
  ExpectTextsFit(main, "welcome at the least size", dpi);
  Screenshot(nullptr, "least-" + std::to_string(dpi));

  // Moved to a monitor of the other DPI (WM_DPICHANGED with the rectangle
  // Windows suggests, placed in the program's memory): fonts, pictures and
  // every label follow.
  const int moved = dpi == 96 ? 144 : 96;
  HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process_->Id());
  ASSERT_NE(process, nullptr);
  void* remote = ::VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const RECT suggested{work.left, work.top, work.right, work.bottom};
  ASSERT_TRUE(remote && ::WriteProcessMemory(process, remote, &suggested, sizeof suggested, nullptr));
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(main, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(moved, moved), reinterpret_cast<LPARAM>(remote),
                        SMTO_ABORTIFHUNG, 10000, &ignored);
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  ::CloseHandle(process);
  const RECT movedImage = ScreenRect(FindControl(main, IDC_LABEL1));
  EXPECT_EQ(movedImage.bottom - movedImage.top, ::MulDiv(36, moved, 96)) << "the pictures did not follow the DPI";
  ExpectTextsFit(main, "welcome after a DPI change", moved);
  ExpectOnScreen(main);
}

INSTANTIATE_TEST_SUITE_P(Dpi, WindowFit, ::testing::Values(96, 144));

class WindowPictures : public ProgramFixture {};

// A double click on a picture of the navigation bar opens its window once.
TEST_F(WindowPictures, ADoubleClickOnAPictureActsOnce) {
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  HWND picture = FindControl(main, IDC_IMAGE5);
  RECT client{};
  ::GetClientRect(picture, &client);
  const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
    ::PostMessageW(picture, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, centre);
  const WindowQuery dialog{process_->Id(), L"#32770", L"", true};
  HWND first = WaitForWindow(dialog, 10000);
  ASSERT_NE(first, nullptr) << "the picture opened nothing";
  ::PostMessageW(first, WM_COMMAND, IDCANCEL, 0);
  ::PostMessageW(first, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitForNoWindow(dialog, 10000));
  EXPECT_EQ(WaitForWindow(dialog, 2000), nullptr) << "the double click acted twice";
}

// A place the user chose (a move ends with WM_EXITSIZEMOVE) is where the
// next start opens; one off the screen is brought back onto it.
TEST_F(WindowPictures, TheWindowOpensWhereTheUserLeftIt) {
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  const RECT work = WorkArea();
  const RECT chosen{work.left + 40, work.top + 30, work.left + 40 + 1000, work.top + 30 + 600};
  ::SetWindowPos(main, nullptr, chosen.left, chosen.top, 1000, 600, SWP_NOZORDER | SWP_NOACTIVATE);
  ::PostMessageW(main, WM_EXITSIZEMOVE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return ReadSelection().find("WindowPlacement=") != std::string::npos; }, 5000))
      << "the placement was not stored";
  for (const bool offScreen : {false, true}) {
    SCOPED_TRACE(offScreen);
    process_->Kill();
    if (offScreen) {
      std::string stored = ReadSelection();
      const std::size_t at = stored.find("WindowPlacement=");
      stored.replace(at, stored.find('\r', at) - at, "WindowPlacement=1200,500,2200,1100,0");
      selection_ = stored;
    } else {
      selection_ = ReadSelection();
    }
    Start();
    main = WaitForMain();
    ASSERT_NE(main, nullptr);
    const RECT opened = ScreenRect(main);
    EXPECT_EQ(opened.right - opened.left, 1000);
    EXPECT_EQ(opened.bottom - opened.top, 600);
    if (!offScreen) {
      EXPECT_EQ(opened.left, chosen.left);
      EXPECT_EQ(opened.top, chosen.top);
    }
    EXPECT_GE(opened.left, work.left);
    EXPECT_LE(opened.right, work.right);
    EXPECT_LE(opened.bottom, work.bottom);
  }
}

}  // namespace
}  // namespace cv::guidriver
