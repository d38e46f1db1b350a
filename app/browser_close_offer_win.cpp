#include "app/browser_close_offer_win.h"

#include <algorithm>
#include <string>

#include "platform/win32/desktop_windows_win.h"
#include "platform/win32/text_win.h"
#include "resources/modern_browsers_res.h"
#include "ui/modal_dialog_win.h"

namespace cv::ui {

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 200;

// "Waiting for Google Chrome to close..." with "Cancel"; ends by itself
// when the browser's lock is gone or the time is up.
class CloseWaitWindow : public ModalDialog {
 public:
  CloseWaitWindow(const BrowserSpec& browser, const std::function<bool()>& running)
      : browser_(browser), running_(running), start_(::GetTickCount()) {}

 private:
  void OnInit() override {
    const std::wstring text = L"Waiting for " + win32::Widen(browser_.name) + L" to close...";
    HWND label = AddControl(L"STATIC", text, SS_LEFT | SS_NOPREFIX, IDC_BROWSER_CLOSE_TEXT);
    HWND cancel = AddControl(L"BUTTON", L"Cancel", WS_TABSTOP | BS_DEFPUSHBUTTON, IDCANCEL);
    const int margin = DluX(7), buttonWidth = DluX(50), buttonHeight = DluY(14);
    const int width = std::max(DluX(180), TextWidth(text) + 2 * margin);
    PlaceControl(label, margin, margin, width - 2 * margin, DluY(9));
    PlaceControl(cancel, width - margin - buttonWidth, margin + DluY(16), buttonWidth, buttonHeight);
    SetClientSize(width, margin + DluY(16) + buttonHeight + margin);
    ::SendMessageW(Handle(), DM_SETDEFID, IDCANCEL, 0);
    ::SetTimer(Handle(), kPollTimer, kPollMs, nullptr);
  }

  void OnCommand(int id, int code, HWND) override {
    if (id == IDCANCEL || id == IDOK) Finish(IDCANCEL);
  }

  std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM) override {
    if (message != WM_TIMER || wParam != kPollTimer) return std::nullopt;
    Poll();
    return TRUE;
  }

  void Poll() {
    if (!running_()) return Finish(IDOK);
    if (::GetTickCount() - start_ >= kBrowserCloseWaitMs) Finish(IDABORT);
  }

  void Finish(INT_PTR code) {
    ::KillTimer(Handle(), kPollTimer);
    End(code);
  }

  const BrowserSpec& browser_;
  const std::function<bool()>& running_;
  DWORD start_;
};

}  // namespace

void WindowBrowserCloser::Close(const BrowserSpec& browser, const std::function<bool()>& running) {
  win32::Win32DesktopWindows desktop;
  const std::vector<WindowId> windows = BrowserWindows(desktop, browser);
  // Without a window to close there is nothing to wait for.
  if (windows.empty()) return;
  for (WindowId window : windows) ::PostMessageW(reinterpret_cast<HWND>(static_cast<UINT_PTR>(window)), WM_CLOSE, 0, 0);
  CloseWaitWindow wait(browser, running);
  wait.Run(instance_, owner_, L"Closing " + win32::Widen(browser.name));
}

}  // namespace cv::ui
