// Times the erasure primitives against the system's own tools on identical
// trees, in one run, for a cache-like tree (many files in hashed sub-folders)
// and a deep chain. Each side runs in its own child process, so its peak
// memory is its own; the sides take turns for --rounds rounds and the median
// time is reported.
//
// Natively, on the emulated platform:
//   DeleteAllFilesInTree  vs  find <tree> -type f -delete   (files go, folders stay)
//   EmptyFolder           vs  rm -rf <tree>; mkdir <tree>
// With --wine EXE SANDBOX, the Windows build's bench_erase_win.exe under Wine
// (SANDBOX is the host folder of drive S: of a sandbox prefix):
//   DeleteAllFilesInTree  vs  cmd /c del /s /q /a <tree>\*
//   EmptyFolder           vs  cmd /c rd /s /q <tree> && md <tree>
//
// usage: bench_erase [--files N] [--depth N] [--rounds N] [--dir HOSTFOLDER]   (0 files or depth 0: case left out)
//        bench_erase --wine EXE SANDBOX [--files N] [--depth N] [--rounds N]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "bench_process.h"
#include "clean/allerase.h"
#include "platform/emulated/emulated_filesystem.h"
#include "platform/emulated/emulated_registry.h"
#include "platform/emulated/emulated_shell.h"

