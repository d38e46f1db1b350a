// guidriver.exe: the GUI driver from the command line, for scripts.
//   guidriver wait-window CAPTION TIMEOUT_MS        exit 0 when a visible window has the caption
//   guidriver click CAPTION CONTROL_ID              click a control of that window
//   guidriver command CAPTION ID                    send a menu/control command to that window
//   guidriver dismiss CAPTION TIMEOUT_MS            wait for a message box with that caption and press OK
//   guidriver screenshot CAPTION OUT.png            save the window (or "-" for the screen) as PNG
#include <cstdio>
#include <string>

#include "driver.h"

namespace {

using namespace cv::guidriver;

HWND Window(const std::wstring& caption) { return FindTopWindow(WindowQuery{0, L"", caption, true}); }

int Usage() {
  std::fputs("usage: guidriver wait-window|click|command|dismiss|screenshot CAPTION ARG\n", stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return Usage();
  const std::wstring verb = argv[1], caption = argv[2], arg = argv[3];
  if (verb == L"wait-window") return WaitForWindow(WindowQuery{0, L"", caption, true}, std::stoul(arg)) ? 0 : 1;
  if (verb == L"click" || verb == L"command") {
    HWND window = Window(caption);
    if (!window) return 1;
    const int id = std::stoi(arg);
    if (verb == L"command") {
      PostCommand(window, id);
      return 0;
    }
    HWND control = FindControl(window, id);
    if (!control) return 1;
    Click(control);
    return 0;
  }
  if (verb == L"dismiss") {
    HWND box = WaitForWindow(WindowQuery{0, L"#32770", caption, true}, std::stoul(arg));
    if (!box) return 1;
    if (HWND ok = FindControl(box, IDOK)) Click(ok);
    return WaitForNoWindow(WindowQuery{0, L"#32770", caption, true}, 5000) ? 0 : 1;
  }
  if (verb == L"screenshot") {
    HWND window = caption == L"-" ? nullptr : Window(caption);
    if (caption != L"-" && !window) return 1;
    return SaveScreenshot(window, arg) ? 0 : 1;
  }
  return Usage();
}
