#pragma once
// The Win32 services the window program hands to its logic, owned together
// for the program's life.
#include <memory>

#include "platform/platform.h"
#include "platform/win32/filesystem_win.h"
#include "platform/win32/office_win.h"
#include "platform/win32/registry_win.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/url_history_win.h"

namespace cv::ui {

class GuiServices {
 public:
  GuiServices() : urlHistory_(win32::Win32UrlHistoryStore::Create()) {}

  Platform View() { return Platform{registry_, files_, shell_, messages_, clock_, urlHistory_.get(), &office_}; }
  // Message boxes, the Recycle Bin and the clipboard belong to this window.
  void SetOwnerWindow(HWND owner) {
    shell_.SetOwnerWindow(owner);
    messages_.SetOwnerWindow(owner);
  }

 private:
  win32::Win32Registry registry_;
  win32::Win32FileSystem files_;
  win32::Win32Shell shell_;
  win32::Win32MessageBoxes messages_;
  win32::Win32Clock clock_;
  win32::Win32OfficeDetector office_;
  std::unique_ptr<win32::Win32UrlHistoryStore> urlHistory_;
};

}  // namespace cv::ui
