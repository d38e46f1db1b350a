#include "keep/url_keep_list.h"

namespace cv {

namespace {
constexpr std::uint32_t kKeyQueryValue = 0x0001;
}  // namespace

// Each value's text is read again by name through the registry layer, so a
// value too long for its value buffer reads as "error" and is left out; the
// enumeration itself goes on past it.
std::vector<std::string> ReadTypedUrls(Registry& registry, regfun& reg) {
  std::vector<std::string> urls;
  ScopedRegKey key(registry);
  if (registry.OpenKey(kHkeyCurrentUser, kTypedUrlsSubKey, kKeyQueryValue, key.out()) != kOk) return urls;
  std::string name;
  RegValue value;
  for (std::uint32_t index = 0; registry.EnumValue(key.get(), index, name, value) == kOk; ++index) {
    std::uint32_t type = 0;
    std::string text = reg.ReadRegValueAt(kHkeyCurrentUser, kTypedUrlsSubKey, name, type);
    if (text != "error") urls.push_back(std::move(text));
  }
  return urls;
}

UrlKeepListModel::UrlKeepListModel(Registry& registry, regfun& reg, FileSystem& files, std::string keepFile)
    : registry_(registry), reg_(reg), file_(files, std::move(keepFile)) {}

void UrlKeepListModel::Load() {
  current_ = ReadTypedUrls(registry_, reg_);
  readStatus_ = file_.ReadEntries(kept_);
}

Status UrlKeepListModel::Add(std::optional<std::size_t> selectedCurrent) {
  std::string text;
  if (selectedCurrent && *selectedCurrent < current_.size()) text = current_[*selectedCurrent];
  const Status status = file_.Append(text);
  // The list shows what the file holds: a refused write adds nothing.
  if (status == kOk) kept_.push_back(text);
  return status;
}

Status UrlKeepListModel::Remove(const std::vector<std::size_t>& selectedKept) {
  // A list that could not be read is shown empty: rewriting it would lose it.
  if (readStatus_ != kOk && readStatus_ != kErrFileNotFound) return readStatus_;
  std::vector<std::string> rest = kept_;
  RemoveAtPositions(rest, selectedKept);
  const Status status = file_.Rewrite(rest);
  if (status == kOk) kept_ = std::move(rest);
  return status;
}

}  // namespace cv
