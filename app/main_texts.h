#pragma once
// The main window's own texts, used exactly as they stand.
#include <array>
#include <string_view>

#include "cv_version.h"

namespace cv::texts {

inline constexpr std::string_view kCaption = "Clearvane V" CV_VERSION_TEXT;
inline constexpr std::string_view kApplicationTitle = "Clearvane";
inline constexpr std::string_view kWebsite = "https://www.clearvane.example/";
inline constexpr std::string_view kVisitUs = "Visit us at: ";
inline constexpr std::string_view kTellAFriend = "mailto:";

inline constexpr std::string_view kProductName = "Clearvane";
inline constexpr std::string_view kWelcomeLine = "Ensure your privacy by erasing kinds of tracks from your computer.";
inline constexpr std::string_view kCleanHeading = "Using this program, you can clean and remove:";
inline constexpr std::array<std::string_view, 8> kCleanList = {
    " Recycle Bin;",
    " Temporary Internet Files;",
    " Cookies; your favoryte cookies may be safely kept;",
    " Temporary Files;",
    " History of visited Web Pages;",
    " Autocomplete text of text and password boxes on web pages;",
    " Recent Documents history;",
    " Microsoft Internet Explorer, Mozilla Firefox, Netsape, Msn Explorer and Opera are supported.",
};
inline constexpr std::string_view kAlsoHeading = "You also can:";
inline constexpr std::array<std::string_view, 4> kAlsoList = {
    " Delete links to files opened by MS Office, standard Windows applications, etc.",
    " registry clean",
    " Schedule cleaning tasks. Tasks may start in schedulled times or events;",
    " Set a Boss Key(a keyboard key shortcut) to quickly Hide and show all web browsers on your system.",
};
inline constexpr std::string_view kHelpLabel = "Help";

inline constexpr std::string_view kStatusFrame = "Status";
inline constexpr std::string_view kItemColumn = "Item";
inline constexpr std::string_view kStatusColumn = "Status";
inline constexpr std::string_view kStartCleaning = "Start Cleaning >>";
inline constexpr std::string_view kCancel = "Cancel";
inline constexpr std::string_view kLastCleanedAt = "Last Cleaned at:";

inline constexpr std::string_view kAboutCaption = "About Clearvane";
inline constexpr std::string_view kAboutVersion = "Ver " CV_SHORT_VERSION_TEXT "        Build:" CV_BUILD_TEXT;
inline constexpr std::string_view kAboutDescription =
    "Clearvane erases the traces of your activity: browser histories, caches, cookies, "
    "recent-document lists, temporary files and more.";
inline constexpr std::string_view kAboutLegal =
    "This program is provided as is, without warranty of any kind. Use it at your own risk.";

inline constexpr std::string_view kTrayTip = "Clearvane";

// Shown by the commands whose windows are not part of this build yet.
inline constexpr std::string_view kNotAvailable = "This window is not available in this version yet.";
inline constexpr std::string_view kRestartAfterRun =
    "A cleaning is under way. Restart as administrator when it has finished.";
inline constexpr std::string_view kRestartFailed = "Clearvane could not restart as administrator: ";
inline constexpr std::string_view kRunRefusedWhileWindowOpen =
    "A cleaning cannot start while a settings window is open. Close it, then start the cleaning again.";

}  // namespace cv::texts
