#pragma once
#include "platform/office.h"

namespace cv::win32 {

// Starts the word processor through COM automation ("Word.Application.8"),
// reads its "Version" and tells it to quit.
class Win32OfficeDetector : public OfficeDetector {
 public:
  std::optional<std::string> WordVersion() override;
};

}  // namespace cv::win32
