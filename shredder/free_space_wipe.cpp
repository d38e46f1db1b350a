#include "shredder/free_space_wipe.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "app/analysis.h"
#include "platform/text.h"

namespace cv {
namespace {

// xoshiro256**: random enough that no old byte survives, fast enough that the
// disk, not the generator, sets the pace.
class FillBytes {
 public:
  FillBytes() {
    std::random_device device;
    for (auto& word : state_) word = (static_cast<std::uint64_t>(device()) << 32) ^ device();
  }
  void Fill(std::vector<unsigned char>& buffer) {
    for (std::size_t i = 0; i < buffer.size(); i += 8) {
      const std::uint64_t word = Next();
      const std::size_t n = std::min<std::size_t>(8, buffer.size() - i);
      for (std::size_t k = 0; k < n; ++k) buffer[i + k] = static_cast<unsigned char>(word >> (8 * k));
    }
  }

 private:
  static std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  std::uint64_t Next() {
    const std::uint64_t result = Rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = Rotl(state_[3], 45);
    return result;
  }
  std::array<std::uint64_t, 4> state_{};
};

std::string Join(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (out.empty() || out.back() != '\\') out += '\\';
  return out + std::string(name);
}

char DriveOf(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' ? static_cast<char>(std::tolower(static_cast<unsigned char>(path[0]))) : 0;
}

std::string Numbered(const char* prefix, std::uint64_t n) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%06llu.tmp", prefix, static_cast<unsigned long long>(n));
  return name;
}

// The names this wiper gives its files: only such files are ever deleted
// from a folder that looks like one of its own.
bool IsFillName(std::string_view name) {
  const std::string folded = FoldCase(name);
  const auto numbered = [&](std::string_view prefix) {
    if (folded.size() != prefix.size() + 10 || folded.compare(0, prefix.size(), prefix) != 0) return false;
    if (folded.compare(folded.size() - 4, 4, ".tmp") != 0) return false;
    return std::all_of(folded.begin() + static_cast<std::ptrdiff_t>(prefix.size()), folded.end() - 4,
                       [](unsigned char c) { return std::isdigit(c) != 0; });
  };
  return numbered("fill-") || numbered("s");
}

bool IsWipeFolderName(std::string_view name) { return FoldCase(name).rfind(FoldCase(kWipeFolderPrefix), 0) == 0; }

class WipeRun {
 public:
  WipeRun(FileSystem& files, Volumes& volumes, const std::function<double()>& seconds, WipeObserver& observer,
          std::uint64_t margin, std::uint64_t maxSmallFiles)
      : files_(files),
        volumes_(volumes),
        seconds_(seconds),
        observer_(observer),
        margin_(margin),
        maxSmallFiles_(maxSmallFiles) {}

  WipeResult Run(std::string_view root) {
    result_.margin = margin_;
    const auto space = volumes_.Space(root);
    if (!space) return Failed("The free space of " + std::string(root) + " cannot be read.");
    RemoveLeftovers(root);
    if (!MakeFolder(root)) return Failed("No temporary folder can be made on " + std::string(root) + ".");
    const auto now = volumes_.Space(root);
    const std::uint64_t free = now ? now->freeBytes : space->freeBytes;
    progress_.toWrite = free > margin_ ? free - margin_ : 0;
    start_ = seconds_();

    Status status = Fill(root);
    if (status == kOk && !cancelled_) status = SmallFiles(root);
    RemoveWritten();
    result_.written = progress_.written;
    result_.smallFiles = progress_.smallFiles;
    if (result_.leftovers) {
      result_.outcome = WipeOutcome::kFailed;
      result_.text = "Some of the files written could not be deleted: delete the folder " + result_.folder + ".";
    } else if (cancelled_) {
      result_.outcome = WipeOutcome::kCancelled;
      result_.text = "Cancelled. Everything written has been deleted again.";
    } else if (status != kOk) {
      result_.outcome = WipeOutcome::kFailed;
      result_.text = "Writing failed (error " + std::to_string(status) + "); everything written has been deleted.";
    } else if (progress_.toWrite == 0 && margin_ > 0) {
      result_.outcome = WipeOutcome::kDone;
      result_.text = "Nothing to wipe: the free space of " + std::string(root) + " is within the " +
                     SizeText(static_cast<double>(margin_)) + " left free for Windows.";
    } else {
      result_.outcome = WipeOutcome::kDone;
      result_.text = "Free space wiped: " + SizeText(static_cast<double>(progress_.written)) + " overwritten";
      result_.text += margin_ ? ", " + SizeText(static_cast<double>(margin_)) + " left free for Windows." : ".";
    }
    return result_;
  }

