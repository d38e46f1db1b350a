#include "ui/layout.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace cv {

namespace {

constexpr int kSmallest = 50;
constexpr int kLargest = 100000;

}  // namespace

Box FitInto(Box wanted, const Box& work) {
  const int width = std::min(wanted.Width(), work.Width());
  const int height = std::min(wanted.Height(), work.Height());
  const int left = std::clamp(wanted.left, work.left, work.right - width);
  const int top = std::clamp(wanted.top, work.top, work.bottom - height);
  return Box{left, top, left + width, top + height};
}

Box CentredIn(int width, int height, const Box& work) {
  const int left = work.left + (work.Width() - width) / 2;
  const int top = work.top + (work.Height() - height) / 2;
  return FitInto(Box{left, top, left + width, top + height}, work);
}

std::string PlacementText(const Placement& placement) {
  const Box& b = placement.box;
  return std::to_string(b.left) + "," + std::to_string(b.top) + "," + std::to_string(b.right) + "," +
         std::to_string(b.bottom) + "," + (placement.maximized ? "1" : "0");
}

std::optional<Placement> ParsePlacement(std::string_view text) {
  std::vector<int> numbers;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(',', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view field = text.substr(pos, end - pos);
    int value = 0;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || result.ec != std::errc() || result.ptr != field.data() + field.size()) return std::nullopt;
    numbers.push_back(value);
    pos = end + 1;
  }
  if (numbers.size() != 5 || (numbers[4] != 0 && numbers[4] != 1)) return std::nullopt;
  for (int i = 0; i < 4; ++i)
    if (numbers[i] < -kLargest || numbers[i] > kLargest) return std::nullopt;
  Placement placement{Box{numbers[0], numbers[1], numbers[2], numbers[3]}, numbers[4] == 1};
  const int width = placement.box.Width(), height = placement.box.Height();
  if (width < kSmallest || height < kSmallest || width > kLargest || height > kLargest) return std::nullopt;
  return placement;
}

Box OpeningBox(const std::optional<Placement>& stored, const Box& work, int defaultWidth, int defaultHeight,
               int minimumWidth, int minimumHeight) {
  if (stored) {
    const Box& b = stored->box;
    const int seenWidth = std::min(b.right, work.right) - std::max(b.left, work.left);
    const int seenHeight = std::min(b.bottom, work.bottom) - std::max(b.top, work.top);
    if (seenWidth >= kSmallest && seenHeight >= kSmallest) {
      Box grown = b;
      grown.right = grown.left + std::max(b.Width(), minimumWidth);
      grown.bottom = grown.top + std::max(b.Height(), minimumHeight);
      return FitInto(grown, work);
    }
  }
  return CentredIn(std::max(defaultWidth, minimumWidth), std::max(defaultHeight, minimumHeight), work);
}

}  // namespace cv
