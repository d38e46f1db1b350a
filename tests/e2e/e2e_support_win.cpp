#include "e2e_support_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "clean/run_items.h"
#include "platform/win32/text_win.h"
#include "platform/win32/unique_handle.h"

namespace cv::e2e {

using win32::Narrow;
using win32::Widen;

namespace {

win32::UniqueRegKey OpenKey(HKEY root, const std::string& subKey, REGSAM access) {
  win32::UniqueRegKey key;
  if (::RegOpenKeyExW(root, Widen(subKey).c_str(), 0, access, key.put()) != ERROR_SUCCESS) key.release();
  return key;
}

std::string ReadWholeFile(const std::wstring& path) {
  std::string bytes;
  win32::UniqueFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return "<unreadable>";
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  return bytes;
}

void SnapshotFolder(const std::wstring& folder, const std::string& relative, std::map<std::string, std::string>& into) {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  win32::UniqueFindHandle closer(search);
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::string path = relative.empty() ? Narrow(name) : relative + "\\" + Narrow(name);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      into[path] = kFolderMarker;
      SnapshotFolder(folder + L"\\" + name, path, into);
    } else {
      into[path] = ReadWholeFile(folder + L"\\" + name);
    }
  } while (::FindNextFileW(search, &found));
}

}  // namespace

Captured RunCapturing(const std::string& commandLine) {
  Captured result;
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  // A launch that fails says why in `out`, which the callers' assertions print.
  const auto failed = [&result](const char* what) {
    result.out = std::string(what) + " failed, error " + std::to_string(::GetLastError());
    return result;
  };
  if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return failed("CreatePipe");
  win32::UniqueKernelHandle reader(readEnd), writer(writeEnd);
  ::SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writer.get();
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  std::wstring command = Widen(commandLine);
  PROCESS_INFORMATION info{};
  // Under two busy Wine lanes a run once came back with neither output nor
  // exit code, most likely a start that failed. Nothing runs after a failed
  // start, so it is tried twice more, each failure told on stderr.
  for (int attempt = 1;; ++attempt) {
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) break;
    if (attempt == 3) return failed("CreateProcess");
    std::cerr << "RunCapturing: starting " << commandLine << " failed, error " << ::GetLastError() << "; again\n";
    ::Sleep(500);
  }
  win32::UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  writer.reset();
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(reader.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) result.out.append(buffer, got);
  if (::WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) result.out += "\n(still running after a minute)";
  if (!::GetExitCodeProcess(process.get(), &result.exitCode)) result.out += "\n(no exit code)";
  return result;
}

std::string ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L'\\'));
  return Narrow(folder);
}

void InstallProgram(test::FileSystemFixture& disk, const std::string& program, const std::string& selection) {
  ASSERT_TRUE(disk.MakeFolder(program));
  const std::string build = ExeFolder() + "\\..";
  for (const char* file : {"clearvane-cli.exe", "delThumbs.bat"})
    ASSERT_TRUE(::CopyFileW(Widen(build + "\\" + file).c_str(), Widen(program + "\\" + file).c_str(), FALSE)) << file;
  ASSERT_TRUE(disk.WriteFile(program + "\\vanesd.dat", selection));
}

void ImportRegistry(test::FileSystemFixture& disk, const std::string& reg) {
  const std::string regFile = disk.Path("fixture.reg");
  ASSERT_TRUE(disk.WriteFile(regFile, reg));
  ASSERT_EQ(RunCapturing("regedit.exe /S \"" + regFile + "\"").exitCode, 0u);
}

std::string BuiltInItemsOff() {
  std::map<std::string, std::string> sections;
  for (const RunItem& item : RunItems()) sections[std::string(item.section)] += std::string(item.key) + "=0\r\n";
  std::string text;
  for (const auto& [section, keys] : sections) text += "[" + section + "]\r\n" + keys;
  return text;
}

