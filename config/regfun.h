#pragma once
// The program's registry layer: single string values and key creation,
// addressed by a full key path ("HKEY_CURRENT_USER\Software\...").
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "platform/ui.h"

namespace cv {

class regfun {
 public:
  regfun(Registry& registry, MessageBoxes& messages) : registry_(registry), messages_(messages) {}

  // The predefined root for one of the seven root names (exact case); 0 otherwise.
  static RegKey RootKeyFromName(std::string_view name);
  // Splits a full key path into its root and sub-key: on return `path` holds
  // the sub-key. A path not starting with "HKEY_" or ending in "\" shows
  // "Incorrect Format:", leaves `path` unchanged and sets `root` to 0.
  void SplitKeyPath(std::string& path, RegKey& root);

  // The string value's text with leading spaces removed; "Error" when the key
  // cannot be opened, the value is missing or is too long for the value
  // buffer; empty text for a malformed path or unknown root.
  std::string ReadRegString(std::string_view fullPath, std::string_view valueName);
  // The value's text up to its first NUL, or "error". `valueType` receives the
  // value's type whenever the value exists (also when it is too long).
  std::string ReadRegValueAt(RegKey root, std::string_view subKey, std::string_view valueName,
                             std::uint32_t& valueType);
  // Creates the key and every missing key above it; failures end silently.
  void CreateRegKey(std::string_view fullPath);
  // Stores a REG_SZ (the text up to its first NUL, then the terminating NUL)
  // in an existing key; a missing key is not created.
  void WriteRegString(std::string_view fullPath, std::string_view valueName, std::string_view value);

  static std::string TrimAtNul(std::string_view text);

  // The status of the last registry call.
  Status LastStatus() const { return lastStatus_; }

  // The value buffer the reads use: a value's data and its terminating NUL
  // must fit, so at most 254 bytes of text can be read.
  static constexpr std::size_t kValueBufferBytes = 255;

 private:
  // The value's data as the query returns it into the value buffer; false
  // when the key, the value or the room is missing.
  bool QueryIntoBuffer(RegKey root, std::string_view subKey, std::string_view valueName, RegValue& value);

  Registry& registry_;
  MessageBoxes& messages_;
  RegKey lastRoot_ = 0;
  Status lastStatus_ = kOk;
};

}  // namespace cv
