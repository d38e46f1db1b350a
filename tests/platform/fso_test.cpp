// The file-system object's walks, on the platform's own file system and, for
// depths no real disk path can reach, on a synthetic chain of folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/fso.h"
#include "support/test_filesystem.h"

namespace cv {
namespace {

class FsoWalks : public ::testing::Test {
 protected:
  std::unique_ptr<test::FileSystemFixture> fixture = test::MakeFileSystemFixture();
  FileSystemObject fso{fixture->fs()};
  std::string Path(std::string_view relative) { return fixture->Path(relative); }

  // tree\a.txt (10), tree\one\b.txt (20), tree\one\two\c.txt (40), tree\empty\.
  void MakeTree() {
    ASSERT_TRUE(fixture->MakeFolder(Path("tree")));
    ASSERT_TRUE(fixture->MakeFolder(Path("tree\\one")));
    ASSERT_TRUE(fixture->MakeFolder(Path("tree\\one\\two")));
    ASSERT_TRUE(fixture->MakeFolder(Path("tree\\empty")));
    ASSERT_TRUE(fixture->WriteFile(Path("tree\\a.txt"), std::string(10, 'a')));
    ASSERT_TRUE(fixture->WriteFile(Path("tree\\one\\b.txt"), std::string(20, 'b')));
    ASSERT_TRUE(fixture->WriteFile(Path("tree\\one\\two\\c.txt"), std::string(40, 'c')));
  }
};

TEST_F(FsoWalks, FilesAndSubFoldersComeInFileSystemOrder) {
  for (const char* name : {"m", "b", "z", "a"}) {
    ASSERT_TRUE(fixture->WriteFile(Path(std::string(name) + ".txt"), name));
    ASSERT_TRUE(fixture->MakeFolder(Path(std::string("dir-") + name)));
  }
  std::vector<std::string> listedFiles, listedFolders, files, folders;
  ASSERT_TRUE(fixture->fs().ListFolder(
      fixture->Root(), [&](const FileEntry& e) { (e.IsFolder() ? listedFolders : listedFiles).push_back(e.path); }));
  EXPECT_TRUE(fso.ForEachFile(fixture->Root(), [&](const FileEntry& e) { files.push_back(e.path); }));
  EXPECT_TRUE(fso.ForEachSubFolder(fixture->Root(), [&](const FileEntry& e) { folders.push_back(e.path); }));
  EXPECT_EQ(files, listedFiles);
  EXPECT_EQ(folders, listedFolders);
  EXPECT_EQ(files.size(), 4u);
  EXPECT_EQ(folders.size(), 4u);
  EXPECT_FALSE(fso.ForEachFile(Path("missing"), [](const FileEntry&) {}));
  EXPECT_FALSE(fso.ForEachSubFolder(Path("missing"), [](const FileEntry&) {}));
}

TEST_F(FsoWalks, ExistenceAndFileLookups) {
  MakeTree();
  EXPECT_TRUE(fso.FolderExists(Path("tree\\one")));
  EXPECT_FALSE(fso.FolderExists(Path("tree\\a.txt")));
  EXPECT_TRUE(fso.FileExists(Path("tree\\a.txt")));
  EXPECT_FALSE(fso.FileExists(Path("tree\\one")));
  EXPECT_FALSE(fso.FileExists(Path("tree\\nothing")));
  const auto file = fso.GetFile(Path("tree\\one\\b.txt"));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size, 20u);
  EXPECT_EQ(file->name, "b.txt");
  EXPECT_FALSE(fso.GetFile(Path("tree\\one")));
}

TEST_F(FsoWalks, FolderSizeCoversTheWholeTree) {
  MakeTree();
  EXPECT_EQ(fso.FolderSize(Path("tree")), 70u);
  EXPECT_EQ(fso.FolderSize(Path("tree\\one")), 60u);
  EXPECT_EQ(fso.FolderSize(Path("tree\\empty")), 0u);
  EXPECT_EQ(fso.FolderSize(Path("missing")), 0u);
}

TEST_F(FsoWalks, TreeWalkVisitsFoldersDepthFirstAndCanSkip) {
  MakeTree();
  std::vector<std::string> visited;
  EXPECT_TRUE(fso.ForEachFolderInTree(Path("tree"), [&](const FileEntry& folder) {
    visited.push_back(folder.path);
    return folder.name != "one";
  }));
  std::vector<std::string> expected{Path("tree"), Path("tree\\one"), Path("tree\\empty")};
  std::sort(visited.begin() + 1, visited.end());
  std::sort(expected.begin() + 1, expected.end());
  EXPECT_EQ(visited, expected);
  EXPECT_FALSE(fso.ForEachFolderInTree(Path("missing"), [](const FileEntry&) { return true; }));
}

TEST_F(FsoWalks, LinksInsideATreeAreNeitherCountedNorEnteredNorFollowedWhenDeleting) {
  if (!fixture->SupportsFolderLinks()) GTEST_SKIP() << "folder links cannot be created on this system";
  MakeTree();
  ASSERT_TRUE(fixture->MakeFolder(Path("sentinel")));
  ASSERT_TRUE(fixture->WriteFile(Path("sentinel\\keep.dat"), std::string(1000, 's')));
  ASSERT_TRUE(fixture->MakeFolderLink(Path("tree\\one\\link"), Path("sentinel")));

  EXPECT_EQ(fso.FolderSize(Path("tree")), 70u);
  bool enteredLink = false;
  fso.ForEachFolderInTree(Path("tree"), [&](const FileEntry& folder) {
    enteredLink |= folder.name == "link";
    return true;
  });
  EXPECT_FALSE(enteredLink);

  EXPECT_EQ(fso.DeleteFolder(Path("tree"), true), kOk);
  EXPECT_FALSE(fso.FolderExists(Path("tree")));
  EXPECT_EQ(fso.GetFile(Path("sentinel\\keep.dat"))->size, 1000u);
}

TEST_F(FsoWalks, DeletingALinkedFolderRemovesOnlyTheLink) {
  if (!fixture->SupportsFolderLinks()) GTEST_SKIP() << "folder links cannot be created on this system";
  ASSERT_TRUE(fixture->MakeFolder(Path("sentinel")));
  ASSERT_TRUE(fixture->WriteFile(Path("sentinel\\keep.dat"), "s"));
  ASSERT_TRUE(fixture->MakeFolderLink(Path("link"), Path("sentinel")));
  EXPECT_EQ(fso.DeleteFolder(Path("link"), true), kOk);
  EXPECT_FALSE(fixture->fs().Stat(Path("link")));
  EXPECT_TRUE(fso.FileExists(Path("sentinel\\keep.dat")));
}

TEST_F(FsoWalks, DeleteFolderLeavesReadOnlyFilesUnlessForced) {
  MakeTree();
  ASSERT_TRUE(fixture->SetReadOnly(Path("tree\\one\\two\\c.txt")));
  EXPECT_NE(fso.DeleteFolder(Path("tree"), false), kOk);
  EXPECT_TRUE(fso.FileExists(Path("tree\\one\\two\\c.txt")));
  EXPECT_FALSE(fso.FileExists(Path("tree\\a.txt")));
  EXPECT_FALSE(fso.FolderExists(Path("tree\\empty")));

  EXPECT_EQ(fso.DeleteFolder(Path("tree"), true), kOk);
  EXPECT_FALSE(fso.FolderExists(Path("tree")));
  EXPECT_EQ(fso.DeleteFolder(Path("tree"), true), kErrPathNotFound);
  EXPECT_NE(fso.DeleteFolder(Path("missing"), true), kOk);
}

TEST_F(FsoWalks, FilesInUseStayWithTheirFoldersEverythingElseGoes) {
  MakeTree();
  auto lock = fixture->LockFile(Path("tree\\one\\b.txt"));
  ASSERT_TRUE(lock);
  EXPECT_NE(fso.DeleteFolder(Path("tree"), true), kOk);
  EXPECT_TRUE(fso.FileExists(Path("tree\\one\\b.txt")));
  EXPECT_FALSE(fso.FolderExists(Path("tree\\one\\two")));
  EXPECT_FALSE(fso.FileExists(Path("tree\\a.txt")));
  EXPECT_FALSE(fso.FolderExists(Path("tree\\empty")));
  lock.reset();
  EXPECT_EQ(fso.DeleteFolder(Path("tree"), false), kOk);
}

TEST_F(FsoWalks, DeepTreesWithLongPathsAreWalkedAndDeleted) {
  std::string folder = Path("deep");
  ASSERT_TRUE(fixture->MakeFolder(folder));
  for (int level = 0; level < 150; ++level) {
    folder += "\\d";
    ASSERT_EQ(fso.CreateFolder(folder), kOk) << level;
  }
  ASSERT_EQ(fixture->fs().WriteFileAtomic(folder + "\\bottom.txt", "12345"), kOk);
  EXPECT_EQ(fso.FolderSize(Path("deep")), 5u);
  EXPECT_EQ(fso.DeleteFolder(Path("deep"), false), kOk);
  EXPECT_FALSE(fso.FolderExists(Path("deep")));
}

TEST_F(FsoWalks, CreateFolderAndAttributes) {
  EXPECT_EQ(fso.CreateFolder(Path("new")), kOk);
  EXPECT_EQ(fso.CreateFolder(Path("new")), kErrAlreadyExists);
  ASSERT_TRUE(fixture->WriteFile(Path("new\\h.txt"), "h"));
  EXPECT_EQ(fso.SetAttributes(Path("new\\h.txt"), kAttrHidden), kOk);
  EXPECT_TRUE(fso.GetFile(Path("new\\h.txt"))->attributes & kAttrHidden);
  EXPECT_EQ(fso.SetAttributes(Path("new\\h.txt"), 0), kOk);
  EXPECT_FALSE(fso.GetFile(Path("new\\h.txt"))->attributes & kAttrHidden);
}

TEST(FsoExtension, IsTheTextAfterTheLastDot) {
  EXPECT_EQ(FileSystemObject::GetExtensionName("index.dat"), "dat");
  EXPECT_EQ(FileSystemObject::GetExtensionName("archive.tar.GZ"), "GZ");
  EXPECT_EQ(FileSystemObject::GetExtensionName("README"), "");
  EXPECT_EQ(FileSystemObject::GetExtensionName("trailing."), "");
  EXPECT_EQ(FileSystemObject::GetExtensionName(".hidden"), "hidden");
  EXPECT_EQ(FileSystemObject::GetExtensionName("C:\\a.b\\file"), "");
  EXPECT_EQ(FileSystemObject::GetExtensionName(""), "");
}

// A chain of folders "d" below C:\r, `depth` levels deep, each holding one
// one-byte file "f". Nothing is stored per level but two flags, so depths far
// beyond any real path length cost little. It also records how deeply
// listings nest, which grows with depth only in a recursive walk.
class ChainFileSystem : public FileSystem {
 public:
  explicit ChainFileSystem(int depth)
      : depth_(depth), deepest_(FolderAt(depth)), folderGone_(depth + 1), fileGone_(depth + 1) {}

