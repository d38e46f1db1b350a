#pragma once
// The registry service: the handful of registry calls the program makes, with
// Win32 semantics and status codes. Text crosses this interface as UTF-8.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace cv {

// An open key. The predefined roots use their documented 32-bit values.
using RegKey = std::uint64_t;

inline constexpr RegKey kHkeyClassesRoot = 0x80000000;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002;
inline constexpr RegKey kHkeyUsers = 0x80000003;
inline constexpr RegKey kHkeyPerformanceData = 0x80000004;
inline constexpr RegKey kHkeyCurrentConfig = 0x80000005;
inline constexpr RegKey kHkeyDynData = 0x80000006;

inline bool IsPredefinedRoot(RegKey key) { return key >= kHkeyClassesRoot && key <= kHkeyDynData; }

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;

// A value as stored. For the string types (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ)
// `data` is UTF-8 with the terminating NUL(s) exactly as stored (a value
// written without a NUL has none); other types carry their raw bytes.
struct RegValue {
  std::uint32_t type = kRegNone;
  std::string data;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyEx. `out` is set only on success. An empty sub-key opens `parent` again.
  virtual Status OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& out) = 0;
  // RegCreateKey: opens the key, creating it and every missing key above it.
  virtual Status CreateKey(RegKey parent, std::string_view subKey, RegKey& out) = 0;
  virtual Status CloseKey(RegKey key) = 0;

  // RegQueryValueEx; an empty name is the key's default value. `out` is unchanged on failure.
  virtual Status QueryValue(RegKey key, std::string_view name, RegValue& out) = 0;
  // RegSetValueEx: stores `data` as given (string types: UTF-8, NUL included only if the caller put it there).
  virtual Status SetValue(RegKey key, std::string_view name, std::uint32_t type, std::string_view data) = 0;
  // RegEnumValue / RegEnumKeyEx: kErrNoMoreItems past the last index.
  virtual Status EnumValue(RegKey key, std::uint32_t index, std::string& name, RegValue& value) = 0;
  virtual Status EnumKey(RegKey key, std::uint32_t index, std::string& name) = 0;

  // RegDeleteKey: fails (kErrAccessDenied) when the key has sub-keys.
  virtual Status DeleteKey(RegKey parent, std::string_view subKey) = 0;
  virtual Status DeleteValue(RegKey key, std::string_view name) = 0;
  // SHDeleteKey: the key with all its sub-keys and values.
  virtual Status DeleteTree(RegKey parent, std::string_view subKey) = 0;
};

// Closes a key of a Registry when it goes out of scope.
class ScopedRegKey {
 public:
  explicit ScopedRegKey(Registry& registry, RegKey key = 0) : registry_(&registry), key_(key) {}
  ScopedRegKey(ScopedRegKey&& other) noexcept : registry_(other.registry_), key_(other.key_) { other.key_ = 0; }
  ScopedRegKey& operator=(ScopedRegKey&&) = delete;
  ScopedRegKey(const ScopedRegKey&) = delete;
  ScopedRegKey& operator=(const ScopedRegKey&) = delete;
  ~ScopedRegKey() {
    if (key_ != 0 && !IsPredefinedRoot(key_)) registry_->CloseKey(key_);
  }
  RegKey get() const { return key_; }
  RegKey& out() { return key_; }
  explicit operator bool() const { return key_ != 0; }

 private:
  Registry* registry_;
  RegKey key_;
};

}  // namespace cv
