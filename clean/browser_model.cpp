#include "clean/browser_model.h"

#include <iterator>

namespace cv {

namespace {

using enum BrowserFamily;
using enum TraceKind;
using enum TraceScope;
using enum TraceAction;
using enum UserFolder;

constexpr TraceKindInfo kKinds[] = {
    {kCache, "cache", "Cache"},
    {kCookies, "cookies", "Cookies"},
    {kHistory, "history", "History"},
    {kSessions, "sessions", "Sessions"},
    {kDownloads, "downloads", "Download History"},
    {kFormData, "formdata", "Form Data"},
    {kSiteStorage, "sitestorage", "Site Storage"},
};

constexpr BrowserSpec kBrowsers[] = {
    {"Google Chrome", "ModernChrome", kChromium, kLocalAppData, "Google\\Chrome\\User Data", "", false, "chrome.exe",
     "\\google\\chrome\\"},
    {"Microsoft Edge", "ModernEdge", kChromium, kLocalAppData, "Microsoft\\Edge\\User Data", "", false, "msedge.exe"},
    {"Brave", "ModernBrave", kChromium, kLocalAppData, "BraveSoftware\\Brave-Browser\\User Data", "", false,
     "brave.exe"},
    {"Vivaldi", "ModernVivaldi", kChromium, kLocalAppData, "Vivaldi\\User Data", "", false, "vivaldi.exe"},
    {"Opera", "ModernOpera", kChromium, kAppData, "Opera Software\\Opera Stable", "Opera Software\\Opera Stable", true,
     "opera.exe", "\\opera\\"},
    {"Opera GX", "ModernOperaGX", kChromium, kAppData, "Opera Software\\Opera GX Stable",
     "Opera Software\\Opera GX Stable", true, "opera.exe", "\\opera gx\\"},
    {"Chromium", "ModernChromium", kChromium, kLocalAppData, "Chromium\\User Data", "", false, "chrome.exe",
     "\\chromium\\"},
    {"Mozilla Firefox", "ModernFirefox", kFirefox, kAppData, "Mozilla\\Firefox", "Mozilla\\Firefox", false,
     "firefox.exe"},
    {"Waterfox", "ModernWaterfox", kFirefox, kAppData, "Waterfox", "Waterfox", false, "waterfox.exe"},
    {"LibreWolf", "ModernLibreWolf", kFirefox, kAppData, "librewolf", "librewolf", false, "librewolf.exe"},
    {"Floorp", "ModernFloorp", kFirefox, kAppData, "Floorp", "Floorp", false, "floorp.exe"},
};

constexpr TraceSpec kTraces[] = {
    // Chromium family.
    {kChromium, kCache, kLocal, kFolder, "Cache"},
    {kChromium, kCache, kLocal, kFolder, "Code Cache"},
    {kChromium, kCache, kLocal, kFolder, "GPUCache"},
    {kChromium, kCache, kLocal, kFolder, "DawnCache"},
    {kChromium, kCache, kLocal, kFolder, "DawnGraphiteCache"},
    {kChromium, kCache, kLocal, kFolder, "DawnWebGPUCache"},
    {kChromium, kCache, kProfile, kFolder, "Service Worker\\CacheStorage"},
    {kChromium, kCache, kProfile, kFolder, "Service Worker\\ScriptCache"},
    {kChromium, kCache, kRoot, kFolder, "ShaderCache"},
    {kChromium, kCache, kRoot, kFolder, "GrShaderCache"},
    {kChromium, kCache, kRoot, kFolder, "GraphiteDawnCache"},
    {kChromium, kCookies, kProfile, kCookieRows, "Network\\Cookies"},
    {kChromium, kCookies, kProfile, kCookieRows, "Cookies"},
    {kChromium, kHistory, kProfile, kFile, "History"},
    {kChromium, kHistory, kProfile, kFile, "Visited Links"},
    {kChromium, kHistory, kProfile, kFile, "Top Sites"},
    {kChromium, kHistory, kProfile, kFile, "History Provider Cache"},
    {kChromium, kSessions, kProfile, kFolder, "Sessions"},
    {kChromium, kSessions, kProfile, kFile, "Current Session"},
    {kChromium, kSessions, kProfile, kFile, "Last Session"},
    {kChromium, kSessions, kProfile, kFile, "Current Tabs"},
    {kChromium, kSessions, kProfile, kFile, "Last Tabs"},
    {kChromium, kDownloads, kProfile, kDownloadRows, "History"},
    {kChromium, kFormData, kProfile, kFormRows, "Web Data"},
    {kChromium, kSiteStorage, kProfile, kFolder, "Local Storage"},
    {kChromium, kSiteStorage, kProfile, kFolder, "Session Storage"},
    {kChromium, kSiteStorage, kProfile, kFolder, "IndexedDB"},
    // Firefox and its forks.
    {kFirefox, kCache, kLocal, kFolder, "cache2"},
    {kFirefox, kCache, kLocal, kFolder, "startupCache"},
    {kFirefox, kCache, kLocal, kFolder, "thumbnails"},
    {kFirefox, kCache, kLocal, kFolder, "shader-cache"},
    {kFirefox, kCache, kLocal, kFolder, "jumpListCache"},
    {kFirefox, kCookies, kProfile, kCookieRows, "cookies.sqlite"},
    {kFirefox, kHistory, kProfile, kHistoryRows, "places.sqlite"},
    {kFirefox, kSessions, kProfile, kFile, "sessionstore.jsonlz4"},
    {kFirefox, kSessions, kProfile, kFolder, "sessionstore-backups"},
    {kFirefox, kDownloads, kProfile, kDownloadRows, "places.sqlite"},
    {kFirefox, kFormData, kProfile, kFormRows, "formhistory.sqlite"},
    {kFirefox, kSiteStorage, kProfile, kFolder, "storage\\default"},
    {kFirefox, kSiteStorage, kProfile, kFile, "webappsstore.sqlite"},
};

constexpr std::string_view kChromiumMarkers[] = {"Preferences"};
constexpr std::string_view kFirefoxMarkers[] = {"prefs.js", "times.json", "compatibility.ini"};

}  // namespace

std::span<const std::string_view> ProfileMarkers(BrowserFamily family) {
  if (family == kChromium) return kChromiumMarkers;
  return kFirefoxMarkers;
}

std::span<const TraceKindInfo> TraceKinds() { return kKinds; }

const TraceKindInfo& InfoOf(TraceKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

std::span<const BrowserSpec> Browsers() { return kBrowsers; }

std::span<const TraceSpec> Traces() { return kTraces; }

bool IsChromiumProfileName(std::string_view name) {
  if (name == "Default" || name == "Guest Profile") return true;
  constexpr std::string_view kPrefix = "Profile ";
  if (name.substr(0, kPrefix.size()) != kPrefix || name.size() == kPrefix.size() || name.size() > kPrefix.size() + 6)
    return false;
  for (char c : name.substr(kPrefix.size()))
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace cv