  int maxNesting = 0;
  bool AllGone() const {
    return std::all_of(folderGone_.begin(), folderGone_.end(), [](bool b) { return b; }) &&
           std::all_of(fileGone_.begin(), fileGone_.end(), [](bool b) { return b; });
  }
  static std::string FolderAt(int level) {
    std::string path = "C:\\r";
    for (int i = 0; i < level; ++i) path += "\\d";
    return path;
  }

  std::optional<FileEntry> Stat(std::string_view path) override {
    const auto at = Parse(path);
    if (!at || !Present(*at)) return std::nullopt;
    return Entry(*at, std::string(path));
  }
  bool ListFolder(std::string_view folder, const std::function<void(const FileEntry&)>& visit) override {
    const auto at = Parse(folder);
    if (!at || at->file || !Present(*at)) return false;
    ++nesting_;
    maxNesting = std::max(maxNesting, nesting_);
    const std::string base(folder);
    if (!fileGone_[at->level]) visit(Entry({at->level, true}, base + "\\f"));
    if (at->level < depth_ && !folderGone_[at->level + 1]) visit(Entry({at->level + 1, false}, base + "\\d"));
    --nesting_;
    return true;
  }
  Status DeleteFile(std::string_view path, bool) override {
    const auto at = Parse(path);
    if (!at || !at->file || !Present(*at)) return kErrFileNotFound;
    fileGone_[at->level] = true;
    return kOk;
  }
  Status RemoveFolder(std::string_view path, bool) override {
    const auto at = Parse(path);
    if (!at || at->file || !Present(*at)) return kErrFileNotFound;
    if (!fileGone_[at->level] || (at->level < depth_ && !folderGone_[at->level + 1])) return kErrDirNotEmpty;
    folderGone_[at->level] = true;
    return kOk;
  }
  Status ReadFile(std::string_view, std::string&, std::uint64_t) override { return kErrAccessDenied; }
  Status WriteFileAtomic(std::string_view, std::string_view) override { return kErrAccessDenied; }
  Status CreateFolder(std::string_view) override { return kErrAccessDenied; }
  Status SetAttributes(std::string_view, std::uint32_t) override { return kErrAccessDenied; }
  Status DeleteAtReboot(std::string_view) override { return kErrAccessDenied; }

