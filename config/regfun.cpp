#include "config/regfun.h"

#include <array>

namespace cv {
namespace {

struct RootEntry {
  std::string_view name;
  RegKey key;
};

constexpr std::array<RootEntry, 7> kRoots{{
    {"HKEY_CLASSES_ROOT", kHkeyClassesRoot},
    {"HKEY_CURRENT_USER", kHkeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", kHkeyLocalMachine},
    {"HKEY_USERS", kHkeyUsers},
    {"HKEY_PERFORMANCE_DATA", kHkeyPerformanceData},
    {"HKEY_CURRENT_CONFIG", kHkeyCurrentConfig},
    {"HKEY_DYN_DATA", kHkeyDynData},
}};

// A message box without a caption of its own shows the program's title.
constexpr std::string_view kProgramTitle = "Clearvane";

// The text a string value holds: its data without the one terminating NUL,
// if it was stored with one. A value another program stored without NUL
// keeps its last character.
std::string_view StoredText(const RegValue& value) {
  std::string_view text = value.data;
  if (!text.empty() && text.back() == '\0') text.remove_suffix(1);
  return text;
}

}  // namespace

RegKey regfun::RootKeyFromName(std::string_view name) {
  for (const auto& root : kRoots)
    if (root.name == name) return root.key;
  return 0;
}

void regfun::SplitKeyPath(std::string& path, RegKey& root) {
  if (!path.starts_with("HKEY_") || path.ends_with('\\')) {
    messages_.Show("Incorrect Format:\n\n" + path, kProgramTitle, kMbOk);
    root = 0;
    lastRoot_ = root;
    return;
  }
  const auto slash = path.find('\\');
  if (slash == std::string::npos) {
    root = RootKeyFromName(path);
    path.clear();
  } else {
    root = RootKeyFromName(std::string_view(path).substr(0, slash));
    path.erase(0, slash + 1);
  }
  lastRoot_ = root;
}

bool regfun::QueryIntoBuffer(RegKey root, std::string_view subKey, std::string_view valueName, RegValue& value) {
  ScopedRegKey key(registry_);
  lastStatus_ = registry_.OpenKey(root, subKey, kKeyRead, key.out());
  if (lastStatus_ != kOk) return false;
  lastStatus_ = registry_.QueryValue(key.get(), valueName, value);
  if (lastStatus_ != kOk) return false;
  // The query needs room for the text and the NUL it writes behind it.
  if (StoredText(value).size() + 1 > kValueBufferBytes) {
    lastStatus_ = kErrMoreData;
    return false;
  }
  return true;
}

std::string regfun::ReadRegString(std::string_view fullPath, std::string_view valueName) {
  std::string subKey(fullPath);
  RegKey root = 0;
  SplitKeyPath(subKey, root);
  if (root == 0) return {};
  RegValue value;
  if (!QueryIntoBuffer(root, subKey, valueName, value)) return "Error";
  std::string_view text = StoredText(value);
  const auto first = text.find_first_not_of(' ');
  return std::string(first == std::string_view::npos ? std::string_view{} : text.substr(first));
}

std::string regfun::ReadRegValueAt(RegKey root, std::string_view subKey, std::string_view valueName,
                                   std::uint32_t& valueType) {
  RegValue value;
  const bool read = QueryIntoBuffer(root, subKey, valueName, value);
  if (read || lastStatus_ == kErrMoreData) valueType = value.type;
  if (!read) return "error";
  return TrimAtNul(value.data);
}

void regfun::CreateRegKey(std::string_view fullPath) {
  std::string subKey(fullPath);
  RegKey root = 0;
  SplitKeyPath(subKey, root);
  if (root == 0) return;
  ScopedRegKey key(registry_);
  lastStatus_ = registry_.CreateKey(root, subKey, key.out());
}

void regfun::WriteRegString(std::string_view fullPath, std::string_view valueName, std::string_view value) {
  std::string subKey(fullPath);
  RegKey root = 0;
  SplitKeyPath(subKey, root);
  if (root == 0) return;
  ScopedRegKey key(registry_);
  lastStatus_ = registry_.OpenKey(root, subKey, kKeyWrite, key.out());
  if (lastStatus_ != kOk) return;
  // REG_SZ data ends with its NUL: readers that rely on it (regedit's export
  // among them) would otherwise lose the last character or read past the end.
  std::string data = TrimAtNul(value);
  data += '\0';
  lastStatus_ = registry_.SetValue(key.get(), valueName, kRegSz, data);
}

std::string regfun::TrimAtNul(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

}  // namespace cv
