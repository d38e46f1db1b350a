#pragma once
// The program's own files, beside the executable: each name is the text that
// follows the program folder, beginning with "\".
#include <string_view>

namespace cv {

inline constexpr std::string_view kSelectionFileName = "\\vanesd.dat";
inline constexpr std::string_view kCustomItemFileName = "\\cusd.dat";
inline constexpr std::string_view kUrlKeepFileName = "\\keepurl.dat";
inline constexpr std::string_view kCookieKeepFileName = "\\keepcook.dat";
inline constexpr std::string_view kDomainKeepFileName = "\\keepdomains.dat";
inline constexpr std::string_view kExtensionFileName = "\\Ext.txt";
inline constexpr std::string_view kPluginFolderName = "\\plus-in";

}  // namespace cv
