#include "platform/win32/win.h"
#include <commctrl.h>
#include <shellapi.h>
#include "app/main_window_win.h"

#include "app/about_box_win.h"
#include "app/analysis_texts.h"
#include "app/clean_question_win.h"
#include "app/main_texts.h"
#include "app/session_end_win.h"
#include "config/inifun.h"
#include "config/options_dialog_win.h"
#include "config/selection_tabs_win.h"
#include "finder/finder_window_win.h"
#include "platform/win32/text_win.h"
#include "resources/resource.h"
#include "resources/window_res.h"
#include "ui/controls_win.h"
#include "ui/link_label_win.h"
#include "ui/window_names.h"

namespace cv::ui {

namespace {

constexpr UINT kActivatedMessage = WM_APP + 2;     // Form_Activate, handled after activation settles
constexpr UINT kPopupClickedMessage = WM_APP + 3;  // a pop-up's Clicked, handled outside the pop-up
constexpr UINT kLayoutMessage = WM_APP + 5;        // texts changed: lay out once, after the changes
constexpr UINT_PTR kShowPopupTimer = 1;            // tmrShowPopup
constexpr UINT_PTR kScheduleTimer = 2;             // Timer1
constexpr UINT kScheduleInterval = 30000;
constexpr ULONGLONG kPumpEveryMs = 10;

// Client size at 96 DPI: the results list holds its two columns (7832 and
// 6068 twips) side by side.
constexpr int kClientWidth = 1184;
constexpr int kClientHeight = 680;
constexpr int kNavigationWidth = 170;
// The analysis columns of the results list, at 96 DPI.
constexpr int kFilesColumnWidth = 70;
constexpr int kSizeColumnWidth = 90;
constexpr int kAnalysisStatusWidth = 110;

std::wstring JoinLines(const auto& lines) {
  std::wstring text;
  for (std::string_view line : lines) {
    if (!text.empty()) text += L"\r\n";
    text += win32::Widen(line);
  }
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[32] = {};
  ::GetClassNameW(window, name, 32);
  return name;
}

// The system's own words for an error code, without the closing line break.
std::string SystemErrorText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text ? text : L"", length);
  if (text) ::LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  if (message.empty()) message = L"error " + std::to_wstring(error);
  return win32::Narrow(message);
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
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hIcon = icon_;
  windowClass.hIconSm = smallIcon_;
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
  RegisterWindowClass(instance_, kMainWindowClass, windowClass);
  WNDCLASSEXW panelClass{};
  panelClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  RegisterWindowClass(instance_, kPanelClass, panelClass);

  accelerators_ = ::LoadAcceleratorsW(instance_, MAKEINTRESOURCEW(IDR_ACCELERATORS));
  taskbarCreated_ = TrayIcon::TaskbarCreatedMessage();

  dpi_ = WindowDpi(nullptr);
  window_ = CreateWindowFor(WS_EX_CONTROLPARENT, kMainWindowClass, win32::Widen(texts::kCaption).c_str(),
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                            Scale(kClientWidth, dpi_), Scale(kClientHeight, dpi_), nullptr, nullptr, instance_);
  if (!window_) return false;
  dpi_ = WindowDpi(window_);
  CreateControls();
  ApplyFonts();
  Layout();
  PlaceOnScreen();
  ::SetTimer(window_, kShowPopupTimer, NotificationSystem::kFeedInterval, nullptr);
  ::SetTimer(window_, kScheduleTimer, kScheduleInterval, nullptr);
  controller_.Load(startArgument);
  browserCloser_ = WindowBrowserCloser(instance_, window_);
  controller_.SetBrowserCloser(&browserCloser_);
  bossKey_.Start(window_, controller_.State().bossKeyWanted, platform_, controller_.SelectionFile());
  if (!controller_.CanRestartElevated())
    ::EnableMenuItem(::GetMenu(window_), IDM_FILE_RESTART_ADMIN, MF_BYCOMMAND | MF_GRAYED);
  return true;
}

