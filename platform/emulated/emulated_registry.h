#pragma once
// An in-memory registry with the semantics and status codes of the Win32 one:
// the seven predefined roots, names that keep their case but match without
// regard to it, values in creation order, sub-keys in the order Windows
// enumerates them (by name, without regard to case), a handle table with the
// access each handle was opened with, and ".reg" text import and export.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/reg_text.h"
#include "platform/registry.h"

namespace cv::emulated {

class EmulatedRegistry : public Registry {
 public:
  EmulatedRegistry();
  ~EmulatedRegistry() override;
  EmulatedRegistry(const EmulatedRegistry&) = delete;
  EmulatedRegistry& operator=(const EmulatedRegistry&) = delete;

  Status OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& out) override;
  Status CreateKey(RegKey parent, std::string_view subKey, RegKey& out) override;
  Status CloseKey(RegKey key) override;
  Status QueryValue(RegKey key, std::string_view name, RegValue& out) override;
  Status SetValue(RegKey key, std::string_view name, std::uint32_t type, std::string_view data) override;
  Status EnumValue(RegKey key, std::uint32_t index, std::string& name, RegValue& value) override;
  Status EnumKey(RegKey key, std::uint32_t index, std::string& name) override;
  Status DeleteKey(RegKey parent, std::string_view subKey) override;
  Status DeleteValue(RegKey key, std::string_view name) override;
  Status DeleteTree(RegKey parent, std::string_view subKey) override;

  // Imports ".reg" text (see ImportRegText). A file that cannot be read, or
  // is larger than kMaxRegFileBytes, gives kErrFileNotFound / kErrInvalidParameter.
  RegTextResult LoadRegText(std::string_view text);
  RegTextResult LoadRegFile(const std::string& hostPath);
  // Every root's values and keys as version 5.00 text that LoadRegText reads back.
  std::string ExportRegText();

  std::size_t OpenHandleCount() const { return handles_.size(); }

  static constexpr std::size_t kMaxRegFileBytes = 64u << 20;
  // Windows' limits: key name 255 characters, value name 16383, 512 levels.
  static constexpr std::size_t kMaxKeyNameChars = 255;
  static constexpr std::size_t kMaxValueNameChars = 16383;
  static constexpr std::size_t kMaxDepth = 512;

 private:
  struct Node;
  struct Handle {
    std::shared_ptr<Node> node;
    std::uint32_t access = 0;
  };

  // The key a handle names, or the status its use fails with.
  Status Resolve(RegKey key, Node*& node, std::uint32_t* access = nullptr) const;
  RegKey AddHandle(std::shared_ptr<Node> node, std::uint32_t access);
  Status RemoveKey(RegKey parent, std::string_view subKey, bool wholeTree);

  std::shared_ptr<Node> roots_[7];
  std::unordered_map<RegKey, Handle> handles_;
  RegKey nextHandle_ = 0x1000;
};

}  // namespace cv::emulated
