#pragma once
// The registry service over the Win32 W functions. Predefined roots map to the
// real predefined HKEYs; every other RegKey holds the bits of an HKEY.
#include "platform/registry.h"

namespace cv::win32 {

class Win32Registry : public Registry {
 public:
  Status OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& out) override;
  Status CreateKey(RegKey parent, std::string_view subKey, RegKey& out) override;
  Status CloseKey(RegKey key) override;
  Status QueryValue(RegKey key, std::string_view name, RegValue& out) override;
  Status SetValue(RegKey key, std::string_view name, std::uint32_t type, std::string_view data) override;
  Status EnumValue(RegKey key, std::uint32_t index, std::string& name, RegValue& value) override;
  Status EnumKey(RegKey key, std::uint32_t index, std::string& name) override;
  Status DeleteKey(RegKey parent, std::string_view subKey) override;
  Status DeleteValue(RegKey key, std::string_view name) override;
  Status DeleteTree(RegKey parent, std::string_view subKey) override;
};

}  // namespace cv::win32
