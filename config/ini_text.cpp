#include "config/ini_text.h"

#include <cstdint>

#include "platform/text.h"

namespace cv::ini {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// One line of the text: [begin, end) is its content, [end, next) its line end.
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;
  bool HasLineEnd() const { return next > end; }
};

// Steps through the lines without copying; a 10 MB file costs one pass.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text, std::size_t start = 0) : text_(text), pos_(start) {}

  bool Next(Line& line) {
    if (pos_ >= text_.size()) return false;
    line.begin = pos_;
    std::size_t brk = pos_;
    const std::size_t size = text_.size();
    while (brk < size && text_[brk] != '\n' && text_[brk] != '\r') ++brk;
    if (brk == size) {
      line.end = line.next = text_.size();
    } else {
      line.end = brk;
      line.next = brk + ((text_[brk] == '\r' && brk + 1 < text_.size() && text_[brk + 1] == '\n') ? 2 : 1);
    }
    pos_ = line.next;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_;
};

enum class Kind { kBlank, kComment, kSection, kKey };

struct Parsed {
  Kind kind = Kind::kBlank;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // trimmed; only for keys with "="
  bool hasValue = false;
};

// The profile functions hold names and values as C strings: a NUL ends them.
std::string_view CutAtNul(std::string_view s) { return s.substr(0, s.find('\0')); }

Parsed Classify(std::string_view content) {
  Parsed p;
  const std::string_view line = TrimBlanks(content);
  if (line.empty()) return p;
  if (line.front() == ';') {
    p.kind = Kind::kComment;
    return p;
  }
  if (line.front() == '[') {
    const std::size_t close = line.rfind(']');
    if (close != std::string_view::npos && close > 0) {
      p.kind = Kind::kSection;
      p.name = CutAtNul(TrimBlanks(line.substr(1, close - 1)));
      return p;
    }
    // "[name" without "]" is an ordinary key line, as Windows reads it.
  }
  p.kind = Kind::kKey;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) {
    p.name = CutAtNul(line);
  } else {
    p.name = CutAtNul(TrimBlanks(line.substr(0, eq)));
    p.value = CutAtNul(TrimBlanks(line.substr(eq + 1)));
    p.hasValue = true;
  }
  return p;
}

std::string_view ContentOf(std::string_view text, const Line& line) {
  return text.substr(line.begin, line.end - line.begin);
}

// Where the first section of a name lies: its header line, and the offset of
// the next section header (or the end of the text).
struct SectionSpan {
  Line header;
  std::size_t bodyEnd = 0;
};

std::optional<SectionSpan> FindSection(std::string_view text, std::string_view name) {
  LineCursor cursor(text);
  Line line;
  std::optional<SectionSpan> found;
  while (cursor.Next(line)) {
    // Only header lines matter here: skip the rest without parsing them.
    std::size_t first = line.begin;
    while (first < line.end && (text[first] == ' ' || text[first] == '\t')) ++first;
    if (first == line.end || text[first] != '[') continue;
    const Parsed p = Classify(ContentOf(text, line));
    if (p.kind != Kind::kSection) continue;
    if (found) {
      found->bodyEnd = line.begin;
      return found;
    }
    if (EqualsNoCase(p.name, name)) found = SectionSpan{line, text.size()};
  }
  return found;
}

// Calls visit(line, parsed) for each line of the section's body until it returns false.
template <typename Visit>
void ForEachBodyLine(std::string_view text, const SectionSpan& span, Visit&& visit) {
  const std::string_view body = text.substr(0, span.bodyEnd);
  LineCursor cursor(body, span.header.next);
  Line line;
  while (cursor.Next(line))
    if (!visit(line, Classify(ContentOf(body, line)))) return;
}

bool HasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool StorableSection(std::string_view section) { return !section.empty() && !HasLineBreakOrNul(section); }

bool StorableKey(std::string_view key) {
  return !key.empty() && !HasLineBreakOrNul(key) && key.find('=') == std::string_view::npos && key.front() != ';' &&
         key.front() != '[';
}

// UTF-16 LE <-> UTF-8. Lone surrogates travel as their 3-byte forms, so any
// UTF-16 text comes back unchanged after a round trip.
std::string Utf16ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  const std::size_t units = bytes.size() / 2;
  auto unitAt = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2 * i])) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2 * i + 1])) << 8);
  };
  for (std::size_t i = 0; i < units; ++i) {
    std::uint32_t cp = unitAt(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units) {
      const std::uint32_t low = unitAt(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(out, cp);
  }
  return out;
}

// Bytes that are not UTF-8 (a value given in the ANSI code page) are stored
// as the characters of the same number rather than dropped.
std::string Utf8ToUtf16(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  auto put = [&](std::uint32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
    std::uint32_t cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
    bool valid = len != 0 && i + len <= text.size();
    for (std::size_t k = 1; valid && k < len; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) valid = false;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (!valid || cp > 0x10FFFF) {
      put(b0);
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp);
    }
    i += len;
  }
  return out;
}

}  // namespace

