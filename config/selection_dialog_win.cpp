#include "config/selection_dialog_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>

#include "config/file_pickers_win.h"
#include "config/selection_pages.h"
#include "keep/keep_windows_win.h"
#include "platform/win32/text_win.h"
#include "platform/win32/win.h"
#include "resources/selection_res.h"
#include "ui/controls_win.h"

namespace cv::ui {

namespace {

using win32::Narrow;
using win32::Widen;

constexpr wchar_t kPageClass[] = L"ClearvaneSettingsPage";
constexpr std::string_view kApplicationTitle = "Clearvane";

// Page windows hand their controls' messages to the dialog, which gives
// them to the page contents.
LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_NOTIFY)
    return ::SendMessageW(::GetAncestor(window, GA_ROOT), message, wParam, lParam);
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void RegisterPageClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = PageProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kPageClass;
  ::RegisterClassExW(&windowClass);  // fails harmlessly when already registered
}

std::string ModifiedText(Clock& clock, std::int64_t fileTime) {
  const auto bits = static_cast<std::uint64_t>(fileTime);
  const FILETIME utc{static_cast<DWORD>(bits), static_cast<DWORD>(bits >> 32)};
  FILETIME local{};
  SYSTEMTIME calendar{};
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &calendar)) return {};
  return clock.FormatGeneralDate(LocalTime{calendar.wYear, calendar.wMonth, calendar.wDay, calendar.wHour,
                                           calendar.wMinute, calendar.wSecond, calendar.wDayOfWeek});
}

void AddColumns(HWND list, const std::vector<std::wstring>& captions) {
  for (std::size_t i = 0; i < captions.size(); ++i) {
    InsertListColumn(list, static_cast<int>(i), captions[i]);
  }
}

// Column widths as shares of the list's width (the last takes the rest).
void SizeColumns(HWND list, int width, const std::vector<int>& percents) {
  int used = 0;
  for (std::size_t i = 0; i < percents.size(); ++i) {
    const int columnWidth = i + 1 == percents.size() ? width - used : width * percents[i] / 100;
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, i, std::max(columnWidth, 20));
    used += columnWidth;
  }
}

void AddRow(HWND list, int row, const std::vector<std::string>& texts) {
  for (std::size_t column = 0; column < texts.size(); ++column) {
    if (column == 0)
      InsertListRow(list, row, Widen(texts[column]));
    else
      SetListCell(list, row, static_cast<int>(column), Widen(texts[column]));
  }
}

std::optional<std::size_t> SelectedRow(HWND list) {
  const std::optional<int> row = SelectedListRow(list);
  if (!row) return std::nullopt;
  return static_cast<std::size_t>(*row);
}

// A page built from its layout: frames of boxes flowed left to right, or a
// list that fills the page (the custom items, the plug-ins).
class LayoutPage : public PageContent {
 public:
  LayoutPage(SelectionDialog& dialog, SelectionPage page) : dialog_(dialog), layout_(PageLayout(page)) {}

  void Create(HWND page) override {
    for (const PageFrame& frame : layout_) {
      FrameView view;
      view.frame = frame.frame;
      if (frame.frame) {
        const auto number = static_cast<int>(*frame.frame);
        view.box = dialog_.AddControl(L"BUTTON", Widen(FrameInfo(*frame.frame).caption), BS_GROUPBOX,
                                      IDC_FRAME_FIRST + number, page);
      }
      for (const PageControl& control : frame.controls) {
        view.items.push_back(items_.size());
        items_.push_back({control.kind, control.switchIndex, frame.frame, CreateControl(control, frame, page)});
      }
      frames_.push_back(std::move(view));
    }
  }

  SIZE MinimumSize() override {
    if (list_) return {dialog_.DluX(400), dialog_.DluY(180)};
    return FlowFrames();
  }

  void Place(SIZE area) override {
    if (list_) PlaceList(area);
  }

