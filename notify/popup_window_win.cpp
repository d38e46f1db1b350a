#include "platform/win32/win.h"
#include <mmsystem.h>
#include "notify/popup_window_win.h"

#include <optional>

#include "notify/popup_animation.h"
#include "platform/win32/text_win.h"
#include "platform/win32/unique_handle.h"
#include "resources/resource.h"
#include "ui/look_win.h"
#include "ui/window_names.h"
#include "ui/window_win.h"

namespace cv::ui {

namespace {

constexpr UINT_PTR kTimerId = 1;
// The design size of the pop-up, in pixels at 96 DPI.
constexpr int kDesignHeight = 84;
constexpr int kDescriptionLeft = 52;
constexpr int kDescriptionTop = 30;
constexpr int kDescriptionMaxWidth = 300;

void MakeTopmost(HWND window) {
  ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

class PopupWindow : public NotificationPopup, public Window {
 public:
  PopupWindow(HINSTANCE instance, const PopupEvents& events) : events_(events) { Load(instance); }
  ~PopupWindow() override = default;

  const cNotificationRequest& NotificationRequest() const override { return request_; }

  void ShowNotification(const cNotificationRequest& request) {
    request_ = request;
    FillFromRequest();
    if (!animation_) return;
    animation_->Show();
    Apply();
    ::ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(window_.get());
    RestartTimer();
    PlayNotificationSound(request_.SoundFileLocation);
  }

  void UpdateNotification(const cNotificationRequest& request) override {
    request_ = request;
    FillFromRequest();
    if (!animation_) return;
    animation_->Update();
    RestartTimer();
  }

 private:
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  void Load(HINSTANCE instance) {
    WNDCLASSEXW details{};
    details.style = CS_HREDRAW | CS_VREDRAW;  // the border moves with every step
    details.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    RegisterWindowClass(instance, kNotificationClass, details);
    window_.reset(CreateWindowFor(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kNotificationClass, L"Clearvane",
                                  WS_POPUP | WS_CLIPCHILDREN, 0, 0, 10, 10, nullptr, nullptr, instance));
    if (!window_) return;
    dpi_ = WindowDpi(window_.get());
    fonts_.Create(dpi_);
    auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
      return ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_.get(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    };
    icon_ = child(L"STATIC", L"", SS_ICON, IDC_POPUP_ICON);
    title_ = child(L"STATIC", L"Title", SS_LEFT | SS_NOPREFIX, IDC_POPUP_TITLE);
    description_ = child(L"STATIC", L"Description", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, IDC_POPUP_DESCRIPTION);
    ::SendMessageW(title_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.TahomaBold()), FALSE);
    ::SendMessageW(description_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Tahoma()), FALSE);
    // The design-time image, shown when a request brings none.
    HICON appIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_CLEARVANE), IMAGE_ICON,
                                                    Scale(32, dpi_), Scale(32, dpi_), LR_SHARED));
    ::SendMessageW(icon_, STM_SETICON, reinterpret_cast<WPARAM>(appIcon), 0);
    ::MoveWindow(icon_, Scale(10, dpi_), Scale(12, dpi_), Scale(32, dpi_), Scale(32, dpi_), FALSE);

    MakeTopmost(window_.get());
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    animation_.emplace(ToTwips(Scale(kDesignHeight, dpi_)), ToTwips(work.bottom), ToTwips(work.right));
  }

  int ToTwips(int pixels) const { return ::MulDiv(pixels, 1440, static_cast<int>(dpi_)); }
  int ToPixels(int twips) const { return ::MulDiv(twips, static_cast<int>(dpi_), 1440); }

  void FillFromRequest() {
    ::SetWindowTextW(title_, win32::Widen(request_.Title).c_str());
    const std::wstring description = win32::Widen(request_.Description);
    ::SetWindowTextW(description_, description.c_str());
    if (request_.Icon) {
      HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(request_.Icon),
                                                   IMAGE_ICON, Scale(32, dpi_), Scale(32, dpi_), LR_SHARED));
      if (icon) ::SendMessageW(icon_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    // The description label sizes itself to its text, wrapped at a fixed width.
    RECT text{0, 0, Scale(kDescriptionMaxWidth, dpi_), 0};
    HDC dc = ::GetDC(description_);
    HGDIOBJ old = ::SelectObject(dc, fonts_.Tahoma());
    ::DrawTextW(dc, description.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, old);
    ::ReleaseDC(description_, dc);
    const int left = Scale(kDescriptionLeft, dpi_);
    const int labelWidth = text.right - text.left;
    ::MoveWindow(title_, left, Scale(10, dpi_), labelWidth, Scale(16, dpi_), TRUE);
    ::MoveWindow(description_, left, Scale(kDescriptionTop, dpi_), labelWidth,
                 Scale(kDesignHeight - kDescriptionTop - 6, dpi_), TRUE);
    if (animation_) animation_->SetWidth(ToTwips(labelWidth + left + Scale(10, dpi_)));
    ::InvalidateRect(window_.get(), nullptr, TRUE);
  }

  void Apply() {
    const PopupGeometry& g = animation_->Geometry();
    ::SetWindowPos(window_.get(), HWND_TOPMOST, ToPixels(g.left), ToPixels(g.top), ToPixels(g.width),
                   std::max(1, ToPixels(g.height)), SWP_NOACTIVATE);
  }

  void RestartTimer() {
    if (animation_->TimerEnabled())
      ::SetTimer(window_.get(), kTimerId, static_cast<UINT>(animation_->TimerInterval()), nullptr);
    else
      ::KillTimer(window_.get(), kTimerId);
  }

  void Tick() {
    const int interval = animation_->TimerInterval();
    const bool stays = animation_->Tick();
    if (!stays) {
      ::KillTimer(window_.get(), kTimerId);
      ::ShowWindow(window_.get(), SW_HIDE);
      if (events_.finished) events_.finished();  // may release this object at the next feed tick
      return;
    }
    Apply();
    if (animation_->TimerInterval() != interval) RestartTimer();
  }

  void Paint(HDC dc) {
    RECT client;
    ::GetClientRect(window_.get(), &client);
    SolidBrush background(kPopupBackground), border(kAccent);
    ::FillRect(dc, &client, background.get());
    // shpBorder: frames the whole client area.
    ::FrameRect(dc, &client, border.get());
    RECT band = client;
    band.right = band.left + Scale(4, dpi_);
    ::FillRect(dc, &band, border.get());
  }

  PopupEvents events_;
  cNotificationRequest request_;
  win32::UniqueWindow window_;
  HWND icon_ = nullptr, title_ = nullptr, description_ = nullptr;
  UINT dpi_ = 96;
  Fonts fonts_;
  SolidBrush whiteBrush_{kPopupBackground};
  std::optional<PopupAnimation> animation_;
};

