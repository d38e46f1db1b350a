#include "platform/win32/shell_win.h"

#include "platform/win32/win.h"

#include "platform/win32/text_win.h"

namespace cv::win32 {

std::optional<std::string> Win32Shell::GetEnvironmentVariable(std::string_view name) {
  const std::wstring wname = Widen(name);
  DWORD n = ::GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
  if (n == 0) return std::nullopt;
  std::wstring value(n, L'\0');
  n = ::GetEnvironmentVariableW(wname.c_str(), value.data(), n);
  value.resize(n);
  return Narrow(value);
}

std::string Win32Shell::GetWindowsDirectory() {
  wchar_t buffer[MAX_PATH + 1] = {};
  UINT n = ::GetWindowsDirectoryW(buffer, MAX_PATH + 1);
  if (n == 0 || n > MAX_PATH) return {};
  return Narrow(std::wstring_view(buffer, n));
}

OsVersion Win32Shell::GetVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExW(&info)) return {};
#pragma GCC diagnostic pop
  return {static_cast<unsigned>(info.dwMajorVersion), static_cast<unsigned>(info.dwMinorVersion)};
}

std::string Win32Shell::ProgramFolder() {
  std::wstring path(32768, L'\0');
  DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  const auto slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos) path.resize(slash);
  return Narrow(path);
}

int Win32MessageBoxes::Show(std::string_view text, std::string_view caption, unsigned style) {
  return ::MessageBoxW(static_cast<HWND>(owner_), Widen(text).c_str(), Widen(caption).c_str(), style);
}

}  // namespace cv::win32
