#include "ui/mnemonics.h"

#include <cctype>
#include <functional>

#include "platform/text.h"

namespace cv {

namespace {

bool IsMnemonicChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

std::string WithMnemonic(std::string_view caption, std::size_t position) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (i == position) text += '&';
    text += caption[i];
    if (caption[i] == '&') text += '&';
  }
  return text;
}

// Each caption's usable characters with their positions: first letters of
// words first, then the other letters and digits; each character once.
std::vector<std::pair<char, std::size_t>> Candidates(std::string_view caption, std::string_view reserved) {
  std::vector<std::pair<char, std::size_t>> candidates;
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < caption.size(); ++i) {
      if (!IsMnemonicChar(caption[i])) continue;
      const bool wordStart = i == 0 || !IsMnemonicChar(caption[i - 1]);
      if ((pass == 0) != wordStart) continue;
      const char c = AsciiLower(caption[i]);
      if (reserved.find(c) != std::string_view::npos) continue;
      bool seen = false;
      for (const auto& candidate : candidates) seen = seen || candidate.first == c;
      if (!seen) candidates.emplace_back(c, i);
    }
  }
  return candidates;
}

}  // namespace

// A maximum matching of captions to characters (augmenting paths), so a page
// with many captions still gives a mnemonic to every control it can; earlier
// captions get their preferred characters unless a later one needs them.
std::vector<std::string> AssignMnemonics(const std::vector<std::string_view>& captions, std::string_view reserved) {
  const std::string reservedLower = AsciiLower(reserved);
  std::vector<std::vector<std::pair<char, std::size_t>>> candidates;
  for (std::string_view caption : captions) candidates.push_back(Candidates(caption, reservedLower));

  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::vector<std::size_t> owner(256, kNone);               // character -> caption
  std::vector<std::size_t> chosen(captions.size(), kNone);  // caption -> position
  std::function<bool(std::size_t, std::vector<bool>&)> place = [&](std::size_t caption, std::vector<bool>& visited) {
    for (const auto& [c, position] : candidates[caption]) {
      const auto slot = static_cast<unsigned char>(c);
      if (visited[slot]) continue;
      visited[slot] = true;
      if (owner[slot] == kNone || place(owner[slot], visited)) {
        owner[slot] = caption;
        chosen[caption] = position;
        return true;
      }
    }
    return false;
  };
  for (std::size_t i = 0; i < captions.size(); ++i) {
    std::vector<bool> visited(256, false);
    place(i, visited);
  }

  std::vector<std::string> result;
  result.reserve(captions.size());
  for (std::size_t i = 0; i < captions.size(); ++i)
    result.push_back(WithMnemonic(captions[i], chosen[i] == kNone ? std::string_view::npos : chosen[i]));
  return result;
}

char MnemonicOf(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return AsciiLower(caption[i + 1]);
    ++i;
  }
  return 0;
}

}  // namespace cv
