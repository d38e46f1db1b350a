// "Wipe free space" on emulated drives of a given capacity, and on an ext2
// image mounted through FUSE, whose blocks are then searched for the bytes
// of a file deleted before the wipe.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "block_image_native.h"
#include "emulated_platform.h"
#include "platform/emulated/emulated_volumes.h"
#include "shredder/free_space_wipe.h"
#include "shredder/shred_list.h"

namespace cv {
namespace {

namespace fs = std::filesystem;
constexpr std::uint64_t kMB = 1 << 20;

class Watcher : public WipeObserver {
 public:
  void Progress(const WipeProgress& progress) override {
    seen.push_back(progress);
    if (onProgress) onProgress(progress);
  }
  bool CancelRequested() override { return cancelAt > 0 && seen.size() >= cancelAt; }

  std::vector<WipeProgress> seen;
  std::size_t cancelAt = 0;
  std::function<void(const WipeProgress&)> onProgress;
};

// Writes a file, making the folders on its way.
bool Write(test::EmulatedPlatformFixture& world, const std::string& path, const std::string& bytes) {
  for (auto cut = path.find('\\', 3); cut != std::string::npos; cut = path.find('\\', cut + 1))
    world.files.CreateFolder(path.substr(0, cut));
  return world.fileFixture->WriteFile(path, bytes);
}

class FreeSpaceWipe : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Write(world, "C:\\Data\\kept.bin", std::string(3 * kMB, 'k')));
    volumes.SetCapacity('C', 3 * kMB + 24 * kMB);
  }
  std::uint64_t Free() { return volumes.Space("C:\\")->freeBytes; }
  std::vector<std::string> RootNames() {
    std::vector<std::string> names;
    world.files.ListFolder("C:\\", [&](const FileEntry& e) { names.push_back(e.name); });
    return names;
  }
  bool KeptIntact() {
    std::string data;
    return world.files.ReadFile("C:\\Data\\kept.bin", data) == kOk && data == std::string(3 * kMB, 'k');
  }

  test::EmulatedPlatformFixture world;
  emulated::EmulatedVolumes volumes{world.files};
  double now = 0;
  FreeSpaceWiper wiper{world.files, volumes, [this] { return now += 0.25; }};
};

TEST_F(FreeSpaceWipe, FillsTheFreeSpaceThenDeletesEverythingItWrote) {
  const auto before = RootNames();
  std::uint64_t leastFree = Free();
  Watcher watcher;
  watcher.onProgress = [&](const WipeProgress&) { leastFree = std::min(leastFree, Free()); };
  const WipeResult result = wiper.Wipe("C:\\", 0, watcher);

  EXPECT_EQ(result.outcome, WipeOutcome::kDone) << result.text;
  EXPECT_EQ(result.written, 24 * kMB);
  EXPECT_EQ(leastFree, 0u);  // the drive was full at one point
  EXPECT_EQ(Free(), 24 * kMB);
  EXPECT_EQ(RootNames(), before);
  EXPECT_TRUE(KeptIntact());
  EXPECT_EQ(result.text, "Free space wiped: 24.00 MB overwritten.");
  ASSERT_FALSE(watcher.seen.empty());
  EXPECT_EQ(watcher.seen.back().phase, WipePhase::kRemoving);
}

TEST_F(FreeSpaceWipe, LeavesTheMarginFreeEvenWhenAnotherProgramWritesMeanwhile) {
  Watcher watcher;
  std::uint64_t leastFree = Free();
  bool otherProgramWrote = false;
  watcher.onProgress = [&](const WipeProgress& p) {
    leastFree = std::min(leastFree, Free());
    if (!otherProgramWrote && p.written >= 2 * kMB) {
      otherProgramWrote = Write(world, "C:\\Data\\other.bin", std::string(6 * kMB, 'o'));
    }
  };
  const WipeResult result = wiper.Wipe("C:\\", 10 * kMB, watcher, 300);

  EXPECT_EQ(result.outcome, WipeOutcome::kDone) << result.text;
  EXPECT_TRUE(otherProgramWrote);
  // The margin is measured again every few chunks, so the other program's
  // writing can take at most that much of it.
  EXPECT_GE(leastFree, 10 * kMB - kChunksPerSpaceCheck * kFillChunkBytes - 300 * kSmallFileBytes);
  EXPECT_EQ(result.smallFiles, 300u);
  EXPECT_LE(result.written, 24 * kMB - 10 * kMB - 6 * kMB + kChunksPerSpaceCheck * kFillChunkBytes);
  EXPECT_EQ(Free(), 24 * kMB - 6 * kMB);
  EXPECT_NE(result.text.find("10.00 MB left free for Windows"), std::string::npos) << result.text;
}

TEST_F(FreeSpaceWipe, CancelDeletesWhatWasWritten) {
  const auto before = RootNames();
  Watcher watcher;
  watcher.cancelAt = 5;
  const WipeResult result = wiper.Wipe("C:\\", 0, watcher);

  EXPECT_EQ(result.outcome, WipeOutcome::kCancelled);
  EXPECT_EQ(result.written, 5 * kFillChunkBytes);
  EXPECT_EQ(RootNames(), before);
  EXPECT_EQ(Free(), 24 * kMB);
  EXPECT_TRUE(KeptIntact());
}

