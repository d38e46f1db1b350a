// The community page's model: ticks from and to the selection file's own
// section, warnings when ticking, and the search.
#include <gtest/gtest.h>

#include "config/community_page.h"
#include "config/inifun.h"
#include "emulated_platform.h"

namespace cv {
namespace {

ExtraItem Item(std::string name, std::string group, std::string warning = "", std::string source = "winapp2") {
  ExtraItem item;
  item.section = "winapp2";
  item.key = item.displayName = std::move(name);
  item.group = std::move(group);
  item.source = std::move(source);
  item.warning = std::move(warning);
  return item;
}

class CommunityPageTest : public ::testing::Test {
 protected:
  std::string Selection() const { return env.shell.programFolder + "\\vanesd.dat"; }
  test::EmulatedPlatformFixture env;
};

TEST_F(CommunityPageTest, TicksComeFromAndGoToTheSelectionFile) {
  Inifun ini(env.files);
  ini.WriteIniValue(Selection(), "winapp2", "Editor", "1");
  ini.WriteIniValue(Selection(), "winapp2", "Player", "yes");  // only "1" ticks
  Platform platform = env.platform();
  CommunityPageModel model(platform, {Item("Editor", "Applications"), Item("Player", "Multimedia", "Playlists go."),
                                      Item("Chrome", "Browsers", "", "browser")});
  model.Load();
  ASSERT_EQ(model.Count(), 2u);  // the other source's item is not on this page
  EXPECT_TRUE(model.Ticked(0));
  EXPECT_FALSE(model.Ticked(1));

  EXPECT_EQ(model.SetTicked(1, true), "Playlists go.");
  EXPECT_EQ(model.SetTicked(1, true), "") << "already ticked";
  EXPECT_EQ(model.SetTicked(0, false), "");
  EXPECT_TRUE(model.Save().empty());
  EXPECT_EQ(ini.ReadIniValue(Selection(), "winapp2", "Editor"), "0");
  EXPECT_EQ(ini.ReadIniValue(Selection(), "winapp2", "Player"), "1");
}

TEST_F(CommunityPageTest, SearchNarrowsByNameAndListsByGroupThenName) {
  Platform platform = env.platform();
  CommunityPageModel model(platform, {Item("Zip Tool", "Utilities"), Item("Audio Player", "Multimedia"),
                                      Item("Video Player", "Multimedia"), Item("Notes", "Applications")});
  EXPECT_EQ(model.Visible(""), (std::vector<std::size_t>{3, 1, 2, 0}));
  EXPECT_EQ(model.Visible(" PLAYER "), (std::vector<std::size_t>{1, 2}));
  EXPECT_TRUE(model.Visible("nothing").empty());
}

}  // namespace
}  // namespace cv
