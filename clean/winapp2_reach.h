#pragma once
// What a community entry's FileKey reaches on this machine, judged by the
// folders it resolves to, not by how it is spelled:
// - a recursive or whole-folder key (RECURSE, REMOVESELF, or a pattern such
//   as "*", "*.*", "**") may not work in a protected folder, a user data
//   folder (Winapp2Folders::UserDataFolders) or a folder above one;
// - nor in the top folder of an application (a folder directly inside a user
//   data folder) that the entry does not name (its DetectFile paths or its
//   name), nor reach several top folders through one "*" component;
// - nor empty a vendor's folder that holds other products than the one the
//   entry detects (sibling folders it does not name);
// - a named-file key (no RECURSE, patterns naming files) may delete matching
//   files directly inside a protected or user data folder, never below it,
//   never in the program's own folder, and never program files (".exe",
//   ".dll" ...) by a pattern that names no file, or at all in the Windows
//   folder and its system folders.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clean/path_guard.h"
#include "clean/winapp2_paths.h"
#include "clean/winapp2_reader.h"
#include "platform/filesystem.h"

namespace cv {

class Winapp2Reach {
 public:
  // `files` and `folders` must outlive the judge; `guard` is copied. Each
  // user data folder is identified once, here.
  Winapp2Reach(const Winapp2Folders& folders, FileSystem& files, const PathGuard& guard);

  enum class Verdict { kRefused, kAllowed, kAllowedInsideProtected };
  struct Judgement {
    Verdict verdict = Verdict::kAllowed;
    std::string reason;  // kRefused: why
  };
  // One folder `folder` that the key's folder `spelling` (variables
  // replaced, wildcards kept) resolved to, or names outright when it has no
  // wildcard (then `folder` == `spelling` and it need not exist).
  Judgement Judge(const Winapp2Entry& entry, const Winapp2FileKey& key, std::string_view spelling,
                  std::string_view folder);

  // The top folder (a folder directly inside a user data folder) that
  // `folder` is or lies below, and whether the component of `spelling` that
  // named it matches every name ("*").
  struct Top {
    std::string path;
    std::string name;
    bool throughWildcard = false;
  };
  std::optional<Top> TopFolder(std::string_view spelling, std::string_view folder);

 private:
  struct Known {
    std::string name;
    std::string spelling, finalPath;  // normalised
  };
  bool Names(const Winapp2Entry& entry, const Top& top, std::vector<std::string>* products, bool* vendorByName);
  const Known* UserDataFolder(std::string_view folder);
  bool HoldsUserData(std::string_view folder);

  const Winapp2Folders& folders_;
  FileSystem& files_;
  PathGuard guard_;  // the run's protected folders
  std::vector<Known> known_;
  std::vector<std::string> system_;  // normalised
  std::string program_;
};

// Whether a pattern could match a program file (".exe", ".dll", ".sys" ...).
bool Winapp2PatternMayMatchProgram(std::string_view pattern);

}  // namespace cv
