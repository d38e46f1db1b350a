#include "app/session_end_win.h"

namespace cv::ui {

namespace {

constexpr wchar_t kBlockReason[] = L"Clearvane is cleaning your tracks before Windows shuts down.";

}  // namespace

LRESULT HandleSessionEnd(HWND window, UINT message, WPARAM wParam, MainController& controller) {
  if (message == WM_ENDSESSION && !wParam) {
    controller.SessionEndCancelled();
    return 0;
  }
  // Windows may skip the query (a forced shutdown): then the end itself cleans.
  const bool blocked = ::ShutdownBlockReasonCreate(window, kBlockReason) != FALSE;
  controller.SessionEnding();
  if (blocked && ::IsWindow(window)) ::ShutdownBlockReasonDestroy(window);
  return message == WM_QUERYENDSESSION ? TRUE : 0;
}

}  // namespace cv::ui