  void Refresh() override {
    SelectionDialogModel& model = dialog_.Model();
    for (const Item& item : items_) {
      if (item.kind == PageControlKind::kSwitchBox) {
        SetChecked(item.window, model.Ticked(item.switchIndex));
        ::EnableWindow(item.window, model.Enabled(item.switchIndex));
      } else if (item.kind == PageControlKind::kSelectAll) {
        ::EnableWindow(item.window, model.SelectAllEnabled(*item.frame));
      }
    }
    if (list_ && custom_) FillCustomItems();
    if (list_ && !custom_) FillPlugins();
  }

  bool OnCommand(int id, int code) override {
    const Item* item = Find(id);
    if (!item) return false;
    SelectionDialogModel& model = dialog_.Model();
    const bool clicked = code == BN_CLICKED || code == BN_DOUBLECLICKED;
    switch (item->kind) {
      case PageControlKind::kSwitchBox:
        if (clicked) model.SetTicked(item->switchIndex, IsChecked(item->window));
        if (code == BN_KILLFOCUS) ConfirmLeaving(*item);
        break;
      case PageControlKind::kSelectAll:
        if (clicked) {
          model.SelectAll(*item->frame, IsChecked(item->window));
          Refresh();
        }
        break;
      case PageControlKind::kUrlOptions:
        if (clicked) ShowUrlKeepList(dialog_.Instance(), dialog_.Handle(), dialog_.Services());
        break;
      case PageControlKind::kCookieOptions:
        if (clicked) ShowCookieKeepList(dialog_.Instance(), dialog_.Handle(), dialog_.Services());
        break;
      case PageControlKind::kCustomAdd:
        if (clicked) AddMenu(item->window);
        break;
      case PageControlKind::kCustomRemove:
        if (clicked) {
          model.RemoveCustomItem(SelectedRow(list_));
          FillCustomItems();
        }
        break;
      case PageControlKind::kCustomClear:
        if (clicked) {
          model.ClearCustomItems();
          FillCustomItems();
        }
        break;
      case PageControlKind::kCustomList:
      case PageControlKind::kPluginList:
        break;
    }
    return true;
  }

  bool OnNotify(NMHDR* header) override {
    if (!list_ || header->hwndFrom != list_) return false;
    if (!custom_ && header->code == LVN_ITEMCHANGED && !filling_) {
      const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK)) {
        const bool ticked = ((change->uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2;
        dialog_.Model().SetPluginTicked(static_cast<std::size_t>(change->iItem), ticked);
      }
    }
    return true;
  }

 private:
  struct Item {
    PageControlKind kind;
    std::size_t switchIndex;
    std::optional<SelectionFrame> frame;
    HWND window;
  };
  struct FrameView {
    std::optional<SelectionFrame> frame;
    HWND box = nullptr;
    std::vector<std::size_t> items;
  };

  HWND CreateControl(const PageControl& control, const PageFrame& frame, HWND page) {
    const std::wstring caption = Widen(control.caption);
    switch (control.kind) {
      case PageControlKind::kSwitchBox: {
        // The two boxes that ask when the focus leaves them need to hear of it.
        const std::string_view name = ItemSwitches()[control.switchIndex].checkBox;
        const DWORD notify = name == "Check5" || name == "Check7" ? BS_NOTIFY : 0;
        return dialog_.AddControl(L"BUTTON", caption, BS_AUTOCHECKBOX | WS_TABSTOP | notify,
                                  IDC_SWITCH_FIRST + static_cast<int>(control.switchIndex), page);
      }
      case PageControlKind::kSelectAll:
        return dialog_.AddControl(L"BUTTON", caption, BS_AUTOCHECKBOX | WS_TABSTOP,
                                  IDC_SELECTALL_FIRST + static_cast<int>(*frame.frame), page);
      case PageControlKind::kUrlOptions:
        return dialog_.AddControl(L"BUTTON", caption, WS_TABSTOP, IDC_URL_OPTIONS, page);
      case PageControlKind::kCookieOptions:
        return dialog_.AddControl(L"BUTTON", caption, WS_TABSTOP, IDC_COOKIE_OPTIONS, page);
      case PageControlKind::kCustomAdd:
        return dialog_.AddControl(L"BUTTON", caption, WS_TABSTOP, IDC_CUSTOM_ADD, page);
      case PageControlKind::kCustomRemove:
        return dialog_.AddControl(L"BUTTON", caption, WS_TABSTOP, IDC_CUSTOM_REMOVE, page);
      case PageControlKind::kCustomClear:
        return dialog_.AddControl(L"BUTTON", caption, WS_TABSTOP, IDC_CUSTOM_CLEAR, page);
      case PageControlKind::kCustomList:
      case PageControlKind::kPluginList: {
        custom_ = control.kind == PageControlKind::kCustomList;
        list_ = dialog_.AddControl(WC_LISTVIEWW, L"",
                                   WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                                   custom_ ? IDC_CUSTOM_LIST : IDC_PLUGIN_LIST, page);
        const DWORD extended = LVS_EX_FULLROWSELECT | (custom_ ? 0 : LVS_EX_CHECKBOXES);
        ::SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
        if (custom_) {
          AddColumns(list_, {L"Name", L"Type", L"Size", L"Modified"});
        } else {
          AddColumns(list_, {L"Applications Name", L"Version", L"Description"});
        }
        return list_;
      }
    }
    return nullptr;
  }

