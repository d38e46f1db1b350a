#include "keep/domain_keep_window_win.h"

#include <algorithm>
#include <string>
#include <vector>

#include "keep/domain_keep_window.h"
#include "keep/keep_windows_win.h"
#include "platform/win32/text_win.h"
#include "resources/modern_browsers_res.h"
#include "ui/controls_win.h"
#include "ui/modal_dialog_win.h"

namespace cv::ui {

namespace {

using win32::Narrow;
using win32::Widen;

constexpr std::string_view kMessageCaption = "Clearvane";

// The list as the file holds it, an edit box with "Add" (the default button
// while it holds text), "Remove" (or Del in the list) and "Close" (Enter
// when nothing is typed, or Esc). Every change is written at once.
class DomainKeepWindow : public ModalDialog {
 public:
  DomainKeepWindow(Platform& platform)
      : file_(platform.shell.ProgramFolder() + std::string(kDomainKeepFileName)), model_(platform.files, file_) {}

 private:
  void OnInit() override {
    const DomainKeepWindowTexts texts;
    HWND editLabel = AddControl(L"STATIC", Widen(texts.editLabel), SS_LEFT, IDC_DOMAINS_EDIT_LABEL);
    edit_ = AddControl(L"EDIT", L"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, IDC_DOMAINS_EDIT);
    add_ = AddControl(L"BUTTON", Widen(texts.add), WS_TABSTOP, IDC_DOMAINS_ADD);
    HWND listLabel = AddControl(L"STATIC", Widen(texts.listLabel), SS_LEFT, IDC_DOMAINS_LIST_LABEL);
    list_ = AddControl(
        L"LISTBOX", L"",
        WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | LBS_EXTENDEDSEL,
        IDC_DOMAINS_LIST, nullptr, WS_EX_CLIENTEDGE);
    remove_ = AddControl(L"BUTTON", Widen(texts.remove), WS_TABSTOP, IDC_DOMAINS_REMOVE);
    HWND hint = AddControl(L"STATIC", Widen(texts.hint), SS_LEFT | SS_NOPREFIX, IDC_DOMAINS_HINT);
    close_ = AddControl(L"BUTTON", Widen(texts.close), WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);

    const int margin = DluX(7), gap = DluX(4), lineHeight = DluY(12), buttonHeight = DluY(14);
    const int labelHeight = DluY(9);
    const int buttonWidth =
        std::max({DluX(50), TextWidth(Widen(texts.add)) + DluX(12), TextWidth(Widen(texts.remove)) + DluX(12)});
    const int editLabelWidth = TextWidth(Widen(texts.editLabel)) + gap;
    const int listWidth = std::max({DluX(180), TextWidth(Widen(texts.listLabel)) - buttonWidth - gap,
                                    TextWidth(Widen(texts.hint)) - buttonWidth - gap});
    const int width = margin + listWidth + gap + buttonWidth + margin;

    int y = margin;
    PlaceControl(editLabel, margin, y + DluY(2), editLabelWidth, labelHeight);
    PlaceControl(edit_, margin + editLabelWidth, y + (buttonHeight - lineHeight) / 2, listWidth - editLabelWidth,
                 lineHeight);
    PlaceControl(add_, margin + listWidth + gap, y, buttonWidth, buttonHeight);
    y += buttonHeight + DluY(7);
    PlaceControl(listLabel, margin, y, width - 2 * margin, labelHeight);
    y += labelHeight + DluY(2);
    const int listHeight = DluY(100);
    PlaceControl(list_, margin, y, listWidth, listHeight);
    PlaceControl(remove_, margin + listWidth + gap, y, buttonWidth, buttonHeight);
    y += listHeight + DluY(4);
    PlaceControl(hint, margin, y, width - 2 * margin, labelHeight);
    y += labelHeight + DluY(6);
    PlaceControl(close_, width - margin - buttonWidth, y, buttonWidth, buttonHeight);
    SetClientSize(width, y + buttonHeight + margin);

    model_.Load();
    Fill(0);
    ::SetFocus(edit_);
  }

  void OnCommand(int id, int code, HWND control) override {
    switch (id) {
      case IDOK:
      case IDCANCEL:
        End(id);
        break;
      case IDC_DOMAINS_EDIT:
        if (code == EN_CHANGE) UpdateDefaultButton();
        break;
      case IDC_DOMAINS_ADD:
        if (code == BN_CLICKED) Add();
        break;
      case IDC_DOMAINS_REMOVE:
        if (code == BN_CLICKED) Remove();
        break;
      default:
        break;
    }
  }

  bool PreTranslate(const MSG& message) override {
    if (message.message == WM_KEYDOWN && message.wParam == VK_DELETE && message.hwnd == list_) {
      Remove();
      return true;
    }
    return false;
  }

  std::wstring EditText() const { return WindowText(edit_); }

  // "Add" is the default button while there is something to add, "Close" otherwise.
  void UpdateDefaultButton() {
    const bool typed = ::GetWindowTextLengthW(edit_) > 0;
    ::SendMessageW(Handle(), DM_SETDEFID, typed ? IDC_DOMAINS_ADD : IDOK, 0);
    ::SendMessageW(add_, BM_SETSTYLE, typed ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    ::SendMessageW(close_, BM_SETSTYLE, typed ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON, TRUE);
  }

  void Add() {
    const std::string typed = Narrow(EditText());
    if (typed.find_first_not_of(" \t") == std::string::npos) {
      ::SetFocus(edit_);
      return;
    }
    const auto result = model_.Add(typed);
    if (result == DomainKeepListModel::AddResult::kAdded) {
      Fill(model_.Entries().size() - 1);
      ::SetWindowTextW(edit_, L"");
      ::SetFocus(edit_);
      return;
    }
    Tell(DomainAddMessage(result, typed, file_));
    ::SetFocus(edit_);
    ::SendMessageW(edit_, EM_SETSEL, 0, -1);
  }

  void Remove() {
    std::vector<std::size_t> positions;
    const LRESULT count = ::SendMessageW(list_, LB_GETSELCOUNT, 0, 0);
    if (count > 0) {
      std::vector<int> indices(static_cast<std::size_t>(count));
      const LRESULT got =
          ::SendMessageW(list_, LB_GETSELITEMS, indices.size(), reinterpret_cast<LPARAM>(indices.data()));
      for (LRESULT i = 0; i < got; ++i)
        positions.push_back(static_cast<std::size_t>(indices[static_cast<std::size_t>(i)]));
    }
    if (positions.empty()) return;
    if (!model_.Remove(positions)) {
      Tell(DomainNotSavedMessage(file_));
      return;
    }
    // The entry after the removed ones is selected, so Del can go on.
    Fill(*std::min_element(positions.begin(), positions.end()));
    ::SetFocus(list_);
  }

  // The entries, with the one at `selected` (or the last) selected.
  void Fill(std::size_t selected) {
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const std::string& entry : model_.Entries())
      ::SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry).c_str()));
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::SendMessageW(list_, LB_SETHORIZONTALEXTENT, ListTextWidth(list_), 0);
    const std::size_t count = model_.Entries().size();
    if (count > 0) {
      const auto row = static_cast<WPARAM>(std::min(selected, count - 1));
      ::SendMessageW(list_, LB_SETSEL, TRUE, static_cast<LPARAM>(row));
      ::SendMessageW(list_, LB_SETCARETINDEX, row, FALSE);
    }
    ::InvalidateRect(list_, nullptr, TRUE);
  }

  void Tell(const std::string& text) {
    DialogMessageBoxes(*this).Show(text, kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
  }

  std::string file_;
  DomainKeepListModel model_;
  HWND edit_ = nullptr, add_ = nullptr, list_ = nullptr, remove_ = nullptr, close_ = nullptr;
};

}  // namespace

void ShowDomainKeepList(HINSTANCE instance, HWND owner, Platform& platform) {
  DomainKeepWindow window(platform);
  window.Run(instance, owner, Widen(kKeptDomainsTitle));
}

}  // namespace cv::ui
