// The pages of extra items (community definitions, today's browsers): ticks
// from and to the selection file in the dialog's one write, warnings when
// ticking, the search and the order; the page's and the kept-domains
// window's mnemonics.
#include <gtest/gtest.h>

#include <set>

#include "clean/items_modern_browsers.h"
#include "config/extra_items_page.h"
#include "config/inifun.h"
#include "emulated_platform.h"
#include "keep/domain_keep_window.h"
#include "ui/mnemonics.h"

namespace cv {
namespace {

Item TestItem(std::string name, std::string group, std::string warning = "", std::string source = "winapp2") {
  Item item;
  item.section = "winapp2";
  item.key = item.displayName = std::move(name);
  item.group = std::move(group);
  item.source = std::move(source);
  item.warning = std::move(warning);
  return item;
}

class ExtraItemsPageTest : public ::testing::Test {
 protected:
  std::string Selection() const { return env.shell.programFolder + "\\vanesd.dat"; }
  // The dialog's "OK" with the page as its part.
  void SaveThroughDialog(std::unique_ptr<ExtraItemsPageModel> page) {
    SelectionDialogModel dialog(platform, env.messages, [](std::int64_t) { return std::string(); });
    dialog.AddPart(std::move(page));
    EXPECT_TRUE(dialog.Save().empty());
  }
  test::EmulatedPlatformFixture env;
  Platform platform = env.platform();
};

TEST_F(ExtraItemsPageTest, TicksComeFromAndGoToTheSelectionFile) {
  Inifun ini(env.files);
  ini.WriteIniValue(Selection(), "winapp2", "Editor", "1");
  ini.WriteIniValue(Selection(), "winapp2", "Player", "yes");  // only "1" ticks
  auto model = std::make_unique<ExtraItemsPageModel>(
      platform,
      std::vector<Item>{TestItem("Editor", "Applications"), TestItem("Player", "Multimedia", "Playlists go."),
                        TestItem("Chrome", "Browsers", "", "browser")},
      "winapp2", ExtraItemsOrder::kByGroupThenName);
  model->Load();
  ASSERT_EQ(model->Count(), 2u);  // the other source's item is not on this page
  EXPECT_TRUE(model->Ticked(0));
  EXPECT_FALSE(model->Ticked(1));

  EXPECT_EQ(model->SetTicked(1, true), "Playlists go.");
  EXPECT_EQ(model->SetTicked(1, true), "") << "already ticked";
  EXPECT_EQ(model->SetTicked(0, false), "");
  SaveThroughDialog(std::move(model));
  EXPECT_EQ(ini.ReadIniValue(Selection(), "winapp2", "Editor"), "0");
  EXPECT_EQ(ini.ReadIniValue(Selection(), "winapp2", "Player"), "1");
  EXPECT_EQ(ini.ReadIniValue(Selection(), "WINDOWS", "recycle"), "0") << "the dialog's own switches in the same file";
}

TEST_F(ExtraItemsPageTest, SearchNarrowsByNameAndListsByGroupThenName) {
  ExtraItemsPageModel model(platform,
                            {TestItem("Zip Tool", "Utilities"), TestItem("Audio Player", "Multimedia"),
                             TestItem("Video Player", "Multimedia"), TestItem("Notes", "Applications")},
                            "winapp2", ExtraItemsOrder::kByGroupThenName);
  EXPECT_EQ(model.Visible(""), (std::vector<std::size_t>{3, 1, 2, 0}));
  EXPECT_EQ(model.Visible(" PLAYER "), (std::vector<std::size_t>{1, 2}));
  EXPECT_TRUE(model.Visible("nothing").empty());
}

// The browser page: every browser item, in the browser table's order; ticks
// survive a save and a reopening, and older files without the sections tick nothing.
TEST_F(ExtraItemsPageTest, BrowserPageRoundTripsItsSectionsAndWarnsOnCookies) {
  Inifun ini(env.files);
  ini.WriteIniValue(Selection(), "EXPLORER", "cookies", "1");
  auto open = [&] {
    auto model = std::make_unique<ExtraItemsPageModel>(platform, ModernBrowserItems(platform), kModernBrowsersSource,
                                                       ExtraItemsOrder::kAsGiven);
    model->Load();
    return model;
  };
  auto model = open();
  ASSERT_EQ(model->Count(), 77u);
  for (std::size_t i = 0; i < model->Count(); ++i) EXPECT_FALSE(model->Ticked(i)) << model->At(i).displayName;
  EXPECT_EQ(model->Visible("").front(), 0u);
  EXPECT_EQ(model->At(model->Visible("chrome").front()).displayName, "Google Chrome Cache");
  EXPECT_EQ(model->Visible("firefox").size(), 7u);

  std::set<std::string> ticked;
  for (std::size_t i : model->Visible("cookies")) {
    EXPECT_NE(model->SetTicked(i, true).find("keepdomains.dat"), std::string::npos);
    ticked.insert(model->At(i).section + "/" + model->At(i).key);
  }
  model->SetTicked(model->Visible("Floorp History").front(), true);
  ticked.insert("ModernFloorp/history");
  SaveThroughDialog(std::move(model));
  EXPECT_EQ(ini.ReadIniValue(Selection(), "ModernChrome", "cookies"), "1");
  EXPECT_EQ(ini.ReadIniValue(Selection(), "ModernChrome", "cache"), "0");

  model = open();
  for (std::size_t i = 0; i < model->Count(); ++i)
    EXPECT_EQ(model->Ticked(i), ticked.count(model->At(i).section + "/" + model->At(i).key) == 1)
        << model->At(i).displayName;
}

// Each window's captions carry distinct mnemonics, and the page's button
// takes none of the search box's.
TEST(ExtraItemsPageKeys, MnemonicsAreUniquePerWindow) {
  auto distinct = [](auto captions) {
    std::set<char> seen;
    for (std::string_view caption : captions) {
      const char key = MnemonicOf(caption);
      if (key == 0 || !seen.insert(key).second) return false;
    }
    return true;
  };
  EXPECT_TRUE(distinct(std::vector<std::string_view>{kExtraItemsSearchCaption, kKeptDomainsButtonCaption}));
  EXPECT_TRUE(distinct(DomainKeepWindowTexts{}.Mnemonics()));
}

TEST(DomainKeepWindowMessages, SayWhatWentWrong) {
  using enum DomainKeepListModel::AddResult;
  EXPECT_EQ(DomainAddMessage(kAdded, "a.com", "C:\\p\\keepdomains.dat"), "");
  EXPECT_NE(DomainAddMessage(kNotADomain, " two words ", "f").find("\"two words\" is not a domain"), std::string::npos);
  EXPECT_NE(DomainAddMessage(kAlreadyListed, "https://WWW.A.com/x", "f").find("\"www.a.com\" is already listed"),
            std::string::npos);
  EXPECT_NE(DomainAddMessage(kNotSaved, "a.com", "C:\\p\\keepdomains.dat").find("C:\\p\\keepdomains.dat"),
            std::string::npos);
}

}  // namespace
}  // namespace cv
