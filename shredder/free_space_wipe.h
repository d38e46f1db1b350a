#pragma once
// "Wipe free space": the free space of a drive is filled with random bytes in
// files of a temporary folder on it (each flushed), then with many small
// files, so that the file table's slots of deleted small files are reused
// too, and everything written is deleted again. The blocks of files deleted
// earlier then hold random bytes. A drive the system keeps writing to is
// filled only down to a margin, checked again as the fill goes, since other
// programs write too. "Cancel" deletes what was written; the leftovers of a
// wipe that was cut short (a crash, a power cut) are deleted by the next one.
//
// What it cannot reach: blocks an SSD or a flash drive keeps aside for wear
// levelling, earlier versions kept by a copy-on-write file system or by
// shadow copies, and the margin it leaves free.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/filesystem.h"
#include "platform/volume.h"

namespace cv {

inline constexpr std::uint64_t kSystemDriveMargin = 100ull << 20;
inline constexpr std::uint64_t kFillFileBytes = 1ull << 30;  // FAT32 takes files below 4 GB
inline constexpr std::uint64_t kFillChunkBytes = 1ull << 20;
inline constexpr std::uint64_t kChunksPerSpaceCheck = 8;  // the margin is measured again this often
inline constexpr std::size_t kSmallFileBytes = 512;       // kept inside an NTFS file record
inline constexpr std::uint64_t kMaxSmallFiles = 20000;    // each is flushed: this is minutes
// The temporary folder's name begins with this.
inline constexpr std::string_view kWipeFolderPrefix = "~ClearvaneWipe";

// The margin for a drive root ("C:\"): kSystemDriveMargin on the drive of
// the Windows folder or of the temporary folder, else nothing.
std::uint64_t WipeMargin(std::string_view drive, std::string_view windowsFolder, std::string_view tempFolder);

enum class WipePhase : std::uint8_t { kFilling, kSmallFiles, kRemoving };

struct WipeProgress {
  WipePhase phase = WipePhase::kFilling;
  std::uint64_t written = 0;  // bytes of the fill so far
  std::uint64_t toWrite = 0;  // the free space above the margin at the start
  std::uint64_t smallFiles = 0;
  std::optional<double> secondsLeft;  // of the filling, once its speed is known
};

class WipeObserver {
 public:
  virtual ~WipeObserver() = default;
  virtual void Progress(const WipeProgress& progress) = 0;
  // Asked after every chunk; a window processes its messages here.
  virtual bool CancelRequested() = 0;
};

enum class WipeOutcome : std::uint8_t { kDone, kCancelled, kFailed };

struct WipeResult {
  WipeOutcome outcome = WipeOutcome::kFailed;
  std::uint64_t written = 0;
  std::uint64_t smallFiles = 0;
  std::uint64_t margin = 0;
  bool leftovers = false;  // something written could not be deleted (its folder is named)
  std::string folder;      // the temporary folder
  std::string text;        // the message for the user
};

class FreeSpaceWiper {
 public:
  // `seconds` is a steady clock, for the estimate of the time left.
  FreeSpaceWiper(FileSystem& files, Volumes& volumes, std::function<double()> seconds)
      : files_(files), volumes_(volumes), seconds_(std::move(seconds)) {}

  // Wipes the free space of the volume holding `root` (a drive root, or a
  // folder on the volume), leaving `margin` bytes free (the small files may
  // take half of it: on NTFS they live in the file table, not in the free
  // space), and writing at most `maxSmallFiles` small files.
  WipeResult Wipe(std::string_view root, std::uint64_t margin, WipeObserver& observer,
                  std::uint64_t maxSmallFiles = kMaxSmallFiles);

 private:
  FileSystem& files_;
  Volumes& volumes_;
  std::function<double()> seconds_;
};

// "About 40 seconds left", "About 12 minutes left", "About 2 hours 5 minutes left".
std::string TimeLeftText(double seconds);

}  // namespace cv
