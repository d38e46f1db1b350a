#pragma once
// Paths of community definitions on this machine: the variables' values
// (%ProgramFiles% stands for both program folders on 64-bit Windows), and
// wildcards in path components resolved against the folders that exist.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace cv {

class Winapp2Folders {
 public:
  // From the environment, the Windows folder and the user's shell folders.
  static Winapp2Folders ForSystem(Platform& platform);

  // Replaces the values of one variable (name without "%"). Values that are
  // not full drive paths (or, for UserName, not one plain name) are dropped.
  void Set(std::string_view variable, std::vector<std::string> values);

  // Every spelling of `path` with its variables replaced, one per combination
  // of values; none when a variable has no value here. At most
  // kWinapp2MaxSpellings: with more, none, and `overLimit` (when given) is set.
  std::vector<std::string> Expand(std::string_view path, bool* overLimit = nullptr) const;

  // The user's data folders, by the name of the known folder ("Documents",
  // "Desktop", "LocalAppData" ...): none of them, nor a folder above one, is
  // emptied or walked whole by a definition, and the folders directly inside
  // them are applications' (or the user's own) top folders.
  struct Known {
    std::string name;
    std::string path;
  };
  const std::vector<Known>& UserDataFolders() const { return userData_; }
  void AddUserDataFolder(std::string name, std::string path);
  // The Windows folder and its system folders, where no definition may touch
  // a program file, and the program's own folder, where it may touch nothing.
  std::vector<std::string> systemFolders;
  std::string programFolder;

 private:
  std::vector<std::pair<std::string, std::vector<std::string>>> values_;  // lower-case name
  std::vector<Known> userData_;
};

inline constexpr std::size_t kWinapp2MaxFolders = 10000;

// The existing folders (not links) a full path with wildcards in any
// component names, at most `limit`; `cut` (when given) is set when there were
// more. Wildcard components are matched against the folders listed, never
// through a link.
std::vector<std::string> ResolveWinapp2Folders(FileSystem& files, std::string_view path,
                                               std::size_t limit = kWinapp2MaxFolders, bool* cut = nullptr);
// Whether a file or folder exists at a full path with wildcards in any component.
bool Winapp2PathExists(FileSystem& files, std::string_view path);

}  // namespace cv
