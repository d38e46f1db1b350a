#pragma once
// Window geometry that needs no window: fitting a window into a monitor's
// work area, and the stored placement of the main window.
#include <optional>
#include <string>
#include <string_view>

namespace cv {

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Box&) const = default;
};

// `wanted` made no larger than `work` and moved (not shrunk further) until
// it lies inside it.
Box FitInto(Box wanted, const Box& work);
// A box of the size centred in `work`, fitted into it.
Box CentredIn(int width, int height, const Box& work);

// The main window's placement as stored in the selection file's "Options"
// section: "left,top,right,bottom,maximized" in screen pixels.
inline constexpr std::string_view kPlacementKey = "WindowPlacement";
struct Placement {
  Box box;
  bool maximized = false;
  bool operator==(const Placement&) const = default;
};
std::string PlacementText(const Placement& placement);
// nullopt for text that is not five numbers, or a box smaller than 50x50
// pixels or larger than 100,000 pixels on a side.
std::optional<Placement> ParsePlacement(std::string_view text);
// Where the window opens: the stored box fitted into the work area of its
// monitor when at least 50x50 pixels of it would be on that monitor, else the
// default size centred there; never smaller than `minimum`, unless the work
// area itself is smaller.
Box OpeningBox(const std::optional<Placement>& stored, const Box& work, int defaultWidth, int defaultHeight,
               int minimumWidth, int minimumHeight);

}  // namespace cv
