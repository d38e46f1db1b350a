#pragma once
#include "platform/recycle_bin.h"

namespace cv::win32 {

// SHFileOperation with FO_DELETE and "allow undo"; no owner window.
class Win32RecycleBin : public RecycleBin {
 public:
  Status Recycle(std::string_view file) override;
};

}  // namespace cv::win32
