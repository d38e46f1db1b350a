#include "shredder/shred_list.h"

#include <algorithm>
#include <memory>

#include "platform/fso.h"

namespace cv {
namespace {

// "C:\a\b.txt" -> "C:\a" and "b.txt"; the parent of "C:\a" is "C:\".
std::string ParentOf(std::string_view path) {
  const auto cut = path.rfind('\\');
  if (cut == std::string_view::npos) return {};
  return std::string(path.substr(0, cut == 2 ? 3 : cut));
}
std::string_view LeafOf(std::string_view path) { return path.substr(path.rfind('\\') + 1); }

std::string WithoutTrailingBackslash(std::string_view path) {
  std::string out(path);
  while (out.size() > 3 && out.back() == '\\') out.pop_back();
  return out;
}

bool IsSameOrBelow(std::string_view path, std::string_view folder) {
  if (path.size() < folder.size() || path.compare(0, folder.size(), folder) != 0) return false;
  return path.size() == folder.size() || folder.back() == '\\' || path[folder.size()] == '\\';
}

std::string NotOverwrittenReason(OverwriteResult content) {
  switch (content) {
    case OverwriteResult::kLink:
      return "a link; what it leads to is kept";
    case OverwriteResult::kHardLink:
      return "another name shares its data";
    case OverwriteResult::kSparse:
      return "sparse file";
    case OverwriteResult::kCompressed:
      return "compressed file";
    case OverwriteResult::kEncrypted:
      return "encrypted file";
    case OverwriteResult::kOverwritten:
    case OverwriteResult::kFailed:
      break;
  }
  return "could not be opened for writing";
}

std::string FailureText(Status status) {
  switch (status) {
    case kErrFileNotFound:
    case kErrPathNotFound:
      return "Failed: not found";
    case kErrSharingViolation:
      return "Failed: in use by another program";
    case kErrAccessDenied:
      return "Failed: access denied";
    case kErrDirNotEmpty:
      return "Failed: not empty (something in it could not be deleted)";
    default:
      return "Failed: error " + std::to_string(status);
  }
}

ShredRow FileRow(std::string path, Status status, OverwriteResult content) {
  if (status != kOk) return {std::move(path), ShredOutcome::kFailed, FailureText(status)};
  if (content == OverwriteResult::kOverwritten) return {std::move(path), ShredOutcome::kShredded, "Shredded"};
  return {std::move(path), ShredOutcome::kDeletedPlainly,
          "Deleted (not overwritten: " + NotOverwrittenReason(content) + ")"};
}

class Run {
 public:
  Run(FileSystem& files, const PathGuard& guard, int passes, std::uint64_t total, ShredObserver& observer)
      : files_(files), fso_(files), guard_(guard), passes_(passes), total_(total), observer_(observer) {}

  void Target(const ShredTarget& target) {
    const auto entry = files_.Stat(target.path);
    if (!entry) return Report({target.path, ShredOutcome::kFailed, FailureText(kErrFileNotFound)});
    if (entry->IsReparsePoint()) return RemoveLink(target.path);
    if (entry->IsFolder()) return Folder(target.path);
    if (!guard_.AllowsFile(target.path)) return Report({target.path, ShredOutcome::kFailed, "Failed: protected"});
    auto parent = files_.OpenFolder(ParentOf(target.path));
    if (!parent) return Report({target.path, ShredOutcome::kFailed, FailureText(kErrPathNotFound)});
    File(*parent, target.path, LeafOf(target.path), entry->size, entry->attributes);
  }

  bool Cancelled() {
    if (!cancelled_) cancelled_ = observer_.CancelRequested();
    return cancelled_;
  }
  ShredSummary Summary() const { return summary_; }
  void Report(const ShredRow& row) {
    switch (row.outcome) {
      case ShredOutcome::kShredded:
        ++summary_.shredded;
        break;
      case ShredOutcome::kDeletedPlainly:
        ++summary_.deletedPlainly;
        break;
      case ShredOutcome::kFailed:
        ++summary_.failed;
        break;
      case ShredOutcome::kRemoved:
        break;
      case ShredOutcome::kCancelled:
        summary_.cancelled = true;
        break;
    }
    observer_.RowDone(row);
  }

