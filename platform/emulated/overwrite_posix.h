#pragma once
// Overwriting an open file before its deletion, on a POSIX file system.
#include <string>
#include <string_view>

#include "platform/overwrite.h"

namespace cv::emulated {

// `folder` is the descriptor of the folder holding `name`. On kOverwritten the
// file was overwritten `passes` times with random bytes (each pass flushed),
// renamed to a random name in the same folder (left in `renamedTo`) and
// truncated; the caller then deletes `renamedTo`. Links are never followed.
OverwriteResult OverwriteFileAt(int folder, std::string_view name, int passes, std::string& renamedTo);

}  // namespace cv::emulated
