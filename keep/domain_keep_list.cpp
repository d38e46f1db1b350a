#include "keep/domain_keep_list.h"

#include "keep/keep_list_file.h"
#include "platform/text.h"

namespace cv {

std::string NormalizeKeptDomain(std::string_view entry) {
  std::string_view d = TrimBlanks(entry);
  if (const std::size_t scheme = d.find("://"); scheme != std::string_view::npos) d.remove_prefix(scheme + 3);
  if (const std::size_t slash = d.find_first_of("/?#"); slash != std::string_view::npos) d = d.substr(0, slash);
  if (d.substr(0, 2) == "*.") d.remove_prefix(2);
  while (!d.empty() && d.front() == '.') d.remove_prefix(1);
  while (!d.empty() && d.back() == '.') d.remove_suffix(1);
  for (char c : d)
    if (c == ' ' || c == '\t' || c == '*') return {};
  return AsciiLower(d);
}

DomainKeepList::DomainKeepList(const std::vector<std::string>& entries) {
  for (const std::string& entry : entries)
    if (std::string domain = NormalizeKeptDomain(entry); !domain.empty()) domains_.push_back(std::move(domain));
}

DomainKeepList DomainKeepList::Load(FileSystem& files, std::string_view file) {
  return DomainKeepList(KeepListFile(files, std::string(file)).Read());
}

bool DomainKeepList::Keeps(std::string_view host) const {
  if (domains_.empty()) return false;
  while (!host.empty() && host.front() == '.') host.remove_prefix(1);
  const std::string h = AsciiLower(host);
  for (const std::string& domain : domains_) {
    if (h == domain) return true;
    if (h.size() > domain.size() && h.compare(h.size() - domain.size(), domain.size(), domain) == 0 &&
        h[h.size() - domain.size() - 1] == '.')
      return true;
  }
  return false;
}

DomainKeepListModel::DomainKeepListModel(FileSystem& files, std::string file) : files_(files), file_(std::move(file)) {}

void DomainKeepListModel::Load() { entries_ = KeepListFile(files_, file_).Read(); }

DomainKeepListModel::AddResult DomainKeepListModel::Add(std::string_view text) {
  const std::string domain = NormalizeKeptDomain(text);
  if (domain.empty()) return AddResult::kNotADomain;
  if (DomainKeepList(entries_).Keeps(domain)) return AddResult::kAlreadyListed;
  if (KeepListFile(files_, file_).Append(domain) != kOk) return AddResult::kNotSaved;
  entries_.push_back(domain);
  return AddResult::kAdded;
}

bool DomainKeepListModel::Remove(const std::vector<std::size_t>& positions) {
  std::vector<std::string> kept = entries_;
  RemoveAtPositions(kept, positions);
  if (KeepListFile(files_, file_).Rewrite(kept) != kOk) return false;
  entries_ = std::move(kept);
  return true;
}

}  // namespace cv
