#pragma once
// The plug-in list: one row per plug-in definition, as the selection dialog
// shows it (name, version, description, tick) and the cleaning run follows
// it (one row per ticked plug-in). A row records which definition format it
// came from and where, so another format (a winapp2.ini file with one entry
// per section, say) can feed the same rows.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace cv {

class FileSystemObject;
class Inifun;
class RunContext;

enum class PluginFormat : std::uint8_t {
  kVpe,  // one ".vpe" INI file per plug-in in the plug-in folder
};

struct PluginRow {
  std::string name;         // row text: "appname" of section "name"
  std::string version;      // "appver" of section "version"
  std::string description;  // the name, the version and "decs" of section "dec", joined by single blanks
  bool ticked = false;      // "on" of section "swich" is exactly "1"
  PluginFormat format = PluginFormat::kVpe;
  std::string source;  // the definition file the row was read from
  // kOk, or why the file could not be read (kErrFileTooLarge, a sharing
  // violation ...): such a row is named after its file and never ticked.
  Status readStatus = kOk;
};

inline constexpr std::string_view kPluginExtension = "vpe";
// A plug-in's tick: this key of this section of its own file.
inline constexpr std::string_view kPluginSwitchSection = "swich";
inline constexpr std::string_view kPluginSwitchKey = "on";
// The heading the plug-ins are listed under.
inline constexpr std::string_view kPluginGroup = "Plug-ins";

// The program folder followed by "\plus-in".
std::string PluginFolder(std::string_view programFolder);
// The file the run executes and the dialog writes the tick into for a row:
// the plug-in folder, "\", the row's name and ".vpe".
std::string PluginFileFor(std::string_view pluginFolder, std::string_view name);

// One row per ".vpe" file (extension compared without regard to case) directly
// in the folder, in the order the file system lists them. A missing folder
// gives no rows.
std::vector<PluginRow> LoadPluginRows(FileSystemObject& fso, Inifun& ini, std::string_view pluginFolder);
// Stores each row's tick as "1" or "0" in "swich"/"on" of PluginFileFor(row.name)
// when that file exists: a row whose name is not its file's base name
// creates no stray file. Returns the files that could not be written.
std::vector<std::string> SavePluginTicks(FileSystemObject& fso, Inifun& ini, std::string_view pluginFolder,
                                         std::span<const PluginRow> rows);
// Whether a row's name can be a file's base name in the plug-in folder: not
// empty, no folder separator or drive colon, not "." or "..". Any other name
// names no plug-in file (it would reach outside the folder).
bool IsPluginFileName(std::string_view name);

// A root field of a registry entry: leading blanks skipped, then an optional
// sign and decimal digits (a fraction rounded to the nearest integer, ties to
// even) or "&H" and up to eight hexadecimal digits; reading stops at the first
// character that does not fit, and text without a number is 0. The handle is
// the number's 32 bits (-2147483647 and &H80000001 are HKEY_CURRENT_USER).
// nullopt when the number does not fit a signed 32-bit integer.
std::optional<std::uint32_t> ReadRootNumber(std::string_view field);

// Executes one plug-in definition file: its sections "regtree", "reg",
// "file", "fileext" and "folder", in that order, entry by entry.
void processshell(RunContext& run, std::string_view definitionFile);

}  // namespace cv
