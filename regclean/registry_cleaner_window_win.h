#pragma once
// Hivebrush.exe's window: "Scan" lists what points at what is gone, with a
// box per finding; "Fix selected" backs each up as a .reg file in the
// Backups folder beside the program and then removes it; "Restore a
// backup..." imports one. A dialog built in code, so Tab, the mnemonics,
// Enter and Esc work as in every dialog.
#include "platform/win32/win32_platform.h"
#include "ui/modal_dialog_win.h"

namespace cv::ui {

// Shows the window until it is closed.
void RunRegistryCleanerWindow(HINSTANCE instance, win32::Win32Platform& platform);

}  // namespace cv::ui
