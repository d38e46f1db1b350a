#pragma once
// The junk-file finder window "Search & Erase", modal over the main window.
#include <functional>

#include "platform/platform.h"
#include "platform/win32/win.h"

namespace cv::finder {

// `showAbout` shows the program's about box owned by the given window.
void ShowFinderWindow(HINSTANCE instance, HWND owner, Platform platform, const std::function<void(HWND)>& showAbout);

}  // namespace cv::finder
