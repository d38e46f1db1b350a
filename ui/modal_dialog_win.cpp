#include "ui/modal_dialog_win.h"

#include <algorithm>
#include <vector>

#include "platform/win32/text_win.h"

namespace cv::ui {

namespace {

// An empty DLGTEMPLATE with DS_SETFONT: style, no controls, size 0, the
// caption and "MS Shell Dlg" at 8 points, which maps to the system's dialog font.
std::vector<WORD> EmptyTemplate(std::wstring_view caption) {
  std::vector<WORD> words;
  const DWORD style = DS_SETFONT | DS_SHELLFONT | DS_MODALFRAME | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  words.push_back(LOWORD(style));
  words.push_back(HIWORD(style));
  words.push_back(0);  // extended style
  words.push_back(0);
  words.push_back(0);                              // no controls
  for (int i = 0; i < 4; ++i) words.push_back(0);  // x, y, cx, cy
  words.push_back(0);                              // no menu
  words.push_back(0);                              // default class
  words.insert(words.end(), caption.begin(), caption.end());
  words.push_back(0);
  words.push_back(8);  // point size
  for (wchar_t c : std::wstring_view(L"MS Shell Dlg")) words.push_back(c);
  words.push_back(0);
  return words;
}

}  // namespace

int DialogMessageBoxes::Show(std::string_view text, std::string_view caption, unsigned style) {
  return ::MessageBoxW(dialog_.Handle(), win32::Widen(text).c_str(), win32::Widen(caption).c_str(), style);
}

void PlaceControl(HWND control, int x, int y, int width, int height) {
  ::SetWindowPos(control, nullptr, x, y, width > 0 ? width : 0, height > 0 ? height : 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR ModalDialog::Run(HINSTANCE instance, HWND owner, std::wstring_view caption) {
  instance_ = instance;
  builtInCode_ = true;
  const std::vector<WORD> dialogTemplate = EmptyTemplate(caption);
  dialog_ = ::CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), owner,
                                         Proc, reinterpret_cast<LPARAM>(this));
  return Loop(owner);
}

INT_PTR ModalDialog::Run(HINSTANCE instance, HWND owner, int templateId) {
  instance_ = instance;
  builtInCode_ = false;
  dialog_ = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), owner, Proc, reinterpret_cast<LPARAM>(this));
  return Loop(owner);
}

INT_PTR ModalDialog::Loop(HWND owner) {
  ended_ = false;
  if (!dialog_) return IDCANCEL;
  const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
  if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
  ::ShowWindow(dialog_, SW_SHOW);

  MSG message;
  while (!ended_) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: hand the quit request on to the outer loop.
      if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (PreTranslate(message)) continue;
    if (!::IsDialogMessageW(dialog_, &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  // The owner is enabled before the dialog goes, so it gets the activation back.
  if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
  ::DestroyWindow(dialog_);
  dialog_ = nullptr;
  return result_;
}

void ModalDialog::End(INT_PTR code) {
  result_ = code;
  ended_ = true;
  ::PostMessageW(dialog_, WM_NULL, 0, 0);  // wakes the loop
}

// Centred over the owner, kept inside the work area.
void ModalDialog::CentreOverOwner() {
  RECT window, area;
  ::GetWindowRect(dialog_, &window);
  HWND owner = ::GetWindow(dialog_, GW_OWNER);
  RECT ownerRect = window;
  if (owner && ::IsWindowVisible(owner)) ::GetWindowRect(owner, &ownerRect);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : dialog_, MONITOR_DEFAULTTONEAREST), &monitor);
  area = monitor.rcWork;
  const int width = window.right - window.left, height = window.bottom - window.top;
  int x = (ownerRect.left + ownerRect.right - width) / 2;
  int y = (ownerRect.top + ownerRect.bottom - height) / 2;
  if (!owner || !::IsWindowVisible(owner)) {
    x = (area.left + area.right - width) / 2;
    y = (area.top + area.bottom - height) / 2;
  }
  x = std::max<int>(area.left, std::min<int>(x, area.right - width));
  y = std::max<int>(area.top, std::min<int>(y, area.bottom - height));
  ::SetWindowPos(dialog_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK ModalDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      self = reinterpret_cast<ModalDialog*>(lParam);
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      self->dialog_ = dialog;
      self->keepInitialFocus_ = false;
      self->OnInit();
      if (self->builtInCode_) self->CentreOverOwner();
      return self->keepInitialFocus_ ? FALSE : TRUE;
    case WM_COMMAND:
      if (self) self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_NOTIFY:
      if (!self) return FALSE;
      ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, self->OnNotify(reinterpret_cast<NMHDR*>(lParam)));
      return TRUE;
    default:
      if (!self) return FALSE;
      if (const std::optional<INT_PTR> result = self->OnMessage(message, wParam, lParam)) return *result;
      return FALSE;
  }
}

HWND ModalDialog::AddControl(const wchar_t* className, std::wstring_view text, DWORD style, int id, HWND parent,
                             DWORD exStyle) {
  HWND control = ::CreateWindowExW(exStyle, className, std::wstring(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                                   0, 0, parent ? parent : dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   instance_, nullptr);
  if (control) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  return control;
}

int ModalDialog::DluX(int units) const {
  RECT rect{0, 0, units, 0};
  ::MapDialogRect(dialog_, &rect);
  return rect.right;
}

int ModalDialog::DluY(int units) const {
  RECT rect{0, 0, 0, units};
  ::MapDialogRect(dialog_, &rect);
  return rect.bottom;
}

HFONT ModalDialog::Font() const { return reinterpret_cast<HFONT>(::SendMessageW(dialog_, WM_GETFONT, 0, 0)); }

int ModalDialog::TextWidth(std::wstring_view text) const {
  std::wstring shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  HDC dc = ::GetDC(dialog_);
  HGDIOBJ old = ::SelectObject(dc, Font());
  RECT rect{0, 0, 0, 0};
  ::DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::ReleaseDC(dialog_, dc);
  return rect.right - rect.left;
}

void ModalDialog::SetClientSize(int width, int height) {
  RECT rect{0, 0, width, height};
  ::AdjustWindowRectEx(&rect, static_cast<DWORD>(::GetWindowLongPtrW(dialog_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(dialog_, GWL_EXSTYLE)));
  ::SetWindowPos(dialog_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace cv::ui
