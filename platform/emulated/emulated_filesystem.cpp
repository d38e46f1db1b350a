#include "platform/emulated/emulated_filesystem.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <system_error>
#include <utility>

#include "platform/emulated/overwrite_posix.h"
#include "platform/text.h"

namespace cv::emulated {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kStoredBits = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
constexpr std::int64_t kUnixEpochAsFiletime = 116444736000000000LL;

class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded (it can report a write error).
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

Status FromErrno(int error, Status whenMissing = kErrFileNotFound) {
  switch (error) {
    case 0:
      return kOk;
    case ENOENT:
      return whenMissing;
    case ENOTDIR:
      return kErrPathNotFound;
    case EEXIST:
      return kErrAlreadyExists;
    case ENOTEMPTY:
      return kErrDirNotEmpty;
    case ENAMETOOLONG:
      return kErrFilenameTooLong;
    case ENOSPC:
      return kErrDiskFull;
    case EISDIR:
      return kErrAccessDenied;
    default:
      return kErrAccessDenied;
  }
}

// Characters Windows does not allow in a file name.
bool IsValidName(std::string_view name) {
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || ch == '<' || ch == '>' || ch == ':' || ch == '"' || ch == '|' || ch == '?' || ch == '*' ||
        ch == '\\' || ch == '/')
      return false;
  }
  return !name.empty();
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char UpperDrive(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerDrive(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string JoinWindows(const std::string& folder, std::string_view name) {
  std::string out = folder;
  if (out.empty() || out.back() != '\\') out += '\\';
  out += name;
  return out;
}

std::optional<struct stat> LinkStat(const fs::path& p) {
  struct stat st {};
  if (::lstat(p.c_str(), &st) != 0) return std::nullopt;
  return st;
}

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// Opens `relative` below the folder `from` as a folder, only when each of its
// components is a real folder spelled exactly so: no link is followed and
// nothing above `from` is reached. -1 otherwise.
int OpenPlainFolder(int from, const std::string& relative) {
  struct open_how how {};
  how.flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
  const long fd = ::syscall(SYS_openat2, from, relative.c_str(), &how, sizeof how);
  if (fd >= 0 || errno != ENOSYS) return static_cast<int>(fd);
  // Kernels before 5.6: one component at a time, none of them a link.
  int current = -1;
  size_t start = 0;
  while (start <= relative.size()) {
    size_t end = relative.find('/', start);
    if (end == std::string::npos) end = relative.size();
    const std::string part = relative.substr(start, end - start);
    start = end + 1;
    const int next =
        ::openat(current < 0 ? from : current, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (current >= 0) ::close(current);
    if (next < 0) return -1;
    current = next;
  }
  return current;
}

// The name of the entry of the open folder `folder` whose name matches
// `wanted` without regard to case; nullopt when there is none.
std::optional<std::string> FindFolded(int folder, std::string_view wanted) {
  const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  DirHandle dir(::fdopendir(fd));
  if (!dir) {
    ::close(fd);
    return std::nullopt;
  }
  const auto folded = FoldCase(wanted);
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (FoldsTo(name, folded)) return std::string(name);
  }
  return std::nullopt;
}

// Longest host path text handed to the kernel at once (it refuses paths over
// 4096 bytes); deeper folders are opened in steps.
constexpr size_t kMaxRelativePath = 2048;

}  // namespace

EmulatedFileSystem::HostFd& EmulatedFileSystem::HostFd::operator=(HostFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.Release();
  }
  return *this;
}

EmulatedFileSystem::HostFd::~HostFd() {
  if (fd_ >= 0) ::close(fd_);
}

int EmulatedFileSystem::HostFd::Release() { return std::exchange(fd_, -1); }

// Where a Windows path lives. When every folder on the way is a plain host
// folder spelled exactly as given, `folder` is that folder, opened, and
// `leaf` the host name of the last component inside it: operations then act
// relative to it, with no path walk by name and no host path length limit.
// Otherwise `folder` is closed and operations use `host`.
struct EmulatedFileSystem::Resolved {
  std::string path;          // normalised Windows path ("C:\a\b", "C:\" for a root)
  std::string name;          // its last component as the caller spelled it; empty for a root
  fs::path host;             // where it lives; links on the way are inside the host root
  bool parentFound = false;  // the folder that would hold it exists
  bool isRoot = false;
  HostFd folder;
  std::string leaf;
  std::optional<struct stat> leafStat;  // the leaf's own status, when read by the lookup