 private:
  void File(cv::Folder& in, std::string path, std::string_view name, std::uint64_t size, std::uint32_t attributes) {
    // A read-only file the user chose goes too: writable first, so that its
    // content can be overwritten (and read-only again if it stays).
    const bool readOnly = (attributes & kAttrReadOnly) != 0;
    if (readOnly) in.SetEntryAttributes(name, attributes & ~kAttrReadOnly & ~kAttrDirectory);
    OverwriteResult content = OverwriteResult::kFailed;
    const Status status = in.DeleteEntryOverwritten(name, true, passes_, &content);
    if (readOnly && status != kOk) in.SetEntryAttributes(name, attributes & ~kAttrDirectory);
    Report(FileRow(std::move(path), status, content));
    done_ += size;
    observer_.Progress(std::min(done_, total_), total_);
  }

  void RemoveLink(const std::string& path) {
    auto parent = files_.OpenFolder(ParentOf(path));
    const Status status = parent ? parent->DeleteEntry(LeafOf(path), true) : kErrPathNotFound;
    Report(FileRow(path, status, OverwriteResult::kLink));
  }

  void Folder(const std::string& path) {
    const auto refuse = [&] { Report({path, ShredOutcome::kFailed, "Failed: protected folder"}); };
    if (!guard_.AllowsFolder(path)) return refuse();
    auto root = files_.OpenFolder(path);
    if (!root) return Report({path, ShredOutcome::kFailed, FailureText(kErrPathNotFound)});
    if (const auto identity = root->Identity(); identity && !guard_.AllowsIdentity(*identity)) return refuse();

    bool complete = true;
    const auto walked = fso_.Walk(
        *root,
        [&](cv::Folder& in, const FileEntry& entry) {
          if (Cancelled()) {
            complete = false;
            return false;
          }
          if (entry.IsFolder() && !entry.IsReparsePoint()) return true;
          if (entry.IsReparsePoint()) {
            Report(FileRow(entry.path, in.DeleteEntry(entry.name, true), OverwriteResult::kLink));
          } else {
            File(in, entry.path, entry.name, entry.size, entry.attributes);
          }
          return false;
        },
        [&](cv::Folder& in, const FileEntry& sub) {
          if (!cancelled_) in.DeleteEntry(sub.name, true);  // fails, harmlessly, when something stayed
        });
    if (cancelled_) return Report({path, ShredOutcome::kCancelled, "Partly shredded: cancelled"});
    if (!walked.complete) complete = false;
    root.reset();
    auto parent = files_.OpenFolder(ParentOf(path));
    const Status status = !parent ? kErrPathNotFound : parent->DeleteEntry(LeafOf(path), true);
    if (status == kOk && complete)
      Report({path, ShredOutcome::kRemoved, "Folder removed"});
    else
      Report({path, ShredOutcome::kFailed, FailureText(status == kOk ? kErrDirNotEmpty : status)});
  }

