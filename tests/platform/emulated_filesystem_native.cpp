// How the emulated file system maps Windows paths into its host folder, and
// that nothing outside that folder can be reached.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <map>

#include "platform/fso.h"
#include "support/test_filesystem_emulated.h"

namespace cv {
namespace {

namespace fs = std::filesystem;

void HostWrite(const fs::path& path, std::string_view data) { std::ofstream(path, std::ios::binary) << data; }

std::string HostRead(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class EmulatedMapping : public ::testing::Test {
 protected:
  std::unique_ptr<test::EmulatedFileSystemFixture> fixture = test::MakeEmulatedFileSystemFixture();
  emulated::EmulatedFileSystem& fs = fixture->emulated();
  fs::path hostSandbox = fixture->HostRoot() / "c" / "Sandbox";
};

TEST_F(EmulatedMapping, DrivePathsMapBelowTheHostRoot) {
  EXPECT_EQ(fs.HostPath("C:\\a\\b"), fixture->HostRoot() / "c" / "a" / "b");
  EXPECT_EQ(fs.HostPath("c:/a/b"), fixture->HostRoot() / "c" / "a" / "b");
  EXPECT_EQ(fs.HostPath("\\\\?\\C:\\a"), fixture->HostRoot() / "c" / "a");
  EXPECT_EQ(fs.CreateFolder("D:\\x"), kErrPathNotFound) << "a drive exists only when its host folder does";
}

TEST_F(EmulatedMapping, NamesResolveExactlyFirstThenWithoutRegardToCase) {
  fs::create_directory(hostSandbox / "Folder");
  HostWrite(hostSandbox / "Folder" / "File.TXT", "mixed");
  HostWrite(hostSandbox / "Folder" / "\xC3\x89t\xC3\xA9.txt", "accent");  // Été.txt
  HostWrite(hostSandbox / "x", "small");
  HostWrite(hostSandbox / "X", "capital");

  std::string data;
  EXPECT_EQ(fs.ReadFile("C:\\SANDBOX\\folder\\file.txt", data), kOk);
  EXPECT_EQ(data, "mixed");
  EXPECT_EQ(fs.HostPath("c:\\sandbox\\FOLDER\\file.txt"), hostSandbox / "Folder" / "File.TXT");
  EXPECT_EQ(fs.ReadFile("C:\\Sandbox\\Folder\\\xC3\xA9T\xC3\x89.TXT", data), kOk);  // éTÉ.TXT
  EXPECT_EQ(data, "accent");
  EXPECT_EQ(fs.ReadFile("C:\\Sandbox\\X", data), kOk);
  EXPECT_EQ(data, "capital");
  EXPECT_EQ(fs.ReadFile("C:\\Sandbox\\x", data), kOk);
  EXPECT_EQ(data, "small");

  // A write to another spelling replaces the existing file, not a new one beside it.
  ASSERT_EQ(fs.WriteFileAtomic("C:\\sandbox\\folder\\FILE.txt", "new"), kOk);
  EXPECT_EQ(HostRead(hostSandbox / "Folder" / "File.TXT"), "new");
  EXPECT_FALSE(fs::exists(hostSandbox / "Folder" / "FILE.txt"));
}

TEST_F(EmulatedMapping, DotDotIsClampedAtTheDriveRoot) {
  EXPECT_EQ(fs.HostPath("C:\\..\\..\\..\\etc\\passwd"), fixture->HostRoot() / "c" / "etc" / "passwd");
  EXPECT_EQ(fs.HostPath("C:\\Sandbox\\..\\..\\..\\x"), fixture->HostRoot() / "c" / "x");
  EXPECT_FALSE(fs.Stat("C:\\..\\..\\..\\..\\..\\..\\etc\\passwd"));
  EXPECT_EQ(fs.Stat("C:\\Sandbox\\..\\..\\Sandbox\\.")->path, "C:\\Sandbox");
}

TEST_F(EmulatedMapping, RelativePathsUseTheCurrentDirectory) {
  HostWrite(hostSandbox / "rel.txt", "r");
  EXPECT_NE(fs.SetCurrentDirectory("C:\\Sandbox\\missing"), kOk);
  ASSERT_EQ(fs.SetCurrentDirectory("c:\\sandbox"), kOk);
  EXPECT_EQ(fs.CurrentDirectory(), "C:\\sandbox");
  EXPECT_EQ(fs.Stat("rel.txt")->path, "C:\\sandbox\\rel.txt");
  EXPECT_TRUE(fs.Stat("C:rel.txt"));
  EXPECT_TRUE(fs.Stat("\\Sandbox\\rel.txt"));
  EXPECT_TRUE(fs.Stat("..\\Sandbox\\rel.txt"));
  EXPECT_FALSE(fs.Stat("\\rel.txt"));
}

TEST_F(EmulatedMapping, UncDeviceAndMalformedPathsAreRefused) {
  int visited = 0;
  EXPECT_FALSE(fs.ListFolder("\\\\server\\share", [&](const FileEntry&) { ++visited; }));
  EXPECT_FALSE(fs.Stat("\\\\.\\C:"));
  EXPECT_EQ(fs.WriteFileAtomic("\\\\?\\UNC\\server\\share\\x", "x"), kErrBadPathname);
  EXPECT_EQ(fs.WriteFileAtomic("//server/share/x", "x"), kErrBadPathname);
  EXPECT_EQ(fs.CreateFolder("C:\\Sandbox\\a:b"), kErrInvalidName);
  EXPECT_EQ(fs.CreateFolder("C:\\Sandbox\\a*b"), kErrInvalidName);
  EXPECT_EQ(fs.CreateFolder(std::string("C:\\Sandbox\\a\0b", 14)), kErrInvalidName);
  EXPECT_NE(fs.CreateFolder(""), kOk);
  EXPECT_EQ(fs.HostPath("\\\\server\\share"), fs::path());
  EXPECT_EQ(visited, 0);
}

TEST_F(EmulatedMapping, TrailingDotsAndSpacesAreDroppedAsWindowsDoes) {
  ASSERT_EQ(fs.WriteFileAtomic("C:\\Sandbox\\name. .", "x"), kOk);
  EXPECT_TRUE(fs::exists(hostSandbox / "name"));
  EXPECT_TRUE(fs.Stat("C:\\Sandbox\\name..."));
}

TEST_F(EmulatedMapping, HostLinksLeadingOutsideAreNeverFollowed) {
  const fs::path outside = fixture->HostRoot().parent_path() / (fixture->HostRoot().filename().string() + "-outside");
  fs::create_directory(outside);
  HostWrite(outside / "secret", "host data");
  fs::create_directory_symlink(outside, hostSandbox / "out");
  fs::create_symlink(outside / "secret", hostSandbox / "secretlink");

  const auto link = fs.Stat("C:\\Sandbox\\out");
  ASSERT_TRUE(link);
  EXPECT_TRUE(link->IsReparsePoint());
  std::string data = "none";
  EXPECT_FALSE(fs.ListFolder("C:\\Sandbox\\out", [](const FileEntry&) {}));
  EXPECT_NE(fs.ReadFile("C:\\Sandbox\\out\\secret", data), kOk);
  EXPECT_NE(fs.ReadFile("C:\\Sandbox\\secretlink", data), kOk);
  EXPECT_EQ(data, "none");
  EXPECT_NE(fs.WriteFileAtomic("C:\\Sandbox\\out\\new", "x"), kOk);
  EXPECT_NE(fs.DeleteFile("C:\\Sandbox\\out\\secret", true), kOk);
  EXPECT_NE(fs.CreateFolder("C:\\Sandbox\\out\\made"), kOk);
  EXPECT_NE(fs.SetCurrentDirectory("C:\\Sandbox\\out"), kOk);
  EXPECT_FALSE(fs.LockFile("C:\\Sandbox\\secretlink"));

  // Replacing a file link replaces the link, never the file it names.
  EXPECT_EQ(fs.WriteFileAtomic("C:\\Sandbox\\secretlink", "mine"), kOk);
  EXPECT_EQ(HostRead(outside / "secret"), "host data");

  // A whole-tree deletion removes the folder link, never what is behind it.
  EXPECT_EQ(FileSystemObject(fs).DeleteFolder("C:\\Sandbox", true), kOk);
  EXPECT_FALSE(fs::exists(hostSandbox));
  EXPECT_EQ(HostRead(outside / "secret"), "host data");
  fs::remove_all(outside);
}

TEST_F(EmulatedMapping, HostNamesWindowsCannotSpellAreNotListed) {
  HostWrite(hostSandbox / "a\\..\\b", "x");
  HostWrite(hostSandbox / "c:d", "x");
  HostWrite(hostSandbox / "fine", "x");
  std::vector<std::string> names;
  ASSERT_TRUE(fs.ListFolder("C:\\Sandbox", [&](const FileEntry& e) { names.push_back(e.name); }));
  EXPECT_EQ(names, std::vector<std::string>{"fine"});
}

TEST_F(EmulatedMapping, SpecialHostFilesDoNotBlockReads) {
  ASSERT_EQ(::mkfifo((hostSandbox / "pipe").c_str(), 0600), 0);
  std::string data = "kept";
  EXPECT_NE(fs.ReadFile("C:\\Sandbox\\pipe", data), kOk);
  EXPECT_EQ(data, "kept");
}

TEST_F(EmulatedMapping, AttributesDefaultAndFollowDeletion) {
  HostWrite(hostSandbox / "f", "x");
  EXPECT_EQ(fs.Stat("C:\\Sandbox\\f")->attributes, kAttrArchive);
  EXPECT_EQ(fs.Stat("C:\\Sandbox")->attributes, kAttrDirectory);
  ASSERT_EQ(fs.SetAttributes("C:\\Sandbox\\F", 0), kOk);
  EXPECT_EQ(fs.Stat("C:\\Sandbox\\f")->attributes, kAttrNormal);
  ASSERT_EQ(fs.SetAttributes("C:\\Sandbox\\f", kAttrReadOnly | kAttrDirectory), kOk);
  EXPECT_EQ(fs.Stat("C:\\Sandbox\\f")->attributes, kAttrReadOnly);
  ASSERT_EQ(fs.DeleteFile("C:\\Sandbox\\f", true), kOk);
  HostWrite(hostSandbox / "f", "again");
  EXPECT_EQ(fs.Stat("C:\\Sandbox\\f")->attributes, kAttrArchive) << "a new file does not inherit old bits";

  // A read-only folder is removed only with force.
  ASSERT_EQ(fs.CreateFolder("C:\\Sandbox\\ro"), kOk);
  ASSERT_EQ(fs.SetAttributes("C:\\Sandbox\\ro", kAttrReadOnly), kOk);
  EXPECT_EQ(fs.Stat("C:\\Sandbox\\ro")->attributes, kAttrDirectory | kAttrReadOnly);
  EXPECT_EQ(fs.RemoveFolder("C:\\Sandbox\\ro", false), kErrAccessDenied);
  EXPECT_EQ(fs.RemoveFolder("C:\\Sandbox\\ro", true), kOk);
}

TEST_F(EmulatedMapping, LocksBlockEveryAccessUntilReleased) {
  HostWrite(hostSandbox / "busy", "old");
  std::string data;
  {
    auto lock = fs.LockFile("C:\\sandbox\\BUSY");
    ASSERT_TRUE(lock);
    EXPECT_EQ(fs.ReadFile("C:\\Sandbox\\busy", data), kErrSharingViolation);
    EXPECT_EQ(fs.WriteFileAtomic("C:\\Sandbox\\busy", "x"), kErrSharingViolation);
    EXPECT_EQ(fs.DeleteFile("C:\\Sandbox\\busy", true), kErrSharingViolation);
  }
  EXPECT_EQ(fs.ReadFile("C:\\Sandbox\\busy", data), kOk);
  EXPECT_FALSE(fs.LockFile("C:\\Sandbox\\none"));

  // A token may outlive its file system.
  auto other = std::make_unique<emulated::EmulatedFileSystem>(fixture->HostRoot());
  auto lock = other->LockFile("C:\\Sandbox\\busy");
  other.reset();
}

TEST_F(EmulatedMapping, RebootDeletesAreRecordedNotPerformed) {
  HostWrite(hostSandbox / "later.dat", "x");
  EXPECT_EQ(fs.DeleteAtReboot("c:/sandbox/later.dat"), kOk);
  EXPECT_EQ(fs.DeleteAtReboot("C:\\Sandbox\\gone\\..\\missing.dat"), kOk);
  EXPECT_EQ(fs.DeleteAtReboot("\\\\server\\share\\x"), kErrBadPathname);
  EXPECT_EQ(fs.PendingRebootDeletes(),
            (std::vector<std::string>{"C:\\sandbox\\later.dat", "C:\\Sandbox\\missing.dat"}));
  EXPECT_TRUE(fs::exists(hostSandbox / "later.dat"));
}

TEST_F(EmulatedMapping, FolderReplacedByALinkBetweenCallsIsNotFollowedOutside) {
  // Nothing resolved by one call is trusted by the next: a folder swapped
  // for a link to the host outside is seen as that link.
  const fs::path outside = fixture->HostRoot().parent_path() / (fixture->HostRoot().filename().string() + "-swap");
  fs::create_directories(outside);
  HostWrite(outside / "f", "host data");
  fs::create_directory(hostSandbox / "a");
  HostWrite(hostSandbox / "a" / "f", "mine");
  ASSERT_TRUE(fs.Stat("C:\\Sandbox\\a\\f"));

  fs::remove_all(hostSandbox / "a");
  fs::create_directory_symlink(outside, hostSandbox / "a");
  EXPECT_NE(fs.DeleteFile("C:\\Sandbox\\a\\f", true), kOk);
  EXPECT_FALSE(fs.ListFolder("C:\\Sandbox\\a", [](const FileEntry&) {}));
  EXPECT_NE(fs.RemoveFolder("C:\\Sandbox\\a\\f", true), kOk);
  EXPECT_EQ(HostRead(outside / "f"), "host data");
  fs::remove_all(outside);
}

TEST_F(EmulatedMapping, LinksInsideTheRootAndOtherSpellingsLeadToTheSameEntries) {
  fs::create_directories(hostSandbox / "Real" / "Inner");
  HostWrite(hostSandbox / "Real" / "Inner" / "Data.bin", "1234");
  fs::create_directory_symlink(hostSandbox / "Real", hostSandbox / "via");
  fs::create_symlink(hostSandbox / "Real" / "Inner" / "Data.bin", hostSandbox / "Real" / "Inner" / "filelink");

  for (const char* path : {"C:\\Sandbox\\Real\\Inner\\Data.bin", "C:\\Sandbox\\Real\\Inner\\DATA.BIN",
                           "C:\\SANDBOX\\real\\inner\\data.bin", "C:\\Sandbox\\via\\Inner\\Data.bin",
                           "C:\\Sandbox\\VIA\\inner\\Data.bin"}) {
    const auto entry = fs.Stat(path);
    ASSERT_TRUE(entry) << path;
    EXPECT_EQ(entry->size, 4u) << path;
    EXPECT_FALSE(entry->IsReparsePoint()) << path;
  }
  EXPECT_EQ(fs.HostPath("C:\\Sandbox\\Real\\Inner\\DATA.BIN"), hostSandbox / "Real" / "Inner" / "Data.bin");

  // Listed through the link or directly: the same names; links stay links.
  for (const char* folder : {"C:\\Sandbox\\Real\\Inner", "C:\\Sandbox\\via\\Inner"}) {
    std::map<std::string, std::uint32_t> seen;
    ASSERT_TRUE(fs.ListFolder(folder, [&](const FileEntry& e) { seen[e.name] = e.attributes; })) << folder;
    EXPECT_EQ(seen.size(), 2u) << folder;
    EXPECT_EQ(seen["Data.bin"], kAttrArchive) << folder;
    EXPECT_EQ(seen["filelink"], kAttrArchive | kAttrReparsePoint) << folder;
  }
  const auto viaLink = fs.Stat("C:\\Sandbox\\via");
  ASSERT_TRUE(viaLink);
  EXPECT_EQ(viaLink->attributes, kAttrDirectory | kAttrReparsePoint);

  // Deleting a file link takes the link; removing a folder link takes only the link.
  EXPECT_EQ(fs.DeleteFile("C:\\Sandbox\\Real\\Inner\\FILELINK", false), kOk);
  EXPECT_EQ(fs.RemoveFolder("C:\\Sandbox\\VIA", true), kOk);
  EXPECT_EQ(HostRead(hostSandbox / "Real" / "Inner" / "Data.bin"), "1234");
  EXPECT_EQ(fs.DeleteFile("C:\\Sandbox\\Real\\Inner\\data.BIN", false), kOk);
  EXPECT_FALSE(fs::exists(hostSandbox / "Real" / "Inner" / "Data.bin"));
}

TEST_F(EmulatedMapping, FoldersDeeperThanTheHostPathLimitAreReached) {
  // 2,100 levels make a host path of over 4,200 bytes, more than Linux takes
  // in one call; plain folders are still listed, read and deleted.
  constexpr int kDepth = 2100;
  int fd = ::open(hostSandbox.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  for (int level = 0; level < kDepth; ++level) {
    ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
    const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::close(fd);
    ASSERT_GE(next, 0);
    fd = next;
  }
  const int file = ::openat(fd, "Leaf.txt", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(file, 0);
  ASSERT_EQ(::write(file, "abc", 3), 3);
  ::close(file);
  ::close(fd);

  std::string folder = "C:\\Sandbox";
  for (int level = 0; level < kDepth; ++level) folder += "\\d";
  const auto leaf = fs.Stat(folder + "\\leaf.TXT");
  ASSERT_TRUE(leaf);
  EXPECT_EQ(leaf->size, 3u);
  EXPECT_EQ(leaf->path, folder + "\\leaf.TXT");
  std::vector<std::string> names;
  ASSERT_TRUE(fs.ListFolder(folder, [&](const FileEntry& e) { names.push_back(e.path); }));
  EXPECT_EQ(names, std::vector<std::string>{folder + "\\Leaf.txt"});
  EXPECT_EQ(fs.DeleteFile(folder + "\\Leaf.txt", false), kOk);
  EXPECT_FALSE(fs.Stat(folder + "\\Leaf.txt"));
  EXPECT_EQ(fs.CreateFolder(folder + "\\new"), kOk);
  EXPECT_EQ(fs.RemoveFolder(folder + "\\new", false), kOk);

  EXPECT_EQ(FileSystemObject(fs).DeleteFolder("C:\\Sandbox\\d", false), kOk);
  EXPECT_FALSE(fs::exists(hostSandbox / "d"));
}

}  // namespace
}  // namespace cv
