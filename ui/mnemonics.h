#pragma once
// Keyboard mnemonics for the controls of one page: each caption gets an "&"
// before a letter or digit no other control of the page uses, word starts
// first. Captions keep their text; a literal "&" is doubled.
#include <string>
#include <string_view>
#include <vector>

namespace cv {

// `reserved` holds characters already taken on the page (lower case).
std::vector<std::string> AssignMnemonics(const std::vector<std::string_view>& captions, std::string_view reserved = {});
// The mnemonic character of a caption made by AssignMnemonics (lower case), or 0.
char MnemonicOf(std::string_view caption);

}  // namespace cv
