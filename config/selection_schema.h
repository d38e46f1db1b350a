#pragma once
// The selection file "vanesd.dat" as data: the 140 item switches with the
// selection-dialog check box that shows each one, the "Options" keys, and the
// one rule by which a stored switch value is read.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace cv {

// ---- Reading a switch value ------------------------------------------------
//
// A value "converts to a number" when, after leading and trailing spaces and
// tabs are ignored, it is one of:
//   - a decimal number: optional "+" or "-", digits with an optional "." and
//     fraction (or "." and at least one digit), optional exponent "e"/"E" with
//     optional sign and at least one digit. "1", "01", "+1", "1.0", "1.",
//     "1e0", ".1e1" all convert to 1; the decimal point is always ".", never
//     the locale's, and there are no group separators ("1,0" does not convert);
//   - "&H" followed by 1 to 8 hexadecimal digits, or "&O" followed by 1 to 11
//     octal digits (letters in either case), as the program's original
//     language converted them: "&H1" and "&O1" convert to 1.
// Everything else does not convert: "", words ("true", "yes", "inf", "nan"),
// trailing junk ("1abc", "1e"), "0x1", "$1", "(1)", embedded blanks ("1 0").
// The number is a double, so "1.00000000000000000001" is 1. A decimal beyond
// the range of a double still converts: to infinity when too large, to zero
// when too close to zero (never to 1).
std::optional<double> SwitchValueAsNumber(std::string_view value);

// The one rule by which the dialogs show and the program acts on a stored
// switch or option flag: on only for a value that converts to the number 1
// ("1", "01", " 1", "1.0"); off for any other number and for a value that is
// missing, empty or not a number. A box shows what will happen, and a key the
// user never ticked never starts erasing.
bool SwitchIsOn(std::string_view value);

// ---- The selection dialog's layout -------------------------------------------

// Leaf pages of the dialog: the ten "Browsers" sub-pages, then the other top pages.
enum class SelectionPage : std::uint8_t {
  kInternetExplorer,
  kFirefox,
  kOpera,
  kNetscape,
  kAolExplorer,
  kMsnExplorer,
  kMozilla,
  kMaxthon,
  kChrome,
  kSafari,
  kWindows,
  kMicrosoftOffice,
  kApplications,
  kCustomItem,
  kInstantMessaging,
  kEmailReaders,
};

struct SelectionPageInfo {
  SelectionPage page;
  std::string_view tab;         // caption on the top tab control
  std::string_view browserTab;  // caption on the "Browsers" tab control, empty elsewhere
};

enum class SelectionFrame : std::uint8_t {
  kInternetExplorer,
  kFirefox,
  kOpera,
  kNetscape,
  kAolExplorer,
  kMsnExplorer,
  kMozilla,
  kMaxthon,
  kChrome,
  kSafari,
  kWindows,
  kMicrosoftOffice,
  kCustomItem,
  kWindowsLiveMessenger,
  kAolInstantMessenger,
  kIcq,
  kYahooMessenger,
  kOutlookExpress,
  kWindowsMail,
};

struct SelectionFrameInfo {
  SelectionFrame frame;
  std::string_view name;  // control name, e.g. "Frame4"
  std::string_view caption;
  SelectionPage page;
  std::string_view selectAllBox;  // e.g. "Check9"; empty when the frame has none
};

inline constexpr std::string_view kSelectAllCaption = "Select all of the above";

// ---- Item switches ----------------------------------------------------------

struct ItemSwitch {
  std::string_view section;   // as the dialog writes it, e.g. "OPERA"
  std::string_view key;       // as the dialog writes it, e.g. "Images"
  std::string_view checkBox;  // e.g. "Check153"
  std::string_view caption;   // the check box's caption
  SelectionFrame frame;
};

inline constexpr std::size_t kItemSwitchCount = 140;

// All switches in the order the dialog writes them on "OK".
std::span<const ItemSwitch> ItemSwitches();
// Pages in tab order; frames in enumeration order.
std::span<const SelectionPageInfo> SelectionPages();
std::span<const SelectionFrameInfo> SelectionFrames();

const SelectionPageInfo& PageInfo(SelectionPage page);
const SelectionFrameInfo& FrameInfo(SelectionFrame frame);
SelectionPage PageOf(const ItemSwitch& itemSwitch);

// Section and key are matched without regard to (ASCII) case, as the profile
// functions match them. nullptr / nullopt when there is no such switch.
const ItemSwitch* FindSwitch(std::string_view section, std::string_view key);
std::optional<std::size_t> FindSwitchIndex(std::string_view section, std::string_view key);

// Switches of one page or one frame, in the dialog's write order.
std::vector<const ItemSwitch*> SwitchesOnPage(SelectionPage page);
std::vector<const ItemSwitch*> SwitchesInFrame(SelectionFrame frame);

// ---- Section "Options" ------------------------------------------------------

inline constexpr std::string_view kOptionsSection = "Options";

inline constexpr std::string_view kOptionBossKey = "bosskey";
// The boss key also hides today's browsers: exactly "1"; off when missing.
inline constexpr std::string_view kOptionBossKeyBrowsers = "bosskeybrowsers";
inline constexpr std::string_view kOptionStartup = "startup";
inline constexpr std::string_view kOptionAutoClean = "autoclean";
inline constexpr std::string_view kOptionExit = "exit";
inline constexpr std::string_view kOptionSecurely = "securely";
// Overwrite passes of secure cleaning: "1" (default) or "3".
inline constexpr std::string_view kOptionSecurePasses = "securepasses";
inline constexpr std::string_view kOptionWindowsStartup = "WindowsStartup";
inline constexpr std::string_view kOptionWindowsShutdown = "WindowsShutdown";
// "1": a clean started at the window erases without asking first.
inline constexpr std::string_view kOptionDontAskBeforeCleaning = "DontAskBeforeCleaning";
inline constexpr std::string_view kOptionCleanDays = "CleanDays";
inline constexpr std::string_view kOptionCleanTime = "CleanTime";
inline constexpr std::string_view kOptionLastClean = "lastclean";
inline constexpr std::string_view kOptionRegNum = "regnum";
inline constexpr std::string_view kOptionFileSize = "filesize";

enum class OptionForm : std::uint8_t {
  kFlag,       // "1" / "0"
  kWeekdays,   // seven characters "0"/"1", Sunday first
  kTimeOfDay,  // as chosen in the options dialog, e.g. "9:30"
  kDateTime,   // end of the last run, in the system's general date format
  kDecimal,    // a count as plain decimal text
};

struct OptionKey {
  std::string_view key;
  OptionForm form;
  // The value a fresh selection file holds (flags: "0", off).
  std::string_view defaultValue;
};

std::span<const OptionKey> OptionKeys();
const OptionKey* FindOptionKey(std::string_view key);

}  // namespace cv