std::size_t Occurrences(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

std::string RegEscape(const std::string& text) {
  std::string escaped;
  for (char c : text) escaped += (c == '\\' || c == '"') ? std::string(1, '\\') + c : std::string(1, c);
  return escaped;
}

bool Exists(const std::string& path) {
  return ::GetFileAttributesW(win32::LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool KeyExists(const std::string& subKey, HKEY root) { return static_cast<bool>(OpenKey(root, subKey, KEY_READ)); }

bool ValueExists(const std::string& subKey, const std::string& name, HKEY root) {
  const win32::UniqueRegKey key = OpenKey(root, subKey, KEY_READ);
  return key && ::RegQueryValueExW(key.get(), Widen(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::optional<std::vector<std::pair<std::string, RegData>>> ReadKeyValues(HKEY root, const std::string& subKey) {
  const win32::UniqueRegKey key = OpenKey(root, subKey, KEY_READ);
  if (!key) return std::nullopt;
  std::vector<std::pair<std::string, RegData>> values;
  for (DWORD index = 0;; ++index) {
    wchar_t name[16384];
    DWORD nameLength = 16384, type = 0, size = 0;
    if (::RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::string data(size, '\0');
    nameLength = 16384;
    if (::RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                        &size) != ERROR_SUCCESS)
      break;
    data.resize(size);
    values.emplace_back(Narrow(std::wstring(name, nameLength)), RegData{type, data});
  }
  return values;
}

std::optional<std::string> ReadString(HKEY root, const std::string& subKey, const std::string& name) {
  const auto values = ReadKeyValues(root, subKey);
  if (!values) return std::nullopt;
  for (const auto& [valueName, data] : *values) {
    if (valueName != name || (data.type != REG_SZ && data.type != REG_EXPAND_SZ)) continue;
    std::wstring text(reinterpret_cast<const wchar_t*>(data.bytes.data()), data.bytes.size() / sizeof(wchar_t));
    if (const size_t nul = text.find(L'\0'); nul != std::wstring::npos) text.resize(nul);
    return Narrow(text);
  }
  return std::nullopt;
}

RegistryKeyBackup::RegistryKeyBackup(HKEY root, std::string subKey)
    : root_(root), subKey_(std::move(subKey)), saved_(ReadKeyValues(root_, subKey_)) {}

RegistryKeyBackup::~RegistryKeyBackup() {
  if (!saved_) {
    ::RegDeleteTreeW(root_, Widen(subKey_).c_str());
    ::RegDeleteKeyW(root_, Widen(subKey_).c_str());
    return;
  }
  win32::UniqueRegKey key;
  if (::RegCreateKeyExW(root_, Widen(subKey_).c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
    key.release();
    return;
  }
  const auto now = ReadKeyValues(root_, subKey_).value_or(std::vector<std::pair<std::string, RegData>>{});
  for (const auto& [name, data] : now) {
    const bool wasThere =
        std::any_of(saved_->begin(), saved_->end(), [&](const auto& old) { return old.first == name; });
    if (!wasThere) ::RegDeleteValueW(key.get(), Widen(name).c_str());
  }
  for (const auto& [name, data] : *saved_)
    ::RegSetValueExW(key.get(), Widen(name).c_str(), 0, data.type, reinterpret_cast<const BYTE*>(data.bytes.data()),
                     static_cast<DWORD>(data.bytes.size()));
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(std::string name, const std::string& value)
    : name_(std::move(name)) {
  const std::wstring wideName = Widen(name_);
  const DWORD needed = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (needed > 0) {
    std::wstring old(needed, L'\0');
    old.resize(::GetEnvironmentVariableW(wideName.c_str(), old.data(), needed));
    old_ = old;
  }
  ::SetEnvironmentVariableW(wideName.c_str(), Widen(value).c_str());
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
  ::SetEnvironmentVariableW(Widen(name_).c_str(), old_ ? old_->c_str() : nullptr);
}

std::map<std::string, std::string> SnapshotTree(const std::string& root) {
  std::map<std::string, std::string> entries;
  SnapshotFolder(win32::LongPath(root), "", entries);
  return entries;
}

void RedirectUserFolders(test::FileSystemFixture& disk, const std::string& roaming, const std::string& local,
                         std::unique_ptr<RegistryKeyBackup>& backup) {
  static constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  backup = std::make_unique<RegistryKeyBackup>(HKEY_CURRENT_USER, kShellFolders);
  ASSERT_NO_FATAL_FAILURE(ImportRegistry(disk, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + std::string(kShellFolders) +
                                                   "]\r\n\"AppData\"=\"" + RegEscape(roaming) +
                                                   "\"\r\n\"Local AppData\"=\"" + RegEscape(local) + "\"\r\n"));
  ASSERT_EQ(ReadString(HKEY_CURRENT_USER, kShellFolders, "Local AppData"), local);
}

}  // namespace cv::e2e
