#pragma once
// The keep-list windows: `frmurl` "URL Drop-List Options" and `frmcookie`
// "Cookies Options", modal over their owner. Each "Add >" and "< Remove"
// writes its file at once; closing keeps what was written.
#include "platform/platform.h"
#include "platform/win32/win.h"

namespace cv::ui {

void ShowUrlKeepList(HINSTANCE instance, HWND owner, Platform& platform);
void ShowCookieKeepList(HINSTANCE instance, HWND owner, Platform& platform);

// The widest entry of a list box in its own font, plus 8 pixels; 0 when empty.
int ListTextWidth(HWND list);

}  // namespace cv::ui
