#pragma once
// "Kept Domains": the window that edits keepdomains.dat, modal over its owner.
#include "platform/platform.h"
#include "platform/win32/win.h"

namespace cv::ui {

void ShowDomainKeepList(HINSTANCE instance, HWND owner, Platform& platform);

}  // namespace cv::ui
