#include "regclean/registry_cleaner_window_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "app/main_model.h"
#include "platform/reg_text.h"
#include "platform/win32/text_win.h"
#include "regclean/hivebrush_res.h"
#include "regclean/hivebrush_texts.h"
#include "regclean/registry_scan.h"
#include "ui/controls_win.h"
#include "ui/look_win.h"

namespace cv::ui {
namespace {

using win32::Narrow;
using win32::Widen;

constexpr int kProgressSteps = 1000;
constexpr std::size_t kFailuresShown = 10;

// Shared-DLL counts are kept by installers of other programs: listed, but
// ticked only by the user. Everything else found points at what is gone and
// is backed up before it goes, so it starts ticked.
bool TickedAtFirst(const RegFinding& finding) { return finding.category != FindingCategory::kSharedDll; }

class RegistryCleanerWindow : public ModalDialog {
 public:
  explicit RegistryCleanerWindow(win32::Win32Platform& platform) : platform_(platform) {}

 protected:
  void OnInit() override {
    HWND dialog = Handle();
    ShowAsProgramWindow(dialog, Instance(), IDI_HIVEBRUSH);
    // Tab order is the order of creation.
    AddControl(L"STATIC", Widen(texts::kHivebrushIntro), SS_LEFT | SS_NOPREFIX, IDC_HIVE_INTRO);
    AddControl(L"BUTTON", L"&Scan", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDC_HIVE_SCAN);
    AddControl(L"BUTTON", L"&Restore a backup...", BS_PUSHBUTTON | WS_TABSTOP, IDC_HIVE_RESTORE);
    AddControl(L"STATIC", L"F&indings:", SS_LEFT, IDC_HIVE_LIST_LABEL);
    HWND list = AddControl(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP | WS_GROUP,
                           IDC_HIVE_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_DOUBLEBUFFER);
    AddControl(PROGRESS_CLASSW, L"", 0, IDC_HIVE_PROGRESS);
    ::SendMessageW(Item(IDC_HIVE_PROGRESS), PBM_SETRANGE32, 0, kProgressSteps);
    AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, IDC_HIVE_STATUS);
    AddControl(L"BUTTON", L"&Fix selected", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_DISABLED, IDC_HIVE_FIX);
    AddControl(L"BUTTON", L"Close", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL);
    Layout();
    SetStatus("\"Scan\" lists what the registry holds about programs and files that are gone.");
    ::SetFocus(Item(IDC_HIVE_SCAN));
    KeepInitialFocus();
  }

  void OnCommand(int id, int, HWND) override {
    if (busy_) return;
    switch (id) {
      case IDC_HIVE_SCAN:
        return Scan();
      case IDC_HIVE_FIX:
        return FixSelected();
      case IDC_HIVE_RESTORE:
        return Restore();
      case IDOK: {  // Enter: the default button
        const int button = LOWORD(::SendMessageW(Handle(), DM_GETDEFID, 0, 0));
        if (button == IDC_HIVE_SCAN || button == IDC_HIVE_FIX) OnCommand(button, 0, nullptr);
        return;
      }
      case IDCANCEL:
        return End(IDCANCEL);
      default:
        return;
    }
  }

  bool PreTranslate(const MSG& message) override {
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1) {
      platform_.shell.StartProgram(
          HelpCommandLine(platform_.shell.GetWindowsDirectory(), platform_.shell.ProgramFolder()), ShowMode::Normal);
      return true;
    }
    return false;
  }

 private:
  HWND Item(int id) const { return ::GetDlgItem(Handle(), id); }
  std::string BackupFolder() { return platform_.shell.ProgramFolder() + "\\Backups"; }

  void Layout() {
    const int margin = DluX(7), width = DluX(420), gap = DluY(4), buttonHeight = DluY(14);
    const auto buttonWidth = [&](int id) { return std::max(DluX(50), TextWidth(WindowText(Item(id))) + DluX(14)); };
    int y = margin;
    const int introHeight = MeasureText(Item(IDC_HIVE_INTRO), nullptr, width).cy;
    PlaceControl(Item(IDC_HIVE_INTRO), margin, y, width, introHeight);
    y += introHeight + gap;
    int x = margin;
    for (int id : {IDC_HIVE_SCAN, IDC_HIVE_RESTORE}) {
      const int w = buttonWidth(id);
      PlaceControl(Item(id), x, y, w, buttonHeight);
      x += w + DluX(4);
    }
    y += buttonHeight + gap;
    PlaceControl(Item(IDC_HIVE_LIST_LABEL), margin, y, width, DluY(10));
    y += DluY(10);
    const int listHeight = DluY(150);
    PlaceControl(Item(IDC_HIVE_LIST), margin, y, width, listHeight);
    y += listHeight + gap;
    PlaceControl(Item(IDC_HIVE_PROGRESS), margin, y, width, DluY(10));
    y += DluY(10) + gap;
    PlaceControl(Item(IDC_HIVE_STATUS), margin, y, width, DluY(10));
    y += DluY(10) + gap;
    const int closeWidth = buttonWidth(IDCANCEL), fixWidth = buttonWidth(IDC_HIVE_FIX);
    PlaceControl(Item(IDCANCEL), margin + width - closeWidth, y, closeWidth, buttonHeight);
    PlaceControl(Item(IDC_HIVE_FIX), margin + width - closeWidth - DluX(4) - fixWidth, y, fixWidth, buttonHeight);
    y += buttonHeight + margin;
    SetClientSize(width + 2 * margin, y);

    const int listWidth = width - ::GetSystemMetrics(SM_CXVSCROLL) - 4;
    const struct {
      const wchar_t* title;
      int percent;
    } columns[] = {{L"Key", 42}, {L"Value", 20}, {L"Reason", 38}};
    for (int i = 0; i < 3; ++i)
      InsertListColumn(Item(IDC_HIVE_LIST), i, columns[i].title, listWidth * columns[i].percent / 100);
  }

