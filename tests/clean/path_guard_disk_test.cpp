#include <gtest/gtest.h>

#include "clean/path_guard.h"
#include "test_filesystem.h"

namespace cv {
namespace {

// Other names of a protected folder on disk: another letter case, links on
// the way or at the end. Folders below the protected one stay allowed.
TEST(PathGuardOnDisk, OtherNamesOfAProtectedFolderAreRefused) {
  const auto fixture = test::MakeFileSystemFixture();
  const auto path = [&](const char* relative) { return fixture->Path(relative); };
  for (const char* folder : {"Users", "Users\\J\xC3\xB6rg", "Users\\J\xC3\xB6rg\\Cache", "Other"})
    ASSERT_TRUE(fixture->MakeFolder(path(folder)));
  PathGuard guard(fixture->fs());
  guard.Protect(path("Users\\J\xC3\xB6rg"));

  const bool links = fixture->SupportsFolderLinks();
  if (links) {
    ASSERT_TRUE(fixture->MakeFolderLink(path("Documents and Settings"), path("Users")));
    ASSERT_TRUE(fixture->MakeFolderLink(path("Other\\Profile"), path("Users\\J\xC3\xB6rg")));
    ASSERT_TRUE(fixture->MakeFolderLink(path("Other\\Cache"), path("Users\\J\xC3\xB6rg\\Cache")));
  }
  const struct {
    const char* relative;
    bool allowed;
    bool throughLink;
  } cases[] = {
      {"Users\\J\xC3\x96RG", false, false},  // "JÖRG"
      {"USERS\\j\xC3\xB6rg\\.", false, false},
      {"Users", false, false},
      {"Users\\J\xC3\x96RG\\Cache", true, false},
      {"Other", true, false},
      {"Documents and Settings", false, true},  // a link to the folder above
      {"Documents and Settings\\J\xC3\xB6rg", false, true},
      {"Documents and Settings\\J\xC3\x96RG\\Cache", true, true},
      {"Other\\Profile", false, true},  // a link to the folder itself
      {"Other\\Cache", true, true},     // a link to a folder below
  };
  for (const auto& c : cases) {
    if (c.throughLink && !links) continue;
    EXPECT_EQ(guard.AllowsFolder(path(c.relative)), c.allowed) << c.relative;
  }
}

}  // namespace
}  // namespace cv