namespace {

namespace fs = std::filesystem;
using bench::InChild;
using bench::Measure;
using bench::Median;
using bench::RunTool;

// Creates a file of `size` bytes without writing data (sparse), relative to `dir`.
bool MakeFile(int dir, const char* name, off_t size) {
  const int fd = ::openat(dir, name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool ok = ::ftruncate(fd, size) == 0;
  ::close(fd);
  return ok;
}

// 256 folders "00".."ff", each with two sub-folders, files spread over them
// with cache-like names and sizes of 1 to 64 KB.
bool MakeCacheTree(const fs::path& root, int files) {
  fs::create_directories(root);
  std::mt19937 random(42);
  const int rootFd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (rootFd < 0) return false;
  std::vector<int> leaves;
  char name[64];
  for (int i = 0; i < 256; ++i) {
    std::snprintf(name, sizeof name, "%02x", i);
    ::mkdirat(rootFd, name, 0755);
    const int fd = ::openat(rootFd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const char* sub : {"a", "b"}) {
      ::mkdirat(fd, sub, 0755);
      leaves.push_back(::openat(fd, sub, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }
    ::close(fd);
  }
  bool ok = true;
  for (int i = 0; i < files && ok; ++i) {
    std::snprintf(name, sizeof name, "%08X%08X_%d", static_cast<unsigned>(random()), static_cast<unsigned>(random()),
                  i);
    ok = MakeFile(leaves[static_cast<size_t>(i) % leaves.size()], name, 1024 + random() % (63 * 1024));
  }
  for (int fd : leaves) ::close(fd);
  ::close(rootFd);
  return ok;
}

// A chain root/d/d/... `depth` levels deep, each level holding one file.
// Built with *at() calls so no path length limit applies.
bool MakeDeepTree(const fs::path& root, int depth) {
  fs::create_directories(root);
  int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  bool ok = fd >= 0;
  for (int level = 0; level < depth && ok; ++level) {
    ok = MakeFile(fd, "f", 100) && ::mkdirat(fd, "d", 0755) == 0;
    const int next = ok ? ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    ::close(fd);
    fd = next;
    ok = ok && fd >= 0;
  }
  if (fd >= 0) ::close(fd);
  return ok;
}

// Creates a folder and the folders above it.
void MakeFolders(cv::FileSystem& files, const std::string& path) {
  for (size_t cut = path.find('\\', 3);; cut = path.find('\\', cut + 1)) {
    files.CreateFolder(path.substr(0, cut));
    if (cut == std::string::npos) break;
  }
}

// The guard a run builds, for a machine laid out as Windows lays it out.
cv::PathGuard SystemGuard(cv::emulated::EmulatedShell& shell, cv::FileSystem& files) {
  for (const auto& [name, value] : {std::pair{"SystemRoot", "C:\\Windows"},
                                    {"windir", "C:\\Windows"},
                                    {"ProgramFiles", "C:\\Program Files"},
                                    {"ProgramData", "C:\\ProgramData"},
                                    {"USERPROFILE", "C:\\Users\\Bench"},
                                    {"APPDATA", "C:\\Users\\Bench\\AppData\\Roaming"},
                                    {"LOCALAPPDATA", "C:\\Users\\Bench\\AppData\\Local"}})
    shell.SetEnvironmentVariable(name, value);
  shell.windowsDirectory = "C:\\Windows";
  shell.programFolder = "C:\\Program Files\\Clearvane";
  for (const char* folder : {"C:\\Windows\\System32", "C:\\Program Files\\Clearvane", "C:\\ProgramData",
                             "C:\\Users\\Bench\\AppData\\Roaming", "C:\\Users\\Bench\\AppData\\Local"})
    MakeFolders(files, folder);
  return cv::PathGuard::ForSystem(shell, files);
}

// An emulated machine over `hostRoot` (drive C: is hostRoot/c) with the guard a run builds.
struct BenchMachine {
  explicit BenchMachine(const fs::path& hostRoot) : files(hostRoot), guard(SystemGuard(shell, files)) {}
  cv::emulated::EmulatedFileSystem files;
  cv::emulated::EmulatedRegistry registry;
  cv::emulated::EmulatedShell shell;
  cv::emulated::RecordingMessageBoxes messages;
  cv::emulated::FixedClock clock;
  cv::Platform platform{registry, files, shell, messages, clock};
  const cv::PathGuard guard;
};

// The guard per target: `targets` times emptying one empty folder by name, as
// a plug-in's "folder" entries do, with the guard a run builds; the time of
// the calls alone, per target.
int RunGuardTargets(const fs::path& hostRoot, int targets) {
  BenchMachine machine(hostRoot);
  const std::string empty = "C:\\Users\\Bench\\AppData\\Local\\Tool\\Empty";
  MakeFolders(machine.files, empty);
  cv::allerase erase(machine.platform, machine.guard, cv::EraseMode::Clean, nullptr, {});
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < targets; ++i) erase.EmptyNamedFolder(empty);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("guard: %d targets naming one empty folder, %.3f s, %.4f ms a target\n", targets, seconds,
              seconds * 1000 / std::max(1, targets));
  return 0;
}

// The primitive on the emulated platform.
int RunPrimitive(const fs::path& hostRoot, const std::string& folder, bool emptyFolder) {
  BenchMachine machine(hostRoot);
  cv::allerase erase(machine.platform, machine.guard, cv::EraseMode::Clean, nullptr, {});
  const double bytes = emptyFolder ? erase.EmptyFolder(folder) : erase.DeleteAllFilesInTree(folder);
  return bytes > 0 ? 0 : 1;
}

// One comparison: each side's measures over the rounds.
struct Row {
  explicit Row(std::string label) : what(std::move(label)) {}
  std::string what;
  std::vector<Measure> ours;
  std::vector<Measure> tool;
  std::vector<double> oursInside;      // Windows only: the exe's own time
  std::vector<double> oursWorkingSet;  // Windows only: its peak working set, MB
};

double MedianSeconds(const std::vector<Measure>& runs) {
  std::vector<double> seconds;
  for (const auto& m : runs) seconds.push_back(m.seconds);
  return Median(seconds);
}

double PeakMb(const std::vector<Measure>& runs) {
  long peak = 0;
  for (const auto& m : runs) peak = std::max(peak, m.peakKb);
  return peak / 1024.0;
}

bool AllOk(const std::vector<Measure>& runs) {
  return std::all_of(runs.begin(), runs.end(), [](const Measure& m) { return m.ok; });
}

std::string Runs(const std::vector<Measure>& runs) {
  std::string out;
  char text[32];
  for (const auto& m : runs) {
    std::snprintf(text, sizeof text, "%s%.2f", out.empty() ? "" : " ", m.seconds);
    out += text;
  }
  return out;
}

void PrintHeader(bool windows) {
  std::printf("| %-42s | %10s | %10s | %6s | %10s | %10s |%s\n", "case (median of rounds)", "ours", "system", "ratio",
              "ours peak", "tool peak", windows ? " exe's own time, working set |" : "");
  std::printf("|%s|%s|%s|%s|%s|%s|%s\n", std::string(44, '-').c_str(), std::string(12, '-').c_str(),
              std::string(12, '-').c_str(), std::string(8, '-').c_str(), std::string(12, '-').c_str(),
              std::string(12, '-').c_str(), windows ? "-----------------------------|" : "");
}

void Print(const Row& row) {
  const double ours = MedianSeconds(row.ours);
  const double tool = MedianSeconds(row.tool);
  std::printf("| %-42s | %8.3f s | %8.3f s | %5.2fx | %7.1f MB | %7.1f MB |", row.what.c_str(), ours, tool, ours / tool,
              PeakMb(row.ours), PeakMb(row.tool));
  if (!row.oursInside.empty()) {
    double peakSet = 0;
    for (double mb : row.oursWorkingSet) peakSet = std::max(peakSet, mb);
    std::printf(" %8.3f s, %7.1f MB        |", Median(row.oursInside), peakSet);
  }
  std::printf("%s\n", AllOk(row.ours) && AllOk(row.tool) ? "" : " (a run failed)");
  std::printf("    runs: ours %s; system %s\n", Runs(row.ours).c_str(), Runs(row.tool).c_str());
  std::fflush(stdout);
}

// The sides take turns: ours first in even rounds, the tool first in odd ones.
// The disk is synced before each side, so neither pays for writes left by
// the fixtures or by the other side.
void Alternate(int round, const std::function<void()>& ours, const std::function<void()>& tool) {
  const auto synced = [](const std::function<void()>& side) {
    ::sync();
    side();
  };
  if (round % 2 == 0) {
    synced(ours);
    synced(tool);
  } else {
    synced(tool);
    synced(ours);
  }
}

struct Options {
  int files = 100000;
  int depth = 1900;
  int rounds = 3;
  int targets = 10000;  // guard per target (native only); 0 leaves it out
  fs::path base = fs::temp_directory_path();
  fs::path wineExe;      // the Windows bench exe; empty for the native run
  fs::path wineSandbox;  // host folder of drive S:
};

using MakeTree = std::function<bool(const fs::path&)>;

bool MakeCopies(const fs::path& folder, const std::vector<const char*>& copies, const MakeTree& make) {
  for (const char* copy : copies) {
    RunTool({"rm", "-rf", (folder / copy).string()});  // remove_all recurses; rm does not
    if (!make(folder / copy)) return false;
  }
  ::sync();
  return true;
}

void CompareNative(const Options& options, const fs::path& hostRoot, const std::string& label, const MakeTree& make) {
  const fs::path drive = hostRoot / "c";
  const std::vector<const char*> copies{"ours-files", "find", "ours-empty", "rm"};
  Row files{"DeleteAllFilesInTree, " + label};
  Row empty{"EmptyFolder, " + label};
  for (int round = 0; round < options.rounds; ++round) {
    if (!MakeCopies(drive, copies, make)) {
      std::fprintf(stderr, "cannot generate %s\n", label.c_str());
      return;
    }
    Alternate(
        round, [&] { files.ours.push_back(InChild([&] { return RunPrimitive(hostRoot, "C:\\ours-files", false); })); },
        [&] {
          files.tool.push_back(RunTool({"find", (drive / "find").string(), "-type", "f", "-delete"}));
        });
    Alternate(
        round, [&] { empty.ours.push_back(InChild([&] { return RunPrimitive(hostRoot, "C:\\ours-empty", true); })); },
        [&] {
          empty.tool.push_back(RunTool({"sh", "-c", "rm -rf \"$0\" && mkdir \"$0\"", (drive / "rm").string()}));
        });
  }
  Print(files);
  Print(empty);
  for (const char* copy : copies) RunTool({"rm", "-rf", (drive / copy).string()});
}

// Runs the Windows exe under Wine; its own report goes to `report`.
void RunWineExe(const fs::path& work, const char* mode, const std::string& folder, Row& row) {
  const fs::path report = work / "report.txt";
  row.ours.push_back(RunTool({"wine", "S:\\cv-bench\\bench_erase_win.exe", mode, folder}, work, report));
  std::ifstream in(report);
  std::string line;
  std::getline(in, line);
  double seconds = 0, bytes = 0, workingSet = 0;
  if (std::sscanf(line.c_str(), "seconds=%lf bytes=%lf peak_ws_mb=%lf", &seconds, &bytes, &workingSet) == 3) {
    row.oursInside.push_back(seconds);
    row.oursWorkingSet.push_back(workingSet);
  } else {
    row.ours.back().ok = false;
  }
}

void CompareWine(const Options& options, const std::string& label, const MakeTree& make) {
  const fs::path work = options.wineSandbox / "cv-bench";
  const std::vector<const char*> copies{"ours-files", "del", "ours-empty", "rd"};
  Row files{"DeleteAllFilesInTree, " + label};
  Row empty{"EmptyFolder, " + label};
  for (int round = 0; round < options.rounds; ++round) {
    if (!MakeCopies(work, copies, make)) {
      std::fprintf(stderr, "cannot generate %s\n", label.c_str());
      return;
    }
    Alternate(
        round, [&] { RunWineExe(work, "files", "S:\\cv-bench\\ours-files", files); },
        [&] {
          files.tool.push_back(
              RunTool({"wine", "cmd", "/c", "del /s /q /a S:\\cv-bench\\del\\*"}, work, work / "del.txt"));
        });
    Alternate(
        round, [&] { RunWineExe(work, "empty", "S:\\cv-bench\\ours-empty", empty); },
        [&] {
          empty.tool.push_back(RunTool({"wine", "cmd", "/c", "rd /s /q S:\\cv-bench\\rd && md S:\\cv-bench\\rd"}, work,
                                       work / "rd.txt"));
        });
    // What the tools left (del keeps folders; rd may stop at long paths).
    if (round == 0) {
      const auto left = [&](const char* copy) {
        long n = 0;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(work / copy, ec), end; !ec && it != end; it.increment(ec))
          if (!it->is_directory()) ++n;
        return n;
      };
      std::printf("    files left after round 1: ours-files %ld, del %ld, ours-empty %ld, rd %ld\n", left("ours-files"),
                  left("del"), left("ours-empty"), left("rd"));
    }
  }
  Print(files);
  Print(empty);
  for (const char* copy : copies) RunTool({"rm", "-rf", (work / copy).string()});
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--files" && hasValue)
      options.files = std::atoi(argv[++i]);
    else if (arg == "--depth" && hasValue)
      options.depth = std::atoi(argv[++i]);
    else if (arg == "--rounds" && hasValue)
      options.rounds = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--dir" && hasValue)
      options.base = argv[++i];
    else if (arg == "--targets" && hasValue)
      options.targets = std::atoi(argv[++i]);
    else if (arg == "--wine" && i + 2 < argc) {
      options.wineExe = argv[++i];
      options.wineSandbox = argv[++i];
    } else {
      std::fprintf(stderr,
                   "usage: bench_erase [--files N] [--depth N] [--rounds N] [--targets N] [--dir HOSTFOLDER]\n"
                   "       bench_erase --wine EXE SANDBOX [--files N] [--depth N] [--rounds N]\n");
      return 2;
    }
  }
  const std::string cacheLabel = std::to_string(options.files) + " files";
  const std::string deepLabel = std::to_string(options.depth) + " levels deep";
  const MakeTree cache = [&](const fs::path& p) { return MakeCacheTree(p, options.files); };
  const MakeTree deep = [&](const fs::path& p) { return MakeDeepTree(p, options.depth); };

  if (!options.wineExe.empty()) {
    const fs::path work = options.wineSandbox / "cv-bench";
    std::error_code ec;
    fs::create_directories(work, ec);
    fs::copy_file(options.wineExe, work / "bench_erase_win.exe", fs::copy_options::overwrite_existing, ec);
    if (ec) {
      std::fprintf(stderr, "cannot copy %s: %s\n", options.wineExe.c_str(), ec.message().c_str());
      return 1;
    }
    PrintHeader(true);
    if (options.files > 0) CompareWine(options, cacheLabel, cache);
    if (options.depth > 0) CompareWine(options, deepLabel, deep);
    RunTool({"rm", "-rf", work.string()});
    return 0;
  }

  std::string pattern = (options.base / "cv-bench-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    return 1;
  }
  const fs::path hostRoot = pattern;
  PrintHeader(false);
  if (options.files > 0) CompareNative(options, hostRoot, cacheLabel, cache);
  if (options.depth > 0) CompareNative(options, hostRoot, deepLabel, deep);
  if (options.targets > 0) RunGuardTargets(hostRoot, options.targets);
  RunTool({"rm", "-rf", hostRoot.string()});
  return 0;
}
