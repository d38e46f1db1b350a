#include "shredder/shredder_window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>

#include "app/analysis.h"
#include "ui/controls_win.h"
#include "ui/look_win.h"
#include "clean/path_guard.h"
#include "config/custom_items.h"
#include "config/file_pickers_win.h"
#include "platform/win32/text_win.h"
#include "shredder/free_space_wipe.h"
#include "shredder/shardmill_res.h"
#include "shredder/shred_list.h"
#include "shredder/shredder_texts.h"

namespace cv::ui {
namespace {

using win32::Narrow;
using win32::Widen;

constexpr int kProgressSteps = 1000;
constexpr std::size_t kRefusalsShown = 10;
constexpr UINT kAddStartPaths = WM_APP + 1;
constexpr const wchar_t* kPassTexts[] = {L"1 pass (recommended)", L"3 passes", L"7 passes"};

class ShredderWindow : public ModalDialog, private ShredObserver, private WipeObserver {
 public:
  ShredderWindow(win32::Win32Platform& platform, Volumes& volumes, std::vector<std::string> paths)
      : platform_(platform),
        volumes_(volumes),
        guard_(PathGuard::ForSystem(platform.shell, platform.files)),
        list_(platform.files, guard_),
        startPaths_(std::move(paths)) {}

 protected:
  void OnInit() override {
    HWND dialog = Handle();
    ShowAsProgramWindow(dialog, Instance(), IDI_SHARDMILL);
    // Tab order is the order of creation.
    AddControl(L"STATIC", Widen(texts::kShredderIntro), SS_LEFT | SS_NOPREFIX, IDC_SHRED_INTRO);
    AddControl(L"BUTTON", L"Files and folders", BS_GROUPBOX, IDC_SHRED_FILES_FRAME);
    AddControl(L"BUTTON", L"Add &files...", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, IDC_SHRED_ADD_FILES);
    AddControl(L"BUTTON", L"Add f&older...", BS_PUSHBUTTON | WS_TABSTOP, IDC_SHRED_ADD_FOLDER);
    AddControl(L"BUTTON", L"&Remove", BS_PUSHBUTTON | WS_TABSTOP, IDC_SHRED_REMOVE);
    AddControl(L"BUTTON", L"C&lear", BS_PUSHBUTTON | WS_TABSTOP, IDC_SHRED_CLEAR);
    HWND list = AddControl(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP | WS_GROUP,
                           IDC_SHRED_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    AddControl(L"STATIC", L"&Passes:", SS_LEFT, IDC_SHRED_PASSES_LABEL);
    HWND passes =
        AddControl(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, IDC_SHRED_PASSES);
    for (const wchar_t* text : kPassTexts) ::SendMessageW(passes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    ::SendMessageW(passes, CB_SETCURSEL, 0, 0);
    AddControl(L"BUTTON", L"&Shred", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDC_SHRED_START);
    AddControl(L"BUTTON", L"Free space", BS_GROUPBOX, IDC_WIPE_FRAME);
    AddControl(L"STATIC", L"&Drive:", SS_LEFT, IDC_WIPE_DRIVE_LABEL);
    AddControl(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, IDC_WIPE_DRIVE);
    AddControl(L"BUTTON", L"&Wipe free space", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, IDC_WIPE_START);
    AddControl(L"STATIC", Widen(texts::kWipeNote), SS_LEFT | SS_NOPREFIX, IDC_WIPE_NOTE);
    AddControl(PROGRESS_CLASSW, L"", 0, IDC_SHRED_PROGRESS);
    ::SendMessageW(Item(IDC_SHRED_PROGRESS), PBM_SETRANGE32, 0, kProgressSteps);
    AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, IDC_SHRED_STATUS);
    AddControl(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_DISABLED, IDC_SHRED_CANCEL);
    AddControl(L"BUTTON", L"Close", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL);
    Layout();
    FillDrives();
    ShowPlan();
    ::DragAcceptFiles(dialog, TRUE);
    // The command line's paths once the window shows, so a message about
    // them has the window behind it.
    if (!startPaths_.empty()) ::PostMessageW(dialog, kAddStartPaths, 0, 0);
    ::SetFocus(Item(IDC_SHRED_ADD_FILES));
  }

  void OnCommand(int id, int code, HWND) override {
    if (busy_) {
      if (id == IDC_SHRED_CANCEL || id == IDCANCEL) RequestCancel();
      return;
    }
    switch (id) {
      case IDC_SHRED_ADD_FILES:
        return AddFiles();
      case IDC_SHRED_ADD_FOLDER:
        if (const auto folder = PickFolder(Handle())) AddPaths({*folder});
        return;
      case IDC_SHRED_REMOVE:
        return RemoveSelected();
      case IDC_SHRED_CLEAR:
        list_.Clear();
        return ShowPlan();
      case IDC_SHRED_PASSES:
        if (code == CBN_SELCHANGE && !showingResults_) ShowPlan();
        return;
      case IDOK:
      case IDC_SHRED_START:
        return StartShredding();
      case IDC_WIPE_START:
        return StartWiping();
      case IDCANCEL:
        return End(IDCANCEL);
      default:
        return;
    }
  }

  bool PreTranslate(const MSG& message) override {
    if (message.message == kAddStartPaths && message.hwnd == Handle()) {
      AddPaths(startPaths_);
      if (!list_.Targets().empty()) ::SetFocus(Item(IDC_SHRED_START));
      return true;
    }
    if (message.message == WM_DROPFILES) {
      Dropped(reinterpret_cast<HDROP>(message.wParam));
      return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1) {
      ShowHelp();
      return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_DELETE && message.hwnd == Item(IDC_SHRED_LIST) &&
        !busy_) {
      RemoveSelected();
      return true;
    }
    return false;
  }

 private:
  HWND Item(int id) const { return ::GetDlgItem(Handle(), id); }

  // The help viewer at this window's page of the program's help file.
  void ShowHelp() {
    const std::string folder = platform_.shell.ProgramFolder();
    platform_.shell.StartProgram(
        "\"" + platform_.shell.GetWindowsDirectory() + "\\hh.exe\" \"" + folder + "\\help.chm::/file-shredder.html\"",
        ShowMode::Normal);
  }

  void Layout() {
    const int margin = DluX(7), width = DluX(400), gap = DluY(4), buttonHeight = DluY(14), inner = DluX(8);
    const auto buttonWidth = [&](int id) { return std::max(DluX(50), TextWidth(WindowText(Item(id))) + DluX(14)); };
    const auto textHeight = [&](int id, int wrap) { return MeasureText(Item(id), nullptr, wrap).cy; };
    int y = margin;
    const int introHeight = textHeight(IDC_SHRED_INTRO, width);
    PlaceControl(Item(IDC_SHRED_INTRO), margin, y, width, introHeight);
    y += introHeight + gap;

    const int filesTop = y;
    y += DluY(12);
    int x = margin + inner;
    for (int id : {IDC_SHRED_ADD_FILES, IDC_SHRED_ADD_FOLDER, IDC_SHRED_REMOVE, IDC_SHRED_CLEAR}) {
      const int w = buttonWidth(id);
      PlaceControl(Item(id), x, y, w, buttonHeight);
      x += w + DluX(4);
    }
    y += buttonHeight + gap;
    const int listHeight = DluY(120);
    PlaceControl(Item(IDC_SHRED_LIST), margin + inner, y, width - 2 * inner, listHeight);
    y += listHeight + gap;
    const int labelWidth = TextWidth(L"&Passes:") + DluX(4);
    const int comboHeight = DluY(12);
    PlaceControl(Item(IDC_SHRED_PASSES_LABEL), margin + inner, y + DluY(2), labelWidth, DluY(10));
    int passesWidth = 0;
    for (const wchar_t* text : kPassTexts) passesWidth = std::max(passesWidth, TextWidth(text));
    PlaceControl(Item(IDC_SHRED_PASSES), margin + inner + labelWidth, y, passesWidth + DluX(24), comboHeight * 6);
    const int shredWidth = buttonWidth(IDC_SHRED_START);
    PlaceControl(Item(IDC_SHRED_START), margin + width - inner - shredWidth, y, shredWidth, buttonHeight);
    y += buttonHeight + DluY(7);
    PlaceControl(Item(IDC_SHRED_FILES_FRAME), margin, filesTop, width, y - filesTop);
    y += gap;

    const int wipeTop = y;
    y += DluY(12);
    const int driveLabel = TextWidth(L"&Drive:") + DluX(4);
    PlaceControl(Item(IDC_WIPE_DRIVE_LABEL), margin + inner, y + DluY(2), driveLabel, DluY(10));
    PlaceControl(Item(IDC_WIPE_DRIVE), margin + inner + driveLabel, y, DluX(150), comboHeight * 8);
    const int wipeWidth = buttonWidth(IDC_WIPE_START);
    PlaceControl(Item(IDC_WIPE_START), margin + width - inner - wipeWidth, y, wipeWidth, buttonHeight);
    y += buttonHeight + gap;
    const int noteHeight = textHeight(IDC_WIPE_NOTE, width - 2 * inner);
    PlaceControl(Item(IDC_WIPE_NOTE), margin + inner, y, width - 2 * inner, noteHeight);
    y += noteHeight + DluY(7);
    PlaceControl(Item(IDC_WIPE_FRAME), margin, wipeTop, width, y - wipeTop);
    y += gap;

    PlaceControl(Item(IDC_SHRED_PROGRESS), margin, y, width, DluY(10));
    y += DluY(10) + gap;
    PlaceControl(Item(IDC_SHRED_STATUS), margin, y, width, DluY(10));
    y += DluY(10) + gap;
    const int closeWidth = buttonWidth(IDCANCEL), cancelWidth = buttonWidth(IDC_SHRED_CANCEL);
    PlaceControl(Item(IDCANCEL), margin + width - closeWidth, y, closeWidth, buttonHeight);
    PlaceControl(Item(IDC_SHRED_CANCEL), margin + width - closeWidth - DluX(4) - cancelWidth, y, cancelWidth,
                 buttonHeight);
    y += buttonHeight + margin;
    SetClientSize(width + 2 * margin, y);

    HWND list = Item(IDC_SHRED_LIST);
    const int listWidth = width - 2 * inner - ::GetSystemMetrics(SM_CXVSCROLL) - 4;
    const struct {
      const wchar_t* title;
      int width;
      int format;
    } columns[] = {{L"Path", listWidth * 46 / 100, LVCFMT_LEFT},
                   {L"Size", listWidth * 12 / 100, LVCFMT_RIGHT},
                   {L"What will be done", listWidth * 42 / 100, LVCFMT_LEFT}};
    for (int i = 0; i < 3; ++i) InsertListColumn(list, i, columns[i].title, columns[i].width, columns[i].format);
  }

  int Passes() const {
    const auto index = ::SendMessageW(Item(IDC_SHRED_PASSES), CB_GETCURSEL, 0, 0);
    return kShredPassChoices[index >= 0 && index < static_cast<LRESULT>(kShredPassChoices.size()) ? index : 0];
  }

  void SetThirdColumn(const wchar_t* title) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t*>(title);
    ListView_SetColumn(Item(IDC_SHRED_LIST), 2, &column);
  }

