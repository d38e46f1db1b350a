// The shredder's command-line form on the emulated platform.
#include <gtest/gtest.h>

#include <sstream>

#include "emulated_platform.h"
#include "platform/emulated/emulated_volumes.h"
#include "shredder/shred_command_line.h"

namespace cv {
namespace {

struct Outcome {
  int code = -1;
  std::string out, err;
};

class ShredCommandLine : public ::testing::Test {
 protected:
  Outcome Run(const std::vector<std::string>& args, const CancelRequest* cancel = nullptr) {
    std::ostringstream out, err;
    Outcome o;
    o.code = RunShredCommandLine(
        args, platform, volumes, [this] { return now += 1; }, out, err, cancel);
    o.out = out.str();
    o.err = err.str();
    return o;
  }
  void Write(const std::string& path, const std::string& bytes) {
    for (auto cut = path.find('\\', 3); cut != std::string::npos; cut = path.find('\\', cut + 1))
      world.files.CreateFolder(path.substr(0, cut));
    ASSERT_TRUE(world.fileFixture->WriteFile(path, bytes));
  }

  test::EmulatedPlatformFixture world;
  Platform platform = world.platform();
  emulated::EmulatedVolumes volumes{world.files};
  double now = 0;
};

TEST_F(ShredCommandLine, BadArgumentsAreRefusedWithAMessage) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--shred"}, "--shred needs the files or folders to shred"},
      {{"--shred", "--passes", "2", "C:\\a.txt"}, "--passes takes 1, 3 or 7"},
      {{"--shred", "C:\\a.txt", "--passes"}, "--passes takes 1, 3 or 7"},
      {{"--wipe-free-space"}, "--wipe-free-space takes one drive"},
      {{"--wipe-free-space", "D:", "E:"}, "--wipe-free-space takes one drive"},
      {{"--wipe-free-space", "relative"}, "--wipe-free-space takes one drive"},
  };
  for (const auto& c : cases) {
    const Outcome o = Run(c.args);
    EXPECT_EQ(o.code, 2) << c.message;
    EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
  }
}

TEST_F(ShredCommandLine, ShredsWhatItCanAndSaysWhatItRefused) {
  Write("C:\\Work\\a.txt", "secret");
  Write("C:\\Work\\Old\\b.txt", "secret");
  const Outcome o = Run({"--shred", "--passes", "7", "C:\\Work\\a.txt", "C:\\Work\\Old", "C:\\Work\\gone.txt", "C:\\"});

  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.out,
            "C:\\Work\\a.txt\tShredded\n"
            "C:\\Work\\Old\\b.txt\tShredded\n"
            "C:\\Work\\Old\tFolder removed\n"
            "Shredded 2 files.\n");
  EXPECT_NE(o.err.find("C:\\Work\\gone.txt was not found."), std::string::npos) << o.err;
  EXPECT_NE(o.err.find("C:\\ is protected"), std::string::npos) << o.err;
  EXPECT_FALSE(world.files.Stat("C:\\Work\\a.txt"));
  EXPECT_FALSE(world.files.Stat("C:\\Work\\Old"));

  Write("C:\\Work\\c.txt", "x");
  EXPECT_EQ(Run({"--shred", "C:\\Work\\c.txt"}).code, 0);
  CancelRequest cancel;
  cancel.Request();
  Write("C:\\Work\\d.txt", "x");
  EXPECT_EQ(Run({"--shred", "C:\\Work\\d.txt"}, &cancel).code, 130);
  EXPECT_TRUE(world.files.Stat("C:\\Work\\d.txt"));
}

TEST_F(ShredCommandLine, WipesAnotherDriveToTheFullAndTheWindowsDriveToTheMargin) {
  ASSERT_TRUE(std::filesystem::create_directory(world.fileFixture->HostRoot() / "d"));
  volumes.SetCapacity('D', 12 << 20);
  Outcome o = Run({"--wipe-free-space", "d:"});
  EXPECT_EQ(o.code, 0) << o.err;
  EXPECT_EQ(o.out, "Free space wiped: 12.00 MB overwritten.\n");
  EXPECT_NE(o.err.find("100%"), std::string::npos) << o.err;

  // The Windows drive keeps its margin: with less free than that, nothing is filled.
  volumes.SetCapacity('C', 50 << 20);
  o = Run({"--wipe-free-space", "C:\\"});
  EXPECT_EQ(o.code, 0) << o.err;
  EXPECT_EQ(o.out, "Nothing to wipe: the free space of C:\\ is within the 100.00 MB left free for Windows.\n");

  o = Run({"--wipe-free-space", "Q:"});
  EXPECT_EQ(o.code, 1);
  EXPECT_NE(o.err.find("Q:\\ was not found."), std::string::npos) << o.err;
}

}  // namespace
}  // namespace cv
