#pragma once
// Reads community cleaning definitions in the winapp2.ini format: one entry
// per section "[Name *]" with its grouping (LangSecRef, Section), detection
// (Detect, DetectFile, DetectOS), Warning, and what it cleans (FileKey,
// RegKey) and spares (ExcludeKey). Reading is pure text work: variables and
// wildcards are resolved later (clean/winapp2_paths.h).
//
// An entry is taken whole or not at all. It is rejected, with its reason,
// when it is malformed (a line without "=", a FileKey without a pattern, an
// unknown flag or registry root, a duplicate name, nothing to clean...) or
// unsafe on its face (a "." or ".." component, an unknown variable, a path
// that is neither a variable nor a drive path, a registry root or a key
// shared by every program, everything below a user's data folder at once).
// Unknown keys are ignored with a note.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace cv {

struct Winapp2RegKey {
  RegKey root = 0;
  std::string subKey;                // no leading or trailing backslash
  std::optional<std::string> value;  // "key|value": that value only
};

struct Winapp2FileKey {
  std::string folder;                 // as written (variables, wildcards), no trailing backslash
  std::vector<std::string> patterns;  // file-name patterns with "*" and "?"
  bool recurse = false;               // RECURSE or REMOVESELF
  bool removeSelf = false;            // REMOVESELF: folders the key emptied go too
};

struct Winapp2Exclude {
  enum class Kind { kFile, kPath, kReg } kind = Kind::kFile;
  std::string folder;   // FILE: the folder of the file; PATH: the folder and all below it
  std::string pattern;  // file-name pattern within it
  Winapp2RegKey key;    // REG: the key and everything below it
};

struct Winapp2Entry {
  std::string name;   // without the trailing " *"
  std::string group;  // Section, else the heading of LangSecRef
  std::vector<Winapp2RegKey> detectKeys;
  std::vector<std::string> detectFiles;
  std::optional<unsigned> osFrom, osTo;  // DetectOS bounds, major * 100 + minor
  std::string warning;
  std::vector<Winapp2FileKey> fileKeys;
  std::vector<Winapp2RegKey> regKeys;
  std::vector<Winapp2Exclude> excludes;
  std::size_t line = 0;  // of the section header
};

struct Winapp2Rejected {
  std::string file;  // set by the loader
  std::string name;
  std::size_t line = 0;
  std::string reason;
  bool unsafe = false;  // refused for safety rather than malformed
};

struct Winapp2Database {
  std::vector<Winapp2Entry> entries;
  std::vector<Winapp2Rejected> rejected;
  std::vector<std::string> notes;  // "line N: ..." for what was ignored
};

// Larger files are not read at all (the database is under 2 MB).
inline constexpr std::size_t kWinapp2MaxFileBytes = 16u << 20;

// Reads the text of one definition file (UTF-8 with or without a byte-order
// mark, UTF-16LE with one, or ANSI; CR LF, LF or CR line ends). Names already in
// `taken` (lower-case) are rejected as duplicates; accepted names are added.
void ReadWinapp2(std::string_view bytes, Winapp2Database& into, std::vector<std::string>& taken);

// Case-insensitive match of one name against a pattern with "*" and "?";
// "*.*" matches every name, as on Windows.
bool Winapp2Matches(std::string_view pattern, std::string_view name);

// The variables a path may use ("AppData", "ProgramFiles", ...), compared without regard to case.
bool IsWinapp2Variable(std::string_view name);

}  // namespace cv
