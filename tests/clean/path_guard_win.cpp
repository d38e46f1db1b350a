// Short (8.3) names under Windows, and under Wine where it makes them.
#include <gtest/gtest.h>

#include <string>

#include "clean/path_guard.h"
#include "platform/text.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/text_win.h"
#include "platform/win32/win.h"
#include "test_filesystem.h"

namespace cv {
namespace {

std::string ShortName(const std::string& path) {
  wchar_t buffer[1024] = {};
  const DWORD n = ::GetShortPathNameW(win32::Widen(path).c_str(), buffer, 1024);
  return n == 0 || n >= 1024 ? std::string() : win32::Narrow(buffer);
}

TEST(PathGuardShortNames, AShortNameOfAProtectedFolderIsRefused) {
  const auto fixture = test::MakeFileSystemFixture();
  const std::string folder = fixture->Path("Protected Long Folder Name");
  ASSERT_TRUE(fixture->MakeFolder(folder));
  ASSERT_TRUE(fixture->MakeFolder(folder + "\\Cache Folder"));
  win32::Win32Shell shell;
  PathGuard guard = PathGuard::ForSystem(shell, fixture->fs());
  guard.Protect(folder);

  const std::string programFiles = shell.GetEnvironmentVariable("ProgramFiles").value_or("");
  const std::string shortProgramFiles = ShortName(programFiles);
  const std::string shortFolder = ShortName(folder);
  if (shortFolder.empty() || EqualsNoCase(shortFolder, folder) || EqualsNoCase(shortProgramFiles, programFiles))
    GTEST_SKIP() << "this file system gives no short names";
  for (const std::string& path : {shortFolder, shortProgramFiles}) EXPECT_FALSE(guard.AllowsFolder(path)) << path;
  EXPECT_TRUE(guard.AllowsFolder(ShortName(folder + "\\Cache Folder")));
}

}  // namespace
}  // namespace cv
