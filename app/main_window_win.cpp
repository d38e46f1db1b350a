#include "platform/win32/win.h"
#include <commctrl.h>
#include "app/main_window_win.h"


#include "app/about_box_win.h"
#include "app/main_texts.h"
#include "app/session_end_win.h"
#include "app/window_names.h"
#include "config/options_dialog_win.h"
#include "config/selection_dialog_win.h"
#include "finder/finder_window_win.h"
#include "platform/win32/text_win.h"
#include "resources/resource.h"

namespace cv::ui {

namespace {

constexpr UINT kActivatedMessage = WM_APP + 2;     // Form_Activate, handled after activation settles
constexpr UINT kPopupClickedMessage = WM_APP + 3;  // a pop-up's Clicked, handled outside the pop-up
constexpr UINT_PTR kShowPopupTimer = 1;            // tmrShowPopup
constexpr UINT_PTR kScheduleTimer = 2;             // Timer1
constexpr UINT kScheduleInterval = 30000;
constexpr ULONGLONG kPumpEveryMs = 10;

// Client size at 96 DPI: the results list holds its two columns (7832 and
// 6068 twips) side by side.
constexpr int kClientWidth = 1184;
constexpr int kClientHeight = 680;
constexpr int kNavigationWidth = 170;

std::wstring JoinLines(const auto& lines) {
  std::wstring text;
  for (std::string_view line : lines) {
    if (!text.empty()) text += L"\r\n";
    text += win32::Widen(line);
  }
  return text;
}

void Place(HWND control, int x, int y, int width, int height) {
  ::MoveWindow(control, x, y, std::max(0, width), std::max(0, height), TRUE);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Platform platform)
    : instance_(instance),
      platform_(platform),
      popups_(instance, PopupEvents{[this](const std::string& key) {
                                      clickedKeys_.push_back(key);
                                      ::PostMessageW(window_, kPopupClickedMessage, 0, 0);
                                    },
                                    [this] { notifications_.Finished(); }}),
      notifications_(popups_),
      controller_(platform_, *this, notifications_),
      bossKey_(platform_.messages) {}

MainWindow::~MainWindow() {
  if (window_) ::DestroyWindow(window_);
  if (icon_) ::DestroyIcon(icon_);
  if (smallIcon_) ::DestroyIcon(smallIcon_);
}

bool MainWindow::Create(std::string_view startArgument, Splash* splash) {
  splash_ = splash;
  icon_ = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_CLEARVANE), IMAGE_ICON,
                                          ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_CLEARVANE), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Proc;
  windowClass.hInstance = instance_;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hIcon = icon_;
  windowClass.hIconSm = smallIcon_;
  windowClass.lpszClassName = kMainWindowClass;
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
  ::RegisterClassExW(&windowClass);
  WNDCLASSEXW panelClass{};
  panelClass.cbSize = sizeof panelClass;
  panelClass.lpfnWndProc = PanelProc;
  panelClass.hInstance = instance_;
  panelClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  panelClass.lpszClassName = kPanelClass;
  ::RegisterClassExW(&panelClass);

  accelerators_ = ::LoadAcceleratorsW(instance_, MAKEINTRESOURCEW(IDR_ACCELERATORS));
  taskbarCreated_ = TrayIcon::TaskbarCreatedMessage();

  dpi_ = WindowDpi(nullptr);
  RECT frame{0, 0, Scale(kClientWidth, dpi_), Scale(kClientHeight, dpi_)};
  ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0);
  // Never larger than the work area of a small screen.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int frameWidth = std::min<int>(frame.right - frame.left, work.right - work.left);
  const int frameHeight = std::min<int>(frame.bottom - frame.top, work.bottom - work.top);
  window_ = ::CreateWindowExW(0, kMainWindowClass, win32::Widen(texts::kCaption).c_str(),
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, frameWidth,
                              frameHeight, nullptr, nullptr, instance_, this);
  if (!window_) return false;
  dpi_ = WindowDpi(window_);
  CreateControls();
  ApplyFonts();
  Layout();
  ::SetTimer(window_, kShowPopupTimer, NotificationSystem::kFeedInterval, nullptr);
  ::SetTimer(window_, kScheduleTimer, kScheduleInterval, nullptr);
  controller_.Load(startArgument);
  bossKey_.Start(window_, controller_.State().bossKeyWanted, platform_, controller_.SelectionFile());
  return true;
}

