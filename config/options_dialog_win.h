#pragma once
// The options dialog (Frmoption) on Windows: a view over OptionsStore.
#include <optional>
#include <string>

#include "config/options_dialog.h"
#include "platform/platform.h"
#include "platform/win32/win.h"

namespace cv::ui {

// Shows the dialog modally; what "OK" stored, or nullopt for "Cancel".
std::optional<OptionsApplied> ShowOptionsDialog(HINSTANCE instance, HWND owner, Platform& platform,
                                                const std::string& selectionFile);

}  // namespace cv::ui
