#pragma once
// UTF-8 inside the program, UTF-16 at the Win32 boundary.
#include <string>
#include <string_view>

namespace cv::win32 {

// Text that is not valid UTF-8 (for example an ANSI data file) is decoded
// with the ANSI code page instead, so it still reaches Windows intact.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// A path for the W file functions: absolute drive paths get the "\\?\"
// prefix, so paths longer than MAX_PATH work.
std::wstring LongPath(std::string_view utf8Path);

}  // namespace cv::win32
