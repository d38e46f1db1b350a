#pragma once
// The settings store kept in the registry through the Registry service: the
// real registry on Windows, the emulated one in the native build.
#include "platform/registry.h"
#include "platform/settings_store.h"

namespace cv {

inline constexpr std::string_view kSettingsStoreKey = "Software\\VB and VBA Program Settings";

class RegistrySettingsStore : public SettingsStore {
 public:
  explicit RegistrySettingsStore(Registry& registry) : registry_(registry) {}

  std::string GetSetting(std::string_view application, std::string_view section, std::string_view key,
                         std::string_view fallback) override;
  bool SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                   std::string_view value) override;

 private:
  Registry& registry_;
};

}  // namespace cv
