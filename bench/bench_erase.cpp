// Times the erasure primitives on the emulated platform against the
// system's own tools on identical trees, in one run:
//   DeleteAllFilesInTree  vs  find <tree> -type f -delete   (files go, folders stay)
//   EmptyFolder           vs  rm -rf <tree>; mkdir <tree>
// for a cache-like tree (many files in hashed sub-folders) and a deep chain.
// Each side runs in its own child process, so its peak memory is its own.
//
// usage: bench_erase [--files N] [--depth N] [--dir HOSTFOLDER]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "clean/allerase.h"
#include "platform/emulated/emulated_filesystem.h"
#include "platform/emulated/emulated_registry.h"
#include "platform/emulated/emulated_shell.h"

namespace {

namespace fs = std::filesystem;

struct Measure {
  double seconds = 0;
  long peakKb = 0;
  bool ok = false;
};

// Runs `work` in a child process; wall time and the child's peak RSS.
Measure InChild(const std::function<int()>& work) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child == 0) ::_exit(work());
  int status = 0;
  struct rusage usage {};
  ::wait4(child, &status, 0, &usage);
  Measure m;
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.peakKb = usage.ru_maxrss;
  m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return m;
}

Measure RunTool(const std::vector<std::string>& argv) {
  return InChild([&] {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    return 127;
  });
}

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
    std::snprintf(name, sizeof name, "%08X%08X_%d", static_cast<unsigned>(random()), static_cast<unsigned>(random()), i);
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

// The primitive on the emulated platform, over `hostRoot` (drive C: is hostRoot/c).
int RunPrimitive(const fs::path& hostRoot, const std::string& folder, bool emptyFolder) {
  cv::emulated::EmulatedFileSystem files(hostRoot);
  cv::emulated::EmulatedRegistry registry;
  cv::emulated::EmulatedShell shell;
  cv::emulated::RecordingMessageBoxes messages;
  cv::emulated::FixedClock clock;
  cv::Platform platform{registry, files, shell, messages, clock};
  const cv::PathGuard guard;
  cv::allerase erase(platform, guard, cv::EraseMode::Clean, nullptr, {});
  const double bytes = emptyFolder ? erase.EmptyFolder(folder) : erase.DeleteAllFilesInTree(folder);
  return bytes > 0 ? 0 : 1;
}

struct Row {
  std::string what;
  Measure ours;
  Measure tool;
};

void Print(const Row& row) {
  std::printf("| %-44s | %8.3f s | %8.3f s | %5.2fx | %7.1f MB | %7.1f MB |%s\n", row.what.c_str(), row.ours.seconds,
              row.tool.seconds, row.ours.seconds / row.tool.seconds, row.ours.peakKb / 1024.0,
              row.tool.peakKb / 1024.0, row.ours.ok && row.tool.ok ? "" : " (a run failed)");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  int files = 100000;
  int depth = 1900;
  fs::path base = fs::temp_directory_path();
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--files")) files = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--depth")) depth = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--dir")) base = argv[i + 1];
  }
  std::string pattern = (base / "cv-bench-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    return 1;
  }
  const fs::path hostRoot = pattern;
  const fs::path drive = hostRoot / "c";

  std::printf("| %-44s | %10s | %10s | %6s | %10s | %10s |\n", "case", "ours", "system", "ratio", "ours peak",
              "tool peak");
  std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(12, '-').c_str(),
              std::string(12, '-').c_str(), std::string(8, '-').c_str(), std::string(12, '-').c_str(),
              std::string(12, '-').c_str());

  const auto compare = [&](const std::string& label, const std::function<bool(const fs::path&)>& make) {
    for (const char* copy : {"ours-files", "find", "ours-empty", "rm"})
      if (!make(drive / copy)) {
        std::fprintf(stderr, "cannot generate %s\n", label.c_str());
        return;
      }
    ::sync();
    Row files{"DeleteAllFilesInTree, " + label};
    files.ours = InChild([&] { return RunPrimitive(hostRoot, "C:\\ours-files", false); });
    files.tool = RunTool({"find", (drive / "find").string(), "-type", "f", "-delete"});
    Print(files);
    Row empty{"EmptyFolder, " + label};
    empty.ours = InChild([&] { return RunPrimitive(hostRoot, "C:\\ours-empty", true); });
    empty.tool = RunTool({"sh", "-c", "rm -rf \"$0\" && mkdir \"$0\"", (drive / "rm").string()});
    Print(empty);
    std::error_code ec;
    for (const char* copy : {"ours-files", "find", "ours-empty", "rm"}) {
      // remove_all recurses; the deep copies go through rm, which does not.
      RunTool({"rm", "-rf", (drive / copy).string()});
    }
  };

  compare(std::to_string(files) + " files", [&](const fs::path& p) { return MakeCacheTree(p, files); });
  compare(std::to_string(depth) + " levels deep", [&](const fs::path& p) { return MakeDeepTree(p, depth); });

  RunTool({"rm", "-rf", hostRoot.string()});
  return 0;
}
