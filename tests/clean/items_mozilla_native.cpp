#include <gtest/gtest.h>

#include "browsers_fixture.h"

namespace cv::test {
namespace {

class MozillaItemsTest : public ::testing::Test, public BrowsersFixture {
 protected:
  MozillaItemsTest() { AddBrowserProfiles(); }

  static std::string Firefox(std::string_view profile, std::string_view name) {
    return Roaming("Mozilla\\Firefox\\Profiles\\" + std::string(profile) + "\\" + std::string(name));
  }
  static std::string Nsb(std::string_view name) { return Roaming("Netscape\\NSB\\Profiles\\p1\\" + std::string(name)); }
  static std::string Navigator(std::string_view name) {
    return Roaming("Netscape\\Navigator\\Profiles\\p2\\" + std::string(name));
  }
};

TEST_F(MozillaItemsTest, EveryItemRemovesExactlyItsFilesAndFolders) {
  for (const char* key : {"Address", "Cookies", "cache", "History", "Download", "bookmarks", "passwords"})
    Select("FIREFOX", key);
  for (const char* key :
       {"Address", "Cookies", "cache", "History", "downloads", "Sessions", "Images", "Bookmarks", "Passwords"})
    Select("Opera", key);
  for (const char* key : {"Location", "Cookies", "Cache", "History", "download", "bookmarks", "passwords"})
    Select("Netscape", key);
  for (const char* key : {"Address", "Cookies", "cache", "History"}) Select("Mozilla", key);

  std::set<std::string> gone;
  for (const char* profile : {"abc.default", "xyz.second"})
    for (const char* name : {"places.sqlite", "cookies.sqlite", "downloads.sqlite", "key3.db"})
      gone.insert(Firefox(profile, name));
  gone.insert(Local("Mozilla\\Firefox\\Profiles\\abc.default\\Cache\\_CACHE_001_"));
  gone.insert(Local("Mozilla\\Firefox\\Profiles\\abc.default\\Cache\\0\\A1\\entry"));
  gone.insert(Local("Mozilla\\Firefox\\Profiles\\xyz.second\\cache\\entry"));
  for (const char* name : {"typed_history.xml", "cookies4.dat", "global_history.dat", "download.dat", "bookmarks.adr",
                           "wand.dat", "sessions\\autosave.win"})
    gone.insert(Roaming(std::string("Opera\\Opera\\") + name));
  gone.insert(Local("Opera\\Opera\\cache\\opr00001.tmp"));
  gone.insert(Local("Opera\\Opera\\thumbnails\\t1.png"));
  for (const char* name : {"history.dat", "cookies.txt", "localstore.rdf", "downloads.rdf", "bookmarks.html",
                           "signons2.txt", "signons.txt", "Cache\\blob"})
    gone.insert(Nsb(name));
  for (const char* name : {"history.dat", "cookies.txt", "localstore.rdf", "cache\\c1"})
    gone.insert(Roaming(std::string("Mozilla\\Profiles\\m1\\") + name));

  const auto before = Snapshot();
  const RunResult preview = RunBrowsers(EraseMode::Preview);
  ExpectOnlyRemoved(before, {});

  const RunResult result = RunBrowsers();
  ExpectOnlyRemoved(before, gone);
  EXPECT_EQ(result.bytesReleased, SizeOf(before, gone)) << "shared files count once";
  EXPECT_EQ(preview.bytesReleased, result.bytesReleased);
  EXPECT_EQ(result.registryKeysCleaned, 0);
  EXPECT_EQ(recorder.ItemRows().size(), 27u);
  // The history and download items remove rows of "places.sqlite": a file
  // that is no database is left for the bookmarks item, and their rows say so.
  for (const auto& row : recorder.ItemRows())
    if (row.item == "Firefox Address Bar History" || row.item == "Firefox History Files" ||
        row.item == "Firefox Download Manager History")
      EXPECT_EQ(row.status.rfind("Done; places.sqlite is not a database, left untouched (", 0), 0u) << row.status;
    else
      EXPECT_EQ(row.status, "Done") << row.item;
  EXPECT_TRUE(Exists(Local("Mozilla\\Firefox\\Profiles\\abc.default")));
  EXPECT_FALSE(Exists(Local("Mozilla\\Firefox\\Profiles\\abc.default\\Cache")));
  EXPECT_TRUE(Exists(Roaming("Mozilla\\Firefox\\Profiles\\abc.default\\Cache\\roaming-cache.bin")));
}

TEST_F(MozillaItemsTest, PlacesItemsShareTheirFilesAndCountThemOnce) {
  Select("FIREFOX", "Address");
  Select("FIREFOX", "History");
  Select("FIREFOX", "bookmarks");
  const auto before = Snapshot();
  const std::set<std::string> gone = {Firefox("abc.default", "places.sqlite"), Firefox("xyz.second", "places.sqlite")};
  const RunResult preview = RunBrowsers(EraseMode::Preview);
  const RunResult result = RunBrowsers();
  ExpectOnlyRemoved(before, gone);
  EXPECT_EQ(result.bytesReleased, 2100);
  EXPECT_EQ(preview.bytesReleased, 2100);
  EXPECT_TRUE(Exists(Firefox("abc.default", "backup\\Places.sqlite"))) << "names match with case";
}

TEST_F(MozillaItemsTest, CookiesOfBothFirefoxProfilesAreSummed) {
  Select("FIREFOX", "Cookies");
  const RunResult result = RunBrowsers();
  EXPECT_EQ(result.bytesReleased, 410);
  EXPECT_FALSE(Exists(Firefox("abc.default", "cookies.sqlite")));
  EXPECT_FALSE(Exists(Firefox("xyz.second", "cookies.sqlite")));
}

TEST_F(MozillaItemsTest, NetscapeUsesNavigatorOnlyWithoutNsbAndLooksAgainPerItem) {
  Select("Netscape", "Location");
  Select("Netscape", "Cookies");
  RunBrowsers();
  EXPECT_FALSE(Exists(Nsb("history.dat")));
  EXPECT_TRUE(Exists(Navigator("history.dat")));
  EXPECT_TRUE(Exists(Navigator("cookies.txt")));

  // Without the NSB profiles the Navigator root is used.
  std::filesystem::remove_all(env.files.HostPath(Roaming("Netscape\\NSB")));
  const RunResult result = RunBrowsers();
  EXPECT_FALSE(Exists(Navigator("history.dat")));
  EXPECT_FALSE(Exists(Navigator("cookies.txt")));
  EXPECT_EQ(result.bytesReleased, (60 + 11) + (60 + 11));
}

TEST_F(MozillaItemsTest, MissingProfilesGiveNothingAndDone) {
  std::filesystem::remove_all(env.files.HostPath(Roaming("Mozilla")));
  std::filesystem::remove_all(env.files.HostPath(Local("Opera")));
  Select("FIREFOX", "Address");
  Select("Mozilla", "cache");
  Select("Opera", "cache");
  const RunResult result = RunBrowsers();
  EXPECT_EQ(result.bytesReleased, 0);
  ASSERT_EQ(recorder.ItemRows().size(), 3u);
  for (const auto& row : recorder.ItemRows()) EXPECT_EQ(row.status, "Done");
}

}  // namespace
}  // namespace cv::test
