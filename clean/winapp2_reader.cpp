#include "clean/winapp2_reader.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "clean/registry_reach.h"
#include "platform/text.h"

namespace cv {

namespace {

// No Windows path is longer; a longer one names nothing and is malformed.
constexpr std::size_t kMaxPathLength = 32767;

struct NamedRoot {
  std::string_view shortName, longName;
  RegKey root;
};
constexpr std::array<NamedRoot, 5> kRoots{{
    {"HKCR", "HKEY_CLASSES_ROOT", kHkeyClassesRoot},
    {"HKCU", "HKEY_CURRENT_USER", kHkeyCurrentUser},
    {"HKLM", "HKEY_LOCAL_MACHINE", kHkeyLocalMachine},
    {"HKU", "HKEY_USERS", kHkeyUsers},
    {"HKCC", "HKEY_CURRENT_CONFIG", kHkeyCurrentConfig},
}};

constexpr std::array<std::string_view, 19> kVariables{
    "AppData",  "CommonAppData", "CommonProgramFiles", "Documents",  "LocalAppData", "LocalLowAppData", "Music",
    "Pictures", "ProgramData",   "ProgramFiles",       "Public",     "SystemDrive",  "UserProfile",     "Video",
    "WinDir",   "Temp",          "UserName",           "SystemRoot", "HomeDrive",
};
// Variables whose folder holds many programs' data: a key that empties one of
// them, or every folder directly inside one, is refused as too broad. The
// temporary folder is meant to be emptied and is not among them.
constexpr std::array<std::string_view, 14> kBroadVariables{
    "AppData",  "CommonAppData", "CommonProgramFiles", "Documents", "LocalAppData", "LocalLowAppData", "Music",
    "Pictures", "ProgramData",   "ProgramFiles",       "Public",    "UserProfile",  "Video",           "WinDir",
};

struct SectionHeading {
  int number;
  std::string_view heading;
};
constexpr std::array<SectionHeading, 16> kLangSecRefs{{
    {3001, "Internet Explorer"},
    {3005, "Microsoft Edge (legacy)"},
    {3006, "Microsoft Edge"},
    {3021, "Applications"},
    {3022, "Internet"},
    {3023, "Multimedia"},
    {3024, "Utilities"},
    {3025, "Windows"},
    {3026, "Firefox"},
    {3027, "Opera"},
    {3028, "Safari"},
    {3029, "Google Chrome"},
    {3030, "Thunderbird"},
    {3031, "Windows Store"},
    {3033, "Vivaldi"},
    {3034, "Brave"},
}};

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  while (true) {
    const std::size_t cut = text.find(separator);
    parts.push_back(TrimBlanks(text.substr(0, cut)));
    if (cut == std::string_view::npos) return parts;
    text.remove_prefix(cut + 1);
  }
}

std::string_view WithoutTrailingSeparators(std::string_view path) {
  while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.remove_suffix(1);
  return path;
}

// What one entry's keys make of it; `error` set means the entry is rejected.
class EntryBuilder {
 public:
  EntryBuilder(std::string name, std::size_t line) { entry_.name = std::move(name), entry_.line = line; }

  void Key(std::string_view name, std::string_view value, std::size_t line, std::vector<std::string>& notes);
  void Fail(std::string reason, bool unsafe) {
    if (error_.empty()) error_ = std::move(reason), unsafe_ = unsafe;
  }
  bool Failed() const { return !error_.empty(); }
  void Finish();

  Winapp2Entry entry_;
  std::string error_;
  bool unsafe_ = false;

 private:
  std::optional<std::string> Path(std::string_view text, std::string_view what);
  std::optional<Winapp2RegKey> RegistryKey(std::string_view text, std::string_view what, bool forDeletion);
  void FileKey(std::string_view value);
  void Exclude(std::string_view value);
  void DetectOs(std::string_view value);

