#include "shredder/shred_command_line.h"

#include <algorithm>
#include <cctype>

#include "app/command_line.h"
#include "clean/path_guard.h"
#include "shredder/free_space_wipe.h"
#include "shredder/shred_list.h"

namespace cv {

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitBadArguments = 2;

bool Cancelled(const CancelRequest* cancel) { return cancel && cancel->Requested(); }

class ConsoleShred : public ShredObserver {
 public:
  ConsoleShred(std::ostream& out, const CancelRequest* cancel) : out_(out), cancel_(cancel) {}
  void RowDone(const ShredRow& row) override { out_ << row.path << '\t' << row.text << '\n'; }
  void Progress(std::uint64_t, std::uint64_t) override {}
  bool CancelRequested() override { return Cancelled(cancel_); }

 private:
  std::ostream& out_;
  const CancelRequest* cancel_;
};

class ConsoleWipe : public WipeObserver {
 public:
  ConsoleWipe(std::ostream& err, const CancelRequest* cancel) : err_(err), cancel_(cancel) {}
  void Progress(const WipeProgress& p) override {
    if (p.phase != WipePhase::kFilling || p.toWrite == 0) return;
    const int percent = static_cast<int>(std::min<std::uint64_t>(100, p.written * 100 / p.toWrite));
    if (percent < shown_ + 10) return;
    shown_ = percent;
    err_ << percent << "%";
    if (p.secondsLeft) err_ << " (" << TimeLeftText(*p.secondsLeft) << ")";
    err_ << '\n';
  }
  bool CancelRequested() override { return Cancelled(cancel_); }

 private:
  std::ostream& err_;
  const CancelRequest* cancel_;
  int shown_ = 0;
};

int Shred(const std::vector<std::string>& args, Platform& platform, std::ostream& out, std::ostream& err,
          const CancelRequest* cancel) {
  int passes = 1;
  std::vector<std::string> paths;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--passes") {
      const std::string value = i + 1 < args.size() ? args[++i] : "";
      if (value != "1" && value != "3" && value != "7") {
        err << "clearvane: --passes takes 1, 3 or 7\n";
        return kExitBadArguments;
      }
      passes = value[0] - '0';
    } else {
      paths.push_back(args[i]);
    }
  }
  if (paths.empty()) {
    err << "clearvane: --shred needs the files or folders to shred\n";
    return kExitBadArguments;
  }
  const PathGuard guard = PathGuard::ForSystem(platform.shell, platform.files);
  ShredList list(platform.files, guard);
  bool refused = false;
  for (const std::string& path : paths) {
    const AddOutcome outcome = list.Add(path);
    if (outcome == AddOutcome::kAdded || outcome == AddOutcome::kAlreadyListed) continue;
    err << "clearvane: " << AddRefusalText(outcome, path) << '\n';
    refused = true;
  }
  ConsoleShred observer(out, cancel);
  const ShredSummary summary = cv::Shred(platform.files, guard, list.Targets(), passes, observer);
  out << ShredSummaryText(summary) << '\n';
  if (summary.cancelled) return kExitCancelled;
  return refused || summary.failed > 0 ? kExitFailed : 0;
}

// "d:", "D:\" and "D:\Some\Folder" name the volume's root or a folder on it.
std::string DriveRoot(const std::string& arg) {
  if (arg.size() < 2 || arg[1] != ':' || !std::isalpha(static_cast<unsigned char>(arg[0]))) return {};
  if (arg.size() == 2) return arg + "\\";
  return arg[2] == '\\' ? arg : std::string();
}

int WipeFreeSpace(const std::vector<std::string>& args, Platform& platform, Volumes& volumes,
                  const std::function<double()>& seconds, std::ostream& out, std::ostream& err,
                  const CancelRequest* cancel) {
  const std::string root = args.size() == 2 ? DriveRoot(args[1]) : std::string();
  if (root.empty()) {
    err << "clearvane: --wipe-free-space takes one drive, such as D:\n";
    return kExitBadArguments;
  }
  const auto entry = platform.files.Stat(root);
  if (!entry || !entry->IsFolder()) {
    err << "clearvane: " << root << " was not found.\n";
    return kExitFailed;
  }
  const std::uint64_t margin = WipeMargin(root, platform.shell.GetWindowsDirectory(),
                                          platform.shell.GetEnvironmentVariable("TEMP").value_or(""));
  FreeSpaceWiper wiper(platform.files, volumes, seconds);
  ConsoleWipe observer(err, cancel);
  const WipeResult result = wiper.Wipe(root, margin, observer);
  out << result.text << '\n';
  switch (result.outcome) {
    case WipeOutcome::kDone:
      return 0;
    case WipeOutcome::kCancelled:
      return kExitCancelled;
    case WipeOutcome::kFailed:
      break;
  }
  return kExitFailed;
}

}  // namespace

bool IsShredCommandLine(const std::vector<std::string>& args) {
  return !args.empty() && (args[0] == "--shred" || args[0] == "--wipe-free-space");
}

int RunShredCommandLine(const std::vector<std::string>& args, Platform& platform, Volumes& volumes,
                        const std::function<double()>& seconds, std::ostream& out, std::ostream& err,
                        const CancelRequest* cancel) {
  if (!IsShredCommandLine(args)) return kExitBadArguments;
  if (args[0] == "--shred") return Shred(args, platform, out, err, cancel);
  return WipeFreeSpace(args, platform, volumes, seconds, out, err, cancel);
}

}  // namespace cv
