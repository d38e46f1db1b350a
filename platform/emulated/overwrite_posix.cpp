#include "platform/emulated/overwrite_posix.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <vector>

namespace cv::emulated {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

bool FillRandom(std::vector<unsigned char>& buffer) {
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t got = ::getrandom(buffer.data() + done, buffer.size() - done, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(got);
  }
  return true;
}

bool WritePass(int fd, off_t size, std::vector<unsigned char>& buffer) {
  for (off_t offset = 0; offset < size;) {
    const std::size_t chunk =
        static_cast<std::size_t>(std::min<off_t>(size - offset, static_cast<off_t>(buffer.size())));
    if (!FillRandom(buffer)) return false;
    const ssize_t wrote = ::pwrite(fd, buffer.data(), chunk, offset);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    offset += wrote;
  }
  return ::fsync(fd) == 0;
}

// A name of hex digits that is not taken yet in the folder.
std::string FreeRandomName(int folder) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::array<unsigned char, 8> bytes{};
    if (::getrandom(bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) continue;
    std::string name;
    char hex[3];
    for (unsigned char b : bytes) {
      std::snprintf(hex, sizeof hex, "%02x", b);
      name += hex;
    }
    name += ".tmp";
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT) return name;
  }
  return {};
}

}  // namespace

OverwriteResult OverwriteFileAt(int folder, std::string_view name, int passes, std::string& renamedTo) {
  const std::string leaf(name);
  Descriptor file(::openat(folder, leaf.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) {
    struct stat st {};
    const bool isLink = ::fstatat(folder, leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
    return isLink ? OverwriteResult::kLink : OverwriteResult::kFailed;
  }
  struct stat st {};
  if (::fstat(file.get(), &st) != 0) return OverwriteResult::kFailed;
  // Another name still needs these bytes; a sparse file's holes hold nothing to hide.
  if (!S_ISREG(st.st_mode)) return OverwriteResult::kFailed;
  if (st.st_nlink != 1) return OverwriteResult::kHardLink;
  if (st.st_blocks * 512 < st.st_size) return OverwriteResult::kSparse;

  std::vector<unsigned char> buffer(std::min<off_t>(std::max<off_t>(st.st_size, 1), 1 << 20));
  passes = std::clamp(passes, 1, kOverwritePassLimit);
  for (int pass = 0; pass < passes; ++pass) {
    if (!WritePass(file.get(), st.st_size, buffer)) return OverwriteResult::kFailed;
  }
  // The old name goes before the emptied file does, so no trace of it stays in the folder.
  std::string random = FreeRandomName(folder);
  if (!random.empty() && ::renameat(folder, leaf.c_str(), folder, random.c_str()) == 0) {
    renamedTo = std::move(random);
  } else {
    renamedTo = leaf;
  }
  // The content is already gone; a failed truncation changes nothing for the caller.
  if (::ftruncate(file.get(), 0) == 0) ::fsync(file.get());
  return OverwriteResult::kOverwritten;
}

}  // namespace cv::emulated