void MainWindow::ShowFirstTime() {
  // A start for the tray goes there directly: showing the window first would
  // flash it on the desktop at every log-on.
  if (controller_.StartsInTray()) {
    ::PostMessageW(window_, kActivatedMessage, 0, 0);
    return;
  }
  ::ShowWindow(window_, openMaximized_ ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  ::UpdateWindow(window_);
  ::SetForegroundWindow(window_);
  // Being shown the first time is the first activation, also when another
  // program keeps the foreground and no WM_ACTIVATE comes.
  ::PostMessageW(window_, kActivatedMessage, 0, 0);
}

bool MainWindow::TranslateAccelerators(MSG& message) {
  if (!window_) return false;
  const bool ours = message.hwnd == window_ || ::IsChild(window_, message.hwnd);
  // Esc in the window stops a run; outside a run it does nothing.
  if (ours && message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
    ::PostMessageW(window_, WM_COMMAND, MAKEWPARAM(IDM_ESCAPE_CANCEL, 1), 0);
    return true;
  }
  if (accelerators_ && ::TranslateAcceleratorW(window_, accelerators_, &message)) return true;
  // Tab and Shift+Tab move between the window's controls.
  return ours && ::IsDialogMessageW(window_, &message);
}

void MainWindow::RestoreFocus() {
  // The control that had it, while it can take it; else the navigation bar.
  HWND target = lastFocus_;
  if (!target || !::IsWindow(target) || !::IsChild(window_, target) || !::IsWindowVisible(target) ||
      !::IsWindowEnabled(target))
    target = navigation_.CurrentEntry();
  ::SetFocus(target);
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
  auto panel = [&](std::wstring_view caption, int id) {
    return CreateWindowFor(WS_EX_CONTROLPARENT, kPanelClass, std::wstring(caption).c_str(),
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_);
  };
  welcomePanel_ = panel(L"", IDC_FRAME2);
  create(welcomePanel_, L"STATIC", text(texts::kProductName), SS_LEFT | SS_NOPREFIX, IDC_WELCOME_PRODUCT);
  create(welcomePanel_, L"STATIC", text(texts::kWelcomeLine), SS_LEFT | SS_NOPREFIX, IDC_WELCOME_LINE);
  create(welcomePanel_, L"STATIC", text(texts::kCleanHeading), SS_LEFT | SS_NOPREFIX, IDC_WELCOME_HEADING1);
  create(welcomePanel_, L"STATIC", JoinLines(texts::kCleanList), SS_LEFT | SS_NOPREFIX, IDC_WELCOME_LIST1);
  create(welcomePanel_, L"STATIC", text(texts::kAlsoHeading), SS_LEFT | SS_NOPREFIX, IDC_WELCOME_HEADING2);
  create(welcomePanel_, L"STATIC", JoinLines(texts::kAlsoList), SS_LEFT | SS_NOPREFIX, IDC_WELCOME_LIST2);
  HWND helpPicture = create(welcomePanel_, L"STATIC", L"", SS_ICON | SS_NOTIFY, IDC_PICTURE2);
  ::SendMessageW(helpPicture, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_QUESTION)), 0);
  // The Help caption and the website are links the keyboard reaches with Tab.
  CreateLinkLabel(welcomePanel_, instance_, IDC_HELP_LABEL, text(texts::kHelpLabel));
  CreateLinkLabel(welcomePanel_, instance_, IDC_LABEL51,
                  text(std::string(texts::kVisitUs) + std::string(texts::kWebsite)));

  // Frame4, the status panel, captioned "Status".
  statusPanel_ = panel(text(texts::kStatusFrame), IDC_FRAME4);
  // Two lines, wrapped: an analysis' summary is longer than a run's status.
  create(statusPanel_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, IDC_SKINLABEL5);
  HWND progress = create(statusPanel_, PROGRESS_CLASSW, L"", PBS_SMOOTH, IDC_PROGRESS);
  ::SendMessageW(progress, PBM_SETRANGE32, 0, 100);
  HWND list = create(statusPanel_, WC_LISTVIEWW, L"",
                     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP, IDC_LISTVIEW1,
                     WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
  const std::wstring itemColumn = text(texts::kItemColumn), statusColumn = text(texts::kStatusColumn);
  InsertListColumn(list, 0, itemColumn, ::MulDiv(7832, static_cast<int>(dpi_), 1440));
  InsertListColumn(list, 1, statusColumn, ::MulDiv(6068, static_cast<int>(dpi_), 1440));
  analysisPane_.Create(statusPanel_, instance_);
  create(statusPanel_, L"BUTTON", text(texts::kAnalyze), BS_PUSHBUTTON | WS_TABSTOP, IDC_ANALYZE);
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

// Every label is as large as its text measured in its font at the window's
// DPI; the panels share what the window leaves, and the least size that
// keeps every control whole is noted for WM_GETMINMAXINFO.
void MainWindow::Layout() {
  RECT client;
  ::GetClientRect(window_, &client);
  const auto s = [&](int pixels) { return Scale(pixels, dpi_); };
  const int width = client.right, height = client.bottom;
  const int navigationWidth = std::max(s(kNavigationWidth), navigation_.PreferredWidth(dpi_, fonts_.Bold()));
  navigation_.Layout(RECT{0, 0, navigationWidth, height}, dpi_, fonts_.Bold());

  // The figures of the last run, at the bottom.
  const int left = navigationWidth + s(16);
  const int panelWidth = std::max(0, width - left - s(16));
  const SIZE lastAt = MeasureText(Control(IDC_SKINLABEL10), nullptr, 0);
  const SIZE lastClean = MeasureText(Control(IDC_LABEL12), nullptr, 0);
  const SIZE statistics = MeasureText(Control(IDC_LABEL14), nullptr, 0);
  const int line = std::max({lastAt.cy, lastClean.cy, statistics.cy});
  const int statisticsTop = height - s(10) - line;
  const int lastTop = statisticsTop - s(4) - line;
  Place(Control(IDC_SKINLABEL10), left, lastTop, lastAt.cx, line);
  Place(Control(IDC_LABEL12), left + lastAt.cx + s(8), lastTop, panelWidth - lastAt.cx - s(8), line);
  Place(Control(IDC_LABEL14), left, statisticsTop, panelWidth, line);

  const int panelTop = s(12);
  const int panelHeight = std::max(0, lastTop - s(10) - panelTop);
  Place(welcomePanel_, left, panelTop, panelWidth, panelHeight);
  Place(statusPanel_, left, panelTop, panelWidth, panelHeight);
  LayoutWelcome(panelWidth, panelHeight);
  const int statusNeeds = LayoutStatus(panelWidth, panelHeight);

  // The least size: as narrow as the widest row allows, but the narrower the
  // window the more lines the welcome texts wrap into; where the height they
  // then need is more than the work area has, the least width grows.
  const int figuresWidth = std::max(lastAt.cx + s(8) + lastClean.cx, statistics.cx);
  int panelNeeds = std::max({s(440), figuresWidth, static_cast<int>(minimumClient_.cx)});
  RECT frame{};
  ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CONTROLPARENT);
  const Box work = WorkArea();
  const int roomHeight = work.Height() - (frame.bottom - frame.top);
  const int roomWidth = work.Width() - (frame.right - frame.left) - left - s(16);
  const auto leastHeight = [&](int width) {
    return std::max(NavigationBar::MinimumHeight(dpi_),
                    panelTop + std::max(LayoutWelcome(width, 0, false), statusNeeds) + s(10) + 2 * line + s(14));
  };
  int least = leastHeight(panelNeeds);
  while (least > roomHeight && panelNeeds + s(40) <= roomWidth) least = leastHeight(panelNeeds += s(40));
  minimumClient_.cx = left + panelNeeds + s(16);
  minimumClient_.cy = least;
  ::InvalidateRect(window_, nullptr, TRUE);
}

