#pragma once
// The notification-area icon of the main window. Its events arrive as the
// private message CV_WM_TRAYCALLBACK with the mouse message in lParam (not as
// WM_MOUSEMOVE, so that real mouse moves are never taken for tray clicks).
#include "platform/win32/win.h"

namespace cv::ui {

class TrayIcon {
 public:
  TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon() { Remove(); }

  // Adds the icon; false when the shell refused it (the program runs on without).
  bool Add(HWND owner, HICON icon);
  void Remove();
  // Explorer restarted (the "TaskbarCreated" message): add the icon again.
  void Readd();
  bool Added() const { return added_; }

  // The id of the "TaskbarCreated" message.
  static UINT TaskbarCreatedMessage();

 private:
  HWND owner_ = nullptr;
  HICON icon_ = nullptr;
  bool added_ = false;
};

// Shows the tray menu at the mouse position; its commands go to `owner`.
// During a run the menu begins with "Cancel Cleaning" (IDM_TRAY_CANCEL).
void ShowTrayMenu(HWND owner, HINSTANCE instance, bool running = false);

}  // namespace cv::ui
