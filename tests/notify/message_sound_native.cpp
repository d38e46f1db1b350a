// The pop-up's sound as the build makes it: a wave file the system's
// player takes (16-bit PCM, sizes that agree), short, quiet, and without a
// click at either end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace cv {
namespace {

std::uint32_t U32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}
std::uint16_t U16(const std::string& b, std::size_t at) {
  std::uint16_t v = 0;
  std::memcpy(&v, b.data() + at, 2);
  return v;
}

TEST(MessageSound, IsAShortQuietChimeInAPlainWaveFile) {
  std::ifstream in(CV_BINARY_DIR "/Sounds/Message.wav", std::ios::binary);
  ASSERT_TRUE(in) << "the build did not make Sounds/Message.wav";
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GE(bytes.size(), 44u);
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(U32(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(U16(bytes, 20), 1) << "PCM";
  const unsigned channels = U16(bytes, 22), rate = U32(bytes, 24), bits = U16(bytes, 34);
  EXPECT_EQ(bits, 16u);
  EXPECT_EQ(U32(bytes, 28), rate * channels * 2) << "bytes per second";
  ASSERT_EQ(bytes.substr(36, 4), "data");
  const std::uint32_t dataBytes = U32(bytes, 40);
  ASSERT_EQ(dataBytes, bytes.size() - 44);

  const std::size_t count = dataBytes / 2;
  const double seconds = static_cast<double>(count) / (rate * channels);
  EXPECT_GT(seconds, 0.2);
  EXPECT_LT(seconds, 1.5);
  int peak = 0;
  for (std::size_t i = 0; i < count; ++i)
    peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(U16(bytes, 44 + 2 * i)))));
  EXPECT_GT(peak, 32767 / 20) << "audible";
  EXPECT_LT(peak, 32767 / 2) << "quiet";
  const auto sampleAt = [&](std::size_t i) {
    return std::abs(static_cast<int>(static_cast<std::int16_t>(U16(bytes, 44 + 2 * i))));
  };
  EXPECT_LT(sampleAt(0), 200) << "starts from silence";
  EXPECT_LT(sampleAt(count - 1), 200) << "ends in silence";
}

}  // namespace
}  // namespace cv
