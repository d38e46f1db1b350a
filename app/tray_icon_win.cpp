#include "platform/win32/win.h"
#include <shellapi.h>
#include "app/tray_icon_win.h"

#include "resources/resource.h"
#include "resources/window_res.h"

namespace cv::ui {

namespace {

NOTIFYICONDATAW IconData(HWND owner, HICON icon) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = CV_TRAY_ICON_ID;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = CV_WM_TRAYCALLBACK;
  data.hIcon = icon;
  ::lstrcpynW(data.szTip, L"Clearvane", ARRAYSIZE(data.szTip));
  return data;
}

}  // namespace

bool TrayIcon::Add(HWND owner, HICON icon) {
  owner_ = owner;
  icon_ = icon;
  NOTIFYICONDATAW data = IconData(owner_, icon_);
  added_ = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  return added_;
}

void TrayIcon::Remove() {
  if (!owner_) return;
  NOTIFYICONDATAW data = IconData(owner_, icon_);
  ::Shell_NotifyIconW(NIM_DELETE, &data);
  added_ = false;
  owner_ = nullptr;
}

void TrayIcon::Readd() {
  if (owner_) Add(owner_, icon_);
}

UINT TrayIcon::TaskbarCreatedMessage() { return ::RegisterWindowMessageW(L"TaskbarCreated"); }

void ShowTrayMenu(HWND owner, HINSTANCE instance, bool running) {
  HMENU menu = ::LoadMenuW(instance, MAKEINTRESOURCEW(IDR_TRAYMENU));
  if (!menu) return;
  if (running) {
    ::InsertMenuW(::GetSubMenu(menu, 0), 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    ::InsertMenuW(::GetSubMenu(menu, 0), 0, MF_BYPOSITION | MF_STRING, IDM_TRAY_CANCEL, L"Cancel Cleaning");
  }
  POINT cursor{};
  ::GetCursorPos(&cursor);
  // The foreground window makes the menu close when the user clicks elsewhere.
  ::SetForegroundWindow(owner);
  ::TrackPopupMenu(::GetSubMenu(menu, 0), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, owner, nullptr);
  ::PostMessageW(owner, WM_NULL, 0, 0);
  ::DestroyMenu(menu);
}

}  // namespace cv::ui