void MainWindow::ShowFirstTime() {
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::UpdateWindow(window_);
  ::SetForegroundWindow(window_);
  // Being shown the first time is the first activation, also when another
  // program keeps the foreground and no WM_ACTIVATE comes: a start with "min"
  // must hide the window whatever the desktop does. Later calls do nothing.
  ::PostMessageW(window_, kActivatedMessage, 0, 0);
}

bool MainWindow::TranslateAccelerators(MSG& message) {
  return accelerators_ && ::TranslateAcceleratorW(window_, accelerators_, &message);
}

HWND MainWindow::Control(int id) const {
  for (HWND parent : {window_, welcomePanel_, statusPanel_})
    if (HWND control = parent ? ::GetDlgItem(parent, id) : nullptr) return control;
  return nullptr;
}

void MainWindow::CreateControls() {
  auto create = [&](HWND parent, const wchar_t* cls, std::wstring_view text, DWORD style, int id, DWORD exStyle = 0) {
    return ::CreateWindowExW(exStyle, cls, std::wstring(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  };
  auto text = [](std::string_view utf8) { return win32::Widen(utf8); };

  navigation_.Create(window_, instance_);

  // Frame2, the welcome panel.
  welcomePanel_ = create(window_, kPanelClass, L"", WS_CLIPCHILDREN, IDC_FRAME2);
  ::SetWindowLongPtrW(welcomePanel_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  create(welcomePanel_, L"STATIC", text(texts::kProductName), SS_LEFT | SS_NOPREFIX, IDC_WELCOME_PRODUCT);
  create(welcomePanel_, L"STATIC", text(texts::kWelcomeLine), SS_LEFT | SS_NOPREFIX, IDC_WELCOME_LINE);
  create(welcomePanel_, L"STATIC", text(texts::kCleanHeading), SS_LEFT | SS_NOPREFIX, IDC_WELCOME_HEADING1);
  create(welcomePanel_, L"STATIC", JoinLines(texts::kCleanList), SS_LEFT | SS_NOPREFIX, IDC_WELCOME_LIST1);
  create(welcomePanel_, L"STATIC", text(texts::kAlsoHeading), SS_LEFT | SS_NOPREFIX, IDC_WELCOME_HEADING2);
  create(welcomePanel_, L"STATIC", JoinLines(texts::kAlsoList), SS_LEFT | SS_NOPREFIX, IDC_WELCOME_LIST2);
  HWND helpPicture = create(welcomePanel_, L"STATIC", L"", SS_ICON | SS_NOTIFY, IDC_PICTURE2);
  ::SendMessageW(helpPicture, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_QUESTION)), 0);
  create(welcomePanel_, L"STATIC", text(texts::kHelpLabel), SS_LEFT | SS_NOPREFIX, IDC_HELP_LABEL);
  create(welcomePanel_, L"STATIC", text(std::string(texts::kVisitUs) + std::string(texts::kWebsite)),
         SS_RIGHT | SS_NOPREFIX | SS_NOTIFY, IDC_LABEL51);

  // Frame4, the status panel, captioned "Status".
  statusPanel_ = create(window_, kPanelClass, text(texts::kStatusFrame), WS_CLIPCHILDREN, IDC_FRAME4);
  ::SetWindowLongPtrW(statusPanel_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  create(statusPanel_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, IDC_SKINLABEL5);
  HWND progress = create(statusPanel_, PROGRESS_CLASSW, L"", PBS_SMOOTH, IDC_PROGRESS);
  ::SendMessageW(progress, PBM_SETRANGE32, 0, 100);
  HWND list = create(statusPanel_, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                     IDC_LISTVIEW1, WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
  const std::wstring itemColumn = text(texts::kItemColumn), statusColumn = text(texts::kStatusColumn);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(itemColumn.c_str());
  column.cx = ::MulDiv(7832, static_cast<int>(dpi_), 1440);
  ListView_InsertColumn(list, 0, &column);
  column.pszText = const_cast<wchar_t*>(statusColumn.c_str());
  column.cx = ::MulDiv(6068, static_cast<int>(dpi_), 1440);
  ListView_InsertColumn(list, 1, &column);
  create(statusPanel_, L"BUTTON", text(texts::kStartCleaning), BS_DEFPUSHBUTTON | WS_TABSTOP, IDC_COMMAND1);
  create(statusPanel_, L"BUTTON", text(texts::kCancel), BS_PUSHBUTTON | WS_TABSTOP, IDC_COMMAND2);

  // The figures of the last run, below the panels.
  create(window_, L"STATIC", text(texts::kLastCleanedAt), SS_LEFT | SS_NOPREFIX, IDC_SKINLABEL10);
  create(window_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, IDC_LABEL12);
  create(window_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, IDC_LABEL14);
}

void MainWindow::ApplyFonts() {
  fonts_.Create(dpi_);
  ApplyFont(window_, fonts_.Body());
  for (int id : {IDC_WELCOME_HEADING1, IDC_WELCOME_HEADING2})
    ::SendMessageW(Control(id), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Heading()), TRUE);
  ::SendMessageW(Control(IDC_WELCOME_PRODUCT), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Title()), TRUE);
  for (int id : {IDC_SKINLABEL10, IDC_COMMAND1})
    ::SendMessageW(Control(id), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Bold()), TRUE);
}

