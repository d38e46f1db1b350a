#pragma once
// The program's JSON: string literals for what it writes (the command line's
// report), and a reader of the member names of one object inside a JSON text, such as the
// profile folders listed under "profile" -> "info_cache" in Chromium's
// "Local State". The reader checks the whole text and refuses anything that
// is not JSON; nesting deeper than kMaxJsonDepth is refused too, so a hostile
// file cannot exhaust the stack.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cv {

inline constexpr int kMaxJsonDepth = 64;

// The names of the members of the object reached from the top-level object
// through `path` (member names, in order), decoded to UTF-8, in file order.
// nullopt when the text is not valid JSON or the path does not lead to an object.
std::optional<std::vector<std::string>> JsonObjectKeys(std::string_view json,
                                                       const std::vector<std::string_view>& path);

// JSON string literal of UTF-8 text, with quotes.
std::string JsonString(std::string_view text);

}  // namespace cv
