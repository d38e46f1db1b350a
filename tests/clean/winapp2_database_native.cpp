// The community database itself (shared beside the repository, never part of
// it): every entry is read or rejected with its reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "clean/winapp2_reader.h"

namespace cv {
namespace {

std::filesystem::path SharedDatabase() {
  for (const char* shared : {"/../shared", "/../../shared"}) {
    const std::filesystem::path path =
        std::filesystem::path(CV_SOURCE_DIR + std::string(shared)) / "data" / "winapp2" / "Winapp2.ini";
    if (std::filesystem::exists(path)) return path;
  }
  return {};
}

TEST(Winapp2DatabaseTest, EveryEntryIsReadOrRejectedWithItsReason) {
  const std::filesystem::path path = SharedDatabase();
  if (path.empty())
    GTEST_SKIP() << "no shared Winapp2.ini in " CV_SOURCE_DIR "/../shared/data/winapp2 (or one level up)";
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t headers = 0;
  std::istringstream lines(bytes);
  for (std::string line; std::getline(lines, line);) headers += !line.empty() && line[0] == '[';

  Winapp2Database database;
  std::vector<std::string> taken;
  ReadWinapp2(bytes, database, taken);

  std::map<std::string, int> reasons;
  for (const Winapp2Rejected& rejected : database.rejected) {
    EXPECT_FALSE(rejected.reason.empty()) << rejected.name;
    ++reasons[(rejected.unsafe ? "refused: " : "skipped: ") + rejected.reason];
  }
  std::cout << path.string() << ": " << headers << " entries, " << database.entries.size() << " read, "
            << database.rejected.size() << " rejected, " << database.notes.size() << " notes\n";
  for (const auto& [reason, count] : reasons) std::cout << "  " << count << "  " << reason << "\n";
  EXPECT_EQ(database.entries.size() + database.rejected.size(), headers);
  EXPECT_GT(database.entries.size(), headers * 99 / 100);
}

}  // namespace
}  // namespace cv
