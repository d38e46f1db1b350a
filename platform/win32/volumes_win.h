#pragma once
// The volume service on Windows: GetLogicalDrives, GetDiskFreeSpaceEx and
// files written through a handle.
#include "platform/volume.h"

namespace cv::win32 {

class Win32Volumes : public Volumes {
 public:
  std::vector<std::string> LocalDrives() override;
  std::optional<VolumeSpace> Space(std::string_view path) override;
  Status CreateStreamFile(std::string_view path, std::unique_ptr<StreamFile>& file) override;
};

}  // namespace cv::win32
