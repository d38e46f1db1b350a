#include "finder/found_files.h"

namespace cv::finder {

void FoundFiles::EnterFolder(std::string_view folder) {
  currentFolder_.assign(folder);
  folderStored_ = false;
}

void FoundFiles::Found(std::string_view name, std::uint64_t size, std::int64_t modified, bool bare) {
  // A folder is stored with its first row, so folders without rows cost nothing.
  if (!folderStored_) {
    folders_.push_back(currentFolder_);
    folderStored_ = true;
  }
  // A file name has at most 255 UTF-16 units, so at most 765 bytes here; a
  // longer one (from a broken listing) is cut rather than overrunning a block.
  if (name.size() > 0xFFFF) name = name.substr(0, 0xFFFF);
  if (nameBlocks_.empty() || nameBlocks_.back().size() + name.size() > kNameBlockBytes) {
    if (nameBlocks_.size() > 0xFFFF) return;  // 64 GB of names: the store is full
    nameBlocks_.emplace_back().reserve(kNameBlockBytes);
  }
  std::string& block = nameBlocks_.back();
  rows_.push_back(Row{size, modified, static_cast<std::uint32_t>(folders_.size() - 1),
                      static_cast<std::uint32_t>(block.size()), static_cast<std::uint16_t>(nameBlocks_.size() - 1),
                      static_cast<std::uint16_t>(name.size()), bare});
  block.append(name);
  widestPath_ = std::max(widestPath_, currentFolder_.size() + name.size());
}

void FoundFiles::Clear() {
  folders_ = {};
  nameBlocks_ = {};
  rows_ = {};
  folderStored_ = false;
  widestPath_ = 0;
}

std::string_view FoundFiles::Name(const Row& row) const {
  return std::string_view(nameBlocks_[row.nameBlock]).substr(row.namePosition, row.nameLength);
}

std::string FoundFiles::Path(size_t row) const {
  const Row& r = rows_.at(row);
  std::string path = folders_[r.folder];
  path.append(Name(r));
  return path;
}

std::string FoundFiles::Line(size_t row, const DateFormatter& formatDate) const {
  std::string line = Path(row);
  const Row& r = rows_[row];
  if (r.bare) return line;
  line += "   Size:";
  line += std::to_string(r.size);
  line += "   LastModyfied:";
  line += formatDate ? formatDate(r.modified) : std::string();
  return line;
}

}  // namespace cv::finder
