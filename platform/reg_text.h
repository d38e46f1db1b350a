#pragma once
// ".reg" text as regedit reads and writes it, imported into and exported from
// any Registry, so one fixture file serves the emulated and the real registry.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace cv {

struct RegTextResult {
  // kOk when the text carries a known header (even if some lines were bad);
  // kErrInvalidParameter when it is not .reg text, and nothing was changed.
  Status status = kOk;
  std::size_t applied = 0;           // key, deletion and value lines carried out
  std::size_t skipped = 0;           // malformed lines and lines the registry refused
  std::size_t firstSkippedLine = 0;  // 1-based line number, 0 when none was skipped
};

// Accepts "Windows Registry Editor Version 5.00" and "REGEDIT4" text, as
// UTF-8 (with or without BOM), UTF-16LE with BOM, or ANSI (Windows-1252).
RegTextResult ImportRegText(Registry& registry, std::string_view bytes);

// Version 5.00 text (UTF-8, CR LF) of the key `subKey` of `root` and all below
// it, keys in enumeration order. An empty `subKey` exports the root's values
// (if any) and its sub-keys. A key that cannot be opened exports nothing.
std::string ExportRegText(Registry& registry, RegKey root, std::string_view subKey);
// Version 5.00 text of one value of the key `subKey` of `root`.
std::string ExportRegValueText(RegKey root, std::string_view subKey, std::string_view name, const RegValue& value);
// The same without the header line, for joining several trees in one file.
void AppendRegTree(Registry& registry, RegKey root, std::string_view subKey, std::string& out);

inline constexpr std::string_view kRegTextHeader = "Windows Registry Editor Version 5.00";

// "HKEY_CURRENT_USER" (and the short form "HKCU") to the root; nullopt otherwise.
std::optional<RegKey> RegRootFromName(std::string_view name);
// The long name of a predefined root; empty for any other key.
std::string_view RegRootName(RegKey root);

}  // namespace cv
