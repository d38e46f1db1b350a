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
  rows_.push_back(Row{static_cast<std::uint32_t>(folders_.size() - 1), static_cast<std::uint32_t>(name.size()),
                      names_.size(), size, modified, bare});
  names_.append(name);
  widestPath_ = std::max(widestPath_, currentFolder_.size() + name.size());
}

void FoundFiles::Clear() {
  folders_.clear();
  names_.clear();
  rows_.clear();
  folders_.shrink_to_fit();
  names_.shrink_to_fit();
  rows_.shrink_to_fit();
  folderStored_ = false;
  widestPath_ = 0;
}

std::string FoundFiles::Path(size_t row) const {
  const Row& r = rows_.at(row);
  std::string path = folders_[r.folder];
  path.append(names_, r.nameOffset, r.nameLength);
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
