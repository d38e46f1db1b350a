#pragma once
// Moving single files into the Recycle Bin.
#include <string_view>

#include "platform/status.h"

namespace cv {

class RecycleBin {
 public:
  virtual ~RecycleBin() = default;
  // Moves one file into the Recycle Bin without confirmation, progress or
  // error dialog. kOk only when the file is gone from its folder.
  virtual Status Recycle(std::string_view file) = 0;
};

}  // namespace cv
