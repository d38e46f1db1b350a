// End to end under Wine: the batch file beside the program runs whatever the
// program folder is called, through a command line that quotes its path.
#include <gtest/gtest.h>

#include <string>

#include "e2e_support_win.h"
#include "test_filesystem.h"

namespace cv {
namespace {

TEST(CommandLinesEndToEnd, TheBatchFileRunsFromAnyProgramFolder) {
  const auto disk = test::MakeFileSystemFixture();
  for (const char* name : {"Clearvane (1)", "a&b"}) {
    SCOPED_TRACE(name);
    const std::string program = disk->Path(name);
    ASSERT_NO_FATAL_FAILURE(e2e::InstallProgram(*disk, program, "[WINDOWS]\r\nthumbs=1\r\n"));
    // Stands in for the real one: leaves a mark beside itself.
    ASSERT_TRUE(disk->WriteFile(program + "\\delThumbs.bat", "@echo ran>\"%~dp0ran.txt\"\r\n"));
    const e2e::Captured clean = e2e::RunCapturing("\"" + program + "\\clearvane-cli.exe\" --clean --json");
    ASSERT_EQ(clean.exitCode, 0u) << clean.out;
    EXPECT_NE(clean.out.find("Thumbs.db"), std::string::npos) << clean.out;
    EXPECT_TRUE(e2e::Exists(program + "\\ran.txt"));
  }
}

}  // namespace
}  // namespace cv
