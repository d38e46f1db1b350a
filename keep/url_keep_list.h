#pragma once
// The URL keep list: the addresses now in Internet Explorer's typed-URL list
// beside the kept ones from "keepurl.dat". The keep-list window binds to
// this model; the run's address-bar items read the kept URLs through it.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "config/regfun.h"
#include "keep/keep_list_file.h"
#include "platform/filesystem.h"
#include "platform/registry.h"

namespace cv {

inline constexpr const char* kTypedUrlsSubKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
inline constexpr const char* kTypedUrlsKeyPath = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs";

// The texts of the typed-URL values in enumeration order; values that
// cannot be read as text ("error") are left out. A key that cannot be opened gives none.
std::vector<std::string> ReadTypedUrls(Registry& registry, regfun& reg);

class UrlKeepListModel {
 public:
  // `keepFile` is the program folder + "\keepurl.dat".
  UrlKeepListModel(Registry& registry, regfun& reg, FileSystem& files, std::string keepFile);

  // Fills the current list from the registry and the keep list from the file.
  void Load();

  const std::vector<std::string>& Current() const { return current_; }      // "Current URL List"
  const std::vector<std::string>& Kept() const { return kept_.Entries(); }  // "URL Keep List"

  // "Add >": the selected current address (empty text when none is selected)
  // joins the keep list as it is and is appended to the file without trailing spaces.
  Status Add(std::optional<std::size_t> selectedCurrent);
  // "< Remove": drops every selected keep entry (indices into Kept(), any
  // order, out-of-range ones ignored) and rewrites the file with the rest.
  // When the file cannot be written, the list stays as the file is and the
  // status says why (Add likewise).
  Status Remove(const std::vector<std::size_t>& selectedKept);

 private:
  Registry& registry_;
  regfun& reg_;
  KeptEntries kept_;
  std::vector<std::string> current_;
};

}  // namespace cv
