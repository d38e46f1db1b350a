#pragma once
// The details of an analysis on the status panel: the entries (path, size,
// kind) of the results row the user selects, in a virtual list view that
// asks for the text of the rows it shows, sortable by a click on a column
// header, narrowed by a filter box.
#include <optional>
#include <string>
#include <vector>

#include "app/analysis.h"
#include "platform/win32/win.h"

namespace cv::ui {

class AnalysisPane {
 public:
  void Create(HWND parent, HINSTANCE instance);
  // Places the pane's controls in `area` (parent client coordinates).
  void Layout(const RECT& area, UINT dpi, int labelHeight, int filterLabelWidth);
  // Shows the analysis (null hides the pane and forgets it).
  void Show(const AnalysisStore* analysis);
  bool Shown() const { return analysis_ != nullptr; }
  // The entries of a results row.
  void SelectRow(int row);
  // The filter box changed: applied after a short pause.
  void FilterChanged();
  void ApplyFilter();
  void Focus();
  // Answers the list view's notifications; nullopt for others.
  std::optional<LRESULT> Notify(const NMHDR& header);
  void SetColumnWidths(UINT dpi);

  static constexpr UINT_PTR kFilterTimer = 5010;

 private:
  void Refill();

  HWND parent_ = nullptr;
  HWND label_ = nullptr;
  HWND filterLabel_ = nullptr;
  HWND filter_ = nullptr;
  HWND list_ = nullptr;
  const AnalysisStore* analysis_ = nullptr;
  std::size_t row_ = 0;
  std::string filterText_;
  DetailColumn sortBy_ = DetailColumn::Path;
  bool ascending_ = true;
  std::vector<AnalysisStore::EntryIndex> rows_;
  std::wstring cellText_;  // the text handed to the list view, kept until its next question
};

}  // namespace cv::ui
