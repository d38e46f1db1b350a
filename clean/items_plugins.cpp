// The plug-in items of the run and the execution of one plug-in definition.
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "clean/item_list.h"
#include "clean/path_guard.h"
#include "clean/plugins.h"
#include "clean/run_context.h"

namespace cv {

namespace {

// Fixed amounts added for every plug-in that runs, besides what it erased.
constexpr double kPluginRegistryAmount = 1;
constexpr double kPluginBytesAmount = 50000;

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<std::uint32_t> ReadHexRoot(std::string_view digits) {
  std::uint64_t value = 0;
  for (char c : digits) {
    if (!IsHexDigit(c)) break;
    const unsigned digit = IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
    value = value * 16 + digit;
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

std::optional<std::uint32_t> ReadDecimalRoot(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  // Digits, then an optional fraction; everything after is ignored.
  size_t end = 0;
  while (end < text.size() && IsDigit(text[end])) ++end;
  if (end < text.size() && text[end] == '.') {
    ++end;
    while (end < text.size() && IsDigit(text[end])) ++end;
  }
  double magnitude = 0;
  const std::string_view number = text.substr(0, end);
  if (number.find_first_of("0123456789") == std::string_view::npos) return 0;
  if (std::from_chars(number.data(), number.data() + number.size(), magnitude, std::chars_format::fixed).ec !=
      std::errc())
    return 0;
  // The default rounding mode sends ties to the even neighbour.
  const double rounded = std::nearbyint(negative ? -magnitude : magnitude);
  if (rounded > std::numeric_limits<std::int32_t>::max() || rounded < std::numeric_limits<std::int32_t>::min())
    return std::nullopt;
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(rounded));
}

// An entry's value split at ",", when it has at least `needed` fields.
std::optional<std::vector<std::string_view>> EntryFields(std::string_view entry, size_t needed) {
  const size_t equals = entry.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  std::vector<std::string_view> fields;
  std::string_view value = entry.substr(equals + 1);
  while (true) {
    const size_t comma = value.find(',');
    fields.push_back(value.substr(0, comma));
    if (comma == std::string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  if (fields.size() < needed) return std::nullopt;
  return fields;
}

// The folder of a "file", "fileext" or "folder" entry: its base, with the two
// names for the user's application-data folders replaced (exact case), and
// its relative folder appended.
std::string EntryFolder(const RunContext& run, std::string_view base, std::string_view relative) {
  std::string folder;
  if (base == "appdata")
    folder = run.values.AppDataFolder;
  else if (base == "localappdata")
    folder = run.values.LocalAppDataFolder;
  else
    folder = base;
  return folder + std::string(relative);
}

// Emptying a folder removes everything in it, so a "folder" entry must not
// name either application-data folder itself or a folder that holds one:
// that would wipe every application's data rather than one application's.
// The guard for that is built once per definition file, not per entry.
PathGuard ApplicationDataGuard(const RunContext& run) {
  PathGuard applicationData(run.platform.files);
  for (const std::string& location : {run.values.AppDataFolder, run.values.LocalAppDataFolder})
    if (!PathGuard::Normalize(location).empty()) applicationData.Protect(location);
  return applicationData;
}

// What the entries of one definition file work with.
struct EntryContext {
  RunContext& run;
  const PathGuard& applicationData;
};

using EntryAction = void (*)(EntryContext&, const std::vector<std::string_view>&);

void RegistryTreeEntry(EntryContext& entry, const std::vector<std::string_view>& fields) {
  RunContext& run = entry.run;
  const std::optional<std::uint32_t> root = ReadRootNumber(fields[0]);
  if (!root) return;
  run.RegistryKeysCleaned += run.erase.DeleteRegTree(*root, fields[1]);
}

void RegistryValueEntry(EntryContext& entry, const std::vector<std::string_view>& fields) {
  RunContext& run = entry.run;
  const std::optional<std::uint32_t> root = ReadRootNumber(fields[0]);
  if (!root) return;
  run.RegistryKeysCleaned += run.erase.DeleteRegValue(*root, fields[1], fields[2]);
}

void NamedFileEntry(EntryContext& entry, const std::vector<std::string_view>& fields) {
  RunContext& run = entry.run;
  run.BytesReleased += run.erase.DeleteNamedFilesInFolder(EntryFolder(run, fields[0], fields[1]), fields[2]);
}

void FileTypeEntry(EntryContext& entry, const std::vector<std::string_view>& fields) {
  RunContext& run = entry.run;
  // An empty type names no file type; matching it would erase every file
  // without an extension (README, LICENSE ...) in the folder.
  if (fields[2].empty()) return;
  run.BytesReleased += run.erase.DeleteFilesByExtensionInFolder(EntryFolder(run, fields[0], fields[1]), fields[2]);
}

void FolderEntry(EntryContext& entry, const std::vector<std::string_view>& fields) {
  RunContext& run = entry.run;
  const std::string folder = EntryFolder(run, fields[0], fields[1]);
  run.BytesReleased += run.erase.EmptyNamedFolderGuardedBy(folder, entry.applicationData);
}

struct ActionSection {
  std::string_view name;
  size_t fields;  // entries with fewer are skipped
  EntryAction action;
};

// In the order they are executed.
constexpr std::array<ActionSection, 5> kActionSections{{
    {"regtree", 2, RegistryTreeEntry},
    {"reg", 3, RegistryValueEntry},
    {"file", 3, NamedFileEntry},
    {"fileext", 3, FileTypeEntry},
    {"folder", 2, FolderEntry},
}};

// Runs one row of the plug-in list by its format.
void RunPluginRow(RunContext& run, const PluginRow& row) {
  switch (row.format) {
    case PluginFormat::kVpe:
      // The file is found by the row's name; a name that is not a file's
      // base name finds nothing to run.
      if (IsPluginFileName(row.name)) processshell(run, PluginFileFor(PluginFolder(run.ProgramFolder()), row.name));
      break;
  }
}

}  // namespace

std::optional<std::uint32_t> ReadRootNumber(std::string_view field) {
  while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) field.remove_prefix(1);
  if (field.size() >= 2 && field[0] == '&' && (field[1] == 'H' || field[1] == 'h')) return ReadHexRoot(field.substr(2));
  return ReadDecimalRoot(field);
}

void processshell(RunContext& run, std::string_view definitionFile) {
  const PathGuard applicationData = ApplicationDataGuard(run);
  EntryContext context{run, applicationData};
  for (const ActionSection& section : kActionSections) {
    const std::vector<std::string> entries = run.ini.ReadIniSection(section.name, definitionFile);
    for (const std::string& entry : entries) {
      if (const auto fields = EntryFields(entry, section.fields)) section.action(context, *fields);
    }
  }
}

std::vector<Item> PluginItems(Platform& platform) {
  FileSystemObject fso(platform.files);
  Inifun ini(platform.files);
  std::vector<Item> items;
  for (PluginRow& row : LoadPluginRows(fso, ini, PluginFolder(platform.shell.ProgramFolder()))) {
    Item item;
    item.switchFile = row.source;
    item.section = kPluginSwitchSection;
    item.key = kPluginSwitchKey;
    item.displayName = row.name;
    item.group = kPluginGroup;
    item.source = kPluginSource;
    item.row = ItemRow::kPlain;
    // Whether it was ticked cannot be known: the row says it could not run.
    if (row.readStatus != kOk) item.unavailable = ReadFailureStatus(row.readStatus);
    item.action = [row = std::move(row)](RunContext& run) {
      RunPluginRow(run, row);
      run.Pump();
      run.RegistryKeysCleaned += kPluginRegistryAmount;
      run.BytesReleased += kPluginBytesAmount;
    };
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace cv
