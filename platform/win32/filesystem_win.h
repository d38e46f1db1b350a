#pragma once
// The real file system through the Unicode Win32 calls, with "\\?\" paths so
// that paths longer than MAX_PATH work. Open folders work through their
// handles: entries are opened relative to them (NtCreateFile with a root
// directory, reparse points not followed) and deleted by handle.
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/filesystem.h"

namespace cv::win32 {

// Volume serial numbers by the root of a final path ("C:\", "\\server\share"),
// each asked once: asking a handle for its volume's serial costs milliseconds
// under Wine (a round trip to its mount manager), and every identity needs one.
class VolumeSerials {
 public:
  std::uint64_t Of(const std::wstring& root);

 private:
  std::mutex mutex_;
  std::map<std::wstring, std::uint64_t> serials_;
};

class Win32FileSystem : public FileSystem {
 public:
  std::optional<FileEntry> Stat(std::string_view path) override;
  std::optional<FileIdentity> Identify(std::string_view path, bool followFinalLink) override;
  std::unique_ptr<Folder> OpenFolder(std::string_view path) override;
  std::unique_ptr<Folder> OpenFolderItself(std::string_view path) override;
  bool ListFolder(std::string_view folder, const std::function<void(const FileEntry&)>& visit) override;
  using FileSystem::ReadFile;
  Status ReadFile(std::string_view path, std::string& out, std::uint64_t maxBytes) override;
  Status WriteFileAtomic(std::string_view path, std::string_view data) override;
  Status DeleteFile(std::string_view path, bool force) override;
  Status RemoveFolder(std::string_view path, bool force) override;
  Status CreateFolder(std::string_view path) override;
  Status SetAttributes(std::string_view path, std::uint32_t attributes) override;
  Status DeleteAtReboot(std::string_view path) override;

 private:
  std::unique_ptr<Folder> OpenFolderAt(std::string_view path, bool itself);

  unsigned tempCounter_ = 0;  // names the temporary files of atomic writes
  std::shared_ptr<VolumeSerials> serials_ = std::make_shared<VolumeSerials>();
};

}  // namespace cv::win32
