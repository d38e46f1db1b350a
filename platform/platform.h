#pragma once
// The services the program's logic receives instead of calling Windows.
// platform/win32/ implements them on Windows, platform/emulated/ on Linux
// for the native tests. Services still to come, each in its own header here:
// windows.h (top-level windows, hot keys), url_history.h, office.h,
// settings_store.h.
#include "platform/clock.h"
#include "platform/filesystem.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/ui.h"

namespace cv {

struct Platform {
  Registry& registry;
  FileSystem& files;
  Shell& shell;
  MessageBoxes& messages;
  Clock& clock;
};

}  // namespace cv
