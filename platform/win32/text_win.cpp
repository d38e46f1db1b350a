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
  const bool drivePath = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
  if (drivePath) return L"\\\\?\\" + path;
  return path;
}

}  // namespace cv::win32
