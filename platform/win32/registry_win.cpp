#include "platform/win32/registry_win.h"

// The SDK headers need win.h first.
// clang-format off
#include "platform/win32/win.h"
#include <shlwapi.h>
// clang-format on

#include <vector>

#include "platform/win32/text_win.h"

namespace cv::win32 {
namespace {

// The predefined roots are 32-bit values that Windows sign-extends to
// pointer width (HKEY_CURRENT_USER is 0xFFFFFFFF80000001 on x64).
HKEY ToHkey(RegKey key) {
  if (IsPredefinedRoot(key))
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(static_cast<std::uint32_t>(key))));
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

RegKey FromHkey(HKEY key) {
  const auto bits = reinterpret_cast<ULONG_PTR>(key);
  for (RegKey root = kHkeyClassesRoot; root <= kHkeyDynData; ++root)
    if (ToHkey(root) == key) return root;
  return static_cast<RegKey>(bits);
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Names reach Windows as NUL-terminated text: a name with a NUL inside would
// silently name a different key or value (the part before the NUL), so it is
// refused. A sub-key starting with "\" is refused as Windows refuses it.
Status CheckName(std::string_view name) {
  return name.find('\0') == std::string_view::npos ? kOk : kErrInvalidParameter;
}

Status CheckSubKey(std::string_view subKey) {
  if (!subKey.empty() && subKey.front() == '\\') return kErrBadPathname;
  return CheckName(subKey);
}

// Registry string data (UTF-16, possibly without terminator, possibly with
// NULs inside) to UTF-8, keeping every NUL that is stored. An odd last byte
// cannot be half a character and is dropped.
std::string DataToUtf8(DWORD type, const std::vector<BYTE>& data, DWORD size) {
  if (!IsStringType(type)) return std::string(reinterpret_cast<const char*>(data.data()), size);
  return Narrow(std::wstring_view(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t)));
}

}  // namespace

Status Win32Registry::OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& out) {
  if (Status status = CheckSubKey(subKey); status != kOk) return status;
  HKEY key = nullptr;
  const Status status = ::RegOpenKeyExW(ToHkey(parent), Widen(subKey).c_str(), 0, access, &key);
  if (status == ERROR_SUCCESS) out = FromHkey(key);
  return status;
}

Status Win32Registry::CreateKey(RegKey parent, std::string_view subKey, RegKey& out) {
  if (Status status = CheckSubKey(subKey); status != kOk) return status;
  HKEY key = nullptr;
  // MAXIMUM_ALLOWED as RegCreateKey asks: a key the user may only read still opens.
  const Status status = ::RegCreateKeyExW(ToHkey(parent), Widen(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          MAXIMUM_ALLOWED, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) out = FromHkey(key);
  return status;
}

Status Win32Registry::CloseKey(RegKey key) { return ::RegCloseKey(ToHkey(key)); }

Status Win32Registry::QueryValue(RegKey key, std::string_view name, RegValue& out) {
  if (Status status = CheckName(name); status != kOk) return status;
  const std::wstring wideName = Widen(name);
  DWORD type = 0;
  DWORD size = 0;
  LONG status = ::RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, &type, nullptr, &size);
  std::vector<BYTE> data;
  // The value may grow between the calls: ask again until it fits.
  for (int attempt = 0; status == ERROR_SUCCESS || status == ERROR_MORE_DATA; ++attempt) {
    data.resize(size + sizeof(wchar_t));
    size = static_cast<DWORD>(data.size());
    status = ::RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, &type, data.data(), &size);
    if (status == ERROR_SUCCESS) break;
    if (attempt == 8) return status;
  }
  if (status != ERROR_SUCCESS) return status;
  out = RegValue{type, DataToUtf8(type, data, size)};
  return kOk;
}

Status Win32Registry::SetValue(RegKey key, std::string_view name, std::uint32_t type, std::string_view data) {
  if (Status status = CheckName(name); status != kOk) return status;
  static const BYTE kEmpty = 0;
  if (IsStringType(type)) {
    // RegSetValueEx counts a NUL that follows the data in memory as part of it
    // (NT does this for callers that forgot the terminator); a non-NUL
    // character behind the data keeps the stored bytes exactly as given.
    std::wstring wide = Widen(data);
    const auto size = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
    wide.push_back(L'X');
    return ::RegSetValueExW(ToHkey(key), Widen(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(wide.data()),
                            size);
  }
  const BYTE* bytes = data.empty() ? &kEmpty : reinterpret_cast<const BYTE*>(data.data());
  return ::RegSetValueExW(ToHkey(key), Widen(name).c_str(), 0, type, bytes, static_cast<DWORD>(data.size()));
}

Status Win32Registry::EnumValue(RegKey key, std::uint32_t index, std::string& name, RegValue& value) {
  DWORD maxName = 0;
  DWORD maxData = 0;
  LONG status = ::RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                                   &maxData, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return status;
  std::wstring nameBuffer(maxName + 1, L'\0');
  std::vector<BYTE> data(maxData + sizeof(wchar_t));
  for (int attempt = 0;; ++attempt) {
    DWORD nameLength = static_cast<DWORD>(nameBuffer.size());
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    status = ::RegEnumValueW(ToHkey(key), index, nameBuffer.data(), &nameLength, nullptr, &type, data.data(), &size);
    if (status == ERROR_SUCCESS) {
      name = Narrow(std::wstring_view(nameBuffer.data(), nameLength));
      value = RegValue{type, DataToUtf8(type, data, size)};
      return kOk;
    }
    // A value that grew since the key was measured: try with more room.
    if (status != ERROR_MORE_DATA || attempt == 8) return status;
    nameBuffer.resize(std::max<std::size_t>(nameBuffer.size() * 2, 16384));
    data.resize(std::max<std::size_t>(data.size() * 2, size + sizeof(wchar_t)));
  }
}

Status Win32Registry::EnumKey(RegKey key, std::uint32_t index, std::string& name) {
  wchar_t buffer[256];  // key names are at most 255 characters
  DWORD length = 256;
  const LONG status = ::RegEnumKeyExW(ToHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) name = Narrow(std::wstring_view(buffer, length));
  return status;
}

Status Win32Registry::DeleteKey(RegKey parent, std::string_view subKey) {
  if (Status status = CheckSubKey(subKey); status != kOk) return status;
  // An empty sub-key would delete `parent` itself; a root is never deleted.
  if (subKey.empty() && IsPredefinedRoot(parent)) return kErrAccessDenied;
  return ::RegDeleteKeyW(ToHkey(parent), Widen(subKey).c_str());
}

Status Win32Registry::DeleteValue(RegKey key, std::string_view name) {
  if (Status status = CheckName(name); status != kOk) return status;
  return ::RegDeleteValueW(ToHkey(key), Widen(name).c_str());
}

Status Win32Registry::DeleteTree(RegKey parent, std::string_view subKey) {
  if (Status status = CheckSubKey(subKey); status != kOk) return status;
  // SHDeleteKey with an empty sub-key empties `parent`: never a whole root.
  if (subKey.empty() && IsPredefinedRoot(parent)) return kErrAccessDenied;
  return static_cast<Status>(::SHDeleteKeyW(ToHkey(parent), Widen(subKey).c_str()));
}

}  // namespace cv::win32
