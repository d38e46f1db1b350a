#pragma once
// "Windows Shutdown": the main window's answer to the end of the session.
#include "app/main_controller.h"
#include "platform/win32/win.h"

namespace cv::ui {

// WM_QUERYENDSESSION and WM_ENDSESSION: with the option on, one unattended
// run of the ticked items while Windows shows why the program holds the
// session up; then the session may end. Returns the message's answer.
LRESULT HandleSessionEnd(HWND window, UINT message, WPARAM wParam, MainController& controller);

}  // namespace cv::ui
