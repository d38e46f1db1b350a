#include "platform/reg_text.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/text.h"

namespace cv {
namespace {

struct RootName {
  RegKey key;
  std::string_view longName;
  std::string_view shortName;
};

constexpr std::array<RootName, 7> kRootNames{{
    {kHkeyClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {kHkeyCurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {kHkeyLocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {kHkeyUsers, "HKEY_USERS", "HKU"},
    {kHkeyPerformanceData, "HKEY_PERFORMANCE_DATA", ""},
    {kHkeyCurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
    {kHkeyDynData, "HKEY_DYN_DATA", "HKDD"},
}};

// --- import ----------------------------------------------------------------

std::string_view TrimLeft(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  return first == std::string_view::npos ? std::string_view{} : s.substr(first);
}

std::string_view TrimRight(std::string_view s) {
  const auto last = s.find_last_not_of(" \t");
  return last == std::string_view::npos ? std::string_view{} : s.substr(0, last + 1);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A hex number of 1..maxDigits digits making up all of `s`.
std::optional<std::uint32_t> ParseHex(std::string_view s, std::size_t maxDigits) {
  if (s.empty() || s.size() > maxDigits) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : s) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(d);
  }
  return value;
}

// A quoted string starting at s[0] == '"', with the escapes \\ and \" (any
// other backslash is kept as it stands). Advances `s` past the closing quote;
// nullopt when the string is not closed.
std::optional<std::string> ParseQuoted(std::string_view& s) {
  std::string out;
  for (std::size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      s.remove_prefix(i + 1);
      return out;
    }
    if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
      out += s[++i];
    } else {
      out += c;
    }
  }
  return std::nullopt;
}

// Comma-separated hex bytes ("hex:" data with continuations already joined).
std::optional<std::string> ParseHexBytes(std::string_view s) {
  std::string out;
  out.reserve(s.size() / 3 + 1);
  while (true) {
    const auto comma = s.find(',');
    const std::string_view token = TrimRight(TrimLeft(s.substr(0, comma)));
    if (token.empty()) {
      // Only an empty list or a trailing comma may leave a token empty.
      if (comma != std::string_view::npos) return std::nullopt;
      return out;
    }
    const auto value = ParseHex(token, 2);
    if (!value) return std::nullopt;
    out += static_cast<char>(*value);
    if (comma == std::string_view::npos) return out;
    s.remove_prefix(comma + 1);
    if (TrimLeft(s).empty()) return out;
  }
}

bool IsStringType(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

struct ParsedPath {
  RegKey root = 0;
  std::string_view subKey;
};

std::optional<ParsedPath> ParseKeyPath(std::string_view path) {
  const auto slash = path.find('\\');
  const auto root = RegRootFromName(path.substr(0, slash));
  if (!root) return std::nullopt;
  ParsedPath parsed{*root, {}};
  if (slash != std::string_view::npos) parsed.subKey = path.substr(slash + 1);
  return parsed;
}

class Importer {
 public:
  Importer(Registry& registry, bool unicode) : registry_(registry), unicode_(unicode) {}

  // Carries out the line at `index`, taking continuation lines with it;
  // returns the index of the next line to read.
  std::size_t Line(const std::vector<std::string_view>& lines, std::size_t index) {
    const std::string_view line = TrimLeft(lines[index]);
    if (line.empty() || line.front() == ';') return index + 1;
    if (line.front() == '[') {
      Count(KeyLine(line), index);
      return index + 1;
    }
    if (line.front() == '"' || line.front() == '@') return ValueLine(lines, index);
    Count(false, index);
    return index + 1;
  }

  RegTextResult result;

 private:
  void Count(bool applied, std::size_t index) {
    if (applied) {
      ++result.applied;
    } else {
      ++result.skipped;
      if (result.firstSkippedLine == 0) result.firstSkippedLine = index + 1;
    }
  }

  bool KeyLine(std::string_view line) {
    current_.reset();  // values after a bad key line go nowhere
    const auto close = line.rfind(']');
    if (close == std::string_view::npos) return false;
    std::string_view path = line.substr(1, close - 1);
    const bool deletion = !path.empty() && path.front() == '-';
    if (deletion) path.remove_prefix(1);
    const auto parsed = ParseKeyPath(path);
    if (!parsed) return false;
    if (deletion) {
      // A whole root is never deleted; a key that is already gone is fine.
      if (parsed->subKey.empty()) return false;
      const Status status = registry_.DeleteTree(parsed->root, parsed->subKey);
      return status == kOk || status == kErrFileNotFound;
    }
    if (parsed->subKey.empty()) {
      current_ = std::make_unique<ScopedRegKey>(registry_, parsed->root);
      return true;
    }
    ScopedRegKey key(registry_);
    if (registry_.CreateKey(parsed->root, parsed->subKey, key.out()) != kOk) return false;
    current_ = std::make_unique<ScopedRegKey>(std::move(key));
    return true;
  }

  std::size_t ValueLine(const std::vector<std::string_view>& lines, std::size_t index) {
    std::string_view rest = TrimLeft(lines[index]);
    std::string name;
    if (rest.front() == '@') {
      rest.remove_prefix(1);
    } else if (auto quoted = ParseQuoted(rest)) {
      name = std::move(*quoted);
    } else {
      Count(false, index);
      return index + 1;
    }
    rest = TrimLeft(rest);
    if (rest.empty() || rest.front() != '=') {
      Count(false, index);
      return index + 1;
    }
    rest = TrimLeft(rest.substr(1));
    if (rest.empty()) {
      Count(false, index);
      return index + 1;
    }

    std::size_t next = index + 1;
    std::optional<std::pair<std::uint32_t, std::string>> value;
    bool remove = false;
    if (rest.starts_with("hex")) {
      std::string joined;
      next = JoinContinuations(lines, index, rest, joined);
      value = ParseHexValue(joined);
    } else if (rest.front() == '"') {
      if (auto text = ParseQuoted(rest)) {
        text->push_back('\0');
        value.emplace(kRegSz, std::move(*text));
      }
    } else if (rest.starts_with("dword:")) {
      if (auto number = ParseHex(TrimRight(StripComment(rest.substr(6))), 8)) {
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((*number >> (8 * i)) & 0xFF);
        value.emplace(kRegDword, std::move(bytes));
      }
    } else if (TrimRight(StripComment(rest)) == "-") {
      remove = true;
    }

    bool applied = false;
    if (current_ && remove) {
      const Status status = registry_.DeleteValue(current_->get(), name);
      applied = status == kOk || status == kErrFileNotFound;
    } else if (current_ && value) {
      applied = registry_.SetValue(current_->get(), name, value->first, value->second) == kOk;
    }
    Count(applied, index);
    return next;
  }

  static std::string_view StripComment(std::string_view s) { return s.substr(0, s.find(';')); }

  // Joins "hex...:" data with the lines that a trailing "\" continues it on.
  static std::size_t JoinContinuations(const std::vector<std::string_view>& lines, std::size_t index,
                                       std::string_view first, std::string& joined) {
    std::string_view piece = first;
    while (true) {
      piece = TrimRight(StripComment(piece));
      const bool continued = !piece.empty() && piece.back() == '\\';
      if (continued) piece.remove_suffix(1);
      joined += piece;
      ++index;
      if (!continued || index >= lines.size()) return index;
      piece = TrimLeft(lines[index]);
    }
  }

  // "hex:..." or "hex(N):..." as a type and the bytes to store.
  std::optional<std::pair<std::uint32_t, std::string>> ParseHexValue(std::string_view s) const {
    std::uint32_t type = kRegBinary;
    s.remove_prefix(3);
    if (!s.empty() && s.front() == '(') {
      const auto close = s.find(')');
      if (close == std::string_view::npos) return std::nullopt;
      const auto number = ParseHex(s.substr(1, close - 1), 8);
      if (!number) return std::nullopt;
      type = *number;
      s.remove_prefix(close + 1);
    }
    if (s.empty() || s.front() != ':') return std::nullopt;
    auto bytes = ParseHexBytes(s.substr(1));
    if (!bytes) return std::nullopt;
    if (IsStringType(type)) {
      if (!unicode_) return std::pair{type, AnsiToUtf8(*bytes)};
      if (bytes->size() % 2 != 0) return std::nullopt;  // not UTF-16 text
      return std::pair{type, Utf16LeToUtf8(*bytes)};
    }
    return std::pair{type, std::move(*bytes)};
  }

  Registry& registry_;
  std::unique_ptr<ScopedRegKey> current_;  // the key of the last key line, if it could be created
  bool unicode_;
};

// --- export ----------------------------------------------------------------

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

// A REG_SZ exports as a quoted string only when it reads back the same:
// one terminating NUL, no other NUL, no line break, valid UTF-8.
bool ExportsAsString(std::string_view data) {
  if (data.empty() || data.back() != '\0') return false;
  data.remove_suffix(1);
  return data.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos && IsValidUtf8(data);
}

void AppendHex(std::string& out, std::string_view prefix, std::string_view bytes, std::size_t column) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += prefix;
  column += prefix.size();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (column > 76) {
      out += "\\\r\n  ";
      column = 2;
    }
    const auto b = static_cast<unsigned char>(bytes[i]);
    out += kDigits[b >> 4];
    out += kDigits[b & 0xF];
    column += 2;
    if (i + 1 < bytes.size()) {
      out += ',';
      ++column;
    }
  }
}

void AppendValue(std::string& out, std::string_view name, const RegValue& value) {
  const std::size_t lineStart = out.size();
  if (name.empty()) {
    out += '@';
  } else {
    AppendQuoted(out, name);
  }
  out += '=';
  const std::size_t column = out.size() - lineStart;
  if (value.type == kRegSz && ExportsAsString(value.data)) {
    AppendQuoted(out, std::string_view(value.data).substr(0, value.data.size() - 1));
  } else if (value.type == kRegDword && value.data.size() == 4) {
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(value.data[i]);
    char text[16];
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int i = 0; i < 8; ++i) text[i] = kDigits[(number >> (28 - 4 * i)) & 0xF];
    out += "dword:";
    out.append(text, 8);
  } else if (value.type == kRegBinary) {
    AppendHex(out, "hex:", value.data, column);
  } else {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string prefix = "hex(";
    std::string number;
    for (std::uint32_t t = value.type; t != 0 || number.empty(); t >>= 4)
      number.insert(number.begin(), kDigits[t & 0xF]);
    prefix += number + "):";
    const std::string bytes = IsStringType(value.type) ? Utf8ToUtf16Le(value.data) : value.data;
    AppendHex(out, prefix, bytes, column);
  }
  out += "\r\n";
}

}  // namespace

