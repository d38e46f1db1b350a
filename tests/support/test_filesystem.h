#pragma once
// A sandbox folder on the platform's file system, for any suite: natively an
// EmulatedFileSystem over a fresh host temporary folder, on Windows a fresh
// folder under %TEMP% on the real disk. Everything goes when the fixture does.
// The helpers work beside the file system under test (host calls natively,
// plain Win32 calls on Windows), so a suite can set up what it then checks.
#include <memory>
#include <string>
#include <string_view>

#include "platform/filesystem.h"

namespace cv::test {

// A file held open without sharing (as by another program) while this lives.
class FileLockToken {
 public:
  virtual ~FileLockToken() = default;
};

class FileSystemFixture {
 public:
  virtual ~FileSystemFixture() = default;

  virtual FileSystem& fs() = 0;
  // The fresh, empty folder, as a full Windows path without trailing backslash.
  virtual std::string Root() const = 0;

  // Each helper reports a test failure and returns false (or null) when it fails.
  virtual bool WriteFile(std::string_view path, std::string_view bytes) = 0;
  virtual bool MakeFolder(std::string_view path) = 0;
  // A folder link: a symbolic link natively, a junction on Windows. Wine 8
  // can create neither (no FSCTL_SET_REPARSE_POINT, CreateSymbolicLinkW a
  // no-op), so suites skip link cases where SupportsFolderLinks() is false.
  virtual bool SupportsFolderLinks() = 0;
  virtual bool MakeFolderLink(std::string_view link, std::string_view target) = 0;
  virtual std::unique_ptr<FileLockToken> LockFile(std::string_view path) = 0;
  virtual bool SetReadOnly(std::string_view path) = 0;

  // Root() + "\" + relative.
  std::string Path(std::string_view relative) const { return Root() + "\\" + std::string(relative); }
};

std::unique_ptr<FileSystemFixture> MakeFileSystemFixture();

}  // namespace cv::test
