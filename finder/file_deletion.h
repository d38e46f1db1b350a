#pragma once
// "Delete selected": deletes the files of the chosen result rows, into the
// Recycle Bin or permanently. A row deletes only a plain file that is still
// inside the searched folder's tree: a path outside it, a file that became a
// folder or a link, or a path through a folder that became a link deletes
// nothing. Files that stay are named in one summary line.
#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "platform/filesystem.h"
#include "platform/recycle_bin.h"

namespace cv::finder {

struct DeletionOutcome {
  size_t deleted = 0;
  std::vector<std::string> kept;  // paths of files that could not be deleted
};

// `recycleBin` null: permanent deletion. Setting `stop` leaves the files not
// yet reached as they are.
DeletionOutcome DeleteFoundFiles(FileSystem& files, RecycleBin* recycleBin, std::string_view searchedFolder,
                                 const std::vector<std::string>& paths, const std::atomic<bool>* stop = nullptr);

// Empty when every file went; else "N file(s) could not be deleted: a; b"
// (the first 20 named, the rest counted).
std::string KeptFilesLine(const DeletionOutcome& outcome);

}  // namespace cv::finder