int MainWindow::LayoutWelcome(int width, int height, bool place) {
  const auto s = [&](int pixels) { return Scale(pixels, dpi_); };
  const int x = s(24), wrap = std::max(s(40), width - 2 * x);
  int y = s(10);
  // Labels one below the other, each as high as its wrapped text.
  const auto flow = [&](int id, int indent, int gapBefore) {
    HWND control = Control(id);
    const SIZE size = MeasureText(control, nullptr, wrap - indent);
    y += gapBefore;
    if (place) Place(control, x + indent, y, wrap - indent, size.cy);
    y += size.cy;
  };
  flow(IDC_WELCOME_PRODUCT, 0, 0);
  flow(IDC_WELCOME_LINE, s(2), s(2));
  flow(IDC_WELCOME_HEADING1, s(2), s(12));
  flow(IDC_WELCOME_LIST1, s(16), s(4));
  flow(IDC_WELCOME_HEADING2, s(2), s(12));
  flow(IDC_WELCOME_LIST2, s(16), s(4));

  // The help picture and label, and the site's address on the right.
  const SIZE help = MeasureText(Control(IDC_HELP_LABEL), nullptr, 0);
  const SIZE link = MeasureText(Control(IDC_LABEL51), nullptr, 0);
  const int icon = ::GetSystemMetrics(SM_CYICON);
  const int rowTop = std::max(y + s(12), height - s(12) - icon);
  if (place) {
    Place(Control(IDC_PICTURE2), x, rowTop, icon, icon);
    Place(Control(IDC_HELP_LABEL), x + icon + s(8), rowTop + (icon - help.cy) / 2, help.cx, help.cy);
    Place(Control(IDC_LABEL51), width - x - link.cx, rowTop + (icon - link.cy) / 2, link.cx, link.cy);
  }
  minimumClient_.cx = 2 * x + icon + s(8) + help.cx + s(24) + link.cx;
  return y + s(12) + icon + s(12);
}

