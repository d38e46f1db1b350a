#pragma once
// The about box (frmabout), modal over the main window.
#include <functional>

#include "platform/win32/win.h"

namespace cv::ui {

// `viewLicense` runs for "View License Agreement"; "Exit" closes the box.
void ShowAboutBox(HINSTANCE instance, HWND owner, const std::function<void()>& viewLicense);

}  // namespace cv::ui
