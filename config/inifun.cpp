#include "config/inifun.h"

#include <optional>

#include "config/ini_text.h"
#include "platform/text.h"

namespace cv {
namespace {

// The file's text; nullopt when it cannot be read (missing, locked, a folder).
std::optional<ini::ProfileText> Load(FileSystem& fs, std::string_view file, Status* status = nullptr) {
  std::string bytes;
  const Status result = fs.ReadFile(file, bytes, Inifun::kMaxFileBytes);
  if (status) *status = result;
  if (result != kOk) return std::nullopt;
  return ini::DecodeProfile(bytes);
}

// What WritePrivateProfileStringA receives: the value up to its first NUL,
// at most 128 characters. A line break would split the line and let a value
// forge keys or sections, so the value also ends there.
std::string_view StoredValue(std::string_view value) {
  value = value.substr(0, value.find_first_of(std::string_view("\0\r\n", 3)));
  return value.substr(0, Inifun::kValueBufferChars);
}

}  // namespace

void Inifun::WriteIniValue(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view value) {
  Status status = kOk;
  auto profile = Load(fs_, file, &status);
  if (!profile) {
    // Only a file that is not there is created; one that exists but cannot be
    // read (locked, no access) must not be replaced by a file of one line.
    if (status != kErrFileNotFound) return;
    profile.emplace();
  }
  auto changed = ini::WriteString(profile->text, section, key, StoredValue(value));
  if (!changed) return;
  profile->text = std::move(*changed);
  fs_.WriteFileAtomic(file, ini::EncodeProfile(*profile));
}

Status Inifun::WriteIniValues(std::string_view file, std::span<const Value> values) {
  Status status = kOk;
  auto profile = Load(fs_, file, &status);
  if (!profile) {
    if (status != kErrFileNotFound) return status;
    profile.emplace();
  }
  bool changed = false;
  for (const Value& value : values) {
    auto text = ini::WriteString(profile->text, value.section, value.key, StoredValue(value.value));
    if (!text) continue;
    profile->text = std::move(*text);
    changed = true;
  }
  return changed ? fs_.WriteFileAtomic(file, ini::EncodeProfile(*profile)) : kOk;
}

std::vector<std::string> Inifun::ReadIniValues(std::string_view file, std::span<const Value> keys) {
  std::vector<std::string> values(keys.size());
  const auto profile = Load(fs_, file);
  if (!profile) return values;
  for (std::size_t i = 0; i < keys.size(); ++i)
    values[i] = AnsiToUtf8(TrimSpaces(ini::ReadString(profile->text, keys[i].section, keys[i].key, kValueBufferChars)));
  return values;
}

std::string Inifun::ReadIniValue(std::string_view file, std::string_view section, std::string_view key) {
  const auto profile = Load(fs_, file);
  if (!profile) return {};
  return AnsiToUtf8(TrimSpaces(ini::ReadString(profile->text, section, key, kValueBufferChars)));
}

std::vector<std::string> Inifun::ReadIniSection(std::string_view section, std::string_view file) {
  std::vector<std::string> entries;
  const auto profile = Load(fs_, file);
  if (!profile) return entries;
  bool cut = false;
  const std::string buffer = ini::ReadSection(profile->text, section, kSectionBufferChars, &cut);
  // Walk the buffer as the caller of GetPrivateProfileSectionA does: one entry
  // per NUL-ended text, up to the first empty one.
  std::string_view rest = buffer;
  while (!rest.empty()) {
    const std::size_t nul = rest.find('\0');
    const std::string_view entry = rest.substr(0, nul);
    if (entry.empty()) break;
    entries.push_back(AnsiToUtf8(entry));
    if (nul == std::string_view::npos) break;
    rest.remove_prefix(nul + 1);
  }
  if (cut && !entries.empty()) entries.pop_back();
  return entries;
}

void Inifun::DeleteIniSection(std::string_view file, std::string_view section) {
  auto profile = Load(fs_, file);
  if (!profile) return;
  bool changed = false;
  while (auto without = ini::DeleteSection(profile->text, section)) {
    profile->text = std::move(*without);
    changed = true;
  }
  if (changed) fs_.WriteFileAtomic(file, ini::EncodeProfile(*profile));
}

Status Inifun::ReadStatus(std::string_view file) {
  Status status = kOk;
  Load(fs_, file, &status);
  return status;
}

bool Inifun::HasIniSection(std::string_view file, std::string_view section) {
  const auto profile = Load(fs_, file);
  return profile && ini::HasSection(profile->text, section);
}

}  // namespace cv
