// Times the registry cleaner's scan on the emulated platform: a registry of
// N values (default 500,000) as a machine with a few thousand programs holds
// it, most values in application settings the scan never reads, the rest in
// the places it judges (uninstall entries, App Paths, Run, the program-name
// cache, the compatibility store, shared DLLs, file types, "open with"
// lists), a few percent of those pointing at files that are gone. The
// system's own tool in the same run: `grep -c` over a .reg export of the
// same registry, one pass over the same data. Median of --rounds rounds.
//
// usage: bench_registry_scan [--values N] [--rounds N] [--dir HOSTFOLDER]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_process.h"
#include "platform/emulated/emulated_filesystem.h"
#include "platform/emulated/emulated_registry.h"
#include "regclean/registry_scan.h"

namespace {

namespace fs = std::filesystem;

constexpr int kApps = 3000;  // programs installed, each with an exe, an uninstaller, tools and DLLs
constexpr int kExesPerApp = 6;
constexpr int kDllsPerApp = 6;
constexpr int kGoneEvery = 40;       // one entry in 40 of the judged places points at what is gone
constexpr int kSettingsPerKey = 20;  // values per key of application settings

class Generator {
 public:
  explicit Generator(cv::emulated::EmulatedRegistry& registry) : registry_(registry) {}

  void Set(cv::RegKey root, const std::string& key, const std::string& name, const std::string& text) {
    Open(root, key);
    const std::string data = text + '\0';
    registry_.SetValue(open_, name, cv::kRegSz, data);
    ++values;
  }
  void SetDword(cv::RegKey root, const std::string& key, const std::string& name, std::uint32_t number) {
    Open(root, key);
    registry_.SetValue(open_, name, cv::kRegDword, std::string(reinterpret_cast<const char*>(&number), 4));
    ++values;
  }

  long values = 0;

 private:
  // Keeps the last key open: values are written key by key.
  void Open(cv::RegKey root, const std::string& key) {
    if (root == openRoot_ && key == openKey_) return;
    if (open_) registry_.CloseKey(open_);
    registry_.CreateKey(root, key, open_);
    openRoot_ = root;
    openKey_ = key;
  }

  cv::emulated::EmulatedRegistry& registry_;
  cv::RegKey open_ = 0, openRoot_ = 0;
  std::string openKey_;
};

std::string AppFolder(int app) {
  return "C:\\Program Files\\Vendor" + std::to_string(app % 400) + "\\App" + std::to_string(app);
}
std::string ExeName(int app, int k) {
  return k == 0   ? "app" + std::to_string(app) + ".exe"
         : k == 1 ? "uninst.exe"
                  : "tool" + std::to_string(k - 2) + ".exe";
}
std::string DllName(int k) { return "lib" + std::to_string(k) + ".dll"; }

// A file of a program, or the same under a folder that is not there.
std::string AppFile(int app, const std::string& name, bool gone) {
  return (gone ? "C:\\Program Files\\Removed\\App" + std::to_string(app) : AppFolder(app)) + "\\" + name;
}
// The e-th of the kApps * kExesPerApp programs' exes.
std::string Exe(int e, bool gone) { return AppFile(e % kApps, ExeName(e % kApps, e / kApps), gone); }

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

int main(int argc, char** argv) {
  long wanted = 500000;
  int rounds = 5;
  fs::path dir = fs::temp_directory_path();
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--values") wanted = std::atol(argv[i + 1]);
    if (option == "--rounds") rounds = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--dir") dir = argv[i + 1];
  }
  const fs::path hostRoot = dir / ("cv-bench-registry-" + std::to_string(::getpid()));
  fs::remove_all(hostRoot);

  // The programs on disk; "C:\Program Files\Removed" is not.
  const fs::path programFiles = hostRoot / "c" / "Program Files";
  for (int app = 0; app < kApps; ++app) {
    const fs::path folder = programFiles / ("Vendor" + std::to_string(app % 400)) / ("App" + std::to_string(app));
    for (int k = 0; k < kExesPerApp; ++k) Write(folder / ExeName(app, k), "MZ");
    for (int k = 0; k < kDllsPerApp; ++k) Write(folder / DllName(k), "MZ");
  }
  for (const char* exe : {"notepad.exe", "explorer.exe", "write.exe"}) Write(hostRoot / "c" / "Windows" / exe, "MZ");
  Write(hostRoot / "c" / "Windows" / "System32" / "mspaint.exe", "MZ");

  cv::emulated::EmulatedRegistry registry;
  Generator g(registry);
  const cv::RegKey hkcu = cv::kHkeyCurrentUser, hklm = cv::kHkeyLocalMachine;
  const std::string cv = "Software\\Microsoft\\Windows\\CurrentVersion";
  long judged = 0;
  const auto gone = [&] { return ++judged % kGoneEvery == 0; };

