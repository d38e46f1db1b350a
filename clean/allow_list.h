#pragma once
// What an analysis listed, as the later clean may erase it: files, whole
// folders, registry keys, trees and values, and shell commands. Each path is
// kept as a 128-bit fingerprint of its normalised text (two independent
// 64-bit hashes), so half a million entries cost 8 MB, not their paths.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "clean/erase_entry.h"

namespace cv {

class AllowList {
 public:
  // Refused entries are never added: the run did not touch them.
  void Add(EntryKind kind, std::string_view path);
  // Sorts the lists; call once after the last Add and before any question.
  void Finish();
  bool Empty() const { return count_ == 0; }

  // A listed file, or anything below a listed folder.
  bool AllowsFile(std::string_view path) const;
  // A listed folder, or one below a listed folder.
  bool AllowsFolder(std::string_view path) const;
  // Something listed lies below `folder` (or is `folder` itself).
  bool LeadsToListed(std::string_view folder) const;

  // Registry paths as the erasure primitives write them: the root's long
  // name and the sub-key ("HKEY_CURRENT_USER\Software\x").
  bool AllowsKey(std::string_view keyPath) const;   // a listed key or tree, or below a listed tree
  bool AllowsTree(std::string_view keyPath) const;  // a listed tree, or below one
  bool AllowsValue(std::string_view keyPath, std::string_view valueName) const;

  bool AllowsCommand(std::string_view text) const;
  // Rows of some table of the database file `path` were listed.
  bool AllowsRows(std::string_view path) const;

  // "hkey_current_user\software\x": lower case, no empty components.
  static std::string RegistryKeyText(std::string_view keyPath);

 private:
  struct Print {
    std::uint64_t first = 0, second = 0;
    auto operator<=>(const Print&) const = default;
  };
  using PrintSet = std::vector<Print>;
  static Print PrintOf(std::string_view text);
  static bool Has(const PrintSet& set, std::string_view text);
  // `text` itself or a prefix of it ending before a "\" is in `set`.
  static bool HasSelfOrAncestor(const PrintSet& set, std::string_view text);

  PrintSet files_, folders_, routes_, keys_, trees_, values_, commands_, databases_;
  // FileText of a path being added, reusing the form of its folder.
  std::string FileTextWhileAdding(std::string_view path);

  std::string lastFolder_;                       // while adding: the folder whose way is in routes_
  std::string addingFolder_, addingFolderText_;  // while adding: a folder as given and its form
  std::size_t count_ = 0;
};

}  // namespace cv
