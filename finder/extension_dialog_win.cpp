#include "finder/extension_dialog_win.h"

#include "finder/finder_actions.h"
#include "finder/finder_texts.h"
#include "platform/text.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/text_win.h"
#include "resources/finder_res.h"
#include "ui/controls_win.h"
#include "ui/modal_dialog_win.h"

namespace cv::finder {

namespace {

class ExtensionDialog : public ui::ModalDialog {
 public:
  ExtensionDialog(ExtentionHandller& extensions, SweepdiskSettings& settings,
                  const std::function<void(const std::string&)>& searchStringChanged)
      : extensions_(extensions),
        settings_(settings),
        editor_(extensions, messages_),
        searchStringChanged_(searchStringChanged) {}

 private:
  void OnInit() override {
    dialog_ = Handle();
    messages_.SetOwnerWindow(dialog_);
    settings_.EnsureMaxLogSize();
    ResetEntry();
    FillExtensionList();
  }

  void OnCommand(int id, int code, HWND) override {
    switch (id) {
      case IDE_EXT_ADD:
        // Enter adds while the entry box has the focus, and closes elsewhere.
        if (code == EN_SETFOCUS) ::SendMessageW(dialog_, DM_SETDEFID, IDC_EXT_ADD, 0);
        if (code == EN_KILLFOCUS) ::SendMessageW(dialog_, DM_SETDEFID, IDC_EXT_DONE, 0);
        break;
      case IDC_EXT_ADD:
        Add();
        break;
      case IDC_EXT_REMOVE:
        Changed(editor_.Remove(SelectedEntry()));
        break;
      case IDC_EXT_DEFAULT:
        Changed(editor_.Default());
        break;
      case IDC_EXT_DONE:
      case IDOK:
      case IDCANCEL:
        End(IDOK);
        break;
    }
  }

  void Add() {
    const std::string typed = win32::Narrow(ui::WindowText(::GetDlgItem(dialog_, IDE_EXT_ADD)));
    if (!ExtentionHandller::IsValidExtension(TrimSpaces(typed))) {
      editor_.Add(typed);  // shows the message, changes nothing
      ResetEntry();
      ::SetFocus(::GetDlgItem(dialog_, IDE_EXT_ADD));
      return;
    }
    Changed(editor_.Add(typed));
    ResetEntry();
  }

  std::string SelectedEntry() const {
    HWND list = ::GetDlgItem(dialog_, IDC_EXT_LIST);
    const auto index = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(::SendMessageW(list, LB_GETTEXTLEN, index, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return win32::Narrow(text);
  }

  void Changed(const std::optional<std::string>& searchString) {
    FillExtensionList();
    if (searchString && searchStringChanged_) searchStringChanged_(*searchString);
  }

  void ResetEntry() { ::SetDlgItemTextW(dialog_, IDE_EXT_ADD, win32::Widen(texts::kNewEntry).c_str()); }

  void FillExtensionList() {
    HWND list = ::GetDlgItem(dialog_, IDC_EXT_LIST);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& entry : extensions_.Entries())
      ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::Widen(entry).c_str()));
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
  }

  win32::Win32MessageBoxes messages_;  // owned by this dialog, so it stays modal
  ExtentionHandller& extensions_;
  SweepdiskSettings& settings_;
  ExtensionListEditor editor_;
  const std::function<void(const std::string&)>& searchStringChanged_;
  HWND dialog_ = nullptr;
};

}  // namespace

void ShowExtensionDialog(HINSTANCE instance, HWND owner, ExtentionHandller& extensions, SweepdiskSettings& settings,
                         const std::function<void(const std::string&)>& searchStringChanged) {
  ExtensionDialog dialog(extensions, settings, searchStringChanged);
  dialog.Run(instance, owner, IDD_FINDER_EXTENSIONS);
}

}  // namespace cv::finder
