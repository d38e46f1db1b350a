#pragma once
// What a registry key named by a definition (a community entry's RegKey)
// reaches: it must lie below one application's key, "Software\<vendor>\..."
// (under HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, a user's hive of HKEY_USERS,
// their Wow6432Node and "Classes\Local Settings\Software" views), or a
// vendor's key of its own at the top of HKEY_CURRENT_USER ("HKCU\360\..."),
// and never inside or above one of the protected trees below.
#include <span>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace cv {

struct ProtectedRegistryTree {
  // Below the root as judged ("Software\Classes\*\shell"): HKEY_CLASSES_ROOT
  // is judged as "Software\Classes", a user's hive of HKEY_USERS as
  // HKEY_CURRENT_USER, "Wow6432Node" left out. "*" stands for one key name.
  std::string_view path;
  // True: the key, everything below it and every key above it are refused.
  // False: only the key itself and the keys above it (its sub-keys may be
  // one application's, as "Run\APR_DEACTIVATED").
  bool wholeTree;
  std::string_view holds;  // what it holds, for the reason
};

// The table, one row per protected tree; the first row that applies gives the reason.
std::span<const ProtectedRegistryTree> ProtectedRegistryTrees();

// Why deleting the key `subKey` below `root` (with `value`: one value of it)
// is refused; empty when it lies below one application's key.
std::string RegistryRefusal(RegKey root, std::string_view subKey, bool value);

}  // namespace cv
