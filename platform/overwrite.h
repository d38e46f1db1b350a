#pragma once
// Secure erasure: what overwriting a file before its deletion did.
#include <cstdint>

namespace cv {

enum class OverwriteResult : std::uint8_t {
  kOverwritten,  // content replaced by random bytes, flushed, renamed, truncated
  kNotSafe,      // left as it was: another name shares its data (hard link), or it
                 // is a link, sparse, compressed or encrypted; delete it plainly
  kFailed,       // could not be opened for writing or written (in use, read-only)
};

// How many times content is overwritten: one pass is what current guidance
// asks for on modern disks; three are offered for those who want more.
inline constexpr int kDefaultOverwritePasses = 1;
inline constexpr int kMaxOverwritePasses = 3;

}  // namespace cv
