#pragma once
// The finder's search string: name patterns separated by ";". A star in the
// first or the last position makes the pattern a suffix, prefix or contains
// test; a pattern without either names one file exactly. Any other star and
// "?" are ordinary characters.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cv::finder {

enum class PatternKind { Suffix, Prefix, Contains, ExactName };

struct SearchPattern {
  std::string text;   // as typed, without its leading and trailing star
  std::string upper;  // `text` upper-cased for the comparisons
  PatternKind kind = PatternKind::ExactName;
};

// Splits at every ";"; empty pieces stay (they match nothing). An empty
// search string gives no patterns.
std::vector<SearchPattern> ParseSearchString(std::string_view searchString);

// The suffix, prefix or contains test of an upper-cased name that is longer
// than the pattern text; exact names and shorter names never match here.
bool MatchesName(const SearchPattern& pattern, std::string_view upperName);

// A pattern that names a file exactly can name only a plain name in the
// searched folder: never one with a path separator, a drive colon, "." or "..".
bool IsPlainFileName(std::string_view text);

// ASCII upper case, as the program's other name comparisons.
void AsciiUpperInto(std::string_view text, std::string& out);

}  // namespace cv::finder
