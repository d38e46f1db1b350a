#include "clean/fso.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace cv {

bool FileSystemObject::FolderExists(std::string_view path) { return GetFolder(path).has_value(); }

bool FileSystemObject::FileExists(std::string_view path) { return GetFile(path).has_value(); }

std::optional<FileEntry> FileSystemObject::GetFile(std::string_view path) {
  auto entry = files_.Stat(path);
  if (!entry || entry->IsFolder()) return std::nullopt;
  return entry;
}

std::optional<FileEntry> FileSystemObject::GetFolder(std::string_view path) {
  auto entry = files_.Stat(path);
  if (!entry || !entry->IsFolder()) return std::nullopt;
  return entry;
}

bool FileSystemObject::ForEachFile(std::string_view folder, const Visit& visit) {
  return files_.ListFolder(folder, [&](const FileEntry& entry) {
    if (!entry.IsFolder()) visit(entry);
  });
}

bool FileSystemObject::ForEachSubFolder(std::string_view folder, const Visit& visit) {
  return files_.ListFolder(folder, [&](const FileEntry& entry) {
    if (entry.IsFolder()) visit(entry);
  });
}

bool FileSystemObject::ForEachFolderInTree(std::string_view folder, const FolderVisit& visit) {
  auto root = GetFolder(folder);
  if (!root) return false;
  std::vector<FileEntry> pending{std::move(*root)};
  std::vector<FileEntry> children;
  bool rootOpened = true;
  bool atRoot = true;
  while (!pending.empty()) {
    FileEntry current = std::move(pending.back());
    pending.pop_back();
    const bool isRoot = std::exchange(atRoot, false);
    if (!visit(current)) continue;
    // Children of one folder are held briefly so that they can be visited in
    // listing order from the stack.
    children.clear();
    const bool opened = files_.ListFolder(current.path, [&](const FileEntry& entry) {
      if (entry.IsFolder() && !entry.IsReparsePoint()) children.push_back(entry);
    });
    if (isRoot) rootOpened = opened;
    std::move(children.rbegin(), children.rend(), std::back_inserter(pending));
  }
  return rootOpened;
}

std::uint64_t FileSystemObject::FolderSize(std::string_view folder) {
  std::uint64_t total = 0;
  std::vector<std::string> pending{std::string(folder)};
  while (!pending.empty()) {
    const std::string current = std::move(pending.back());
    pending.pop_back();
    files_.ListFolder(current, [&](const FileEntry& entry) {
      Tick();
      if (entry.IsReparsePoint()) return;
      if (entry.IsFolder())
        pending.push_back(entry.path);
      else
        total += entry.size;
    });
  }
  return total;
}

Status FileSystemObject::DeleteFile(std::string_view path, bool force) { return files_.DeleteFile(path, force); }

Status FileSystemObject::DeleteFolder(std::string_view path, bool force) {
  const auto root = files_.Stat(path);
  if (!root || !root->IsFolder()) return kErrPathNotFound;
  if (root->IsReparsePoint()) return files_.RemoveFolder(path, force);

  Status result = kOk;
  const auto note = [&result](Status status) {
    if (result == kOk) result = status;
  };
  // Post-order without recursion: a folder is listed (its files deleted,
  // its sub-folders stacked above it) and removed once it is back on top.
  struct Pending {
    std::string path;
    bool listed = false;
  };
  std::vector<Pending> pending;
  pending.push_back({std::string(path)});
  while (!pending.empty()) {
    if (pending.back().listed) {
      note(files_.RemoveFolder(pending.back().path, force));
      pending.pop_back();
      continue;
    }
    pending.back().listed = true;
    const std::string folder = pending.back().path;
    const bool opened = files_.ListFolder(folder, [&](const FileEntry& entry) {
      Tick();
      if (entry.IsReparsePoint())
        note(entry.IsFolder() ? files_.RemoveFolder(entry.path, force) : files_.DeleteFile(entry.path, force));
      else if (entry.IsFolder())
        pending.push_back({entry.path});
      else
        note(files_.DeleteFile(entry.path, force));
    });
    if (!opened) note(kErrPathNotFound);
  }
  return result;
}

Status FileSystemObject::CreateFolder(std::string_view path) { return files_.CreateFolder(path); }

Status FileSystemObject::SetAttributes(std::string_view path, std::uint32_t attributes) {
  return files_.SetAttributes(path, attributes);
}

std::string FileSystemObject::GetExtensionName(std::string_view name) {
  const auto slash = name.find_last_of("\\/");
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  return std::string(name.substr(dot + 1));
}

}  // namespace cv
