#pragma once
// Process helpers shared by the benchmark drivers: run a piece of work or a
// tool in a child process and measure its wall time and peak memory.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace bench {

namespace fs = std::filesystem;

struct Measure {
  double seconds = 0;
  double cpuSeconds = 0;  // user + system time of the child
  long peakKb = 0;
  bool ok = false;
};

// Runs `work` in a child process; wall time and the child's peak RSS.
inline Measure InChild(const std::function<int()>& work) {
  std::fflush(stdout);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child == 0) ::_exit(work());
  int status = 0;
  struct rusage usage {};
  ::wait4(child, &status, 0, &usage);
  Measure m;
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.peakKb = usage.ru_maxrss;
  m.cpuSeconds =
      usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return m;
}

// Runs `argv` in `folder` (when given) with its output sent to `output`
// (when given).
inline Measure RunTool(const std::vector<std::string>& argv, const fs::path& folder = {}, const fs::path& output = {}) {
  return InChild([&] {
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) return 126;
    if (!output.empty()) {
      const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      if (fd < 0 || ::dup2(fd, 1) < 0) return 126;
    }
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    return 127;
  });
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

}  // namespace bench
