#pragma once
// Before/after comparison of a folder tree snapshot (relative path -> bytes),
// shared by the suites that check a run removed exactly what it should.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

namespace cv::test {

using TreeSnapshot = std::map<std::string, std::string>;

// Every file below `root` with its bytes, by its path relative to `root` ("a/b.txt").
inline TreeSnapshot FilesBelow(const std::filesystem::path& root) {
  TreeSnapshot files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[std::filesystem::relative(entry.path(), root).generic_string()] =
        std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

// Exactly the entries in `gone` went; every other entry of `before` is byte for
// byte the same, except those in `changed`. With `noNewEntries`, nothing may
// have appeared either.
inline void ExpectOnlyRemoved(const TreeSnapshot& before, const TreeSnapshot& after, const std::set<std::string>& gone,
                              const std::set<std::string>& changed, bool noNewEntries) {
  for (const auto& [path, content] : before) {
    const auto found = after.find(path);
    if (gone.count(path)) {
      EXPECT_EQ(found, after.end()) << path << " should be gone";
    } else if (found == after.end()) {
      ADD_FAILURE() << path << " was removed";
    } else if (!changed.count(path)) {
      EXPECT_EQ(found->second, content) << path << " changed";
    }
  }
  if (noNewEntries) {
    for (const auto& [path, content] : after) EXPECT_TRUE(before.count(path)) << path << " appeared";
  }
  for (const auto& key : gone) EXPECT_TRUE(before.count(key)) << key << " was not in the fixture";
}

}  // namespace cv::test