  bool Relative() const { return folder.get() >= 0; }
  std::optional<struct stat> LinkStat() const {
    if (!Relative()) return cv::emulated::LinkStat(host);
    if (leafStat) return leafStat;  // read by this same call: no second look
    struct stat st {};
    if (::fstatat(folder.get(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return st;
  }
  // Whether the entry, followed if it is a link, is a folder.
  bool LeadsToFolder() const {
    struct stat st {};
    const int rc = Relative() ? ::fstatat(folder.get(), leaf.c_str(), &st, 0) : ::stat(host.c_str(), &st);
    return rc == 0 && S_ISDIR(st.st_mode);
  }
  int Unlink() const { return Relative() ? ::unlinkat(folder.get(), leaf.c_str(), 0) : ::unlink(host.c_str()); }
  int RemoveDir() const {
    return Relative() ? ::unlinkat(folder.get(), leaf.c_str(), AT_REMOVEDIR) : ::rmdir(host.c_str());
  }
  int MakeDir() const { return Relative() ? ::mkdirat(folder.get(), leaf.c_str(), 0755) : ::mkdir(host.c_str(), 0755); }
};

EmulatedFileSystem::FileLock& EmulatedFileSystem::FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    // Releases the lock held so far; the members stay alive to be assigned.
    if (locks_) {
      auto it = locks_->find(key_);
      if (it != locks_->end()) locks_->erase(it);
    }
    locks_ = std::move(other.locks_);
    key_ = std::move(other.key_);
  }
  return *this;
}

EmulatedFileSystem::FileLock::~FileLock() {
  if (!locks_) return;
  auto it = locks_->find(key_);
  if (it != locks_->end()) locks_->erase(it);
  locks_.reset();
}

EmulatedFileSystem::EmulatedFileSystem(fs::path hostRoot) {
  std::error_code ec;
  fs::create_directories(hostRoot, ec);
  hostRoot_ = fs::weakly_canonical(hostRoot, ec);
  if (ec) hostRoot_ = fs::absolute(hostRoot);
  fs::create_directory(hostRoot_ / "c", ec);
  rootFd_ = HostFd(::open(hostRoot_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

bool EmulatedFileSystem::InsideRoot(const fs::path& hostPath) const {
  std::error_code ec;
  const fs::path real = fs::canonical(hostPath, ec);
  if (ec) return false;
  auto rootIt = hostRoot_.begin();
  auto it = real.begin();
  for (; rootIt != hostRoot_.end(); ++rootIt, ++it)
    if (it == real.end() || *it != *rootIt) return false;
  return true;
}

// Turns a Windows path into its normalised form and host location. Each
// component is looked up by its exact name first, then by a case-insensitive
// scan of the folder; components past the first missing one are kept as given.
Status EmulatedFileSystem::Resolve(std::string_view input, Resolved& out) {
  std::string p(input);
  for (char& c : p)
    if (c == '/') c = '\\';
  if (p.empty()) return kErrPathNotFound;
  if (p.find('\0') != std::string::npos) return kErrInvalidName;

  bool literal = false;  // the "\\?\" form keeps trailing dots and spaces
  if (p.rfind("\\\\?\\", 0) == 0) {
    p.erase(0, 4);
    if (p.size() < 2 || !IsDriveLetter(p[0]) || p[1] != ':' || (p.size() > 2 && p[2] != '\\')) return kErrBadPathname;
    literal = true;
  } else if (p.rfind("\\\\", 0) == 0) {
    return kErrBadPathname;  // UNC shares and device paths are not part of this world
  }

  char drive = currentDirectory_[0];
  std::string text;  // what follows the drive root
  if (p.size() >= 2 && IsDriveLetter(p[0]) && p[1] == ':') {
    drive = UpperDrive(p[0]);
    std::string rest = p.substr(2);
    if (!rest.empty() && rest[0] == '\\')
      text = rest;
    else if (drive == currentDirectory_[0])
      text = currentDirectory_.substr(2) + "\\" + rest;
    else
      text = rest;
  } else if (p[0] == '\\') {
    text = p;
  } else {
    text = currentDirectory_.substr(2) + "\\" + p;
  }

  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\\', start);
    if (end == std::string::npos) end = text.size();
    std::string part = text.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    if (!literal) {
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
      if (part.empty()) continue;
    }
    if (!IsValidName(part)) return kErrInvalidName;
    parts.push_back(std::move(part));
  }

  out = Resolved{};
  out.path = std::string(1, drive) + ":\\";
  for (size_t i = 0; i < parts.size(); ++i) out.path += (i ? "\\" : "") + parts[i];
  out.isRoot = parts.empty();
  out.name = parts.empty() ? std::string() : parts.back();

  if (ResolvePlainFolders(drive, parts, out)) return kOk;

  // Component by component, from the host path: case-insensitive matches
  // and links on the way.
  fs::path cur = hostRoot_ / std::string(1, LowerDrive(drive));
  const auto driveStat = LinkStat(cur);
  if (!driveStat || !S_ISDIR(driveStat->st_mode)) return kErrPathNotFound;

  bool found = true;
  for (size_t i = 0; i < parts.size(); ++i) {
    const bool last = i + 1 == parts.size();
    if (!found) {
      cur /= parts[i];
      continue;
    }
    fs::path next = cur / parts[i];
    auto st = LinkStat(next);
    if (!st) {
      const auto wanted = FoldCase(parts[i]);
      std::error_code ec;
      for (fs::directory_iterator it(cur, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string hostName = it->path().filename().string();
        if (FoldsTo(hostName, wanted)) {
          next = cur / hostName;
          st = LinkStat(next);
          break;
        }
      }
    }
    cur = std::move(next);
    if (last) {
      out.parentFound = true;
      break;
    }
    if (!st) {
      found = false;
      continue;
    }
    if (S_ISLNK(st->st_mode)) {
      // A folder link is followed on the way, as a junction is, but only
      // when it leads to a place inside the host root.
      if (!InsideRoot(cur)) return kErrAccessDenied;
      struct stat target {};
      if (::stat(cur.c_str(), &target) != 0 || !S_ISDIR(target.st_mode)) found = false;
    } else if (!S_ISDIR(st->st_mode)) {
      found = false;
    }
  }
  if (out.isRoot) out.parentFound = true;
  out.host = std::move(cur);
  return kOk;
}

// The common case in one step: the folders on the way exist as plain host
// folders spelled as given, so the folder holding the last component is
// opened directly (below the host root, no link followed). The last
// component is then looked up as Resolve does, exactly first, then without
// regard to case. False, with nothing set, when this does not apply.
bool EmulatedFileSystem::ResolvePlainFolders(char drive, const std::vector<std::string>& parts, Resolved& out) {
  if (parts.empty() || rootFd_.get() < 0) return false;
  HostFd opened;
  std::string relative(1, LowerDrive(drive));
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    if (relative.size() + 1 + parts[i].size() > kMaxRelativePath) {
      HostFd step(OpenPlainFolder(opened.get() >= 0 ? opened.get() : rootFd_.get(), relative));
      if (step.get() < 0) return false;
      opened = std::move(step);
      relative.clear();
    }
    if (!relative.empty()) relative += '/';
    relative += parts[i];
  }
  HostFd folder(OpenPlainFolder(opened.get() >= 0 ? opened.get() : rootFd_.get(), relative));
  if (folder.get() < 0) return false;

  std::string leaf = parts.back();
  struct stat st {};
  if (::fstatat(folder.get(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    out.leafStat = st;
  } else if (auto found = FindFolded(folder.get(), leaf)) {
    leaf = std::move(*found);
  }
  std::string host = hostRoot_.string();
  host += '/';
  host += LowerDrive(drive);
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    host += '/';
    host += parts[i];
  }
  host += '/';
  host += leaf;
  out.host = std::move(host);
  out.parentFound = true;
  out.folder = std::move(folder);
  out.leaf = std::move(leaf);
  return true;
}

std::uint32_t EmulatedFileSystem::StoredAttributes(const std::string& key, bool isFolder) const {
  auto it = attributes_.find(key);
  if (it == attributes_.end()) return isFolder ? 0 : kAttrArchive;
  return it->second;
}

bool EmulatedFileSystem::IsLocked(const std::string& key) const { return locks_->count(key) > 0; }

// `st` is the entry's own status (links not followed); `key` gives its host
// path, asked only when some attributes are stored.
FileEntry EmulatedFileSystem::MakeEntry(const struct stat& st, bool linkToFolder, std::string name, std::string path,
                                        const std::function<std::string()>& key) const {
  FileEntry entry;
  entry.name = std::move(name);
  entry.path = std::move(path);
  entry.modified =
      kUnixEpochAsFiletime + static_cast<std::int64_t>(st.st_mtim.tv_sec) * 10000000 + st.st_mtim.tv_nsec / 100;
  bool isFolder = S_ISDIR(st.st_mode);
  if (S_ISLNK(st.st_mode)) {
    isFolder = linkToFolder;
    entry.attributes |= kAttrReparsePoint;
  } else if (S_ISREG(st.st_mode)) {
    entry.size = static_cast<std::uint64_t>(st.st_size);
  }
  const std::uint32_t stored = attributes_.empty() ? (isFolder ? 0 : kAttrArchive) : StoredAttributes(key(), isFolder);
  if (isFolder) entry.attributes |= kAttrDirectory;
  entry.attributes |= stored;
  if (entry.attributes == 0) entry.attributes = kAttrNormal;
  return entry;
}

std::optional<FileEntry> EmulatedFileSystem::EntryFor(const Resolved& r) {
  const auto st = r.LinkStat();
  if (!st) return std::nullopt;
  const bool linkToFolder = S_ISLNK(st->st_mode) && r.LeadsToFolder();
  return MakeEntry(*st, linkToFolder, r.name, r.path, [&r] { return r.host.string(); });
}

std::optional<FileEntry> EmulatedFileSystem::Stat(std::string_view path) {
  Resolved r;
  if (Resolve(path, r) != kOk || !r.parentFound) return std::nullopt;
  return EntryFor(r);
}

std::optional<std::string> EmulatedFileSystem::WindowsPathOf(const fs::path& hostPath) const {
  const std::string root = hostRoot_.string() + '/';
  const std::string host = hostPath.string();
  if (host.compare(0, root.size(), root) != 0 || host.size() < root.size() + 1) return std::nullopt;
  const char drive = host[root.size()];
  if (!IsDriveLetter(drive) || (host.size() > root.size() + 1 && host[root.size() + 1] != '/')) return std::nullopt;
  std::string out = std::string(1, UpperDrive(drive)) + ":\\";
  std::string rest = host.size() > root.size() + 2 ? host.substr(root.size() + 2) : std::string();
  for (char& c : rest)
    if (c == '/') c = '\\';
  return out + rest;
}

std::optional<FileIdentity> EmulatedFileSystem::IdentityOf(const struct stat& st, const fs::path& real) const {
  auto windows = WindowsPathOf(real);
  if (!windows) return std::nullopt;
  FileIdentity id;
  id.volume = static_cast<std::uint64_t>(st.st_dev);
  id.idLow = static_cast<std::uint64_t>(st.st_ino);
  id.links = static_cast<std::uint32_t>(st.st_nlink);
  id.reparsePoint = S_ISLNK(st.st_mode);
  id.finalPath = std::move(*windows);
  return id;
}

// The host's real path and inode stand for the final path and file ID: links
// on the way resolve as the host resolves them, names found without regard
// to case give the name as stored.
std::optional<FileIdentity> EmulatedFileSystem::Identify(std::string_view path, bool followFinalLink) {
  Resolved r;
  if (Resolve(path, r) != kOk || !r.parentFound) return std::nullopt;
  const auto own = r.LinkStat();
  if (!own) return std::nullopt;
  std::error_code ec;
  fs::path real;
  struct stat st = *own;
  if (followFinalLink && S_ISLNK(own->st_mode)) {
    real = fs::canonical(r.host, ec);
    if (ec || !InsideRoot(real) || ::stat(real.c_str(), &st) != 0) return std::nullopt;
  } else {
    real = r.isRoot ? fs::canonical(r.host, ec) : fs::canonical(r.host.parent_path(), ec) / r.host.filename();
    if (ec) return std::nullopt;
  }
  return IdentityOf(st, real);
}

bool EmulatedFileSystem::ListDescriptor(int fd, const std::string& path, const std::string& hostFolder,
                                        const std::function<void(const FileEntry&)>& visit) {
  const int own = ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (own < 0) return false;
  DirHandle dir(::fdopendir(own));
  if (!dir) {
    ::close(own);
    return false;
  }
  const int listed = ::dirfd(dir.get());
  for (;;) {
    errno = 0;
    const dirent* found = ::readdir(dir.get());
    if (!found) break;
    std::string name = found->d_name;
    if (name == "." || name == ".." || !IsValidName(name)) continue;
    struct stat entrySt {};
    if (::fstatat(listed, name.c_str(), &entrySt, AT_SYMLINK_NOFOLLOW) != 0) continue;
    bool linkToFolder = false;
    if (S_ISLNK(entrySt.st_mode)) {
      struct stat target {};
      linkToFolder = ::fstatat(listed, name.c_str(), &target, 0) == 0 && S_ISDIR(target.st_mode);
    }
    visit(MakeEntry(entrySt, linkToFolder, name, JoinWindows(path, name), [&] { return hostFolder + '/' + name; }));
  }
  return true;
}

// A folder held by its host descriptor: entries are opened and removed
// relative to it (openat, unlinkat), never through a link.
class EmulatedFileSystem::DescriptorFolder : public Folder {
 public:
  DescriptorFolder(EmulatedFileSystem& owner, HostFd fd, std::string path, std::string host)
      : Folder(std::move(path)), owner_(owner), fd_(std::move(fd)), host_(std::move(host)) {}

  bool List(const std::function<void(const FileEntry&)>& visit) override {
    return owner_.ListDescriptor(fd_.get(), Path(), host_, visit);
  }

  std::unique_ptr<Folder> OpenSubFolder(std::string_view name) override {
    std::string path = JoinWindows(Path(), name);
    if (owner_.beforeOpenSubFolder_) owner_.beforeOpenSubFolder_(path);
    const std::string leaf(name);
    HostFd child(::openat(fd_.get(), leaf.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (child.get() < 0) return nullptr;
    return std::make_unique<DescriptorFolder>(owner_, std::move(child), std::move(path), host_ + '/' + leaf);
  }

  Status DeleteEntry(std::string_view name, bool force) override {
    const std::string leaf(name);
    // Nothing stored and nothing locked: no rule to check, one call.
    if (owner_.attributes_.empty() && owner_.locks_->empty()) {
      if (::unlinkat(fd_.get(), leaf.c_str(), 0) == 0) return kOk;
      if (errno != EISDIR) return FromErrno(errno);
    }
    const std::string key = host_ + '/' + leaf;
    struct stat st {};
    if (::fstatat(fd_.get(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return FromErrno(errno);
    if (S_ISDIR(st.st_mode)) {
      if (!force && (owner_.StoredAttributes(key, true) & kAttrReadOnly)) return kErrAccessDenied;
      if (JoinWindows(Path(), name) == owner_.currentDirectory_) return kErrSharingViolation;
      if (::unlinkat(fd_.get(), leaf.c_str(), AT_REMOVEDIR) != 0) return FromErrno(errno == EEXIST ? ENOTEMPTY : errno);
    } else {
      if (owner_.IsLocked(key)) return kErrSharingViolation;
      if (!force && !S_ISLNK(st.st_mode) && (owner_.StoredAttributes(key, false) & kAttrReadOnly))
        return kErrAccessDenied;
      if (::unlinkat(fd_.get(), leaf.c_str(), 0) != 0) return FromErrno(errno);
    }
    owner_.attributes_.erase(key);
    return kOk;
  }

  Status DeleteEntryOverwritten(std::string_view name, bool force, int passes, OverwriteResult* content) override {
    OverwriteResult ignored;
    OverwriteResult& fate = content ? *content : ignored;
    fate = OverwriteResult::kFailed;
    const std::string leaf(name);
    const std::string key = host_ + '/' + leaf;
    struct stat st {};
    if (::fstatat(fd_.get(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return FromErrno(errno);
    if (!S_ISREG(st.st_mode)) {
      if (S_ISLNK(st.st_mode)) fate = OverwriteResult::kLink;
      return DeleteEntry(name, force);
    }
    // Only what the delete then removes is overwritten.
    if (owner_.IsLocked(key)) return kErrSharingViolation;
    if (!force && (owner_.StoredAttributes(key, false) & kAttrReadOnly)) return kErrAccessDenied;
    std::string renamed;
    fate = OverwriteFileAt(fd_.get(), leaf, passes, renamed);
    if (fate != OverwriteResult::kOverwritten) return DeleteEntry(name, force);
    owner_.attributes_.erase(key);
    return ::unlinkat(fd_.get(), renamed.c_str(), 0) == 0 ? kOk : FromErrno(errno);
  }

  Status SetEntryAttributes(std::string_view name, std::uint32_t attributes) override {
    const std::string leaf(name);
    struct stat st {};
    if (::fstatat(fd_.get(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return FromErrno(errno);
    owner_.attributes_[host_ + '/' + leaf] = attributes & kStoredBits;
    return kOk;
  }

  std::optional<std::uint32_t> Attributes() override { return kAttrDirectory | owner_.StoredAttributes(host_, true); }

  Status SetAttributes(std::uint32_t attributes) override {
    owner_.attributes_[host_] = attributes & kStoredBits;
    return kOk;
  }

  std::optional<FileIdentity> Identity() override {
    struct stat st {};
    if (::fstat(fd_.get(), &st) != 0) return std::nullopt;
    std::error_code ec;
    const fs::path real = fs::read_symlink("/proc/self/fd/" + std::to_string(fd_.get()), ec);
    if (ec) return std::nullopt;
    return owner_.IdentityOf(st, real);
  }

 private:
  EmulatedFileSystem& owner_;
  HostFd fd_;
  std::string host_;
};

std::unique_ptr<Folder> EmulatedFileSystem::OpenFolder(std::string_view path) {
  Resolved r;
  if (Resolve(path, r) != kOk || !r.parentFound) return nullptr;
  const auto st = r.LinkStat();
  if (!st) return nullptr;
  // A final link is followed, as Windows follows one, but only inside the host root.
  if (S_ISLNK(st->st_mode) && !InsideRoot(r.host)) return nullptr;
  HostFd fd(r.Relative() ? ::openat(r.folder.get(), r.leaf.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                         : ::open(r.host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0) return nullptr;
  return std::make_unique<DescriptorFolder>(*this, std::move(fd), r.path, r.host.string());
}

std::unique_ptr<Folder> EmulatedFileSystem::OpenFolderItself(std::string_view path) {
  Resolved r;
  if (Resolve(path, r) != kOk || !r.parentFound) return nullptr;
  const auto st = r.LinkStat();
  if (!st || !S_ISDIR(st->st_mode)) return nullptr;  // missing, a file or a link
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  HostFd fd(r.Relative() ? ::openat(r.folder.get(), r.leaf.c_str(), kFlags) : ::open(r.host.c_str(), kFlags));
  if (fd.get() < 0) return nullptr;
  return std::make_unique<DescriptorFolder>(*this, std::move(fd), r.path, r.host.string());
}

bool EmulatedFileSystem::ListFolder(std::string_view folder, const std::function<void(const FileEntry&)>& visit) {
  Resolved r;
  if (Resolve(folder, r) != kOk || !r.parentFound) return false;
  const auto st = r.LinkStat();
  if (!st) return false;
  if (S_ISLNK(st->st_mode) && !InsideRoot(r.host)) return false;
  if (r.Relative() && !S_ISLNK(st->st_mode)) {
    // A plain folder: listed through its descriptor, each entry looked up
    // inside it by name.
    const HostFd fd(::openat(r.folder.get(), r.leaf.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    return fd.get() >= 0 && ListDescriptor(fd.get(), r.path, r.host.string(), visit);
  }
  std::error_code ec;
  fs::directory_iterator it(r.host, ec);
  if (ec) return false;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) break;
    std::string name = it->path().filename().string();
    // A host name that no Windows name could spell (a backslash, a colon ...)
    // is left out: its path would name something else.
    if (!IsValidName(name)) continue;
    const auto entrySt = LinkStat(it->path());
    if (!entrySt) continue;
    struct stat target {};
    const bool linkToFolder =
        S_ISLNK(entrySt->st_mode) && ::stat(it->path().c_str(), &target) == 0 && S_ISDIR(target.st_mode);
    const std::string hostPath = it->path().string();
    visit(MakeEntry(*entrySt, linkToFolder, name, JoinWindows(r.path, name), [&] { return hostPath; }));
  }
  return true;
}

Status EmulatedFileSystem::ReadFile(std::string_view path, std::string& out, std::uint64_t maxBytes) {
  Resolved r;
  if (Status s = Resolve(path, r); s != kOk) return s;
  if (!r.parentFound) return kErrPathNotFound;
  const auto st = r.LinkStat();
  if (!st) return kErrFileNotFound;
  if (S_ISLNK(st->st_mode) && !InsideRoot(r.host)) return kErrAccessDenied;
  if (IsLocked(r.host.string())) return kErrSharingViolation;
  // Non-blocking, so a FIFO planted in the sandbox cannot stall the read.
  UniqueFd fd(::open(r.host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return FromErrno(errno);
  struct stat opened {};
  if (::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) return kErrAccessDenied;
  if (static_cast<std::uint64_t>(opened.st_size) > maxBytes) return kErrFileTooLarge;
  std::string data;
  data.reserve(static_cast<size_t>(opened.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FromErrno(errno);
    }
    if (n == 0) break;
    if (data.size() + static_cast<size_t>(n) > maxBytes) return kErrFileTooLarge;  // grew while read
    data.append(buffer, static_cast<size_t>(n));
  }
  out = std::move(data);
  return kOk;
}

Status EmulatedFileSystem::WriteFileAtomic(std::string_view path, std::string_view data) {
  Resolved r;
  if (Status s = Resolve(path, r); s != kOk) return s;
  if (r.isRoot) return kErrAccessDenied;
  if (!r.parentFound) return kErrPathNotFound;
  const std::string key = r.host.string();
  if (const auto st = r.LinkStat()) {
    if (S_ISDIR(st->st_mode)) return kErrAccessDenied;
    if (IsLocked(key)) return kErrSharingViolation;
    if (StoredAttributes(key, false) & kAttrReadOnly) return kErrAccessDenied;
  }
  const fs::path folder = r.host.parent_path();
  fs::path temp;
  int fdNumber = -1;
  for (int attempt = 0; attempt < 100 && fdNumber < 0; ++attempt) {
    temp = folder / (".cvtmp-" + std::to_string(::getpid()) + "-" + std::to_string(++tempCounter_));
    fdNumber = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fdNumber < 0 && errno != EEXIST) return FromErrno(errno, kErrPathNotFound);
  }
  if (fdNumber < 0) return kErrAccessDenied;
  UniqueFd fd(fdNumber);
  const auto fail = [&](int error) {
    ::unlink(temp.c_str());
    return FromErrno(error);
  };
  for (size_t written = 0; written < data.size();) {
    const ssize_t n = ::write(fd.get(), data.data() + written, data.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    written += static_cast<size_t>(n);
  }
  if (::fsync(fd.get()) != 0) return fail(errno);
  if (!fd.Close()) return fail(errno);
  if (::rename(temp.c_str(), r.host.c_str()) != 0) return fail(errno);
  return kOk;
}

Status EmulatedFileSystem::DeleteFile(std::string_view path, bool force) {
  Resolved r;
  if (Status s = Resolve(path, r); s != kOk) return s;
  if (r.isRoot) return kErrAccessDenied;
  if (!r.parentFound) return kErrPathNotFound;
  const auto st = r.LinkStat();
  if (!st) return kErrFileNotFound;
  if (S_ISDIR(st->st_mode)) return kErrAccessDenied;
  const std::string key = r.host.string();
  if (IsLocked(key)) return kErrSharingViolation;
  if (!force && !S_ISLNK(st->st_mode) && (StoredAttributes(key, false) & kAttrReadOnly)) return kErrAccessDenied;
  if (r.Unlink() != 0) return FromErrno(errno);
  attributes_.erase(key);
  return kOk;
}

Status EmulatedFileSystem::RemoveFolder(std::string_view path, bool force) {
  Resolved r;
  if (Status s = Resolve(path, r); s != kOk) return s;
  if (r.isRoot) return kErrAccessDenied;
  if (!r.parentFound) return kErrPathNotFound;
  const auto st = r.LinkStat();
  if (!st) return kErrFileNotFound;
  const std::string key = r.host.string();
  if (S_ISLNK(st->st_mode)) {
    // The link goes, never what it points to. A link to a file is not a folder.
    struct stat target {};
    const int followed =
        r.Relative() ? ::fstatat(r.folder.get(), r.leaf.c_str(), &target, 0) : ::stat(r.host.c_str(), &target);
    if (followed == 0 && !S_ISDIR(target.st_mode)) return kErrDirectory;
    if (r.Unlink() != 0) return FromErrno(errno);
    attributes_.erase(key);
    return kOk;
  }
  if (!S_ISDIR(st->st_mode)) return kErrDirectory;
  if (!force && (StoredAttributes(key, true) & kAttrReadOnly)) return kErrAccessDenied;
  if (r.path == currentDirectory_) return kErrSharingViolation;
  if (r.RemoveDir() != 0) return FromErrno(errno == EEXIST ? ENOTEMPTY : errno);
  attributes_.erase(key);
  return kOk;
}

Status EmulatedFileSystem::CreateFolder(std::string_view path) {
  Resolved r;
  if (Status s = Resolve(path, r); s != kOk) return s;
  if (r.isRoot) return kErrAlreadyExists;
  if (!r.parentFound) return kErrPathNotFound;
  if (r.LinkStat()) return kErrAlreadyExists;
  if (r.MakeDir() != 0) return FromErrno(errno, kErrPathNotFound);
  attributes_.erase(r.host.string());
  return kOk;
}

Status EmulatedFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
  Resolved r;
  if (Status s = Resolve(path, r); s != kOk) return s;
  if (!r.parentFound) return kErrPathNotFound;
  if (!r.LinkStat()) return kErrFileNotFound;
  if (r.isRoot) return kOk;
  attributes_[r.host.string()] = attributes & kStoredBits;
  return kOk;
}

Status EmulatedFileSystem::DeleteAtReboot(std::string_view path) {
  Resolved r;
  if (Status s = Resolve(path, r); s != kOk) return s;
  if (r.isRoot) return kErrAccessDenied;
  // As on Windows, the path is only recorded: whether anything is there is
  // settled at the restart.
  rebootDeletes_.push_back(r.path);
  return kOk;
}

EmulatedFileSystem::FileLock EmulatedFileSystem::LockFile(std::string_view path) {
  FileLock lock;
  Resolved r;
  if (Resolve(path, r) != kOk || !r.parentFound) return lock;
  const auto st = r.LinkStat();
  if (!st || S_ISDIR(st->st_mode)) return lock;
  if (S_ISLNK(st->st_mode) && !InsideRoot(r.host)) return lock;
  lock.locks_ = locks_;
  lock.key_ = r.host.string();
  locks_->insert(lock.key_);
  return lock;
}

Status EmulatedFileSystem::SetCurrentDirectory(std::string_view folder) {
  Resolved r;
  if (Status s = Resolve(folder, r); s != kOk) return s;
  if (!r.parentFound) return kErrPathNotFound;
  const auto st = r.LinkStat();
  if (st && S_ISLNK(st->st_mode) && !InsideRoot(r.host)) return kErrAccessDenied;
  const auto entry = EntryFor(r);
  if (!entry) return kErrFileNotFound;
  if (!entry->IsFolder()) return kErrDirectory;
  currentDirectory_ = r.path;
  return kOk;
}

fs::path EmulatedFileSystem::HostPath(std::string_view windowsPath) {
  Resolved r;
  if (Resolve(windowsPath, r) != kOk) return {};
  return r.host;
}

}  // namespace cv::emulated
