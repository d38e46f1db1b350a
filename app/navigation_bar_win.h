#pragma once
// The navigation bar (Picture1): eight image buttons with caption labels.
// Moving the mouse over an image gives it a single border and takes the
// border from the others; moving over the bar itself clears them all. A
// click on an image sends WM_COMMAND with the image's id to the bar's parent.
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

  // The one image with a border, or -1.
  int Highlighted() const { return highlighted_; }
  void Highlight(int index);
  void ClearSelections() { Highlight(-1); }

 private:
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  static LRESULT CALLBACK ImageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND bar_ = nullptr;
  std::array<HWND, kButtons> images_{};
  std::array<HWND, kButtons> captions_{};
  int highlighted_ = -1;
  SolidBrush background_{kNavigationBackground};
};

}  // namespace cv::ui