 private:
  WipeResult Failed(std::string text) {
    result_.outcome = WipeOutcome::kFailed;
    result_.text = std::move(text);
    return result_;
  }

  bool Cancelled() {
    if (!cancelled_) cancelled_ = observer_.CancelRequested();
    return cancelled_;
  }

  void Report() {
    const double elapsed = seconds_() - start_;
    progress_.secondsLeft.reset();
    if (progress_.phase == WipePhase::kFilling && elapsed >= 1 && progress_.written > 0) {
      const double rate = static_cast<double>(progress_.written) / elapsed;
      progress_.secondsLeft =
          static_cast<double>(progress_.toWrite - std::min(progress_.written, progress_.toWrite)) / rate;
    }
    observer_.Progress(progress_);
  }

  // A wipe cut short left its folder: only the files it names as its own go,
  // and the folder only when that empties it.
  void RemoveLeftovers(std::string_view root) {
    std::vector<std::string> folders;
    files_.ListFolder(root, [&](const FileEntry& entry) {
      if (entry.IsFolder() && !entry.IsReparsePoint() && IsWipeFolderName(entry.name)) folders.push_back(entry.path);
    });
    for (const std::string& folder : folders) {
      std::vector<std::string> fills;
      files_.ListFolder(folder, [&](const FileEntry& entry) {
        if (!entry.IsFolder() && IsFillName(entry.name)) fills.push_back(entry.path);
      });
      for (const std::string& file : fills) files_.DeleteFile(file, true);
      files_.RemoveFolder(folder, false);
    }
  }

  bool MakeFolder(std::string_view root) {
    for (int n = 1; n <= 100; ++n) {
      std::string name(kWipeFolderPrefix);
      if (n > 1) name += "-" + std::to_string(n);
      const std::string folder = Join(root, name);
      const Status status = files_.CreateFolder(folder);
      if (status == kOk) {
        result_.folder = folder;
        return true;
      }
      if (status != kErrAlreadyExists) return false;
    }
    return false;
  }

  // Room left above the margin now, as the volume reports it.
  std::uint64_t RoomAboveMargin(std::string_view root) {
    const auto space = volumes_.Space(root);
    if (!space) return 0;
    return space->freeBytes > margin_ ? space->freeBytes - margin_ : 0;
  }

  // Room left above the margin; without a margin, writing goes on until the
  // volume is full (space kept for the system's own use included, where the
  // volume lets this user write there).
  std::uint64_t Room(std::string_view root) {
    return margin_ == 0 ? std::numeric_limits<std::uint64_t>::max() : RoomAboveMargin(root);
  }

  Status Fill(std::string_view root) {
    std::vector<unsigned char> buffer(kFillChunkBytes);
    std::uint64_t room = margin_ == 0 ? Room(root) : progress_.toWrite;
    for (std::uint64_t index = 1; room > 0; ++index) {
      const std::string path = Join(result_.folder, Numbered("fill-", index));
      std::unique_ptr<StreamFile> file;
      Status status = volumes_.CreateStreamFile(path, file);
      if (status == kErrDiskFull) return kOk;
      if (status != kOk) return status;
      written_.push_back(path);
      std::uint64_t inFile = 0;
      while (room > 0 && inFile < kFillFileBytes) {
        const std::size_t chunk =
            static_cast<std::size_t>(std::min<std::uint64_t>({room, kFillChunkBytes, kFillFileBytes - inFile}));
        buffer.resize(chunk);
        bytes_.Fill(buffer);
        status = file->Append(buffer.data(), chunk);
        if (status == kErrDiskFull) {
          file->Flush();
          return kOk;  // full: the fill is complete
        }
        if (status != kOk) return status;
        inFile += chunk;
        progress_.written += chunk;
        room -= chunk;
        // Other programs write too: the margin is measured again as the fill goes.
        if (++chunks_ % kChunksPerSpaceCheck == 0) room = std::min(room, Room(root));
        Report();
        if (Cancelled()) return kOk;
      }
      if (Status flushed = file->Flush(); flushed != kOk && flushed != kErrDiskFull) return flushed;
      room = std::min(room, Room(root));
    }
    return kOk;
  }

