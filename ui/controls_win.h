#pragma once
// Small helpers over the standard controls, so that every window reads a
// text, ticks a box or fills a list view the same way.
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/win.h"

#include <commctrl.h>

namespace cv::ui {

// The whole text of a window or control (empty when it has none).
std::wstring WindowText(HWND window);

bool IsChecked(HWND box);
void SetChecked(HWND box, bool checked);
inline bool IsChecked(HWND dialog, int id) { return IsChecked(::GetDlgItem(dialog, id)); }
inline void SetChecked(HWND dialog, int id, bool checked) { SetChecked(::GetDlgItem(dialog, id), checked); }

// Adds a report-view column at `index`; a width of 0 keeps the list's default.
void InsertListColumn(HWND list, int index, std::wstring_view title, int width = 0, int format = LVCFMT_LEFT);
// Inserts a row at `row` with the text of its first column; returns the new
// row's index, or -1 when the list refused it.
int InsertListRow(HWND list, int row, std::wstring_view text);
void SetListCell(HWND list, int row, int column, std::wstring_view text);
// The first selected row, if any.
std::optional<int> SelectedListRow(HWND list);

}  // namespace cv::ui
