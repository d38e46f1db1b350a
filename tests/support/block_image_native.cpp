#include "block_image_native.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

namespace cv::test {
namespace {

bool Run(const std::string& command) { return std::system(("{ " + command + "; } >/dev/null 2>&1").c_str()) == 0; }

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

}  // namespace

BlockImage::BlockImage(int megabytes, std::filesystem::path mountPoint) : mountPoint_(std::move(mountPoint)) {
  if (::access("/dev/fuse", R_OK | W_OK) != 0 || !Run("command -v fuse2fs && command -v mkfs.ext2")) {
    why_ = "fuse2fs, mkfs.ext2 or /dev/fuse is missing";
    return;
  }
  char pattern[] = "/tmp/clearvane-blocks.XXXXXX";
  if (!::mkdtemp(pattern)) {
    why_ = "no temporary folder";
    return;
  }
  folder_ = pattern;
  image_ = folder_ / "disk.img";
  // ext2: no journal, so file data is written in place and stays in its blocks.
  // hard_remove: the kernel tells FUSE of a close after the fact, so without it
  // a file deleted right after its close may be kept as ".fuse_hidden...".
  if (!Run("truncate -s " + std::to_string(megabytes) + "M " + Quoted(image_)) ||
      !Run("mkfs.ext2 -q -F " + Quoted(image_)) ||
      !Run("fuse2fs -o fakeroot,hard_remove " + Quoted(image_) + " " + Quoted(mountPoint_))) {
    why_ = "the image could not be made or mounted";
    return;
  }
  mounted_ = true;
}

BlockImage::~BlockImage() {
  Unmount();
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

bool BlockImage::Unmount() {
  if (!mounted_) return true;
  mounted_ = !(Run("fusermount3 -u " + Quoted(mountPoint_)) || Run("fusermount -u " + Quoted(mountPoint_)) ||
               Run("umount " + Quoted(mountPoint_)));
  // The unmount returns before fuse2fs has written its last blocks and ended:
  // the image is complete only once the process is gone.
  for (int i = 0; i < 200 && Run("pgrep -f " + Quoted("fuse2fs .*" + image_.string())); ++i) ::usleep(50000);
  return !mounted_;
}

bool BlockImage::ImageContains(std::string_view bytes) {
  Unmount();
  std::ifstream in(image_, std::ios::binary);
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return content.find(bytes) != std::string::npos;
}

}  // namespace cv::test
