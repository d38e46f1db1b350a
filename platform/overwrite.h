#pragma once
// Secure erasure: what overwriting a file before its deletion did.
#include <cstdint>

namespace cv {

enum class OverwriteResult : std::uint8_t {
  kOverwritten,  // content replaced by random bytes, flushed, renamed, truncated
  // Not safe to overwrite, left as it was and deleted plainly:
  kLink,        // a link: its target is not what is deleted
  kHardLink,    // another name still needs the data
  kSparse,      // holes hold no data to hide, and writing them would fill the disk
  kCompressed,  // new bytes would land in other clusters than the old ones
  kEncrypted,   // likewise
  kFailed,      // could not be opened for writing or written (in use, read-only)
};

inline bool NotSafeToOverwrite(OverwriteResult result) {
  return result != OverwriteResult::kOverwritten && result != OverwriteResult::kFailed;
}

// How many times content is overwritten: one pass is what current guidance
// asks for on modern disks; three are offered for those who want more.
inline constexpr int kDefaultOverwritePasses = 1;
inline constexpr int kMaxOverwritePasses = 3;
// The most passes any caller gets (the file shredder offers 7).
inline constexpr int kOverwritePassLimit = 7;

}  // namespace cv