  const Item* Find(int id) const {
    for (const Item& item : items_)
      if (item.window && ::GetDlgCtrlID(item.window) == id) return &item;
    return nullptr;
  }

  int BoxWidth(HWND box) const {
    return ::GetSystemMetrics(SM_CXMENUCHECK) + dialog_.DluX(8) + dialog_.TextWidth(WindowText(box));
  }
  int ButtonWidth(HWND button) const {
    return std::max(dialog_.DluX(50), dialog_.TextWidth(WindowText(button)) + dialog_.DluX(12));
  }

  // Frames of boxes, each in as many columns as its rows need, placed left
  // to right and wrapped onto a new line of frames when the page is full.
  SIZE FlowFrames() {
    const int margin = dialog_.DluX(6), gap = dialog_.DluX(6), rowHeight = dialog_.DluY(12);
    const int boxHeight = dialog_.DluY(10), buttonHeight = dialog_.DluY(12);
    const int insetX = dialog_.DluX(8), insetTop = dialog_.DluY(13), insetBottom = dialog_.DluY(5);
    const int columnGap = dialog_.DluX(10), maxWidth = dialog_.DluX(470);
    constexpr std::size_t kMaxRows = 15;

    int x = margin, y = margin, lineHeight = 0, pageWidth = 0;
    std::vector<std::pair<HWND, int>> lineFrames;  // frames of the current line, to even their heights
    auto closeLine = [&] {
      for (auto& [box, top] : lineFrames) {
        RECT rect;
        ::GetWindowRect(box, &rect);
        ::SetWindowPos(box, nullptr, 0, 0, rect.right - rect.left, lineHeight, SWP_NOMOVE | SWP_NOZORDER);
      }
      lineFrames.clear();
    };
    for (const FrameView& frame : frames_) {
      // Rows: each box or select-all; an "Options" button sits beside the box before it.
      std::vector<std::vector<HWND>> rows;
      for (std::size_t index : frame.items) {
        const Item& item = items_[index];
        if ((item.kind == PageControlKind::kUrlOptions || item.kind == PageControlKind::kCookieOptions) &&
            !rows.empty()) {
          rows.back().push_back(item.window);
        } else {
          rows.push_back({item.window});
        }
      }
      const std::size_t columns = std::max<std::size_t>(1, (rows.size() + kMaxRows - 1) / kMaxRows);
      const std::size_t perColumn = (rows.size() + columns - 1) / columns;
      // Buttons beside boxes line up after the widest box of their column.
      std::vector<int> boxWidths(columns, 0), columnWidths(columns, 0);
      for (std::size_t r = 0; r < rows.size(); ++r)
        boxWidths[r / perColumn] = std::max(boxWidths[r / perColumn], BoxWidth(rows[r][0]));
      for (std::size_t r = 0; r < rows.size(); ++r) {
        int width = boxWidths[r / perColumn];
        for (std::size_t b = 1; b < rows[r].size(); ++b) width += dialog_.DluX(4) + ButtonWidth(rows[r][b]);
        columnWidths[r / perColumn] = std::max(columnWidths[r / perColumn], width);
      }
      int frameWidth = 2 * insetX + columnGap * static_cast<int>(columns - 1);
      for (int width : columnWidths) frameWidth += width;
      frameWidth = std::max(frameWidth, dialog_.TextWidth(WindowText(frame.box)) + 2 * insetX);
      const int frameHeight = insetTop + static_cast<int>(perColumn) * rowHeight + insetBottom;

      if (x > margin && x + frameWidth > maxWidth) {
        closeLine();
        x = margin;
        y += lineHeight + gap;
        lineHeight = 0;
      }
      ::SetWindowPos(frame.box, nullptr, x, y, frameWidth, frameHeight, SWP_NOZORDER);
      lineFrames.emplace_back(frame.box, y);
      int columnX = x + insetX;
      for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::size_t column = r / perColumn;
        if (r % perColumn == 0 && r != 0) columnX += columnWidths[column - 1] + columnGap;
        const int rowY = y + insetTop + static_cast<int>(r % perColumn) * rowHeight;
        int itemX = columnX;
        const int boxWidth = BoxWidth(rows[r][0]);
        PlaceControl(rows[r][0], itemX, rowY, boxWidth, boxHeight);
        itemX += boxWidths[column] + dialog_.DluX(4);
        for (std::size_t b = 1; b < rows[r].size(); ++b) {
          const int buttonWidth = ButtonWidth(rows[r][b]);
          PlaceControl(rows[r][b], itemX, rowY - (buttonHeight - boxHeight) / 2, buttonWidth, buttonHeight);
          itemX += buttonWidth + dialog_.DluX(4);
        }
      }
      x += frameWidth + gap;
      pageWidth = std::max(pageWidth, x);
      lineHeight = std::max(lineHeight, frameHeight);
    }
    closeLine();
    return {pageWidth - gap + margin, y + lineHeight + margin};
  }

  // The list fills the page; the custom item page frames it with its buttons
  // at the right and its box below.
  void PlaceList(SIZE area) {
    const int margin = dialog_.DluX(6);
    if (!custom_) {
      PlaceControl(list_, margin, margin, area.cx - 2 * margin, area.cy - 2 * margin);
      SizeColumns(list_, area.cx - 2 * margin - ::GetSystemMetrics(SM_CXVSCROLL) - 4, {30, 15, 55});
      return;
    }
    const int insetX = dialog_.DluX(8), insetTop = dialog_.DluY(13), insetBottom = dialog_.DluY(6);
    const int buttonWidth = dialog_.DluX(50), buttonHeight = dialog_.DluY(14), rowHeight = dialog_.DluY(12);
    const FrameView& frame = frames_.front();
    PlaceControl(frame.box, margin, margin, area.cx - 2 * margin, area.cy - 2 * margin);
    const int left = margin + insetX, top = margin + insetTop;
    const int listWidth = area.cx - 2 * margin - 2 * insetX - buttonWidth - dialog_.DluX(6);
    const int listHeight = area.cy - 2 * margin - insetTop - insetBottom - rowHeight - dialog_.DluY(4);
    PlaceControl(list_, left, top, listWidth, listHeight);
    SizeColumns(list_, listWidth - ::GetSystemMetrics(SM_CXVSCROLL) - 4, {50, 12, 14, 24});
    int buttonY = top;
    for (const Item& item : items_) {
      if (item.kind == PageControlKind::kCustomAdd || item.kind == PageControlKind::kCustomRemove ||
          item.kind == PageControlKind::kCustomClear) {
        PlaceControl(item.window, left + listWidth + dialog_.DluX(6), buttonY, buttonWidth, buttonHeight);
        buttonY += buttonHeight + dialog_.DluY(4);
      } else if (item.kind == PageControlKind::kSwitchBox) {
        PlaceControl(item.window, left, top + listHeight + dialog_.DluY(4), BoxWidth(item.window), dialog_.DluY(10));
      }
    }
  }

  void ConfirmLeaving(const Item& item) {
    // Only a move to another control of this dialog counts, not a switch to
    // another program; and not while a question is up.
    if (confirming_ || !::IsChild(dialog_.Handle(), ::GetFocus())) return;
    confirming_ = true;
    dialog_.Model().ConfirmOnLeave(item.switchIndex);
    SetChecked(item.window, dialog_.Model().Ticked(item.switchIndex));
    confirming_ = false;
  }

  void AddMenu(HWND button) {
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, IDM_ADD_FILES, L"Add &Files");
    ::AppendMenuW(menu, MF_STRING, IDM_ADD_FOLDERS, L"Add F&olders");
    RECT rect;
    ::GetWindowRect(button, &rect);
    const UINT chosen = static_cast<UINT>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                                           rect.left, rect.bottom, 0, dialog_.Handle(), nullptr));
    ::DestroyMenu(menu);
    if (chosen == IDM_ADD_FILES) {
      if (const auto answer = PickFiles(dialog_.Handle()))
        dialog_.Model().AddFiles(GetSelectedFiles(*answer, AnswerDirectory(*answer)));
    } else if (chosen == IDM_ADD_FOLDERS) {
      if (auto folder = PickFolder(dialog_.Handle())) dialog_.Model().AddFolder(std::move(*folder));
    }
    FillCustomItems();
  }

  void FillCustomItems() {
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    int row = 0;
    for (const CustomItemRow& item : dialog_.Model().CustomItems())
      AddRow(list_, row++, {item.path, item.TypeColumn(), item.size, item.modified});
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  }

  void FillPlugins() {
    filling_ = true;
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    int row = 0;
    for (const PluginRow& plugin : dialog_.Model().Plugins()) {
      AddRow(list_, row, {plugin.name, plugin.version, plugin.description});
      LVITEMW state{};
      state.stateMask = LVIS_STATEIMAGEMASK;
      state.state = INDEXTOSTATEIMAGEMASK(plugin.ticked ? 2 : 1);
      ::SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
      ++row;
    }
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    filling_ = false;
  }

  SelectionDialog& dialog_;
  std::vector<PageFrame> layout_;
  std::vector<Item> items_;
  std::vector<FrameView> frames_;
  HWND list_ = nullptr;
  bool custom_ = false;
  bool filling_ = false;
  bool confirming_ = false;
};

}  // namespace

