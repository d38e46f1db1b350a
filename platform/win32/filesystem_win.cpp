#include "platform/win32/filesystem_win.h"

#include <winternl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/overwrite_win.h"
#include "platform/win32/text_win.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win.h"

namespace cv::win32 {

namespace {

Status LastError() {
  const DWORD error = ::GetLastError();
  return error == ERROR_SUCCESS ? kErrAccessDenied : static_cast<Status>(error);
}

std::int64_t FiletimeValue(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

std::uint64_t SizeValue(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

std::string LastComponent(std::string_view path) {
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.remove_suffix(1);
  const auto slash = path.find_last_of("\\/");
  if (slash == std::string_view::npos) return std::string(path);
  return std::string(path.substr(slash + 1));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!out.empty() && out.back() != '\\' && out.back() != '/') out += '\\';
  out += name;
  return out;
}

DWORD AttributesOf(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

// The root of a final path: "C:\" of "C:\a\b", "\\server\share" of a UNC path.
std::wstring RootOf(const std::wstring& path) {
  if (path.size() >= 3 && path[1] == L':') return path.substr(0, 3);
  if (path.rfind(L"\\\\", 0) == 0) {
    const std::size_t server = path.find(L'\\', 2);
    const std::size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
    return path.substr(0, share);
  }
  return path;
}

// The volume, file ID, link count and final path of an open handle. The ID
// and the links come from the file itself; the volume's serial is looked up
// once per volume root.
std::optional<FileIdentity> IdentityOf(HANDLE handle, VolumeSerials& serials) {
  IO_STATUS_BLOCK io{};
  FILE_INTERNAL_INFORMATION internal{};
  if (!NT_SUCCESS(::NtQueryInformationFile(handle, &io, &internal, sizeof internal, FileInternalInformation)))
    return std::nullopt;
  FILE_STANDARD_INFO standard{};
  FILE_BASIC_INFO basic{};
  if (!::GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard) ||
      !::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic))
    return std::nullopt;
  FileIdentity id;
  id.idLow = static_cast<std::uint64_t>(internal.IndexNumber.QuadPart);
  id.links = standard.NumberOfLinks;
  id.reparsePoint = (basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  std::wstring path(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD n = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                                FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) return std::nullopt;
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.assign(n + 1, L'\0');
  }
  // "\\?\C:\a" names "C:\a"; "\\?\UNC\server\share" names "\\server\share".
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0)
    path = L"\\" + path.substr(7);
  else if (path.rfind(L"\\\\?\\", 0) == 0)
    path.erase(0, 4);
  id.volume = serials.Of(RootOf(path));
  id.finalPath = Narrow(path);
  return id;
}

// Status of a native call, in the Win32 error codes the program uses.
Status FromNtStatus(NTSTATUS status) {
  if (NT_SUCCESS(status)) return kOk;
  const ULONG error = ::RtlNtStatusToDosError(status);
  return error == ERROR_SUCCESS ? kErrAccessDenied : static_cast<Status>(error);
}

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens `name` inside the open folder `parent` without following a link:
// the name is resolved there and nowhere else.
Status OpenRelative(HANDLE parent, std::string_view name, ACCESS_MASK access, ULONG options, UniqueFileHandle& out) {
  std::wstring wide = Widen(name);
  if (wide.empty() || wide.size() > 32767 || wide.find_first_of(L"\\/") != std::wstring::npos) return kErrInvalidName;
  UNICODE_STRING objectName;
  objectName.Buffer = wide.data();
  objectName.Length = static_cast<USHORT>(wide.size() * sizeof(wchar_t));
  objectName.MaximumLength = objectName.Length;
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, parent, nullptr);
  IO_STATUS_BLOCK io{};
  HANDLE handle = nullptr;
  const NTSTATUS status = ::NtCreateFile(
      &handle, access | SYNCHRONIZE, &attributes, &io, nullptr, 0, kShareAll, FILE_OPEN,
      options | FILE_OPEN_REPARSE_POINT | FILE_OPEN_FOR_BACKUP_INTENT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
  if (!NT_SUCCESS(status)) return FromNtStatus(status);
  out.reset(handle);
  return kOk;
}

std::optional<DWORD> AttributesOfHandle(HANDLE handle) {
  FILE_BASIC_INFO info{};
  if (!::GetFileInformationByHandleEx(handle, FileBasicInfo, &info, sizeof info)) return std::nullopt;
  return info.FileAttributes;
}

bool SetAttributesOfHandle(HANDLE handle, DWORD attributes) {
  FILE_BASIC_INFO info{};  // zero times: left as they are
  info.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
  return ::SetFileInformationByHandle(handle, FileBasicInfo, &info, sizeof info) != 0;
}

bool MarkForDeletion(HANDLE handle) {
  FILE_DISPOSITION_INFO info{TRUE};  // its one member (spelled DeleteFileW by the headers' macro)
  return ::SetFileInformationByHandle(handle, FileDispositionInfo, &info, sizeof info) != 0;
}

class Win32Folder : public Folder {
 public:
  Win32Folder(UniqueFileHandle handle, std::string path, std::shared_ptr<VolumeSerials> serials)
      : Folder(std::move(path)), handle_(std::move(handle)), serials_(std::move(serials)) {}

