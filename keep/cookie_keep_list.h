#pragma once
// The cookie keep list: the cookie files now in Internet Explorer's cookie
// folder beside the kept paths from "keepcook.dat". The keep-list window
// binds to this model; the run's cookie items read the kept paths through it.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "config/regfun.h"
#include "keep/keep_list_file.h"
#include "platform/filesystem.h"
#include "platform/shell.h"

namespace cv {

inline constexpr const char* kUserShellFoldersKeyPath =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The full paths of the files directly in `folder` whose name contains
// ".txt" (case-sensitive, anywhere in the name), in listing order.
std::vector<std::string> ListCookieFiles(FileSystem& files, std::string_view folder);

// True when `path` equals one of the kept entries exactly (case-sensitive,
// whole text). An empty keep list spares nothing.
bool IsKeptCookie(const std::vector<std::string>& kept, std::string_view path);

class CookieKeepListModel {
 public:
  // `keepFile` is the program folder + "\keepcook.dat".
  CookieKeepListModel(regfun& reg, Shell& shell, FileSystem& files, std::string keepFile);

  // Resolves the cookie folder ("User Shell Folders\Cookies"), lists its
  // cookie files and reads the keep list. The preview text is cleared.
  void Load();

  const std::string& CookieFolder() const { return folder_; }
  const std::vector<std::string>& Current() const { return current_; }      // "Current Cookies List"
  const std::vector<std::string>& Kept() const { return kept_.Entries(); }  // "Cookies Keep List"
  const std::string& PreviewText() const { return preview_; }

  // Clicking an entry: shows the named file's whole text; a file that cannot
  // be read, or is larger than kMaxPreviewBytes, leaves the preview as it was.
  void ShowCookie(std::string_view path);
  // "Add >" and "< Remove", as for the URL keep list.
  Status Add(std::optional<std::size_t> selectedCurrent);
  Status Remove(const std::vector<std::size_t>& selectedKept);

  // Cookies are a few kilobytes; a huge file named in the keep list is not
  // read into memory for the preview box.
  static constexpr std::size_t kMaxPreviewBytes = 1 << 20;

 private:
  regfun& reg_;
  Shell& shell_;
  FileSystem& files_;
  KeptEntries kept_;
  std::string folder_;
  std::vector<std::string> current_;
  std::string preview_;
};

}  // namespace cv
