// The main window's menus as the resource script builds them: every menu and
// item has a mnemonic, and none is used twice in one menu.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "ui/mnemonics.h"

namespace cv {
namespace {

TEST(MainMenu, EveryMenuAndItemHasAMnemonicOfItsOwn) {
  std::ifstream in(std::filesystem::path(CV_SOURCE_DIR) / "resources" / "clearvane.rc");
  ASSERT_TRUE(in);
  std::string line;
  while (std::getline(in, line) && line.rfind("IDR_MAINMENU", 0) != 0) {
  }
  const std::regex entry(R"re(^\s*(POPUP|MENUITEM)\s+"([^"]*)")re");
  std::set<char> menus, items;
  int menuCount = 0, itemCount = 0;
  std::string popup;
  while (std::getline(in, line) && line.rfind("END", 0) != 0) {
    std::smatch match;
    if (!std::regex_search(line, match, entry)) continue;
    const std::string text = match[2];
    const char letter = MnemonicOf(text);
    if (match[1] == "POPUP") {
      popup = text;
      items.clear();
      EXPECT_NE(letter, 0) << text;
      EXPECT_TRUE(menus.insert(letter).second) << text << " shares its letter with another menu";
      ++menuCount;
      continue;
    }
    EXPECT_NE(letter, 0) << popup << " > " << text;
    EXPECT_TRUE(items.insert(letter).second) << popup << " > " << text << " shares its letter";
    ++itemCount;
  }
  EXPECT_EQ(menuCount, 3);
  EXPECT_GE(itemCount, 12);
}

}  // namespace
}  // namespace cv