LRESULT PopupWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      Paint(dc);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetBkColor(dc, kPopupBackground);
      ::SetTextColor(dc, reinterpret_cast<HWND>(lParam) == title_ ? kHeadingText : kBodyText);
      return reinterpret_cast<LRESULT>(whiteBrush_.get());
    }
    case WM_TIMER:
      if (wParam == kTimerId && animation_) Tick();
      return 0;
    case WM_COMMAND:
      // Only the description raises Clicked, and only when the request allows it.
      if (LOWORD(wParam) == IDC_POPUP_DESCRIPTION && HIWORD(wParam) == STN_CLICKED && request_.EnableClickEvent &&
          events_.clicked)
        events_.clicked(request_.Key);
      return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

Win32PopupFactory::Win32PopupFactory(HINSTANCE instance, PopupEvents events)
    : instance_(instance), events_(std::move(events)) {}

std::unique_ptr<NotificationPopup> Win32PopupFactory::ShowNotification(const cNotificationRequest& request) {
  auto popup = std::make_unique<PopupWindow>(instance_, events_);
  popup->ShowNotification(request);
  return popup;
}

void PlayNotificationSound(const std::string& path) {
  if (path.empty()) return;
  ::sndPlaySoundW(win32::Widen(path).c_str(), SND_ASYNC | SND_NODEFAULT);
}

}  // namespace cv::ui
