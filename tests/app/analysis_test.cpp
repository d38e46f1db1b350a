// The analysis store: rows, figures, paths rebuilt from their compact form,
// the details list's filter and order, and the allow-list it gives a clean.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/analysis.h"

namespace cv {
namespace {

AnalysisStore Sample() {
  AnalysisStore store;
  store.BeginRow("Temp");
  store.Erased({EntryKind::File, "C:\\T\\b.log", 300, false});
  store.Erased({EntryKind::File, "C:\\T\\A.tmp", 100, false});
  store.Erased({EntryKind::File, "C:\\T\\sub\\c.tmp", 200, false});
  store.Erased({EntryKind::Folder, "C:\\Windows", 0, true});
  store.BeginRow("Run MRU");
  store.Erased({EntryKind::RegValue, "HKEY_CURRENT_USER\\Software\\RunMRU\\a", 0, false});
  store.Erased({EntryKind::Command, "Clear the clipboard", 0, false});
  store.BeginRow("Analysis complete: nothing was erased.");
  return store;
}

std::vector<std::string> Paths(const AnalysisStore& store, const std::vector<AnalysisStore::EntryIndex>& rows) {
  std::vector<std::string> paths;
  for (auto row : rows) paths.push_back(store.Path(row));
  return paths;
}

TEST(AnalysisStore, KeepsRowsFiguresAndExactPaths) {
  const AnalysisStore store = Sample();
  ASSERT_EQ(store.RowCount(), 3u);
  EXPECT_EQ(store.Figures(0).files, 3u);  // the refused folder is not counted
  EXPECT_EQ(store.Figures(0).entries, 4u);
  EXPECT_DOUBLE_EQ(store.Figures(0).bytes, 600);
  EXPECT_EQ(store.Figures(1).files, 0u);
  EXPECT_EQ(store.Figures(2).entries, 0u);
  EXPECT_DOUBLE_EQ(store.Totals().bytes, 600);
  EXPECT_EQ(store.Totals().erasable, 5u);  // what a clean limited to it erases, registry and command included
  EXPECT_EQ(store.Path(4), "HKEY_CURRENT_USER\\Software\\RunMRU\\a");
  EXPECT_EQ(store.Path(5), "Clear the clipboard");
  EXPECT_EQ(store.FolderCount(), 4u);  // C:\T shared by two entries
  EXPECT_TRUE(store.Refused(3));
}

TEST(AnalysisStore, DetailRowsFilterAndSort) {
  const AnalysisStore store = Sample();
  struct Case {
    std::string filter;
    DetailColumn column;
    bool ascending;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      // By folder, then name: "C:" comes before "C:\\T".
      {"", DetailColumn::Path, true, {"C:\\Windows", "C:\\T\\A.tmp", "C:\\T\\b.log", "C:\\T\\sub\\c.tmp"}},
      {"", DetailColumn::Size, false, {"C:\\T\\b.log", "C:\\T\\sub\\c.tmp", "C:\\T\\A.tmp", "C:\\Windows"}},
      {"", DetailColumn::Kind, true, {"C:\\T\\b.log", "C:\\T\\A.tmp", "C:\\T\\sub\\c.tmp", "C:\\Windows"}},
      {".TMP", DetailColumn::Path, false, {"C:\\T\\sub\\c.tmp", "C:\\T\\A.tmp"}},
      {"nothing", DetailColumn::Path, true, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Paths(store, DetailRows(store, 0, c.filter, c.column, c.ascending)), c.expected) << c.filter;
  EXPECT_TRUE(DetailRows(store, 7, "", DetailColumn::Path, true).empty());
}

TEST(AnalysisStore, AllowsWhatItListedExceptRefusedEntries) {
  const AllowList allowed = Sample().Allowed();
  EXPECT_TRUE(allowed.AllowsFile("C:\\T\\sub\\c.tmp"));
  EXPECT_FALSE(allowed.AllowsFile("C:\\T\\d.tmp"));
  EXPECT_FALSE(allowed.AllowsFolder("C:\\Windows"));
  EXPECT_TRUE(allowed.AllowsValue("HKEY_CURRENT_USER\\Software\\RunMRU", "a"));
  EXPECT_TRUE(allowed.AllowsCommand("Clear the clipboard"));
}

TEST(AnalysisStore, SizeTexts) {
  const std::pair<double, const char*> cases[] = {
      {0, "0 bytes"}, {1023, "1023 bytes"}, {1536, "1.5 KB"}, {1048576 * 12.25, "12.25 MB"}, {1181116006.4, "1.10 GB"}};
  for (const auto& [bytes, text] : cases) EXPECT_EQ(SizeText(bytes), text);
}

}  // namespace
}  // namespace cv
