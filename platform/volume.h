#pragma once
// The volume service: the drives a user may pick, their free space, and
// files written piece by piece (for filling a drive's free space, which no
// whole-file write could do).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace cv {

struct VolumeSpace {
  std::uint64_t freeBytes = 0;  // free to the calling user
  std::uint64_t totalBytes = 0;
};

// A new file open for writing; closed (and kept) when destroyed.
class StreamFile {
 public:
  virtual ~StreamFile() = default;
  // Appends `size` bytes. kErrDiskFull when the volume has no room for all
  // of them (what fitted may have been written).
  virtual Status Append(const void* data, std::size_t size) = 0;
  // Everything appended reaches the disk.
  virtual Status Flush() = 0;
};

class Volumes {
 public:
  virtual ~Volumes() = default;
  // Roots of the local fixed and removable drives ("C:\", "D:\"), in order.
  virtual std::vector<std::string> LocalDrives() = 0;
  // The space of the volume holding `path`; nullopt when unknown.
  virtual std::optional<VolumeSpace> Space(std::string_view path) = 0;
  // Creates the file `path`, which must not exist yet. On failure `file` is
  // left empty.
  virtual Status CreateStreamFile(std::string_view path, std::unique_ptr<StreamFile>& file) = 0;
};

}  // namespace cv
