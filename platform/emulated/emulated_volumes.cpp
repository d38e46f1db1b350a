#include "platform/emulated/emulated_volumes.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>

namespace cv::emulated {
namespace fs = std::filesystem;

namespace {

std::string Fold(std::string_view path) {
  std::string out(path);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  while (out.size() > 3 && out.back() == '\\') out.pop_back();
  return out;
}

bool Below(const std::string& path, const std::string& folder) {
  return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                            (folder.back() == '\\' || path[folder.size()] == '\\'));
}

char DriveLetter(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' ? static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))) : 0;
}

}  // namespace

// Writes to the host file; a drive with a capacity is full when its files and
// what was appended since they were counted reach it.
class EmulatedVolumes::HostStreamFile : public StreamFile {
 public:
  HostStreamFile(int fd, Drive* drive) : fd_(fd), drive_(drive) {}
  ~HostStreamFile() override { ::close(fd_); }

  Status Append(const void* data, std::size_t size) override {
    std::size_t room = size;
    if (drive_) {
      const std::uint64_t used = drive_->counted + drive_->appended;
      room = used >= drive_->capacity
                 ? 0
                 : static_cast<std::size_t>(std::min<std::uint64_t>(size, drive_->capacity - used));
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t done = 0; done < room;) {
      const ssize_t wrote = ::write(fd_, bytes + done, room - done);
      if (wrote < 0) {
        if (errno == EINTR) continue;
        return errno == ENOSPC || errno == EDQUOT ? kErrDiskFull : kErrAccessDenied;
      }
      done += static_cast<std::size_t>(wrote);
      if (drive_) drive_->appended += static_cast<std::uint64_t>(wrote);
    }
    return room < size ? kErrDiskFull : kOk;
  }

  Status Flush() override {
    if (::fsync(fd_) == 0) return kOk;
    return errno == ENOSPC || errno == EDQUOT ? kErrDiskFull : kErrAccessDenied;
  }

 private:
  int fd_;
  Drive* drive_;
};

void EmulatedVolumes::SetCapacity(char letter, std::uint64_t capacity) {
  Drive& drive = drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))];
  drive.capacity = capacity;
}

void EmulatedVolumes::MountHostVolume(std::string_view folder) { mounts_.push_back(Fold(folder)); }

std::vector<std::string> EmulatedVolumes::LocalDrives() {
  std::vector<std::string> roots;
  for (const auto& [letter, drive] : drives_) roots.push_back(std::string(1, letter) + ":\\");
  return roots;
}

std::string EmulatedVolumes::MountOf(std::string_view path) const {
  const std::string folded = Fold(path);
  std::string best;
  for (const std::string& mount : mounts_) {
    if (Below(folded, mount) && mount.size() > best.size()) best = mount;
  }
  return best;
}

EmulatedVolumes::Drive* EmulatedVolumes::DriveOf(std::string_view path) {
  if (!MountOf(path).empty()) return nullptr;
  const auto found = drives_.find(DriveLetter(path));
  return found == drives_.end() ? nullptr : &found->second;
}

std::uint64_t EmulatedVolumes::CountUsed(char letter) {
  std::uint64_t used = 0;
  std::error_code ec;
  const fs::path root = files_.HostRoot() / std::string(1, static_cast<char>(std::tolower(letter)));
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code sizeError;
    if (it->is_regular_file(sizeError) && !it->is_symlink(sizeError)) {
      const auto size = it->file_size(sizeError);
      if (!sizeError) used += size;
    }
  }
  return used;
}

std::optional<VolumeSpace> EmulatedVolumes::Space(std::string_view path) {
  if (const std::string mount = MountOf(path); !mount.empty()) {
    struct statvfs st {};
    const fs::path host = files_.HostPath(mount);
    if (host.empty() || ::statvfs(host.c_str(), &st) != 0) return std::nullopt;
    return VolumeSpace{static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize,
                       static_cast<std::uint64_t>(st.f_blocks) * st.f_frsize};
  }
  const char letter = DriveLetter(path);
  Drive* drive = DriveOf(path);
  if (!drive) return std::nullopt;
  drive->counted = CountUsed(letter);
  drive->appended = 0;
  const std::uint64_t used = std::min(drive->counted, drive->capacity);
  return VolumeSpace{drive->capacity - used, drive->capacity};
}

Status EmulatedVolumes::CreateStreamFile(std::string_view path, std::unique_ptr<StreamFile>& file) {
  file.reset();
  Drive* drive = DriveOf(path);
  if (!drive && MountOf(path).empty()) return kErrPathNotFound;  // no volume the test made
  const fs::path host = files_.HostPath(path);
  if (host.empty()) return kErrPathNotFound;
  const int fd = ::open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) return kErrAlreadyExists;
    if (errno == ENOSPC || errno == EDQUOT) return kErrDiskFull;
    return errno == ENOENT ? kErrPathNotFound : kErrAccessDenied;
  }
  file = std::make_unique<HostStreamFile>(fd, drive);
  return kOk;
}

}  // namespace cv::emulated
