#include "finder/finder_window_win.h"

// After win.h (through the header): the shell and control headers need the Windows types.
#include <commctrl.h>
#include <shlobj.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

#include "finder/extension_dialog_win.h"
#include "finder/file_deletion.h"
#include "finder/file_search.h"
#include "finder/finder_actions.h"
#include "finder/finder_texts.h"
#include "platform/registry_settings_store.h"
#include "platform/win32/com_apartment.h"
#include "platform/win32/recycle_bin_win.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/text_win.h"
#include "resources/finder_res.h"
#include "ui/controls_win.h"
#include "ui/modal_dialog_win.h"

namespace cv::finder {

namespace {

constexpr UINT kJobDoneMessage = WM_APP + 40;
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 50;  // rows and the status text reach the window this often

// What the worker thread does: optionally delete files, then search.
struct JobRequest {
  std::vector<std::string> toDelete;
  bool deleting = false;
  bool recycle = true;
  std::string deletionRoot;
  std::string folder;
  std::string searchString;
};

// The state the worker thread shares with the window.
class Job {
 public:
  // Rows reach the shared store under the lock, one at a time.
  class LockedSink : public FoundFileSink {
   public:
    explicit LockedSink(Job& job) : job_(job) {}
    void EnterFolder(std::string_view folder) override {
      std::lock_guard lock(job_.mutex);
      job_.rows.EnterFolder(folder);
    }
    void Found(std::string_view name, std::uint64_t size, std::int64_t modified, bool bare) override {
      std::lock_guard lock(job_.mutex);
      job_.rows.Found(name, size, modified, bare);
    }

   private:
    Job& job_;
  };

  std::mutex mutex;
  FoundFiles rows;            // guarded
  std::string currentFolder;  // guarded
  std::atomic<bool> stop{false};
  std::atomic<bool> includeSubFolders{true};
  // Written by the worker before it posts kJobDoneMessage.
  SearchOutcome outcome;
  DeletionOutcome deletion;
};

class FinderWindow : public ui::ModalDialog {
 public:
  FinderWindow(HINSTANCE instance, Platform platform, const std::function<void(HWND)>& showAbout)
      : instance_(instance),
        platform_(platform),
        store_(platform.registry),
        settings_(store_),
        extensions_(platform.files, platform.shell.ProgramFolder()),
        showAbout_(showAbout) {}
  ~FinderWindow() { EndJob(); }

 private:
  void OnInit() override {
    dialog_ = Handle();
    messages_.SetOwnerWindow(dialog_);  // message boxes stay above this window and keep it modal
    Open();
    KeepInitialFocus();  // the focus is in the search string already
  }

  void OnCommand(int id, int code, HWND) override { Command(id, code); }
  LRESULT OnNotify(NMHDR* header) override { return Notify(header); }

  std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_TIMER:
        if (wParam == kRefreshTimer) Refresh();
        return TRUE;
      case kJobDoneMessage:
        JobDone();
        return TRUE;
      case WM_SETCURSOR:
        if (worker_.joinable() && LOWORD(lParam) == HTCLIENT) {
          ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
          ::SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
          return TRUE;
        }
        return std::nullopt;
      case WM_CLOSE:
        Exit();
        return TRUE;
      default:
        return std::nullopt;
    }
  }

  HWND Item(int id) const { return ::GetDlgItem(dialog_, id); }
  HWND List() const { return Item(IDC_FINDER_LIST); }
  bool Checked(int id) const { return ui::IsChecked(dialog_, id); }
  void Check(int id, bool ticked) { ui::SetChecked(dialog_, id, ticked); }
  void SetText(int id, std::string_view text) { ::SetDlgItemTextW(dialog_, id, win32::Widen(text).c_str()); }
  std::string Text(int id) const { return win32::Narrow(ui::WindowText(Item(id))); }

  // Opening -----------------------------------------------------------------

  void Open() {
    startFolder_ = AddBackslash(platform_.shell.ProgramFolder());
    settings_.StoreOpening(startFolder_);
    Check(IDX_FINDER_RECYCLE, true);
    Check(IDX_FINDER_SUBFOLDERS, true);
    FillDrives();
    folder_ = startFolder_;
    ShowFolder();
    SetText(IDC_FINDER_FIND, texts::kFindFiles);
    SetText(IDC_FINDER_ACTION, texts::kExit);
    SetText(IDC_FINDER_TEXT1, extensions_.ReadExtensions());

    HWND list = List();
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    ui::InsertListColumn(list, 0, L"", 700);  // the list's starting horizontal extent
    ::SendDlgItemMessageW(dialog_, IDC_FINDER_TEXT1, EM_SETSEL, 0, -1);
    ::SetFocus(Item(IDC_FINDER_TEXT1));
  }

