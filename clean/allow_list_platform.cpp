#include "clean/allow_list_platform.h"

#include "clean/path_guard.h"
#include "clean/run_context.h"
#include "platform/reg_text.h"
#include "platform/url_history.h"

namespace cv {

AllowListPlatform::AllowListPlatform(Platform& inner, const AllowList& allowed)
    : files_(inner.files, allowed, inner.shell.ProgramFolder()),
      keys_(inner.registry, allowed),
      commands_(inner.shell, allowed),
      view_{keys_, files_, commands_, inner.messages, inner.clock,
            // Services whose work the run reports as one command: kept only
            // when the analysis listed that command.
            allowed.AllowsCommand(kClearHistoryStoreCommand) ? inner.urlHistory : nullptr, inner.office,
            allowed.AllowsCommand(kInternetOptionsKeystrokesCommand) ? inner.keys : nullptr} {}

// ---------------------------------------------------------------------------
// Files

AllowListPlatform::Files::Files(FileSystem& inner, const AllowList& allowed, std::string programFolder)
    : inner_(inner), allowed_(allowed), programFolder_(PathGuard::Normalize(programFolder)) {
  if (!programFolder_.empty() && programFolder_.back() != '\\') programFolder_ += '\\';
}

bool AllowListPlatform::Files::InProgramFolder(std::string_view path) const {
  if (programFolder_.empty()) return false;
  const std::string text = PathGuard::Normalize(path);
  return text.compare(0, programFolder_.size(), programFolder_) == 0;
}

bool AllowListPlatform::Files::Shows(const FileEntry& entry, bool ownFolder) const {
  // Sub-folders are always shown: items find their folders by listing, and
  // a folder is only removed when the list allows it.
  return entry.IsFolder() || ownFolder || allowed_.AllowsFile(entry.path);
}

bool AllowListPlatform::Files::MayDelete(std::string_view path) const {
  return allowed_.AllowsFile(path) || allowed_.AllowsFolder(path);
}

bool AllowListPlatform::Files::MayChangeAttributes(std::string_view path) const {
  return allowed_.AllowsFile(path) || allowed_.LeadsToListed(path);
}

// An open folder of the real file system, seen through the list. Entries are
// named relative to the folder, so deleting one needs no look-up of what it
// is: a listed file, or anything at or below a listed folder, may go.
class AllowListPlatform::Files::AllowedFolder : public Folder {
 public:
  AllowedFolder(std::unique_ptr<Folder> inner, const Files& files)
      : Folder(inner->Path()), inner_(std::move(inner)), files_(files), own_(files.InProgramFolder(Path() + "\\")) {}

  bool List(const std::function<void(const FileEntry&)>& visit) override {
    return inner_->List([&](const FileEntry& entry) {
      if (files_.Shows(entry, own_)) visit(entry);
    });
  }
  std::unique_ptr<Folder> OpenSubFolder(std::string_view name) override {
    return Wrap(inner_->OpenSubFolder(name), files_);
  }
  Status DeleteEntry(std::string_view name, bool force) override {
    return files_.MayDelete(EntryPath(name)) ? inner_->DeleteEntry(name, force) : kErrAccessDenied;
  }
  Status DeleteEntryOverwritten(std::string_view name, bool force, int passes, OverwriteResult* content) override {
    if (content) *content = OverwriteResult::kFailed;
    return files_.MayDelete(EntryPath(name)) ? inner_->DeleteEntryOverwritten(name, force, passes, content)
                                             : kErrAccessDenied;
  }
  Status SetEntryAttributes(std::string_view name, std::uint32_t attributes) override {
    return files_.MayChangeAttributes(EntryPath(name)) ? inner_->SetEntryAttributes(name, attributes)
                                                       : kErrAccessDenied;
  }
  std::optional<std::uint32_t> Attributes() override { return inner_->Attributes(); }
  Status SetAttributes(std::uint32_t attributes) override {
    return files_.MayChangeAttributes(Path()) ? inner_->SetAttributes(attributes) : kErrAccessDenied;
  }
  std::optional<FileIdentity> Identity() override { return inner_->Identity(); }

  static std::unique_ptr<Folder> Wrap(std::unique_ptr<Folder> inner, const Files& files) {
    if (!inner) return nullptr;
    return std::make_unique<AllowedFolder>(std::move(inner), files);
  }

