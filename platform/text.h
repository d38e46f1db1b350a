#pragma once
// Small text helpers shared by the portable code. AsciiLower and EqualsNoCase
// fold ASCII only, as the profile and registry name comparisons the program
// relies on do; FoldCase folds file names as Windows compares them.
#include <string>
#include <string_view>
#include <vector>

namespace cv {

char AsciiLower(char c);
std::string AsciiLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// UTF-8 text with capitals mapped to small letters one to one, as Windows
// matches file names (ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic,
// full-width Latin). Bytes that are not valid UTF-8 are kept as they are.
std::string FoldCase(std::string_view utf8);
// True when FoldCase(name) == folded, without building the folded name for
// a plain ASCII name (the common case of a folder scan).
bool FoldsTo(std::string_view name, std::string_view folded);
// Removes leading and trailing spaces (only the blank character).
std::string_view TrimSpaces(std::string_view text);
// Removes leading and trailing spaces and tabs.
std::string_view TrimBlanks(std::string_view text);
// The lines of a text: CR LF, lone LF and lone CR all end a line; a final
// line without a line end counts, a final line end adds no empty line.
std::vector<std::string_view> SplitLines(std::string_view text);
// The non-empty components of a backslash-separated path or key: "a\\\\b\\" gives "a" and "b".
std::vector<std::string> PathComponents(std::string_view path);

// Encodings. Text inside the program is UTF-8.
void AppendUtf8(std::string& out, char32_t c);
bool IsValidUtf8(std::string_view s);
// ANSI (Windows-1252) text as UTF-8: kept when it already is UTF-8.
std::string AnsiToUtf8(std::string_view s);
// UTF-16LE bytes (even count) to UTF-8; NULs stay, lone surrogates become U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);
// UTF-8 to UTF-16LE bytes; a byte that is not UTF-8 is taken as Windows-1252.
std::string Utf8ToUtf16Le(std::string_view s);
// A text file's bytes as UTF-8: UTF-16LE after an FF FE mark, a UTF-8 mark
// skipped, otherwise as AnsiToUtf8.
std::string DecodeTextFile(std::string_view bytes);

}  // namespace cv
