#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <system_error>

#include "test_filesystem_emulated.h"

namespace cv::test {
namespace {

namespace fs = std::filesystem;

class EmulatedLock : public FileLockToken {
 public:
  explicit EmulatedLock(emulated::EmulatedFileSystem::FileLock lock) : lock_(std::move(lock)) {}

 private:
  emulated::EmulatedFileSystem::FileLock lock_;
};

fs::path MakeHostSandbox() {
  std::string pattern = (fs::temp_directory_path() / "cv-fs-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
    return {};
  }
  return pattern;
}

class NativeFixture : public EmulatedFileSystemFixture {
 public:
  NativeFixture() : sandbox_(MakeHostSandbox()), fs_(sandbox_) {
    if (fs_.CreateFolder(kRoot) != kOk) ADD_FAILURE() << "cannot create " << kRoot;
  }
  ~NativeFixture() override {
    std::error_code ec;
    if (!sandbox_.empty()) fs::remove_all(sandbox_, ec);  // removes links, never what they point to
  }

  FileSystem& fs() override { return fs_; }
  emulated::EmulatedFileSystem& emulated() override { return fs_; }
  const fs::path& HostRoot() const override { return fs_.HostRoot(); }
  std::string Root() const override { return kRoot; }

  bool WriteFile(std::string_view path, std::string_view bytes) override {
    const fs::path host = fs_.HostPath(path);
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (host.empty() || !out) {
      ADD_FAILURE() << "cannot write " << path;
      return false;
    }
    return true;
  }

  bool MakeFolder(std::string_view path) override {
    std::error_code ec;
    const fs::path host = fs_.HostPath(path);
    if (host.empty() || !fs::create_directory(host, ec)) {
      ADD_FAILURE() << "cannot create folder " << path << ": " << ec.message();
      return false;
    }
    return true;
  }

  bool SupportsFolderLinks() override { return true; }

  bool MakeFolderLink(std::string_view link, std::string_view target) override {
    std::error_code ec;
    const fs::path hostLink = fs_.HostPath(link);
    const fs::path hostTarget = fs_.HostPath(target);
    if (hostLink.empty() || hostTarget.empty()) {
      ADD_FAILURE() << "cannot map " << link << " or " << target;
      return false;
    }
    fs::create_directory_symlink(hostTarget, hostLink, ec);
    if (ec) {
      ADD_FAILURE() << "cannot link " << link << " to " << target << ": " << ec.message();
      return false;
    }
    return true;
  }

  std::unique_ptr<FileLockToken> LockFile(std::string_view path) override {
    auto lock = fs_.LockFile(path);
    if (!lock) {
      ADD_FAILURE() << "cannot lock " << path;
      return nullptr;
    }
    return std::make_unique<EmulatedLock>(std::move(lock));
  }

  bool SetReadOnly(std::string_view path) override {
    const auto entry = fs_.Stat(path);
    const std::uint32_t kept = entry ? entry->attributes & (kAttrHidden | kAttrSystem | kAttrArchive) : 0;
    if (!entry || fs_.SetAttributes(path, kept | kAttrReadOnly) != kOk) {
      ADD_FAILURE() << "cannot make " << path << " read-only";
      return false;
    }
    return true;
  }

 private:
  static constexpr const char* kRoot = "C:\\Sandbox";
  fs::path sandbox_;
  emulated::EmulatedFileSystem fs_;
};

}  // namespace

std::unique_ptr<EmulatedFileSystemFixture> MakeEmulatedFileSystemFixture() { return std::make_unique<NativeFixture>(); }

std::unique_ptr<FileSystemFixture> MakeFileSystemFixture() { return MakeEmulatedFileSystemFixture(); }

}  // namespace cv::test
