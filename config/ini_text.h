#pragma once
// INI text in the Windows profile format, as pure functions on the file's
// text. Reads behave as GetPrivateProfileStringA / GetPrivateProfileSectionA
// do; writes change only the lines they must and keep every other byte.
//
// Format, as the profile functions read it:
// - lines end at CR LF, LF or a lone CR; blanks (space, tab) around a line,
//   a name or a value do not count;
// - "[name]" opens a section (the name runs to the last "]"); the first line
//   of that name wins, later sections of the same name are never seen;
// - "key=value" (value after the first "="), or "key" alone (no value);
// - a line starting with ";" is a comment; a line starting with "#" is not;
// - section and key names match without regard to ASCII letter case;
// - the first key of a name in the section wins;
// - value reads and writes ignore blanks around the names asked for; section
//   reads and deletes take the section name as given, as Windows does;
// - an empty section name names nothing (lines before the first section
//   cannot be reached).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cv::ini {

// How the file's bytes hold its text. A UTF-16 file (FF FE mark) is read and
// written as UTF-16, as Windows does; a UTF-8 byte order mark is skipped and
// kept; everything else is taken byte for byte (the ANSI code page).
enum class Encoding { kBytes, kUtf8Bom, kUtf16Le };

struct ProfileText {
  Encoding encoding = Encoding::kBytes;
  std::string text;      // without the mark; UTF-8 for a UTF-16 file
  std::string trailing;  // an odd last byte of a UTF-16 file, stored back as it was
};

ProfileText DecodeProfile(std::string_view bytes);
std::string EncodeProfile(const ProfileText& profile);

// GetPrivateProfileStringA(section, key, "", buffer, bufferChars): the text
// the buffer holds before its NUL. Quotes around the whole value go.
std::string ReadString(std::string_view text, std::string_view section, std::string_view key, std::size_t bufferChars);

// GetPrivateProfileSectionA(section, buffer, bufferChars): the buffer up to
// and including its closing double NUL ("" for a missing or empty section,
// which the function leaves as two NULs). Entries are "key=value" or "key"
// with blanks trimmed, comments and blank lines left out. When the section
// does not fit, the entries are cut after bufferChars - 2 characters and two
// NULs follow, so the last entry may be cut short. `cut` (when given) tells
// whether the entries reached bufferChars - 2 characters: the function then
// reports a full buffer, and its caller cannot tell a whole last entry from
// a cut one.
std::string ReadSection(std::string_view text, std::string_view section, std::size_t bufferChars, bool* cut = nullptr);

bool HasSection(std::string_view text, std::string_view section);

// The text after storing key=value, or nullopt when the text stays as it is
// (same value, or a section or key name that cannot be stored: empty, holding
// a line break or NUL, a key holding "=" or starting with ";" or "[").
// An existing key's line is rewritten in place as "key=value" (keeping the
// key's spelling and the line end); a new key goes after the last non-blank
// line of its section; a new section goes at the end. New lines end in CR LF.
// The value is stored as given: callers cut it.
std::optional<std::string> WriteString(std::string_view text, std::string_view section, std::string_view key,
                                       std::string_view value);

// WritePrivateProfileStringA(section, NULL, NULL): the text without the first
// section of that name (its header and every line up to the next section),
// or nullopt when there is none.
std::optional<std::string> DeleteSection(std::string_view text, std::string_view section);

}  // namespace cv::ini
