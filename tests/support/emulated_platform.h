#pragma once
// A whole emulated Platform for native tests: an EmulatedFileSystem over a
// fresh host temporary folder (removed with the fixture), an in-memory
// registry, a shell with a plausible Windows 7 environment, recorded message
// boxes and a fixed clock. Native builds only.
#include <memory>
#include <string>
#include <string_view>

#include "platform/emulated/emulated_filesystem.h"
#include "platform/emulated/emulated_registry.h"
#include "platform/emulated/emulated_shell.h"
#include "platform/platform.h"
#include "test_filesystem_emulated.h"

namespace cv::test {

struct EmulatedPlatformFixture {
  // The environment the shell starts with; the folders named here exist.
  static constexpr const char* kUserProfile = "C:\\Users\\Tester";
  static constexpr const char* kAppData = "C:\\Users\\Tester\\AppData\\Roaming";
  static constexpr const char* kLocalAppData = "C:\\Users\\Tester\\AppData\\Local";
  static constexpr const char* kTemp = "C:\\Users\\Tester\\AppData\\Local\\Temp";

  EmulatedPlatformFixture();

  // Everything below shares the sandbox of `fileFixture`.
  std::unique_ptr<EmulatedFileSystemFixture> fileFixture;
  emulated::EmulatedFileSystem& files;
  emulated::EmulatedRegistry registry;
  emulated::EmulatedShell shell;
  emulated::RecordingMessageBoxes messages;
  emulated::FixedClock clock;

  Platform platform() { return Platform{registry, files, shell, messages, clock}; }
  // A fresh empty folder for the test ("C:\Sandbox").
  std::string Root() const { return fileFixture->Root(); }
  std::string Path(std::string_view relative) const { return fileFixture->Path(relative); }
};

}  // namespace cv::test
