#pragma once
// The native file-system fixture, with its EmulatedFileSystem exposed for
// tests of the mapping itself.
#include <filesystem>
#include <memory>

#include "platform/emulated/emulated_filesystem.h"
#include "test_filesystem.h"

namespace cv::test {

class EmulatedFileSystemFixture : public FileSystemFixture {
 public:
  virtual emulated::EmulatedFileSystem& emulated() = 0;
  // The host folder that holds the drives (drive C: is HostRoot()/c).
  virtual const std::filesystem::path& HostRoot() const = 0;
};

std::unique_ptr<EmulatedFileSystemFixture> MakeEmulatedFileSystemFixture();

}  // namespace cv::test
