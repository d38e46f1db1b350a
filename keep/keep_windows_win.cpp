#include "keep/keep_windows_win.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "config/data_files.h"
#include "config/regfun.h"
#include "keep/cookie_keep_list.h"
#include "keep/url_keep_list.h"
#include "platform/win32/text_win.h"
#include "resources/selection_res.h"
#include "ui/modal_dialog_win.h"

namespace cv::ui {

namespace {

constexpr DWORD kListStyle = WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;

void FillList(HWND list, const std::vector<std::string>& entries) {
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& entry : entries)
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::Widen(entry).c_str()));
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list, nullptr, TRUE);
}

void SetExtent(HWND list) { ::SendMessageW(list, LB_SETHORIZONTALEXTENT, ListTextWidth(list), 0); }

std::optional<std::size_t> Selected(HWND list) {
  const LRESULT index = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return std::nullopt;
  return static_cast<std::size_t>(index);
}

std::vector<std::size_t> AllSelected(HWND list) {
  const LRESULT count = ::SendMessageW(list, LB_GETSELCOUNT, 0, 0);
  std::vector<std::size_t> selected;
  if (count <= 0) return selected;
  std::vector<int> indices(static_cast<std::size_t>(count));
  const LRESULT got = ::SendMessageW(list, LB_GETSELITEMS, indices.size(), reinterpret_cast<LPARAM>(indices.data()));
  for (LRESULT i = 0; i < got; ++i) selected.push_back(static_cast<std::size_t>(indices[static_cast<std::size_t>(i)]));
  return selected;
}

// The two windows share their shape and behaviour: a list of what is there
// now, "Add >" and "< Remove", the keep list, and a "Close" button (Enter or
// Esc). `Model` is the URL or cookie keep-list model.
template <typename Model>
class KeepListWindow : public ModalDialog {
 public:
  // `file` is the keep-list file, the model's last argument.
  template <typename... Args>
  KeepListWindow(const std::string& file, Args&&... args) : file_(file), model_(std::forward<Args>(args)..., file) {}

 protected:
  void CreateButtons(int addId, int removeId) {
    add_ = AddControl(L"BUTTON", L"&Add >", WS_TABSTOP, addId);
    remove_ = AddControl(L"BUTTON", L"< &Remove", WS_TABSTOP, removeId);
  }
  void PlaceButtons(int x, int y) {
    PlaceControl(add_, x, y + DluY(40), DluX(44), DluY(14));
    PlaceControl(remove_, x, y + DluY(60), DluX(44), DluY(14));
  }
  void AddCloseButton() { close_ = AddControl(L"BUTTON", L"Close", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK); }
  void PlaceCloseButton(int clientWidth, int y) {
    PlaceControl(close_, clientWidth - DluX(7 + 50), y, DluX(50), DluY(14));
  }
  void LoadLists() {
    model_.Load();
    FillList(current_, model_.Current());
    FillList(keep_, model_.Kept());
    SetExtent(keep_);
    SetExtent(current_);
  }
  void OnCommand(int id, int code, HWND control) override {
    if ((id == IDOK || id == IDCANCEL) && code == BN_CLICKED) {
      End(id);
      return;
    }
    Status status = kOk;
    if (code == BN_CLICKED && control && control == add_) {
      status = model_.Add(Selected(current_));
    } else if (code == BN_CLICKED && control && control == remove_) {
      status = model_.Remove(AllSelected(keep_));
    } else {
      OnOtherCommand(id, code);
      return;
    }
    FillList(keep_, model_.Kept());
    SetExtent(keep_);
    if (status != kOk) {
      // The list still shows what the file holds; say why it did not change.
      DialogMessageBoxes(*this).Show(
          "The keep list could not be saved to " + file_ + ". The file may be read-only or in use.", "Clearvane",
          MB_OK | MB_ICONEXCLAMATION);
    }
  }
  virtual void OnOtherCommand(int id, int code) {}

  std::string file_;
  Model model_;
  HWND current_ = nullptr, keep_ = nullptr, add_ = nullptr, remove_ = nullptr, close_ = nullptr;
};

class UrlKeepListWindow : public KeepListWindow<UrlKeepListModel> {
 public:
  UrlKeepListWindow(Platform& platform, regfun& reg)
      : KeepListWindow(platform.shell.ProgramFolder() + std::string(kUrlKeepFileName), platform.registry, reg,
                       platform.files) {}