  void AddRow(const std::string& path, const std::string& size, const std::string& third) {
    HWND list = Item(IDC_SHRED_LIST);
    const int row = InsertListRow(list, ListView_GetItemCount(list), Widen(path));
    if (row < 0) return;
    SetListCell(list, row, 1, Widen(size));
    SetListCell(list, row, 2, Widen(third));
    ListView_EnsureVisible(list, row, FALSE);
  }

  // The list shows what shredding will do.
  void ShowPlan() {
    showingResults_ = false;
    HWND list = Item(IDC_SHRED_LIST);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    SetThirdColumn(L"What will be done");
    const int passes = Passes();
    for (const ShredTarget& target : list_.Targets())
      AddRow(target.path, target.kind == ShredTargetKind::kLink ? "" : SizeText(static_cast<double>(target.bytes)),
             PlannedActionText(target, passes));
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    const std::size_t count = list_.Targets().size();
    SetStatus(count == 0 ? "Add the files and folders to shred."
                         : std::to_string(count) + (count == 1 ? " entry, " : " entries, ") +
                               SizeText(static_cast<double>(list_.TotalBytes())) + ".");
    EnableControls();
  }

  void EnableControls() {
    const bool idle = !busy_;
    const bool any = !list_.Targets().empty();
    for (int id : {IDC_SHRED_ADD_FILES, IDC_SHRED_ADD_FOLDER, IDC_SHRED_PASSES, IDC_WIPE_DRIVE, IDC_SHRED_LIST})
      ::EnableWindow(Item(id), idle);
    ::EnableWindow(Item(IDC_SHRED_REMOVE), idle && any);
    ::EnableWindow(Item(IDC_SHRED_CLEAR), idle && any);
    ::EnableWindow(Item(IDC_SHRED_START), idle && any);
    ::EnableWindow(Item(IDC_WIPE_START), idle && !drives_.empty());
    ::EnableWindow(Item(IDC_SHRED_CANCEL), busy_);
  }