 private:
  std::unique_ptr<Folder> inner_;
  const Files& files_;
  bool own_;
};

std::unique_ptr<Folder> AllowListPlatform::Files::OpenWithoutLinks(std::string_view path) {
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return nullptr;
  std::unique_ptr<Folder> folder = inner_.OpenFolder(path.substr(0, 3));
  std::size_t pos = 3;
  while (folder && pos < path.size()) {
    std::size_t end = path.find('\\', pos);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(pos, end - pos);
    pos = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") return nullptr;
    folder = folder->OpenSubFolder(part);
  }
  return folder;
}

std::unique_ptr<Folder> AllowListPlatform::Files::OpenParentWithoutLinks(std::string_view path, std::string& name) {
  while (path.size() > 3 && path.back() == '\\') path.remove_suffix(1);
  const std::size_t cut = path.find_last_of('\\');
  if (cut == std::string_view::npos || cut + 1 >= path.size()) return nullptr;
  name = std::string(path.substr(cut + 1));
  return OpenWithoutLinks(path.substr(0, cut < 3 ? cut + 1 : cut));
}

std::unique_ptr<Folder> AllowListPlatform::Files::OpenFolder(std::string_view path) {
  return AllowedFolder::Wrap(OpenWithoutLinks(path), *this);
}

std::string AllowListPlatform::Files::NativePath(std::string_view path) {
  return allowed_.AllowsRows(path) ? inner_.NativePath(path) : std::string();
}

bool AllowListPlatform::Files::ListFolder(std::string_view folder, const std::function<void(const FileEntry&)>& visit) {
  const bool ownFolder = InProgramFolder(std::string(folder) + "\\");
  return inner_.ListFolder(folder, [&](const FileEntry& entry) {
    if (Shows(entry, ownFolder)) visit(entry);
  });
}

Status AllowListPlatform::Files::DeleteFile(std::string_view path, bool force) {
  if (!allowed_.AllowsFile(path)) return kErrAccessDenied;
  std::string name;
  const auto parent = OpenParentWithoutLinks(path, name);
  if (!parent) return kErrAccessDenied;
  const auto entry = inner_.Stat(path);
  if (entry && entry->IsFolder() && !entry->IsReparsePoint()) return kErrAccessDenied;  // a file was listed
  return parent->DeleteEntry(name, force);
}

Status AllowListPlatform::Files::RemoveFolder(std::string_view path, bool force) {
  if (!allowed_.AllowsFolder(path)) return kErrAccessDenied;
  std::string name;
  const auto parent = OpenParentWithoutLinks(path, name);
  if (!parent) return kErrAccessDenied;
  const auto entry = inner_.Stat(path);
  if (entry && !entry->IsFolder()) return kErrAccessDenied;  // a folder was listed
  return parent->DeleteEntry(name, force);
}

Status AllowListPlatform::Files::SetAttributes(std::string_view path, std::uint32_t attributes) {
  if (!MayChangeAttributes(path)) return kErrAccessDenied;
  std::string name;
  const auto parent = OpenParentWithoutLinks(path, name);
  return parent ? parent->SetEntryAttributes(name, attributes) : kErrAccessDenied;
}

Status AllowListPlatform::Files::DeleteAtReboot(std::string_view path) {
  std::string name;
  if (!allowed_.AllowsFile(path) || !OpenParentWithoutLinks(path, name)) return kErrAccessDenied;
  return inner_.DeleteAtReboot(path);
}

// ---------------------------------------------------------------------------
// Registry

std::string AllowListPlatform::Keys::PathOf(RegKey parent, std::string_view subKey) const {
  std::string path;
  if (IsPredefinedRoot(parent)) {
    path = RegRootName(parent);
  } else if (const auto open = openKeys_.find(parent); open != openKeys_.end()) {
    path = open->second;
  } else {
    return {};  // a key this view did not open: nothing below it is allowed
  }
  path += '\\';
  path.append(subKey);
  return AllowList::RegistryKeyText(path);
}

Status AllowListPlatform::Keys::OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& out) {
  const Status status = inner_.OpenKey(parent, subKey, access, out);
  if (status == kOk && !IsPredefinedRoot(out)) openKeys_[out] = PathOf(parent, subKey);
  return status;
}

Status AllowListPlatform::Keys::CreateKey(RegKey parent, std::string_view subKey, RegKey& out) {
  const Status status = inner_.CreateKey(parent, subKey, out);
  if (status == kOk && !IsPredefinedRoot(out)) openKeys_[out] = PathOf(parent, subKey);
  return status;
}

Status AllowListPlatform::Keys::CloseKey(RegKey key) {
  openKeys_.erase(key);
  return inner_.CloseKey(key);
}

Status AllowListPlatform::Keys::DeleteKey(RegKey parent, std::string_view subKey) {
  const std::string path = PathOf(parent, subKey);
  return !path.empty() && allowed_.AllowsKey(path) ? inner_.DeleteKey(parent, subKey) : kErrAccessDenied;
}

Status AllowListPlatform::Keys::DeleteTree(RegKey parent, std::string_view subKey) {
  const std::string path = PathOf(parent, subKey);
  return !path.empty() && allowed_.AllowsTree(path) ? inner_.DeleteTree(parent, subKey) : kErrAccessDenied;
}

Status AllowListPlatform::Keys::DeleteValue(RegKey key, std::string_view name) {
  const std::string path = PathOf(key, "");
  return !path.empty() && allowed_.AllowsValue(path, name) ? inner_.DeleteValue(key, name) : kErrAccessDenied;
}

// ---------------------------------------------------------------------------
// Shell

ProcessId AllowListPlatform::Commands::StartProgram(std::string_view commandLine, ShowMode show) {
  return allowed_.AllowsCommand(commandLine) ? inner_.StartProgram(commandLine, show) : 0;
}

bool AllowListPlatform::Commands::ClearRecentDocuments() {
  return allowed_.AllowsCommand(kClearRecentDocumentsCommand) && inner_.ClearRecentDocuments();
}

bool AllowListPlatform::Commands::EmptyRecycleBin() {
  return allowed_.AllowsCommand(kEmptyRecycleBinCommand) && inner_.EmptyRecycleBin();
}

bool AllowListPlatform::Commands::ClearClipboard() {
  return allowed_.AllowsCommand(kClearClipboardCommand) && inner_.ClearClipboard();
}

}  // namespace cv
