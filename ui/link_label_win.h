#pragma once
// A one-line label that acts like a link: a Tab stop that the mouse (a press
// and release on it), Enter and Space activate. It tells its parent as a
// label with SS_NOTIFY would, WM_COMMAND with STN_CLICKED, and takes its
// colours from the parent's WM_CTLCOLORSTATIC.
#include <string_view>

#include "platform/win32/win.h"

namespace cv::ui {

// Creates a visible link label with `id` and `text` in `parent`.
HWND CreateLinkLabel(HWND parent, HINSTANCE instance, int id, std::wstring_view text);

}  // namespace cv::ui
