#pragma once
// The real services, assembled for the program and the Windows tests.
#include <memory>

#include "platform/platform.h"
#include "platform/win32/filesystem_win.h"
#include "platform/win32/keys_win.h"
#include "platform/win32/office_win.h"
#include "platform/win32/registry_win.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/url_history_win.h"

namespace cv::win32 {

class Win32Platform {
 public:
  Win32Platform() : urlHistory(Win32UrlHistoryStore::Create()) {}
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Platform View() { return Platform{registry, files, shell, messages, clock, urlHistory.get(), &office, &keys}; }
  // The window that owns message boxes, the Recycle Bin, the clipboard and
  // the focus given back after keystrokes.
  void SetOwnerWindow(HWND owner) {
    shell.SetOwnerWindow(owner);
    messages.SetOwnerWindow(owner);
    keys.SetOwnerWindow(owner);
  }

  Win32Registry registry;
  Win32FileSystem files;
  Win32Shell shell;
  Win32MessageBoxes messages;
  Win32Clock clock;
  Win32OfficeDetector office;
  Win32KeySender keys;
  std::unique_ptr<Win32UrlHistoryStore> urlHistory;  // null without a URL history store
};

}  // namespace cv::win32