  FileSystem& files_;
  FileSystemObject fso_;
  const PathGuard& guard_;
  int passes_;
  std::uint64_t total_;
  std::uint64_t done_ = 0;
  ShredObserver& observer_;
  ShredSummary summary_;
  bool cancelled_ = false;
};

}  // namespace

std::string AddRefusalText(AddOutcome outcome, std::string_view path) {
  const std::string name(path);
  switch (outcome) {
    case AddOutcome::kAdded:
      return {};
    case AddOutcome::kAlreadyListed:
      return name + " is already in the list.";
    case AddOutcome::kNotFound:
      return name + " was not found.";
    case AddOutcome::kNotFullPath:
      return "\"" + name + "\" is not a full path (such as C:\\Folder\\File.txt).";
    case AddOutcome::kProtected:
      return name +
             " is protected: Windows, the program folders, your profile and the drives themselves "
             "cannot be shredded.";
  }
  return {};
}

AddOutcome ShredList::Add(std::string_view pathIn) {
  const std::string path = WithoutTrailingBackslash(pathIn);
  const std::string key = PathGuard::Normalize(path);
  if (key.empty()) return AddOutcome::kNotFullPath;
  for (const ShredTarget& target : targets_) {
    const std::string listed = PathGuard::Normalize(target.path);
    if (IsSameOrBelow(key, listed) && (key == listed || target.kind == ShredTargetKind::kFolder))
      return AddOutcome::kAlreadyListed;
  }
  const auto entry = files_.Stat(path);
  if (!entry) return AddOutcome::kNotFound;

  ShredTarget target{path, ShredTargetKind::kFile, entry->size, 1};
  if (entry->IsReparsePoint()) {
    target = {path, ShredTargetKind::kLink, 0, 0};
  } else if (entry->IsFolder()) {
    if (!guard_.AllowsFolder(path)) return AddOutcome::kProtected;
    target = {path, ShredTargetKind::kFolder, 0, 0};
    FileSystemObject fso(files_);
    if (auto folder = fso.OpenFolder(path)) {
      fso.Walk(*folder, [&](Folder&, const FileEntry& inside) {
        if (inside.IsFolder()) return !inside.IsReparsePoint();
        target.bytes += inside.size;
        ++target.files;
        return false;
      });
    }
    // What the folder holds leaves the list as entries of its own.
    std::erase_if(targets_,
                  [&](const ShredTarget& listed) { return IsSameOrBelow(PathGuard::Normalize(listed.path), key); });
  } else if (!guard_.AllowsFile(path)) {
    return AddOutcome::kProtected;
  }
  targets_.push_back(std::move(target));
  return AddOutcome::kAdded;
}

void ShredList::Remove(std::size_t index) {
  if (index < targets_.size()) targets_.erase(targets_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::uint64_t ShredList::TotalBytes() const {
  std::uint64_t total = 0;
  for (const ShredTarget& target : targets_) total += target.bytes;
  return total;
}

std::string PlannedActionText(const ShredTarget& target, int passes) {
  const std::string times = passes == 1 ? "once" : std::to_string(passes) + " times";
  switch (target.kind) {
    case ShredTargetKind::kFile:
      return "Overwrite " + times + ", then delete";
    case ShredTargetKind::kLink:
      return "Delete the link only";
    case ShredTargetKind::kFolder:
      return "Overwrite " + std::to_string(target.files) + (target.files == 1 ? " file " : " files ") + times +
             ", then delete the folder";
  }
  return {};
}

ShredSummary Shred(FileSystem& files, const PathGuard& guard, const std::vector<ShredTarget>& targets, int passes,
                   ShredObserver& observer) {
  std::uint64_t total = 0;
  for (const ShredTarget& target : targets) total += target.bytes;
  Run run(files, guard, std::clamp(passes, 1, kOverwritePassLimit), total, observer);
  for (const ShredTarget& target : targets) {
    if (run.Cancelled()) {
      run.Report({target.path, ShredOutcome::kCancelled, "Not shredded: cancelled"});
      continue;
    }
    run.Target(target);
  }
  return run.Summary();
}

std::string ShredSummaryText(const ShredSummary& summary) {
  const auto count = [](std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
  };
  std::string text = "Shredded " + count(summary.shredded, "file", "files");
  if (summary.deletedPlainly) text += ", " + std::to_string(summary.deletedPlainly) + " deleted without overwriting";
  if (summary.failed) text += ", " + std::to_string(summary.failed) + " failed";
  text += summary.cancelled ? "; cancelled." : ".";
  return text;
}

}  // namespace cv
