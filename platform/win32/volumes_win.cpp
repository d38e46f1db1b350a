#include "platform/win32/volumes_win.h"

#include <algorithm>

#include "platform/win32/text_win.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win.h"

namespace cv::win32 {
namespace {

Status LastStatus() { return static_cast<Status>(::GetLastError()); }

Status DiskFullOr(Status status) {
  return status == ERROR_DISK_FULL || status == ERROR_HANDLE_DISK_FULL ? kErrDiskFull : status;
}

class HandleStreamFile : public StreamFile {
 public:
  explicit HandleStreamFile(UniqueFileHandle file) : file_(std::move(file)) {}

  Status Append(const void* data, std::size_t size) override {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t done = 0; done < size;) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
      DWORD wrote = 0;
      if (!::WriteFile(file_.get(), bytes + done, chunk, &wrote, nullptr)) return DiskFullOr(LastStatus());
      if (wrote == 0) return kErrDiskFull;
      done += wrote;
    }
    return kOk;
  }

  Status Flush() override { return ::FlushFileBuffers(file_.get()) ? kOk : DiskFullOr(LastStatus()); }

 private:
  UniqueFileHandle file_;
};

}  // namespace

std::vector<std::string> Win32Volumes::LocalDrives() {
  std::vector<std::string> roots;
  const DWORD mask = ::GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    const std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
    const UINT type = ::GetDriveTypeW(Widen(root).c_str());
    if (type == DRIVE_FIXED || type == DRIVE_REMOVABLE) roots.push_back(root);
  }
  return roots;
}

std::optional<VolumeSpace> Win32Volumes::Space(std::string_view path) {
  std::wstring folder = Widen(path);
  if (folder.empty()) return std::nullopt;
  if (folder.back() != L'\\') folder += L'\\';
  ULARGE_INTEGER available{}, total{};
  if (!::GetDiskFreeSpaceExW(folder.c_str(), &available, &total, nullptr)) return std::nullopt;
  return VolumeSpace{available.QuadPart, total.QuadPart};
}

Status Win32Volumes::CreateStreamFile(std::string_view path, std::unique_ptr<StreamFile>& file) {
  file.reset();
  UniqueFileHandle handle(::CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!handle) return DiskFullOr(LastStatus());
  file = std::make_unique<HandleStreamFile>(std::move(handle));
  return kOk;
}

}  // namespace cv::win32
