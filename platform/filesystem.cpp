#include "platform/filesystem.h"

#include <utility>

namespace cv {

namespace {

std::string JoinName(const std::string& folder, std::string_view name) {
  std::string out = folder;
  if (out.empty() || out.back() != '\\') out += '\\';
  out += name;
  return out;
}

// A folder reached by its path each time: what a file system without handles
// can offer. Sub-folders that are links are still never entered.
class PathFolder : public Folder {
 public:
  PathFolder(FileSystem& files, std::string path) : Folder(std::move(path)), files_(files) {}

  bool List(const std::function<void(const FileEntry&)>& visit) override { return files_.ListFolder(Path(), visit); }

  std::unique_ptr<Folder> OpenSubFolder(std::string_view name) override {
    std::string path = EntryPath(name);
    const auto entry = files_.Stat(path);
    if (!entry || !entry->IsFolder() || entry->IsReparsePoint()) return nullptr;
    return std::make_unique<PathFolder>(files_, std::move(path));
  }

  Status DeleteEntry(std::string_view name, bool force) override {
    const std::string path = EntryPath(name);
    const auto entry = files_.Stat(path);
    if (!entry) return kErrFileNotFound;
    return entry->IsFolder() ? files_.RemoveFolder(path, force) : files_.DeleteFile(path, force);
  }

  // Without a handle there is no safe way to overwrite what a path names at
  // this moment: the entry is deleted plainly.
  Status DeleteEntryOverwritten(std::string_view name, bool force, int, OverwriteResult* content) override {
    if (content) *content = OverwriteResult::kFailed;
    return DeleteEntry(name, force);
  }

  Status SetEntryAttributes(std::string_view name, std::uint32_t attributes) override {
    return files_.SetAttributes(EntryPath(name), attributes);
  }

  std::optional<std::uint32_t> Attributes() override {
    const auto entry = files_.Stat(Path());
    if (!entry) return std::nullopt;
    return entry->attributes;
  }

  Status SetAttributes(std::uint32_t attributes) override { return files_.SetAttributes(Path(), attributes); }

  std::optional<FileIdentity> Identity() override { return files_.Identify(Path(), true); }

 private:
  FileSystem& files_;
};

}  // namespace

std::string Folder::EntryPath(std::string_view name) const { return JoinName(path_, name); }

std::unique_ptr<Folder> FileSystem::OpenFolderItself(std::string_view path) {
  const auto entry = Stat(path);
  if (!entry || !entry->IsFolder() || entry->IsReparsePoint()) return nullptr;
  return OpenFolder(path);
}

std::unique_ptr<Folder> FileSystem::OpenFolder(std::string_view path) {
  const auto entry = Stat(path);
  if (!entry || !entry->IsFolder()) return nullptr;
  return std::make_unique<PathFolder>(*this, std::string(path));
}

}  // namespace cv