  void SetStatus(const std::string& text) { ::SetWindowTextW(Item(IDC_SHRED_STATUS), Widen(text).c_str()); }
  void SetProgress(std::uint64_t done, std::uint64_t total) {
    const auto position = total == 0 ? 0 : static_cast<WPARAM>(std::min(done, total) * kProgressSteps / total);
    ::SendMessageW(Item(IDC_SHRED_PROGRESS), PBM_SETPOS, position, 0);
  }

  int Ask(const std::string& text, const char* caption, UINT style) {
    return ::MessageBoxW(Handle(), Widen(text).c_str(), Widen(caption).c_str(), style);
  }

  void AddFiles() {
    const auto answer = PickFiles(Handle());
    if (!answer) return;
    const SelectedFiles chosen = GetSelectedFiles(*answer, AnswerDirectory(*answer));
    std::vector<std::string> paths;
    for (const std::string& name : chosen.names) paths.push_back(chosen.directory + name);
    AddPaths(paths);
  }

  void Dropped(HDROP drop) {
    std::vector<std::string> paths;
    if (!busy_) {
      const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < count; ++i) {
        std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(Narrow(path));
      }
    }
    ::DragFinish(drop);
    if (!paths.empty()) AddPaths(paths);
  }

  // Adds each path; what cannot be added is named in one message.
  void AddPaths(const std::vector<std::string>& paths) {
    std::vector<std::string> refusals;
    for (const std::string& path : paths) {
      const AddOutcome outcome = list_.Add(path);
      if (outcome != AddOutcome::kAdded && outcome != AddOutcome::kAlreadyListed)
        refusals.push_back(AddRefusalText(outcome, path));
    }
    ShowPlan();
    if (refusals.empty()) return;
    std::string text = refusals.size() == 1 ? "This was not added:" : "These were not added:";
    for (std::size_t i = 0; i < refusals.size() && i < kRefusalsShown; ++i) text += "\r\n\r\n" + refusals[i];
    if (refusals.size() > kRefusalsShown)
      text += "\r\n\r\n... and " + std::to_string(refusals.size() - kRefusalsShown) + " more.";
    Ask(text, texts::kNotAddedCaption, MB_OK | MB_ICONEXCLAMATION);
  }

