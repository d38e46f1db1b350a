#pragma once
// The shell service: environment, Windows folder and version, and the
// program's own folder. Starting programs, the Recycle Bin, recent documents
// and the clipboard are added here as the cleaning items need them.
#include <optional>
#include <string>
#include <string_view>

namespace cv {

struct OsVersion {
  unsigned major = 0;
  unsigned minor = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;

  // nullopt when the variable is not set.
  virtual std::optional<std::string> GetEnvironmentVariable(std::string_view name) = 0;
  // GetWindowsDirectory, as the system returns it (no trailing backslash).
  virtual std::string GetWindowsDirectory() = 0;
  // GetVersionEx major and minor numbers.
  virtual OsVersion GetVersion() = 0;
  // The folder that holds the executable (no trailing backslash).
  virtual std::string ProgramFolder() = 0;
};

}  // namespace cv
