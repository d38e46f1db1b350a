// The service state call against the real service control manager.
#include <gtest/gtest.h>

#include "platform/win32/shell_win.h"

namespace cv {
namespace {

TEST(Win32ShellServices, RunningMissingAndBadlyNamedServices) {
  const struct {
    const char* name;
    ServiceState expected;
  } cases[] = {
      {"PlugPlay", ServiceState::kActive},  // Plug and Play runs on every Windows (and Wine)
      {"plugplay", ServiceState::kActive},  // service names match without regard to case
      {"CvNoSuchService42", ServiceState::kUnknown}, {"", ServiceState::kUnknown},
      {"bad\\name", ServiceState::kUnknown},
  };
  win32::Win32Shell shell;
  for (const auto& c : cases) EXPECT_EQ(shell.QueryServiceState(c.name), c.expected) << c.name;
}

}  // namespace
}  // namespace cv
