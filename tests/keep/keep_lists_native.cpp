#include <gtest/gtest.h>

#include "config/regfun.h"
#include "keep/cookie_keep_list.h"
#include "keep/url_keep_list.h"
#include "platform/emulated/emulated_registry.h"
#include "platform/emulated/emulated_shell.h"
#include "test_filesystem.h"

namespace cv {
namespace {

using Lines = std::vector<std::string>;

class KeepListTest : public ::testing::Test {
 protected:
  KeepListTest() : fixture(test::MakeFileSystemFixture()), reg(registry, messages) {
    shell.SetEnvironmentVariable("USERPROFILE", fixture->Root());
  }
  std::string Path(std::string_view name) { return fixture->Path(name); }
  std::string Read(std::string_view name) {
    std::string text;
    fixture->fs().ReadFile(Path(name), text);
    return text;
  }
  void SetTypedUrl(std::string_view name, std::string_view data) {
    ScopedRegKey key(registry);
    ASSERT_EQ(registry.CreateKey(kHkeyCurrentUser, kTypedUrlsSubKey, key.out()), kOk);
    registry.SetValue(key.get(), name, kRegSz, data);
  }

  std::unique_ptr<test::FileSystemFixture> fixture;
  emulated::EmulatedRegistry registry;
  emulated::EmulatedShell shell;
  emulated::RecordingMessageBoxes messages;
  regfun reg;
};

TEST_F(KeepListTest, FileLinesKeepOrderDuplicatesAndEmptyLinesWithoutTrailingSpaces) {
  KeepListFile file(fixture->fs(), Path("keepurl.dat"));
  EXPECT_FALSE(file.Exists());
  EXPECT_TRUE(file.Read().empty());
  fixture->WriteFile(Path("keepurl.dat"), "b  \r\n\r\na\r\nb\nc\rlast  ");
  EXPECT_EQ(file.Read(), (Lines{"b", "", "a", "b", "c", "last"}));
  fixture->WriteFile(Path("keepurl.dat"), "");
  EXPECT_TRUE(file.Read().empty());
}

TEST_F(KeepListTest, UrlModelListsReadableTypedUrlsAndAddsAndRemoves) {
  SetTypedUrl("url1", std::string("http://a.example/\0", 18));
  SetTypedUrl("url2", std::string(300, 'x'));  // too long for the value buffer: left out, later ones still listed
  SetTypedUrl("url3", "http://c.example/   ");
  UrlKeepListModel model(registry, reg, fixture->fs(), Path("keepurl.dat"));
  model.Load();
  EXPECT_EQ(model.Current(), (Lines{"http://a.example/", "http://c.example/   "}));
  EXPECT_TRUE(model.Kept().empty());

  model.Add(1);
  model.Add(1);
  model.Add(std::nullopt);
  EXPECT_EQ(model.Kept(), (Lines{"http://c.example/   ", "http://c.example/   ", ""}));
  EXPECT_EQ(Read("keepurl.dat"), "http://c.example/\r\nhttp://c.example/\r\n\r\n");

  model.Add(0);
  model.Remove({2, 0, 9});
  EXPECT_EQ(model.Kept(), (Lines{"http://c.example/   ", "http://a.example/"}));
  EXPECT_EQ(Read("keepurl.dat"), "http://c.example/   \r\nhttp://a.example/\r\n");

  model.Remove({0, 1});
  EXPECT_EQ(Read("keepurl.dat"), "");
  UrlKeepListModel reloaded(registry, reg, fixture->fs(), Path("keepurl.dat"));
  reloaded.Load();
  EXPECT_TRUE(reloaded.Kept().empty());
}

TEST_F(KeepListTest, AppendNeverJoinsAHandEditedLastLine) {
  fixture->WriteFile(Path("keepurl.dat"), "http://a.example/");
  KeepListFile(fixture->fs(), Path("keepurl.dat")).Append("http://b.example/ ");
  EXPECT_EQ(Read("keepurl.dat"), "http://a.example/\r\nhttp://b.example/\r\n");
}

TEST_F(KeepListTest, MissingTypedUrlKeyGivesAnEmptyCurrentList) { EXPECT_TRUE(ReadTypedUrls(registry, reg).empty()); }

TEST_F(KeepListTest, CookieModelListsDotTxtFilesCaseSensitively) {
  const std::string cookies = Path("Cookies");
  fixture->MakeFolder(cookies);
  fixture->WriteFile(cookies + "\\a@site[1].txt", "cookie text\nsecond line");
  fixture->WriteFile(cookies + "\\B@SITE[1].TXT", "upper");
  fixture->WriteFile(cookies + "\\c.txt.bak", "inside");
  fixture->WriteFile(cookies + "\\index.dat", "idx");
  fixture->MakeFolder(cookies + "\\folder.txt");
  {
    ScopedRegKey key(registry);
    registry.CreateKey(kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                       key.out());
    const std::string stored = "%USERPROFILE%\\Cookies";
    registry.SetValue(key.get(), "Cookies", kRegExpandSz, stored);
  }
  CookieKeepListModel model(reg, shell, fixture->fs(), Path("keepcook.dat"));
  model.Load();
  Lines current = model.Current();
  std::sort(current.begin(), current.end());
  EXPECT_EQ(current, (Lines{cookies + "\\a@site[1].txt", cookies + "\\c.txt.bak"}));

  const std::size_t a = model.Current()[0] == cookies + "\\a@site[1].txt" ? 0 : 1;
  model.ShowCookie(model.Current()[a]);
  EXPECT_EQ(model.PreviewText(), "cookie text\nsecond line");
  model.ShowCookie(cookies + "\\vanished.txt");
  EXPECT_EQ(model.PreviewText(), "cookie text\nsecond line");

  model.Add(a);
  EXPECT_EQ(Read("keepcook.dat"), cookies + "\\a@site[1].txt\r\n");
  EXPECT_TRUE(IsKeptCookie(model.Kept(), cookies + "\\a@site[1].txt"));
  EXPECT_FALSE(IsKeptCookie(model.Kept(), cookies + "\\A@site[1].txt"));
  EXPECT_FALSE(IsKeptCookie({}, cookies + "\\a@site[1].txt"));
  model.Remove({0});
  EXPECT_EQ(Read("keepcook.dat"), "");
}

TEST_F(KeepListTest, AReadOnlyKeepFileLeavesTheListAsTheFileIs) {
  SetTypedUrl("url1", "http://a.example/");
  fixture->WriteFile(Path("keepurl.dat"), "kept\r\n");
  ASSERT_TRUE(fixture->SetReadOnly(Path("keepurl.dat")));
  UrlKeepListModel model(registry, reg, fixture->fs(), Path("keepurl.dat"));
  model.Load();
  EXPECT_NE(model.Remove({0}), kOk);
  EXPECT_NE(model.Add(0), kOk);
  EXPECT_EQ(model.Kept(), (Lines{"kept"}));
  EXPECT_EQ(Read("keepurl.dat"), "kept\r\n");
}

TEST_F(KeepListTest, CookieModelWithoutFolderOrFileIsEmpty) {
  CookieKeepListModel model(reg, shell, fixture->fs(), Path("keepcook.dat"));
  model.Load();
  EXPECT_EQ(model.CookieFolder(), "Error");
  EXPECT_TRUE(model.Current().empty());
  EXPECT_TRUE(model.Kept().empty());
}

}  // namespace
}  // namespace cv
