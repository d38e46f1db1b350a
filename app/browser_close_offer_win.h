#pragma once
// Closing a running browser the user agreed to close: WM_CLOSE to the
// visible top-level windows of the processes with its image name, then a
// small modal window, "Closing Google Chrome", that waits for the browser's
// lock to go (about ten seconds at most; "Cancel" or Esc stops waiting).
// Nothing is killed: a browser that does not close is skipped by the run.
#include "app/browser_close_offer.h"
#include "platform/win32/win.h"

namespace cv::ui {

inline constexpr unsigned kBrowserCloseWaitMs = 10000;

class WindowBrowserCloser : public BrowserCloser {
 public:
  WindowBrowserCloser() = default;
  WindowBrowserCloser(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}
  void Close(const BrowserSpec& browser, const std::function<bool()>& running) override;

 private:
  HINSTANCE instance_ = nullptr;
  HWND owner_ = nullptr;
};

}  // namespace cv::ui
