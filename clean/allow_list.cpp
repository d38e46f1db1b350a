#include "clean/allow_list.h"

#include <algorithm>
#include <functional>

#include "clean/path_guard.h"
#include "platform/text.h"

namespace cv {

namespace {

// The form a file path is compared in: as the path guard compares paths,
// or plainly lower-cased where that has no form for it.
std::string FileText(std::string_view path) {
  std::string text = PathGuard::Normalize(path);
  return text.empty() ? AsciiLower(path) : text;
}

template <typename T>
void Seal(std::vector<T>& set) {
  std::sort(set.begin(), set.end());
  set.erase(std::unique(set.begin(), set.end()), set.end());
  set.shrink_to_fit();
}

}  // namespace

std::string AllowList::RegistryKeyText(std::string_view keyPath) {
  std::string text;
  text.reserve(keyPath.size());
  for (char c : keyPath) {
    if (c == '\\' && (text.empty() || text.back() == '\\')) continue;
    text += AsciiLower(c);
  }
  while (!text.empty() && text.back() == '\\') text.pop_back();
  return text;
}

std::string AllowList::FileTextWhileAdding(std::string_view path) {
  // A run lists a folder's entries one after another: the folder's form is
  // made once, and each name gets the form the guard gives one component
  // (that of "c:\name" less its root). Anything unusual takes the full way.
  const std::size_t cut = path.rfind('\\');
  if (cut == std::string_view::npos) return FileText(path);
  const std::string_view folder = path.substr(0, cut);
  if (folder != addingFolder_) {
    addingFolder_ = folder;
    addingFolderText_ = PathGuard::Normalize(folder);
  }
  const std::string name = PathGuard::Normalize("c:\\" + std::string(path.substr(cut + 1)));
  constexpr std::size_t kRoot = 3;  // "c:\"
  if (addingFolderText_.empty() || name.size() <= kRoot || name.find('\\', kRoot) != std::string::npos)
    return FileText(path);
  std::string text = addingFolderText_;
  if (text.back() != '\\') text += '\\';
  text.append(name, kRoot);
  return text;
}

AllowList::Print AllowList::PrintOf(std::string_view text) {
  // FNV-1a and the library's hash: two unrelated functions, so a false match
  // needs both 64-bit values to collide at once.
  std::uint64_t fnv = 14695981039346656037ull;
  for (unsigned char c : text) fnv = (fnv ^ c) * 1099511628211ull;
  return Print{fnv, static_cast<std::uint64_t>(std::hash<std::string_view>{}(text))};
}

bool AllowList::Has(const PrintSet& set, std::string_view text) {
  return std::binary_search(set.begin(), set.end(), PrintOf(text));
}

bool AllowList::HasSelfOrAncestor(const PrintSet& set, std::string_view text) {
  if (set.empty()) return false;
  for (size_t cut = text.find('\\'); cut != std::string_view::npos; cut = text.find('\\', cut + 1))
    if (cut > 0 && Has(set, text.substr(0, cut))) return true;
  return Has(set, text);
}

void AllowList::Add(EntryKind kind, std::string_view path) {
  ++count_;
  switch (kind) {
    case EntryKind::File:
    case EntryKind::Folder: {
      const std::string text = FileTextWhileAdding(path);
      (kind == EntryKind::File ? files_ : folders_).push_back(PrintOf(text));
      routes_.push_back(PrintOf(text));
      // Every folder on the way, so a walk can tell where listed entries lie.
      // A run lists a folder's entries together: its way is added once.
      const std::string_view folder = std::string_view(text).substr(0, text.rfind('\\') + 1);
      if (folder == lastFolder_) break;
      lastFolder_ = folder;
      for (size_t cut = text.find('\\'); cut != std::string::npos; cut = text.find('\\', cut + 1))
        if (cut > 0) routes_.push_back(PrintOf(std::string_view(text).substr(0, cut)));
      break;
    }
    case EntryKind::RegKey:
      keys_.push_back(PrintOf(RegistryKeyText(path)));
      break;
    case EntryKind::RegTree:
      trees_.push_back(PrintOf(RegistryKeyText(path)));
      break;
    case EntryKind::RegValue:
      values_.push_back(PrintOf(AsciiLower(path)));
      break;
    case EntryKind::Command:
      commands_.push_back(PrintOf(path));
      break;
    case EntryKind::IniSection:
      break;  // a section goes with its file's rewrite
    case EntryKind::Rows: {
      // "file [table]": the rows go inside the file, which itself stays.
      const std::size_t table = path.rfind(" [");
      databases_.push_back(PrintOf(FileText(path.substr(0, table))));
      break;
    }
  }
}

void AllowList::Finish() {
  std::string().swap(lastFolder_);
  std::string().swap(addingFolder_);
  std::string().swap(addingFolderText_);
  for (PrintSet* set : {&files_, &folders_, &routes_, &keys_, &trees_, &values_, &commands_, &databases_}) Seal(*set);
}

bool AllowList::AllowsFile(std::string_view path) const {
  const std::string text = FileText(path);
  return Has(files_, text) || HasSelfOrAncestor(folders_, text);
}

bool AllowList::AllowsFolder(std::string_view path) const { return HasSelfOrAncestor(folders_, FileText(path)); }

bool AllowList::LeadsToListed(std::string_view folder) const { return Has(routes_, FileText(folder)); }

bool AllowList::AllowsKey(std::string_view keyPath) const {
  const std::string text = RegistryKeyText(keyPath);
  return Has(keys_, text) || HasSelfOrAncestor(trees_, text);
}

bool AllowList::AllowsTree(std::string_view keyPath) const {
  return HasSelfOrAncestor(trees_, RegistryKeyText(keyPath));
}

bool AllowList::AllowsValue(std::string_view keyPath, std::string_view valueName) const {
  const std::string key = RegistryKeyText(keyPath);
  return Has(values_, key + "\\" + AsciiLower(valueName)) || HasSelfOrAncestor(trees_, key);
}

bool AllowList::AllowsCommand(std::string_view text) const { return Has(commands_, text); }

bool AllowList::AllowsRows(std::string_view path) const { return Has(databases_, FileText(path)); }

}  // namespace cv
