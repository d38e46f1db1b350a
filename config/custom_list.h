#pragma once
// The custom item file "cusd.dat" beside the program: the user's own files
// and folders to erase, one per line, the path, a TAB and "File" or
// "Folder". The selection dialog and the cleaning run read it here alike, so
// a path the run erases is one the dialog shows and keeps.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/filesystem.h"

namespace cv {

inline constexpr std::string_view kCustomTypeFile = "File";
inline constexpr std::string_view kCustomTypeFolder = "Folder";

// A list of picked paths is small; a larger file is not one the dialog
// wrote, and is left alone rather than read into memory.
inline constexpr std::uint64_t kMaxCustomListBytes = 16ull << 20;

struct CustomListLine {
  std::string path;  // UTF-8; a path saved in the ANSI code page (Windows-1252) is converted
  // The second TAB-separated field as stored, nullopt for a line without a TAB.
  std::optional<std::string> type;
};

// The lines with a path, in file order (CR LF, LF or CR end a line). kOk, or
// why the file gave no lines: kErrFileNotFound, kErrFileTooLarge, a read failure.
Status ReadCustomList(FileSystem& files, std::string_view listFile, std::vector<CustomListLine>& lines);

}  // namespace cv