  void SetStatus(const std::string& text) { ::SetWindowTextW(Item(IDC_HIVE_STATUS), Widen(text).c_str()); }
  void SetProgress(std::size_t done, std::size_t total) {
    const auto position = total == 0 ? 0 : static_cast<WPARAM>(std::min(done, total) * kProgressSteps / total);
    ::SendMessageW(Item(IDC_HIVE_PROGRESS), PBM_SETPOS, position, 0);
  }
  int Ask(const std::string& text, const char* caption, UINT style) {
    return ::MessageBoxW(Handle(), Widen(text).c_str(), Widen(caption).c_str(), style);
  }

  void SetDefault(int id) {
    for (int button : {IDC_HIVE_SCAN, IDC_HIVE_FIX})
      ::SendMessageW(Item(button), BM_SETSTYLE, button == id ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    ::SendMessageW(Handle(), DM_SETDEFID, id, 0);
  }

  void SetBusy(bool busy) {
    busy_ = busy;
    for (int id : {IDC_HIVE_SCAN, IDC_HIVE_RESTORE, IDC_HIVE_LIST, IDCANCEL}) ::EnableWindow(Item(id), !busy);
    ::EnableWindow(Item(IDC_HIVE_FIX), !busy && !findings_.empty());
  }

  void ShowFindings() {
    HWND list = Item(IDC_HIVE_LIST);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    for (const RegFinding& finding : findings_) {
      const int row = InsertListRow(list, ListView_GetItemCount(list),
                                    Widen(std::string(RegRootName(finding.root)) + "\\" + finding.key));
      if (row < 0) continue;
      SetListCell(list, row, 1, Widen(finding.wholeKey ? std::string("(the whole key)") : finding.value));
      SetListCell(list, row, 2, Widen(std::string(CategoryName(finding.category)) + ": " + finding.reason));
      ListView_SetCheckState(list, row, TickedAtFirst(finding));
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    if (!findings_.empty()) ListView_SetItemState(list, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    ::EnableWindow(Item(IDC_HIVE_FIX), !findings_.empty());
    SetDefault(findings_.empty() ? IDC_HIVE_SCAN : IDC_HIVE_FIX);
  }

  void Scan() {
    SetBusy(true);
    SetProgress(0, 1);
    SetStatus("Scanning the registry...");
    const std::string windows = platform_.shell.GetWindowsDirectory();
    findings_ = ScanRegistry(platform_.registry, platform_.files, platform_.shell.IsElevated(),
                             {windows, windows + "\\System32"}, [&](std::size_t done, std::size_t total) {
                               SetProgress(done, total);
                               Pump();
                             });
    SetBusy(false);
    ShowFindings();
    const std::size_t count = findings_.size();
    SetStatus(count == 0 ? "Nothing found: no entry of the places scanned points at something that is gone."
                         : std::to_string(count) + (count == 1 ? " entry points" : " entries point") +
                               " at something that is gone. Tick what to fix.");
    ::SetFocus(Item(count == 0 ? IDC_HIVE_SCAN : IDC_HIVE_LIST));
  }

  // Whether a file can be written in the backup folder (made when missing).
  bool BackupFolderWritable(const std::string& folder) {
    platform_.files.CreateFolder(folder);
    const std::string probe = folder + "\\.write-test";
    if (platform_.files.WriteFileAtomic(probe, "") != kOk) return false;
    platform_.files.DeleteFile(probe, true);
    return true;
  }

  void FixSelected() {
    HWND list = Item(IDC_HIVE_LIST);
    std::vector<std::size_t> ticked;
    for (std::size_t row = 0; row < findings_.size(); ++row)
      if (ListView_GetCheckState(list, static_cast<int>(row))) ticked.push_back(row);
    if (ticked.empty()) {
      Ask("Tick the entries to fix first (Space ticks the selected entry).", texts::kFixCaption,
          MB_OK | MB_ICONINFORMATION);
      return;
    }
    const std::string folder = BackupFolder();
    const std::string question = "Remove " + std::to_string(ticked.size()) +
                                 (ticked.size() == 1 ? " entry" : " entries") +
                                 " from the registry?\r\n\r\nA backup of each is written first, to " + folder +
                                 "; \"Restore a backup...\" puts an entry back.";
    if (Ask(question, texts::kFixCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    if (!BackupFolderWritable(folder)) {
      Ask("The backup folder " + folder +
              " cannot be written to, so nothing was removed.\r\n\r\nRun Hivebrush from "
              "a folder you can write to (the portable copy), or as the user who installed it.",
          texts::kFixCaption, MB_OK | MB_ICONEXCLAMATION);
      return;
    }

    SetBusy(true);
    const LocalTime now = platform_.clock.Now();
    std::vector<std::string> failures, backups;
    std::vector<bool> fixed(findings_.size(), false);
    for (std::size_t i = 0; i < ticked.size(); ++i) {
      const RegFinding& finding = findings_[ticked[i]];
      const FixResult result =
          FixFinding(platform_.registry, platform_.files, finding, folder, now, static_cast<int>(i + 1));
      if (!result.backup.empty()) backups.push_back(result.backup);
      if (result.status == kOk) {
        fixed[ticked[i]] = true;
      } else {
        failures.push_back(std::string(RegRootName(finding.root)) + "\\" + finding.key +
                           (finding.wholeKey ? "" : " : " + finding.value) + " (" +
                           (result.backup.empty() ? "no backup could be written, so it was left" : "not removed") +
                           ", error " + std::to_string(result.status) + ")");
      }
      SetProgress(i + 1, ticked.size());
      Pump();
    }
    std::vector<RegFinding> left;
    for (std::size_t i = 0; i < findings_.size(); ++i)
      if (!fixed[i]) left.push_back(findings_[i]);
    const std::size_t done = findings_.size() - left.size();
    findings_ = std::move(left);
    SetBusy(false);
    ShowFindings();

    std::string text = "Fixed " + std::to_string(done) + (done == 1 ? " entry." : " entries.");
    if (!backups.empty())
      text += "\r\n\r\nThe backup" + std::string(backups.size() == 1 ? " is " : "s are ") + "in " + folder + " (" +
              backups.front().substr(folder.size() + 1) +
              (backups.size() > 1 ? " to " + backups.back().substr(folder.size() + 1) : "") +
              "); \"Restore a backup...\" or a double click on one in Explorer puts it back.";
    if (!failures.empty()) {
      text += "\r\n\r\nNot fixed:";
      for (std::size_t i = 0; i < failures.size() && i < kFailuresShown; ++i) text += "\r\n" + failures[i];
      if (failures.size() > kFailuresShown)
        text += "\r\n... and " + std::to_string(failures.size() - kFailuresShown) + " more.";
    }
    SetStatus("Fixed " + std::to_string(done) + (done == 1 ? " entry" : " entries") + "; backups in " + folder);
    Ask(text, texts::kFixCaption, MB_OK | (failures.empty() ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
    ::SetFocus(Item(findings_.empty() ? IDC_HIVE_SCAN : IDC_HIVE_LIST));
  }

  // The file dialog in the backup folder; nullopt when cancelled.
  std::optional<std::string> PickBackup() {
    const std::wstring initial = Widen(BackupFolder());
    std::wstring buffer(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = L"Registry backups (*.reg)\0*.reg\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrInitialDir = initial.c_str();
    dialog.lpstrTitle = L"Restore a backup";
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
    return Narrow(buffer.c_str());
  }

  void Restore() {
    const auto file = PickBackup();
    if (!file) return;
    const Status status = RestoreBackup(platform_.registry, platform_.files, *file);
    if (status == kOk) {
      SetStatus("Restored " + *file);
      Ask("The entries of " + *file + " are back in the registry.", texts::kRestoreCaption, MB_OK | MB_ICONINFORMATION);
    } else {
      Ask(*file + " could not be imported (error " + std::to_string(status) +
              "): it is not a registry backup, or it cannot be read.",
          texts::kRestoreCaption, MB_OK | MB_ICONEXCLAMATION);
    }
  }

  // Lets the window paint while the work goes on.
  void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
        return;
      }
      if (!::IsDialogMessageW(Handle(), &message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
    }
  }

  win32::Win32Platform& platform_;
  std::vector<RegFinding> findings_;
  bool busy_ = false;
};

}  // namespace

void RunRegistryCleanerWindow(HINSTANCE instance, win32::Win32Platform& platform) {
  RegistryCleanerWindow window(platform);
  window.Run(instance, nullptr, Widen(texts::kHivebrushCaption));
}

}  // namespace cv::ui
