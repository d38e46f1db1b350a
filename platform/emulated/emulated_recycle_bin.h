#pragma once
// The Recycle Bin of the native build: a recycled file leaves its folder
// through the file system's delete and its path is kept here in order.
#include <string>
#include <vector>

#include "platform/filesystem.h"
#include "platform/recycle_bin.h"

namespace cv::emulated {

class EmulatedRecycleBin : public RecycleBin {
 public:
  explicit EmulatedRecycleBin(FileSystem& files) : files_(files) {}
  Status Recycle(std::string_view file) override;

  std::vector<std::string> recycled;  // paths of the files moved in, in order

 private:
  FileSystem& files_;
};

}  // namespace cv::emulated
