// The offer to close a running browser before a run started at the window:
// which browsers are asked about (ticked and holding their lock), the
// question, and what Yes and No do.
#include <gtest/gtest.h>

#include "app/browser_close_offer.h"
#include "clean/items_run_fixture.h"
#include "config/inifun.h"
#include "platform/emulated/emulated_desktop_windows.h"

namespace cv::test {
namespace {

const BrowserSpec& Named(std::string_view name) {
  for (const BrowserSpec& browser : Browsers())
    if (browser.name == name) return browser;
  throw std::logic_error("no such browser");
}

// Closing removes the browser's Chromium lock file, as the real browser does on exit.
class FakeCloser : public BrowserCloser {
 public:
  explicit FakeCloser(ItemRunFixture& fixture) : fixture_(fixture) {}
  void Close(const BrowserSpec& browser, const std::function<bool()>& running) override {
    closed.emplace_back(browser.name);
    stillRunningBefore.push_back(running());
    fixture_.env.files.DeleteFile(
        std::string(EmulatedPlatformFixture::kLocalAppData) + "\\" + std::string(browser.root) + "\\lockfile", true);
    stillRunningAfter.push_back(running());
  }
  std::vector<std::string> closed;
  std::vector<bool> stillRunningBefore, stillRunningAfter;

