// Times what the window does with a large analysis: the entries kept as the
// run reports them, the details list refilled (sorted by path or size, or
// narrowed by the filter) and the allow-list the clean after it uses; and
// the store's memory. The system's own tools in the same run: `sort -f` over
// the same paths (the details sorted by path) and `grep -F -i -c` (the filter).
// Median of --rounds rounds.
//
// usage: bench_analysis [--entries N] [--rounds N] [--dir HOSTFOLDER]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/analysis.h"
#include "bench_process.h"

namespace {

namespace fs = std::filesystem;

// Entry `i` of the analysis: 1,000 files per folder, folders four levels deep.
std::string EntryPath(int i) {
  const int folder = i / 1000;
  return "C:\\Users\\user\\AppData\\Local\\Mozilla\\Firefox\\Profiles\\x.default\\cache2\\d" +
         std::to_string(folder % 50) + "\\e" + std::to_string(folder) + "\\" + std::to_string(i * 7919 % 1000003) +
         (i % 10 == 0 ? ".tmp" : ".dat");
}

void Fill(cv::AnalysisStore& store, int entries) {
  store.BeginRow("Firefox Cache");
  for (int i = 0; i < entries; ++i)
    store.Erased({cv::EntryKind::File, EntryPath(i), static_cast<double>(i % 5000), false});
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  int entries = 500000, rounds = 5;
  fs::path dir = fs::temp_directory_path();
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--entries") entries = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--rounds") rounds = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--dir") dir = argv[i + 1];
  }
  const fs::path list = dir / ("cv-bench-analysis-" + std::to_string(::getpid()) + ".txt");
  {
    std::ofstream out(list, std::ios::binary);
    for (int i = 0; i < entries; ++i) out << EntryPath(i) << '\n';
  }

  // Memory: a child that keeps the store, against one that only makes the paths.
  const bench::Measure kept = bench::InChild([&] {
    cv::AnalysisStore store;
    Fill(store, entries);
    return store.EntryCount() == static_cast<std::size_t>(entries) ? 0 : 1;
  });
  const bench::Measure bare = bench::InChild([&] {
    std::size_t total = 0;
    for (int i = 0; i < entries; ++i) total += EntryPath(i).size();
    return total > 0 ? 0 : 1;
  });

  cv::AnalysisStore store;
  std::vector<double> fill, byPath, bySize, filtered, allowed, sortTool, grepTool;
  std::size_t shown = 0;
  for (int round = 0; round < rounds; ++round) {
    store.Clear();
    fill.push_back(Seconds([&] { Fill(store, entries); }));
    byPath.push_back(Seconds([&] { shown = cv::DetailRows(store, 0, "", cv::DetailColumn::Path, true).size(); }));
    bySize.push_back(Seconds([&] { cv::DetailRows(store, 0, "", cv::DetailColumn::Size, false); }));
    filtered.push_back(Seconds([&] { cv::DetailRows(store, 0, ".TMP", cv::DetailColumn::Path, true); }));
    allowed.push_back(Seconds([&] { store.Allowed(); }));
    sortTool.push_back(bench::RunTool({"sort", "-f", list.string()}, {}, "/dev/null").seconds);
    grepTool.push_back(bench::RunTool({"grep", "-F", "-i", "-c", ".TMP", list.string()}, {}, "/dev/null").seconds);
  }
  const double sortMedian = bench::Median(sortTool), grepMedian = bench::Median(grepTool);
  std::printf("analysis of %d entries (%zu shown), median of %d\n", entries, shown, rounds);
  std::printf("  %-40s %8.1f ms\n", "kept as the run reports them", bench::Median(fill) * 1000);
  std::printf("  %-40s %8.1f ms  (sort -f: %.1f ms, ratio %.2fx)\n", "details sorted by path",
              bench::Median(byPath) * 1000, sortMedian * 1000, bench::Median(byPath) / sortMedian);
  std::printf("  %-40s %8.1f ms  (ratio to sort -f %.2fx)\n", "details sorted by size", bench::Median(bySize) * 1000,
              bench::Median(bySize) / sortMedian);
  std::printf("  %-40s %8.1f ms  (grep -F -i -c: %.1f ms, ratio %.2fx)\n", "details filtered",
              bench::Median(filtered) * 1000, grepMedian * 1000, bench::Median(filtered) / grepMedian);
  std::printf("  %-40s %8.1f ms\n", "allow-list for the clean", bench::Median(allowed) * 1000);
  std::printf("  %-40s %8.1f MB  (paths as text: %.1f MB)\n", "store's memory (peak, less bare paths)",
              (kept.peakKb - bare.peakKb) / 1024.0, static_cast<double>(fs::file_size(list)) / 1048576.0);
  fs::remove(list);
  return 0;
}
