#include "platform/json.h"

#include <cstdint>
#include <cstdio>

namespace cv {

namespace {

// A recursive-descent reader that walks the whole text once. While it walks
// it follows `path` and, at its end, collects the member names of the object found there.
class JsonReader {
 public:
  JsonReader(std::string_view text, const std::vector<std::string_view>& path) : text_(text), path_(path) {}

  bool Run() {
    SkipSpace();
    if (!Value(0, 0)) return false;
    SkipSpace();
    return pos_ == text_.size();
  }
  bool Found() const { return found_; }
  std::vector<std::string>& Keys() { return keys_; }

 private:
  // `matched`: how many path steps lead to this value (-1 once off the path).
  bool Value(int depth, int matched) {
    if (depth > kMaxJsonDepth || pos_ >= text_.size()) return false;
    switch (text_[pos_]) {
      case '{':
        return Object(depth, matched);
      case '[':
        return Array(depth);
      case '"': {
        std::string ignored;
        return String(ignored);
      }
      case 't':
        return Word("true");
      case 'f':
        return Word("false");
      case 'n':
        return Word("null");
      default:
        return Number();
    }
  }

  bool Object(int depth, int matched) {
    const bool target = matched == static_cast<int>(path_.size()) && !found_;
    if (target) found_ = true;
    ++pos_;
    SkipSpace();
    if (Peek('}')) return ++pos_, true;
    for (;;) {
      std::string name;
      SkipSpace();
      if (!Peek('"') || !String(name)) return false;
      SkipSpace();
      if (!Peek(':')) return false;
      ++pos_;
      SkipSpace();
      int next = -1;
      if (matched >= 0 && matched < static_cast<int>(path_.size()) && name == path_[matched]) next = matched + 1;
      if (target) keys_.push_back(name);
      if (!Value(depth + 1, next)) return false;
      SkipSpace();
      if (Peek(',')) {
        ++pos_;
        continue;
      }
      if (Peek('}')) return ++pos_, true;
      return false;
    }
  }

  bool Array(int depth) {
    ++pos_;
    SkipSpace();
    if (Peek(']')) return ++pos_, true;
    for (;;) {
      SkipSpace();
      if (!Value(depth + 1, -1)) return false;
      SkipSpace();
      if (Peek(',')) {
        ++pos_;
        continue;
      }
      if (Peek(']')) return ++pos_, true;
      return false;
    }
  }

  bool String(std::string& out) {
    ++pos_;  // the opening quote
    while (pos_ < text_.size()) {
      const unsigned char c = static_cast<unsigned char>(text_[pos_++]);
      if (c == '"') return true;
      if (c < 0x20) return false;
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (pos_ >= text_.size()) return false;
      const char e = text_[pos_++];
      switch (e) {
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case '/':
          out += '/';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          std::uint32_t cp = 0;
          if (!Hex4(cp)) return false;
          if (cp >= 0xD800 && cp <= 0xDBFF) {
            std::uint32_t low = 0;
            if (pos_ + 1 < text_.size() && text_[pos_] == '\\' && text_[pos_ + 1] == 'u') {
              pos_ += 2;
              if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
              cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            } else {
              cp = 0xFFFD;
            }
          } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            cp = 0xFFFD;
          }
          AppendUtf8(out, cp);
          break;
        }
        default:
          return false;
      }
    }
    return false;
  }

  bool Hex4(std::uint32_t& value) {
    if (pos_ + 4 > text_.size()) return false;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      value <<= 4;
      if (c >= '0' && c <= '9')
        value |= c - '0';
      else if (c >= 'a' && c <= 'f')
        value |= c - 'a' + 10;
      else if (c >= 'A' && c <= 'F')
        value |= c - 'A' + 10;
      else
        return false;
    }
    return true;
  }

  static void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  bool Number() {
    const std::size_t start = pos_;
    if (Peek('-')) ++pos_;
    if (!Digits()) return false;
    if (text_[start + (text_[start] == '-')] == '0' && pos_ - start > 1u + (text_[start] == '-')) return false;
    if (Peek('.')) {
      ++pos_;
      if (!Digits()) return false;
    }
    if (Peek('e') || Peek('E')) {
      ++pos_;
      if (Peek('+') || Peek('-')) ++pos_;
      if (!Digits()) return false;
    }
    return true;
  }

  bool Digits() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
    return pos_ > start;
  }

  bool Word(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  bool Peek(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
  void SkipSpace() {
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
      ++pos_;
  }

  std::string_view text_;
  const std::vector<std::string_view>& path_;
  std::size_t pos_ = 0;
  bool found_ = false;
  std::vector<std::string> keys_;
};

}  // namespace

std::optional<std::vector<std::string>> JsonObjectKeys(std::string_view json,
                                                       const std::vector<std::string_view>& path) {
  // A byte-order mark is allowed before the text.
  if (json.substr(0, 3) == "\xEF\xBB\xBF") json.remove_prefix(3);
  JsonReader reader(json, path);
  if (!reader.Run() || !reader.Found()) return std::nullopt;
  return std::move(reader.Keys());
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

}  // namespace cv
