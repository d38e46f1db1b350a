#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/fso.h"
#include "platform/win32/filesystem_win.h"
#include "platform/win32/text_win.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win.h"
#include "test_filesystem.h"

#include <winioctl.h>

namespace cv::test {
namespace {

using win32::LongPath;
using win32::UniqueFileHandle;

class Win32Lock : public FileLockToken {
 public:
  explicit Win32Lock(UniqueFileHandle file) : file_(std::move(file)) {}

 private:
  UniqueFileHandle file_;
};

std::string MakeTempRoot() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
  std::wstring base(temp, n);
  while (!base.empty() && base.back() == L'\\') base.pop_back();
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    const std::wstring candidate = base + L"\\cv-fs-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(::GetTickCount64() % 100000) + L"-" + std::to_wstring(attempt);
    if (::CreateDirectoryW(candidate.c_str(), nullptr)) return win32::Narrow(candidate);
  }
  ADD_FAILURE() << "cannot create a temporary folder";
  return {};
}

// The mount-point form of the reparse data (a junction), as the I/O system
// takes it: both names follow the header, each NUL-terminated.
bool SetJunction(const std::wstring& link, const std::wstring& target) {
  const std::wstring substitute = L"\\??\\" + target;
  const std::wstring print = target;
  const size_t substituteBytes = substitute.size() * sizeof(wchar_t);
  const size_t printBytes = print.size() * sizeof(wchar_t);
  const size_t pathBytes = substituteBytes + sizeof(wchar_t) + printBytes + sizeof(wchar_t);
  const size_t headerBytes = 8;       // tag, data length, reserved
  const size_t mountHeaderBytes = 8;  // four name offsets and lengths
  std::vector<unsigned char> buffer(headerBytes + mountHeaderBytes + pathBytes, 0);
  const auto put16 = [&](size_t at, size_t value) {
    const auto v = static_cast<USHORT>(value);
    std::memcpy(buffer.data() + at, &v, sizeof v);
  };
  const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
  std::memcpy(buffer.data(), &tag, sizeof tag);
  put16(4, mountHeaderBytes + pathBytes);
  put16(8, 0);                                   // substitute name offset
  put16(10, substituteBytes);                    // substitute name length
  put16(12, substituteBytes + sizeof(wchar_t));  // print name offset
  put16(14, printBytes);                         // print name length
  std::memcpy(buffer.data() + 16, substitute.data(), substituteBytes);
  std::memcpy(buffer.data() + 16 + substituteBytes + sizeof(wchar_t), print.data(), printBytes);

  UniqueFileHandle handle(::CreateFileW(LongPath(win32::Narrow(link)).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle) return false;
  DWORD returned = 0;
  return ::DeviceIoControl(handle.get(), FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                           nullptr, 0, &returned, nullptr) != 0;
}

class Win32Fixture : public FileSystemFixture {
 public:
  Win32Fixture() : root_(MakeTempRoot()) {}
  ~Win32Fixture() override {
    // Locks are gone by now; force takes read-only files, and links inside
    // are removed as links.
    if (!root_.empty()) FileSystemObject(fs_).DeleteFolder(root_, true);
  }

  FileSystem& fs() override { return fs_; }
  std::string Root() const override { return root_; }

  bool WriteFile(std::string_view path, std::string_view bytes) override {
    UniqueFileHandle file(::CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
      ADD_FAILURE() << "cannot write " << path << " (error " << ::GetLastError() << ")";
      return false;
    }
    return true;
  }

  bool MakeFolder(std::string_view path) override {
    if (!::CreateDirectoryW(LongPath(path).c_str(), nullptr)) {
      ADD_FAILURE() << "cannot create folder " << path << " (error " << ::GetLastError() << ")";
      return false;
    }
    return true;
  }

  bool SupportsFolderLinks() override {
    if (!linksProbed_) {
      linksProbed_ = true;
      const std::string target = root_ + "\\probe-target", link = root_ + "\\probe-link";
      linksWork_ = ::CreateDirectoryW(LongPath(target).c_str(), nullptr) && CreateLink(link, target);
      ::RemoveDirectoryW(LongPath(link).c_str());
      ::RemoveDirectoryW(LongPath(target).c_str());
    }
    return linksWork_;
  }

  bool MakeFolderLink(std::string_view link, std::string_view target) override {
    if (CreateLink(link, target)) return true;
    ADD_FAILURE() << "cannot link " << link << " to " << target << " (error " << ::GetLastError() << ")";
    return false;
  }

  // A junction first (what Windows itself uses for its profile links); a
  // directory symbolic link where the junction call is not supported. Only a
  // link that then reports itself as a reparse point counts.
  static bool CreateLink(std::string_view link, std::string_view target) {
    const std::wstring wideLink = win32::Widen(link);
    const std::wstring wideTarget = win32::Widen(target);
    if (::CreateDirectoryW(LongPath(link).c_str(), nullptr)) {
      if (SetJunction(wideLink, wideTarget)) return true;
      ::RemoveDirectoryW(LongPath(link).c_str());
    }
    constexpr DWORD kDirectory = 0x1, kUnprivileged = 0x2;
    if (::CreateSymbolicLinkW(wideLink.c_str(), wideTarget.c_str(), kDirectory | kUnprivileged) ||
        ::CreateSymbolicLinkW(wideLink.c_str(), wideTarget.c_str(), kDirectory)) {
      const DWORD attributes = ::GetFileAttributesW(LongPath(link).c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    }
    return false;
  }

  std::unique_ptr<FileLockToken> LockFile(std::string_view path) override {
    UniqueFileHandle file(
        ::CreateFileW(LongPath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      ADD_FAILURE() << "cannot lock " << path << " (error " << ::GetLastError() << ")";
      return nullptr;
    }
    return std::make_unique<Win32Lock>(std::move(file));
  }

  bool SetReadOnly(std::string_view path) override {
    const std::wstring wide = LongPath(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        !::SetFileAttributesW(wide.c_str(), attributes | FILE_ATTRIBUTE_READONLY)) {
      ADD_FAILURE() << "cannot make " << path << " read-only (error " << ::GetLastError() << ")";
      return false;
    }
    return true;
  }

 private:
  std::string root_;
  win32::Win32FileSystem fs_;
  bool linksProbed_ = false;
  bool linksWork_ = false;
};

}  // namespace

std::unique_ptr<FileSystemFixture> MakeFileSystemFixture() { return std::make_unique<Win32Fixture>(); }

}  // namespace cv::test