std::function<std::unique_ptr<PageContent>(SelectionDialog&)> LayoutPageFor(SelectionPage page) {
  return [page](SelectionDialog& dialog) { return std::make_unique<LayoutPage>(dialog, page); };
}

SelectionDialog::SelectionDialog(Platform& platform, std::vector<SelectionTab> tabs)
    : platform_(platform),
      questions_(*this),
      model_(platform, questions_,
             [&clock = platform.clock](std::int64_t fileTime) { return ModifiedText(clock, fileTime); }),
      tabs_(std::move(tabs)) {}

HWND SelectionDialog::AddTabs(HWND parent, const std::vector<Page>& pages, int id, DWORD style) {
  HWND tabs = AddControl(WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS | style, id, parent);
  for (std::size_t i = 0; i < pages.size(); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring caption = pages[i].caption;
    item.pszText = caption.data();
    ::SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  // The pages are siblings above the tab control in the z-order.
  ::SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return tabs;
}

SelectionDialog::Page SelectionDialog::BuildPage(SelectionTab& tab, HWND parent) {
  Page page;
  page.caption = tab.caption;
  page.window = ::CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PAGE_FIRST + nextPageId_++)),
                                  Instance(), nullptr);
  if (tab.content) {
    page.content = tab.content(*this);
    page.content->Create(page.window);
  } else {
    for (SelectionTab& child : tab.children) page.children.push_back(BuildPage(child, page.window));
    page.subTabs = AddTabs(page.window, page.children, IDC_BROWSER_TABS);
  }
  return page;
}

