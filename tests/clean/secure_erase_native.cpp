// Secure erasure seen on the disk: the files live on an ext2 image mounted
// inside the emulated drive, and after the primitives deleted them the image's
// blocks are searched for their old bytes. A plain delete leaves them there
// (the control that shows the search can see deleted data).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "block_image_native.h"
#include "clean/allerase.h"
#include "clean/clean_run.h"
#include "emulated_platform.h"

namespace cv {
namespace {

namespace fs = std::filesystem;

std::string Pattern(const std::string& word) {
  std::string out;
  while (out.size() < 150000) out += word + "-";
  return out;
}

std::string Content(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

class SecureErase : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(world.files.CreateFolder("C:\\Secure"), kOk);
    host = world.fileFixture->HostRoot() / "c" / "Secure";
    image = std::make_unique<test::BlockImage>(16, host);
    if (!image->Mounted()) GTEST_SKIP() << "no disk image to look at: " << image->Why();
  }

  void Write(const std::string& relative, const std::string& content) {
    fs::create_directories((host / relative).parent_path());
    std::ofstream(host / relative, std::ios::binary) << content;
  }

  allerase Make(int passes) {
    allerase erase(platform, guard, EraseMode::Clean, nullptr, {});
    erase.SetOverwritePasses(passes);
    return erase;
  }

  test::EmulatedPlatformFixture world;
  Platform platform = world.platform();
  PathGuard guard = PathGuard::ForSystem(world.shell, world.files);
  fs::path host;
  std::unique_ptr<test::BlockImage> image;  // unmounted before the sandbox goes
};

TEST_F(SecureErase, OverwrittenBytesLeaveTheDiskAndOnlyWhatIsDeletedIsOverwritten) {
  Write("single.txt", Pattern("SINGLE"));
  Write("tree/sub/walked.txt", Pattern("WALKED"));
  Write("tree/readonly.txt", Pattern("READONLY"));
  Write("shared.txt", Pattern("SHARED"));
  ASSERT_EQ(::link((host / "shared.txt").c_str(), (host / "kept-name.txt").c_str()), 0);
  Write("plain.txt", Pattern("PLAIN"));
  ASSERT_EQ(world.files.SetAttributes("C:\\Secure\\tree\\readonly.txt", kAttrReadOnly), kOk);

  auto secure = Make(1);
  // Counted once, as a plain delete counts it.
  EXPECT_EQ(secure.DeleteSingleFile("C:\\Secure\\single.txt"), static_cast<double>(Pattern("SINGLE").size()));
  // A walk: the read-only file is not deleted without force, so it must not be overwritten either.
  secure.DeleteAllFilesInTree("C:\\Secure\\tree");
  secure.DeleteSingleFile("C:\\Secure\\shared.txt");
  Make(0).DeleteSingleFile("C:\\Secure\\plain.txt");

  EXPECT_FALSE(fs::exists(host / "single.txt"));
  EXPECT_FALSE(fs::exists(host / "tree" / "sub" / "walked.txt"));
  EXPECT_FALSE(fs::exists(host / "shared.txt"));
  EXPECT_EQ(Content(host / "tree" / "readonly.txt"), Pattern("READONLY"));
  EXPECT_EQ(Content(host / "kept-name.txt"), Pattern("SHARED"));
  // Only the names above are left: no file renamed for its erasure stays behind.
  std::vector<std::string> left;
  for (const auto& entry : fs::recursive_directory_iterator(host))
    if (entry.is_regular_file()) left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"kept-name.txt", "readonly.txt"}));

  EXPECT_FALSE(image->ImageContains(Pattern("SINGLE").substr(0, 4096)));
  EXPECT_FALSE(image->ImageContains(Pattern("WALKED").substr(0, 4096)));
  EXPECT_TRUE(image->ImageContains(Pattern("PLAIN").substr(0, 4096))) << "the control: a plain delete leaves its bytes";
}

TEST(OverwritePassesTest, FollowTheOptionsAsTheirBoxesShowThem) {
  const struct {
    const char* securely;
    const char* passes;
    int expected;
  } cases[] = {{"1", "", 1}, {"1", "3", 3}, {"0", "3", 0}, {"", "", 0}, {"x", "2", 0}, {"2", "3", 0}, {"01", "3", 3}};
  for (const auto& c : cases)
    EXPECT_EQ(OverwritePasses(c.securely, c.passes), c.expected) << c.securely << "/" << c.passes;
}

}  // namespace
}  // namespace cv
