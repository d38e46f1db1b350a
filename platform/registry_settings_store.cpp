#include "platform/registry_settings_store.h"

namespace cv {

namespace {

std::string SectionKey(std::string_view application, std::string_view section) {
  std::string path(kSettingsStoreKey);
  path += '\\';
  path += application;
  path += '\\';
  path += section;
  return path;
}

// Application and section names become key names: an empty one or one with
// a backslash would name another key, so such names are refused.
bool UsableName(std::string_view name) { return !name.empty() && name.find('\\') == std::string_view::npos; }

}  // namespace

std::string RegistrySettingsStore::GetSetting(std::string_view application, std::string_view section,
                                              std::string_view key, std::string_view fallback) {
  if (!UsableName(application) || !UsableName(section)) return std::string(fallback);
  ScopedRegKey opened(registry_);
  if (registry_.OpenKey(kHkeyCurrentUser, SectionKey(application, section), kKeyRead, opened.out()) != kOk)
    return std::string(fallback);
  RegValue value;
  if (registry_.QueryValue(opened.get(), key, value) != kOk) return std::string(fallback);
  if (value.type != kRegSz && value.type != kRegExpandSz) return std::string(fallback);
  // The text ends at its first NUL, as the string functions read it.
  const auto end = value.data.find('\0');
  return end == std::string::npos ? value.data : value.data.substr(0, end);
}

bool RegistrySettingsStore::SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                                        std::string_view value) {
  if (!UsableName(application) || !UsableName(section)) return false;
  ScopedRegKey created(registry_);
  if (registry_.CreateKey(kHkeyCurrentUser, SectionKey(application, section), created.out()) != kOk) return false;
  std::string data(value);
  data += '\0';
  return registry_.SetValue(created.get(), key, kRegSz, data) == kOk;
}

}  // namespace cv