 private:
  ItemRunFixture& fixture_;
};

class BrowserCloseOfferTest : public ::testing::Test, public ItemRunFixture {
 protected:
  // A Chromium browser's profile, with its lock file when it runs.
  void AddChromium(std::string_view root, bool running) {
    const std::string folder = std::string(EmulatedPlatformFixture::kLocalAppData) + "\\" + std::string(root);
    WriteFile(folder + "\\Default\\Preferences", "{}");
    if (running) WriteFile(folder + "\\lockfile", "");
  }
  std::string Firefox(std::string_view relative) const {
    return std::string(EmulatedPlatformFixture::kAppData) + "\\Mozilla\\Firefox\\" + std::string(relative);
  }
  std::vector<std::string> Names(const std::vector<const BrowserSpec*>& browsers) {
    std::vector<std::string> names;
    for (const BrowserSpec* browser : browsers) names.emplace_back(browser->name);
    return names;
  }
  Platform services = platform();
};

TEST_F(BrowserCloseOfferTest, OnlyTickedBrowsersHoldingTheirLockAreAskedAboutAndYesClosesThem) {
  AddChromium("Google\\Chrome\\User Data", true);                // ticked, running
  AddChromium("Microsoft\\Edge\\User Data", false);              // ticked, not running
  AddChromium("BraveSoftware\\Brave-Browser\\User Data", true);  // running, nothing ticked
  WriteFile(Firefox("profiles.ini"), "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n");
  WriteFile(Firefox("Profiles\\a.default\\prefs.js"), "");
  WriteFile(Firefox("Profiles\\a.default\\parent.lock"), "");  // stays after Firefox ends: not held
  Select("ModernChrome", "cache");
  Select("ModernEdge", "cookies");
  Select("ModernFirefox", "history");
  Inifun(env.files).WriteIniValue(ProgramFile("\\vanesd.dat"), "ModernBrave", "cache", "yes");  // only "1" ticks

  const std::string selection = ProgramFile("\\vanesd.dat");
  EXPECT_EQ(Names(TickedRunningBrowsers(services, values, selection)), std::vector<std::string>{"Google Chrome"});
  const auto lock = env.files.LockFile(Firefox("Profiles\\a.default\\parent.lock"));
  EXPECT_EQ(Names(TickedRunningBrowsers(services, values, selection)),
            (std::vector<std::string>{"Google Chrome", "Mozilla Firefox"}));
  // The classic Firefox history item cleans the same rows: it asks too.
  Inifun(env.files).WriteIniValue(selection, "ModernFirefox", "history", "0");
  EXPECT_EQ(Names(TickedRunningBrowsers(services, values, selection)), std::vector<std::string>{"Google Chrome"});
  Select("FIREFOX", "History");
  EXPECT_EQ(Names(TickedRunningBrowsers(services, values, selection)),
            (std::vector<std::string>{"Google Chrome", "Mozilla Firefox"}));

  env.messages.answers = {kIdYes, kIdNo};
  FakeCloser closer(*this);
  OfferToCloseRunningBrowsers(services, values, selection, closer);
  ASSERT_EQ(env.messages.shown.size(), 2u);
  EXPECT_EQ(env.messages.shown[0].text, "Google Chrome is running. Close it now so its traces can be cleaned?");
  EXPECT_EQ(env.messages.shown[0].style, kMbYesNo | kMbIconQuestion);
  EXPECT_EQ(env.messages.shown[1].text, "Mozilla Firefox is running. Close it now so its traces can be cleaned?");
  EXPECT_EQ(closer.closed, std::vector<std::string>{"Google Chrome"}) << "No leaves Firefox to the run";
  EXPECT_EQ(closer.stillRunningBefore, std::vector<bool>{true});
  EXPECT_EQ(closer.stillRunningAfter, std::vector<bool>{false}) << "the wait ends when the lock goes";
}

TEST_F(BrowserCloseOfferTest, NothingIsAskedWithoutUserFoldersOrSelection) {
  AddChromium("Google\\Chrome\\User Data", true);
  FakeCloser closer(*this);
  OfferToCloseRunningBrowsers(services, values, ProgramFile("\\vanesd.dat"), closer);  // nothing ticked
  Select("ModernChrome", "cache");
  StartupValues unknown;  // user folders that could not be found
  OfferToCloseRunningBrowsers(services, unknown, ProgramFile("\\vanesd.dat"), closer);
  EXPECT_TRUE(env.messages.shown.empty());
  EXPECT_TRUE(closer.closed.empty());
  EXPECT_TRUE(BrowserRunning(services, values, Named("Google Chrome")));
  EXPECT_FALSE(BrowserRunning(services, values, Named("Chromium")));
}

// Yes closes the visible windows of the processes with the browser's image;
// Chrome and Chromium share its name, and are told apart by its folder.
TEST(BrowserWindows, AreTheVisibleWindowsOfItsImage) {
  emulated::EmulatedDesktopWindows desktop;
  using Window = emulated::EmulatedDesktopWindows::Window;
  const std::string chromeImage = "C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe";
  const WindowId chrome = desktop.Open(Window{"Chrome_WidgetWin_1", chromeImage});
  const WindowId chromium = desktop.Open(
      Window{"Chrome_WidgetWin_1", "C:\\Users\\Tester\\AppData\\Local\\Chromium\\Application\\chrome.exe"});
  desktop.Open(Window{"Chrome_WidgetWin_1", "D:\\Portable\\chrome-win\\chrome.exe"});  // neither, for sure
  const WindowId operaGx =
      desktop.Open(Window{"Chrome_WidgetWin_1", "C:\\Users\\Tester\\AppData\\Local\\Programs\\Opera GX\\opera.exe"});
  Window hidden{"Chrome_WidgetWin_0", chromeImage};
  hidden.placement.showCommand = kShowHide;
  desktop.Open(hidden);
  Window own{"Chrome_WidgetWin_1", chromeImage};
  own.own = true;
  desktop.Open(own);
  desktop.Open(Window{"MozillaWindowClass", "firefox.exe"});
  const WindowId edge = desktop.Open(Window{"Chrome_WidgetWin_1", "msedge.exe"});
  EXPECT_EQ(BrowserWindows(desktop, Named("Google Chrome")), std::vector<WindowId>{chrome});
  EXPECT_EQ(BrowserWindows(desktop, Named("Chromium")), std::vector<WindowId>{chromium});
  EXPECT_EQ(BrowserWindows(desktop, Named("Opera GX")), std::vector<WindowId>{operaGx});
  EXPECT_TRUE(BrowserWindows(desktop, Named("Opera")).empty());
  EXPECT_EQ(BrowserWindows(desktop, Named("Microsoft Edge")), std::vector<WindowId>{edge});
  EXPECT_TRUE(BrowserWindows(desktop, Named("Vivaldi")).empty());
}

}  // namespace
}  // namespace cv::test
