#pragma once
// The program's own look, where a skin would otherwise go: one palette and
// one set of fonts for every window, scaled to the window's DPI.
#include "platform/win32/unique_handle.h"
#include "platform/win32/win.h"

namespace cv::ui {

inline constexpr COLORREF kNavigationBackground = RGB(22, 48, 86);
inline constexpr COLORREF kNavigationText = RGB(236, 242, 250);
inline constexpr COLORREF kHoverBorder = RGB(255, 196, 40);
inline constexpr COLORREF kAccent = RGB(38, 118, 196);
inline constexpr COLORREF kPanelBackground = RGB(246, 248, 251);
inline constexpr COLORREF kFrameLine = RGB(190, 202, 218);
inline constexpr COLORREF kHeadingText = RGB(22, 48, 86);
inline constexpr COLORREF kBodyText = RGB(40, 44, 52);
inline constexpr COLORREF kLinkText = RGB(38, 118, 196);
inline constexpr COLORREF kPopupBackground = RGB(255, 255, 255);

// The DPI of the window's monitor (96 when the system cannot say).
UINT WindowDpi(HWND window);
inline int Scale(int pixelsAt96, UINT dpi) { return ::MulDiv(pixelsAt96, static_cast<int>(dpi), 96); }

// A dialog that is a program's own window (the companion programs): a
// minimize box, and the program's icon at the sizes the system shows.
void ShowAsProgramWindow(HWND dialog, HINSTANCE instance, int iconId);

// Fonts for one DPI; windows recreate them when the DPI changes.
class Fonts {
 public:
  void Create(UINT dpi);
  HFONT Body() const { return static_cast<HFONT>(body_.get()); }
  HFONT Bold() const { return static_cast<HFONT>(bold_.get()); }
  HFONT Heading() const { return static_cast<HFONT>(heading_.get()); }
  HFONT Title() const { return static_cast<HFONT>(title_.get()); }
  HFONT Tahoma() const { return static_cast<HFONT>(tahoma_.get()); }
  HFONT TahomaBold() const { return static_cast<HFONT>(tahomaBold_.get()); }

 private:
  win32::UniqueGdiObject body_, bold_, heading_, title_, tahoma_, tahomaBold_;
};

class SolidBrush {
 public:
  explicit SolidBrush(COLORREF color) : brush_(::CreateSolidBrush(color)) {}
  HBRUSH get() const { return static_cast<HBRUSH>(brush_.get()); }

 private:
  win32::UniqueGdiObject brush_;
};

// Sets the font of a window and all its children.
void ApplyFont(HWND window, HFONT font);

// The size of a control's text in `font` (null: the control's own font):
// line breaks kept, and lines wrapped at `wrapWidth` when it is above 0.
SIZE MeasureText(HWND control, HFONT font, int wrapWidth);

}  // namespace cv::ui
