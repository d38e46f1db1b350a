#include "config/options_dialog_win.h"

#include <commctrl.h>

#include <array>
#include <span>
#include <utility>

#include "platform/win32/text_win.h"
#include "resources/options_res.h"
#include "ui/controls_win.h"
#include "ui/modal_dialog_win.h"

namespace cv::ui {

namespace {

constexpr std::pair<int, bool OptionsForm::*> kBoxes[] = {
    {IDX_OPTIONS_BOSSKEY, &OptionsForm::bossKey},           {IDX_OPTIONS_BROWSERS, &OptionsForm::hideModernBrowsers},
    {IDX_OPTIONS_STARTUP, &OptionsForm::startup},           {IDX_OPTIONS_AUTOCLEAN, &OptionsForm::autoUpdate},
    {IDX_OPTIONS_ASK, &OptionsForm::askBeforeCleaning},     {IDX_OPTIONS_EXIT, &OptionsForm::exitAfterCleaning},
    {IDX_OPTIONS_SECURELY, &OptionsForm::securely},         {IDX_OPTIONS_PASSES, &OptionsForm::threePasses},
    {IDX_OPTIONS_WINSTARTUP, &OptionsForm::windowsStartup}, {IDX_OPTIONS_WINSHUTDOWN, &OptionsForm::windowsShutdown},
};

constexpr int kDayBoxes[] = {IDX_OPTIONS_SUNDAY,   IDX_OPTIONS_MONDAY, IDX_OPTIONS_TUESDAY, IDX_OPTIONS_WEDNESDAY,
                             IDX_OPTIONS_THURSDAY, IDX_OPTIONS_FRIDAY, IDX_OPTIONS_SATURDAY};

constexpr int kGeneralTab[] = {IDC_OPTIONS_FRAME4,  IDX_OPTIONS_STARTUP,      IDX_OPTIONS_AUTOCLEAN,
                               IDX_OPTIONS_ASK,     IDX_OPTIONS_EXIT,         IDX_OPTIONS_SECURELY,
                               IDX_OPTIONS_PASSES,  IDC_OPTIONS_PASSES_NOTE,  IDC_OPTIONS_FRAME3,
                               IDX_OPTIONS_BOSSKEY, IDC_OPTIONS_BOSSKEY_TEXT, IDX_OPTIONS_BROWSERS};
constexpr int kScheduleTab[] = {
    IDC_OPTIONS_FRAME5,  IDC_OPTIONS_STARTAT,   IDC_OPTIONS_STARTTIME, IDX_OPTIONS_SUNDAY,     IDX_OPTIONS_MONDAY,
    IDX_OPTIONS_TUESDAY, IDX_OPTIONS_WEDNESDAY, IDX_OPTIONS_THURSDAY,  IDX_OPTIONS_FRIDAY,     IDX_OPTIONS_SATURDAY,
    IDX_OPTIONS_DAILY,   IDC_OPTIONS_FRAME6,    IDC_OPTIONS_RUNAT,     IDX_OPTIONS_WINSTARTUP, IDX_OPTIONS_WINSHUTDOWN};
constexpr int kHomepageTab[] = {IDC_OPTIONS_FRAME2,    IDC_OPTIONS_IMAGE,      IDC_OPTIONS_HOMEHEADING,
                                IDC_OPTIONS_HOMELINE,  IDC_OPTIONS_FRAME1,     IDC_OPTIONS_RESETLABEL,
                                IDE_OPTIONS_STARTPAGE, IDC_OPTIONS_TITLELABEL, IDE_OPTIONS_TITLE};

struct Tab {
  const wchar_t* caption;
  std::span<const int> controls;
};
constexpr Tab kTabs[] = {{L"General", kGeneralTab}, {L"Schedule", kScheduleTab}, {L"Homepage", kHomepageTab}};

std::string ControlText(HWND dialog, int id) { return win32::Narrow(WindowText(::GetDlgItem(dialog, id))); }

// Shows one tab's controls; the others' are hidden and disabled, so neither
// Tab nor their mnemonics reach them.
void ShowTab(HWND dialog, int shown) {
  for (int tab = 0; tab < static_cast<int>(std::size(kTabs)); ++tab)
    for (int id : kTabs[tab].controls) {
      HWND control = ::GetDlgItem(dialog, id);
      ::ShowWindow(control, tab == shown ? SW_SHOW : SW_HIDE);
      ::EnableWindow(control, tab == shown);
    }
}

void SelectTab(HWND dialog, int tab) {
  TabCtrl_SetCurSel(::GetDlgItem(dialog, IDC_OPTIONS_TABS), tab);
  ShowTab(dialog, tab);
}

void Fill(HWND dialog, const OptionsForm& form) {
  for (const auto& [id, box] : kBoxes) SetChecked(dialog, id, form.*box);
  for (size_t day = 0; day < std::size(kDayBoxes); ++day) SetChecked(dialog, kDayBoxes[day], form.days[day]);
  HWND times = ::GetDlgItem(dialog, IDC_OPTIONS_STARTTIME);
  for (const std::string& entry : StartTimeEntries())
    ::SendMessageW(times, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::Widen(entry).c_str()));
  ::SetWindowTextW(times, win32::Widen(form.cleanTime).c_str());
  ::SetDlgItemTextW(dialog, IDE_OPTIONS_STARTPAGE, win32::Widen(form.startPage).c_str());
  ::SetDlgItemTextW(dialog, IDE_OPTIONS_TITLE, win32::Widen(form.windowTitle).c_str());
}

OptionsForm Read(HWND dialog) {
  OptionsForm form;
  for (const auto& [id, box] : kBoxes) form.*box = IsChecked(dialog, id);
  for (size_t day = 0; day < std::size(kDayBoxes); ++day) form.days[day] = IsChecked(dialog, kDayBoxes[day]);
  form.cleanTime = ControlText(dialog, IDC_OPTIONS_STARTTIME);
  form.startPage = ControlText(dialog, IDE_OPTIONS_STARTPAGE);
  form.windowTitle = ControlText(dialog, IDE_OPTIONS_TITLE);
  return form;
}

class OptionsDialog : public ModalDialog {
 public:
  explicit OptionsDialog(OptionsStore store) : store_(std::move(store)) {}
  const std::optional<OptionsApplied>& Applied() const { return applied_; }

