#include "clean/browser_clean.h"

#include <vector>

#include "clean/browser_db.h"
#include "clean/browser_profiles.h"
#include "clean/run_context.h"
#include "keep/domain_keep_list.h"

namespace cv {

namespace {

std::string Below(const std::string& folder, std::string_view relative) {
  std::string path = folder;
  if (!path.empty() && path.back() != '\\') path += '\\';
  path.append(relative);
  return path;
}

std::string_view FileName(std::string_view path) {
  const std::size_t cut = path.find_last_of('\\');
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

class BrowserCleaner {
 public:
  BrowserCleaner(RunContext& run, const BrowserSpec& browser, TraceKind kind)
      : run_(run), browser_(browser), kind_(kind), tick_([&run] { run.Pump(); }) {}

  void Run() {
    const BrowserFolders folders = FoldersOf(browser_, run_.values.AppDataFolder, run_.values.LocalAppDataFolder);
    const ProfileScan scan =
        FindProfiles(run_.platform.files, run_.erase.Guard(), browser_, folders, UserDataFoldersOf(run_.platform));
    for (const std::string& refused : scan.refused) notes_.push_back(refused + ", not cleaned");
    if (scan.profiles.empty()) return Finish();

    const bool chromium = browser_.family == BrowserFamily::kChromium;
    if (chromium && IsLockHeld(run_.platform.files, Below(folders.root, kChromiumLockFile), browser_.family)) {
      run_.SetFinalStatus(SkippedRunningText(browser_));
      return;
    }
    if (kind_ == TraceKind::kCookies)
      keep_ = DomainKeepList::Load(run_.platform.files, run_.ProgramFile(kDomainKeepFileName));

    std::size_t skipped = 0;
    for (const BrowserProfile& profile : scan.profiles) {
      if (!chromium && IsLockHeld(run_.platform.files, Below(profile.folder, kFirefoxLockFile), browser_.family)) {
        ++skipped;
        continue;
      }
      CleanProfile(profile, folders);
      run_.Pump();
    }
    if (skipped == scan.profiles.size()) {
      run_.SetFinalStatus(SkippedRunningText(browser_));
      return;
    }
    if (skipped > 0)
      notes_.insert(notes_.begin(), std::to_string(skipped) + (skipped == 1 ? " profile" : " profiles") +
                                        " skipped: " + std::string(browser_.name) + " is running");
    if (!chromium) return Finish();
    // The user-data folder's own traces, shared by all profiles.
    for (const TraceSpec& trace : Traces())
      if (trace.family == browser_.family && trace.kind == kind_ && trace.scope == TraceScope::kRoot)
        Apply(trace, Below(folders.root, trace.path));
    Finish();
  }

 private:
  void CleanProfile(const BrowserProfile& profile, const BrowserFolders& folders) {
    for (const TraceSpec& trace : Traces()) {
      if (trace.family != browser_.family || trace.kind != kind_) continue;
      switch (trace.scope) {
        case TraceScope::kProfile:
          Apply(trace, Below(profile.folder, trace.path));
          break;
        case TraceScope::kLocal:
          Apply(trace, Below(profile.localFolder, trace.path));
          if (profile.localFolder != profile.folder) Apply(trace, Below(profile.folder, trace.path));
          break;
        case TraceScope::kRoot:
          break;  // once per browser, after the profiles
      }
    }
  }

  void Apply(const TraceSpec& trace, const std::string& path) {
    switch (trace.action) {
      case TraceAction::kFile:
        run_.BytesReleased += run_.erase.DeleteSingleFile(path);
        for (std::string_view companion : kDatabaseCompanions)
          run_.BytesReleased += run_.erase.DeleteSingleFile(path + std::string(companion));
        break;
      case TraceAction::kFolder:
        run_.BytesReleased += run_.erase.DeleteFolderTree(path);
        break;
      default:
        CleanRows(trace, path);
        break;
    }
  }

  void CleanRows(const TraceSpec& trace, const std::string& path) {
    if (!run_.erase.Guard().AllowsFile(path)) {
      run_.ReportRefused(EntryKind::File, path);
      return;
    }
    const DatabaseCleanResult result =
        CleanDatabaseRows(run_.platform.files, path, browser_.family, trace.action, keep_, run_.Preview(), tick_);
    if (!result.present) return;
    if (!result.untouchedBecause.empty()) {
      notes_.push_back(std::string(FileName(path)) + " " + result.untouchedBecause + ", left untouched (" + path + ")");
      if (result.untouchedBecause == "is a link") run_.ReportRefused(EntryKind::File, path);
      return;
    }
    run_.BytesReleased += static_cast<double>(result.bytesFreed);
    for (const RemovedRows& removed : result.removed) {
      if (removed.rows == 0) continue;
      EraseEntry entry;
      entry.kind = EntryKind::Rows;
      entry.path = path + " [" + removed.table + "]";
      entry.rows = removed.rows;
      run_.ReportEntry(entry);
    }
    if (!result.checkedAfter)
      notes_.push_back(std::string(FileName(path)) + " failed its integrity check (" + path + ")");
  }

  void Finish() {
    if (notes_.empty()) return;
    std::string text = "Done; ";
    for (std::size_t i = 0; i < notes_.size(); ++i) text += (i ? "; " : "") + notes_[i];
    run_.SetFinalStatus(text);
  }

  RunContext& run_;
  const BrowserSpec& browser_;
  TraceKind kind_;
  std::function<void()> tick_;
  DomainKeepList keep_;
  std::vector<std::string> notes_;
};

}  // namespace

bool IsLockHeld(FileSystem& files, std::string_view lockFile, BrowserFamily family) {
  const auto entry = files.Stat(lockFile);
  if (!entry || entry->IsFolder()) return false;
  if (family == BrowserFamily::kChromium) return true;
  std::string ignored;
  const Status status = files.ReadFile(lockFile, ignored);
  return status != kOk && status != kErrFileNotFound && status != kErrPathNotFound;
}

std::string SkippedRunningText(const BrowserSpec& browser) {
  return "Skipped: " + std::string(browser.name) + " is running";
}

void CleanBrowserTraces(RunContext& run, const BrowserSpec& browser, TraceKind kind) {
  BrowserCleaner(run, browser, kind).Run();
}

}  // namespace cv
