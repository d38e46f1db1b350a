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
  // of values; none when a variable has no value here.
  std::vector<std::string> Expand(std::string_view path) const;

 private:
  std::vector<std::pair<std::string, std::vector<std::string>>> values_;  // lower-case name
};

inline constexpr std::size_t kWinapp2MaxFolders = 10000;

// The existing folders (not links) a full path with wildcards in any
// component names, at most `limit`. Wildcard components are matched against
// the folders listed, never through a link.
std::vector<std::string> ResolveWinapp2Folders(FileSystem& files, std::string_view path,
                                               std::size_t limit = kWinapp2MaxFolders);
// Whether a file or folder exists at a full path with wildcards in any component.
bool Winapp2PathExists(FileSystem& files, std::string_view path);

}  // namespace cv