  void RemoveSelected() {
    if (showingResults_) return;
    HWND list = Item(IDC_SHRED_LIST);
    std::vector<int> rows;
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED))
      rows.push_back(row);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) list_.Remove(static_cast<std::size_t>(*it));
    ShowPlan();
  }

  void FillDrives() {
    HWND combo = Item(IDC_WIPE_DRIVE);
    drives_ = volumes_.LocalDrives();
    for (const std::string& root : drives_) {
      std::string text = root;
      if (const auto space = volumes_.Space(root))
        text += "  (" + SizeText(static_cast<double>(space->freeBytes)) + " free)";
      ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    }
    ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
  }

  void Begin() {
    busy_ = true;
    cancel_ = false;
    EnableControls();
    SetProgress(0, 1);
    ::SetFocus(Item(IDC_SHRED_CANCEL));
  }
  void Finish() {
    busy_ = false;
    EnableControls();
    ::SetFocus(Item(IDCANCEL));
  }
  void RequestCancel() {
    cancel_ = true;
    SetStatus("Cancelling...");
  }

  void StartShredding() {
    if (list_.Targets().empty()) return;
    std::uint64_t files = 0;
    for (const ShredTarget& target : list_.Targets())
      files += target.kind == ShredTargetKind::kFolder ? target.files : 1;
    const std::string question = "Shred " + std::to_string(files) + (files == 1 ? " file (" : " files (") +
                                 SizeText(static_cast<double>(list_.TotalBytes())) +
                                 ")?\r\n\r\nThey are overwritten and deleted, and cannot be brought back.";
    if (Ask(question, texts::kShredQuestionCaption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) return;

    const std::vector<ShredTarget> targets = list_.Targets();
    showingResults_ = true;
    ListView_DeleteAllItems(Item(IDC_SHRED_LIST));
    SetThirdColumn(L"Result");
    Begin();
    const ShredSummary summary = Shred(platform_.files, guard_, targets, Passes(), *this);
    list_.Clear();
    Finish();
    SetProgress(1, 1);
    SetStatus(ShredSummaryText(summary));
  }

  void StartWiping() {
    const auto index = ::SendMessageW(Item(IDC_WIPE_DRIVE), CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= drives_.size()) return;
    const std::string root = drives_[static_cast<std::size_t>(index)];
    const auto space = volumes_.Space(root);
    const std::string free = space ? SizeText(static_cast<double>(space->freeBytes)) : "unknown";
    const std::string question = "Fill the free space of " + root + " (" + free +
                                 ") with random bytes, then delete the fill?\r\n\r\nThis can take long; the drive is "
                                 "full meanwhile. Files on the drive are not touched.";
    if (Ask(question, texts::kWipeQuestionCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;

    wipeRoot_ = root;
    Begin();
    const std::uint64_t margin = WipeMargin(root, platform_.shell.GetWindowsDirectory(),
                                            platform_.shell.GetEnvironmentVariable("TEMP").value_or(""));
    FreeSpaceWiper wiper(platform_.files, volumes_, [] { return static_cast<double>(::GetTickCount64()) / 1000.0; });
    const WipeResult result = wiper.Wipe(root, margin, *this);
    Finish();
    SetProgress(1, 1);
    SetStatus(result.text);
    Ask(result.text, texts::kWipeQuestionCaption,
        MB_OK | (result.outcome == WipeOutcome::kFailed ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
  }

  // ShredObserver and WipeObserver.
  void RowDone(const ShredRow& row) override {
    AddRow(row.path, "", row.text);
    SetStatus(row.path);
  }
  void Progress(std::uint64_t done, std::uint64_t total) override { SetProgress(done, total); }
  void Progress(const WipeProgress& p) override {
    switch (p.phase) {
      case WipePhase::kFilling: {
        SetProgress(p.written, p.toWrite);
        std::string text = "Filling the free space of " + wipeRoot_ + ": " + SizeText(static_cast<double>(p.written)) +
                           " of " + SizeText(static_cast<double>(p.toWrite));
        if (p.secondsLeft) text += ". " + TimeLeftText(*p.secondsLeft);
        SetStatus(cancel_ ? "Cancelling..." : text);
        break;
      }
      case WipePhase::kSmallFiles:
        SetStatus("Overwriting the free slots of the file table: " + std::to_string(p.smallFiles) + " small files");
        break;
      case WipePhase::kRemoving:
        SetStatus("Deleting the fill...");
        break;
    }
  }
  bool CancelRequested() override {
    Pump();
    return cancel_;
  }

  // Lets the window answer (paint, "Cancel", moves) while the work goes on.
  void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
        cancel_ = true;
        return;
      }
      if (message.message == WM_DROPFILES) {
        Dropped(reinterpret_cast<HDROP>(message.wParam));  // refused while busy
        continue;
      }
      if (!::IsDialogMessageW(Handle(), &message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
    }
  }

  win32::Win32Platform& platform_;
  Volumes& volumes_;
  PathGuard guard_;
  ShredList list_;
  std::vector<std::string> startPaths_;
  std::vector<std::string> drives_;
  std::string wipeRoot_;
  bool busy_ = false;
  bool cancel_ = false;
  bool showingResults_ = false;
};

}  // namespace

void RunShredderWindow(HINSTANCE instance, win32::Win32Platform& platform, Volumes& volumes,
                       const std::vector<std::string>& paths) {
  ShredderWindow window(platform, volumes, paths);
  window.Run(instance, nullptr, Widen(texts::kShredderCaption));
}

}  // namespace cv::ui
