#include "app/look_win.h"

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

}  // namespace cv::ui
