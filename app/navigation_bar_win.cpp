#include "app/navigation_bar_win.h"

#include <algorithm>
#include <utility>

#include "resources/resource.h"
#include "ui/look_win.h"
#include "ui/window_names.h"

namespace cv::ui {

namespace {

enum class Glyph { Home, Checklist, Sweep, Magnifier, Sliders, Shredder, Blocks, Power };

struct ButtonSpec {
  int imageId;
  int captionId;
  const wchar_t* caption;
  Glyph glyph;
};

constexpr ButtonSpec kButtonTable[NavigationBar::kButtons] = {
    {IDC_IMAGE1, IDC_LABEL1, L"Main", Glyph::Home},
    {IDC_IMAGE2, IDC_LABEL2, L"Clearner Settings", Glyph::Checklist},
    {IDC_IMAGE3, IDC_LABEL3, L"CLEAN NOW", Glyph::Sweep},
    {IDC_IMAGE4, IDC_LABEL4, L"Search and  Erase", Glyph::Magnifier},
    {IDC_IMAGE5, IDC_LABEL5, L"Clean Options", Glyph::Sliders},
    {IDC_IMAGE6, IDC_LABEL6, L"File Shredder", Glyph::Shredder},
    {IDC_IMAGE9, IDC_LABEL13, L"Clean Registry", Glyph::Blocks},
    {IDC_IMAGE10, IDC_LABEL7, L"EXIT", Glyph::Power},
};

constexpr int kImageSize = 36;
constexpr int kRowHeight = 54;  // rows close up to kMinRowGap between images on a short window
constexpr int kMinRowGap = 4;
constexpr int kTop = 16;
constexpr int kMargin = 12;
constexpr int kCaptionGap = 8;
// Room around picture and caption inside an entry, for its focus rectangle.
constexpr int kEntryPadX = 4;
constexpr int kEntryPadY = 2;

// Simple line pictures drawn on a rounded tile, so that no artwork file is needed.
void DrawGlyph(HDC dc, const RECT& box, Glyph glyph, UINT dpi) {
  const COLORREF tile = glyph == Glyph::Power ? RGB(196, 64, 56) : kAccent;
  SolidBrush tileBrush(tile);
  win32::UniqueGdiObject tilePen(::CreatePen(PS_SOLID, 1, tile));
  HGDIOBJ oldBrush = ::SelectObject(dc, tileBrush.get());
  HGDIOBJ oldPen = ::SelectObject(dc, tilePen.get());
  const int round = Scale(8, dpi);
  ::RoundRect(dc, box.left, box.top, box.right, box.bottom, round, round);

  win32::UniqueGdiObject pen(::CreatePen(PS_SOLID, Scale(2, dpi), RGB(255, 255, 255)));
  ::SelectObject(dc, pen.get());
  ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
  const int w = box.right - box.left;
  auto x = [&](int percent) { return box.left + w * percent / 100; };
  auto y = [&](int percent) { return box.top + w * percent / 100; };
  auto line = [&](int x1, int y1, int x2, int y2) {
    ::MoveToEx(dc, x(x1), y(y1), nullptr);
    ::LineTo(dc, x(x2), y(y2));
  };
  switch (glyph) {
    case Glyph::Home:
      line(20, 50, 50, 22), line(50, 22, 80, 50);
      ::Rectangle(dc, x(30), y(48), x(70), y(78));
      break;
    case Glyph::Checklist:
      for (int row : {28, 50, 72}) {
        ::Rectangle(dc, x(22), y(row - 7), x(34), y(row + 5));
        line(42, row, 78, row);
      }
      break;
    case Glyph::Sweep:
      line(26, 52, 42, 68), line(42, 68, 74, 30);
      ::Ellipse(dc, x(16), y(16), x(84), y(84));
      break;
    case Glyph::Magnifier:
      ::Ellipse(dc, x(22), y(20), x(60), y(58));
      line(55, 55, 78, 78);
      break;
    case Glyph::Sliders:
      for (auto [row, knob] : {std::pair{30, 36}, std::pair{50, 64}, std::pair{70, 46}}) {
        line(20, row, 80, row);
        ::Rectangle(dc, x(knob - 5), y(row - 7), x(knob + 5), y(row + 7));
      }
      break;
    case Glyph::Shredder:
      ::Rectangle(dc, x(28), y(18), x(72), y(46));
      line(20, 50, 80, 50);
      for (int column : {32, 44, 56, 68}) line(column, 56, column, 80);
      break;
    case Glyph::Blocks:
      ::Rectangle(dc, x(22), y(22), x(46), y(46));
      ::Rectangle(dc, x(54), y(22), x(78), y(46));
      ::Rectangle(dc, x(22), y(54), x(46), y(78));
      ::Rectangle(dc, x(54), y(54), x(78), y(78));
      break;
    case Glyph::Power:
      ::Arc(dc, x(24), y(26), x(76), y(78), x(38), y(28), x(62), y(28));
      line(50, 18, 50, 50);
      break;
  }
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
}

}  // namespace

bool NavigationBar::Create(HWND parent, HINSTANCE instance) {
  WNDCLASSEXW barClass{};
  barClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  RegisterWindowClass(instance, kNavigationBarClass, barClass);
  WNDCLASSEXW entryClass{};
  entryClass.style = CS_DBLCLKS;
  entryClass.hCursor = ::LoadCursorW(nullptr, IDC_HAND);
  RegisterWindowClass(instance, kNavigationEntryClass, entryClass);

  // A control parent, so that Tab and the dialog keys reach the entries.
  bar_ = CreateWindowFor(WS_EX_CONTROLPARENT, kNavigationBarClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                         0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PICTURE1)), instance);
  if (!bar_) return false;
  for (int i = 0; i < kButtons; ++i) {
    const ButtonSpec& spec = kButtonTable[i];
    entries_[i] = CreateWindowFor(0, kNavigationEntryClass, spec.caption, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                  0, 0, bar_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.imageId)), instance);
    // The caption lets the mouse through to its entry (a label without
    // SS_NOTIFY is transparent to hit testing).
    captions_[i] = ::CreateWindowExW(
        0, L"STATIC", spec.caption, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0, 0, 0, 0,
        entries_[i], reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.captionId)), instance, nullptr);
  }
  MakeCurrent(0);
  return true;
}