  std::string section_;
  int langSecRef_ = 0;
};

// A path as written: variables must be known, components must not climb or
// repeat, and it must start at a variable or a drive.
std::optional<std::string> EntryBuilder::Path(std::string_view text, std::string_view what) {
  const std::string_view path = WithoutTrailingSeparators(text);
  if (path.empty()) return Fail(std::string(what) + " names no path", false), std::nullopt;
  if (path.size() > kMaxPathLength) return Fail(std::string(what) + " path is too long", false), std::nullopt;
  std::size_t spellings = 1;
  for (std::size_t at = path.find('%'); at != std::string_view::npos;) {
    const std::size_t end = path.find('%', at + 1);
    if (end == std::string_view::npos) return Fail(std::string(what) + " has an unclosed \"%\"", false), std::nullopt;
    const std::string_view variable = path.substr(at + 1, end - at - 1);
    if (!IsWinapp2Variable(variable))
      return Fail(std::string(what) + " uses the unknown variable %" + std::string(variable) + "%", true), std::nullopt;
    // The program-files variables stand for up to three folders each.
    if (EqualsNoCase(variable, "ProgramFiles") || EqualsNoCase(variable, "CommonProgramFiles")) spellings *= 3;
    if (spellings > kWinapp2MaxSpellings)
      return Fail(std::string(what) + " expands to more than " + std::to_string(kWinapp2MaxSpellings) + " spellings",
                  true),
             std::nullopt;
    at = path.find('%', end + 1);
  }
  const bool drive = path.size() >= 2 && path[1] == ':' && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z');
  if (path[0] != '%' && !drive) return Fail(std::string(what) + " is not a full path", true), std::nullopt;
  std::string out;
  for (std::string_view component : Split(path, '\\')) {
    for (std::string_view part : Split(component, '/')) {
      if (part == "." || part == "..")
        return Fail(std::string(what) + " climbs with \".\" or \"..\"", true), std::nullopt;
      if (part.empty() && !out.empty()) return Fail(std::string(what) + " has an empty component", true), std::nullopt;
      if (!out.empty()) out += '\\';
      out.append(part);
    }
  }
  return out;
}

std::optional<Winapp2RegKey> EntryBuilder::RegistryKey(std::string_view text, std::string_view what, bool forDeletion) {
  Winapp2RegKey key;
  const std::size_t bar = text.find('|');
  if (bar != std::string_view::npos) {
    const std::string_view value = TrimBlanks(text.substr(bar + 1));
    if (value.empty() || value.find('|') != std::string_view::npos)
      return Fail(std::string(what) + " has a malformed value name", false), std::nullopt;
    key.value = std::string(value);
    text = text.substr(0, bar);
  }
  text = WithoutTrailingSeparators(TrimBlanks(text));
  const std::size_t slash = text.find('\\');
  const std::string_view rootName = text.substr(0, slash);
  const auto root = std::find_if(kRoots.begin(), kRoots.end(), [&](const NamedRoot& r) {
    return EqualsNoCase(rootName, r.shortName) || EqualsNoCase(rootName, r.longName);
  });
  if (root == kRoots.end()) return Fail(std::string(what) + " has an unknown registry root", false), std::nullopt;
  key.root = root->root;
  if (slash != std::string_view::npos) key.subKey = std::string(text.substr(slash + 1));
  if (key.subKey.size() > kMaxPathLength) return Fail(std::string(what) + " key is too long", false), std::nullopt;
  if (!forDeletion) return key;

  // Depth and shared keys are judged below a user's hive under HKEY_USERS.
  std::string_view below = key.subKey;
  if (key.root == kHkeyUsers) {
    const std::size_t cut = below.find('\\');
    below = cut == std::string_view::npos ? std::string_view() : below.substr(cut + 1);
  }
  const std::size_t components = below.empty() ? 0 : std::count(below.begin(), below.end(), '\\') + 1;
  if (below.find("\\\\") != std::string_view::npos)
    return Fail(std::string(what) + " has an empty key name", true), std::nullopt;
  if (components < (key.value ? 1u : 2u)) return Fail(std::string(what) + " names a registry root", true), std::nullopt;
  if (const std::string refusal = RegistryRefusal(key.root, key.subKey, key.value.has_value()); !refusal.empty())
    return Fail(std::string(what) + " " + refusal, true), std::nullopt;
  return key;
}

void EntryBuilder::FileKey(std::string_view value) {
  const std::vector<std::string_view> parts = Split(value, '|');
  if (parts.size() < 2 || parts[1].empty()) return Fail("FileKey without a file pattern", false);
  Winapp2FileKey key;
  const auto folder = Path(parts[0], "FileKey");
  if (!folder) return;
  key.folder = *folder;
  for (std::string_view pattern : Split(parts[1], ';')) {
    if (pattern.empty()) continue;
    if (pattern.find_first_of("\\/:") != std::string_view::npos) return Fail("FileKey pattern names a folder", true);
    key.patterns.emplace_back(pattern);
  }
  if (key.patterns.empty()) return Fail("FileKey without a file pattern", false);
  for (std::size_t i = 2; i < parts.size(); ++i) {
    if (parts[i].empty()) continue;  // a trailing or doubled bar
    if (EqualsNoCase(parts[i], "RECURSE"))
      key.recurse = true;
    else if (EqualsNoCase(parts[i], "REMOVESELF"))
      key.recurse = key.removeSelf = true;
    else
      return Fail("FileKey has an unknown flag \"" + std::string(parts[i]) + "\"", false);
  }

  // Everything, recursively, in a shared data folder or in every folder directly inside one.
  const bool everything = std::any_of(key.patterns.begin(), key.patterns.end(),
                                      [](const std::string& p) { return Winapp2MatchesEveryName(p); });
  std::string_view base = key.folder;
  for (std::size_t cut = base.rfind('\\');
       cut != std::string_view::npos && Winapp2MatchesEveryName(base.substr(cut + 1)); cut = base.rfind('\\'))
    base = base.substr(0, cut);
  const bool broad = base.size() > 2 && base.front() == '%' && base.back() == '%' &&
                     std::any_of(kBroadVariables.begin(), kBroadVariables.end(),
                                 [&](std::string_view v) { return EqualsNoCase(base.substr(1, base.size() - 2), v); });
  if (everything && key.recurse && broad) return Fail("FileKey empties a folder shared by many programs", true);
  entry_.fileKeys.push_back(std::move(key));
}

void EntryBuilder::Exclude(std::string_view value) {
  const std::size_t bar = value.find('|');
  const std::string_view kind = TrimBlanks(value.substr(0, bar));
  const std::string_view rest = bar == std::string_view::npos ? std::string_view() : value.substr(bar + 1);
  Winapp2Exclude exclude;
  if (EqualsNoCase(kind, "REG")) {
    exclude.kind = Winapp2Exclude::Kind::kReg;
    if (auto key = RegistryKey(rest, "ExcludeKey", false))
      exclude.key = std::move(*key);
    else
      return;
  } else if (EqualsNoCase(kind, "FILE") || EqualsNoCase(kind, "PATH")) {
    exclude.kind = EqualsNoCase(kind, "FILE") ? Winapp2Exclude::Kind::kFile : Winapp2Exclude::Kind::kPath;
    std::vector<std::string_view> parts = Split(rest, '|');
    // A trailing bar adds nothing: "FILE|...\\settings.ini|" is still that one file.
    while (parts.size() > 1 && parts.back().empty()) parts.pop_back();
    const auto folder = Path(parts[0], "ExcludeKey");
    if (!folder) return;
    exclude.folder = *folder;
    if (parts.size() > 1)
      for (std::string_view pattern : Split(parts[1], ';'))
        if (!pattern.empty()) exclude.patterns.emplace_back(pattern);
    // A FILE exclusion written as one path: the file's own folder and name.
    if (exclude.kind == Winapp2Exclude::Kind::kFile && parts.size() == 1) {
      const std::size_t cut = exclude.folder.rfind('\\');
      if (cut == std::string::npos) return Fail("ExcludeKey names no file", false);
      exclude.patterns = {exclude.folder.substr(cut + 1)};
      exclude.folder.resize(cut);
    }
    if (exclude.patterns.empty()) exclude.patterns = {"*"};
  } else {
    return Fail("ExcludeKey of unknown kind \"" + std::string(kind) + "\"", false);
  }
  entry_.excludes.push_back(std::move(exclude));
}

// "6.1|" (6.1 and later), "|6.3" (up to 6.3), "5.1|6.1" or "6.1" (exactly).
void EntryBuilder::DetectOs(std::string_view value) {
  auto version = [](std::string_view text) -> std::optional<unsigned> {
    unsigned major = 0, minor = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, major);
    if (ec != std::errc() || major > 99) return std::nullopt;
    if (p != end) {
      if (*p != '.') return std::nullopt;
      auto [q, ec2] = std::from_chars(p + 1, end, minor);
      if (ec2 != std::errc() || q != end || minor > 99) return std::nullopt;
    }
    return major * 100 + minor;
  };
  const std::vector<std::string_view> parts = Split(value, '|');
  if (parts.size() > 2 || (parts.size() == 1 && parts[0].empty())) return Fail("DetectOS is malformed", false);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty()) continue;
    const auto v = version(parts[i]);
    if (!v) return Fail("DetectOS is malformed", false);
    (i == 0 ? entry_.osFrom : entry_.osTo) = v;
  }
  if (parts.size() == 1) entry_.osTo = entry_.osFrom;
}

