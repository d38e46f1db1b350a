#pragma once
// Overwriting a file before its deletion, through handles.
#include <string>
#include <string_view>

#include "platform/overwrite.h"
#include "platform/win32/win.h"

namespace cv::win32 {

// `file` is open for writing and deletion (a final link not followed) and
// `folder` is the open folder holding it. On kOverwritten the content was
// overwritten `passes` times with random bytes (each pass flushed to disk),
// the file renamed to a random name in the same folder (left in `renamedTo`)
// and truncated to nothing; the caller then deletes it through `file`.
OverwriteResult OverwriteOpenFile(HANDLE file, HANDLE folder, int passes, std::string& renamedTo);

}  // namespace cv::win32