  bool List(const std::function<void(const FileEntry&)>& visit) override {
    // Large enough for a few hundred entries per call, so listings cost
    // few round trips.
    std::vector<unsigned char> buffer(64 * 1024);
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    for (;;) {
      if (!::GetFileInformationByHandleEx(handle_.get(), kind, buffer.data(), static_cast<DWORD>(buffer.size()))) {
        return ::GetLastError() == ERROR_NO_MORE_FILES;
      }
      kind = FileIdBothDirectoryInfo;
      for (size_t offset = 0;;) {
        const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data() + offset);
        const std::wstring_view name(info->FileName, info->FileNameLength / sizeof(wchar_t));
        if (name != L"." && name != L"..") {
          FileEntry entry;
          entry.name = Narrow(name);
          entry.path = JoinPath(Path(), entry.name);
          entry.attributes = info->FileAttributes;
          entry.modified = info->LastWriteTime.QuadPart;
          if (!(info->FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            entry.size = static_cast<std::uint64_t>(info->EndOfFile.QuadPart);
          visit(entry);
        }
        if (info->NextEntryOffset == 0) break;
        offset += info->NextEntryOffset;
      }
    }
  }

  std::unique_ptr<Folder> OpenSubFolder(std::string_view name) override {
    UniqueFileHandle child;
    if (OpenRelative(handle_.get(), name, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, FILE_DIRECTORY_FILE, child) !=
        kOk)
      return nullptr;
    // Opened as it is: a link put here since the listing is seen, not followed.
    const auto attributes = AttributesOfHandle(child.get());
    if (!attributes || (*attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !(*attributes & FILE_ATTRIBUTE_DIRECTORY))
      return nullptr;
    return std::make_unique<Win32Folder>(std::move(child), JoinPath(Path(), name), serials_);
  }

  Status DeleteEntry(std::string_view name, bool force) override {
    UniqueFileHandle entry;
    // A plain file goes when the handle that asked for it closes: one request
    // fewer per file than setting its disposition. Anything else (a folder, a
    // read-only file, a file in use) takes the path below, which says why.
    if (OpenRelative(handle_.get(), name, DELETE | FILE_READ_ATTRIBUTES, FILE_NON_DIRECTORY_FILE | FILE_DELETE_ON_CLOSE,
                     entry) == kOk)
      return kOk;
    Status status = OpenRelative(handle_.get(), name, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, 0, entry);
    if (status == kErrAccessDenied) status = OpenRelative(handle_.get(), name, DELETE | FILE_READ_ATTRIBUTES, 0, entry);
    if (status != kOk) return status;
    if (MarkForDeletion(entry.get())) return kOk;
    status = LastError();
    if (!force || status != kErrAccessDenied) return status;
    const auto attributes = AttributesOfHandle(entry.get());
    if (!attributes || !(*attributes & FILE_ATTRIBUTE_READONLY)) return status;
    if (!SetAttributesOfHandle(entry.get(), *attributes & ~FILE_ATTRIBUTE_READONLY)) return status;
    if (MarkForDeletion(entry.get())) return kOk;
    status = LastError();
    SetAttributesOfHandle(entry.get(), *attributes);  // still there: as it was
    return status;
  }

  Status DeleteEntryOverwritten(std::string_view name, bool force, int passes, OverwriteResult* content) override {
    OverwriteResult ignored;
    OverwriteResult& fate = content ? *content : ignored;
    fate = OverwriteResult::kFailed;
    constexpr ACCESS_MASK kAccess = GENERIC_READ | GENERIC_WRITE | DELETE;
    UniqueFileHandle entry;
    Status status = OpenRelative(handle_.get(), name, kAccess, FILE_NON_DIRECTORY_FILE, entry);
    std::optional<DWORD> readOnlyWas;
    if (status == kErrAccessDenied && force) {
      // A read-only file that the forced delete would remove: writable for the overwrite.
      UniqueFileHandle attributes;
      if (OpenRelative(handle_.get(), name, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, 0, attributes) == kOk) {
        const auto was = AttributesOfHandle(attributes.get());
        if (was && (*was & FILE_ATTRIBUTE_READONLY) &&
            SetAttributesOfHandle(attributes.get(), *was & ~FILE_ATTRIBUTE_READONLY)) {
          readOnlyWas = *was;
          status = OpenRelative(handle_.get(), name, kAccess, FILE_NON_DIRECTORY_FILE, entry);
          if (status != kOk) SetAttributesOfHandle(attributes.get(), *was);
        }
      }
    }
    // Not openable for writing and deleting (a folder, in use, read-only): as a plain delete does.
    if (status != kOk) return DeleteEntry(name, force);
    std::string renamed;
    fate = OverwriteOpenFile(entry.get(), handle_.get(), passes, renamed);
    if (NotSafeToOverwrite(fate)) {
      if (readOnlyWas) SetAttributesOfHandle(entry.get(), *readOnlyWas);
      entry.reset();
      return DeleteEntry(name, force);
    }
    return MarkForDeletion(entry.get()) ? kOk : LastError();
  }

  std::optional<std::uint32_t> Attributes() override { return AttributesOfHandle(handle_.get()); }

  // Through a second handle to the same folder, opened from this one.
  Status SetAttributes(std::uint32_t attributes) override {
    UniqueFileHandle writable(::ReOpenFile(handle_.get(), FILE_WRITE_ATTRIBUTES, kShareAll,
                                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT));
    if (!writable) return LastError();
    return SetAttributesOfHandle(writable.get(), attributes) ? kOk : LastError();
  }

  Status SetEntryAttributes(std::string_view name, std::uint32_t attributes) override {
    UniqueFileHandle entry;
    if (Status status = OpenRelative(handle_.get(), name, FILE_WRITE_ATTRIBUTES, 0, entry); status != kOk)
      return status;
    return SetAttributesOfHandle(entry.get(), attributes) ? kOk : LastError();
  }

  std::optional<FileIdentity> Identity() override { return IdentityOf(handle_.get(), *serials_); }

 private:
  UniqueFileHandle handle_;
  std::shared_ptr<VolumeSerials> serials_;
};

}  // namespace

// The folder at `path`, its final link followed or (`itself`) opened as the
// link, which is then refused.
std::unique_ptr<Folder> Win32FileSystem::OpenFolderAt(std::string_view path, bool itself) {
  UniqueFileHandle handle(::CreateFileW(
      LongPath(path).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | (itself ? FILE_FLAG_OPEN_REPARSE_POINT : 0), nullptr));
  if (!handle) return nullptr;
  const auto attributes = AttributesOfHandle(handle.get());
  if (!attributes || !(*attributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
  if (itself && (*attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return nullptr;
  std::string_view trimmed = path;
  while (trimmed.size() > 3 && (trimmed.back() == '\\' || trimmed.back() == '/')) trimmed.remove_suffix(1);
  return std::make_unique<Win32Folder>(std::move(handle), std::string(trimmed), serials_);
}

std::unique_ptr<Folder> Win32FileSystem::OpenFolder(std::string_view path) { return OpenFolderAt(path, false); }

std::unique_ptr<Folder> Win32FileSystem::OpenFolderItself(std::string_view path) { return OpenFolderAt(path, true); }

std::optional<FileIdentity> Win32FileSystem::Identify(std::string_view path, bool followFinalLink) {
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followFinalLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  UniqueFileHandle handle(::CreateFileW(LongPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        flags, nullptr));
  if (!handle) return std::nullopt;
  return IdentityOf(handle.get(), *serials_);
}

std::uint64_t VolumeSerials::Of(const std::wstring& root) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (const auto known = serials_.find(root); known != serials_.end()) return known->second;
  DWORD serial = 0;
  std::wstring withSlash = root;
  if (withSlash.empty() || withSlash.back() != L'\\') withSlash += L'\\';
  if (!::GetVolumeInformationW(withSlash.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) serial = 0;
  serials_.emplace(root, serial);
  return serial;
}

std::optional<FileEntry> Win32FileSystem::Stat(std::string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FileEntry entry;
  entry.name = LastComponent(path);
  entry.path = std::string(path);
  entry.attributes = data.dwFileAttributes;
  entry.modified = FiletimeValue(data.ftLastWriteTime);
  if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    entry.size = SizeValue(data.nFileSizeHigh, data.nFileSizeLow);
  return entry;
}

bool Win32FileSystem::ListFolder(std::string_view folder, const std::function<void(const FileEntry&)>& visit) {
  WIN32_FIND_DATAW data{};
  const std::wstring pattern = LongPath(JoinPath(folder, "*"));
  UniqueFindHandle find(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
  if (!find) {
    // An empty drive root lists nothing at all, not even "." and "..".
    if (::GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    const auto self = Stat(folder);
    return self && self->IsFolder();
  }
  do {
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    FileEntry entry;
    entry.name = Narrow(name);
    entry.path = JoinPath(folder, entry.name);
    entry.attributes = data.dwFileAttributes;
    entry.modified = FiletimeValue(data.ftLastWriteTime);
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      entry.size = SizeValue(data.nFileSizeHigh, data.nFileSizeLow);
    visit(entry);
  } while (::FindNextFileW(find.get(), &data));
  return true;
}

Status Win32FileSystem::ReadFile(std::string_view path, std::string& out, std::uint64_t maxBytes) {
  UniqueFileHandle file(::CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastError();
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return LastError();
  if (static_cast<std::uint64_t>(size.QuadPart) > maxBytes) return kErrFileTooLarge;
  std::string data;
  data.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return LastError();
    if (read == 0) break;
    if (data.size() + read > maxBytes) return kErrFileTooLarge;  // grew while read
    data.append(buffer, read);
  }
  out = std::move(data);
  return kOk;
}

Status Win32FileSystem::WriteFileAtomic(std::string_view path, std::string_view data) {
  const std::wstring target = LongPath(path);
  const DWORD oldAttributes = AttributesOf(target);
  if (oldAttributes != INVALID_FILE_ATTRIBUTES) {
    if (oldAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return kErrAccessDenied;
  }
  const auto slash = target.find_last_of(L'\\');
  if (slash == std::wstring::npos) return kErrPathNotFound;
  const std::wstring folder = target.substr(0, slash + 1);

  std::wstring temp;
  UniqueFileHandle file;
  for (int attempt = 0; attempt < 100 && !file; ++attempt) {
    temp = folder + L".cvtmp-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++tempCounter_);
    file.reset(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file && ::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) return LastError();
  }
  if (!file) return kErrAccessDenied;
  const auto fail = [&](Status status) {
    file.reset();
    ::DeleteFileW(temp.c_str());
    return status;
  };
  for (size_t written = 0; written < data.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - written, 1u << 20));
    DWORD done = 0;
    if (!::WriteFile(file.get(), data.data() + written, chunk, &done, nullptr)) return fail(LastError());
    written += done;
  }
  if (!::FlushFileBuffers(file.get())) return fail(LastError());
  file.reset();
  // The new file carries the old one's attributes (hidden, system ...).
  if (oldAttributes != INVALID_FILE_ATTRIBUTES)
    ::SetFileAttributesW(temp.c_str(), oldAttributes & ~(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
  if (!::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const Status status = LastError();
    ::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    return fail(status);
  }
  return kOk;
}

Status Win32FileSystem::DeleteFile(std::string_view path, bool force) {
  const std::wstring wide = LongPath(path);
  if (::DeleteFileW(wide.c_str())) return kOk;
  const Status status = LastError();
  if (!force || status != kErrAccessDenied) return status;
  const DWORD attributes = AttributesOf(wide);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return status;
  if (!::SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) return status;
  if (::DeleteFileW(wide.c_str())) return kOk;
  const Status retry = LastError();
  ::SetFileAttributesW(wide.c_str(), attributes);  // still there: as it was
  return retry;
}

Status Win32FileSystem::RemoveFolder(std::string_view path, bool force) {
  const std::wstring wide = LongPath(path);
  if (::RemoveDirectoryW(wide.c_str())) return kOk;
  const Status status = LastError();
  if (!force || status != kErrAccessDenied) return status;
  const DWORD attributes = AttributesOf(wide);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return status;
  if (!::SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) return status;
  if (::RemoveDirectoryW(wide.c_str())) return kOk;
  const Status retry = LastError();
  ::SetFileAttributesW(wide.c_str(), attributes);
  return retry;
}

Status Win32FileSystem::CreateFolder(std::string_view path) {
  if (::CreateDirectoryW(LongPath(path).c_str(), nullptr)) return kOk;
  return LastError();
}

Status Win32FileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
  const DWORD value = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
  if (::SetFileAttributesW(LongPath(path).c_str(), value)) return kOk;
  return LastError();
}

Status Win32FileSystem::DeleteAtReboot(std::string_view path) {
  if (::MoveFileExW(LongPath(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return kOk;
  return LastError();
}

}  // namespace cv::win32
