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
    : registry_(registry), reg_(reg), kept_(files, std::move(keepFile)) {}

void UrlKeepListModel::Load() {
  current_ = ReadTypedUrls(registry_, reg_);
  kept_.Load();
}

Status UrlKeepListModel::Add(std::optional<std::size_t> selectedCurrent) {
  std::string text;
  if (selectedCurrent && *selectedCurrent < current_.size()) text = current_[*selectedCurrent];
  return kept_.Add(text);
}

Status UrlKeepListModel::Remove(const std::vector<std::size_t>& selectedKept) { return kept_.Remove(selectedKept); }

}  // namespace cv