SIZE SelectionDialog::Measure(Page& page) {
  if (page.content) return page.content->MinimumSize();
  SIZE area{0, 0};
  for (Page& child : page.children) {
    const SIZE size = Measure(child);
    area.cx = std::max(area.cx, size.cx);
    area.cy = std::max(area.cy, size.cy);
  }
  // The sub-tabs' own room around their pages, and the width all their captions need.
  RECT needed{0, 0, area.cx, area.cy};
  ::SendMessageW(page.subTabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&needed));
  RECT last{};
  ::SendMessageW(page.subTabs, TCM_GETITEMRECT, page.children.size() - 1, reinterpret_cast<LPARAM>(&last));
  const int margin = DluX(4);
  return {std::max<LONG>(needed.right - needed.left, last.right + DluX(4)) + 2 * margin,
          needed.bottom - needed.top + 2 * margin};
}

void SelectionDialog::Layout(HWND tabs, std::vector<Page>& pages, RECT area) {
  PlaceControl(tabs, area.left, area.top, area.right - area.left, area.bottom - area.top);
  RECT display = area;
  ::SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const SIZE size{display.right - display.left, display.bottom - display.top};
  for (Page& page : pages) {
    PlaceControl(page.window, display.left, display.top, size.cx, size.cy);
    if (page.content) {
      page.content->Place(size);
    } else {
      const int margin = DluX(4);
      Layout(page.subTabs, page.children, RECT{margin, margin, size.cx - margin, size.cy - margin});
    }
  }
}