 private:
  struct At {
    int level;
    bool file;
  };
  // The path must be a prefix of the deepest folder's path (plus "\f").
  std::optional<At> Parse(std::string_view path) const {
    At at{0, false};
    if (path.size() >= 2 && path.substr(path.size() - 2) == "\\f") {
      at.file = true;
      path.remove_suffix(2);
    }
    if (path.size() < 4 || path.size() % 2 != 0 || path.size() > deepest_.size()) return std::nullopt;
    if (path != std::string_view(deepest_).substr(0, path.size())) return std::nullopt;
    at.level = static_cast<int>(path.size() - 4) / 2;
    return at;
  }
  // A folder is removed only when empty, so its own flag tells all.
  bool Present(At at) const { return !folderGone_[at.level] && !(at.file && fileGone_[at.level]); }
  static FileEntry Entry(At at, std::string path) {
    FileEntry e;
    e.name = at.file ? "f" : (at.level == 0 ? "r" : "d");
    e.path = std::move(path);
    e.size = at.file ? 1 : 0;
    e.attributes = at.file ? kAttrArchive : kAttrDirectory;
    return e;
  }

  int depth_;
  std::string deepest_;
  std::vector<bool> folderGone_, fileGone_;
  int nesting_ = 0;
};

TEST(FsoDeepTree, TenThousandLevelsAreWalkedToTheBottomWithoutRecursion) {
  constexpr int kDepth = 10000;
  ChainFileSystem chain(kDepth);
  FileSystemObject fso(chain);

  EXPECT_EQ(fso.FolderSize("C:\\r"), static_cast<std::uint64_t>(kDepth + 1));
  int folders = 0;
  std::string deepest;
  EXPECT_TRUE(fso.ForEachFolderInTree("C:\\r", [&](const FileEntry& folder) {
    ++folders;
    deepest = folder.path;
    return true;
  }));
  EXPECT_EQ(folders, kDepth + 1);
  EXPECT_EQ(deepest, ChainFileSystem::FolderAt(kDepth));

  EXPECT_EQ(fso.DeleteFolder("C:\\r", false), kOk);
  EXPECT_TRUE(chain.AllGone());
  EXPECT_EQ(chain.maxNesting, 1) << "listings must not nest: the walk would recurse";
}

}  // namespace
}  // namespace cv
