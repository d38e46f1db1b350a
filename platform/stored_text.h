#pragma once
// Text the program reads from data files: the selection file, plug-ins, the
// custom list and the keep lists. Such files are ANSI text by tradition, but
// an editor may have saved one as UTF-8. Every text read from them is decoded
// here, once, before anything compares it: valid UTF-8 (plain ASCII included)
// is kept as it is, anything else is read in the system's ANSI code page.
// The result is always valid UTF-8, so the guard and the system see the same
// path in it.
#include <string>
#include <string_view>

namespace cv {

std::string DecodeStoredText(std::string_view bytes);

// Shortest forms only, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// The system's ANSI code page to UTF-8; each platform defines it
// (platform/win32: the active code page; platform/emulated: Windows-1252).
std::string AnsiToUtf8(std::string_view bytes);

}  // namespace cv