void SelectionDialog::ShowSelected(HWND tabs, std::vector<Page>& pages, int selected) {
  for (std::size_t i = 0; i < pages.size(); ++i)
    ::ShowWindow(pages[i].window, static_cast<int>(i) == selected ? SW_SHOW : SW_HIDE);
}

void SelectionDialog::OnInit() {
  RegisterPageClass(Instance());
  // Tab order as in a property sheet: the page's controls, "OK", "Cancel",
  // then the tabs, which lie below everything so they never paint over a page.
  for (SelectionTab& tab : tabs_) pages_.push_back(BuildPage(tab, Handle()));
  ok_ = AddControl(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
  cancel_ = AddControl(L"BUTTON", L"Cancel", WS_TABSTOP, IDCANCEL);
  // The top tabs wrap onto more rows when their captions are wider than the pages.
  topTabs_ = AddTabs(Handle(), pages_, IDC_SETTINGS_TABS, TCS_MULTILINE);

  model_.Open();
  ForEachContent([](PageContent& content) { content.Refresh(); });

  SIZE area{0, 0};
  for (Page& page : pages_) {
    const SIZE size = Measure(page);
    area.cx = std::max(area.cx, size.cx);
    area.cy = std::max(area.cy, size.cy);
  }
  RECT tabRect{0, 0, area.cx, area.cy};
  ::SendMessageW(topTabs_, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&tabRect));
  // How many rows the captions take is known once the control has its width.
  PlaceControl(topTabs_, 0, 0, tabRect.right - tabRect.left, tabRect.bottom - tabRect.top);
  tabRect = RECT{0, 0, area.cx, area.cy};
  ::SendMessageW(topTabs_, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&tabRect));
  const int margin = DluX(7), buttonWidth = DluX(50), buttonHeight = DluY(14);
  const int tabWidth = tabRect.right - tabRect.left, tabHeight = tabRect.bottom - tabRect.top;
  Layout(topTabs_, pages_, RECT{margin, margin, margin + tabWidth, margin + tabHeight});
  const int buttonTop = margin + tabHeight + DluY(7);
  const int width = tabWidth + 2 * margin;
  PlaceControl(cancel_, width - margin - buttonWidth, buttonTop, buttonWidth, buttonHeight);
  PlaceControl(ok_, width - margin - 2 * buttonWidth - DluX(4), buttonTop, buttonWidth, buttonHeight);
  SetClientSize(width, buttonTop + buttonHeight + DluY(7));

  ShowSelected(topTabs_, pages_, 0);
  for (Page& page : pages_)
    if (page.subTabs) ShowSelected(page.subTabs, page.children, 0);
}

