#pragma once
// Writes 8-bit RGB images as PNG files (stored deflate blocks: no compression
// library needed; scripts may recompress them).
#include <cstdint>
#include <string>
#include <vector>

namespace cv::guidriver {

// `rgb` holds width * height * 3 bytes, top row first.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace cv::guidriver
