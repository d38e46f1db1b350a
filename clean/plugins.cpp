#include "clean/plugins.h"

#include "platform/fso.h"
#include "config/data_files.h"
#include "config/inifun.h"
#include "config/selection_schema.h"
#include "platform/text.h"

namespace cv {

namespace {

// The four values from one read of the file.
PluginRow ReadVpeRow(Inifun& ini, const FileEntry& entry) {
  const std::string& file = entry.path;
  PluginRow row;
  row.format = PluginFormat::kVpe;
  row.source = file;
  row.readStatus = ini.ReadStatus(file);
  if (row.readStatus != kOk) {
    row.name = entry.name.substr(0, entry.name.size() - kPluginExtension.size() - 1);
    row.description = row.name;
    return row;
  }
  constexpr Inifun::Value kKeys[] = {{"name", "appname", ""},
                                     {"version", "appver", ""},
                                     {"dec", "decs", ""},
                                     {kPluginSwitchSection, kPluginSwitchKey, ""}};
  const std::vector<std::string> values = ini.ReadIniValues(file, kKeys);
  row.name = values[0];
  row.version = values[1];
  row.description = row.name + " " + row.version + " " + values[2];
  row.ticked = SwitchIsOn(values[3]);
  return row;
}

}  // namespace

std::string PluginFolder(std::string_view programFolder) {
  return std::string(programFolder) + std::string(kPluginFolderName);
}

std::string PluginFileFor(std::string_view pluginFolder, std::string_view name) {
  return std::string(pluginFolder) + "\\" + std::string(name) + "." + std::string(kPluginExtension);
}

std::vector<PluginRow> LoadPluginRows(FileSystemObject& fso, Inifun& ini, std::string_view pluginFolder) {
  std::vector<PluginRow> rows;
  fso.ForEachFile(pluginFolder, [&](const FileEntry& file) {
    if (EqualsNoCase(FileSystemObject::GetExtensionName(file.name), kPluginExtension))
      rows.push_back(ReadVpeRow(ini, file));
  });
  return rows;
}

bool IsPluginFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string_view::npos;
}

std::vector<std::string> SavePluginTicks(FileSystemObject& fso, Inifun& ini, std::string_view pluginFolder,
                                         std::span<const PluginRow> rows) {
  std::vector<std::string> failed;
  for (const PluginRow& row : rows) {
    if (row.format != PluginFormat::kVpe || !IsPluginFileName(row.name)) continue;
    const std::string file = PluginFileFor(pluginFolder, row.name);
    if (!fso.FileExists(file)) continue;
    const Inifun::Value on{kPluginSwitchSection, kPluginSwitchKey, row.ticked ? "1" : "0"};
    if (ini.WriteIniValues(file, std::span(&on, 1)) != kOk) failed.push_back(file);
  }
  return failed;
}

}  // namespace cv
