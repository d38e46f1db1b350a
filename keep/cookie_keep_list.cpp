#include "keep/cookie_keep_list.h"

#include <algorithm>

#include "config/folder_settings.h"

namespace cv {

std::vector<std::string> ListCookieFiles(FileSystem& files, std::string_view folder) {
  std::vector<std::string> paths;
  files.ListFolder(folder, [&](const FileEntry& entry) {
    if (!entry.IsFolder() && entry.name.find(".txt") != std::string::npos) paths.push_back(entry.path);
  });
  return paths;
}

bool IsKeptCookie(const std::vector<std::string>& kept, std::string_view path) {
  return std::find(kept.begin(), kept.end(), path) != kept.end();
}

CookieKeepListModel::CookieKeepListModel(regfun& reg, Shell& shell, FileSystem& files, std::string keepFile)
    : reg_(reg), shell_(shell), files_(files), kept_(files, std::move(keepFile)) {}

void CookieKeepListModel::Load() {
  current_.clear();
  folder_ = ReadFolderSetting(reg_, shell_, kUserShellFoldersKeyPath, "Cookies");
  preview_.clear();
  current_ = ListCookieFiles(files_, folder_);
  kept_.Load();
}

void CookieKeepListModel::ShowCookie(std::string_view path) {
  const auto entry = files_.Stat(path);
  if (!entry || entry->IsFolder() || entry->size > kMaxPreviewBytes) return;
  std::string text;
  if (files_.ReadFile(path, text, kMaxPreviewBytes) != kOk) return;
  preview_ = std::move(text);
}

Status CookieKeepListModel::Add(std::optional<std::size_t> selectedCurrent) {
  std::string text;
  if (selectedCurrent && *selectedCurrent < current_.size()) text = current_[*selectedCurrent];
  return kept_.Add(text);
}

Status CookieKeepListModel::Remove(const std::vector<std::size_t>& selectedKept) { return kept_.Remove(selectedKept); }

}  // namespace cv
