// The boss key over emulated desktop windows.
#include <gtest/gtest.h>

#include "app/boss_key.h"
#include "platform/emulated/emulated_desktop_windows.h"
#include "platform/emulated/emulated_shell.h"

namespace cv {
namespace {

using Window = emulated::EmulatedDesktopWindows::Window;

constexpr std::uint64_t HotKeyParam(unsigned modifiers, unsigned key) { return std::uint64_t{key} << 16 | modifiers; }

class BossKeyTest : public ::testing::Test {
 protected:
  WindowId Open(std::string windowClass, std::uint32_t show = kShowNormal, std::string process = "explorer.exe") {
    Window window;
    window.windowClass = std::move(windowClass);
    window.process = std::move(process);
    window.placement.showCommand = show;
    return desktop.Open(window);
  }
  std::uint32_t Shown(WindowId window) const { return desktop.Get(window).placement.showCommand; }
  void Hide() { boss.HotKey(kHideHotKeyId, HotKeyParam(kHideModifiers, kVirtualKeyZ)); }
  void Show() { boss.HotKey(kShowHotKeyId, HotKeyParam(kShowModifiers, kVirtualKeyZ)); }

  emulated::EmulatedDesktopWindows desktop;
  emulated::RecordingMessageBoxes messages;
  BossKey boss{desktop, messages};
};

TEST_F(BossKeyTest, HotKeysMatchOnlyWithIdModifiersAndKeyTogether) {
  const std::tuple<std::uint64_t, std::uint64_t, HotKeyAction> cases[] = {
      {95, HotKeyParam(8, 90), HotKeyAction::Hide},
      {111, HotKeyParam(12, 90), HotKeyAction::Show},
      {95, HotKeyParam(12, 90), HotKeyAction::None},
      {111, HotKeyParam(8, 90), HotKeyAction::None},
      {95, HotKeyParam(8, 89), HotKeyAction::None},
      {96, HotKeyParam(8, 90), HotKeyAction::None},
      {95, HotKeyParam(8, 90) | (std::uint64_t{1} << 32), HotKeyAction::Hide},
  };
  for (const auto& [id, param, action] : cases) EXPECT_EQ(DecodeHotKey(id, param), action) << id << " " << param;
}

TEST_F(BossKeyTest, HideAndShowRestoreEachWindowAsItWasAndLeaveOthersAlone) {
  const WindowId ie1 = Open("IEFrame");
  const WindowId ie2 = Open("IEFrame", kShowMaximized);
  const WindowId folder = Open("CabinetWClass", kShowMinimized);
  const WindowId other = Open("Notepad");
  const WindowId chrome = Open("Chrome_WidgetWin_1", kShowNormal, "chrome.exe");
  Window own{"IEFrame", "clearvane.exe", true};
  const WindowId ours = desktop.Open(own);
  const WindowId hiddenByItsProgram = Open("IEFrame", kShowHide);

  Show();  // before any hide: nothing happens
  EXPECT_TRUE(boss.HiddenWindowList().empty());
  Hide();
  for (WindowId w : {ie1, ie2, folder}) EXPECT_EQ(Shown(w), kShowHide);
  for (WindowId w : {other, chrome, ours}) EXPECT_NE(Shown(w), kShowHide);
  EXPECT_EQ(boss.HiddenWindowList().size(), 3u);

  desktop.Close(ie1);  // closed while hidden: skipped silently
  Show();
  EXPECT_EQ(Shown(ie2), kShowMaximized);
  EXPECT_EQ(Shown(folder), kShowMinimized);
  EXPECT_EQ(Shown(hiddenByItsProgram), kShowHide);
  Show();  // the second show changes nothing
  EXPECT_EQ(Shown(ie2), kShowMaximized);
}

TEST_F(BossKeyTest, HideTwiceKeepsThePlacementsOfTheFirstHide) {
  const WindowId ie = Open("IEFrame", kShowMaximized);
  Hide();
  const WindowId folder = Open("CabinetWClass");
  Hide();
  EXPECT_EQ(Shown(folder), kShowHide);
  Show();
  EXPECT_EQ(Shown(ie), kShowMaximized);
  EXPECT_EQ(Shown(folder), kShowNormal);
  // Shown again and changed by the user: the next hide records the new state.
  desktop.SetPlacement(ie, WindowPlacement{0, kShowMinimized});
  Hide();
  Show();
  EXPECT_EQ(Shown(ie), kShowMinimized);
}

TEST_F(BossKeyTest, ModernBrowsersAreHiddenOnlyWhenAskedAndOnlyForTheirOwnProcess) {
  const WindowId chrome = Open("Chrome_WidgetWin_1", kShowMaximized, "chrome.exe");
  const WindowId firefox = Open("MozillaWindowClass", kShowNormal, "firefox.exe");
  const WindowId editor = Open("Chrome_WidgetWin_1", kShowNormal, "code.exe");
  boss.SetHideModernBrowsers(true);
  Hide();
  EXPECT_EQ(Shown(chrome), kShowHide);
  EXPECT_EQ(Shown(firefox), kShowHide);
  EXPECT_EQ(Shown(editor), kShowNormal);
  boss.SetHideModernBrowsers(false);  // switched off while hidden: they still come back
  Show();
  EXPECT_EQ(Shown(chrome), kShowMaximized);
  EXPECT_EQ(Shown(firefox), kShowNormal);
}

TEST_F(BossKeyTest, SwitchingOnRegistersOnceAndTellsOnceWhenAKeyIsTaken) {
  boss.SwitchOn();
  boss.SwitchOn();
  EXPECT_EQ(desktop.registerCalls, 2);
  EXPECT_EQ(desktop.registered.size(), 2u);
  EXPECT_TRUE(messages.shown.empty());
  boss.SwitchOff();
  EXPECT_TRUE(desktop.registered.empty());
  EXPECT_FALSE(boss.IsOn());

  desktop.takenElsewhere.insert(kHideModifiers << 16 | kVirtualKeyZ);
  boss.SwitchOn();
  EXPECT_TRUE(boss.IsOn());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find("Windows+Z"), std::string::npos);
  boss.SwitchOff();
  boss.SwitchOn();
  EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace cv
