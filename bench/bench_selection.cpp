// Times the selection dialog's own work on the emulated platform: opening
// (the 140 switches, a custom item file of N lines, M plug-ins) and "OK"
// (one atomic replace of the selection file, the custom item file, every
// plug-in's tick). The system's own tool in the same run: `cat` reading the
// same files, the least any opening must do. Median of --rounds rounds.
//
// usage: bench_selection [--lines N] [--plugins N] [--rounds N] [--dir HOSTFOLDER]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>
#include <ctime>
#include <string>
#include <vector>

#include "config/selection_dialog.h"
#include "platform/emulated/emulated_filesystem.h"
#include "platform/emulated/emulated_registry.h"
#include "platform/emulated/emulated_shell.h"

namespace {

namespace fs = std::filesystem;

double CpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Wall time of `work`; its processor time (this process's own work, less
// sensitive to other load on the machine) goes to `cpu`.
double Seconds(const std::function<void()>& work, std::vector<double>* cpu = nullptr) {
  const double cpuStart = CpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  work();
  if (cpu) cpu->push_back(CpuSeconds() - cpuStart);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

int main(int argc, char** argv) {
  int lines = 1000, plugins = 50, rounds = 11;
  fs::path dir = fs::temp_directory_path();
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--lines") lines = std::atoi(argv[i + 1]);
    if (option == "--plugins") plugins = std::atoi(argv[i + 1]);
    if (option == "--rounds") rounds = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--dir") dir = argv[i + 1];
  }
  const fs::path hostRoot = dir / ("cv-bench-selection-" + std::to_string(::getpid()));
  fs::remove_all(hostRoot);
  const fs::path program = hostRoot / "c" / "Clearvane";

  // The selection file as "OK" writes it, half the switches ticked.
  std::string selection;
  std::string_view section;
  for (std::size_t i = 0; i < cv::kItemSwitchCount; ++i) {
    const cv::ItemSwitch& s = cv::ItemSwitches()[i];
    if (s.section != section) selection += "[" + std::string(section = s.section) + "]\r\n";
    selection += std::string(s.key) + (i % 2 ? "=1\r\n" : "=0\r\n");
  }
  selection += "[Options]\r\nlastclean=2026-12-08 09:30\r\nregnum=12\r\nfilesize=3456\r\n";
  Write(program / "vanesd.dat", selection);
  // Custom items: files and small folders, every tenth line gone.
  std::string custom;
  for (int i = 0; i < lines; ++i) {
    const std::string name = "item" + std::to_string(i);
    if (i % 10 == 9) {
      custom += "C:\\Picked\\gone" + std::to_string(i) + "\tFile\r\n";
    } else if (i % 2 == 0) {
      Write(hostRoot / "c" / "Picked" / (name + ".txt"), std::string(100 + i, 'x'));
      custom += "C:\\Picked\\" + name + ".txt\tFile\r\n";
    } else {
      for (int f = 0; f < 3; ++f) Write(hostRoot / "c" / "Picked" / name / ("f" + std::to_string(f)), "data");
      custom += "C:\\Picked\\" + name + "\tFolder\r\n";
    }
  }
  Write(program / "cusd.dat", custom);
  for (int i = 0; i < plugins; ++i) {
    const std::string name = "Plugin " + std::to_string(i);
    Write(program / "plus-in" / (name + ".vpe"),
          "[name]\r\nappname=" + name + "\r\n[version]\r\nappver=1.0\r\n[dec]\r\ndecs=Traces of " + name +
              "\r\n[swich]\r\non=" + (i % 3 ? "1" : "0") + "\r\n[file]\r\nf1=appdata,\\App,history.dat\r\n");
  }

  cv::emulated::EmulatedFileSystem files(hostRoot);
  cv::emulated::EmulatedRegistry registry;
  cv::emulated::EmulatedShell shell;
  shell.programFolder = "C:\\Clearvane";
  cv::emulated::RecordingMessageBoxes messages;
  cv::emulated::FixedClock clock;
  cv::Platform platform{registry, files, shell, messages, clock};
  cv::SelectionDialogModel model(platform, messages, [](std::int64_t time) { return std::to_string(time); });

  std::vector<double> open, ok, cat, openCpu, okCpu;
  const std::string catCommand = "cat '" + (program / "vanesd.dat").string() + "' '" + (program / "cusd.dat").string() +
                                 "' '" + (program / "plus-in").string() + "'/*.vpe > /dev/null";
  for (int round = 0; round < rounds; ++round) {
    open.push_back(Seconds([&] { model.Open(); }, &openCpu));
    // A change on every page, as a user makes before "OK".
    model.SetTicked(static_cast<std::size_t>(round) % cv::kItemSwitchCount, round % 2 == 0);
    model.SetPluginTicked(0, round % 2 == 0);
    ok.push_back(Seconds(
        [&] {
          if (!model.Save().empty()) std::fprintf(stderr, "save failed\n");
        },
        &okCpu));
    cat.push_back(Seconds([&] {
      if (std::system(catCommand.c_str()) != 0) std::fprintf(stderr, "cat failed\n");
    }));
  }
  std::printf("selection dialog model, %d custom lines (%zu rows kept), %d plug-ins, %zu switches; median of %d\n",
              lines, model.CustomItems().size(), plugins, cv::kItemSwitchCount, rounds);
  const double catMedian = Median(cat);
  std::printf("  %-34s %8.1f ms wall, %5.1f ms CPU  (cat of the same files: %.1f ms, ratio %.2fx)\n",
              "opening (load of every list)", Median(open) * 1000, Median(openCpu) * 1000, catMedian * 1000,
              Median(open) / catMedian);
  std::printf("  %-34s %8.1f ms wall, %5.1f ms CPU  (ratio to cat %.2fx)\n", "OK (switches, custom items, ticks)",
              Median(ok) * 1000, Median(okCpu) * 1000, Median(ok) / catMedian);
  fs::remove_all(hostRoot);
  return 0;
}
