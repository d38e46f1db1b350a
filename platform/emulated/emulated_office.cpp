#include "platform/emulated/emulated_office.h"

namespace cv::emulated {

std::optional<std::string> EmulatedOffice::WordVersion() {
  ++queries;
  return version;
}

}  // namespace cv::emulated