  Status SmallFiles(std::string_view root) {
    progress_.phase = WipePhase::kSmallFiles;
    std::vector<unsigned char> buffer(kSmallFileBytes);
    const std::uint64_t keep = margin_ / 2;
    for (std::uint64_t n = 1; n <= maxSmallFiles_; ++n) {
      if (n % 256 == 1 && margin_ > 0) {
        const auto space = volumes_.Space(root);
        if (!space || space->freeBytes <= keep) break;
      }
      const std::string path = Join(result_.folder, Numbered("s", n));
      std::unique_ptr<StreamFile> file;
      if (volumes_.CreateStreamFile(path, file) != kOk) break;  // the file table is full too
      written_.push_back(path);
      bytes_.Fill(buffer);
      const Status status = file->Append(buffer.data(), buffer.size());
      file->Flush();
      ++progress_.smallFiles;
      if (status != kOk) break;
      if (n % 64 == 0) {
        Report();
        if (Cancelled()) break;
      }
    }
    return kOk;
  }

  void RemoveWritten() {
    progress_.phase = WipePhase::kRemoving;
    Report();
    for (const std::string& path : written_) {
      if (files_.DeleteFile(path, true) != kOk && files_.Stat(path)) result_.leftovers = true;
    }
    if (!result_.folder.empty() && files_.RemoveFolder(result_.folder, true) != kOk && files_.Stat(result_.folder))
      result_.leftovers = true;
  }

  FileSystem& files_;
  Volumes& volumes_;
  const std::function<double()>& seconds_;
  WipeObserver& observer_;
  std::uint64_t margin_;
  std::uint64_t maxSmallFiles_;
  WipeResult result_;
  WipeProgress progress_;
  FillBytes bytes_;
  std::vector<std::string> written_;
  std::uint64_t chunks_ = 0;
  double start_ = 0;
  bool cancelled_ = false;
};

}  // namespace

std::uint64_t WipeMargin(std::string_view drive, std::string_view windowsFolder, std::string_view tempFolder) {
  const char letter = DriveOf(drive);
  if (letter == 0) return kSystemDriveMargin;  // not a drive path: take no chances
  return letter == DriveOf(windowsFolder) || letter == DriveOf(tempFolder) ? kSystemDriveMargin : 0;
}

WipeResult FreeSpaceWiper::Wipe(std::string_view root, std::uint64_t margin, WipeObserver& observer,
                                std::uint64_t maxSmallFiles) {
  return WipeRun(files_, volumes_, seconds_, observer, margin, maxSmallFiles).Run(root);
}

std::string TimeLeftText(double seconds) {
  const long total = std::lround(std::max(0.0, seconds));
  if (total < 60) return "About " + std::to_string(std::max(5L, (total + 4) / 5 * 5)) + " seconds left";
  const long minutes = (total + 30) / 60;
  if (minutes < 90) return "About " + std::to_string(minutes) + (minutes == 1 ? " minute left" : " minutes left");
  const long hours = minutes / 60;
  const long rest = minutes % 60;
  std::string text = "About " + std::to_string(hours) + (hours == 1 ? " hour" : " hours");
  if (rest) text += " " + std::to_string(rest) + (rest == 1 ? " minute" : " minutes");
  return text + " left";
}

}  // namespace cv
