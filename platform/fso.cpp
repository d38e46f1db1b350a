#include "platform/fso.h"

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

namespace {

// Folders held open at once on the way down a walk.
constexpr size_t kMaxOpenFolders = 32;

}  // namespace

FileSystemObject::WalkResult FileSystemObject::Walk(Folder& root, const WalkVisit& visit, const WalkLeave& leave) {
  struct Frame {
    Folder* folder = nullptr;              // null once closed to bound the open handles
    std::unique_ptr<Folder> owned;         // every folder but the root
    std::optional<FileIdentity> identity;  // noted when closed early
    std::string path;
    FileEntry self;                 // as listed in its parent
    std::vector<FileEntry> chosen;  // sub-folders to walk, in listing order
    size_t next = 0;
  };
  WalkResult result;
  result.complete = true;
  std::vector<Frame> stack;
  const auto enter = [&](Frame frame) {
    stack.push_back(std::move(frame));
    Frame& top = stack.back();
    Folder& folder = *top.folder;
    const bool listed = folder.List([&](const FileEntry& entry) {
      if (visit(folder, entry) && entry.IsFolder() && !entry.IsReparsePoint()) top.chosen.push_back(entry);
    });
    if (!listed) result.complete = false;
    if (stack.size() > kMaxOpenFolders) {
      Frame& far = stack[stack.size() - kMaxOpenFolders];
      if (far.owned) {
        far.identity = far.folder->Identity();
        far.owned.reset();
        far.folder = nullptr;
      }
    }
    return listed;
  };
  // A folder closed on the way down, opened again by path: only the same
  // folder will do.
  const auto reopen = [&](Frame& frame) -> Folder* {
    if (frame.folder) return frame.folder;
    auto again = files_.OpenFolder(frame.path);
    if (!again) return nullptr;
    const auto identity = frame.identity ? again->Identity() : std::nullopt;
    if (frame.identity && (!identity || !identity->SameFile(*frame.identity))) return nullptr;
    frame.owned = std::move(again);
    frame.folder = frame.owned.get();
    return frame.folder;
  };

  Frame first;
  first.folder = &root;
  first.path = root.Path();
  result.rootListed = enter(std::move(first));
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next < top.chosen.size()) {
      FileEntry sub = std::move(top.chosen[top.next++]);
      Folder* parent = reopen(top);
      std::unique_ptr<Folder> child = parent ? parent->OpenSubFolder(sub.name) : nullptr;
      if (!child) {
        result.complete = false;  // gone, or no longer a plain folder: left alone
        continue;
      }
      Frame frame;
      frame.folder = child.get();
      frame.owned = std::move(child);
      frame.path = frame.folder->Path();
      frame.self = std::move(sub);
      enter(std::move(frame));
      continue;
    }
    if (stack.size() > 1 && leave) {
      const FileEntry self = std::move(top.self);
      stack.pop_back();
      if (Folder* parent = reopen(stack.back()))
        leave(*parent, self);
      else
        result.complete = false;
      continue;
    }
    stack.pop_back();
  }
  return result;
}

std::uint64_t FileSystemObject::FolderSize(std::string_view folder) {
  const auto opened = files_.OpenFolder(folder);
  return opened ? FolderSize(*opened) : 0;
}

std::uint64_t FileSystemObject::FolderSize(Folder& folder) {
  std::uint64_t total = 0;
  Walk(folder, [&](Folder&, const FileEntry& entry) {
    Tick();
    if (entry.IsReparsePoint()) return false;
    if (!entry.IsFolder()) total += entry.size;
    return true;
  });
  return total;
}

Status FileSystemObject::DeleteFile(std::string_view path, bool force) { return files_.DeleteFile(path, force); }

Status FileSystemObject::DeleteFolder(std::string_view path, bool force) {
  const auto root = files_.Stat(path);
  if (!root || !root->IsFolder()) return kErrPathNotFound;
  if (root->IsReparsePoint()) return files_.RemoveFolder(path, force);
  const auto opened = files_.OpenFolder(path);
  if (!opened) return kErrPathNotFound;
  const Status contents = DeleteContents(*opened, force);
  const Status self = files_.RemoveFolder(path, force);
  return contents != kOk ? contents : self;
}

// Post-order: files and links go as each folder is listed, each sub-folder
// once its own tree is done.
Status FileSystemObject::DeleteContents(Folder& folder, bool force, int overwritePasses, TreeBytes* bytes) {
  Status result = kOk;
  const auto note = [&result](Status status) {
    if (result == kOk) result = status;
  };
  const WalkResult walked = Walk(
      folder,
      [&](Folder& in, const FileEntry& entry) {
        Tick();
        if (entry.IsFolder() && !entry.IsReparsePoint()) return true;
        const bool link = entry.IsReparsePoint();
        const Status status = overwritePasses > 0 && !link
                                  ? in.DeleteEntryOverwritten(entry.name, force, overwritePasses)
                                  : in.DeleteEntry(entry.name, force);
        note(status);
        if (bytes && !link) {
          bytes->found += entry.size;
          if (status == kOk) bytes->deleted += entry.size;
        }
        return false;
      },
      [&](Folder& in, const FileEntry& sub) { note(in.DeleteEntry(sub.name, force)); });
  if (!walked.complete) note(kErrPathNotFound);
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
