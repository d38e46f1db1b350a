#include "app/about_box_win.h"

#include "app/main_texts.h"
#include "platform/win32/text_win.h"
#include "resources/resource.h"
#include "ui/look_win.h"
#include "ui/modal_dialog_win.h"

namespace cv::ui {

namespace {

class AboutBox : public ModalDialog {
 public:
  explicit AboutBox(const std::function<void()>& viewLicense) : viewLicense_(viewLicense) {}

 private:
  void OnInit() override {
    HWND dialog = Handle();
    ::SetWindowTextW(dialog, win32::Widen(texts::kAboutCaption).c_str());
    ::SetDlgItemTextW(dialog, IDC_ABOUT_PRODUCT, win32::Widen(texts::kProductName).c_str());
    ::SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, win32::Widen(texts::kAboutVersion).c_str());
    ::SetDlgItemTextW(dialog, IDC_ABOUT_DESCRIPTION, win32::Widen(texts::kAboutDescription).c_str());
    ::SetDlgItemTextW(dialog, IDC_ABOUT_LEGAL, win32::Widen(texts::kAboutLegal).c_str());
    fonts_.Create(WindowDpi(dialog));
    ::SendDlgItemMessageW(dialog, IDC_ABOUT_PRODUCT, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Heading()), TRUE);
  }

  void OnCommand(int id, int code, HWND) override {
    switch (id) {
      case IDC_ABOUT_LICENSE:
        if (viewLicense_) viewLicense_();
        break;
      case IDC_ABOUT_EXIT:
      case IDCANCEL:
        End(IDOK);
        break;
    }
  }

  std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_CTLCOLORSTATIC || reinterpret_cast<HWND>(lParam) != ::GetDlgItem(Handle(), IDC_ABOUT_PRODUCT))
      return std::nullopt;
    ::SetTextColor(reinterpret_cast<HDC>(wParam), kHeadingText);
    ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
  }

  const std::function<void()>& viewLicense_;
  Fonts fonts_;
};

}  // namespace

void ShowAboutBox(HINSTANCE instance, HWND owner, const std::function<void()>& viewLicense) {
  AboutBox(viewLicense).Run(instance, owner, IDD_ABOUT);
}

}  // namespace cv::ui
