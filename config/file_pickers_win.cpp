#include "config/file_pickers_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include "platform/win32/com_apartment.h"
#include "platform/win32/text_win.h"

namespace cv::ui {

namespace {
constexpr std::size_t kPickerAnswerChars = 32767;
}  // namespace

std::optional<std::string> PickFiles(HWND owner) {
  std::wstring buffer(kPickerAnswerChars, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = L"All files (*.*)\0*.*\0";
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrTitle = L"Open File";
  // The process's current folder is left alone: a folder held as current
  // could not be erased by a later run.
  dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NODEREFERENCELINKS | OFN_NOCHANGEDIR;
  if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
  std::size_t end = 0;
  while (end + 1 < buffer.size() && !(buffer[end] == L'\0' && buffer[end + 1] == L'\0')) ++end;
  std::string answer;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= end; ++i) {
    if (i == end || buffer[i] == L'\0') {
      if (start != 0) answer += '\0';
      answer += win32::Narrow(std::wstring_view(buffer).substr(start, i - start));
      start = i + 1;
    }
  }
  return answer;
}

std::optional<std::string> PickFolder(HWND owner) {
  const win32::ComApartment com;
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.lpszTitle = L"Clearvane";
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
  std::optional<std::string> folder;
  if (PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&browse)) {
    wchar_t path[MAX_PATH] = {};
    if (::SHGetPathFromIDListW(chosen, path)) folder = win32::Narrow(path);
    ::CoTaskMemFree(chosen);
  }
  return folder;
}

}  // namespace cv::ui
