#include "finder/sweepdisk_settings.h"

#include <cstdlib>

namespace cv::finder {

namespace {

constexpr std::string_view kApplication = "Sweepdisk";
constexpr std::string_view kStartUp = "StartUp";
constexpr std::string_view kGeneral = "General";

struct FixedValue {
  std::string_view section, key, value;
};

constexpr FixedValue kOpeningValues[] = {
    {kStartUp, "Recycele", "1"},
    {kStartUp, "SubFolders", "1"},
    {kGeneral, "TipNumber", "1"},
    {kGeneral, "Prompt", "1"},
};

constexpr FixedValue kResetValues[] = {
    {kStartUp, "Log", "1"},
    {kStartUp, "Recycele", "1"},
    {kStartUp, "SubFolders", "1"},
    {kGeneral, "Tips", "1"},
    {kGeneral, "TipNumber", "1"},
    {kGeneral, "Prompt", "1"},
    {kGeneral, "DeleteDirs", "c:\\windows\\temp\\;C:\\WINDOWS\\Temporary Internet Files\\;"},
    {kGeneral, "MaxLogSize", "80"},
};

// The number at the start of a text, as Val reads it: 0 when there is none.
double LeadingNumber(const std::string& text) {
  const char* begin = text.c_str();
  while (*begin == ' ') ++begin;
  char* end = nullptr;
  const double value = std::strtod(begin, &end);
  return end == begin ? 0 : value;
}

}  // namespace

std::string SweepdiskSettings::Get(std::string_view section, std::string_view key, std::string_view fallback) {
  return store_.GetSetting(kApplication, section, key, fallback);
}

void SweepdiskSettings::Save(std::string_view section, std::string_view key, std::string_view value) {
  store_.SaveSetting(kApplication, section, key, value);
}

void SweepdiskSettings::StoreOpening(std::string_view startFolder) {
  StoreFolder(startFolder);
  for (const FixedValue& value : kOpeningValues) Save(value.section, value.key, value.value);
}

void SweepdiskSettings::StoreFolder(std::string_view folder) { Save(kStartUp, "AppPath", folder); }
void SweepdiskSettings::StoreRecycle(bool ticked) { Save(kStartUp, "Recycele", ticked ? "1" : "0"); }
void SweepdiskSettings::StoreSubFolders(bool ticked) { Save(kStartUp, "SubFolders", ticked ? "1" : "0"); }

void SweepdiskSettings::StoreResetAll(std::string_view startFolder) {
  StoreFolder(startFolder);
  for (const FixedValue& value : kResetValues) Save(value.section, value.key, value.value);
}

bool SweepdiskSettings::Prompt() {
  // Only a stored number 0 turns the warning off; anything unreadable keeps it.
  const std::string value = Get(kGeneral, "Prompt", "1");
  char* end = nullptr;
  const double number = std::strtod(value.c_str(), &end);
  return end == value.c_str() || number != 0;
}

void SweepdiskSettings::StorePromptAnswered() { Save(kGeneral, "Prompt", "0"); }

bool SweepdiskSettings::ResetAllAsks() { return LeadingNumber(Get(kGeneral, "Uses", "1")) > 2; }

void SweepdiskSettings::EnsureMaxLogSize() {
  if (Get(kGeneral, "MaxLogSize", "").empty()) Save(kGeneral, "MaxLogSize", "80");
}

}  // namespace cv::finder
