#include "ui/look_win.h"

#include <string>

#include "ui/controls_win.h"

namespace cv::ui {

namespace {

HFONT MakeFont(const wchar_t* face, int pointsAt96, int weight, UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -::MulDiv(pointsAt96, static_cast<int>(dpi), 72);
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  ::lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return ::CreateFontIndirectW(&font);
}

}  // namespace

UINT WindowDpi(HWND window) {
  // GetDpiForWindow exists from Windows 10 on; older systems report one DPI.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow && window) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi) return dpi;
  }
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void Fonts::Create(UINT dpi) {
  body_.reset(MakeFont(L"Segoe UI", 9, FW_NORMAL, dpi));
  bold_.reset(MakeFont(L"Segoe UI", 9, FW_BOLD, dpi));
  heading_.reset(MakeFont(L"Segoe UI", 11, FW_BOLD, dpi));
  title_.reset(MakeFont(L"Segoe UI", 22, FW_BOLD, dpi));
  tahoma_.reset(MakeFont(L"Tahoma", 8, FW_NORMAL, dpi));
  tahomaBold_.reset(MakeFont(L"Tahoma", 8, FW_BOLD, dpi));
}

SIZE MeasureText(HWND control, HFONT font, int wrapWidth) {
  std::wstring text = WindowText(control);
  if (text.empty()) text = L" ";  // an empty label still has a line's height
  if (!font) font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  // A memory DC: measuring needs no window's DC, which is costly to get.
  HDC dc = ::CreateCompatibleDC(nullptr);
  if (!dc) return SIZE{0, 0};
  HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
  RECT box{0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
  UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
  if (wrapWidth > 0) format |= DT_WORDBREAK;
  // Labels that draw "&" as a mnemonic underline measure without it.
  if ((::GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX) == 0) format &= ~static_cast<UINT>(DT_NOPREFIX);
  ::DrawTextW(dc, text.c_str(), -1, &box, format);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return SIZE{box.right - box.left, box.bottom - box.top};
}

void ApplyFont(HWND window, HFONT font) {
  ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM font) -> BOOL {
        ::SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(font));
}

void ShowAsProgramWindow(HWND dialog, HINSTANCE instance, int iconId) {
  ::SetWindowLongPtrW(dialog, GWL_STYLE, ::GetWindowLongPtrW(dialog, GWL_STYLE) | WS_MINIMIZEBOX);
  for (int size : {ICON_BIG, ICON_SMALL}) {
    const int pixels = ::GetSystemMetrics(size == ICON_BIG ? SM_CXICON : SM_CXSMICON);
    auto icon =
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON, pixels, pixels, LR_SHARED));
    ::SendMessageW(dialog, WM_SETICON, size, reinterpret_cast<LPARAM>(icon));
  }
}

}  // namespace cv::ui
