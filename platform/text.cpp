#include "platform/text.h"

#include <algorithm>
#include <array>
#include <optional>

namespace cv {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

namespace {

struct FoldRange {
  char32_t first, last;
  int delta;   // added to a capital
  int parity;  // -1: every code point; 0/1: only those with this parity
};
constexpr FoldRange kFoldRanges[] = {
    {U'A', U'Z', 32, -1},   {0xC0, 0xD6, 32, -1},   {0xD8, 0xDE, 32, -1},   {0x100, 0x12F, 1, 0},
    {0x132, 0x137, 1, 0},   {0x139, 0x148, 1, 1},   {0x14A, 0x177, 1, 0},   {0x178, 0x178, -0x79, -1},
    {0x179, 0x17E, 1, 1},   {0x386, 0x386, 38, -1}, {0x388, 0x38A, 37, -1}, {0x38C, 0x38C, 64, -1},
    {0x38E, 0x38F, 63, -1}, {0x391, 0x3A1, 32, -1}, {0x3A3, 0x3AB, 32, -1}, {0x400, 0x40F, 80, -1},
    {0x410, 0x42F, 32, -1}, {0x460, 0x481, 1, 0},   {0x48A, 0x4BF, 1, 0},   {0x4D0, 0x52F, 1, 0},
    {0x531, 0x556, 48, -1}, {0x1E00, 0x1E95, 1, 0}, {0x1EA0, 0x1EFF, 1, 0}, {0xFF21, 0xFF3A, 32, -1},
};

char32_t FoldCodePoint(char32_t c) {
  for (const auto& range : kFoldRanges) {
    if (c < range.first || c > range.last) continue;
    if (range.parity >= 0 && static_cast<int>(c % 2) != range.parity) return c;
    return static_cast<char32_t>(static_cast<int>(c) + range.delta);
  }
  return c;
}

}  // namespace

static std::string_view TrimOf(std::string_view text, std::string_view blanks) {
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

std::string_view TrimSpaces(std::string_view text) { return TrimOf(text, " "); }
std::string_view TrimBlanks(std::string_view text) { return TrimOf(text, " \t"); }

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string> PathComponents(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t pos = 0;
  while (pos <= path.size()) {
    std::size_t end = path.find('\\', pos);
    if (end == std::string_view::npos) end = path.size();
    if (end > pos) parts.emplace_back(path.substr(pos, end - pos));
    pos = end + 1;
  }
  return parts;
}

// --- encodings -------------------------------------------------------------

namespace {

// Decodes one UTF-8 sequence at `pos`; nullopt (and `pos` unchanged) for an invalid one.
std::optional<char32_t> NextUtf8(std::string_view s, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  std::size_t length = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (pos + length > s.size()) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (byte(pos + i) & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  pos += length;
  return c;
}

// The Windows-1252 characters of 0x80..0x9F; the rest of the page is Latin-1.
constexpr std::array<char16_t, 32> kCp1252High{0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                               0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t FromCp1252(unsigned char b) { return (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b; }

std::string Cp1252ToUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) AppendUtf8(out, FromCp1252(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsValidUtf8(std::string_view s) {
  for (std::size_t pos = 0; pos < s.size();)
    if (!NextUtf8(s, pos)) return false;
  return true;
}

std::string AnsiToUtf8(std::string_view s) { return IsValidUtf8(s) ? std::string(s) : Cp1252ToUtf8(s); }

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() / 2);
  const auto unit = [&](std::size_t i) -> char16_t {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  };
  const std::size_t count = bytes.size() / 2;
  for (std::size_t i = 0; i < count; ++i) {
    const char16_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

std::string Utf8ToUtf16Le(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  const auto put = [&](char32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>((u >> 8) & 0xFF);
  };
  for (std::size_t pos = 0; pos < s.size();) {
    char32_t c;
    if (auto decoded = NextUtf8(s, pos)) {
      c = *decoded;
    } else {
      c = FromCp1252(static_cast<unsigned char>(s[pos++]));
    }
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
}

std::string DecodeTextFile(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::string_view body = bytes.substr(2);
    return Utf16LeToUtf8(body.substr(0, body.size() & ~std::size_t{1}));
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return AnsiToUtf8(bytes);
}

std::string FoldCase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    if (const auto c = NextUtf8(utf8, pos))
      AppendUtf8(out, FoldCodePoint(*c));
    else
      out += utf8[pos++];  // not UTF-8: kept as it is, so it matches only itself
  }
  return out;
}

bool FoldsTo(std::string_view name, std::string_view folded) {
  const bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii) return FoldCase(name) == folded;
  // An ASCII name folds to itself with A-Z lowered, one byte for one.
  if (name.size() != folded.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (AsciiLower(name[i]) != folded[i]) return false;
  return true;
}

}  // namespace cv
