#include "app/clean_question_win.h"

#include <algorithm>
#include <string>

#include "platform/win32/text_win.h"
#include "resources/window_res.h"
#include "ui/controls_win.h"
#include "ui/modal_dialog_win.h"

namespace cv::ui {

namespace {

using win32::Widen;

class CleanQuestionDialog : public ModalDialog {
 public:
  explicit CleanQuestionDialog(std::string_view question) : question_(Widen(question)) {}
  const CleanAnswer& Answer() const { return answer_; }

 private:
  void OnInit() override {
    const std::wstring yesText = Widen(texts::kCleanQuestionYes), noText = Widen(texts::kCleanQuestionNo);
    const std::wstring checkText = Widen(texts::kDontAskAgain);
    // Created in tab order: "Yes" first, so it has the focus when the dialog opens.
    HWND yes = AddControl(L"BUTTON", yesText, WS_TABSTOP | BS_DEFPUSHBUTTON, IDYES);
    HWND no = AddControl(L"BUTTON", noText, WS_TABSTOP, IDNO);
    HWND check = AddControl(L"BUTTON", checkText, WS_TABSTOP | BS_AUTOCHECKBOX, IDX_CLEAN_DONT_ASK);
    HWND icon = AddControl(L"STATIC", L"", SS_ICON, IDC_CLEAN_QUESTION_ICON);
    HWND text = AddControl(L"STATIC", question_, SS_LEFT | SS_NOPREFIX, IDC_CLEAN_QUESTION_TEXT);
    ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_WARNING)), 0);

    const int marginX = DluX(7), marginY = DluY(7), gap = DluX(4), buttonHeight = DluY(14);
    const int iconSize = ::GetSystemMetrics(SM_CXICON);
    const int buttonWidth = std::max({DluX(50), TextWidth(yesText) + DluX(12), TextWidth(noText) + DluX(12)});
    const int checkWidth = ::GetSystemMetrics(SM_CXMENUCHECK) + DluX(4) + TextWidth(checkText);
    const int textX = marginX + iconSize + DluX(7);
    const int textWidth = DluX(230);
    const int textHeight = WrappedHeight(question_, textWidth);
    const int width =
        std::max(textX + textWidth + marginX, marginX + checkWidth + DluX(14) + 2 * buttonWidth + gap + marginX);

    PlaceControl(icon, marginX, marginY, iconSize, iconSize);
    PlaceControl(text, textX, marginY, textWidth, textHeight);
    const int row = marginY + std::max(iconSize, textHeight) + DluY(10);
    PlaceControl(check, marginX, row + (buttonHeight - DluY(10)) / 2, checkWidth, DluY(10));
    PlaceControl(no, width - marginX - buttonWidth, row, buttonWidth, buttonHeight);
    PlaceControl(yes, width - marginX - 2 * buttonWidth - gap, row, buttonWidth, buttonHeight);
    SetClientSize(width, row + buttonHeight + marginY);
    ::SendMessageW(Handle(), DM_SETDEFID, IDYES, 0);
    ::MessageBeep(MB_ICONWARNING);
  }

  void OnCommand(int id, int code, HWND) override {
    // Enter is "Yes", the default button (IDOK where the dialog manager knows
    // no default); Esc and the close button are IDCANCEL.
    if (id != IDYES && id != IDOK && id != IDNO && id != IDCANCEL) return;
    answer_.clean = id == IDYES || id == IDOK;
    answer_.dontAskAgain = IsChecked(Handle(), IDX_CLEAN_DONT_ASK);
    End(answer_.clean ? IDYES : IDNO);
  }

  // The height of the text wrapped at `width`, drawn as the static control draws it.
  int WrappedHeight(const std::wstring& text, int width) const {
    HDC dc = ::GetDC(Handle());
    HGDIOBJ old = ::SelectObject(dc, Font());
    RECT rect{0, 0, width, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    ::SelectObject(dc, old);
    ::ReleaseDC(Handle(), dc);
    return rect.bottom - rect.top;
  }

  std::wstring question_;
  CleanAnswer answer_;
};

}  // namespace

CleanAnswer AskBeforeCleaning(HINSTANCE instance, HWND owner, std::string_view question) {
  CleanQuestionDialog dialog(question);
  dialog.Run(instance, owner, Widen(texts::kCleanQuestionCaption));
  return dialog.Answer();
}

}  // namespace cv::ui
