#include "config/selection_schema.h"

#include <array>
#include <charconv>
#include <limits>

#include "platform/text.h"

namespace cv {
namespace {

using F = SelectionFrame;
using P = SelectionPage;

constexpr std::array<SelectionPageInfo, 16> kPages{{
    {P::kInternetExplorer, "Browsers", "Internet Explorer"},
    {P::kFirefox, "Browsers", "Firefox"},
    {P::kOpera, "Browsers", "Opera"},
    {P::kNetscape, "Browsers", "Netscape"},
    {P::kAolExplorer, "Browsers", "AOL Explorer"},
    {P::kMsnExplorer, "Browsers", "MSN Explorer"},
    {P::kMozilla, "Browsers", "Mozilla"},
    {P::kMaxthon, "Browsers", "Maxthon Browser"},
    {P::kChrome, "Browsers", "Google Chrome"},
    {P::kSafari, "Browsers", "Safari"},
    {P::kWindows, "Windows", ""},
    {P::kMicrosoftOffice, " Microsoft Office", ""},
    {P::kApplications, "Applications", ""},
    {P::kCustomItem, "Custom Item", ""},
    {P::kInstantMessaging, "Instant Messaging", ""},
    {P::kEmailReaders, "Email Readers", ""},
}};

constexpr std::array<SelectionFrameInfo, 19> kFrames{{
    {F::kInternetExplorer, "Frame4", "Internet Explorer", P::kInternetExplorer, "Check9"},
    {F::kFirefox, "Frame8", "Mozilla Firefox", P::kFirefox, "Check46"},
    {F::kOpera, "Frame1", "Opera", P::kOpera, "Check13"},
    {F::kNetscape, "Frame2", "Netscape Navigator", P::kNetscape, "Check14"},
    {F::kAolExplorer, "Frame9", "AOL Explorer", P::kAolExplorer, "Check47"},
    {F::kMsnExplorer, "Frame3", "MSN Exploer", P::kMsnExplorer, "Check19"},
    {F::kMozilla, "Frame10", "Mozilla", P::kMozilla, "Check68"},
    {F::kMaxthon, "Frame17", "Maxthon Browser", P::kMaxthon, "Check133"},
    {F::kChrome, "Frame18", "Google Chrome", P::kChrome, "Check140"},
    {F::kSafari, "Frame19", "Safari", P::kSafari, "Check145"},
    {F::kWindows, "Frame5", "Windows", P::kWindows, "Check31"},
    {F::kMicrosoftOffice, "Frame6", "MS Office(support 97, 2000, XP, 2003, 2007,2010)", P::kMicrosoftOffice, "Check41"},
    {F::kCustomItem, "Frame7", "Select Folder and Files That will Be Erased", P::kCustomItem, ""},
    {F::kWindowsLiveMessenger, "Frame11", "Windows Live Messenger", P::kInstantMessaging, ""},
    {F::kAolInstantMessenger, "Frame12", "AOL Instant Messenger", P::kInstantMessaging, ""},
    {F::kIcq, "Frame13", "ICQ", P::kInstantMessaging, ""},
    {F::kYahooMessenger, "Frame14", "Yahoo! Messenger", P::kInstantMessaging, ""},
    {F::kOutlookExpress, "Frame15", "Outlook Express", P::kEmailReaders, "Check127"},
    {F::kWindowsMail, "Frame16", "Windows Mail", P::kEmailReaders, "Check128"},
}};

constexpr std::array<ItemSwitch, kItemSwitchCount> kSwitches{{
    {"EXPLORER", "location", "Check1", "IE Address Bar History", F::kInternetExplorer},
    {"EXPLORER", "history", "Check2", "IE Internet History Files", F::kInternetExplorer},
    {"EXPLORER", "cache", "Check3", "IE Internet Cache", F::kInternetExplorer},
    {"EXPLORER", "cookies", "Check4", "IE Cookies", F::kInternetExplorer},
    {"EXPLORER", "favorites", "Check5", "IE Favorites", F::kInternetExplorer},
    {"EXPLORER", "autocomplete", "Check6", "IE Autocomplete memory", F::kInternetExplorer},
    {"EXPLORER", "downloaded", "Check7", "IE Downloaded Files(Only IE9)", F::kInternetExplorer},
    {"EXPLORER", "downloadedhistory", "Check153", "IE Downloaded History(Only IE9)", F::kInternetExplorer},
    {"EXPLORER", "index", "Check54", "Index.dat", F::kInternetExplorer},
    {"EXPLORER", "inprivate", "Check135", "Inprivate Filter", F::kInternetExplorer},
    {"EXPLORER", "addons", "Check154", "Add-ons Settings", F::kInternetExplorer},

    {"FIREFOX", "Address", "Check42", "Address Bar History", F::kFirefox},
    {"FIREFOX", "Cookies", "Check43", "Cookies", F::kFirefox},
    {"FIREFOX", "Cache", "Check44", "Cache", F::kFirefox},
    {"FIREFOX", "History", "Check45", "History Files", F::kFirefox},
    {"FIREFOX", "Download", "Check53", "Download Manager History", F::kFirefox},
    {"FIREFOX", "bookmarks", "Check55", "Bookmarks", F::kFirefox},
    {"FIREFOX", "passwords", "Check56", "Saved Passwords", F::kFirefox},

    {"AOL", "Address", "Check51", "Address Bar History", F::kAolExplorer},
    {"AOL", "Cookies", "Check50", "Cookies", F::kAolExplorer},
    {"AOL", "Cache", "Check49", "Cache", F::kAolExplorer},
    {"AOL", "History", "Check48", "History Files", F::kAolExplorer},

    {"OPERA", "Address", "Check8", "Address Bar History", F::kOpera},
    {"OPERA", "Cookies", "Check10", "Cookies", F::kOpera},
    {"OPERA", "Cache", "Check11", "Cache", F::kOpera},
    {"OPERA", "History", "Check12", "History Files", F::kOpera},
    {"OPERA", "downloads", "Check57", "Downloads History", F::kOpera},
    {"OPERA", "Sessions", "Check58", "Sessions", F::kOpera},
    {"OPERA", "Images", "Check59", "Site Images", F::kOpera},
    {"OPERA", "Bookmarks", "Check60", "Bookmarks", F::kOpera},
    {"OPERA", "Passwords", "Check61", "Saved Passwords", F::kOpera},

    {"NETSCAPE", "Location", "Check18", "Address Bar History", F::kNetscape},
    {"NETSCAPE", "Cookies", "Check17", "Cookies", F::kNetscape},
    {"NETSCAPE", "Cache", "Check16", "Cache", F::kNetscape},
    {"NETSCAPE", "History", "Check15", "History files", F::kNetscape},
    {"NETSCAPE", "download", "Check64", "Download Manager History", F::kNetscape},
    {"NETSCAPE", "bookmarks", "Check63", "Bookmarks", F::kNetscape},
    {"NETSCAPE", "passwords", "Check62", "Saved Passwords", F::kNetscape},

    {"MSN", "Location", "Check23", "Address Bar History", F::kMsnExplorer},
    {"MSN", "Cookies", "Check22", "Cookies", F::kMsnExplorer},
    {"MSN", "Cache", "Check21", "Cache", F::kMsnExplorer},
    {"MSN", "History", "Check20", "History Files", F::kMsnExplorer},

    {"Mozilla", "Address", "Check72", "Address Bar History", F::kMozilla},
    {"Mozilla", "Cookies", "Check71", "Cookies", F::kMozilla},
    {"Mozilla", "Cache", "Check70", "Cache", F::kMozilla},
    {"Mozilla", "History", "Check69", "History Files", F::kMozilla},

    {"Maxthon", "keywords", "Check129", "Typed Urls", F::kMaxthon},
    {"Maxthon", "pages", "Check130", "Information about open pages", F::kMaxthon},
    {"Maxthon", "settings", "Check131", "Maxthon settings", F::kMaxthon},
    {"Maxthon", "groups", "Check132", "Maxthon History Files", F::kMaxthon},
    {"Maxthon", "folder", "Check134", "Maxthon default save folder", F::kMaxthon},

    {"Chrome", "download", "Check136", "Download History", F::kChrome},
    {"Chrome", "Cookies", "Check137", "Cookies", F::kChrome},
    {"Chrome", "Cache", "Check138", "Cache", F::kChrome},
    {"Chrome", "History", "Check139", "History Files", F::kChrome},
    {"Chrome", "Forms", "Check141", "Forms Data/Saved passwords", F::kChrome},
    {"Chrome", "Session", "Check142", "Session", F::kChrome},

    {"Safari", "history", "Check149", "History", F::kSafari},
    {"Safari", "pages", "Check148", "Information about open pages", F::kSafari},
    {"Safari", "Cache", "Check147", "Cache", F::kSafari},
    {"Safari", "Cookies", "Check146", "Cookies", F::kSafari},
    {"Safari", "Download", "Check144", "Download information", F::kSafari},
    {"Safari", "Autocomplete", "Check150", "Autocomplete", F::kSafari},
    {"Safari", "RecentSearches", "Check151", "Recent Searches", F::kSafari},
    {"Safari", "Images", "Check152", "Webpage Previews Image", F::kSafari},

    {"WINDOWS", "recent", "Check24", "Recent Documents History", F::kWindows},
    {"WINDOWS", "run", "Check25", "Start Menu Run History", F::kWindows},
    {"WINDOWS", "search", "Check26", "Start Menu Search History", F::kWindows},
    {"WINDOWS", "temp", "Check27", "Windows Temp", F::kWindows},
    {"WINDOWS", "recycle", "Check30", "Recycle Bin", F::kWindows},
    {"WINDOWS", "open", "Check32", "Open/Save Dialog Box History", F::kWindows},
    {"WINDOWS", "scandisk", "Check33", "Scandisk Temp Files", F::kWindows},
    {"WINDOWS", "passwords", "Check34", "Windows Passwords(Only 9X/Me)", F::kWindows},
    {"WINDOWS", "clip", "Check35", "Windows Clipboard", F::kWindows},
    {"WINDOWS", "wordpad", "Check28", "Wordpad Recent Files", F::kWindows},
    {"WINDOWS", "paint", "Check29", "Windows Paint Recent Files", F::kWindows},
    {"WINDOWS", "picturelocation", "Check86", "The Custom Locations From Picture Location Drop-down Box", F::kWindows},
    {"WINDOWS", "DirectX", "Check87", "DirectX Most Recent Applications", F::kWindows},
    {"WINDOWS", "findcomputer", "Check88", "Find Computer Dialog Box", F::kWindows},
    {"WINDOWS", "findfiles", "Check89", "Find Files Dialog Box", F::kWindows},
    {"WINDOWS", "mapnetwork", "Check90", "Map Network Drive MRU", F::kWindows},
    {"WINDOWS", "management", "Check91", "Microsoft Management Console Recent File List", F::kWindows},
    {"WINDOWS", "notification", "Check92", "Past Items From The Notification Area", F::kWindows},
    {"WINDOWS", "registryeditor", "Check93", "Registry Editor Last Opened Key", F::kWindows},
    {"WINDOWS", "searchfolders", "Check94", "Saved Search Folders From windows Vista", F::kWindows},
    {"WINDOWS", "menuorder", "Check95", "Start Menu Programs And Favorites Menu Order", F::kWindows},
    {"WINDOWS", "recentlyused", "Check96", "The List of Most Recently Used Files and Folders", F::kWindows},
    {"WINDOWS", "thumbs", "Check97", "Thumbs.db", F::kWindows},
    {"WINDOWS", "streams", "Check98", "Windows Explorer Streams MRUs/Typed Paths", F::kWindows},
    {"WINDOWS", "swap", "Check99", "Windows Swap/Paging File", F::kWindows},
    {"WINDOWS", "userassist", "Check100", "Windows Userassist MRUs", F::kWindows},
    {"WINDOWS", "unread", "Check101", "Windows XP unread mail count", F::kWindows},

    {"OFFICE", "word", "Check37", "Microsoft Word", F::kMicrosoftOffice},
    {"OFFICE", "excel", "Check38", "Microsoft Excel", F::kMicrosoftOffice},
    {"OFFICE", "powerpoint", "Check39", "Microsoft PowerPoint", F::kMicrosoftOffice},
    {"OFFICE", "frontpage", "Check40", "Microsoft FrontPage", F::kMicrosoftOffice},
    {"OFFICE", "Publisher", "Check102", "Microsoft Publisher", F::kMicrosoftOffice},
    {"OFFICE", "InfoPath", "Check103", "Microsoft InfoPath", F::kMicrosoftOffice},
    {"OFFICE", "Project", "Check104", "Microsoft Project", F::kMicrosoftOffice},
    {"OFFICE", "Visio", "Check105", "Microsoft Visio", F::kMicrosoftOffice},
    {"OFFICE", "Organizer", "Check106", "Microsoft Clip Organizer", F::kMicrosoftOffice},
    {"OFFICE", "Settings", "Check107", "Microsoft Office Save My Settings", F::kMicrosoftOffice},
    {"OFFICE", "Picture", "Check108", "Microsoft Office Picture Manager", F::kMicrosoftOffice},
    {"OFFICE", "Viewer", "Check109", "Microsoft Snapshot Viewer", F::kMicrosoftOffice},
    {"OFFICE", "access", "Check36", "Microsoft Access", F::kMicrosoftOffice},

    {"Custom", "Custom", "Check52", "Custom Clean Items", F::kCustomItem},

    {"Messenger", "msnchat", "Check65", "My Chat Log folder", F::kWindowsLiveMessenger},
    {"Messenger", "msnfiles", "Check66", "My Received Files folder", F::kWindowsLiveMessenger},
    {"Messenger", "aolsettings", "Check67", "Aol Messenger settings", F::kAolInstantMessenger},
    {"Messenger", "aolnames", "Check73", "Recent screen names", F::kAolInstantMessenger},
    {"Messenger", "icqsign", "Check74", "The Sign in history", F::kIcq},
    {"Messenger", "icquser", "Check75", "User history", F::kIcq},
    {"Messenger", "icqcontact", "Check76", "Contact lists", F::kIcq},
    {"Messenger", "icqaccount", "Check77", "ICQ Account", F::kIcq},
    {"Messenger", "icqsearch", "Check78", "Toolbar search history", F::kIcq},
    {"Messenger", "icqfiles", "Check79", "Received files", F::kIcq},
    {"Messenger", "yahoopage", "Check80", "Page settings", F::kYahooMessenger},
    {"Messenger", "yahooprofiles", "Check81", "Reset Yahoo! profiles", F::kYahooMessenger},
    {"Messenger", "yahoofiles", "Check82", "Temporary Internet Files", F::kYahooMessenger},
    {"Messenger", "yahoologs", "Check143", "log Files", F::kYahooMessenger},
    {"Messenger", "aolpassword", "Check83", "Aol Messenger user password", F::kAolInstantMessenger},
    {"Messenger", "aolbuddy", "Check84", "Information about Buddy list", F::kAolInstantMessenger},
    {"Messenger", "aollogs", "Check85", "Aol Messenger logs", F::kAolInstantMessenger},

    {"outlook", "address", "Check110", "Address Book", F::kOutlookExpress},
    {"outlook", "accounts", "Check111", "Accounts Settings", F::kOutlookExpress},
    {"outlook", "deleted", "Check112", "Deleted Email", F::kOutlookExpress},
    {"outlook", "sent", "Check113", "Sent Email", F::kOutlookExpress},
    {"outlook", "outbox", "Check114", "Outbox Email", F::kOutlookExpress},
    {"outlook", "blocked", "Check115", "Blocked Senders List", F::kOutlookExpress},
    {"outlook", "created", "Check116", "Folders You Created", F::kOutlookExpress},
    {"outlook", "mailrules", "Check117", "Mail Rules", F::kOutlookExpress},
    {"outlook", "newsrules", "Check118", "News Rules", F::kOutlookExpress},
    {"outlook", "signatures", "Check119", "Signatures", F::kOutlookExpress},

    {"mail", "Recently", "Check120", "Windows Mail Recently", F::kWindowsMail},
    {"mail", "Signatures", "Check121", "Windows Mail Signatures", F::kWindowsMail},
    {"mail", "Block", "Check122", "Junk Mail Block Senders list", F::kWindowsMail},
    {"mail", "Safe", "Check123", "Junk Mail Safe Senders list", F::kWindowsMail},
    {"mail", "mailrules", "Check124", "Windows Mail mail rules", F::kWindowsMail},
    {"mail", "newsrules", "Check125", "Windows Mail news rules", F::kWindowsMail},
    {"mail", "accounts", "Check126", "Windows mail accounts", F::kWindowsMail},
}};

// Every key of the section; a flag is read by the one switch rule, so a
// missing flag is off wherever it is read.
constexpr std::array<OptionKey, 15> kOptionKeys{{
    {kOptionBossKey, OptionForm::kFlag, "0"},
    {kOptionBossKeyBrowsers, OptionForm::kFlag, "0"},
    {kOptionStartup, OptionForm::kFlag, "0"},
    {kOptionAutoClean, OptionForm::kFlag, "0"},
    {kOptionExit, OptionForm::kFlag, "0"},
    {kOptionSecurely, OptionForm::kFlag, "0"},
    {kOptionSecurePasses, OptionForm::kDecimal, "1"},
    {kOptionWindowsStartup, OptionForm::kFlag, "0"},
    {kOptionWindowsShutdown, OptionForm::kFlag, "0"},
    {kOptionDontAskBeforeCleaning, OptionForm::kFlag, "0"},
    {kOptionCleanDays, OptionForm::kWeekdays, "0000000"},
    {kOptionCleanTime, OptionForm::kTimeOfDay, ""},
    {kOptionLastClean, OptionForm::kDateTime, ""},
    {kOptionRegNum, OptionForm::kDecimal, "0"},
    {kOptionFileSize, OptionForm::kDecimal, "0"},
}};

// The enum-indexed tables must list their rows in enumeration order.
template <typename Table>
constexpr bool InEnumOrder(const Table& table, auto member) {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (static_cast<std::size_t>(table[i].*member) != i) return false;
  return true;
}
static_assert(InEnumOrder(kPages, &SelectionPageInfo::page));
static_assert(InEnumOrder(kFrames, &SelectionFrameInfo::frame));

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }
bool IsHexDigit(char c) { return IsDigit(c) || (AsciiLower(c) >= 'a' && AsciiLower(c) <= 'f'); }

std::size_t CountWhile(std::string_view text, std::size_t from, bool (*accept)(char)) {
  std::size_t end = from;
  while (end < text.size() && accept(text[end])) ++end;
  return end - from;
}

// "&H" + 1..8 hex digits or "&O" + 1..11 octal digits: at most 32 bits.
std::optional<double> ParsePrefixedInteger(std::string_view text) {
  if (text.size() < 3 || text[0] != '&') return std::nullopt;
  const char kind = AsciiLower(text[1]);
  const std::string_view digits = text.substr(2);
  int base = 0;
  std::size_t maxDigits = 0;
  if (kind == 'h' && CountWhile(digits, 0, IsHexDigit) == digits.size()) {
    base = 16;
    maxDigits = 8;
  } else if (kind == 'o' && CountWhile(digits, 0, IsOctalDigit) == digits.size()) {
    base = 8;
    maxDigits = 11;
  } else {
    return std::nullopt;
  }
  if (digits.size() > maxDigits) return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (ec != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  return static_cast<double>(value);
}

// Decimal order of magnitude of a well-formed, non-zero decimal text such as
// "000.00012e-5": the power of ten of its first significant digit. Saturates
// instead of overflowing for absurd exponents.
long long DecimalMagnitude(std::string_view intPart, std::string_view fracPart, std::string_view exponent) {
  long long order = 0;
  if (const auto nonZero = intPart.find_first_not_of('0'); nonZero != std::string_view::npos)
    order = static_cast<long long>(intPart.size() - nonZero) - 1;
  else if (const auto fracNonZero = fracPart.find_first_not_of('0'); fracNonZero != std::string_view::npos)
    order = -static_cast<long long>(fracNonZero) - 1;
  constexpr long long kLimit = 1'000'000'000;
  const bool negativeExponent = !exponent.empty() && exponent[0] == '-';
  long long exponentValue = 0;
  for (char c : exponent)
    if (IsDigit(c) && exponentValue < kLimit) exponentValue = exponentValue * 10 + (c - '0');
  return order + (negativeExponent ? -exponentValue : exponentValue);
}

// [+-] (digits [. digits*] | . digits) [(e|E) [+-] digits]
std::optional<double> ParseDecimal(std::string_view text) {
  std::size_t pos = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) ++pos;
  const std::size_t numberStart = pos;
  const std::string_view intPart = text.substr(pos, CountWhile(text, pos, IsDigit));
  pos += intPart.size();
  std::string_view fracPart;
  if (pos < text.size() && text[pos] == '.') {
    fracPart = text.substr(pos + 1, CountWhile(text, pos + 1, IsDigit));
    pos += 1 + fracPart.size();
  }
  if (intPart.empty() && fracPart.empty()) return std::nullopt;
  std::string_view exponent;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    const std::size_t expStart = pos + 1;
    std::size_t digitsStart = expStart;
    if (digitsStart < text.size() && (text[digitsStart] == '+' || text[digitsStart] == '-')) ++digitsStart;
    const std::size_t expDigits = CountWhile(text, digitsStart, IsDigit);
    if (expDigits == 0) return std::nullopt;
    exponent = text.substr(expStart, digitsStart + expDigits - expStart);
    pos = digitsStart + expDigits;
  }
  if (pos != text.size()) return std::nullopt;

