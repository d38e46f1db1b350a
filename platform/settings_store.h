#pragma once
// The per-user application settings store: texts kept by application,
// section and key, as the Windows per-application settings functions keep
// them (HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>).
#include <string>
#include <string_view>

namespace cv {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text, or `fallback` when the value is missing or not a text.
  virtual std::string GetSetting(std::string_view application, std::string_view section, std::string_view key,
                                 std::string_view fallback) = 0;
  // Stores the text; false when it could not be written (nothing else happens).
  virtual bool SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                           std::string_view value) = 0;
};

}  // namespace cv
