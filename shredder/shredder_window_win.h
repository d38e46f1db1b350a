#pragma once
// Shardmill.exe's window: the list of files and folders to shred, the
// passes, "Shred", and "Wipe free space" for a drive, with progress and
// "Cancel". A dialog built in code, so Tab, the mnemonics, Enter and Esc work
// as in every dialog.
#include <string>
#include <vector>

#include "ui/modal_dialog_win.h"
#include "platform/volume.h"
#include "platform/win32/win32_platform.h"

namespace cv::ui {

// Shows the window until it is closed; `paths` (from the command line) are
// in its list at the start.
void RunShredderWindow(HINSTANCE instance, win32::Win32Platform& platform, Volumes& volumes,
                       const std::vector<std::string>& paths);

}  // namespace cv::ui
