#include "clean/registry_reach.h"

#include <array>
#include <vector>

#include "platform/text.h"

namespace cv {

namespace {

constexpr std::array<ProtectedRegistryTree, 32> kTrees{{
    {"System", true, "Windows' services, drivers and devices"},
    {"Environment", true, "the user's environment variables"},
    {"Control Panel\\Desktop", true, "the desktop settings"},
    {"Control Panel", false, "the user's Windows settings"},
    {"Software\\Policies", true, "the policies set by administrators"},
    {"Software\\Microsoft\\Windows\\CurrentVersion\\Policies", true, "the policies set by administrators"},
    {"Software\\Classes\\CLSID", true, "the COM classes of every program"},
    {"Software\\Classes\\Interface", true, "the COM interfaces of every program"},
    {"Software\\Classes\\TypeLib", true, "the type libraries of every program"},
    {"Software\\Classes\\AppID", true, "the COM applications of every program"},
    {"Software\\Classes\\*\\shell", true, "what Windows runs to open a file type"},
    {"Software\\Classes\\*\\shellex", true, "the shell extensions of a file type"},
    {"Software\\Classes", true, "the file types and COM classes every program shares"},
    {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", true,
     "where the user's folders are"},
    {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", true, "where the user's folders are"},
    {"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", true, "how Windows logs users on"},
    {"Software\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options", true,
     "how Windows starts programs"},
    {"Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", true, "the users' profiles"},
    {"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", true, "the installed fonts"},
    {"Software\\Microsoft\\Windows\\CurrentVersion\\Run", false, "the programs started with Windows"},
    {"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", false, "the programs started with Windows"},
    {"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", false, "the installed programs"},
    {"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths", false, "where the installed programs are"},
    {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", false, "the settings of Windows Explorer"},
    {"Software\\Microsoft\\Windows\\CurrentVersion", false, "the settings of Windows"},
    {"Software\\Microsoft\\Windows NT\\CurrentVersion", false, "the settings of Windows"},
    {"Software\\Microsoft\\Windows", false, "the settings of Windows"},
    {"Software\\Microsoft\\Windows NT", false, "the settings of Windows"},
    {"Software\\Microsoft\\Office", false, "the settings of every Office program"},
    {"Software\\Microsoft\\Internet Explorer", false, "the settings of Internet Explorer"},
    {"Software\\Microsoft", false, "the settings of every Microsoft program"},
    {"Software", false, "every program's settings"},
}};

// HKEY_CURRENT_USER's own top keys: anything else at its top is a vendor's.
constexpr std::array<std::string_view, 14> kWindowsUserKeys{
    "AppEvents",
    "Console",
    "Control Panel",
    "Environment",
    "EUDC",
    "Identities",
    "Keyboard Layout",
    "Network",
    "Printers",
    "Software",
    "System",
    "Volatile Environment",
    "Uninstall",
    "SessionInformation",
};

// The key's components, each folded.
std::vector<std::string> Components(std::string_view path) {
  std::vector<std::string> parts = PathComponents(path);
  for (std::string& part : parts) part = FoldCase(part);
  return parts;
}

bool Is(const std::string& component, std::string_view name) { return component == FoldCase(name); }

// The key as judged: below "Software" of a hive, views folded onto the keys they show.
std::vector<std::string> Judged(RegKey root, std::string_view subKey) {
  std::vector<std::string> key = Components(subKey);
  if (root == kHkeyUsers) {
    if (key.empty()) return key;
    const bool classes = key[0].size() > 8 && key[0].substr(key[0].size() - 8) == "_classes";
    key.erase(key.begin());
    if (classes) key.insert(key.begin(), {"software", "classes"});
  } else if (root == kHkeyClassesRoot) {
    key.insert(key.begin(), {"software", "classes"});
  } else if (root == kHkeyCurrentConfig) {
    key.insert(key.begin(), {"system", "currentcontrolset", "hardware profiles", "current"});
  }
  for (bool changed = true; changed;) {
    changed = false;
    // Identities\{id}\Software\... is a user's Software of its own (Outlook Express).
    if (key.size() >= 3 && Is(key[0], "Identities") && Is(key[2], "Software")) {
      key.erase(key.begin(), key.begin() + 2);
      changed = true;
    }
    if (key.size() >= 2 && Is(key[0], "Software") && Is(key[1], "Wow6432Node")) {
      key.erase(key.begin() + 1);
      changed = true;
    }
    if (key.size() >= 3 && Is(key[0], "Software") && Is(key[1], "Classes") && Is(key[2], "Wow6432Node")) {
      key.erase(key.begin() + 2);
      changed = true;
    }
    // Classes\Local Settings\Software\... holds per-machine-user settings as Software does.
    if (key.size() >= 4 && Is(key[0], "Software") && Is(key[1], "Classes") && Is(key[2], "Local Settings") &&
        Is(key[3], "Software")) {
      key.erase(key.begin(), key.begin() + 3);
      changed = true;
    }
  }
  return key;
}

// `prefix` is `path` or a key above it; "*" in a row stands for any one name.
bool IsPrefix(const std::vector<std::string>& prefix, const std::vector<std::string>& path) {
  if (prefix.size() > path.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (prefix[i] != "*" && path[i] != "*" && prefix[i] != path[i]) return false;
  return true;
}

}  // namespace

std::span<const ProtectedRegistryTree> ProtectedRegistryTrees() { return kTrees; }

std::string RegistryRefusal(RegKey root, std::string_view subKey, bool value) {
  if (!IsPredefinedRoot(root)) return "names no registry root";
  if (root == kHkeyUsers && Components(subKey).size() < 2) return "names a whole user's registry";
  const std::vector<std::string> key = Judged(root, subKey);
  if (key.empty()) return "names a registry root";
  // A value is only refused inside a whole protected tree; a key also when
  // it is a protected key or above one (deleting it deletes that tree). The
  // reason is the row the key is in (or is), else the first one it is above.
  const auto reason = [](const ProtectedRegistryTree& tree) {
    return "reaches " + std::string(tree.holds) + " (" + std::string(tree.path) + ")";
  };
  for (const ProtectedRegistryTree& tree : kTrees) {
    const std::vector<std::string> row = Components(tree.path);
    if ((tree.wholeTree && IsPrefix(row, key)) || (!value && row.size() == key.size() && IsPrefix(key, row)))
      return reason(tree);
  }
  if (!value)
    for (const ProtectedRegistryTree& tree : kTrees)
      if (IsPrefix(key, Components(tree.path))) return reason(tree);
  // Below a vendor: Software\<vendor>\<product>, or one value of Software\<vendor>.
  const bool software = Is(key[0], "Software");
  if (!software) {
    const bool windows = root != kHkeyCurrentUser && root != kHkeyUsers;
    bool own = false;
    for (std::string_view name : kWindowsUserKeys) own = own || Is(key[0], name);
    if (windows || own) return "is not below an application's key";
  }
  const std::size_t depth = key.size() - (software ? 1 : 0) + (value ? 1 : 0);
  if (depth < 2) return "names a whole vendor's key";
  return {};
}

}  // namespace cv
