#pragma once
// The tabs of "Cleaning Settings" and the call that opens it: the built-in
// item pages from the switch table, with the pages of the other sources
// placed among them.
#include <vector>

#include "config/selection_dialog_win.h"

namespace cv::ui {

// The tabs of the dialog in order: "Browsers" with its ten sub-tabs, "Modern browsers",
// "Windows", " Microsoft Office", "Applications", "Custom Item",
// "Instant Messaging", "Email Readers".
std::vector<SelectionTab> SelectionTabs();

// Opens "Cleaning Settings" modally over `owner`; true when "OK" saved.
bool ShowSelectionDialog(HINSTANCE instance, HWND owner, Platform& platform);

}  // namespace cv::ui
