// The protected registry trees, one check per row of the table, and the keys
// of one application that stay allowed.
#include "clean/registry_reach.h"

#include <gtest/gtest.h>

#include <string>

namespace cv {
namespace {

// A row's path with its "*" made a real name.
std::string Concrete(std::string_view path) {
  std::string key(path);
  for (std::size_t at = key.find('*'); at != std::string::npos; at = key.find('*')) key.replace(at, 1, "exefile");
  return key;
}

TEST(RegistryReachTest, EveryProtectedTreeIsRefusedItselfAndFromAbove) {
  for (const ProtectedRegistryTree& tree : ProtectedRegistryTrees()) {
    const std::string key = Concrete(tree.path);
    SCOPED_TRACE(key);
    for (RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
      EXPECT_NE(RegistryRefusal(root, key, false), "");
      if (tree.wholeTree) {
        EXPECT_NE(RegistryRefusal(root, key + "\\Vendor\\Sub", false), "");
        EXPECT_NE(RegistryRefusal(root, key + "\\Vendor", true), "");
      }
    }
    // The same key through the other views of a hive.
    EXPECT_NE(RegistryRefusal(kHkeyUsers, "S-1-5-21-1\\" + key, false), "");
    if (key.rfind("Software\\", 0) == 0) {
      EXPECT_NE(RegistryRefusal(kHkeyLocalMachine, "Software\\Wow6432Node\\" + key.substr(9), false), "");
      EXPECT_NE(RegistryRefusal(kHkeyCurrentUser, "Software\\Classes\\Local Settings\\" + key, false), "");
    }
  }
}

TEST(RegistryReachTest, OneApplicationsKeysAreAllowedAndOthersNot) {
  const struct {
    RegKey root;
    const char* key;
    bool value;
    bool allowed;
  } cases[] = {
      {kHkeyCurrentUser, "Software\\7-Zip\\Compression", true, true},
      {kHkeyCurrentUser, "Software\\7 Taskbar Tweaker", true, true},
      {kHkeyCurrentUser, "Software\\7z SFX Builder\\MRU", false, true},
      {kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs", false, true},
      {kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", true, true},
      {kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run\\APR_DEACTIVATED", false, true},
      {kHkeyCurrentUser, "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\BagMRU", false, true},
      {kHkeyLocalMachine, "Software\\Wow6432Node\\AdwCleaner", true, true},
      {kHkeyUsers, ".DEFAULT\\Software\\7-Zip\\Compression", true, true},
      {kHkeyCurrentUser, "360\\360se6\\PreferenceMACs\\Default", true, true},
      {kHkeyCurrentUser, "Identities\\{9745A9A1}\\Software\\Microsoft\\Outlook Express\\5.0\\Recent Stationery List",
       false, true},
      {kHkeyCurrentUser, "Software\\VOS", false, false},
      {kHkeyCurrentUser, "360", false, false},
      {kHkeyLocalMachine, "System\\CurrentControlSet\\enum\\root\\legacy_block_reader", false, false},
      {kHkeyLocalMachine, "Software\\Classes\\.mpf", false, false},
      {kHkeyClassesRoot, "Applications\\tool.exe", false, false},
      {kHkeyCurrentUser, "Software\\Classes\\MIME\\Database\\Content Type", false, false},
      {kHkeyCurrentConfig, "Software\\Fonts", false, false},
      {kHkeyUsers, "S-1-5-18", false, false},
      {kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", false, false},
      {kHkeyCurrentUser, "Keyboard Layout\\Preload", false, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RegistryRefusal(c.root, c.key, c.value).empty(), c.allowed)
        << c.key << ": " << RegistryRefusal(c.root, c.key, c.value);
}

}  // namespace
}  // namespace cv
