#pragma once
// The domain keep list: the sites whose cookies the modern-browser cookie
// items spare, one domain per line in "keepdomains.dat" beside the program
// (the user edits it like the other keep lists). A domain keeps its own
// cookies and those of its sub-domains: "example.com" keeps "example.com",
// ".example.com" and "www.example.com", not "badexample.com".
#include <string>
#include <string_view>
#include <vector>

#include "config/data_files.h"
#include "platform/filesystem.h"

namespace cv {

// A list entry as the matcher uses it: blanks, a leading "*." or ".", a
// trailing "." and a scheme or path ("https://a.com/x") removed, lower case.
// Empty for an entry that names no domain.
std::string NormalizeKeptDomain(std::string_view entry);

class DomainKeepList {
 public:
  DomainKeepList() = default;
  explicit DomainKeepList(const std::vector<std::string>& entries);
  // The list in `file`; a missing or unreadable file keeps nothing.
  static DomainKeepList Load(FileSystem& files, std::string_view file);

  // Whether a cookie's host (as a browser stores it, "www.a.com" or ".a.com") is kept.
  bool Keeps(std::string_view host) const;
  const std::vector<std::string>& Domains() const { return domains_; }

 private:
  std::vector<std::string> domains_;  // normalised, none empty
};

// The window that edits the list: entries as the user wrote them, each
// "Add" and "Remove" written to the file at once.
class DomainKeepListModel {
 public:
  DomainKeepListModel(FileSystem& files, std::string file);

  void Load();
  const std::vector<std::string>& Entries() const { return entries_; }

  enum class AddResult { kAdded, kNotADomain, kAlreadyListed, kNotSaved };
  // Adds the domain as NormalizeKeptDomain writes it, unless it names no
  // domain or the list keeps it already.
  AddResult Add(std::string_view text);
  // Drops the entries at the given positions (out-of-range ones ignored).
  bool Remove(const std::vector<std::size_t>& positions);

 private:
  FileSystem& files_;
  std::string file_;
  std::vector<std::string> entries_;
};

}  // namespace cv