int MainWindow::LayoutStatus(int width, int height) {
  const auto s = [&](int pixels) { return Scale(pixels, dpi_); };
  const int x = s(16), inner = std::max(0, width - 2 * x);
  int y = s(28);
  const int line = MeasureText(Control(IDC_DETAILS_FILTER_LABEL), nullptr, 0).cy;
  Place(Control(IDC_SKINLABEL5), x, y, inner, 2 * line);
  y += 2 * line + s(6);
  Place(Control(IDC_PROGRESS), x, y, inner, s(18));
  y += s(18) + s(10);

  // The buttons, right-aligned, each as wide as its caption needs.
  const int buttonHeight = line + s(14);
  const int buttonsTop = height - s(12) - buttonHeight;
  int right = width - x, buttonsWidth = 0;
  for (int id : {IDC_COMMAND2, IDC_COMMAND1, IDC_ANALYZE}) {
    HWND button = Control(id);
    const int buttonWidth = std::max(s(90), static_cast<int>(MeasureText(button, nullptr, 0).cx) + s(28));
    Place(button, right - buttonWidth, buttonsTop, buttonWidth, buttonHeight);
    right -= buttonWidth + s(10);
    buttonsWidth += buttonWidth + s(10);
  }
  minimumClient_.cx = std::max(static_cast<int>(minimumClient_.cx), 2 * x + buttonsWidth);

  const int listBottom = buttonsTop - s(10);
  if (!analysisPane_.Shown()) {
    Place(Control(IDC_LISTVIEW1), x, y, inner, listBottom - y);
    ScaleResultColumns();
    return y + s(100) + s(10) + buttonHeight + s(12);
  }
  // With an analysis the results take the upper part and its details the rest.
  const int listHeight = std::max(s(72), (listBottom - y) * 2 / 5);
  Place(Control(IDC_LISTVIEW1), x, y, inner, listHeight);
  ScaleResultColumns();
  const int filterLabel = MeasureText(Control(IDC_DETAILS_FILTER_LABEL), nullptr, 0).cx;
  analysisPane_.Layout(RECT{x, y + listHeight + s(8), x + inner, listBottom}, dpi_, line, filterLabel);
  return y + s(72) + s(8) + line + s(14) + s(72) + s(10) + buttonHeight + s(12);
}