void MainWindow::Layout() {
  RECT client;
  ::GetClientRect(window_, &client);
  const auto s = [&](int pixels) { return Scale(pixels, dpi_); };
  const int width = client.right, height = client.bottom;
  navigation_.Layout(RECT{0, 0, s(kNavigationWidth), height}, dpi_, fonts_.Bold());

  const int left = s(kNavigationWidth) + s(16);
  const int panelWidth = width - left - s(16);
  const int panelHeight = height - s(12) - s(72);
  Place(welcomePanel_, left, s(12), panelWidth, panelHeight);
  Place(statusPanel_, left, s(12), panelWidth, panelHeight);
  Place(Control(IDC_SKINLABEL10), left, height - s(60), s(110), s(20));
  Place(Control(IDC_LABEL12), left + s(112), height - s(60), panelWidth - s(112), s(20));
  Place(Control(IDC_LABEL14), left, height - s(34), panelWidth, s(20));

  // Inside Frame2.
  const int pw = panelWidth, ph = panelHeight;
  Place(Control(IDC_WELCOME_PRODUCT), s(24), s(14), pw - s(48), s(46));
  Place(Control(IDC_WELCOME_LINE), s(26), s(62), pw - s(48), s(22));
  Place(Control(IDC_WELCOME_HEADING1), s(26), s(100), pw - s(48), s(24));
  Place(Control(IDC_WELCOME_LIST1), s(40), s(128), pw - s(64), s(8 * 19));
  Place(Control(IDC_WELCOME_HEADING2), s(26), s(292), pw - s(48), s(24));
  Place(Control(IDC_WELCOME_LIST2), s(40), s(320), pw - s(64), s(4 * 19));
  Place(Control(IDC_PICTURE2), s(26), ph - s(48), s(32), s(32));
  Place(Control(IDC_HELP_LABEL), s(64), ph - s(42), s(80), s(22));
  Place(Control(IDC_LABEL51), pw - s(24) - s(460), ph - s(40), s(460), s(20));

  // Inside Frame4.
  Place(Control(IDC_SKINLABEL5), s(16), s(32), pw - s(32), s(20));
  Place(Control(IDC_PROGRESS), s(16), s(58), pw - s(32), s(18));
  Place(Control(IDC_LISTVIEW1), s(16), s(86), pw - s(32), ph - s(86) - s(56));
  Place(Control(IDC_COMMAND2), pw - s(16) - s(100), ph - s(44), s(100), s(30));
  Place(Control(IDC_COMMAND1), pw - s(16) - s(100) - s(10) - s(160), ph - s(44), s(160), s(30));
  ::InvalidateRect(window_, nullptr, TRUE);
}