  void FillDrives() {
    HWND combo = Item(IDC_FINDER_DRIVE);
    wchar_t drives[512] = {};
    const DWORD length = ::GetLogicalDriveStringsW(static_cast<DWORD>(std::size(drives) - 1), drives);
    if (length == 0 || length >= std::size(drives)) return;
    for (const wchar_t* drive = drives; *drive; drive += wcslen(drive) + 1) {
      std::wstring name(drive);
      if (!name.empty() && name.back() == L'\\') name.pop_back();
      ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
  }

  // Shows folder_ in the folder box and its drive in the drive list.
  void ShowFolder() {
    SetText(IDC_FINDER_FOLDER, folder_);
    HWND combo = Item(IDC_FINDER_DRIVE);
    const std::wstring drive = win32::Widen(folder_.substr(0, 2));
    const auto index =
        ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(drive.c_str()));
    ::SendMessageW(combo, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index), 0);
  }

  // Commands ----------------------------------------------------------------

  INT_PTR Command(int id, int code) {
    switch (id) {
      case IDC_FINDER_FIND:
      case IDOK:
        FindFromWindow();
        return TRUE;
      case IDC_FINDER_ACTION:
      case IDCANCEL:
        // After Stop the button reads "E&xit" again, even before the worker has ended.
        if (searching_ && !stopped_)
          Stop();
        else
          Exit();
        return TRUE;
      case IDM_FINDER_EXIT:
        Exit();
        return TRUE;
      case IDC_FINDER_DRIVE:
        if (code == CBN_SELCHANGE) DriveChosen();
        return TRUE;
      case IDC_FINDER_BROWSE:
        Browse();
        return TRUE;
      case IDX_FINDER_RECYCLE:
        if (code == BN_CLICKED) settings_.StoreRecycle(Checked(IDX_FINDER_RECYCLE));
        return TRUE;
      case IDX_FINDER_SUBFOLDERS:
        if (code == BN_CLICKED) {
          job_.includeSubFolders = Checked(IDX_FINDER_SUBFOLDERS);
          settings_.StoreSubFolders(Checked(IDX_FINDER_SUBFOLDERS));
        }
        return TRUE;
      case IDC_FINDER_DELETE:
        DeleteSelected();
        return TRUE;
      case IDC_FINDER_SELECT_ALL:
        SelectAll(true);
        return TRUE;
      case IDC_FINDER_SELECT_NONE:
        SelectAll(false);
        return TRUE;
      case IDC_FINDER_OPTIONS:
      case IDM_FINDER_OPTIONS:
        ShowExtensionDialog(instance_, dialog_, extensions_, settings_,
                            [this](const std::string& searchString) { SetText(IDC_FINDER_TEXT1, searchString); });
        return TRUE;
      case IDM_FINDER_RESET_ALL:
        if (ResetAll(settings_, extensions_, messages_, startFolder_)) {
          Check(IDX_FINDER_RECYCLE, true);
          Check(IDX_FINDER_SUBFOLDERS, true);
          job_.includeSubFolders = true;
          ::RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
        return TRUE;
      case IDM_FINDER_ABOUT:
        if (showAbout_) showAbout_(dialog_);
        return TRUE;
      default:
        return FALSE;
    }
  }

  // "&Find Files" and Enter: a folder typed into the folder box counts as a
  // folder change.
  void FindFromWindow() {
    std::string typed = Text(IDC_FINDER_FOLDER);
    if (typed.empty()) typed = folder_;
    if (AddBackslash(typed) != AddBackslash(folder_)) {
      ChangeFolder(typed);
      return;
    }
    StartJob(JobRequest{});
  }

  void DriveChosen() {
    HWND combo = Item(IDC_FINDER_DRIVE);
    const auto index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    std::wstring drive(static_cast<size_t>(::SendMessageW(combo, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
    drive.resize(
        static_cast<size_t>(::SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(drive.data()))));
    ChangeFolder(win32::Narrow(drive) + "\\");
  }

  void Browse() {
    BROWSEINFOW info{};
    info.hwndOwner = dialog_;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
    if (!chosen) return;
    wchar_t path[MAX_PATH] = {};
    const bool named = ::SHGetPathFromIDListW(chosen, path);
    ::CoTaskMemFree(chosen);
    if (named) ChangeFolder(win32::Narrow(path));
  }

  // Every change of the folder searches there. A folder that cannot be
  // opened (a drive that is not ready, a folder that went) is reported and
  // the window stays at its folder.
  void ChangeFolder(const std::string& typed) {
    const bool fullPath = (typed.size() >= 3 && typed[1] == ':' && typed[2] == '\\') || typed.starts_with("\\\\");
    std::string folder = AddBackslash(typed);
    std::string listed = folder.size() > 3 ? folder.substr(0, folder.size() - 1) : folder;
    const auto entry = platform_.files.Stat(listed);
    const bool isRoot = folder.size() == 3 && folder[1] == ':';
    const bool opens = fullPath && ((entry && entry->IsFolder()) ||
                                    (isRoot && platform_.files.ListFolder(listed, [](const FileEntry&) {})));
    if (!opens) {
      messages_.Show(std::string(texts::kFolderMissing) + "\r\n" + typed, texts::kFinderCaption,
                     kMbOk | kMbIconExclamation);
      ShowFolder();
      return;
    }
    folder_ = folder;
    ShowFolder();
    settings_.StoreFolder(folder_);
    StartJob(JobRequest{});
  }

  void Stop() {
    job_.stop = true;
    stopped_ = true;
    SetText(IDC_FINDER_ACTION, texts::kExit);
  }

  void Exit() {
    EndJob();
    End(IDOK);
  }

  void SelectAll(bool selected) { ListView_SetItemState(List(), -1, selected ? LVIS_SELECTED : 0, LVIS_SELECTED); }

  void DeleteSelected() {
    if (!ConfirmDeletion(settings_, messages_)) return;
    EndJob();
    JobRequest request;
    request.deleting = true;
    request.recycle = Checked(IDX_FINDER_RECYCLE);
    request.deletionRoot = searchedFolder_;
    {
      std::lock_guard lock(job_.mutex);
      HWND list = List();
      for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
           row >= 0 && static_cast<size_t>(row) < job_.rows.Count();
           row = ListView_GetNextItem(list, row, LVNI_SELECTED))
        request.toDelete.push_back(job_.rows.Path(static_cast<size_t>(row)));
    }
    // Afterwards the window searches its folder again, without sub-folders.
    Check(IDX_FINDER_SUBFOLDERS, false);
    settings_.StoreSubFolders(false);
    StartJob(std::move(request));
  }

  // The worker --------------------------------------------------------------

  void StartJob(JobRequest request) {
    EndJob();
    request.folder = folder_;
    request.searchString = Text(IDC_FINDER_TEXT1);
    searchedFolder_ = folder_;
    job_.stop = false;
    job_.includeSubFolders = Checked(IDX_FINDER_SUBFOLDERS);
    {
      std::lock_guard lock(job_.mutex);
      job_.rows.Clear();
      job_.currentFolder.clear();
    }
    ListView_SetItemCountEx(List(), 0, 0);
    SetText(IDC_FINDER_STATUS, folder_);
    shownFolder_ = folder_;
    stopped_ = false;
    searching_ = true;
    shownRows_ = 0;
    SetText(IDC_FINDER_ACTION, texts::kStop);
    ::SetTimer(dialog_, kRefreshTimer, kRefreshMs, nullptr);
    worker_ = std::thread([this, request = std::move(request)] { Work(request); });
  }

  void Work(const JobRequest& request) {
    if (request.deleting) {
      win32::ComApartment com;  // for the shell's file operations
      win32::Win32RecycleBin bin;
      job_.deletion = DeleteFoundFiles(platform_.files, request.recycle ? &bin : nullptr, request.deletionRoot,
                                       request.toDelete, &job_.stop);
    } else {
      job_.deletion = {};
    }
    Job::LockedSink sink(job_);
    SearchControl control;
    control.includeSubFolders = [this] { return job_.includeSubFolders.load(); };
    control.stop = &job_.stop;
    control.folderStarted = [this](const std::string& folder) {
      std::lock_guard lock(job_.mutex);
      job_.currentFolder = folder;
    };
    job_.outcome = FindFiles(platform_.files, request.folder, request.searchString, sink, control);
    ::PostMessageW(dialog_, kJobDoneMessage, 0, 0);
  }

  // Stops a running job and waits for its thread.
  void EndJob() {
    if (!worker_.joinable()) return;
    job_.stop = true;
    worker_.join();
    ::KillTimer(dialog_, kRefreshTimer);
    searching_ = false;
    MSG pending;
    while (::PeekMessageW(&pending, dialog_, kJobDoneMessage, kJobDoneMessage, PM_REMOVE)) {
    }
  }

  void Refresh() {
    size_t rows = 0;
    std::string folder;
    {
      std::lock_guard lock(job_.mutex);
      rows = job_.rows.Count();
      folder = job_.currentFolder;
      widestPath_ = job_.rows.WidestPath();
    }
    if (rows != shownRows_) {
      ListView_SetItemCountEx(List(), static_cast<int>(rows), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
      shownRows_ = rows;
    }
    if (!folder.empty() && folder != shownFolder_) {
      SetText(IDC_FINDER_STATUS, folder);
      shownFolder_ = folder;
    }
  }

  void JobDone() {
    if (!worker_.joinable()) return;
    worker_.join();
    ::KillTimer(dialog_, kRefreshTimer);
    searching_ = false;
    Refresh();
    shownFolder_.clear();
    FitColumn();
    if (job_.outcome.completed) {
      SetText(IDC_FINDER_STATUS, SummaryText(job_.outcome, platform_.clock.DecimalSeparator()));
      SelectAll(true);
      SetText(IDC_FINDER_ACTION, texts::kExit);
    } else if (job_.outcome.counts.empty()) {
      SetText(IDC_FINDER_STATUS, "");  // empty search string: nothing searched
      SetText(IDC_FINDER_ACTION, texts::kExit);
    }
    const std::string kept = KeptFilesLine(job_.deletion);
    job_.deletion = {};
    if (!kept.empty()) messages_.Show(kept, texts::kFinderCaption, kMbOk | kMbIconExclamation);
  }

  // The list's horizontal extent follows the widest line.
  void FitColumn() {
    HWND list = List();
    HDC dc = ::GetDC(list);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
    // The path, then the size and date columns of the line (about 60 characters).
    const int width = static_cast<int>(widestPath_ + 60) * std::max<int>(metrics.tmAveCharWidth, 1);
    ListView_SetColumnWidth(list, 0, std::max(width, 700));
  }

  INT_PTR Notify(NMHDR* header) {
    if (header->idFrom != IDC_FINDER_LIST || header->code != LVN_GETDISPINFOW) return FALSE;
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
    if (!(info->item.mask & LVIF_TEXT) || info->item.cchTextMax <= 0) return TRUE;
    std::string line;
    {
      std::lock_guard lock(job_.mutex);
      const auto row = static_cast<size_t>(info->item.iItem);
      if (row < job_.rows.Count()) line = job_.rows.Line(row, [this](std::int64_t time) { return FormatDate(time); });
    }
    const std::wstring wide = win32::Widen(line);
    const size_t count = std::min(wide.size(), static_cast<size_t>(info->item.cchTextMax - 1));
    wide.copy(info->item.pszText, count);
    info->item.pszText[count] = L'\0';
    return TRUE;
  }

  std::string FormatDate(std::int64_t fileTime) {
    FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(static_cast<std::uint64_t>(fileTime) >> 32)};
    FILETIME local{};
    SYSTEMTIME time{};
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &time)) return {};
    return platform_.clock.FormatGeneralDate(
        LocalTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, time.wDayOfWeek});
  }

  HINSTANCE instance_;
  Platform platform_;
  RegistrySettingsStore store_;
  SweepdiskSettings settings_;
  ExtentionHandller extensions_;
  const std::function<void(HWND)>& showAbout_;
  win32::Win32MessageBoxes messages_;
  HWND dialog_ = nullptr;
  std::string startFolder_;
  std::string folder_;          // the folder list's path, ending with "\"
  std::string searchedFolder_;  // where the listed rows come from
  Job job_;
  std::thread worker_;
  bool searching_ = false;
  bool stopped_ = false;
  size_t shownRows_ = 0;
  size_t widestPath_ = 0;
  std::string shownFolder_;
};

}  // namespace

void ShowFinderWindow(HINSTANCE instance, HWND owner, Platform platform, const std::function<void(HWND)>& showAbout) {
  FinderWindow window(instance, platform, showAbout);
  window.Run(instance, owner, IDD_FINDER);
}

}  // namespace cv::finder