  for (int app = 0; app < kApps; ++app) {
    const bool lost = gone();
    const cv::RegKey root = app % 3 == 0 ? hkcu : hklm;
    const std::string key = cv + "\\Uninstall\\App" + std::to_string(app);
    g.Set(root, key, "DisplayName", "Application " + std::to_string(app));
    g.Set(root, key, "DisplayVersion", "1." + std::to_string(app % 17));
    g.Set(root, key, "Publisher", "Vendor " + std::to_string(app % 400));
    g.Set(root, key, "InstallLocation",
          lost ? "C:\\Program Files\\Removed\\App" + std::to_string(app) : AppFolder(app));
    g.Set(root, key, "UninstallString", "\"" + AppFile(app, "uninst.exe", lost) + "\" /S");
    if (app % 2 == 0) {
      const std::string exe = "app" + std::to_string(app) + ".exe";
      const std::string paths = cv + "\\App Paths\\" + exe;
      g.Set(hklm, paths, "", AppFile(app, exe, gone()));
      g.Set(hklm, paths, "Path", AppFolder(app));
    }
  }
  for (int i = 0; i < 40; ++i)
    g.Set(hkcu, cv + (i < 35 ? "\\Run" : "\\RunOnce"), "Startup" + std::to_string(i),
          "\"" + Exe(i * 7, gone()) + "\" -tray");
  const std::string muiCache = "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache";
  const std::string store =
      "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Store";
  for (int e = 0; e < kApps * kExesPerApp; ++e) {
    if (e % 2 == 0) {
      const std::string exe = Exe(e, gone());
      g.Set(hkcu, muiCache, exe + ".FriendlyAppName", "Application " + std::to_string(e % kApps));
      g.Set(hkcu, muiCache, exe + ".ApplicationCompany", "Vendor " + std::to_string(e % 400));
    }
    g.Set(hkcu, store, Exe(e, gone()), "SACP");
  }
  for (int d = 0; d < kApps * kDllsPerApp; ++d)
    g.SetDword(hklm, cv + "\\SharedDLLs", AppFile(d % kApps, DllName(d / kApps), gone()), 1 + d % 3);
  const char* bare[] = {"notepad.exe", "write.exe", "mspaint.exe"};
  for (int i = 0; i < 4000; ++i) {
    const std::string extension = ".ext" + std::to_string(i);
    const std::string type = "App" + std::to_string(i % kApps) + ".Document" + std::to_string(i);
    g.Set(hkcu, "Software\\Classes\\" + extension, "", gone() ? "Removed.Type" + std::to_string(i) : type);
    g.Set(hkcu, "Software\\Classes\\" + extension + "\\OpenWithProgids", type, "");
    g.Set(hkcu, "Software\\Classes\\" + type + "\\shell\\open\\command", "", "\"" + Exe(i, false) + "\" \"%1\"");
    const std::string list = cv + "\\Explorer\\FileExts\\" + extension + "\\OpenWithList";
    g.Set(hkcu, list, "a", bare[i % 3]);
    g.Set(hkcu, list, "b", gone() ? "removed" + std::to_string(i) + ".exe" : bare[(i + 1) % 3]);
    g.Set(hkcu, list, "c", Exe(i, gone()));
    g.Set(hkcu, list, "MRUList", "cba");
  }
  const long inPlaces = g.values;
  // Application settings the scan never reads, up to the size asked for.
  for (long key = 0; g.values < wanted; ++key) {
    const cv::RegKey root = key % 4 == 0 ? hklm : hkcu;
    const std::string name = "Software\\Vendor" + std::to_string(key % 400) + "\\Product" +
                             std::to_string(key / 400 % 50) + "\\Settings" + std::to_string(key / 20000);
    for (int v = 0; v < kSettingsPerKey && g.values < wanted; ++v) {
      if (v % 3 == 0)
        g.SetDword(root, name, "Option" + std::to_string(v), static_cast<std::uint32_t>(key + v));
      else
        g.Set(root, name, "Text" + std::to_string(v),
              "C:\\Users\\Public\\Documents\\file" + std::to_string(v) + ".dat");
    }
  }
  const fs::path exported = hostRoot / "registry.reg";
  {
    std::ofstream out(exported, std::ios::binary);
    out << registry.ExportRegText();
  }

  cv::emulated::EmulatedFileSystem files(hostRoot);
  const std::vector<std::string> programFolders = {"C:\\Windows", "C:\\Windows\\System32"};
  std::vector<double> ours, grep;
  std::size_t findings = 0;
  const fs::path count = hostRoot / "grep-count.txt";
  for (int round = 0; round < rounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    findings = cv::ScanRegistry(registry, files, true, programFolders).size();
    ours.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    const bench::Measure tool = bench::RunTool({"grep", "-c", "-F", "-i", ".exe", exported.string()}, {}, count);
    grep.push_back(tool.seconds);
  }
  std::string lines;
  std::getline(std::ifstream(count), lines);
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  std::printf("registry: %ld values, %ld of them in the places the scan judges (%ld judged entries, 1 in %d gone)\n",
              g.values, inPlaces, judged, kGoneEvery);
  std::printf(".reg export: %.1f MB, %s lines naming an exe (grep -c)\n",
              static_cast<double>(fs::file_size(exported)) / 1048576.0, lines.c_str());
  std::printf("scan: %zu findings, median %.3f s over %d rounds (", findings, median(ours), rounds);
  for (double s : ours) std::printf(" %.3f", s);
  std::printf(" )\ngrep -c -F -i .exe over the export: median %.3f s (", median(grep));
  for (double s : grep) std::printf(" %.3f", s);
  std::printf(" )\nratio scan / grep: %.2fx\n", median(ours) / median(grep));
  fs::remove_all(hostRoot);
  return 0;
}
