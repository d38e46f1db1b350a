#pragma once
// The file system of the native build: Windows paths mapped into one host
// folder ("C:\a\b" -> hostRoot/c/a/b), with Windows rules on top (names
// match without regard to case, attributes, read-only files, files held
// open by another program). Nothing outside the host folder is ever reached.
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/filesystem.h"

namespace cv::emulated {

class EmulatedFileSystem : public FileSystem {
 public:
  // Creates hostRoot/c, so drive C: exists; other drives exist when their
  // host folder does.
  explicit EmulatedFileSystem(std::filesystem::path hostRoot);

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
  // The host path (see HostPath).
  std::string NativePath(std::string_view path) override { return HostPath(path).string(); }

  // Test hooks.

  // Holds a file open without sharing, as another program can: while the
  // token lives the file cannot be read, written, renamed over or deleted
  // (kErrSharingViolation). The token may outlive the file system.
  class FileLock {
   public:
    FileLock() = default;
    FileLock(FileLock&&) noexcept = default;
    FileLock& operator=(FileLock&&) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();
    explicit operator bool() const { return locks_ != nullptr; }

   private:
    friend class EmulatedFileSystem;
    std::shared_ptr<std::multiset<std::string>> locks_;
    std::string key_;
  };
  // An empty token when the path does not name an existing file.
  FileLock LockFile(std::string_view path);

  // Called with the path of each sub-folder a walk is about to open, after
  // its parent was listed: a test can put something else in its place.
  void SetBeforeOpenSubFolder(std::function<void(const std::string& path)> hook) {
    beforeOpenSubFolder_ = std::move(hook);
  }

  // Relative paths resolve against this folder; it must exist.
  Status SetCurrentDirectory(std::string_view folder);
  const std::string& CurrentDirectory() const { return currentDirectory_; }
  // Normalised paths given to DeleteAtReboot, in call order.
  const std::vector<std::string>& PendingRebootDeletes() const { return rebootDeletes_; }
  // Where a Windows path lives on the host; empty when the path is refused.
  std::filesystem::path HostPath(std::string_view windowsPath);
  const std::filesystem::path& HostRoot() const { return hostRoot_; }

 private:
  // An open host file descriptor, closed when it goes.
  class HostFd {
   public:
    HostFd() = default;
    explicit HostFd(int fd) : fd_(fd) {}
    HostFd(HostFd&& other) noexcept : fd_(other.Release()) {}
    HostFd& operator=(HostFd&& other) noexcept;
    HostFd(const HostFd&) = delete;
    HostFd& operator=(const HostFd&) = delete;
    ~HostFd();
    int get() const { return fd_; }
    int Release();

   private:
    int fd_ = -1;
  };

  class DescriptorFolder;
  struct Resolved;
  Status Resolve(std::string_view path, Resolved& out);
  bool ResolvePlainFolders(char drive, const std::vector<std::string>& parts, Resolved& out);
  bool InsideRoot(const std::filesystem::path& hostPath) const;
  // "C:\a\b" for hostRoot/c/a/b; nullopt for a host path outside the drives.
  std::optional<std::string> WindowsPathOf(const std::filesystem::path& hostPath) const;
  // The identity of the host entry `st` whose real path is `real`.
  std::optional<FileIdentity> IdentityOf(const struct stat& st, const std::filesystem::path& real) const;
  std::optional<FileEntry> EntryFor(const Resolved& r);
  FileEntry MakeEntry(const struct stat& st, bool linkToFolder, std::string name, std::string path,
                      const std::function<std::string()>& key) const;
  std::uint32_t StoredAttributes(const std::string& key, bool isFolder) const;
  bool IsLocked(const std::string& key) const;
  // Lists the open folder `fd`, whose Windows path is `path` and host path `hostFolder`.
  bool ListDescriptor(int fd, const std::string& path, const std::string& hostFolder,
                      const std::function<void(const FileEntry&)>& visit);

  std::filesystem::path hostRoot_;  // canonical
  HostFd rootFd_;                   // hostRoot_, opened once: plain paths resolve below it
  std::string currentDirectory_ = "C:\\";
  // Attribute bits (read-only, hidden, system, archive) set through
  // SetAttributes, keyed by host path; entries without one use the default.
  std::map<std::string, std::uint32_t> attributes_;
  std::shared_ptr<std::multiset<std::string>> locks_ = std::make_shared<std::multiset<std::string>>();
  std::vector<std::string> rebootDeletes_;
  std::function<void(const std::string&)> beforeOpenSubFolder_;
  unsigned tempCounter_ = 0;  // names the temporary files of atomic writes
};

}  // namespace cv::emulated
