#pragma once
// The extension list dialog "Options", modal over the finder.
#include <functional>
#include <string>

#include "finder/extension_list.h"
#include "finder/sweepdisk_settings.h"
#include "platform/win32/win.h"

namespace cv::finder {

// `searchStringChanged` receives the finder's new search string after each change.
void ShowExtensionDialog(HINSTANCE instance, HWND owner, ExtentionHandller& extensions, SweepdiskSettings& settings,
                         const std::function<void(const std::string&)>& searchStringChanged);

}  // namespace cv::finder
