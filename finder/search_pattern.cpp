#include "finder/search_pattern.h"

namespace cv::finder {

void AsciiUpperInto(std::string_view text, std::string& out) {
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    out[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
}

std::vector<SearchPattern> ParseSearchString(std::string_view searchString) {
  std::vector<SearchPattern> patterns;
  if (searchString.empty()) return patterns;
  size_t start = 0;
  while (true) {
    const size_t end = searchString.find(';', start);
    std::string_view piece =
        searchString.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    const bool leading = !piece.empty() && piece.front() == '*';
    if (leading) piece.remove_prefix(1);
    const bool trailing = !piece.empty() && piece.back() == '*';
    if (trailing) piece.remove_suffix(1);
    SearchPattern pattern;
    pattern.text = std::string(piece);
    AsciiUpperInto(piece, pattern.upper);
    pattern.kind = leading && trailing ? PatternKind::Contains
                   : leading           ? PatternKind::Suffix
                   : trailing          ? PatternKind::Prefix
                                       : PatternKind::ExactName;
    patterns.push_back(std::move(pattern));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return patterns;
}

bool MatchesName(const SearchPattern& pattern, std::string_view upperName) {
  if (upperName.size() <= pattern.upper.size()) return false;
  switch (pattern.kind) {
    case PatternKind::Suffix:
      return upperName.ends_with(pattern.upper);
    case PatternKind::Prefix:
      return upperName.starts_with(pattern.upper);
    case PatternKind::Contains:
      return upperName.find(pattern.upper) != std::string_view::npos;
    case PatternKind::ExactName:
      return false;
  }
  return false;
}

bool IsPlainFileName(std::string_view text) {
  if (text.empty() || text == "." || text == "..") return false;
  return text.find_first_of("\\/:") == std::string_view::npos;
}

}  // namespace cv::finder
