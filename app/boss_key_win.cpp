#include "app/boss_key_win.h"

#include "config/selection_schema.h"

namespace cv::ui {

namespace {

constexpr wchar_t kBossKeyProperty[] = L"Clearvane.BossKey";

}  // namespace

void BossKeyWindow::Start(HWND main, bool on, Platform& platform, std::string_view selectionFile) {
  main_ = main;
  windows_.SetOwnerWindow(main);
  Inifun ini(platform.files);
  model_.SetHideModernBrowsers(SwitchIsOn(ini.ReadIniValue(selectionFile, kOptionsSection, kOptionBossKeyBrowsers)));
  if (on) SwitchOn();
}

void BossKeyWindow::Apply(const OptionsApplied& applied) {
  model_.SetHideModernBrowsers(applied.hideModernBrowsers);
  if (applied.bossKey == BossKeySwitch::On) SwitchOn();
  if (applied.bossKey == BossKeySwitch::Off) Release();
}

void BossKeyWindow::SwitchOn() {
  if (!main_) return;
  model_.SwitchOn();
  if (OriginalWndProc) return;
  ::SetPropW(main_, kBossKeyProperty, this);
  OriginalWndProc =
      reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(main_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BossKeyWndProc)));
}

void BossKeyWindow::Release() {
  if (model_.IsOn()) model_.SwitchOff();
  if (!OriginalWndProc) return;
  if (::IsWindow(main_)) {
    ::SetWindowLongPtrW(main_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OriginalWndProc));
    ::RemovePropW(main_, kBossKeyProperty);
  }
  OriginalWndProc = nullptr;
}

LRESULT CALLBACK BossKeyWindow::BossKeyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<BossKeyWindow*>(::GetPropW(window, kBossKeyProperty));
  if (!self || !self->OriginalWndProc) return ::DefWindowProcW(window, message, wParam, lParam);
  const WNDPROC original = self->OriginalWndProc;
  if (message == WM_HOTKEY) self->model_.HotKey(wParam, static_cast<std::uint64_t>(lParam));
  if (message == WM_NCDESTROY) {
    // The window goes: its procedure and property go with it.
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    ::RemovePropW(window, kBossKeyProperty);
    self->OriginalWndProc = nullptr;
  }
  return ::CallWindowProcW(original, window, message, wParam, lParam);
}

}  // namespace cv::ui