int NavigationBar::PreferredWidth(UINT dpi, HFONT captionFont) const {
  int widest = 0;
  for (HWND caption : captions_) widest = std::max(widest, static_cast<int>(MeasureText(caption, captionFont, 0).cx));
  return Scale(kMargin + kImageSize + kCaptionGap + kEntryPadX, dpi) + widest + Scale(kMargin, dpi);
}

int NavigationBar::MinimumHeight(UINT dpi) {
  return Scale(kTop, dpi) + kButtons * Scale(kImageSize + kMinRowGap, dpi) + Scale(kMinRowGap, dpi);
}

void NavigationBar::Layout(const RECT& area, UINT dpi, HFONT captionFont) {
  dpi_ = dpi;
  ::MoveWindow(bar_, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
  const int padX = Scale(kEntryPadX, dpi), padY = Scale(kEntryPadY, dpi);
  const int left = Scale(kMargin, dpi) - padX;
  const int image = Scale(kImageSize, dpi);
  const int top = Scale(kTop, dpi);
  const int row = std::clamp((static_cast<int>(area.bottom - area.top) - top) / kButtons,
                             Scale(kImageSize + kMinRowGap, dpi), Scale(kRowHeight, dpi));
  const int width = area.right - area.left - left - Scale(4, dpi);
  const int captionLeft = padX + image + Scale(kCaptionGap, dpi);
  for (int i = 0; i < kButtons; ++i) {
    ::MoveWindow(entries_[i], left, top + i * row - padY, width, image + 2 * padY, TRUE);
    ::MoveWindow(captions_[i], captionLeft, padY, std::max(0, width - captionLeft - padX), image, TRUE);
    ::SendMessageW(captions_[i], WM_SETFONT, reinterpret_cast<WPARAM>(captionFont), TRUE);
  }
}

void NavigationBar::Highlight(int index) {
  if (index == highlighted_) return;
  highlighted_ = index;
  for (HWND entry : entries_) ::InvalidateRect(entry, nullptr, FALSE);
}

int NavigationBar::IndexOf(HWND entry) const {
  for (int i = 0; i < kButtons; ++i)
    if (entries_[i] == entry) return i;
  return -1;
}

void NavigationBar::MakeCurrent(int index) {
  current_ = index;
  for (int i = 0; i < kButtons; ++i) {
    const LONG_PTR style = ::GetWindowLongPtrW(entries_[i], GWL_STYLE);
    ::SetWindowLongPtrW(entries_[i], GWL_STYLE, i == index ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
}

void NavigationBar::Activate(HWND entry) {
  // The command may open a modal window or end the program: nothing of the
  // entry is touched after it.
  ::SendMessageW(::GetParent(bar_), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(entry), BN_CLICKED),
                 reinterpret_cast<LPARAM>(entry));
}

LRESULT NavigationBar::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Every window made after the bar is one of its entries.
  if (bar_ && window != bar_) return EntryMessage(window, IndexOf(window), message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND: {
      RECT rect;
      ::GetClientRect(window, &rect);
      ::FillRect(reinterpret_cast<HDC>(wParam), &rect, background_.get());
      return 1;
    }
    case WM_MOUSEMOVE:
      ClearSelections();
      return 0;
    case WM_COMMAND:
      return ::SendMessageW(::GetParent(window), message, wParam, lParam);
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT NavigationBar::EntryMessage(HWND entry, int index, UINT message, WPARAM wParam, LPARAM lParam) {
  if (index < 0) return ::DefWindowProcW(entry, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      PaintEntry(entry, index);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, kNavigationText);
      ::SetBkColor(dc, kNavigationBackground);
      return reinterpret_cast<LRESULT>(background_.get());
    }
    case WM_MOUSEMOVE:
      Highlight(index);
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = index;
      ::SetFocus(entry);
      return 0;
    case WM_LBUTTONUP:
      // Acts once per press made here: the second press of a double click
      // arrives as WM_LBUTTONDBLCLK, which is not a press.
      if (std::exchange(pressed_, -1) != index) return 0;
      Activate(entry);
      return 0;
    case WM_GETDLGCODE: {
      // The arrows move within the bar; Enter is the entry's, not the window's default.
      LRESULT code = DLGC_WANTARROWS;
      const MSG* keyMessage = reinterpret_cast<const MSG*>(lParam);
      if (keyMessage && keyMessage->message == WM_KEYDOWN && keyMessage->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN: {
      const bool repeat = (lParam & (1 << 30)) != 0;
      int next = -1;
      switch (wParam) {
        case VK_UP:
        case VK_LEFT:
          next = (index + kButtons - 1) % kButtons;
          break;
        case VK_DOWN:
        case VK_RIGHT:
          next = (index + 1) % kButtons;
          break;
        case VK_HOME:
          next = 0;
          break;
        case VK_END:
          next = kButtons - 1;
          break;
        case VK_RETURN:
        case VK_SPACE:
          if (!repeat) Activate(entry);
          return 0;
      }
      if (next >= 0) ::SetFocus(entries_[next]);
      return 0;
    }
    case WM_SETFOCUS:
      MakeCurrent(index);
      ::InvalidateRect(entry, nullptr, FALSE);
      return 0;
    case WM_KILLFOCUS:
      ::InvalidateRect(entry, nullptr, FALSE);
      return 0;
    default:
      return ::DefWindowProcW(entry, message, wParam, lParam);
  }
}

void NavigationBar::PaintEntry(HWND entry, int index) {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(entry, &paint);
  RECT rect;
  ::GetClientRect(entry, &rect);
  ::FillRect(dc, &rect, background_.get());
  const int padX = Scale(kEntryPadX, dpi_), padY = Scale(kEntryPadY, dpi_);
  const int size = Scale(kImageSize, dpi_);
  const RECT image{padX, padY, padX + size, padY + size};
  RECT tile = image;
  ::InflateRect(&tile, -Scale(3, dpi_), -Scale(3, dpi_));
  DrawGlyph(dc, tile, kButtonTable[index].glyph, dpi_);
  if (highlighted_ == index) {
    SolidBrush border(kHoverBorder);
    ::FrameRect(dc, &image, border.get());
  }
  if (::GetFocus() == entry) {
    // A dotted rectangle around picture and caption, light on the dark bar.
    win32::UniqueGdiObject pen(::CreatePen(PS_DOT, 1, kNavigationText));
    HGDIOBJ oldPen = ::SelectObject(dc, pen.get());
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::SetBkColor(dc, kNavigationBackground);
    ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
  }
  ::EndPaint(entry, &paint);
}

}  // namespace cv::ui