ProfileText DecodeProfile(std::string_view bytes) {
  ProfileText profile;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    profile.encoding = Encoding::kUtf16Le;
    const std::string_view body = bytes.substr(2);
    profile.text = Utf16ToUtf8(body);
    if (body.size() % 2 != 0) profile.trailing = std::string(1, body.back());
  } else if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    profile.encoding = Encoding::kUtf8Bom;
    profile.text = std::string(bytes.substr(kUtf8Bom.size()));
  } else {
    profile.text = std::string(bytes);
  }
  return profile;
}

std::string EncodeProfile(const ProfileText& profile) {
  switch (profile.encoding) {
    case Encoding::kUtf16Le:
      return "\xFF\xFE" + Utf8ToUtf16(profile.text) + profile.trailing;
    case Encoding::kUtf8Bom:
      return std::string(kUtf8Bom) + profile.text;
    case Encoding::kBytes:
      break;
  }
  return profile.text;
}

std::string ReadString(std::string_view text, std::string_view section, std::string_view key, std::size_t bufferChars) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  if (section.empty() || key.empty() || bufferChars == 0) return {};
  const auto span = FindSection(text, section);
  if (!span) return {};
  std::string_view value;
  ForEachBodyLine(text, *span, [&](const Line&, const Parsed& p) {
    if (p.kind != Kind::kKey || !EqualsNoCase(p.name, key)) return true;
    value = p.value;  // a key without "=" reads as ""
    return false;
  });
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value.substr(0, bufferChars - 1));
}

std::string ReadSection(std::string_view text, std::string_view section, std::size_t bufferChars, bool* cut) {
  if (cut) *cut = false;
  if (section.empty() || bufferChars < 2) return {};
  const auto span = FindSection(text, section);
  if (!span) return {};
  std::string entries;
  ForEachBodyLine(text, *span, [&](const Line&, const Parsed& p) {
    if (p.kind != Kind::kKey) return true;
    entries += p.name;
    if (p.hasValue) {
      entries += '=';
      entries += p.value;
    }
    entries += '\0';
    // Past the buffer nothing more can show; stop reading a huge section early.
    return entries.size() < bufferChars;
  });
  if (entries.empty()) return {};
  // From bufferChars - 2 characters on, the function reports a full buffer.
  if (cut) *cut = entries.size() >= bufferChars - 2;
  if (entries.size() + 1 <= bufferChars) return entries + '\0';
  entries.resize(bufferChars - 2);
  entries += std::string(2, '\0');
  return entries;
}

bool HasSection(std::string_view text, std::string_view section) {
  return !section.empty() && FindSection(text, section).has_value();
}

std::optional<std::string> WriteString(std::string_view text, std::string_view section, std::string_view key,
                                       std::string_view value) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  if (!StorableSection(section) || !StorableKey(key)) return std::nullopt;

  std::string out;
  const auto span = FindSection(text, section);
  if (!span) {
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
    out = text;
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += kCrLf;
    out.append("[").append(section).append("]").append(kCrLf);
    out.append(key).append("=").append(value).append(kCrLf);
    return out;
  }

  std::optional<Line> keyLine;
  std::string_view storedName;
  Line lastFilled = span->header;
  ForEachBodyLine(text, *span, [&](const Line& line, const Parsed& p) {
    if (p.kind == Kind::kKey && EqualsNoCase(p.name, key)) {
      keyLine = line;
      storedName = p.name;
      return false;
    }
    if (p.kind != Kind::kBlank) lastFilled = line;
    return true;
  });

  if (keyLine) {
    std::string replacement;
    replacement.append(storedName).append("=").append(value);
    if (ContentOf(text, *keyLine) == replacement) return std::nullopt;
    out.reserve(text.size() + replacement.size());
    out.append(text.substr(0, keyLine->begin)).append(replacement).append(text.substr(keyLine->end));
    return out;
  }

  std::string insertion;
  if (!lastFilled.HasLineEnd()) insertion += kCrLf;
  insertion.append(key).append("=").append(value).append(kCrLf);
  out.reserve(text.size() + insertion.size());
  out.append(text.substr(0, lastFilled.next)).append(insertion).append(text.substr(lastFilled.next));
  return out;
}

std::optional<std::string> DeleteSection(std::string_view text, std::string_view section) {
  if (section.empty()) return std::nullopt;
  const auto span = FindSection(text, section);
  if (!span) return std::nullopt;
  std::string out;
  out.reserve(text.size());
  out.append(text.substr(0, span->header.begin)).append(text.substr(span->bodyEnd));
  return out;
}

}  // namespace cv::ini
