#include "platform/win32/overwrite_win.h"

#include <bcrypt.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/win32/text_win.h"

namespace cv::win32 {
namespace {

bool FillRandom(std::vector<unsigned char>& buffer, ULONG size) {
  return BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, buffer.data(), size, BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

bool WritePass(HANDLE file, ULONGLONG size, std::vector<unsigned char>& buffer) {
  LARGE_INTEGER start{};
  if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return false;
  for (ULONGLONG done = 0; done < size;) {
    const DWORD chunk = static_cast<DWORD>(std::min<ULONGLONG>(size - done, buffer.size()));
    DWORD wrote = 0;
    if (!FillRandom(buffer, chunk) || !::WriteFile(file, buffer.data(), chunk, &wrote, nullptr) || wrote == 0)
      return false;
    done += wrote;
  }
  return ::FlushFileBuffers(file) != 0;
}

// Renames the open file within `folder` to a random name; false when no
// name could be had or the rename failed (the file keeps its name).
bool RenameToRandom(HANDLE file, HANDLE folder, std::string& renamedTo) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    unsigned char bytes[8];
    if (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) return false;
    wchar_t name[32];
    std::swprintf(name, 32, L"%02x%02x%02x%02x%02x%02x%02x%02x.tmp", bytes[0], bytes[1], bytes[2], bytes[3], bytes[4],
                  bytes[5], bytes[6], bytes[7]);
    const std::size_t nameBytes = std::wcslen(name) * sizeof(wchar_t);
    std::vector<unsigned char> storage(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(storage.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = folder;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::copy_n(name, std::wcslen(name), info->FileName);
    if (::SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(storage.size()))) {
      renamedTo = Narrow(name);
      return true;
    }
    if (::GetLastError() != ERROR_ALREADY_EXISTS && ::GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

}  // namespace

OverwriteResult OverwriteOpenFile(HANDLE file, HANDLE folder, int passes, std::string& renamedTo) {
  // Attributes, links and size straight from the file (GetFileInformationByHandle
  // would also ask for the volume's serial, which costs milliseconds under Wine).
  FILE_BASIC_INFO basic{};
  FILE_STANDARD_INFO standard{};
  if (!::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) ||
      !::GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard))
    return OverwriteResult::kFailed;
  // Another name still needs these bytes, or the bytes are not where writing
  // them would reach: leave the content alone and delete the name only.
  if ((basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || standard.Directory) return OverwriteResult::kFailed;
  if (basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return OverwriteResult::kLink;
  if (standard.NumberOfLinks != 1) return OverwriteResult::kHardLink;
  if (basic.FileAttributes & FILE_ATTRIBUTE_SPARSE_FILE) return OverwriteResult::kSparse;
  if (basic.FileAttributes & FILE_ATTRIBUTE_COMPRESSED) return OverwriteResult::kCompressed;
  if (basic.FileAttributes & FILE_ATTRIBUTE_ENCRYPTED) return OverwriteResult::kEncrypted;

  const ULONGLONG size = static_cast<ULONGLONG>(standard.EndOfFile.QuadPart);
  std::vector<unsigned char> buffer(static_cast<std::size_t>(std::clamp<ULONGLONG>(size, 1, 1 << 20)));
  passes = std::clamp(passes, 1, kOverwritePassLimit);
  for (int pass = 0; pass < passes; ++pass) {
    if (!WritePass(file, size, buffer)) return OverwriteResult::kFailed;
  }
  if (!RenameToRandom(file, folder, renamedTo)) renamedTo.clear();
  FILE_END_OF_FILE_INFO end{};
  if (::SetFileInformationByHandle(file, FileEndOfFileInfo, &end, sizeof end)) ::FlushFileBuffers(file);
  return OverwriteResult::kOverwritten;
}

}  // namespace cv::win32