void SelectionDialog::ForEachContent(const std::function<void(PageContent&)>& visit) {
  std::function<void(std::vector<Page>&)> walk = [&](std::vector<Page>& pages) {
    for (Page& page : pages) {
      if (page.content) visit(*page.content);
      walk(page.children);
    }
  };
  walk(pages_);
}

void SelectionDialog::StepPage(int step) {
  // Every page with content, in tab order.
  std::vector<std::pair<int, int>> leaves;
  for (std::size_t top = 0; top < pages_.size(); ++top) {
    if (pages_[top].children.empty()) leaves.emplace_back(static_cast<int>(top), -1);
    for (std::size_t child = 0; child < pages_[top].children.size(); ++child)
      leaves.emplace_back(static_cast<int>(top), static_cast<int>(child));
  }
  const int top = static_cast<int>(::SendMessageW(topTabs_, TCM_GETCURSEL, 0, 0));
  const int child =
      pages_[static_cast<std::size_t>(top)].children.empty() ? -1 : pages_[static_cast<std::size_t>(top)].selected;
  const auto current = std::find(leaves.begin(), leaves.end(), std::make_pair(top, child)) - leaves.begin();
  const auto count = static_cast<std::ptrdiff_t>(leaves.size());
  const auto [nextTop, nextChild] = leaves[static_cast<std::size_t>((current + step + count) % count)];

  ::SendMessageW(topTabs_, TCM_SETCURSEL, nextTop, 0);
  ShowSelected(topTabs_, pages_, nextTop);
  Page& page = pages_[static_cast<std::size_t>(nextTop)];
  HWND focus = topTabs_;
  if (nextChild >= 0) {
    page.selected = nextChild;
    ::SendMessageW(page.subTabs, TCM_SETCURSEL, nextChild, 0);
    ShowSelected(page.subTabs, page.children, nextChild);
    focus = page.subTabs;
  }
  ::SetFocus(focus);
}

bool SelectionDialog::PreTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN || (message.hwnd != Handle() && !::IsChild(Handle(), message.hwnd))) return false;
  if ((::GetKeyState(VK_CONTROL) & 0x8000) == 0) return false;
  const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
  if (message.wParam == VK_TAB) {
    StepPage(shift ? -1 : 1);
    return true;
  }
  if (message.wParam == VK_NEXT || message.wParam == VK_PRIOR) {
    StepPage(message.wParam == VK_NEXT ? 1 : -1);
    return true;
  }
  return false;
}

LRESULT SelectionDialog::OnNotify(NMHDR* header) {
  if (header->code == TCN_SELCHANGE) {
    if (header->hwndFrom == topTabs_) {
      ShowSelected(topTabs_, pages_, static_cast<int>(::SendMessageW(topTabs_, TCM_GETCURSEL, 0, 0)));
      return 0;
    }
    for (Page& page : pages_) {
      if (header->hwndFrom != page.subTabs) continue;
      page.selected = static_cast<int>(::SendMessageW(page.subTabs, TCM_GETCURSEL, 0, 0));
      ShowSelected(page.subTabs, page.children, page.selected);
      return 0;
    }
  }
  bool handled = false;
  ForEachContent([&](PageContent& content) { handled = handled || content.OnNotify(header); });
  return 0;
}

void SelectionDialog::OnCommand(int id, int code, HWND) {
  if (id == IDOK && code == BN_CLICKED) {
    Ok();
    return;
  }
  if (id == IDCANCEL) {
    End(IDCANCEL);
    return;
  }
  bool handled = false;
  ForEachContent([&](PageContent& content) { handled = handled || content.OnCommand(id, code); });
}

void SelectionDialog::Ok() {
  const std::vector<std::string> failed = model_.Save();
  if (failed.empty()) {
    End(IDOK);
    return;
  }
  // Nothing is closed: the choices stay on screen for another try.
  questions_.Show(SelectionDialogModel::SaveFailedMessage(failed), kApplicationTitle, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace cv::ui
