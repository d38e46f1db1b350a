#include "app/splash_win.h"

#include "cv_version.h"
#include "resources/resource.h"
#include "ui/window_names.h"

namespace cv::ui {

namespace {
constexpr UINT_PTR kTimerId = 1;
}

bool Splash::Create(HINSTANCE instance) {
  WNDCLASSEXW details{};
  details.hCursor = ::LoadCursorW(nullptr, IDC_APPSTARTING);
  RegisterWindowClass(instance, kSplashClass, details);

  const UINT dpi = WindowDpi(nullptr);
  const int width = Scale(440, dpi), height = Scale(240, dpi);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int left = work.left + (work.right - work.left - width) / 2;
  const int top = work.top + (work.bottom - work.top - height) / 2;
  fonts_.Create(dpi);
  window_.reset(CreateWindowFor(WS_EX_TOOLWINDOW, kSplashClass, L"Clearvane", WS_POPUP | WS_BORDER, left, top, width,
                                height, nullptr, nullptr, instance));
  if (!window_) return false;
  ::ShowWindow(window_.get(), SW_SHOWNORMAL);
  ::UpdateWindow(window_.get());
  return true;
}

void Splash::StartTimer(std::function<void()> done) {
  done_ = std::move(done);
  if (window_) ::SetTimer(window_.get(), kTimerId, kDisplayMs, nullptr);
}

void Splash::Paint(HDC dc) {
  RECT client;
  ::GetClientRect(window_.get(), &client);
  const UINT dpi = WindowDpi(window_.get());
  SolidBrush band(kNavigationBackground), body(kPanelBackground), accent(kAccent);
  RECT top = client;
  top.bottom = client.top + Scale(150, dpi);
  ::FillRect(dc, &top, band.get());
  RECT rest = client;
  rest.top = top.bottom;
  ::FillRect(dc, &rest, body.get());
  RECT stripe = top;
  stripe.top = top.bottom - Scale(4, dpi);
  ::FillRect(dc, &stripe, accent.get());

  ::SetBkMode(dc, TRANSPARENT);
  HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_CLEARVANE), IMAGE_ICON,
                                               Scale(48, dpi), Scale(48, dpi), LR_DEFAULTCOLOR));
  if (icon) {
    ::DrawIconEx(dc, Scale(28, dpi), Scale(44, dpi), icon, Scale(48, dpi), Scale(48, dpi), 0, nullptr, DI_NORMAL);
    ::DestroyIcon(icon);
  }
  HGDIOBJ old = ::SelectObject(dc, fonts_.Title());
  ::SetTextColor(dc, RGB(255, 255, 255));
  RECT title{Scale(92, dpi), Scale(38, dpi), client.right, Scale(90, dpi)};
  ::DrawTextW(dc, L"Clearvane", -1, &title, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
  ::SelectObject(dc, fonts_.Body());
  ::SetTextColor(dc, kNavigationText);
  RECT line{Scale(94, dpi), Scale(90, dpi), client.right, Scale(112, dpi)};
  ::DrawTextW(dc, L"Privacy cleaner  -  Version " CV_VERSION_TEXT, -1, &line, DT_LEFT | DT_SINGLELINE);
  ::SetTextColor(dc, kBodyText);
  RECT loading{Scale(28, dpi), rest.top, client.right - Scale(20, dpi), client.bottom};
  ::DrawTextW(dc, L"Loading...", -1, &loading, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
  ::SelectObject(dc, old);
}

LRESULT Splash::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      if (window_.get() == window) Paint(dc);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_TIMER: {
      ::KillTimer(window, kTimerId);
      std::function<void()> done = std::move(done_);
      Close();
      if (done) done();
      return 0;
    }
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace cv::ui
