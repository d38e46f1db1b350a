#include "platform/win32/text_win.h"

#include "platform/win32/win.h"

namespace cv::win32 {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  UINT codePage = CP_UTF8;
  int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (n == 0) {
    codePage = CP_ACP;
    n = MultiByteToWideChar(CP_ACP, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  }
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
  return utf8;
}

std::wstring LongPath(std::string_view utf8Path) {
  std::wstring path = Widen(utf8Path);
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  // "\\?\", device and UNC paths are passed on as given.
  if (path.empty() || path.rfind(L"\\\\", 0) == 0) return path;
  // The "\\?\" prefix turns off Windows' own clean-up of "." and "..",
  // trailing dots and spaces, so the full path is made first.
  DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  size = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (size == 0 || size >= full.size()) return path;
  full.resize(size);
  const bool drivePath = full.size() >= 3 && full[1] == L':' && full[2] == L'\\';
  if (drivePath) return L"\\\\?\\" + full;
  return full;
}

}  // namespace cv::win32
