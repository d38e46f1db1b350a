// The finder's search engine on the emulated platform, for bench/run-finder.
//   bench_finder make HOSTROOT FILES   makes HOSTROOT/c/tree: FILES files in folders of 1,000
//                                      (one name in 8 "*.tmp", one in 64 each "*.gid", "*.chk")
//   bench_finder scan HOSTROOT SEARCH  searches C:\tree for SEARCH and prints its own time,
//                                      the rows found and its peak resident memory
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "finder/file_search.h"
#include "platform/emulated/emulated_filesystem.h"

namespace {

namespace fs = std::filesystem;

const char* Extension(long i) {
  if (i % 8 == 0) return ".tmp";
  if (i % 64 == 1) return ".gid";
  if (i % 64 == 2) return ".CHK";
  return ".dat";
}

int Make(const fs::path& root, long files) {
  const fs::path tree = root / "c" / "tree";
  fs::create_directories(tree);
  for (long i = 0; i < files; ++i) {
    const fs::path folder = tree / ("d" + std::to_string(i / 1000 / 32)) / ("e" + std::to_string(i / 1000));
    if (i % 1000 == 0) fs::create_directories(folder);
    const std::string name = (folder / ("file" + std::to_string(i) + Extension(i))).string();
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return 1;
    ::close(fd);
  }
  return 0;
}

int Scan(const fs::path& root, const std::string& searchString) {
  cv::emulated::EmulatedFileSystem files(root);
  cv::finder::FoundFiles found;
  const auto start = std::chrono::steady_clock::now();
  const cv::finder::SearchOutcome outcome = cv::finder::FindFiles(files, "C:\\tree", searchString, found, {});
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("seconds=%.3f rows=%zu peak_mb=%.1f\n", seconds, found.Count(), usage.ru_maxrss / 1024.0);
  return outcome.completed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "make") return Make(argv[2], std::atol(argv[3]));
  if (argc == 4 && std::string(argv[1]) == "scan") return Scan(argv[2], argv[3]);
  std::fprintf(stderr, "usage: bench_finder make HOSTROOT FILES | scan HOSTROOT SEARCH\n");
  return 2;
}