void EntryBuilder::Key(std::string_view name, std::string_view value, std::size_t line,
                       std::vector<std::string>& notes) {
  std::size_t digits = name.size();
  while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') --digits;
  const std::string_view kind = name.substr(0, digits);
  const bool numbered = digits < name.size();
  auto is = [&](std::string_view k) { return EqualsNoCase(kind, k); };

  if (is("FileKey"))
    FileKey(value);
  else if (is("RegKey")) {
    if (auto key = RegistryKey(value, "RegKey", true)) entry_.regKeys.push_back(std::move(*key));
  } else if (is("ExcludeKey"))
    Exclude(value);
  else if (is("Detect")) {
    if (auto key = RegistryKey(value, "Detect", false)) entry_.detectKeys.push_back(std::move(*key));
  } else if (is("DetectFile")) {
    if (auto path = Path(value, "DetectFile")) entry_.detectFiles.push_back(std::move(*path));
  } else if (is("DetectOS") && !numbered)
    DetectOs(value);
  else if (is("Warning") && !numbered)
    entry_.warning = std::string(value);
  else if (is("Section") && !numbered)
    section_ = std::string(value);
  else if (is("LangSecRef") && !numbered) {
    const auto result = std::from_chars(value.data(), value.data() + value.size(), langSecRef_);
    if (result.ec != std::errc() || result.ptr != value.data() + value.size()) langSecRef_ = 0;
  } else {
    notes.push_back("line " + std::to_string(line) + ": [" + entry_.name + "] unknown key \"" + std::string(name) +
                    "\" ignored");
  }
}

