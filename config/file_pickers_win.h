#pragma once
// The system's file-open and folder pickers, as the windows ask for files and folders.
#include <optional>
#include <string>

#include "platform/win32/win.h"

namespace cv::ui {

// The file-open dialog's answer in the picker's form (several files may be
// chosen): one full path, or the folder followed by the names, each preceded
// by a NUL (split by GetSelectedFiles of config/custom_items.h). nullopt
// when the user cancelled.
std::optional<std::string> PickFiles(HWND owner);
// A folder; nullopt when the user cancelled.
std::optional<std::string> PickFolder(HWND owner);

}  // namespace cv::ui