 private:
  void OnInit() override {
    HWND frame = AddControl(L"BUTTON", L"URL Drop-List", BS_GROUPBOX, IDC_URL_FRAME);
    HWND currentLabel = AddControl(L"STATIC", L"&Current URL List", SS_LEFT, IDC_URL_CURRENT_LABEL);
    current_ = AddControl(L"LISTBOX", L"", kListStyle, IDC_URL_CURRENT, nullptr, WS_EX_CLIENTEDGE);
    CreateButtons(IDC_URL_ADD, IDC_URL_REMOVE);
    HWND keepLabel = AddControl(L"STATIC", L"URL &Keep List", SS_LEFT, IDC_URL_KEEP_LABEL);
    keep_ = AddControl(L"LISTBOX", L"", kListStyle | LBS_EXTENDEDSEL, IDC_URL_KEEP, nullptr, WS_EX_CLIENTEDGE);
    AddCloseButton();

    const int listWidth = DluX(140), listHeight = DluY(110), buttonWidth = DluX(44);
    int x = DluX(14);
    const int y = DluY(20);
    PlaceControl(frame, DluX(7), DluY(7), listWidth * 2 + buttonWidth + DluX(35), listHeight + DluY(30));
    PlaceControl(currentLabel, x, y, listWidth, DluY(9));
    PlaceControl(current_, x, y + DluY(11), listWidth, listHeight);
    x += listWidth + DluX(7);
    PlaceButtons(x, y);
    x += buttonWidth + DluX(7);
    PlaceControl(keepLabel, x, y, listWidth, DluY(9));
    PlaceControl(keep_, x, y + DluY(11), listWidth, listHeight);
    const int width = x + listWidth + DluX(14);
    PlaceCloseButton(width, DluY(7) + listHeight + DluY(36));
    SetClientSize(width, DluY(7) + listHeight + DluY(57));
    LoadLists();
  }
};

class CookieKeepListWindow : public KeepListWindow<CookieKeepListModel> {
 public:
  CookieKeepListWindow(Platform& platform, regfun& reg)
      : KeepListWindow(platform.shell.ProgramFolder() + std::string(kCookieKeepFileName), reg, platform.shell,
                       platform.files) {}

 private:
  void OnInit() override {
    HWND currentFrame = AddControl(L"BUTTON", L"&Current Cookies List", BS_GROUPBOX, IDC_COOKIE_CURRENT_FRAME);
    current_ = AddControl(L"LISTBOX", L"", kListStyle, IDC_COOKIE_CURRENT, nullptr, WS_EX_CLIENTEDGE);
    CreateButtons(IDC_COOKIE_ADD, IDC_COOKIE_REMOVE);
    HWND keepFrame = AddControl(L"BUTTON", L"Cookies &Keep List", BS_GROUPBOX, IDC_COOKIE_KEEP_FRAME);
    keep_ = AddControl(L"LISTBOX", L"", kListStyle | LBS_EXTENDEDSEL, IDC_COOKIE_KEEP, nullptr, WS_EX_CLIENTEDGE);
    preview_ =
        AddControl(L"EDIT", L"", WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                   IDC_COOKIE_PREVIEW, nullptr, WS_EX_CLIENTEDGE);
    AddCloseButton();

    const int listWidth = DluX(150), listHeight = DluY(100), buttonWidth = DluX(44);
    int x = DluX(7);
    const int y = DluY(7);
    PlaceControl(currentFrame, x, y, listWidth + DluX(14), listHeight + DluY(20));
    PlaceControl(current_, x + DluX(7), y + DluY(13), listWidth, listHeight);
    x += listWidth + DluX(21);
    PlaceButtons(x, y);
    x += buttonWidth + DluX(7);
    PlaceControl(keepFrame, x, y, listWidth + DluX(14), listHeight + DluY(20));
    PlaceControl(keep_, x + DluX(7), y + DluY(13), listWidth, listHeight);
    const int width = x + listWidth + DluX(21);
    const int previewTop = y + listHeight + DluY(26);
    PlaceControl(preview_, DluX(7), previewTop, width - DluX(14), DluY(60));
    PlaceCloseButton(width, previewTop + DluY(66));
    SetClientSize(width, previewTop + DluY(87));
    LoadLists();
  }

  // Clicking an entry of either list shows that cookie's text.
  void OnOtherCommand(int id, int code) override {
    if ((id != IDC_COOKIE_CURRENT && id != IDC_COOKIE_KEEP) || code != LBN_SELCHANGE) return;
    HWND list = id == IDC_COOKIE_CURRENT ? current_ : keep_;
    const LRESULT caret = ::SendMessageW(list, LB_GETCARETINDEX, 0, 0);
    const std::vector<std::string>& entries = list == current_ ? model_.Current() : model_.Kept();
    if (caret == LB_ERR || static_cast<std::size_t>(caret) >= entries.size()) return;
    model_.ShowCookie(entries[static_cast<std::size_t>(caret)]);
    // The edit box wants CR LF; cookie files hold plain LF lines.
    std::string text;
    for (char c : model_.PreviewText()) {
      if (c == '\n' && (text.empty() || text.back() != '\r')) text += '\r';
      text += c;
    }
    ::SetWindowTextW(preview_, win32::Widen(text).c_str());
  }

  HWND preview_ = nullptr;
};

}  // namespace

int ListTextWidth(HWND list) {
  const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  if (count <= 0) return 0;
  HDC dc = ::GetDC(list);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
  int widest = 0;
  std::wstring text;
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, i, 0);
    if (length < 0) continue;
    text.assign(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    RECT rect{0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    widest = std::max(widest, static_cast<int>(rect.right - rect.left) + 8);
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(list, dc);
  return widest;
}

void ShowUrlKeepList(HINSTANCE instance, HWND owner, Platform& platform) {
  regfun reg(platform.registry, platform.messages);
  UrlKeepListWindow window(platform, reg);
  window.Run(instance, owner, L"URL Drop-List Options");
}

void ShowCookieKeepList(HINSTANCE instance, HWND owner, Platform& platform) {
  regfun reg(platform.registry, platform.messages);
  CookieKeepListWindow window(platform, reg);
  window.Run(instance, owner, L"Cookies Options");
}

}  // namespace cv::ui