void MainWindow::PlaceOnScreen() {
  Inifun ini(platform_.files);
  const auto stored = ParsePlacement(ini.ReadIniValue(controller_.SelectionFile(), kOptionsSection, kPlacementKey));
  if (stored) {
    const RECT wanted{stored->box.left, stored->box.top, stored->box.right, stored->box.bottom};
    // Move onto the stored monitor first, so the work area and DPI are its own.
    ::SetWindowPos(window_, nullptr, wanted.left, wanted.top, stored->box.Width(), stored->box.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT frame{0, 0, Scale(kClientWidth, dpi_), Scale(kClientHeight, dpi_)};
  ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CONTROLPARENT);
  RECT least{0, 0, minimumClient_.cx, minimumClient_.cy};
  ::AdjustWindowRectEx(&least, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CONTROLPARENT);
  const Box box = OpeningBox(stored, WorkArea(), frame.right - frame.left, frame.bottom - frame.top,
                             least.right - least.left, least.bottom - least.top);
  ::SetWindowPos(window_, nullptr, box.left, box.top, box.Width(), box.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  openMaximized_ = stored && stored->maximized;
  savedPlacement_ = stored ? PlacementText(*stored) : std::string();
}

Box MainWindow::WorkArea() const {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &info)) {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return Box{work.left, work.top, work.right, work.bottom};
  }
  return Box{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

// The placement goes to the selection file's options when the user changed
// it: after a move or resize ends, and when the window is maximised or restored.
void MainWindow::SavePlacement() {
  // Only a place the user chose is stored: opening alone writes nothing.
  if (!userPlaced_ || !window_ || !::IsWindowVisible(window_) || ::IsIconic(window_)) return;
  Placement placement;
  placement.maximized = ::IsZoomed(window_) != FALSE;
  RECT rect{};
  if (placement.maximized) {
    WINDOWPLACEMENT stored{};
    stored.length = sizeof stored;
    ::GetWindowPlacement(window_, &stored);
    rect = stored.rcNormalPosition;
  } else {
    ::GetWindowRect(window_, &rect);
  }
  placement.box = Box{rect.left, rect.top, rect.right, rect.bottom};
  const std::string text = PlacementText(placement);
  if (text == savedPlacement_ || !ParsePlacement(text)) return;
  Inifun ini(platform_.files);
  ini.WriteIniValue(controller_.SelectionFile(), kOptionsSection, kPlacementKey, text);
  savedPlacement_ = text;
}

void MainWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom == IDC_LISTVIEW1 && analysisPane_.Shown()) {
    if (header.code == LVN_ITEMCHANGED) {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED))
        analysisPane_.SelectRow(change.iItem);
    } else if (header.code == NM_DBLCLK || header.code == NM_RETURN) {
      const int row = ListView_GetNextItem(header.hwndFrom, -1, LVNI_SELECTED);
      if (row >= 0) {
        analysisPane_.SelectRow(row);
        analysisPane_.Focus();
      }
    }
  }
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
  currentRow_ = InsertListRow(list, ListView_GetItemCount(list), win32::Widen(item));
  SetRowStatus(status);
  ListView_EnsureVisible(list, currentRow_, FALSE);
}

void MainWindow::SetRowStatus(std::string_view status) {
  if (currentRow_ < 0) return;
  SetListCell(Control(IDC_LISTVIEW1), currentRow_, 1, win32::Widen(status));
}

void MainWindow::SetProgress(int value) { ::SendMessageW(Control(IDC_PROGRESS), PBM_SETPOS, value, 0); }

void MainWindow::SetStatusLabel(std::string_view text) {
  ::SetWindowTextW(Control(IDC_SKINLABEL5), win32::Widen(text).c_str());
}

void MainWindow::SetStartEnabled(bool enabled) {
  ::EnableWindow(Control(IDC_COMMAND1), enabled);
  ::EnableWindow(Control(IDC_ANALYZE), enabled);
}

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
  RequestLayout();
}

void MainWindow::SetStatistics(std::string_view text) {
  ::SetWindowTextW(Control(IDC_LABEL14), win32::Widen(text).c_str());
  RequestLayout();
}

void MainWindow::RequestLayout() {
  if (layoutPending_) return;
  layoutPending_ = true;
  ::PostMessageW(window_, kLayoutMessage, 0, 0);
}

