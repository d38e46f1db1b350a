#include "platform/win32/recycle_bin_win.h"

#include <string>

#include "platform/win32/text_win.h"
#include "platform/win32/win.h"

// After win.h: shellapi.h needs the Windows types.
#include <shellapi.h>

namespace cv::win32 {

Status Win32RecycleBin::Recycle(std::string_view file) {
  // The shell's file operations take at most MAX_PATH characters and no
  // "\\?\" prefix; a longer path is refused rather than cut short.
  std::wstring from = Widen(file);
  if (from.empty() || from.size() >= MAX_PATH) return kErrFilenameTooLong;
  from.push_back(L'\0');  // the list of names ends with a second NUL
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  // Silent, no confirmation, allow undo; and no error dialog: the caller
  // reports the files that could not be moved.
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI;
  const int result = ::SHFileOperationW(&operation);
  if (result != 0) return kErrAccessDenied;
  if (operation.fAnyOperationsAborted) return kErrAccessDenied;
  if (::GetFileAttributesW(from.c_str()) != INVALID_FILE_ATTRIBUTES) return kErrAccessDenied;
  return kOk;
}

}  // namespace cv::win32