void EntryBuilder::Finish() {
  if (Failed()) return;
  if (entry_.fileKeys.empty() && entry_.regKeys.empty()) return Fail("nothing to clean", false);
  if (!section_.empty()) {
    entry_.group = section_;
  } else {
    const auto known = std::find_if(kLangSecRefs.begin(), kLangSecRefs.end(),
                                    [&](const SectionHeading& s) { return s.number == langSecRef_; });
    entry_.group = known != kLangSecRefs.end() ? std::string(known->heading)
                   : langSecRef_ != 0          ? std::to_string(langSecRef_)
                                               : std::string("Applications");
  }
}

}  // namespace

bool IsWinapp2Variable(std::string_view name) {
  return std::any_of(kVariables.begin(), kVariables.end(), [&](std::string_view v) { return EqualsNoCase(v, name); });
}

namespace {

// Greedy match with one backtrack point: linear in practice, never exponential.
template <typename Text>
bool GlobMatch(const Text& pattern, const Text& name, typename Text::value_type star, typename Text::value_type any) {
  std::size_t p = 0, n = 0, starP = Text::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == star) {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == any || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (starP != Text::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == star) ++p;
  return p == pattern.size();
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Folded text as code points, so "?" stands for one character; a byte that is
// not UTF-8 stays one unit of its own.
std::u32string FoldedCodePoints(std::string_view text) {
  const std::string folded = FoldCase(text);
  std::u32string out;
  for (std::size_t i = 0; i < folded.size();) {
    const unsigned char lead = static_cast<unsigned char>(folded[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (lead < 0x80) {
      out += static_cast<char32_t>(lead);
      ++i;
      continue;
    }
    if (length == 1 || i + length > folded.size() || !IsValidUtf8(std::string_view(folded).substr(i, length))) {
      out += static_cast<char32_t>(0x110000 + lead);  // outside Unicode: matches only itself
      ++i;
      continue;
    }
    char32_t c = lead & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(folded[i + k]) & 0x3F);
    out += c;
    i += length;
  }
  return out;
}

}  // namespace

bool Winapp2Matches(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*" || pattern == "*") return true;
  if (IsAscii(pattern) && IsAscii(name)) return GlobMatch(AsciiLower(pattern), AsciiLower(name), '*', '?');
  return GlobMatch(FoldedCodePoints(pattern), FoldedCodePoints(name), U'*', U'?');
}

bool Winapp2MatchesEveryName(std::string_view pattern) {
  return pattern.find('*') != std::string_view::npos && pattern.find_first_not_of("*?.") == std::string_view::npos;
}

void ReadWinapp2(std::string_view bytes, Winapp2Database& into, std::vector<std::string>& taken) {
  if (bytes.size() > kWinapp2MaxFileBytes) {
    into.notes.push_back("file larger than " + std::to_string(kWinapp2MaxFileBytes >> 20) + " MB not read");
    return;
  }
  const std::string text = DecodeTextFile(bytes);
  std::optional<EntryBuilder> current;
  auto finish = [&] {
    if (!current) return;
    current->Finish();
    const std::string key = AsciiLower(current->entry_.name);
    if (!current->Failed() && std::find(taken.begin(), taken.end(), key) != taken.end())
      current->Fail("an entry of the same name came first", false);
    if (current->Failed()) {
      into.rejected.push_back({{}, current->entry_.name, current->entry_.line, current->error_, current->unsafe_});
    } else {
      taken.push_back(key);
      into.entries.push_back(std::move(current->entry_));
    }
    current.reset();
  };

  std::size_t lineNumber = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    const std::string_view line = TrimBlanks(std::string_view(text).substr(pos, end - pos));
    pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    ++lineNumber;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      finish();
      std::string_view name = line.back() == ']' ? line.substr(1, line.size() - 2) : line.substr(1);
      name = TrimBlanks(name);
      if (name.size() >= 2 && name.substr(name.size() - 2) == " *") name = TrimBlanks(name.substr(0, name.size() - 2));
      current.emplace(std::string(name), lineNumber);
      if (line.back() != ']') current->Fail("section header without \"]\"", false);
      // The name becomes a key of the selection file, which cannot hold these.
      else if (name.empty() || name.find_first_of("=[]") != std::string_view::npos || name[0] == ';')
        current->Fail("entry name is empty or holds \"=\", \"[\" or \"]\"", false);
      continue;
    }
    if (!current) {
      into.notes.push_back("line " + std::to_string(lineNumber) + ": text before the first entry ignored");
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      current->Fail("line " + std::to_string(lineNumber) + " has no \"=\"", false);
      continue;
    }
    if (current->Failed()) continue;
    current->Key(TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1)), lineNumber, into.notes);
  }
  finish();
}

}  // namespace cv
