#pragma once
// A small ext2 disk image mounted through FUSE (fuse2fs), so a test can look
// at the blocks a file used after the program deleted it. Available where
// fuse2fs and /dev/fuse are (the tests skip otherwise).
#include <filesystem>
#include <string>
#include <string_view>

namespace cv::test {

class BlockImage {
 public:
  // Makes a fresh image of `megabytes` and mounts it on the existing empty
  // folder `mountPoint`; Mounted() tells whether it worked.
  BlockImage(int megabytes, std::filesystem::path mountPoint);
  ~BlockImage();
  BlockImage(const BlockImage&) = delete;
  BlockImage& operator=(const BlockImage&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Why() const { return why_; }
  const std::filesystem::path& MountPoint() const { return mountPoint_; }
  // Unmounts (everything written reaches the image) and tells whether the
  // image holds `bytes` anywhere in its blocks.
  bool ImageContains(std::string_view bytes);

 private:
  bool Unmount();

  std::filesystem::path folder_;
  std::filesystem::path image_;
  std::filesystem::path mountPoint_;
  bool mounted_ = false;
  std::string why_;
};

}  // namespace cv::test
