#include "platform/emulated/emulated_registry.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace cv::emulated {
namespace {

constexpr std::uint32_t kQueryValue = 0x0001;
constexpr std::uint32_t kSetValue = 0x0002;
constexpr std::uint32_t kCreateSubKey = 0x0004;
constexpr std::uint32_t kEnumerateSubKeys = 0x0008;
constexpr std::uint32_t kAllAccess = 0xF003F;
constexpr std::uint32_t kMaximumAllowed = 0x02000000;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kGenericRead = 0x80000000;
constexpr std::uint32_t kGenericWrite = 0x40000000;

// The specific rights a requested access mask grants.
std::uint32_t GrantedAccess(std::uint32_t requested) {
  if (requested & (kMaximumAllowed | kGenericAll)) return kAllAccess;
  std::uint32_t granted = requested;
  if (requested & kGenericRead) granted |= kKeyRead;
  if (requested & kGenericWrite) granted |= kKeyWrite;
  return granted;
}

// Upper-case mapping of the letters in the Latin, Greek and Cyrillic blocks,
// enough for the names the registry holds; names compare after this fold.
char32_t UpperCase(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  if (c < 0x80) return c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c & ~char32_t{1};
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 0) ? c - 1 : c;
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

// Decodes UTF-8 leniently (a stray byte stands for itself) for folding and counting.
template <typename Visit>
void ForEachChar(std::string_view s, Visit visit) {
  for (std::size_t i = 0; i < s.size();) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t length = lead < 0x80             ? 1
                         : (lead & 0xE0) == 0xC0 ? 2
                         : (lead & 0xF0) == 0xE0 ? 3
                         : (lead & 0xF8) == 0xF0 ? 4
                                                 : 0;
    bool valid = length > 0 && i + length <= s.size();
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(s[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    if (!valid) {
      visit(static_cast<char32_t>(lead), s.substr(i, 1), false);
      ++i;
    } else {
      visit(c, s.substr(i, length), true);
      i += length;
    }
  }
}

std::string Fold(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  ForEachChar(name, [&](char32_t c, std::string_view bytes, bool valid) {
    const char32_t upper = valid ? UpperCase(c) : c;
    if (!valid || upper == c) {
      out += bytes;
    } else if (upper < 0x80) {
      out += static_cast<char>(upper);
    } else if (upper < 0x800) {
      out += static_cast<char>(0xC0 | (upper >> 6));
      out += static_cast<char>(0x80 | (upper & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (upper >> 12));
      out += static_cast<char>(0x80 | ((upper >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (upper & 0x3F));
    }
  });
  return out;
}

// Length in UTF-16 code units, the unit Windows' name limits count in.
std::size_t Utf16Length(std::string_view s) {
  std::size_t n = 0;
  ForEachChar(s, [&](char32_t c, std::string_view, bool valid) { n += (valid && c >= 0x10000) ? 2 : 1; });
  return n;
}

bool HasNul(std::string_view s) { return s.find('\0') != std::string_view::npos; }

// The components of a sub-key path. A leading "\" is refused as Windows
// refuses it; repeated and trailing separators are ignored.
Status SplitPath(std::string_view path, std::vector<std::string_view>& parts) {
  if (!path.empty() && path.front() == '\\') return kErrBadPathname;
  if (HasNul(path)) return kErrInvalidParameter;
  while (!path.empty()) {
    const auto slash = path.find('\\');
    const std::string_view part = path.substr(0, slash);
    if (!part.empty()) {
      if (Utf16Length(part) > EmulatedRegistry::kMaxKeyNameChars) return kErrInvalidParameter;
      parts.push_back(part);
    }
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return kOk;
}

}  // namespace

struct EmulatedRegistry::Node : std::enable_shared_from_this<Node> {
  struct Value {
    std::string name;
    std::string folded;
    RegValue value;
  };

  std::string name;
  std::string folded;
  Node* parent = nullptr;
  std::size_t depth = 0;
  bool deleted = false;
  std::vector<std::shared_ptr<Node>> subKeys;  // sorted by folded name, as Windows enumerates
  std::vector<Value> values;                   // creation order

  auto SubKeyPosition(const std::string& key) {
    return std::lower_bound(subKeys.begin(), subKeys.end(), key,
                            [](const std::shared_ptr<Node>& n, const std::string& k) { return n->folded < k; });
  }
  Node* FindSubKey(std::string_view part) {
    const std::string key = Fold(part);
    auto it = SubKeyPosition(key);
    return (it != subKeys.end() && (*it)->folded == key) ? it->get() : nullptr;
  }
  Node* AddSubKey(std::string_view part) {
    auto child = std::make_shared<Node>();
    child->name = std::string(part);
    child->folded = Fold(part);
    child->parent = this;
    child->depth = depth + 1;
    Node* raw = child.get();
    subKeys.insert(SubKeyPosition(child->folded), std::move(child));
    return raw;
  }
  Value* FindValue(std::string_view valueName) {
    const std::string key = Fold(valueName);
    for (auto& v : values)
      if (v.folded == key) return &v;
    return nullptr;
  }
};

EmulatedRegistry::EmulatedRegistry() {
  for (auto& root : roots_) root = std::make_shared<Node>();
}

EmulatedRegistry::~EmulatedRegistry() = default;

Status EmulatedRegistry::Resolve(RegKey key, Node*& node, std::uint32_t* access) const {
  if (IsPredefinedRoot(key)) {
    node = roots_[key - kHkeyClassesRoot].get();
    if (access) *access = kAllAccess;
    return kOk;
  }
  const auto it = handles_.find(key);
  if (it == handles_.end()) return kErrInvalidHandle;
  if (it->second.node->deleted) return kErrKeyDeleted;
  node = it->second.node.get();
  if (access) *access = it->second.access;
  return kOk;
}

RegKey EmulatedRegistry::AddHandle(std::shared_ptr<Node> node, std::uint32_t access) {
  RegKey handle = nextHandle_;
  nextHandle_ += 4;
  if (IsPredefinedRoot(nextHandle_)) nextHandle_ = kHkeyDynData + 1;
  handles_[handle] = Handle{std::move(node), access};
  return handle;
}

Status EmulatedRegistry::OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& out) {
  Node* node = nullptr;
  if (Status status = Resolve(parent, node); status != kOk) return status;
  std::vector<std::string_view> parts;
  if (Status status = SplitPath(subKey, parts); status != kOk) return status;
  for (auto part : parts) {
    node = node->FindSubKey(part);
    if (!node) return kErrFileNotFound;
  }
  out = AddHandle(node->shared_from_this(), GrantedAccess(access));
  return kOk;
}

Status EmulatedRegistry::CreateKey(RegKey parent, std::string_view subKey, RegKey& out) {
  Node* node = nullptr;
  std::uint32_t access = 0;
  if (Status status = Resolve(parent, node, &access); status != kOk) return status;
  std::vector<std::string_view> parts;
  if (Status status = SplitPath(subKey, parts); status != kOk) return status;
  std::size_t existing = 0;
  Node* deepest = node;
  while (existing < parts.size()) {
    Node* next = deepest->FindSubKey(parts[existing]);
    if (!next) break;
    deepest = next;
    ++existing;
  }
  if (existing < parts.size()) {
    if (node == deepest && !(access & kCreateSubKey)) return kErrAccessDenied;
    if (deepest->depth + (parts.size() - existing) > kMaxDepth) return kErrInvalidParameter;
    for (std::size_t i = existing; i < parts.size(); ++i) deepest = deepest->AddSubKey(parts[i]);
  }
  out = AddHandle(deepest->shared_from_this(), kAllAccess);
  return kOk;
}

Status EmulatedRegistry::CloseKey(RegKey key) {
  if (IsPredefinedRoot(key)) return kOk;
  return handles_.erase(key) ? kOk : kErrInvalidHandle;
}

Status EmulatedRegistry::QueryValue(RegKey key, std::string_view name, RegValue& out) {
  Node* node = nullptr;
  std::uint32_t access = 0;
  if (Status status = Resolve(key, node, &access); status != kOk) return status;
  if (!(access & kQueryValue)) return kErrAccessDenied;
  const Node::Value* value = node->FindValue(name);
  if (!value) return kErrFileNotFound;
  out = value->value;
  return kOk;
}

Status EmulatedRegistry::SetValue(RegKey key, std::string_view name, std::uint32_t type, std::string_view data) {
  Node* node = nullptr;
  std::uint32_t access = 0;
  if (Status status = Resolve(key, node, &access); status != kOk) return status;
  if (!(access & kSetValue)) return kErrAccessDenied;
  if (HasNul(name) || Utf16Length(name) > kMaxValueNameChars) return kErrInvalidParameter;
  RegValue stored{type, std::string(data)};
  if (Node::Value* existing = node->FindValue(name)) {
    existing->value = std::move(stored);
  } else {
    node->values.push_back({std::string(name), Fold(name), std::move(stored)});
  }
  return kOk;
}

Status EmulatedRegistry::EnumValue(RegKey key, std::uint32_t index, std::string& name, RegValue& value) {
  Node* node = nullptr;
  std::uint32_t access = 0;
  if (Status status = Resolve(key, node, &access); status != kOk) return status;
  if (!(access & kQueryValue)) return kErrAccessDenied;
  if (index >= node->values.size()) return kErrNoMoreItems;
  name = node->values[index].name;
  value = node->values[index].value;
  return kOk;
}

Status EmulatedRegistry::EnumKey(RegKey key, std::uint32_t index, std::string& name) {
  Node* node = nullptr;
  std::uint32_t access = 0;
  if (Status status = Resolve(key, node, &access); status != kOk) return status;
  if (!(access & kEnumerateSubKeys)) return kErrAccessDenied;
  if (index >= node->subKeys.size()) return kErrNoMoreItems;
  name = node->subKeys[index]->name;
  return kOk;
}

Status EmulatedRegistry::RemoveKey(RegKey parent, std::string_view subKey, bool wholeTree) {
  Node* node = nullptr;
  if (Status status = Resolve(parent, node); status != kOk) return status;
  std::vector<std::string_view> parts;
  if (Status status = SplitPath(subKey, parts); status != kOk) return status;
  for (auto part : parts) {
    node = node->FindSubKey(part);
    if (!node) return kErrFileNotFound;
  }
  // A predefined root is never removed (an empty sub-key on a root would be).
  if (!node->parent) return kErrAccessDenied;
  if (!wholeTree && !node->subKeys.empty()) return kErrAccessDenied;

  Node* owner = node->parent;
  auto it = owner->SubKeyPosition(node->folded);
  std::shared_ptr<Node> removed = std::move(*it);
  owner->subKeys.erase(it);
  // Every key of the removed tree is now deleted for the handles still open on it.
  std::vector<Node*> pending{removed.get()};
  while (!pending.empty()) {
    Node* n = pending.back();
    pending.pop_back();
    n->deleted = true;
    for (auto& child : n->subKeys) pending.push_back(child.get());
  }
  removed->parent = nullptr;
  return kOk;
}

Status EmulatedRegistry::DeleteKey(RegKey parent, std::string_view subKey) { return RemoveKey(parent, subKey, false); }

Status EmulatedRegistry::DeleteTree(RegKey parent, std::string_view subKey) { return RemoveKey(parent, subKey, true); }

Status EmulatedRegistry::DeleteValue(RegKey key, std::string_view name) {
  Node* node = nullptr;
  std::uint32_t access = 0;
  if (Status status = Resolve(key, node, &access); status != kOk) return status;
  if (!(access & kSetValue)) return kErrAccessDenied;
  if (HasNul(name)) return kErrInvalidParameter;
  const std::string folded = Fold(name);
  const auto it =
      std::find_if(node->values.begin(), node->values.end(), [&](const Node::Value& v) { return v.folded == folded; });
  if (it == node->values.end()) return kErrFileNotFound;
  node->values.erase(it);
  return kOk;
}

RegTextResult EmulatedRegistry::LoadRegText(std::string_view text) { return ImportRegText(*this, text); }

RegTextResult EmulatedRegistry::LoadRegFile(const std::string& hostPath) {
  std::ifstream file(hostPath, std::ios::binary);
  if (!file) return {kErrFileNotFound, 0, 0, 0};
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0 || static_cast<std::size_t>(size) > kMaxRegFileBytes) return {kErrInvalidParameter, 0, 0, 0};
  file.seekg(0);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!file.read(bytes.data(), size)) return {kErrFileNotFound, 0, 0, 0};
  return ImportRegText(*this, bytes);
}

std::string EmulatedRegistry::ExportRegText() {
  std::string out(kRegTextHeader);
  out += "\r\n\r\n";
  for (RegKey root = kHkeyClassesRoot; root <= kHkeyDynData; ++root) AppendRegTree(*this, root, "", out);
  return out;
}

}  // namespace cv::emulated
