#include "ui/link_label_win.h"

#include <string>

#include "ui/controls_win.h"
#include "ui/window_names.h"

namespace cv::ui {
namespace {

// The label's state lives in its window's extra bytes, so it needs no object.
constexpr int kFontSlot = 0;
constexpr int kPressedSlot = sizeof(LONG_PTR);

void Activate(HWND link) {
  ::SendMessageW(::GetParent(link), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(link), STN_CLICKED),
                 reinterpret_cast<LPARAM>(link));
}

void Paint(HWND link) {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(link, &paint);
  RECT client;
  ::GetClientRect(link, &client);
  // The parent sets the text colour and gives the background, as for a label.
  auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(link), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link)));
  ::FillRect(dc, &client, brush ? brush : ::GetSysColorBrush(COLOR_WINDOW));
  HGDIOBJ oldFont = nullptr;
  if (auto font = reinterpret_cast<HFONT>(::GetWindowLongPtrW(link, kFontSlot))) oldFont = ::SelectObject(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  const std::wstring text = WindowText(link);
  RECT box = client;
  ::DrawTextW(dc, text.c_str(), -1, &box, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
  const LRESULT cues = ::SendMessageW(link, WM_QUERYUISTATE, 0, 0);
  if (::GetFocus() == link && !(cues & UISF_HIDEFOCUS)) ::DrawFocusRect(dc, &client);
  if (oldFont) ::SelectObject(dc, oldFont);
  ::EndPaint(link, &paint);
}

LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFONT:
      ::SetWindowLongPtrW(link, kFontSlot, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam)) ::InvalidateRect(link, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return ::GetWindowLongPtrW(link, kFontSlot);
    case WM_SETTEXT: {
      const LRESULT result = ::DefWindowProcW(link, message, wParam, lParam);
      ::InvalidateRect(link, nullptr, TRUE);
      return result;
    }
    case WM_PAINT:
      Paint(link);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      ::InvalidateRect(link, nullptr, FALSE);  // the focus rectangle comes or goes
      return 0;
    case WM_UPDATEUISTATE:
      ::InvalidateRect(link, nullptr, FALSE);
      return ::DefWindowProcW(link, message, wParam, lParam);
    case WM_GETDLGCODE: {
      // Enter is the link's own, not the window's default button.
      const MSG* key = reinterpret_cast<const MSG*>(lParam);
      return key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN ? DLGC_WANTMESSAGE : 0;
    }
    case WM_KEYDOWN:
      if ((wParam == VK_RETURN || wParam == VK_SPACE) && !(lParam & (1 << 30))) Activate(link);
      return 0;
    case WM_LBUTTONDOWN:
      ::SetFocus(link);
      ::SetCapture(link);
      ::SetWindowLongPtrW(link, kPressedSlot, 1);
      return 0;
    case WM_LBUTTONUP: {
      // Acts once for a press made here and let go over the link.
      const bool pressed = ::SetWindowLongPtrW(link, kPressedSlot, 0) != 0;
      if (::GetCapture() == link) ::ReleaseCapture();
      RECT client;
      ::GetClientRect(link, &client);
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (pressed && ::PtInRect(&client, at)) Activate(link);
      return 0;
    }
    case WM_CAPTURECHANGED:
      ::SetWindowLongPtrW(link, kPressedSlot, 0);
      return 0;
    default:
      return ::DefWindowProcW(link, message, wParam, lParam);
  }
}

}  // namespace

HWND CreateLinkLabel(HWND parent, HINSTANCE instance, int id, std::wstring_view text) {
  WNDCLASSEXW linkClass{};
  linkClass.cbSize = sizeof linkClass;
  linkClass.lpfnWndProc = LinkProc;
  linkClass.cbWndExtra = 2 * sizeof(LONG_PTR);
  linkClass.hInstance = instance;
  linkClass.hCursor = ::LoadCursorW(nullptr, IDC_HAND);
  linkClass.lpszClassName = kLinkLabelClass;
  ::RegisterClassExW(&linkClass);  // a second registration fails harmlessly
  // SS_NOPREFIX: measured as drawn, an "&" is shown as it is.
  return ::CreateWindowExW(0, kLinkLabelClass, std::wstring(text).c_str(),
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_NOPREFIX, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace cv::ui
