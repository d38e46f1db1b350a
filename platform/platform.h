#pragma once
// The services the program's logic receives instead of calling Windows.
// platform/win32/ implements them on Windows, platform/emulated/ on Linux
// for the native tests. Services still to come, each in its own header here:
// windows.h (top-level windows, hot keys), settings_store.h.
#include "platform/clock.h"
#include "platform/filesystem.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/ui.h"

namespace cv {

class UrlHistoryStore;  // platform/url_history.h
class OfficeDetector;   // platform/office.h
class KeySender;        // platform/keys.h

struct Platform {
  Registry& registry;
  FileSystem& files;
  Shell& shell;
  MessageBoxes& messages;
  Clock& clock;
  // Optional services: null where the system has none (items then do nothing).
  UrlHistoryStore* urlHistory = nullptr;
  OfficeDetector* office = nullptr;
  KeySender* keys = nullptr;
};

}  // namespace cv
