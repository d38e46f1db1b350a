#pragma once
// The program's INI access: values and sections of INI files in the Windows
// profile format (see config/ini_text.h), read and written through the file
// system service. Nothing is cached or held open: every call reads the file,
// and every change rewrites it whole through an atomic replace, so a crash
// never leaves half a file. Failures are silent: a read that cannot be made
// gives "" or an empty list, a write that cannot be made leaves the file as
// it was. Every text read is decoded once by AnsiToUtf8 (platform/text.h): UTF-8
// is kept, anything else is read as ANSI text.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/filesystem.h"

namespace cv {

class Inifun {
 public:
  // GetPrivateProfileStringA's buffer in ReadIniValue and the write cut.
  static constexpr std::size_t kValueBufferChars = 128;
  // GetPrivateProfileSectionA's buffer in ReadIniSection.
  static constexpr std::size_t kSectionBufferChars = 32767;
  // Larger files are treated as unreadable: no INI file the program reads
  // or edits comes near this.
  static constexpr std::uint64_t kMaxFileBytes = 16ull << 20;

  explicit Inifun(FileSystem& fs) : fs_(fs) {}

  // Stores the value cut at its first NUL, line break and at 128 characters;
  // creates the file, the section or the key as needed.
  void WriteIniValue(std::string_view file, std::string_view section, std::string_view key, std::string_view value);
  struct Value {
    std::string_view section, key, value;  // `value` unused by reads
  };
  // Stores several values with one atomic replace of the file: the result is
  // byte for byte what WriteIniValue for each in turn would leave, but a
  // failure part-way leaves the old file whole. kOk when nothing needed writing.
  Status WriteIniValues(std::string_view file, std::span<const Value> values);
  // ReadIniValue for several keys of one file, read once: element i is what
  // ReadIniValue(file, section i, key i) returns.
  std::vector<std::string> ReadIniValues(std::string_view file, std::span<const Value> keys);
  // At most 127 characters, blanks trimmed; "" when anything is missing.
  std::string ReadIniValue(std::string_view file, std::string_view section, std::string_view key);
  // The section's "key=value" lines in file order (index 0 is the first).
  // When the section fills the buffer, the entries that fit are given and
  // the last one, which the buffer may have cut, is dropped: a cut entry is
  // not what the file says.
  std::vector<std::string> ReadIniSection(std::string_view section, std::string_view file);
  // Removes every section of that name with all its lines: the profile
  // functions see only the first, and would show the next one once it went.
  void DeleteIniSection(std::string_view file, std::string_view section);
  // Whether DeleteIniSection would find something to remove.
  bool HasIniSection(std::string_view file, std::string_view section);
  // kOk when the file can be read; otherwise why not (kErrFileNotFound,
  // kErrFileTooLarge, a sharing violation ...).
  Status ReadStatus(std::string_view file);

 private:
  FileSystem& fs_;
};

}  // namespace cv
