#pragma once
// The question before a clean the user started, as a small modal dialog
// over the main window: a warning icon, the question, "Do not ask again",
// "Yes" (the default: Enter cleans) and "No" (Esc and the close button).
#include <string_view>

#include "app/clean_question.h"
#include "platform/win32/win.h"

namespace cv::ui {

CleanAnswer AskBeforeCleaning(HINSTANCE instance, HWND owner, std::string_view question);

}  // namespace cv::ui
