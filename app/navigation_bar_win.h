#pragma once
// The navigation bar (Picture1): eight entries, each one control that draws
// its picture and holds its caption label, so that a click anywhere on the
// entry acts once. Moving the mouse over an entry gives its picture a single
// border and takes the border from the others; moving over the bar itself
// clears them all. The bar is one tab stop: the arrow keys (and Home, End)
// move between the entries, Enter or Space activates the focused one, which
// shows a focus rectangle. An activated entry sends WM_COMMAND with its id
// to the bar's parent.
#include <array>

#include "platform/win32/win.h"
#include "ui/look_win.h"
#include "ui/window_win.h"

namespace cv::ui {

class NavigationBar : public Window {
 public:
  static constexpr int kButtons = 8;

  bool Create(HWND parent, HINSTANCE instance);
  // The width that shows every caption whole in `captionFont`.
  int PreferredWidth(UINT dpi, HFONT captionFont) const;
  // The least height that shows every image.
  static int MinimumHeight(UINT dpi);
  void Layout(const RECT& area, UINT dpi, HFONT captionFont);
  HWND Handle() const { return bar_; }
  // The entry that takes the focus when the bar is tabbed to.
  HWND CurrentEntry() const { return entries_[current_]; }

  // The one image with a border, or -1.
  int Highlighted() const { return highlighted_; }
  void Highlight(int index);
  void ClearSelections() { Highlight(-1); }

 private:
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT EntryMessage(HWND entry, int index, UINT message, WPARAM wParam, LPARAM lParam);
  void PaintEntry(HWND entry, int index);
  int IndexOf(HWND entry) const;
  // The focus moved to the entry: it becomes the bar's one tab stop.
  void MakeCurrent(int index);
  void Activate(HWND entry);

  HWND bar_ = nullptr;
  std::array<HWND, kButtons> entries_{};
  std::array<HWND, kButtons> captions_{};
  int highlighted_ = -1;
  int current_ = 0;
  int pressed_ = -1;  // the entry a left press began on; its release there acts
  UINT dpi_ = 96;
  SolidBrush background_{kNavigationBackground};
};

}  // namespace cv::ui
