#pragma once
// The volume service of the native build, over an EmulatedFileSystem. A
// drive's space is what the test gives it: a capacity, of which the files
// below the drive leave the rest free (the host disk is never reported, so
// nothing ever fills it), or a real volume mounted in a folder (a disk image),
// whose space and disk-full come from the host.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/emulated/emulated_filesystem.h"
#include "platform/volume.h"

namespace cv::emulated {

class EmulatedVolumes : public Volumes {
 public:
  explicit EmulatedVolumes(EmulatedFileSystem& files) : files_(files) {}

  // Drive `letter` holds `capacity` bytes.
  void SetCapacity(char letter, std::uint64_t capacity);
  // The existing folder `folder` is the mount point of a host volume.
  void MountHostVolume(std::string_view folder);

  std::vector<std::string> LocalDrives() override;
  std::optional<VolumeSpace> Space(std::string_view path) override;
  Status CreateStreamFile(std::string_view path, std::unique_ptr<StreamFile>& file) override;

 private:
  class HostStreamFile;
  struct Drive {
    std::uint64_t capacity = 0;
    std::uint64_t appended = 0;  // by stream files since the last count of what is used
    std::uint64_t counted = 0;   // bytes of the files below the drive at that count
  };
  // The mount folder (normalised) holding `path`; empty when none does.
  std::string MountOf(std::string_view path) const;
  Drive* DriveOf(std::string_view path);
  std::uint64_t CountUsed(char letter);

  EmulatedFileSystem& files_;
  std::map<char, Drive> drives_;
  std::vector<std::string> mounts_;
};

}  // namespace cv::emulated
