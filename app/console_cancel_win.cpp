#include "app/console_cancel_win.h"

#include "platform/win32/win.h"

namespace cv::ui {

namespace {

// The handler runs on a thread of its own and takes no context, so the
// request it sets has to live here.
CancelRequest consoleCancel;

BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  if (consoleCancel.Requested()) return FALSE;
  consoleCancel.Request();
  return TRUE;
}

}  // namespace

const CancelRequest& StopOnConsoleCtrlC() {
  static const bool installed = ::SetConsoleCtrlHandler(OnConsoleControl, TRUE) != FALSE;
  (void)installed;
  return consoleCancel;
}

}  // namespace cv::ui
