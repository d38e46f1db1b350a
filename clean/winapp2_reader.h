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
// that is neither a variable nor a drive path, a path whose variables give
// more than kWinapp2MaxSpellings spellings, a registry key that is not below
// one application's key (clean/registry_reach.h), everything below a user's
// data folder at once). What a key reaches on the machine is judged later,
// when the entry runs (clean/winapp2_reach.h).
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
  std::string folder;                 // FILE: the folder of the file; PATH: the folder and all below it
  std::vector<std::string> patterns;  // file-name patterns within it (";" separates them)
  Winapp2RegKey key;                  // REG: the key and everything below it
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

// A path whose variables could give more spellings than this (each
// %ProgramFiles% and %CommonProgramFiles% stands for up to three folders) is
// refused: thirty of them would otherwise ask for 3^30 paths.
inline constexpr std::size_t kWinapp2MaxSpellings = 256;

// Larger files are not read at all (the database is under 2 MB).
inline constexpr std::size_t kWinapp2MaxFileBytes = 16u << 20;

// Reads the text of one definition file (UTF-8 with or without a byte-order
// mark, UTF-16LE with one, or ANSI; CR LF, LF or CR line ends). Names already in
// `taken` (lower-case) are rejected as duplicates; accepted names are added.
void ReadWinapp2(std::string_view bytes, Winapp2Database& into, std::vector<std::string>& taken);

// Match of one name against a pattern with "*" and "?", letter case folded
// as Windows folds file names (FoldCase, so "Ü" matches "ü"); "?" stands for
// one character, not one byte; "*.*" matches every name, as on Windows.
bool Winapp2Matches(std::string_view pattern, std::string_view name);
// A pattern that matches every name: "*", "*.*", "**", "?*" ... (only "*",
// "?" and "." and at least one "*").
bool Winapp2MatchesEveryName(std::string_view pattern);

// The variables a path may use ("AppData", "ProgramFiles", ...), compared without regard to case.
bool IsWinapp2Variable(std::string_view name);

}  // namespace cv