void MainWindow::ScaleResultColumns() {
  HWND list = Control(IDC_LISTVIEW1);
  HWND header = ListView_GetHeader(list);
  const int columns = header ? Header_GetItemCount(header) : 2;
  int widths[] = {::MulDiv(7832, static_cast<int>(dpi_), 1440), ::MulDiv(6068, static_cast<int>(dpi_), 1440),
                  Scale(kFilesColumnWidth, dpi_), Scale(kSizeColumnWidth, dpi_)};
  RECT client{};
  ::GetClientRect(list, &client);
  const int room = client.right - ::GetSystemMetrics(SM_CXVSCROLL);
  if (columns > 2) {
    // With the analysis columns the status takes less room, so that all
    // four fit the list's width.
    widths[1] = Scale(kAnalysisStatusWidth, dpi_);
    widths[0] = std::max<int>(Scale(160, dpi_), room - widths[1] - widths[2] - widths[3]);
  } else if (room > 0 && widths[0] + widths[1] > room) {
    // A list narrower than the two columns shares its width between them.
    widths[0] = ::MulDiv(widths[0], room, widths[0] + widths[1]);
    widths[1] = room - widths[0];
  }
  for (int column = 0; column < columns && column < 4; ++column) ListView_SetColumnWidth(list, column, widths[column]);
}

void MainWindow::SetAnalysisColumns(bool shown) {
  HWND list = Control(IDC_LISTVIEW1);
  HWND header = ListView_GetHeader(list);
  const int columns = header ? Header_GetItemCount(header) : 2;
  if (shown && columns == 2) {
    int index = 2;
    for (auto [title, width] :
         {std::pair{texts::kFilesColumn, kFilesColumnWidth}, std::pair{texts::kSizeColumn, kSizeColumnWidth}}) {
      InsertListColumn(list, index, win32::Widen(title), Scale(width, dpi_), LVCFMT_RIGHT);
      ++index;
    }
  } else if (!shown) {
    for (int column = columns - 1; column >= 2; --column) ListView_DeleteColumn(list, column);
  }
  ScaleResultColumns();
}

void MainWindow::SetRowFigures(int row, std::string_view files, std::string_view size) {
  HWND list = Control(IDC_LISTVIEW1);
  SetListCell(list, row, 2, win32::Widen(files));
  SetListCell(list, row, 3, win32::Widen(size));
}

void MainWindow::ShowAnalysis(const AnalysisStore* analysis) {
  analysisPane_.Show(analysis);
  Layout();
  if (analysis) {
    HWND list = Control(IDC_LISTVIEW1);
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
}

void MainWindow::HideWindow() { ::ShowWindow(window_, SW_HIDE); }

void MainWindow::RestoreWindow() {
  ::ShowWindow(window_, SW_RESTORE);
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::SetForegroundWindow(window_);
}

void MainWindow::ShowWindow() { ::ShowWindow(window_, SW_SHOW); }

void MainWindow::ShowTrayMenu() { ui::ShowTrayMenu(window_, instance_, controller_.Running()); }

void MainWindow::ShowAbout() {
  ShowAboutBox(instance_, window_, [this] { controller_.ViewLicense(); });
  // "Exit" closes the box and shows the main window.
  ShowWindow();
}

CleanAnswer MainWindow::AskBeforeCleaning(std::string_view question) {
  return ui::AskBeforeCleaning(instance_, window_, question);
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

ElevatedStart MainWindow::StartElevatedCopy(std::string_view arguments) {
  // The copy registers the boss key's hot keys while it loads: they must be
  // free by then. Its window opens where this one is now.
  const bool bossKeyOn = bossKey_.IsOn();
  bossKey_.Release();
  SavePlacement();
  std::wstring program(32768, L'\0');
  program.resize(::GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size())));
  const std::wstring parameters = win32::Widen(arguments);
  const std::wstring folder = win32::Widen(platform_.shell.ProgramFolder());
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  execute.hwnd = window_;
  execute.lpVerb = L"runas";
  execute.lpFile = program.c_str();
  execute.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  execute.lpDirectory = folder.c_str();
  execute.nShow = SW_SHOWNORMAL;
  if (::ShellExecuteExW(&execute)) return {ElevatedStart::Outcome::Started, {}};
  const DWORD error = ::GetLastError();
  if (bossKeyOn) bossKey_.Start(window_, true, platform_, controller_.SelectionFile());
  if (error == ERROR_CANCELLED) return {ElevatedStart::Outcome::Refused, {}};
  return {ElevatedStart::Outcome::Failed, SystemErrorText(error)};
}

void MainWindow::AddTrayIcon() { tray_.Add(window_, smallIcon_ ? smallIcon_ : icon_); }