LRESULT MainWindow::ColorStatic(HDC dc, HWND control) {
  const int id = ::GetDlgCtrlID(control);
  COLORREF color = kBodyText;
  if (id == IDC_WELCOME_PRODUCT || id == IDC_WELCOME_HEADING1 || id == IDC_WELCOME_HEADING2 || id == IDC_SKINLABEL10)
    color = kHeadingText;
  else if (id == IDC_LABEL51)
    color = kLinkText;
  ::SetTextColor(dc, color);
  ::SetBkColor(dc, kPanelBackground);
  return reinterpret_cast<LRESULT>(panelBrush_.get());
}

// MainView ------------------------------------------------------------------

void MainWindow::ShowPanel(Panel panel) {
  ::ShowWindow(welcomePanel_, panel == Panel::Welcome ? SW_SHOW : SW_HIDE);
  ::ShowWindow(statusPanel_, panel == Panel::Status ? SW_SHOW : SW_HIDE);
}

void MainWindow::ClearRows() {
  HWND list = Control(IDC_LISTVIEW1);
  ListView_DeleteAllItems(list);
  currentRow_ = -1;
  ::UpdateWindow(list);
}

void MainWindow::AddRow(std::string_view item, std::string_view status) {
  HWND list = Control(IDC_LISTVIEW1);
  std::wstring itemText = win32::Widen(item);
  LVITEMW row{};
  row.mask = LVIF_TEXT;
  row.iItem = ListView_GetItemCount(list);
  row.pszText = itemText.data();
  currentRow_ = ListView_InsertItem(list, &row);
  SetRowStatus(status);
  ListView_EnsureVisible(list, currentRow_, FALSE);
}

void MainWindow::SetRowStatus(std::string_view status) {
  if (currentRow_ < 0) return;
  std::wstring text = win32::Widen(status);
  ListView_SetItemText(Control(IDC_LISTVIEW1), currentRow_, 1, text.data());
}

void MainWindow::SetProgress(int value) { ::SendMessageW(Control(IDC_PROGRESS), PBM_SETPOS, value, 0); }

void MainWindow::SetStatusLabel(std::string_view text) {
  ::SetWindowTextW(Control(IDC_SKINLABEL5), win32::Widen(text).c_str());
}

void MainWindow::SetStartEnabled(bool enabled) { ::EnableWindow(Control(IDC_COMMAND1), enabled); }

