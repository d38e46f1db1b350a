// The community database itself on two emulated machines, one with nothing
// installed and one on which every folder its FileKeys name outright
// exists: how many of the entries read are run and how many are refused,
// and why (the figures in bench/README.md). Skipped without the shared copy.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>

#include "clean/registry_reach.h"
#include "clean/winapp2_items.h"
#include "emulated_platform.h"

namespace cv {
namespace {

std::string SharedDatabase() {
  for (const char* shared : {"/../shared", "/../../shared"}) {
    const std::string path = CV_SOURCE_DIR + std::string(shared) + "/data/winapp2/Winapp2.ini";
    if (std::filesystem::exists(path)) return path;
  }
  return {};
}

// The reason without the paths and names in it.
std::string Kind(const Winapp2Plan& plan) {
  const std::string& reason = plan.refusedReason;
  for (const char* kind : {"is a protected folder", "is the user's", "program's own folder", "could delete programs",
                           "folder of another application", "holds other products", "several applications", "spellings",
                           "names more than"})
    if (reason.find(kind) != std::string::npos) {
      if (std::string(kind) == "is the user's") return "is the user's " + reason.substr(reason.find(kind) + 13);
      return kind;
    }
  return reason;
}

TEST(Winapp2CensusTest, EntriesOfTheRealDatabaseRunOrAreRefusedWithTheirReason) {
  const std::string path = SharedDatabase();
  if (path.empty()) GTEST_SKIP() << "no shared Winapp2.ini";
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Winapp2Database database;
  std::vector<std::string> taken;
  ReadWinapp2(bytes, database, taken);
  std::map<std::string, int> rejected;
  for (const Winapp2Rejected& r : database.rejected) ++rejected[r.reason.substr(0, r.reason.find(" (")).substr(0, 60)];
  std::cout << "read " << database.entries.size() << ", rejected on their face " << database.rejected.size() << "\n";
  for (const auto& [reason, count] : rejected) std::cout << "  " << count << "  " << reason << "\n";

  for (const bool installed : {false, true}) {
    test::EmulatedPlatformFixture env;
    Platform platform = env.platform();
    const Winapp2Folders folders = Winapp2Folders::ForSystem(platform);
    if (installed)
      for (const Winapp2Entry& entry : database.entries)
        for (const Winapp2FileKey& key : entry.fileKeys)
          for (const std::string& folder : folders.Expand(key.folder))
            if (folder.find_first_of("*?") == std::string::npos) {
              std::error_code ec;
              std::filesystem::create_directories(env.files.HostPath(folder), ec);
            }
    const PathGuard guard = PathGuard::ForSystem(env.shell, env.files);
    Winapp2Reach reach(folders, env.files, guard);
    std::map<std::string, int> reasons;
    std::size_t run = 0;
    for (const Winapp2Entry& entry : database.entries) {
      const Winapp2Plan plan = PlanWinapp2Entry(entry, folders, env.files, reach);
      std::string reason = plan.refusedPath.empty() ? std::string() : Kind(plan);
      for (const Winapp2RegKey& key : entry.regKeys)
        if (reason.empty() && !RegistryRefusal(key.root, key.subKey, key.value.has_value()).empty())
          reason = "registry";
      if (!reason.empty() && getenv("CV_CENSUS_DETAIL"))
        std::cout << "    [" << entry.name << "] " << plan.refusedReason << "\n";
      if (reason.empty())
        ++run;
      else
        ++reasons[reason];
    }
    std::cout << (installed ? "every named folder present" : "nothing installed") << ": " << run << " run, "
              << database.entries.size() - run << " refused\n";
    for (const auto& [reason, count] : reasons) std::cout << "  " << count << "  " << reason << "\n";
    EXPECT_GT(run, database.entries.size() * 9 / 10);
  }
}

}  // namespace
}  // namespace cv
