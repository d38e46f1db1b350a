#include "finder/file_search.h"

#include <deque>

namespace cv::finder {

namespace {

// The walk's state for one search.
class Search {
 public:
  Search(FileSystem& files, std::string_view searchString, FoundFileSink& sink, const SearchControl& control)
      : files_(files), patterns_(ParseSearchString(searchString)), sink_(sink), control_(control) {
    exactFound_.assign(patterns_.size(), false);
    outcome_.counts.reserve(patterns_.size());
    for (const SearchPattern& pattern : patterns_) outcome_.counts.push_back({pattern.text, 0});
    for (const SearchPattern& pattern : patterns_)
      if (pattern.kind == PatternKind::ExactName && IsPlainFileName(pattern.text)) ++exactOpen_;
  }

  SearchOutcome Run(std::string_view startFolder) {
    if (patterns_.empty()) return outcome_;
    std::deque<std::string> queue{AddBackslash(startFolder)};
    while (!queue.empty()) {
      if (Stopped()) return outcome_;
      std::string folder = std::move(queue.front());
      queue.pop_front();
      const bool descend = !control_.includeSubFolders || control_.includeSubFolders();
      if (control_.folderStarted) control_.folderStarted(folder);
      if (!SearchFolder(folder, descend, queue)) return outcome_;
    }
    outcome_.completed = true;
    return outcome_;
  }

 private:
  bool Stopped() const { return control_.stop && control_.stop->load(std::memory_order_relaxed); }

  // False when the search was stopped inside the folder.
  bool SearchFolder(const std::string& folder, bool descend, std::deque<std::string>& queue) {
    sink_.EnterFolder(folder);
    upperFolder_.clear();
    AsciiUpperInto(folder, upperFolder_);
    folderExcluded_ = IsExcluded(folder, upperFolder_);
    // The file system's own form: no trailing backslash except on a drive root.
    std::string listed = folder;
    if (listed.size() > 3 && listed.back() == '\\') listed.pop_back();

    bool stopped = false;
    if (exactOpen_ > 0) {
      // An exact name is reported at the first file of the folder that holds
      // it, so the folder's files are gathered before any is tested.
      std::vector<FileEntry> entries;
      files_.ListFolder(listed, [&](const FileEntry& entry) {
        if (!stopped && (stopped = Stopped())) return;
        if (Queue(entry, folder, descend, queue)) return;
        if (IsListable(entry)) entries.push_back(entry);
      });
      MarkExactNamesPresent(entries);
      for (const FileEntry& entry : entries) {
        if (stopped || (stopped = Stopped())) break;
        TestFile(entry);
      }
    } else {
      files_.ListFolder(listed, [&](const FileEntry& entry) {
        if (stopped || (stopped = Stopped())) return;
        if (Queue(entry, folder, descend, queue)) return;
        if (IsListable(entry)) TestFile(entry);
      });
    }
    return !stopped;
  }

  // Queues a sub-folder; true for every folder entry, queued or not.
  static bool Queue(const FileEntry& entry, const std::string& folder, bool descend, std::deque<std::string>& queue) {
    if (!entry.IsFolder()) return false;
    if (descend && !entry.IsReparsePoint()) {
      std::string sub = folder;
      sub += entry.name;
      sub += '\\';
      queue.push_back(std::move(sub));
    }
    return true;
  }

  static bool IsListable(const FileEntry& entry) { return !entry.IsFolder() && !entry.IsReparsePoint(); }

  // "win386.swp" in any case or "Recycled" exactly, anywhere in the path.
  // Neither holds a backslash, so a path contains one only inside its folder
  // part or inside its name.
  static bool IsExcluded(std::string_view text, std::string_view upper) {
    return upper.find("WIN386.SWP") != std::string_view::npos || text.find("Recycled") != std::string_view::npos;
  }

  void MarkExactNamesPresent(const std::vector<FileEntry>& entries) {
    present_.assign(patterns_.size(), false);
    for (size_t p = 0; p < patterns_.size(); ++p) {
      const SearchPattern& pattern = patterns_[p];
      if (pattern.kind != PatternKind::ExactName || exactFound_[p] || !IsPlainFileName(pattern.text)) continue;
      for (const FileEntry& entry : entries) {
        AsciiUpperInto(entry.name, upperName_);
        if (upperName_ == pattern.upper) {
          present_[p] = true;
          break;
        }
      }
    }
  }

  void TestFile(const FileEntry& entry) {
    AsciiUpperInto(entry.name, upperName_);
    for (size_t p = 0; p < patterns_.size(); ++p) {
      const SearchPattern& pattern = patterns_[p];
      if (pattern.kind == PatternKind::ExactName) {
        if (exactOpen_ > 0 && !exactFound_[p] && p < present_.size() && present_[p]) {
          sink_.Found(pattern.text, 0, 0, true);
          exactFound_[p] = true;
          --exactOpen_;
          ++outcome_.counts[p].count;
          ++outcome_.lines;
        }
        continue;
      }
      if (!MatchesName(pattern, upperName_)) continue;
      if (folderExcluded_ || IsExcluded(entry.name, upperName_)) continue;
      sink_.Found(entry.name, entry.size, entry.modified, false);
      outcome_.totalBytes += entry.size;
      ++outcome_.counts[p].count;
      ++outcome_.lines;
      return;
    }
  }

  FileSystem& files_;
  std::vector<SearchPattern> patterns_;
  FoundFileSink& sink_;
  const SearchControl& control_;
  SearchOutcome outcome_;
  std::vector<bool> exactFound_;
  std::vector<bool> present_;  // per pattern: the current folder holds the exact name
  size_t exactOpen_ = 0;       // exact-name patterns not yet found
  std::string upperFolder_;
  std::string upperName_;
  bool folderExcluded_ = false;
};

std::string ThousandsText(std::uint64_t bytes, char decimalSeparator) {
  std::string text = std::to_string(bytes / 1000);
  std::uint64_t fraction = bytes % 1000;
  if (fraction == 0) return text;
  std::string digits = std::to_string(fraction);
  digits.insert(0, 3 - digits.size(), '0');
  while (digits.back() == '0') digits.pop_back();
  text += decimalSeparator;
  return text + digits;
}

}  // namespace

std::string AddBackslash(std::string_view path) {
  std::string result(path);
  if (result.empty() || result.back() != '\\') result += '\\';
  return result;
}

SearchOutcome FindFiles(FileSystem& files, std::string_view startFolder, std::string_view searchString,
                        FoundFileSink& sink, const SearchControl& control) {
  return Search(files, searchString, sink, control).Run(startFolder);
}

std::string SummaryText(const SearchOutcome& outcome, char decimalSeparator) {
  std::string counts;
  for (const PatternCount& pattern : outcome.counts) {
    counts += "    ";
    counts += pattern.text;
    counts += " - ";
    counts += std::to_string(pattern.count);
  }
  return std::to_string(outcome.lines) + "  Files Found  " + counts +
         "\r\nTotal size: " + ThousandsText(outcome.totalBytes, decimalSeparator) + "kb";
}

}  // namespace cv::finder
