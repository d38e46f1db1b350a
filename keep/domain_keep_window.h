#pragma once
// The texts of the window that edits the domain keep list ("Kept Domains"),
// and the button on the "Modern browsers" page that opens it; the Win32
// window is keep/domain_keep_window_win.cpp.
#include <array>
#include <string>
#include <string_view>

#include "keep/domain_keep_list.h"

namespace cv {

inline constexpr std::string_view kKeptDomainsButtonCaption = "&Kept domains...";
inline constexpr std::string_view kKeptDomainsTitle = "Kept Domains";

struct DomainKeepWindowTexts {
  std::string_view editLabel = "&Domain:";
  std::string_view add = "&Add";
  std::string_view listLabel = "Cookies of these domains and their sub-domains are &kept:";
  std::string_view remove = "&Remove";
  std::string_view close = "Close";
  std::string_view hint = "Type a domain such as example.com; it keeps www.example.com too.";
  // The captions with mnemonics, in tab order.
  std::array<std::string_view, 4> Mnemonics() const { return {editLabel, add, listLabel, remove}; }
};

// What to tell the user after "Add" of `typed` (empty when it was added).
std::string DomainAddMessage(DomainKeepListModel::AddResult result, std::string_view typed, std::string_view file);
// After a "Remove" that could not be saved.
std::string DomainNotSavedMessage(std::string_view file);

}  // namespace cv