  // The syntax is checked above, so from_chars only sees what it accepts.
  double value = 0;
  const char* first = text.data() + numberStart;
  const char* last = text.data() + text.size();
  const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Still a number: beyond the largest double, or too close to zero.
    value = DecimalMagnitude(intPart, fracPart, exponent) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (ec != std::errc{} || end != last) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

template <typename Match>
std::vector<const ItemSwitch*> SwitchesWhere(Match match) {
  std::vector<const ItemSwitch*> found;
  for (const ItemSwitch& s : kSwitches)
    if (match(s)) found.push_back(&s);
  return found;
}

}  // namespace

std::optional<double> SwitchValueAsNumber(std::string_view value) {
  const std::string_view text = TrimBlanks(value);
  if (text.empty()) return std::nullopt;
  if (text[0] == '&') return ParsePrefixedInteger(text);
  return ParseDecimal(text);
}

bool SwitchIsOn(std::string_view value) {
  const std::optional<double> number = SwitchValueAsNumber(value);
  return number && *number == 1.0;
}

std::span<const ItemSwitch> ItemSwitches() { return kSwitches; }
std::span<const SelectionPageInfo> SelectionPages() { return kPages; }
std::span<const SelectionFrameInfo> SelectionFrames() { return kFrames; }

const SelectionPageInfo& PageInfo(SelectionPage page) { return kPages.at(static_cast<std::size_t>(page)); }
const SelectionFrameInfo& FrameInfo(SelectionFrame frame) { return kFrames.at(static_cast<std::size_t>(frame)); }
SelectionPage PageOf(const ItemSwitch& itemSwitch) { return FrameInfo(itemSwitch.frame).page; }

std::optional<std::size_t> FindSwitchIndex(std::string_view section, std::string_view key) {
  for (std::size_t i = 0; i < kSwitches.size(); ++i)
    if (EqualsNoCase(kSwitches[i].section, section) && EqualsNoCase(kSwitches[i].key, key)) return i;
  return std::nullopt;
}

const ItemSwitch* FindSwitch(std::string_view section, std::string_view key) {
  const auto index = FindSwitchIndex(section, key);
  return index ? &kSwitches[*index] : nullptr;
}

std::vector<const ItemSwitch*> SwitchesOnPage(SelectionPage page) {
  return SwitchesWhere([page](const ItemSwitch& s) { return PageOf(s) == page; });
}

std::vector<const ItemSwitch*> SwitchesInFrame(SelectionFrame frame) {
  return SwitchesWhere([frame](const ItemSwitch& s) { return s.frame == frame; });
}

std::span<const OptionKey> OptionKeys() { return kOptionKeys; }

const OptionKey* FindOptionKey(std::string_view key) {
  for (const OptionKey& option : kOptionKeys)
    if (EqualsNoCase(option.key, key)) return &option;
  return nullptr;
}

}  // namespace cv
