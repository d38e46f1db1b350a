#include "platform/win32/shell_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <vector>

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

bool Win32Shell::IsElevated() {
  UniqueKernelHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size)) return false;
  return elevation.TokenIsElevated != 0;
}

ServiceState Win32Shell::QueryServiceState(std::string_view serviceName) {
  const UniqueServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return ServiceState::kUnknown;
  const UniqueServiceHandle service(::OpenServiceW(manager.get(), Widen(serviceName).c_str(), SERVICE_QUERY_STATUS));
  if (!service) return ServiceState::kUnknown;
  SERVICE_STATUS status{};
  if (!::QueryServiceStatus(service.get(), &status)) return ServiceState::kUnknown;
  return status.dwCurrentState == SERVICE_STOPPED ? ServiceState::kStopped : ServiceState::kActive;
}

ProcessId Win32Shell::StartProgram(std::string_view commandLine, ShowMode show) {
  std::wstring command = Widen(commandLine);
  std::vector<wchar_t> buffer(command.begin(), command.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return 0;
  ::CloseHandle(info.hThread);
  processes_[info.dwProcessId] = UniqueKernelHandle(info.hProcess);
  return info.dwProcessId;
}

bool Win32Shell::IsProcessRunning(ProcessId process) {
  if (process == 0) return false;
  DWORD code = 0;
  auto it = processes_.find(process);
  if (it != processes_.end()) {
    const bool running = ::GetExitCodeProcess(it->second.get(), &code) && code == STILL_ACTIVE;
    if (!running) processes_.erase(it);
    return running;
  }
  UniqueKernelHandle handle(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process));
  return handle && ::GetExitCodeProcess(handle.get(), &code) && code == STILL_ACTIVE;
}

bool Win32Shell::OpenDocument(std::string_view target) {
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, nullptr, Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

bool Win32Shell::ClearRecentDocuments() {
  ::SetLastError(0);
  ::SHAddToRecentDocs(SHARD_PATHA, nullptr);
  return ::GetLastError() == 0;
}

bool Win32Shell::EmptyRecycleBin() { return SUCCEEDED(::SHEmptyRecycleBinW(owner_, nullptr, SHERB_NOCONFIRMATION)); }

bool Win32Shell::ClearClipboard() {
  if (!::OpenClipboard(owner_)) return false;
  const bool emptied = ::EmptyClipboard() != FALSE;
  ::CloseClipboard();
  return emptied;
}

int Win32MessageBoxes::Show(std::string_view text, std::string_view caption, unsigned style) {
  return ::MessageBoxW(owner_, Widen(text).c_str(), Widen(caption).c_str(), style);
}

LocalTime Win32Clock::Now() {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wDayOfWeek};
}

std::string Win32Clock::FormatGeneralDate(const LocalTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  st.wDayOfWeek = static_cast<WORD>(t.dayOfWeek);
  wchar_t date[128] = {};
  wchar_t time[128] = {};
  ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 128);
  ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 128);
  return Narrow(date) + " " + Narrow(time);
}

char Win32Clock::DecimalSeparator() {
  wchar_t separator[8] = {};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) > 0 && separator[0] < 128)
    return static_cast<char>(separator[0]);
  return '.';
}

}  // namespace cv::win32
