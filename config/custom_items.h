#pragma once
// The custom items of the selection dialog: the user's own files and folders
// to erase, kept in "cusd.dat" beside the program (one path, a TAB and "File"
// or "Folder" per line, CR LF), and the file picker's answer split into names.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/custom_list.h"
#include "config/data_files.h"
#include "platform/filesystem.h"

namespace cv {

class FileSystemObject;

struct CustomItemRow {
  std::string path;  // "Name"
  // The type as stored: "File", "Folder", another text kept as it was, or
  // nullopt for a line without a TAB. Only "File" and "Folder" are shown.
  std::optional<std::string> type;
  std::string size;      // "Size", e.g. "00.50MB"; empty for other types
  std::string modified;  // "Modified"; empty for other types

  std::string TypeColumn() const;
};

// The two number patterns of the "Size" column.
enum class SizePattern {
  kOptionalDigits,  // "##.##": rows added while the dialog is open (".5", ".")
  kTwoDigits,       // "00.00": rows loaded from the file ("00.50")
};
// Bytes as megabytes (bytes / 1048576) in the pattern, then "MB".
std::string MegabyteText(std::uint64_t bytes, SizePattern pattern);

// Turns a file time (FILETIME, UTC) into the system's date text.
using ModifiedTimeText = std::function<std::string(std::int64_t utcFileTime)>;

// A row for a path of the given type with its size and date, or nullopt
// when the path is not there as that type (a "File" that is a folder).
std::optional<CustomItemRow> MeasureCustomItem(FileSystemObject& fso, const ModifiedTimeText& timeText,
                                               std::string path, std::string_view type, SizePattern pattern);

// Reads the custom item file (ReadCustomList): a row per line whose path
// names an existing file or folder that is neither hidden nor a system item.
// A missing or unreadable file gives no rows; `readStatus` gets why.
std::vector<CustomItemRow> LoadCustomItems(FileSystemObject& fso, const ModifiedTimeText& timeText,
                                           std::string_view listFile, Status* readStatus = nullptr);
// The file's text for the rows: path, TAB and type per line, CR LF; a row
// stored without a TAB is written back without one.
std::string CustomItemsText(const std::vector<CustomItemRow>& rows);

// The file-open dialog's answer, split (`GetSelectedFiles`).
struct SelectedFiles {
  std::uint16_t count = 0;
  std::string directory;           // ends with "\"
  std::vector<std::string> names;  // count entries
};

// `answer` is a full path (one file) or a folder followed by the names, each
// preceded by a NUL; `currentDirectory` is the folder the dialog chose.
SelectedFiles GetSelectedFiles(std::string_view answer, std::string_view currentDirectory);
// The folder a file-open answer names: the text before the first NUL of a
// several-file answer, or the folder part of a single path ("C:\" for a
// file in a drive root).
std::string AnswerDirectory(std::string_view answer);

}  // namespace cv
