// Times reading the community database and detecting which entries apply,
// beside the system's own tools in the same run:
//   load    ReadWinapp2 over the whole file   vs  grep -c '^\[' FILE (one pass over it)
//   detect  every entry against a profile with N installed applications
//                                              vs  find PROFILE (one listing of it)
// With --wine EXE SANDBOX the Windows build's bench_winapp2_win.exe does the
// same under Wine (SANDBOX is the host folder of drive S: of a sandbox
// prefix), against `cmd /c type FILE` and `cmd /c dir /s /b PROFILE`.
//
// usage: bench_winapp2 [--ini FILE] [--apps N] [--rounds N] [--wine EXE SANDBOX]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench_process.h"
#include "clean/winapp2_items.h"
#include "clean/winapp2_paths.h"
#include "clean/winapp2_reader.h"
#include "platform/emulated/emulated_filesystem.h"
#include "platform/emulated/emulated_registry.h"
#include "platform/emulated/emulated_shell.h"

namespace {

namespace fs = std::filesystem;
using bench::InChild;
using bench::Measure;
using bench::Median;
using bench::RunTool;

// The profile the applications are installed in: drive C: of the emulated
// platform is HOSTROOT/c, drive S: under Wine the sandbox.
struct Profile {
  std::string drive;  // "C:" or "S:"
  std::string Home() const { return drive + "\\cv-bench\\profile"; }
  std::string Local() const { return Home() + "\\AppData\\Local"; }
  std::string Roaming() const { return Home() + "\\AppData\\Roaming"; }
  std::string Programs() const { return drive + "\\cv-bench\\Program Files"; }
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

cv::Winapp2Database Parse(const std::string& bytes) {
  cv::Winapp2Database database;
  std::vector<std::string> taken;
  cv::ReadWinapp2(bytes, database, taken);
  return database;
}

// `apps` entries spread over the file whose first DetectFile is a plain path
// below one of the three folders: that path, relative to the host folder of
// the drive, with "/" separators; the last component is made a file when it
// has an extension.
std::vector<std::string> InstalledPaths(const cv::Winapp2Database& database, const Profile& profile, int apps) {
  std::vector<std::string> candidates;
  for (const cv::Winapp2Entry& entry : database.entries) {
    if (entry.detectFiles.empty() || entry.detectFiles[0].find_first_of("*?") != std::string::npos) continue;
    const std::string& path = entry.detectFiles[0];
    for (const auto& [variable, folder] : {std::pair<std::string, std::string>{"%LocalAppData%", profile.Local()},
                                           {"%AppData%", profile.Roaming()},
                                           {"%ProgramFiles%", profile.Programs()}})
      if (path.compare(0, variable.size(), variable) == 0 && path.find('%', variable.size()) == std::string::npos)
        candidates.push_back(folder.substr(3) + path.substr(variable.size()));
  }
  std::vector<std::string> chosen;
  for (int i = 0; i < apps && !candidates.empty(); ++i) {
    std::string path = candidates[candidates.size() * static_cast<size_t>(i) / static_cast<size_t>(apps)];
    for (char& c : path)
      if (c == '\\') c = '/';
    chosen.push_back(path);
  }
  return chosen;
}

bool Install(const fs::path& driveFolder, const std::vector<std::string>& paths) {
  std::error_code ec;
  for (const std::string& path : paths) {
    const fs::path target = driveFolder / path;
    const bool file = target.filename().string().find('.') != std::string::npos;
    fs::create_directories(file ? target.parent_path() : target, ec);
    if (file) std::ofstream(target) << "installed";
    if (ec) return false;
  }
  return true;
}

void SetProfile(cv::emulated::EmulatedShell& shell, const Profile& profile) {
  shell.SetEnvironmentVariable("USERPROFILE", profile.Home());
  shell.SetEnvironmentVariable("LOCALAPPDATA", profile.Local());
  shell.SetEnvironmentVariable("APPDATA", profile.Roaming());
  shell.SetEnvironmentVariable("ProgramFiles", profile.Programs());
  shell.SetEnvironmentVariable("SystemDrive", profile.drive);
}

struct Row {
  std::string what;
  std::vector<Measure> ours, tool;
  std::vector<double> inside;  // our own time of the work, without process start
  std::string detail;
};

void Print(const Row& row) {
  std::vector<double> ours, tool;
  for (const Measure& m : row.ours) ours.push_back(m.seconds);
  for (const Measure& m : row.tool) tool.push_back(m.seconds);
  bool ok = true;
  for (const auto* runs : {&row.ours, &row.tool})
    for (const Measure& m : *runs) ok = ok && m.ok;
  std::printf("| %-44s | %8.3f s | %8.3f s | %6.2fx | %8.3f s | %s%s\n", row.what.c_str(), Median(ours), Median(tool),
              Median(ours) / Median(tool), Median(row.inside), row.detail.c_str(), ok ? "" : " (a run failed)");
  std::fflush(stdout);
}

double Seconds(const std::chrono::steady_clock::time_point& start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Native(const fs::path& ini, int apps, int rounds) {
  const std::string bytes = ReadAll(ini);
  const cv::Winapp2Database database = Parse(bytes);
  std::string pattern = (fs::temp_directory_path() / "cv-bench-winapp2-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return std::perror("mkdtemp");
  const fs::path hostRoot = pattern;
  const Profile profile{"C:"};
  const std::vector<std::string> installed = InstalledPaths(database, profile, apps);
  if (!Install(hostRoot / "c", installed)) return std::perror("install");
  fs::create_directories(hostRoot / "c/WINDOWS");

  Row load{"load " + std::to_string(database.entries.size() + database.rejected.size()) + " entries", {}, {}, {}, {}};
  Row detect{"detect, " + std::to_string(installed.size()) + " applications installed", {}, {}, {}, {}};
  const fs::path timing = hostRoot / "inside.txt";
  for (int round = 0; round < rounds; ++round) {
    load.ours.push_back(InChild([&] {
      const auto start = std::chrono::steady_clock::now();
      const cv::Winapp2Database read = Parse(ReadAll(ini));
      std::ofstream(timing) << Seconds(start);
      return read.entries.empty() ? 1 : 0;
    }));
    load.inside.push_back(std::atof(ReadAll(timing).c_str()));
    load.tool.push_back(RunTool({"grep", "-c", "^\\[", ini.string()}, {}, "/dev/null"));

    size_t found = 0;
    detect.ours.push_back(InChild([&] {
      cv::emulated::EmulatedFileSystem files(hostRoot);
      cv::emulated::EmulatedRegistry registry;
      cv::emulated::EmulatedShell shell;
      cv::emulated::RecordingMessageBoxes messages;
      cv::emulated::FixedClock clock;
      SetProfile(shell, profile);
      cv::Platform platform{registry, files, shell, messages, clock};
      const auto start = std::chrono::steady_clock::now();
      const cv::Winapp2Folders folders = cv::Winapp2Folders::ForSystem(platform);
      for (const cv::Winapp2Entry& entry : database.entries) found += cv::Winapp2Detected(entry, platform, folders);
      std::ofstream(timing) << Seconds(start) << " " << found;
      return found >= installed.size() ? 0 : 1;
    }));
    std::sscanf(ReadAll(timing).c_str(), "%*f %zu", &found);
    detect.inside.push_back(std::atof(ReadAll(timing).c_str()));
    detect.detail = std::to_string(found) + " entries detected";
    detect.tool.push_back(RunTool({"find", (hostRoot / "c").string()}, {}, "/dev/null"));
  }
  Print(load);
  Print(detect);
  RunTool({"rm", "-rf", hostRoot.string()});
}

// Our side under Wine: the exe reports its own time of the work on its first line.
Measure RunWineExe(const fs::path& work, const std::vector<std::string>& args, Row& row) {
  std::vector<std::string> argv{"wine", "S:\\cv-bench\\bench_winapp2_win.exe"};
  argv.insert(argv.end(), args.begin(), args.end());
  const Measure m = RunTool(argv, work, work / "report.txt");
  double seconds = 0;
  char detail[128] = {};
  if (std::sscanf(ReadAll(work / "report.txt").c_str(), "seconds=%lf %127[^\n]", &seconds, detail) >= 1) {
    row.inside.push_back(seconds);
    row.detail = detail;
  }
  return m;
}

void Wine(const fs::path& ini, const fs::path& exe, const fs::path& sandbox, int apps, int rounds) {
  const fs::path work = sandbox / "cv-bench";
  std::error_code ec;
  fs::create_directories(work, ec);
  fs::copy_file(exe, work / "bench_winapp2_win.exe", fs::copy_options::overwrite_existing, ec);
  fs::copy_file(ini, work / "winapp2.ini", fs::copy_options::overwrite_existing, ec);
  if (ec) return std::perror("copy");
  const Profile profile{"S:"};
  const std::vector<std::string> installed = InstalledPaths(Parse(ReadAll(ini)), profile, apps);
  if (!Install(sandbox, installed)) return std::perror("install");

  Row load{"load (Windows exe under Wine)", {}, {}, {}, {}};
  Row detect{"detect, " + std::to_string(installed.size()) + " applications (under Wine)", {}, {}, {}, {}};
  for (int round = 0; round < rounds; ++round) {
    load.ours.push_back(RunWineExe(work, {"load", "S:\\cv-bench\\winapp2.ini"}, load));
    load.tool.push_back(RunTool({"wine", "cmd", "/c", "type S:\\cv-bench\\winapp2.ini"}, work, work / "type.txt"));
    detect.ours.push_back(
        RunWineExe(work, {"detect", "S:\\cv-bench\\winapp2.ini", profile.Home(), profile.Programs()}, detect));
    detect.tool.push_back(RunTool(
        {"wine", "cmd", "/c", "dir /s /b " + profile.Home() + " " + std::string("\"") + profile.Programs() + "\""},
        work, work / "dir.txt"));
  }
  Print(load);
  Print(detect);
  RunTool({"rm", "-rf", work.string()});
}

}  // namespace

int main(int argc, char** argv) {
  // The shared copy beside the repository (or beside the folder of worktrees).
  fs::path ini = fs::path(CV_SOURCE_DIR) / ".." / "shared" / "data" / "winapp2" / "Winapp2.ini";
  if (!fs::exists(ini)) ini = fs::path(CV_SOURCE_DIR) / ".." / ".." / "shared" / "data" / "winapp2" / "Winapp2.ini";
  fs::path wineExe, wineSandbox;
  int apps = 50, rounds = 3;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--ini" && hasValue)
      ini = argv[++i];
    else if (arg == "--apps" && hasValue)
      apps = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--rounds" && hasValue)
      rounds = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--wine" && i + 2 < argc) {
      wineExe = argv[++i];
      wineSandbox = argv[++i];
    } else {
      std::fprintf(stderr, "usage: bench_winapp2 [--ini FILE] [--apps N] [--rounds N] [--wine EXE SANDBOX]\n");
      return 2;
    }
  }
  if (!fs::exists(ini)) {
    std::fprintf(stderr, "no database at %s (give one with --ini)\n", ini.c_str());
    return 1;
  }
  std::printf("| %-44s | %10s | %10s | %7s | %10s |\n", "case (median of rounds)", "ours", "system", "ratio",
              "ours, work only");
  if (wineExe.empty())
    Native(ini, apps, rounds);
  else
    Wine(ini, wineExe, wineSandbox, apps, rounds);
  return 0;
}
