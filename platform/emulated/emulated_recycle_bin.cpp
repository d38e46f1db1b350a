#include "platform/emulated/emulated_recycle_bin.h"

namespace cv::emulated {

Status EmulatedRecycleBin::Recycle(std::string_view file) {
  const auto entry = files_.Stat(file);
  if (!entry) return kErrFileNotFound;
  // The shell's delete takes read-only files too.
  const Status status = files_.DeleteFile(file, true);
  if (status == kOk) recycled.push_back(entry->path);
  return status;
}

}  // namespace cv::emulated
