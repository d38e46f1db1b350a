#include "ui/controls_win.h"

namespace cv::ui {

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool IsChecked(HWND box) { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND box, bool checked) { ::SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }

void InsertListColumn(HWND list, int index, std::wstring_view title, int width, int format) {
  std::wstring text(title);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_SUBITEM | LVCF_FMT | (width > 0 ? LVCF_WIDTH : 0);
  column.fmt = format;
  column.cx = width;
  column.pszText = text.data();
  column.iSubItem = index;
  ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

int InsertListRow(HWND list, int row, std::wstring_view text) {
  std::wstring copy(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = copy.data();
  return static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void SetListCell(HWND list, int row, int column, std::wstring_view text) {
  std::wstring copy(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = copy.data();
  ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::optional<int> SelectedListRow(HWND list) {
  const LRESULT row = ::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  if (row < 0) return std::nullopt;
  return static_cast<int>(row);
}

}  // namespace cv::ui