 private:
  void OnInit() override {
    HWND tabs = ::GetDlgItem(Handle(), IDC_OPTIONS_TABS);
    for (int tab = 0; tab < static_cast<int>(std::size(kTabs)); ++tab) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<wchar_t*>(kTabs[tab].caption);
      TabCtrl_InsertItem(tabs, tab, &item);
    }
    Fill(Handle(), store_.Load());
    SelectTab(Handle(), 0);
  }

  LRESULT OnNotify(NMHDR* header) override {
    if (header->idFrom == IDC_OPTIONS_TABS && header->code == TCN_SELCHANGE)
      ShowTab(Handle(), TabCtrl_GetCurSel(header->hwndFrom));
    return 0;
  }

  void OnCommand(int id, int code, HWND) override {
    HWND dialog = Handle();
    switch (id) {
      case IDX_OPTIONS_DAILY:
        if (code == BN_CLICKED)
          for (int day : kDayBoxes) SetChecked(dialog, day, IsChecked(dialog, IDX_OPTIONS_DAILY));
        break;
      case IDOK:
        applied_ = store_.Ok(Read(dialog));
        End(IDOK);
        break;
      case IDCANCEL:
        End(IDCANCEL);
        break;
    }
  }

  // Ctrl+Tab and Ctrl+Shift+Tab (and Ctrl+PgDn/PgUp) turn the tabs, as in
  // every tabbed Windows dialog; the dialog manager does not.
  bool PreTranslate(const MSG& message) override {
    if (message.message != WM_KEYDOWN || !(::GetKeyState(VK_CONTROL) & 0x8000)) return false;
    if (::GetAncestor(message.hwnd, GA_ROOT) != Handle()) return false;
    int step = 0;
    if (message.wParam == VK_TAB) step = (::GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1;
    if (message.wParam == VK_NEXT) step = 1;
    if (message.wParam == VK_PRIOR) step = -1;
    if (step == 0) return false;
    const int count = static_cast<int>(std::size(kTabs));
    const int current = TabCtrl_GetCurSel(::GetDlgItem(Handle(), IDC_OPTIONS_TABS));
    SelectTab(Handle(), (current + step + count) % count);
    ::SetFocus(::GetDlgItem(Handle(), IDC_OPTIONS_TABS));
    return true;
  }

  OptionsStore store_;
  std::optional<OptionsApplied> applied_;
};

}  // namespace

std::optional<OptionsApplied> ShowOptionsDialog(HINSTANCE instance, HWND owner, Platform& platform,
                                                const std::string& selectionFile) {
  Inifun ini(platform.files);
  regfun registryLayer(platform.registry, platform.messages);
  OptionsDialog dialog(
      OptionsStore(ini, registryLayer, platform.registry, selectionFile, platform.shell.ProgramFolder()));
  dialog.Run(instance, owner, IDD_OPTIONS);
  return dialog.Applied();
}

}  // namespace cv::ui
