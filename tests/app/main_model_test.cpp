#include "app/main_model.h"

#include <gtest/gtest.h>

#include <set>

#include "resources/resource.h"

namespace cv {
namespace {

TEST(StartArgument, OnlyTheExactWordMinIsAStartupStart) {
  EXPECT_TRUE(IsStartupArgument(StartArgumentFrom("min")));
  EXPECT_TRUE(IsStartupArgument(StartArgumentFrom("  min")));
  for (const char* other : {"Min", "MIN", "/min", "-min", "min2", "mini", "", "min x"})
    EXPECT_FALSE(IsStartupArgument(StartArgumentFrom(other))) << other;
}

TEST(StoredFigure, ReadsNumbersAndTreatsTheRestAsZero) {
  EXPECT_EQ(StoredFigure("12"), 12);
  EXPECT_EQ(StoredFigure(" 1048576 "), 1048576);
  EXPECT_EQ(StoredFigure("2.5"), 2.5);
  EXPECT_EQ(StoredFigure(""), 0);
  EXPECT_EQ(StoredFigure("junk"), 0);
}

TEST(Commands, EveryStarterOfAnActionReachesTheSameCommand) {
  EXPECT_EQ(CommandForId(IDC_IMAGE2), Command::CleaningSettings);
  EXPECT_EQ(CommandForId(IDM_FILE_SETTINGS), Command::CleaningSettings);
  EXPECT_EQ(CommandForId(IDM_TRAY_SETTINGS), Command::CleaningSettings);
  EXPECT_EQ(CommandForId(IDC_IMAGE5), Command::CleanOptions);
  EXPECT_EQ(CommandForId(IDM_TRAY_OPTIONS), Command::CleanOptions);
  EXPECT_EQ(CommandForId(IDC_IMAGE10), Command::Exit);
  EXPECT_EQ(CommandForId(IDM_FILE_EXIT), Command::Exit);
  EXPECT_EQ(CommandForId(IDM_TRAY_EXIT), Command::Exit);
  EXPECT_EQ(CommandForId(IDC_LABEL51), Command::Website);
  EXPECT_EQ(CommandForId(IDM_TRAY_WEB), Command::Website);
  EXPECT_EQ(CommandForId(IDC_PICTURE2), Command::Help);
  EXPECT_EQ(CommandForId(IDC_HELP_LABEL), Command::Help);
  EXPECT_EQ(CommandForId(IDC_IMAGE9), Command::RegistryCleaner);
  EXPECT_EQ(CommandForId(IDM_TOOL_REGISTRY), Command::RegistryCleaner);
  EXPECT_EQ(CommandForId(IDC_COMMAND1), Command::StartCleaning);
  EXPECT_EQ(CommandForId(IDM_FILE_CLEANNOW), Command::MenuCleanNow);
  EXPECT_EQ(CommandForId(IDM_TRAY_CLEANNOW), Command::TrayCleanNow);
  // Caption labels have no action of their own.
  EXPECT_EQ(CommandForId(IDC_LABEL1), std::nullopt);
  EXPECT_EQ(CommandForId(IDC_LISTVIEW1), std::nullopt);
}

TEST(Commands, TheEightNavigationImagesDoEightDifferentThings) {
  std::set<Command> seen;
  for (int id : {IDC_IMAGE1, IDC_IMAGE2, IDC_IMAGE3, IDC_IMAGE4, IDC_IMAGE5, IDC_IMAGE6, IDC_IMAGE9, IDC_IMAGE10}) {
    const auto command = CommandForId(id);
    ASSERT_TRUE(command) << id;
    seen.insert(*command);
  }
  EXPECT_EQ(seen.size(), 8u);
}

TEST(TrayEvents, OnlyButtonReleasesAct) {
  EXPECT_EQ(DecodeTrayEvent(0x0202), TrayAction::Restore);   // left button up
  EXPECT_EQ(DecodeTrayEvent(0x0205), TrayAction::ShowMenu);  // right button up
  for (unsigned other : {0x0200u, 0x0201u, 0x0203u, 0x0204u, 0x0206u, 0u})
    EXPECT_EQ(DecodeTrayEvent(other), TrayAction::None) << other;
}

TEST(CommandLines, QuoteEveryPath) {
  EXPECT_EQ(HelpCommandLine("C:\\WINDOWS", "C:\\Program Files\\Clearvane (1)"),
            "\"C:\\WINDOWS\\hh.exe\" \"C:\\Program Files\\Clearvane (1)\\help.chm\"");
  EXPECT_EQ(LicenseCommandLine("C:\\WINDOWS", "D:\\a&b"), "\"C:\\WINDOWS\\notepad.exe\" \"D:\\a&b\\License.txt\"");
  EXPECT_EQ(CompanionCommandLine("C:\\Program Files\\cv", Command::FileShredder),
            "\"C:\\Program Files\\cv\\Shardmill.exe\"");
  EXPECT_EQ(CompanionCommandLine("D:\\cv", Command::RegistryCleaner), "\"D:\\cv\\Hivebrush.exe\"");
  EXPECT_EQ(CompanionCommandLine("D:\\cv", Command::Help), "");
}

}  // namespace
}  // namespace cv
