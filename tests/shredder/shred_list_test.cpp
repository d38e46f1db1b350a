// The shredder's list and its shredding, on the platform's file system
// (emulated natively, the real one under Wine).
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "shredder/shred_list.h"
#include "test_filesystem.h"

namespace cv {
namespace {

class Recorder : public ShredObserver {
 public:
  void RowDone(const ShredRow& row) override { rows[row.path] = row; }
  void Progress(std::uint64_t done, std::uint64_t total) override {
    EXPECT_LE(done, total);
    EXPECT_GE(done, lastDone);
    lastDone = done;
    lastTotal = total;
  }
  bool CancelRequested() override { return ++asked > cancelAfter; }

  std::map<std::string, ShredRow> rows;
  std::uint64_t lastDone = 0, lastTotal = 0;
  int asked = 0;
  int cancelAfter = 1 << 30;
};

class Shredder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fixture->MakeFolder(Path("Windows")));
    guard.Protect(Path("Windows"));
  }
  std::string Path(const char* relative) const { return fixture->Path(relative); }
  bool Exists(const char* relative) { return fixture->fs().Stat(Path(relative)).has_value(); }
  void Write(const char* relative, std::string_view bytes) {
    const std::string path = Path(relative);
    for (auto cut = path.find('\\', fixture->Root().size() + 1); cut != std::string::npos;
         cut = path.find('\\', cut + 1))
      fixture->fs().CreateFolder(path.substr(0, cut));
    ASSERT_TRUE(fixture->WriteFile(path, bytes));
  }

  std::unique_ptr<test::FileSystemFixture> fixture = test::MakeFileSystemFixture();
  PathGuard guard{fixture->fs()};
  ShredList list{fixture->fs(), guard};
};

TEST_F(Shredder, AddJudgesEachPathAndKeepsOneRowPerThing) {
  Write("a.txt", "12345");
  Write("Docs\\b.txt", "123");
  Write("Docs\\Sub\\c.txt", "1234567");
  Write("Windows\\win.ini", "x");
  const struct {
    std::string path;
    AddOutcome outcome;
  } cases[] = {
      {Path("a.txt"), AddOutcome::kAdded},
      {Path("A.TXT"), AddOutcome::kAlreadyListed},  // names are compared as Windows does
      {Path("Docs\\b.txt"), AddOutcome::kAdded},
      {Path("Docs") + "\\", AddOutcome::kAdded},  // replaces b.txt, which lies below it
      {Path("Docs\\Sub\\c.txt"), AddOutcome::kAlreadyListed},
      {Path("missing.txt"), AddOutcome::kNotFound},
      {"a.txt", AddOutcome::kNotFullPath},
      {"", AddOutcome::kNotFullPath},
      {Path("Windows"), AddOutcome::kProtected},
      {fixture->Root(), AddOutcome::kProtected},       // holds the protected folder
      {Path("Windows\\win.ini"), AddOutcome::kAdded},  // a file the user names is theirs to judge
  };
  for (const auto& c : cases) EXPECT_EQ(list.Add(c.path), c.outcome) << c.path;

  ASSERT_EQ(list.Targets().size(), 3u);
  EXPECT_EQ(list.Targets()[0].path, Path("a.txt"));
  EXPECT_EQ(list.Targets()[0].bytes, 5u);
  const ShredTarget& docs = list.Targets()[1];
  EXPECT_EQ(docs.path, Path("Docs"));
  EXPECT_EQ(docs.kind, ShredTargetKind::kFolder);
  EXPECT_EQ(docs.bytes, 10u);
  EXPECT_EQ(docs.files, 2u);
  EXPECT_EQ(list.TotalBytes(), 16u);
  EXPECT_EQ(PlannedActionText(docs, 7), "Overwrite 2 files 7 times, then delete the folder");
  EXPECT_EQ(PlannedActionText(list.Targets()[0], 1), "Overwrite once, then delete");
  list.Remove(0);
  list.Remove(9);  // no such row: nothing happens
  EXPECT_EQ(list.Targets().size(), 2u);
}

