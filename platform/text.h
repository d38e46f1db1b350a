#pragma once
// Small text helpers shared by the portable code. Case folding is ASCII only,
// as the profile and registry name comparisons the program relies on are.
#include <string>
#include <string_view>

namespace cv {

char AsciiLower(char c);
std::string AsciiLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Removes leading and trailing spaces (only the blank character).
std::string_view TrimSpaces(std::string_view text);
// Removes leading and trailing spaces and tabs.
std::string_view TrimBlanks(std::string_view text);

}  // namespace cv
