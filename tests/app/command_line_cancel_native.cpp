// The command line stopped by Ctrl+C: the handler's request reaches the run,
// which reports what it did with "cancelled" and exit code 130.
#include <gtest/gtest.h>

#include <sstream>

#include "app/command_line.h"
#include "config/inifun.h"
#include "emulated_platform.h"

namespace cv {
namespace {

TEST(CommandLineCancel, AStoppedRunSaysSoInItsReportAndExitCode) {
  struct Case {
    bool cancel;
    int code;
    const char* marker;
  };
  for (const Case c : {Case{true, kExitCancelled, "\"cancelled\": true"}, Case{false, 0, "\"cancelled\": false"}}) {
    test::EmulatedPlatformFixture env;
    Platform platform = env.platform();
    CancelRequest cancel;
    if (c.cancel) cancel.Request();
    std::ostringstream out, err;
    EXPECT_EQ(RunCommandLine({"--clean", "--json"}, platform, out, err, &cancel), c.code);
    EXPECT_NE(out.str().find(c.marker), std::string::npos) << out.str();
    Inifun ini(env.files);
    // Even a run stopped at once stores its (empty) figures.
    EXPECT_EQ(ini.ReadIniValue(env.shell.programFolder + "\\vanesd.dat", "Options", "filesize"), "0");
  }
}

}  // namespace
}  // namespace cv