TEST_F(Shredder, ShredsFilesAndFoldersAndSaysPerFileWhatHappened) {
  Write("plain.txt", "secret");
  Write("readonly.txt", "secret");
  ASSERT_TRUE(fixture->SetReadOnly(Path("readonly.txt")));
  Write("busy.txt", "secret");
  Write("Tree\\one.txt", "1");
  ASSERT_TRUE(fixture->SetReadOnly(Path("Tree\\one.txt")));
  Write("Tree\\Deep\\Deeper\\two.txt", "22");
  Write("Tree\\Deep\\busy.txt", "333");
  Write("Clean\\x.txt", "4444");
  Write("Clean\\Empty\\y.txt", "");
  Write("Outside\\kept.txt", "kept");
  const bool links = fixture->SupportsFolderLinks();
  if (links) {
    ASSERT_TRUE(fixture->MakeFolderLink(Path("Clean\\ToOutside"), Path("Outside")));
  }
  for (const char* name : {"plain.txt", "readonly.txt", "busy.txt", "Tree", "Clean"})
    ASSERT_EQ(list.Add(Path(name)), AddOutcome::kAdded) << name;
  const auto busy = fixture->LockFile(Path("busy.txt"));
  const auto busyInTree = fixture->LockFile(Path("Tree\\Deep\\busy.txt"));

  Recorder recorder;
  const ShredSummary summary = Shred(fixture->fs(), guard, list.Targets(), 3, recorder);

  const std::map<std::string, std::string> expected = {
      {"plain.txt", "Shredded"},
      {"readonly.txt", "Shredded"},
      {"busy.txt", "Failed: in use by another program"},
      {"Tree\\one.txt", "Shredded"},
      {"Tree\\Deep\\Deeper\\two.txt", "Shredded"},
      {"Tree\\Deep\\busy.txt", "Failed: in use by another program"},
      {"Tree", "Failed: not empty (something in it could not be deleted)"},
      {"Clean\\x.txt", "Shredded"},
      {"Clean\\Empty\\y.txt", "Shredded"},
      {"Clean", "Folder removed"},
  };
  for (const auto& [relative, text] : expected) {
    const auto row = recorder.rows.find(Path(relative.c_str()));
    ASSERT_NE(row, recorder.rows.end()) << relative;
    EXPECT_EQ(row->second.text, text) << relative;
  }
  if (links) {
    EXPECT_EQ(recorder.rows[Path("Clean\\ToOutside")].text,
              "Deleted (not overwritten: a link; what it leads to is kept)");
  }
  EXPECT_EQ(recorder.rows.size(), expected.size() + (links ? 1 : 0));

  for (const char* gone : {"plain.txt", "readonly.txt", "Tree\\one.txt", "Tree\\Deep\\Deeper", "Clean"})
    EXPECT_FALSE(Exists(gone)) << gone;
  for (const char* kept : {"busy.txt", "Tree\\Deep\\busy.txt", "Outside\\kept.txt"}) EXPECT_TRUE(Exists(kept)) << kept;
  EXPECT_EQ(summary.shredded, 6u);
  EXPECT_EQ(summary.failed, 3u);
  EXPECT_EQ(summary.deletedPlainly, links ? 1u : 0u);
  EXPECT_EQ(recorder.lastDone, recorder.lastTotal);
  EXPECT_EQ(recorder.lastTotal, list.TotalBytes());
  EXPECT_EQ(ShredSummaryText(summary),
            links ? "Shredded 6 files, 1 deleted without overwriting, 3 failed." : "Shredded 6 files, 3 failed.");
}

TEST_F(Shredder, CancelStopsBetweenFilesAndLeavesTheRest) {
  Write("first.txt", "1");
  Write("second.txt", "2");
  Write("Folder\\third.txt", "3");
  for (const char* name : {"first.txt", "second.txt", "Folder"}) ASSERT_EQ(list.Add(Path(name)), AddOutcome::kAdded);

  Recorder recorder;
  recorder.cancelAfter = 1;  // "Cancel" pressed while the first file goes
  const ShredSummary summary = Shred(fixture->fs(), guard, list.Targets(), 1, recorder);

  EXPECT_TRUE(summary.cancelled);
  EXPECT_FALSE(Exists("first.txt"));
  EXPECT_TRUE(Exists("second.txt"));
  EXPECT_TRUE(Exists("Folder\\third.txt"));
  EXPECT_EQ(recorder.rows[Path("second.txt")].outcome, ShredOutcome::kCancelled);
  EXPECT_EQ(recorder.rows[Path("Folder")].text, "Not shredded: cancelled");
  EXPECT_EQ(ShredSummaryText(summary), "Shredded 1 file; cancelled.");
}

// A folder listed and then replaced by a link to a protected folder goes as
// the link; what it leads to is untouched.
TEST_F(Shredder, AFolderSwappedForALinkAfterListingGoesAsTheLinkOnly) {
  if (!fixture->SupportsFolderLinks()) GTEST_SKIP() << "no folder links on this file system";
  Write("Listed\\a.txt", "a");
  Write("Windows\\system.ini", "keep");
  ASSERT_EQ(list.Add(Path("Listed")), AddOutcome::kAdded);
  ASSERT_EQ(fixture->fs().DeleteFile(Path("Listed\\a.txt"), true), kOk);
  ASSERT_EQ(fixture->fs().RemoveFolder(Path("Listed"), true), kOk);
  ASSERT_TRUE(fixture->MakeFolderLink(Path("Listed"), Path("Windows")));

  Recorder recorder;
  Shred(fixture->fs(), guard, list.Targets(), 1, recorder);

  EXPECT_EQ(recorder.rows[Path("Listed")].outcome, ShredOutcome::kDeletedPlainly);
  EXPECT_FALSE(Exists("Listed"));
  EXPECT_TRUE(Exists("Windows\\system.ini"));
}

}  // namespace
}  // namespace cv
