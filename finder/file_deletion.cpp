#include "finder/file_deletion.h"

#include "finder/search_pattern.h"
#include "platform/text.h"

namespace cv::finder {

namespace {

enum class Target { Deletable, Gone, Refused };

// Checks the path from the searched folder down: every folder between must
// still be a real folder (not a link), and the file a plain file.
Target Check(FileSystem& files, std::string_view root, std::string_view path) {
  std::string base(root);
  if (base.empty() || base.back() != '\\') base += '\\';
  if (path.size() <= base.size() || !EqualsNoCase(path.substr(0, base.size()), base)) return Target::Refused;
  const std::string_view rest = path.substr(base.size());
  size_t start = 0;
  while (true) {
    const size_t end = rest.find('\\', start);
    const std::string_view part =
        rest.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!IsPlainFileName(part)) return Target::Refused;
    base += part;
    const auto entry = files.Stat(base);
    if (!entry) return Target::Gone;
    if (entry->IsReparsePoint()) return Target::Refused;
    if (end == std::string_view::npos) return entry->IsFolder() ? Target::Refused : Target::Deletable;
    if (!entry->IsFolder()) return Target::Refused;
    base += '\\';
    start = end + 1;
  }
}

}  // namespace

DeletionOutcome DeleteFoundFiles(FileSystem& files, RecycleBin* recycleBin, std::string_view searchedFolder,
                                 const std::vector<std::string>& paths, const std::atomic<bool>* stop) {
  DeletionOutcome outcome;
  for (const std::string& path : paths) {
    if (stop && stop->load(std::memory_order_relaxed)) break;
    switch (Check(files, searchedFolder, path)) {
      case Target::Gone:
        continue;  // already away: nothing to do, nothing to report
      case Target::Refused:
        outcome.kept.push_back(path);
        continue;
      case Target::Deletable:
        break;
    }
    const Status status = recycleBin ? recycleBin->Recycle(path) : files.DeleteFile(path, false);
    if (status == kOk)
      ++outcome.deleted;
    else
      outcome.kept.push_back(path);
  }
  return outcome;
}

std::string KeptFilesLine(const DeletionOutcome& outcome) {
  if (outcome.kept.empty()) return {};
  std::string line = std::to_string(outcome.kept.size());
  line += outcome.kept.size() == 1 ? " file could not be deleted: " : " files could not be deleted: ";
  // The line names the first files; a long tail is only counted.
  constexpr size_t kNamed = 20;
  for (size_t i = 0; i < outcome.kept.size() && i < kNamed; ++i) {
    if (i > 0) line += "; ";
    line += outcome.kept[i];
  }
  if (outcome.kept.size() > kNamed) line += "; and " + std::to_string(outcome.kept.size() - kNamed) + " more";
  return line;
}

}  // namespace cv::finder