std::optional<RegKey> RegRootFromName(std::string_view name) {
  for (const auto& root : kRootNames)
    if (EqualsNoCase(name, root.longName) || (!root.shortName.empty() && EqualsNoCase(name, root.shortName)))
      return root.key;
  return std::nullopt;
}

std::string_view RegRootName(RegKey root) {
  for (const auto& entry : kRootNames)
    if (entry.key == root) return entry.longName;
  return {};
}

RegTextResult ImportRegText(Registry& registry, std::string_view bytes) {
  const std::string text = DecodeTextFile(bytes);
  const auto lines = SplitLines(text);
  std::size_t index = 0;
  while (index < lines.size() && TrimLeft(lines[index]).empty()) ++index;
  if (index == lines.size()) return {kErrInvalidParameter, 0, 0, 0};
  const std::string_view header = TrimRight(TrimLeft(lines[index]));
  const bool unicode = header == kRegTextHeader;
  if (!unicode && header != "REGEDIT4") return {kErrInvalidParameter, 0, 0, index + 1};

  Importer importer(registry, unicode);
  for (++index; index < lines.size();) index = importer.Line(lines, index);
  return importer.result;
}

void AppendRegTree(Registry& registry, RegKey root, std::string_view subKey, std::string& out) {
  const std::string_view rootName = RegRootName(root);
  if (rootName.empty()) return;
  // Depth first, keys in enumeration order, without recursion.
  std::vector<std::string> pending{std::string(subKey)};
  while (!pending.empty()) {
    const std::string path = std::move(pending.back());
    pending.pop_back();
    ScopedRegKey key(registry);
    if (registry.OpenKey(root, path, kKeyRead, key.out()) != kOk) continue;

    std::string section;
    std::string name;
    RegValue value;
    for (std::uint32_t i = 0; registry.EnumValue(key.get(), i, name, value) == kOk; ++i)
      AppendValue(section, name, value);
    if (!path.empty() || !section.empty()) {
      out += '[';
      out += rootName;
      if (!path.empty()) out += '\\' + path;
      out += "]\r\n";
      out += section;
      out += "\r\n";
    }

    std::vector<std::string> children;
    for (std::uint32_t i = 0; registry.EnumKey(key.get(), i, name) == kOk; ++i)
      children.push_back(path.empty() ? name : path + '\\' + name);
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
}

std::string ExportRegValueText(RegKey root, std::string_view subKey, std::string_view name, const RegValue& value) {
  std::string out(kRegTextHeader);
  out += "\r\n\r\n[";
  out += RegRootName(root);
  if (!subKey.empty()) out += '\\' + std::string(subKey);
  out += "]\r\n";
  AppendValue(out, name, value);
  out += "\r\n";
  return out;
}

std::string ExportRegText(Registry& registry, RegKey root, std::string_view subKey) {
  std::string out(kRegTextHeader);
  out += "\r\n\r\n";
  AppendRegTree(registry, root, subKey, out);
  return out;
}

}  // namespace cv