void MainWindow::SetBusy(bool busy) {
  busy_ = busy;
  ::SetCursor(::LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void MainWindow::PumpMessages() {
  // The run calls this for every file it touches; looking at the queue every
  // few milliseconds keeps the window live without slowing the run.
  const ULONGLONG now = ::GetTickCount64();
  if (now - lastPump_ < kPumpEveryMs) return;
  lastPump_ = now;
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (TranslateAccelerators(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void MainWindow::SetLastCleaned(std::string_view text) {
  ::SetWindowTextW(Control(IDC_LABEL12), win32::Widen(text).c_str());
}

void MainWindow::SetStatistics(std::string_view text) {
  ::SetWindowTextW(Control(IDC_LABEL14), win32::Widen(text).c_str());
}

void MainWindow::HideWindow() { ::ShowWindow(window_, SW_HIDE); }

void MainWindow::RestoreWindow() {
  ::ShowWindow(window_, SW_RESTORE);
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::SetForegroundWindow(window_);
}

void MainWindow::ShowWindow() { ::ShowWindow(window_, SW_SHOW); }

void MainWindow::ShowTrayMenu() { ui::ShowTrayMenu(window_, instance_); }

void MainWindow::ShowAbout() {
  ShowAboutBox(instance_, window_, [this] { controller_.ViewLicense(); });
  // "Exit" closes the box and shows the main window.
  ShowWindow();
}

void MainWindow::OpenDialog(DialogKind dialog) {
  if (dialog == DialogKind::CleaningSettings) {
    ShowSelectionDialog(instance_, window_, platform_);
    return;
  }
  if (dialog == DialogKind::SearchAndErase) {
    finder::ShowFinderWindow(instance_, window_, platform_, [this](HWND owner) {
      ShowAboutBox(instance_, owner, [this] { controller_.ViewLicense(); });
    });
    return;
  }
  if (dialog == DialogKind::CleanOptions) {
    if (const auto applied = ShowOptionsDialog(instance_, window_, platform_, controller_.SelectionFile())) {
      bossKey_.Apply(*applied);
      controller_.SetSchedule(applied->scheduleDays, applied->scheduleTime);
    }
    return;
  }
  platform_.messages.Show(texts::kNotAvailable, texts::kApplicationTitle, kMbOk | kMbIconInformation);
}

void MainWindow::AddTrayIcon() { tray_.Add(window_, smallIcon_ ? smallIcon_ : icon_); }

void MainWindow::RemoveTrayIcon() { tray_.Remove(); }

void MainWindow::EndProgram() {
  if (splash_) splash_->Close();
  bossKey_.Release();
  ::KillTimer(window_, kShowPopupTimer);
  ::KillTimer(window_, kScheduleTimer);
  // Inside a run (the exit came through its message pump) there is no way
  // back to the loop: end here, as the program's "End" does.
  if (controller_.Running()) ::ExitProcess(0);
  ::DestroyWindow(window_);
}

// Messages ------------------------------------------------------------------

LRESULT CALLBACK MainWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == taskbarCreated_ && taskbarCreated_) {
    tray_.Readd();
    return 0;
  }
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      // Labels tell of clicks as STN_CLICKED, buttons as BN_CLICKED (both 0), menus and accelerators as 0 or 1.
      if (code > 1) return 0;
      if (const auto command = CommandForId(id)) controller_.Execute(*command);
      return 0;
    }
    case CV_WM_TRAYCALLBACK:
      if (wParam == CV_TRAY_ICON_ID) controller_.TrayEvent(static_cast<unsigned>(LOWORD(lParam)));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) ::PostMessageW(window_, kActivatedMessage, 0, 0);
      break;
    case kActivatedMessage:
      controller_.Activated();
      return 0;
    case kPopupClickedMessage:
      if (!clickedKeys_.empty()) {
        const std::string key = clickedKeys_.front();
        clickedKeys_.pop_front();
        controller_.NotificationClicked(key);
      }
      return 0;
    case WM_TIMER:
      if (wParam == kShowPopupTimer) notifications_.FeedTick();
      if (wParam == kScheduleTimer) controller_.ScheduleTick();
      return 0;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      return HandleSessionEnd(window_, message, wParam, controller_);
    case WM_CLOSE:
      // Closing only hides the window; the program stays in the tray.
      ::ShowWindow(window_, SW_MINIMIZE);
      ::ShowWindow(window_, SW_HIDE);
      return 0;
    case WM_SETCURSOR:
      if (busy_ && LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC:
      return ColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND: {
      RECT client;
      ::GetClientRect(window_, &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, panelBrush_.get());
      return 1;
    }
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = POINT{Scale(900, dpi_), Scale(620, dpi_)};
      return 0;
    }
    case 0x02E0: {  // WM_DPICHANGED
      dpi_ = HIWORD(wParam);
      ApplyFonts();
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();
      return 0;
    }
    case WM_DESTROY:
      tray_.Remove();
      ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ::SendMessageW(self->window_, message, wParam, lParam);
    case WM_ERASEBKGND: {
      RECT client;
      ::GetClientRect(window, &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, self->panelBrush_.get());
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      wchar_t caption[64] = {};
      ::GetWindowTextW(window, caption, 64);
      if (caption[0]) {
        // A frame with its caption on the top line.
        RECT client;
        ::GetClientRect(window, &client);
        const UINT dpi = self->dpi_;
        RECT line{client.left, client.top + Scale(8, dpi), client.right, client.bottom};
        SolidBrush frame(kFrameLine);
        ::FrameRect(dc, &line, frame.get());
        HGDIOBJ old = ::SelectObject(dc, self->fonts_.Bold());
        ::SetTextColor(dc, kHeadingText);
        ::SetBkColor(dc, kPanelBackground);
        ::SetBkMode(dc, OPAQUE);
        RECT text{Scale(12, dpi), 0, client.right, Scale(18, dpi)};
        ::DrawTextW(dc, (std::wstring(L" ") + caption + L" ").c_str(), -1, &text, DT_LEFT | DT_SINGLELINE);
        ::SelectObject(dc, old);
      }
      ::EndPaint(window, &paint);
      return 0;
    }
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace cv::ui