void MainWindow::RemoveTrayIcon() { tray_.Remove(); }

void MainWindow::EndProgram() {
  SavePlacement();
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

LRESULT MainWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The main window is created first; every later window of this object is a panel.
  if (message == WM_NCCREATE && !window_) window_ = window;
  if (window != window_) return PanelMessage(window, message, wParam, lParam);
  return HandleMessage(message, wParam, lParam);
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
      if (id == IDC_DETAILS_FILTER && code == EN_CHANGE) {
        analysisPane_.FilterChanged();
        return 0;
      }
      // Controls tell of clicks as BN_CLICKED or STN_CLICKED (0); a label's
      // STN_DBLCLK (1) follows a click already acted on. Menus send 0 and
      // accelerators 1, without a control.
      if (lParam != 0 ? code != 0 : code > 1) return 0;
      if (const auto command = CommandForId(id)) controller_.Execute(*command);
      return 0;
    }
    case CV_WM_TRAYCALLBACK:
      if (wParam == CV_TRAY_ICON_ID) controller_.TrayEvent(static_cast<unsigned>(LOWORD(lParam)));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        // Where the keyboard was, so that it comes back there (after a dialog, too).
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(window_, focus)) lastFocus_ = focus;
        return 0;
      }
      ::PostMessageW(window_, kActivatedMessage, 0, 0);
      if (!::IsIconic(window_)) RestoreFocus();
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case kActivatedMessage:
      controller_.Activated();
      return 0;
    case kLayoutMessage:
      layoutPending_ = false;
      Layout();
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
      if (wParam == AnalysisPane::kFilterTimer) analysisPane_.ApplyFilter();
      return 0;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      return HandleSessionEnd(window_, message, wParam, controller_);
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (const auto answer = analysisPane_.Notify(header)) return *answer;
      OnNotify(header);
      break;
    }
    case WM_EXITSIZEMOVE:
      userPlaced_ = true;
      SavePlacement();
      break;
    case DM_GETDEFID: {
      // Enter clicks the focused button; elsewhere (the filter box, the
      // lists) it does nothing, so it never starts a clean by accident.
      HWND focus = ::GetFocus();
      if (focus && ::IsChild(window_, focus) && ::lstrcmpiW(ClassName(focus).c_str(), L"Button") == 0)
        return MAKELRESULT(::GetDlgCtrlID(focus), DC_HASDEFID);
      return 0;
    }
    case WM_CLOSE:
      SavePlacement();
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
      if (wParam == SIZE_MAXIMIZED || (wParam == SIZE_RESTORED && wasMaximized_)) userPlaced_ = true;
      if (wParam != SIZE_MINIMIZED) wasMaximized_ = wParam == SIZE_MAXIMIZED;
      SavePlacement();
      return 0;
    case WM_GETMINMAXINFO: {
      // As small as the controls allow, but never more than the work area.
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      RECT least{0, 0, minimumClient_.cx, minimumClient_.cy};
      ::AdjustWindowRectEx(&least, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CONTROLPARENT);
      const Box work = WorkArea();
      info->ptMinTrackSize = POINT{std::min<int>(least.right - least.left, work.Width()),
                                   std::min<int>(least.bottom - least.top, work.Height())};
      return 0;
    }
    case 0x02E0: {  // WM_DPICHANGED
      dpi_ = HIWORD(wParam);
      ApplyFonts();
      ScaleResultColumns();
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();
      return 0;
    }
    case WM_DESTROY:
      SavePlacement();
      tray_.Remove();
      ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT MainWindow::PanelMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ::SendMessageW(window_, message, wParam, lParam);
    case WM_ERASEBKGND: {
      RECT client;
      ::GetClientRect(window, &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, panelBrush_.get());
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      const std::wstring caption = WindowText(window);
      if (!caption.empty()) {
        // A frame with its caption on the top line.
        RECT client;
        ::GetClientRect(window, &client);
        const UINT dpi = dpi_;
        RECT line{client.left, client.top + Scale(8, dpi), client.right, client.bottom};
        SolidBrush frame(kFrameLine);
        ::FrameRect(dc, &line, frame.get());
        HGDIOBJ old = ::SelectObject(dc, fonts_.Bold());
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
