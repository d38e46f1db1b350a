#include "clean/run_items.h"

#include <array>

namespace cv {
namespace {

using G = ItemGroup;
constexpr std::optional<int> kNone = std::nullopt;

// Sections and keys keep the run's own capitals ("Opera", "Powerpoint"); the
// profile functions match them to the dialog's spelling without regard to case.
// Items 48 and 51 show the same row text.
constexpr std::array<RunItem, kRunItemCount> kItems{{
    {1, "EXPLORER", "location", "IE Location Bar History", 5, G::kInternetExplorer},
    {2, "EXPLORER", "history", "IE Internet History Files", 6, G::kInternetExplorer},
    {3, "EXPLORER", "cache", "IE Internet Cache", 8, G::kInternetExplorer},
    {4, "EXPLORER", "cookies", "IE Cookies", 10, G::kInternetExplorer},
    {5, "EXPLORER", "favorites", "IE Favorites", 11, G::kInternetExplorer},
    {6, "EXPLORER", "autocomplete", "IE Autocomplete Memory", 11, G::kInternetExplorer},
    {7, "EXPLORER", "downloaded", "IE Downloaded Files(Only IE9)", 11, G::kInternetExplorer},
    {8, "EXPLORER", "downloadedhistory", "IE Downloaded History(Only IE9)", 11, G::kInternetExplorer},
    {9, "EXPLORER", "index", "IE Index.dat Files", kNone, G::kInternetExplorer},
    {10, "EXPLORER", "inprivate", "IE Inprivate Filter", 12, G::kInternetExplorer},
    {11, "EXPLORER", "addons", "IE Add-ons Settings", 12, G::kInternetExplorer},

    {12, "FIREFOX", "Address", "Firefox Address Bar History", 12, G::kMozillaOpera},
    {13, "FIREFOX", "Cookies", "Firefox Cookies", 13, G::kMozillaOpera},
    {14, "FIREFOX", "cache", "Firefox Cache", 14, G::kMozillaOpera},
    {15, "FIREFOX", "History", "Firefox History Files", 15, G::kMozillaOpera},
    {16, "FIREFOX", "Download", "Firefox Download Manager History", 15, G::kMozillaOpera},
    {17, "FIREFOX", "bookmarks", "Firefox Bookmarks Files", kNone, G::kMozillaOpera},
    {18, "FIREFOX", "passwords", "Firefox Saved Passwords", 16, G::kMozillaOpera},
    {19, "Opera", "Address", "Opera Address Bar History", 17, G::kMozillaOpera},
    {20, "Opera", "Cookies", "Opera Cookies", 18, G::kMozillaOpera},
    {21, "Opera", "cache", "Opera Cache", 19, G::kMozillaOpera},
    {22, "Opera", "History", "Opera History Files", kNone, G::kMozillaOpera},
    {23, "Opera", "downloads", "Opera Download History", kNone, G::kMozillaOpera},
    {24, "Opera", "Sessions", "Opera Sessions Files", kNone, G::kMozillaOpera},
    {25, "Opera", "Images", "Opera Site Image Files", kNone, G::kMozillaOpera},
    {26, "Opera", "Bookmarks", "Opera Bookmarks", kNone, G::kMozillaOpera},
    {27, "Opera", "Passwords", "Opera Passwords", 20, G::kMozillaOpera},
    {28, "Netscape", "Location", "Netscape Address Bar History", 21, G::kMozillaOpera},
    {29, "Netscape", "Cookies", "Netscape Cookies", 22, G::kMozillaOpera},
    {30, "Netscape", "Cache", "Netscape Cache", 23, G::kMozillaOpera},
    {31, "Netscape", "History", "Netscape History Files", kNone, G::kMozillaOpera},
    {32, "Netscape", "download", "Netscape Download Manager History", kNone, G::kMozillaOpera},
    {33, "Netscape", "bookmarks", "Netscape Bookmarks", kNone, G::kMozillaOpera},
    {34, "Netscape", "passwords", "Netscape Saved Passwords", 24, G::kMozillaOpera},

    {35, "AOL", "Address", "AOL Explorer Address Bar History", 25, G::kAolMsnMaxthonChromeSafari},
    {36, "AOL", "cookies", "AOL Explorer Cookies", 26, G::kAolMsnMaxthonChromeSafari},
    {37, "AOL", "cache", "AOL Explorer Cache", 27, G::kAolMsnMaxthonChromeSafari},
    {38, "AOL", "history", "AOL Explorer History Files", 28, G::kAolMsnMaxthonChromeSafari},
    {39, "MSN", "Location", "MSN Explorer Address Bar History", 29, G::kAolMsnMaxthonChromeSafari},
    {40, "MSN", "cookies", "MSN Explorer Cookies", 30, G::kAolMsnMaxthonChromeSafari},
    {41, "MSN", "cache", "MSN Explorer Cache", 31, G::kAolMsnMaxthonChromeSafari},
    {42, "MSN", "history", "MSN Explorer History Files", 32, G::kAolMsnMaxthonChromeSafari},

    {43, "Mozilla", "Address", "Mozilla Address Bar History", kNone, G::kMozillaOpera},
    {44, "Mozilla", "Cookies", "Mozilla Cookies", kNone, G::kMozillaOpera},
    {45, "Mozilla", "cache", "Mozilla Cache", kNone, G::kMozillaOpera},
    {46, "Mozilla", "History", "Mozilla History Files", kNone, G::kMozillaOpera},

    {47, "Maxthon", "keywords", "Maxthon Typed Urls", kNone, G::kAolMsnMaxthonChromeSafari},
    {48, "Maxthon", "pages", "Maxthon information about open pages", kNone, G::kAolMsnMaxthonChromeSafari},
    {49, "Maxthon", "settings", "Maxthon settings", kNone, G::kAolMsnMaxthonChromeSafari},
    {50, "Maxthon", "groups", "Maxthon History Files", kNone, G::kAolMsnMaxthonChromeSafari},
    {51, "Maxthon", "folder", "Maxthon information about open pages", kNone, G::kAolMsnMaxthonChromeSafari},
    {52, "Chrome", "download", "Chrome download History", kNone, G::kAolMsnMaxthonChromeSafari},
    {53, "Chrome", "Cookies", "Chrome Cookies", kNone, G::kAolMsnMaxthonChromeSafari},
    {54, "Chrome", "Cache", "Chrome Cache", kNone, G::kAolMsnMaxthonChromeSafari},
    {55, "Chrome", "History", "Chrome History", kNone, G::kAolMsnMaxthonChromeSafari},
    {56, "Chrome", "Forms", "Chrome Forms Data/Saved passwords", kNone, G::kAolMsnMaxthonChromeSafari},
    {57, "Chrome", "Session", "Chrome Session", kNone, G::kAolMsnMaxthonChromeSafari},
    {58, "Safari", "History", "Safari History", kNone, G::kAolMsnMaxthonChromeSafari},
    {59, "Safari", "pages", "Safari Information about open pages", kNone, G::kAolMsnMaxthonChromeSafari},
    {60, "Safari", "Cache", "Safari Cache", kNone, G::kAolMsnMaxthonChromeSafari},
    {61, "Safari", "Cookies", "Safari Cookies", kNone, G::kAolMsnMaxthonChromeSafari},
    {62, "Safari", "download", "Safari Download information", kNone, G::kAolMsnMaxthonChromeSafari},
    {63, "Safari", "Autocomplete", "Safari Autocomplete", kNone, G::kAolMsnMaxthonChromeSafari},
    {64, "Safari", "Images", "Safari Webpage Preview Images", kNone, G::kAolMsnMaxthonChromeSafari},
    {65, "Safari", "RecentSearches", "Safari Recent Searches", kNone, G::kAolMsnMaxthonChromeSafari},

    {66, "WINDOWS", "recent", "Recent Documents History", 33, G::kWindows},
    {67, "WINDOWS", "run", "Start Menu Run History", 34, G::kWindows},
    {68, "WINDOWS", "search", "Start Menu Search History", 35, G::kWindows},
    {69, "WINDOWS", "temp", "Windows Temp", 36, G::kWindows},
    {70, "WINDOWS", "recycle", "Recycle Bin", 37, G::kWindows},
    {71, "WINDOWS", "open", "Open/Save Dialog Box History", 38, G::kWindows},
    {72, "WINDOWS", "scandisk", "Scandisk Temp Files", 39, G::kWindows},
    {73, "WINDOWS", "passwords", "Windows Passwords(Only 9X/Me)", 40, G::kWindows},
    {74, "WINDOWS", "clip", "Windows Clipboard", 41, G::kWindows},
    {75, "WINDOWS", "wordpad", "Wordpad Recent Files", 41, G::kWindows},
    {76, "WINDOWS", "paint", "Windows Paint Recent Files", 41, G::kWindows},
    {77, "WINDOWS", "picturelocation", "The custom locations from the picture location drop-down box", kNone,
     G::kWindows},
    {78, "WINDOWS", "DirectX", "DirectX most recent applications", kNone, G::kWindows},
    {79, "WINDOWS", "findcomputer", "Find computer dialog box", kNone, G::kWindows},
    {80, "WINDOWS", "findfiles", "Find files dialog box", kNone, G::kWindows},
    {81, "WINDOWS", "mapnetwork", "Map network drive MRU", kNone, G::kWindows},
    {82, "WINDOWS", "management", "Microsoft management console recent file list", kNone, G::kWindows},
    {83, "WINDOWS", "notification", "Past items from the notification area", kNone, G::kWindows},
    {84, "WINDOWS", "registryeditor", "Registry editor last opened key", kNone, G::kWindows},
    {85, "WINDOWS", "searchfolders", "Saved search folders from windows vista", 41, G::kWindows},
    {86, "WINDOWS", "menuorder", "Start menu programs and favorites menu order", kNone, G::kWindows},
    {87, "WINDOWS", "recentlyused", "The list of most recently used files and folders", kNone, G::kWindows},
    {88, "WINDOWS", "thumbs", "Thumbs.db", 42, G::kWindows},
    {89, "WINDOWS", "streams", "Windows explorer streams MRUs", kNone, G::kWindows},
    {90, "WINDOWS", "swap", "windows swap/paging file", 43, G::kWindows},
    {91, "WINDOWS", "userassist", "Windows userassist MRUs", kNone, G::kWindows},
    {92, "WINDOWS", "unread", "Windows XP unread mail count", kNone, G::kWindows},

    {93, "Messenger", "msnchat", "Windows Live Messenger chat log folder", 44, G::kMessenger},
    {94, "Messenger", "msnfiles", "Windows Live Messenger Received Files folder", kNone, G::kMessenger},
    {95, "Messenger", "yahoopage", "Yahoo! Messenger Page settings", 45, G::kMessenger},
    {96, "Messenger", "yahooprofiles", "Yahoo! Messenger profiles", kNone, G::kMessenger},
    {97, "Messenger", "yahoofiles", "Yahoo! Messenger Temporary Internet Files", kNone, G::kMessenger},
    {98, "Messenger", "yahoologs", "Yahoo! Messenger Log Files", kNone, G::kMessenger},
    {99, "Messenger", "aolsettings", "AOL Instant Messenger settings", 46, G::kMessenger},
    {100, "Messenger", "aolnames", "AOL Instant Messenger Recent screen names", kNone, G::kMessenger},
    {101, "Messenger", "aolpassword", "AOL Messenger user password", kNone, G::kMessenger},
    {102, "Messenger", "aolbuddy", "AOL Information about Buddy list", kNone, G::kMessenger},
    {103, "Messenger", "aollogs", "AOL Messenger logs", 47, G::kMessenger},
    {104, "Messenger", "icqsign", "AOL Messenger Sign in history", kNone, G::kMessenger},
    {105, "Messenger", "icquser", "ICQ User history", kNone, G::kMessenger},
    {106, "Messenger", "icqcontact", "ICQ contact list", kNone, G::kMessenger},
    {107, "Messenger", "icqaccount", "ICQ Account", kNone, G::kMessenger},
    {108, "Messenger", "icqfiles", "ICQ All the files received from the other users", kNone, G::kMessenger},
    {109, "Messenger", "icqsearch", "ICQ Toolbar search history", 48, G::kMessenger},

    {110, "OFFICE", "word", "Microsoft Word", 49, G::kOffice},
    {111, "OFFICE", "excel", "Microsoft Excel", 50, G::kOffice},
    {112, "OFFICE", "Powerpoint", "Microsoft Powerpoint", 51, G::kOffice},
    {113, "OFFICE", "FrontPage", "Microsoft FrontPage", 52, G::kOffice},
    {114, "OFFICE", "Access", "Microsoft Access", kNone, G::kOffice},
    {115, "OFFICE", "Publisher", "Microsoft Publisher", kNone, G::kOffice},
    {116, "OFFICE", "InfoPath", "Microsoft InfoPath", kNone, G::kOffice},
    {117, "OFFICE", "Project", "Microsoft Project", 53, G::kOffice},
    {118, "OFFICE", "Visio", "Microsoft Visio", kNone, G::kOffice},
    {119, "OFFICE", "Organizer", "Clip Organizer", kNone, G::kOffice},
    {120, "OFFICE", "Settings", "Microsoft Office Settings", 54, G::kOffice},
    {121, "OFFICE", "Picture", "Microsoft Office Picture Manager", kNone, G::kOffice},
    {122, "OFFICE", "Viewer", "Microsoft Snapshot Viewer", 55, G::kOffice},

    {123, "outlook", "address", "outlook express address book", kNone, G::kOutlookExpress},
    {124, "outlook", "accounts", "outlook express Accounts", 59, G::kOutlookExpress},
    {125, "outlook", "deleted", "outlook express deleted email", kNone, G::kOutlookExpress},
    {126, "outlook", "sent", "outlook express sent email", 60, G::kOutlookExpress},
    {127, "outlook", "outbox", "outlook express outbox email", kNone, G::kOutlookExpress},
    {128, "outlook", "blocked", "outlook express blocked senders list", kNone, G::kOutlookExpress},
    {129, "outlook", "created", "outlook express history of Outlook folders you created", kNone, G::kOutlookExpress},
    {130, "outlook", "mailrules", "outlook express mail rules", 62, G::kOutlookExpress},
    {131, "outlook", "newsrules", "outlook express news rules", kNone, G::kOutlookExpress},
    {132, "outlook", "signatures", "outlook express signatures", kNone, G::kOutlookExpress},

    {133, "mail", "Recently", "Windows Mail Recently", 64, G::kWindowsMail},
    {134, "mail", "Signatures", "Windows Mail Signatures", kNone, G::kWindowsMail},
    {135, "mail", "Block", "Windows Mail Block Senders list", 65, G::kWindowsMail},
    {136, "mail", "Safe", "Windows Mail Safe Senders list", kNone, G::kWindowsMail},
    {137, "mail", "mailrules", "Windows Mail mail rules", 67, G::kWindowsMail},
    {138, "mail", "newsrules", "Windows Mail news rules", 69, G::kWindowsMail},
    {139, "mail", "accounts", "Windows Mail accounts", 70, G::kWindowsMail},

    {140, "Custom", "Custom", "Custom Item", 80, G::kCustom},
}};

constexpr bool NumberedInOrder() {
  for (std::size_t i = 0; i < kItems.size(); ++i)
    if (kItems[i].number != static_cast<int>(i + 1)) return false;
  return true;
}
static_assert(NumberedInOrder(), "item n must sit at index n - 1");

}  // namespace

std::span<const RunItem> RunItems() { return kItems; }

const RunItem* FindRunItem(int number) {
  if (number < 1 || number > static_cast<int>(kItems.size())) return nullptr;
  return &kItems[static_cast<std::size_t>(number - 1)];
}

const ItemSwitch* SwitchOf(const RunItem& item) { return FindSwitch(item.section, item.key); }

bool SelectsItem(const RunItem&, std::string_view value) { return SwitchIsOn(value); }

}  // namespace cv
