#include "app/analysis_pane_win.h"

#include <commctrl.h>

#include <algorithm>

#include "app/analysis_texts.h"
#include "platform/win32/text_win.h"
#include "resources/window_res.h"
#include "ui/controls_win.h"
#include "ui/look_win.h"

namespace cv::ui {

namespace {

constexpr UINT kFilterPauseMs = 250;

HWND MakeChild(HWND parent, HINSTANCE instance, const wchar_t* cls, const std::wstring& text, DWORD style, int id,
               DWORD exStyle = 0) {
  return ::CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace

void AnalysisPane::Create(HWND parent, HINSTANCE instance) {
  parent_ = parent;
  label_ = MakeChild(parent, instance, L"STATIC", win32::Widen(texts::kDetailsLabel), SS_LEFT | SS_NOPREFIX,
                     IDC_DETAILS_LABEL);
  filterLabel_ =
      MakeChild(parent, instance, L"STATIC", win32::Widen(texts::kFilterLabel), SS_RIGHT, IDC_DETAILS_FILTER_LABEL);
  filter_ =
      MakeChild(parent, instance, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, IDC_DETAILS_FILTER, WS_EX_CLIENTEDGE);
  list_ = MakeChild(parent, instance, WC_LISTVIEWW, L"",
                    LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, IDC_DETAILS_LIST,
                    WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  int index = 0;
  for (std::string_view title : {texts::kPathColumn, texts::kSizeColumn, texts::kKindColumn}) {
    InsertListColumn(list_, index, win32::Widen(title), 100, index == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT);
    ++index;
  }
}

void AnalysisPane::SetColumnWidths(UINT dpi) {
  RECT client{};
  ::GetClientRect(list_, &client);
  const int size = Scale(90, dpi), kind = Scale(110, dpi);
  const int scrollBar = ::GetSystemMetrics(SM_CXVSCROLL);
  ListView_SetColumnWidth(list_, 0, std::max<int>(Scale(120, dpi), client.right - size - kind - scrollBar));
  ListView_SetColumnWidth(list_, 1, size);
  ListView_SetColumnWidth(list_, 2, kind);
}

void AnalysisPane::Layout(const RECT& area, UINT dpi, int labelHeight, int filterLabelWidth) {
  const int width = area.right - area.left;
  const int gap = Scale(6, dpi);
  const int filterWidth = std::min<int>(Scale(220, dpi), width / 2);
  const int editHeight = labelHeight + Scale(8, dpi);
  const int filterLeft = area.right - filterWidth;
  ::MoveWindow(label_, area.left, area.top + Scale(4, dpi),
               std::max<int>(0, filterLeft - filterLabelWidth - 2 * gap - area.left), labelHeight, TRUE);
  ::MoveWindow(filterLabel_, filterLeft - gap - filterLabelWidth, area.top + Scale(4, dpi), filterLabelWidth,
               labelHeight, TRUE);
  ::MoveWindow(filter_, filterLeft, area.top, filterWidth, editHeight, TRUE);
  const int listTop = area.top + editHeight + gap;
  ::MoveWindow(list_, area.left, listTop, width, std::max<int>(0, area.bottom - listTop), TRUE);
  SetColumnWidths(dpi);
}

void AnalysisPane::Show(const AnalysisStore* analysis) {
  analysis_ = analysis;
  const int show = analysis ? SW_SHOW : SW_HIDE;
  for (HWND control : {label_, filterLabel_, filter_, list_}) ::ShowWindow(control, show);
  rows_.clear();
  ListView_SetItemCountEx(list_, 0, 0);
  if (analysis) SelectRow(0);
}

void AnalysisPane::SelectRow(int row) {
  if (!analysis_ || row < 0) return;
  row_ = static_cast<std::size_t>(row);
  Refill();
}

// The timer goes to the main window, which hands it back to ApplyFilter.
void AnalysisPane::FilterChanged() {
  ::SetTimer(::GetAncestor(parent_, GA_ROOT), kFilterTimer, kFilterPauseMs, nullptr);
}

void AnalysisPane::ApplyFilter() {
  ::KillTimer(::GetAncestor(parent_, GA_ROOT), kFilterTimer);
  filterText_ = win32::Narrow(WindowText(filter_));
  Refill();
}

void AnalysisPane::Focus() { ::SetFocus(list_); }

void AnalysisPane::Refill() {
  rows_ = analysis_ ? DetailRows(*analysis_, row_, filterText_, sortBy_, ascending_)
                    : std::vector<AnalysisStore::EntryIndex>{};
  ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), 0);
  ::InvalidateRect(list_, nullptr, TRUE);
}

std::optional<LRESULT> AnalysisPane::Notify(const NMHDR& header) {
  if (header.hwndFrom != list_ || !analysis_) return std::nullopt;
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      auto& info = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header));
      const int item = info.item.iItem;
      if (!(info.item.mask & LVIF_TEXT) || item < 0 || static_cast<std::size_t>(item) >= rows_.size()) return 0;
      const AnalysisStore::EntryIndex entry = rows_[static_cast<std::size_t>(item)];
      switch (info.item.iSubItem) {
        case 0:
          cellText_ = win32::Widen(analysis_->Path(entry));
          break;
        case 1:
          cellText_ = win32::Widen(SizeText(analysis_->Bytes(entry)));
          break;
        default:
          cellText_ = win32::Widen(std::string(EntryKindName(analysis_->Kind(entry))) +
                                   std::string(analysis_->Refused(entry) ? texts::kRefusedKind : ""));
      }
      info.item.pszText = cellText_.data();
      return 0;
    }
    case LVN_COLUMNCLICK: {
      const auto& click = reinterpret_cast<const NMLISTVIEW&>(header);
      const DetailColumn column = click.iSubItem == 1   ? DetailColumn::Size
                                  : click.iSubItem == 2 ? DetailColumn::Kind
                                                        : DetailColumn::Path;
      // A second click on the same column turns the order round.
      ascending_ = column == sortBy_ ? !ascending_ : column != DetailColumn::Size;
      sortBy_ = column;
      Refill();
      return 0;
    }
  }
  return std::nullopt;
}

}  // namespace cv::ui
