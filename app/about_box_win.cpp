#include "app/about_box_win.h"

#include "app/main_texts.h"
#include "platform/win32/text_win.h"
#include "resources/resource.h"
#include "ui/look_win.h"

namespace cv::ui {

namespace {

struct AboutState {
  const std::function<void()>* viewLicense;
  Fonts fonts;
};

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<AboutState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<AboutState*>(lParam);
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      ::SetWindowTextW(dialog, win32::Widen(texts::kAboutCaption).c_str());
      ::SetDlgItemTextW(dialog, IDC_ABOUT_PRODUCT, win32::Widen(texts::kProductName).c_str());
      ::SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, win32::Widen(texts::kAboutVersion).c_str());
      ::SetDlgItemTextW(dialog, IDC_ABOUT_DESCRIPTION, win32::Widen(texts::kAboutDescription).c_str());
      ::SetDlgItemTextW(dialog, IDC_ABOUT_LEGAL, win32::Widen(texts::kAboutLegal).c_str());
      state->fonts.Create(WindowDpi(dialog));
      ::SendDlgItemMessageW(dialog, IDC_ABOUT_PRODUCT, WM_SETFONT, reinterpret_cast<WPARAM>(state->fonts.Heading()),
                            TRUE);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == ::GetDlgItem(dialog, IDC_ABOUT_PRODUCT)) {
        ::SetTextColor(reinterpret_cast<HDC>(wParam), kHeadingText);
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
      }
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_ABOUT_LICENSE:
          if (state && *state->viewLicense) (*state->viewLicense)();
          return TRUE;
        case IDC_ABOUT_EXIT:
        case IDCANCEL:
          ::EndDialog(dialog, IDOK);
          return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAboutBox(HINSTANCE instance, HWND owner, const std::function<void()>& viewLicense) {
  AboutState state{&viewLicense, {}};
  ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutProc, reinterpret_cast<LPARAM>(&state));
}

}  // namespace cv::ui