// A wipe cut short (the program killed, the power gone) left its folder:
// the next wipe deletes the files it knows as its own, nothing else.
TEST_F(FreeSpaceWipe, LeftoversOfAnInterruptedWipeGoButNothingElse) {
  for (const char* file :
       {"C:\\~ClearvaneWipe\\fill-000001.tmp", "C:\\~ClearvaneWipe\\s000042.tmp",
        "C:\\~ClearvaneWipe-2\\fill-000003.tmp", "C:\\~ClearvaneWipe-2\\notes.txt", "C:\\~ClearvaneWipe-2\\fill-1.tmp"})
    ASSERT_TRUE(Write(world, file, std::string(kMB, 'x')));
  Watcher watcher;
  const WipeResult result = wiper.Wipe("C:\\", 0, watcher);

  EXPECT_EQ(result.outcome, WipeOutcome::kDone) << result.text;
  EXPECT_FALSE(world.files.Stat("C:\\~ClearvaneWipe"));
  EXPECT_FALSE(world.files.Stat("C:\\~ClearvaneWipe-2\\fill-000003.tmp"));
  EXPECT_TRUE(world.files.Stat("C:\\~ClearvaneWipe-2\\notes.txt"));
  EXPECT_TRUE(world.files.Stat("C:\\~ClearvaneWipe-2\\fill-1.tmp"));
  EXPECT_EQ(result.written, 24 * kMB - 2 * kMB);
}

TEST_F(FreeSpaceWipe, ADriveWhoseSpaceIsUnknownIsLeftAlone) {
  Watcher watcher;
  const WipeResult result = wiper.Wipe("D:\\", 0, watcher);
  EXPECT_EQ(result.outcome, WipeOutcome::kFailed);
  EXPECT_EQ(result.text, "The free space of D:\\ cannot be read.");
  EXPECT_TRUE(watcher.seen.empty());
}

TEST_F(FreeSpaceWipe, TheEstimateOfTheTimeLeftFollowsTheSpeed) {
  Watcher watcher;
  wiper.Wipe("C:\\", 0, watcher);
  // Each chunk takes the same time here (a quarter second per clock reading),
  // so half-way through the time left is about the time taken so far.
  for (const WipeProgress& p : watcher.seen) {
    if (p.phase != WipePhase::kFilling || p.written != p.toWrite / 2) continue;
    ASSERT_TRUE(p.secondsLeft);
    EXPECT_NEAR(*p.secondsLeft, 12 * 0.25, 0.5);
  }
  EXPECT_FALSE(watcher.seen.front().secondsLeft) << "no estimate before a second has passed";
}

TEST(WipeTexts, MarginAndTimeLeft) {
  const struct {
    const char* drive;
    std::uint64_t margin;
  } margins[] = {{"C:\\", kSystemDriveMargin},
                 {"c:", kSystemDriveMargin},
                 {"D:\\", kSystemDriveMargin},
                 {"E:\\", 0},
                 {"", kSystemDriveMargin}};
  for (const auto& c : margins) EXPECT_EQ(WipeMargin(c.drive, "C:\\WINDOWS", "D:\\Temp"), c.margin) << c.drive;

  const struct {
    double seconds;
    const char* text;
  } times[] = {{0, "About 5 seconds left"},
               {41, "About 45 seconds left"},
               {59.4, "About 60 seconds left"},
               {60, "About 1 minute left"},
               {749, "About 12 minutes left"},
               {5369, "About 89 minutes left"},
               {5400, "About 1 hour 30 minutes left"},
               {7200, "About 2 hours left"},
               {7290, "About 2 hours 2 minutes left"}};
  for (const auto& c : times) EXPECT_EQ(TimeLeftText(c.seconds), c.text) << c.seconds;
}

std::string Pattern(const std::string& word) {
  std::string out;
  while (out.size() < 200000) out += word + "-";
  return out;
}

// On a real file system: the blocks of a file deleted before the wipe hold
// random bytes afterwards; the image's own files are intact; a cancelled
// wipe leaves no fill file behind.
TEST(FreeSpaceWipeOnDisk, TheBytesOfADeletedFileAreGoneFromTheImage) {
  test::EmulatedPlatformFixture world;
  ASSERT_EQ(world.files.CreateFolder("C:\\Disk"), kOk);
  const fs::path host = world.fileFixture->HostRoot() / "c" / "Disk";
  test::BlockImage image(16, host);
  if (!image.Mounted()) GTEST_SKIP() << "no disk image to look at: " << image.Why();
  emulated::EmulatedVolumes volumes(world.files);
  volumes.MountHostVolume("C:\\Disk");
  double now = 0;
  FreeSpaceWiper wiper(world.files, volumes, [&] { return now += 1; });
  std::ofstream(host / "kept.txt", std::ios::binary) << Pattern("KEPT-DELTA");

  Watcher cancelling;
  cancelling.cancelAt = 3;
  EXPECT_EQ(wiper.Wipe("C:\\Disk", 0, cancelling).outcome, WipeOutcome::kCancelled);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(host)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"kept.txt", "lost+found"}));

  std::ofstream(host / "secret.txt", std::ios::binary) << Pattern("SECRET-ECHO");
  ::sync();
  fs::remove(host / "secret.txt");
  ::sync();
  Watcher watcher;
  const WipeResult result = wiper.Wipe("C:\\Disk", 0, watcher);
  EXPECT_EQ(result.outcome, WipeOutcome::kDone) << result.text;
  EXPECT_GT(result.written, 10 * kMB);
  EXPECT_GT(result.smallFiles, 0u);

  std::string kept;
  ASSERT_EQ(world.files.ReadFile("C:\\Disk\\kept.txt", kept), kOk);
  EXPECT_EQ(kept, Pattern("KEPT-DELTA"));
  EXPECT_FALSE(world.files.Stat("C:\\Disk\\~ClearvaneWipe"));
  EXPECT_FALSE(image.ImageContains(Pattern("SECRET-ECHO").substr(0, 4096)));
  EXPECT_TRUE(image.ImageContains(Pattern("KEPT-DELTA").substr(0, 4096)));
}

}  // namespace
}  // namespace cv
