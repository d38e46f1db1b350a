#pragma once
// What a cleaning run erased, or in preview would erase: one entry per file,
// folder, registry key/tree/value, INI section, shell command or the rows
// of one database table.
#include <string>
#include <string_view>

namespace cv {

enum class EraseMode { Clean, Preview };

enum class EntryKind { File, Folder, RegKey, RegTree, RegValue, IniSection, Command, Rows };

// "file", "folder", "regkey", "regtree", "regvalue", "inisection", "command", "rows".
std::string_view EntryKindName(EntryKind kind);

struct EraseEntry {
  EntryKind kind = EntryKind::File;
  std::string path;      // file/folder path, full key path, "file [section]", the command line, "file [table]"
  double bytes = 0;      // bytes released (files and folders)
  bool refused = false;  // a protected target the run would not touch
  long long rows = 0;    // Rows: how many rows of the table
};

class EraseSink {
 public:
  virtual ~EraseSink() = default;
  virtual void Erased(const EraseEntry& entry) = 0;
};

}  // namespace cv
