#pragma once
// The finder's and the extension list dialog's own texts.
#include <string_view>

namespace cv::finder::texts {

inline constexpr std::string_view kFinderCaption = "Search & Erase";
inline constexpr std::string_view kFindFiles = "&Find Files";
inline constexpr std::string_view kExit = "E&xit";
inline constexpr std::string_view kStop = "&Stop";

inline constexpr std::string_view kDeleteWarning =
    "Deleting file from your Hard Disk is risky... make sure you know what your doing!\r\n"
    "Do you want to continue?\r\n"
    "(if you click yes, this message will no apear again)";
inline constexpr std::string_view kDeleteWarningCaption = "Note";
inline constexpr std::string_view kResetQuestion = "Do you want to reset all of the parameters to default? ";
inline constexpr std::string_view kResetCaption = "Are you sure?";

inline constexpr std::string_view kIllegalExtension = "Please fill a legal extention name and try again!";
inline constexpr std::string_view kIllegalExtensionCaption = "Error";
inline constexpr std::string_view kDefaultQuestion = "Are you sure you want to Return to the defaul settings?";
inline constexpr std::string_view kDefaultCaption = "Warnning:";
inline constexpr std::string_view kNewEntry = "*.";

inline constexpr std::string_view kFolderMissing = "The folder cannot be opened:";

}  // namespace cv::finder::texts
