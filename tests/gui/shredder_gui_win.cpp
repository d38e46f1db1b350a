// Shardmill.exe under Wine: started by the main window's "File Shredder",
// three files added through the file dialog and shredded, the window's
// controls unclipped; F1 opening the help file.
#include <fstream>

#include "gui_fixture_win.h"
#include "resources/resource.h"
#include "shredder/shardmill_res.h"

namespace cv::guidriver {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kShredderCaption[] = L"Clearvane File Shredder";
constexpr int kFileNameEdit = 1148;  // cmb13, the file dialog's name box (edt1, 1152, in older dialogs)

class ShredderGui : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    const fs::path shredder = ProgramUnderTest().parent_path() / "Shardmill.exe";
    ASSERT_TRUE(fs::exists(shredder)) << shredder;
    fs::copy_file(shredder, folder_ / "Shardmill.exe");
  }
  WindowQuery Shredder() const { return WindowQuery{0, L"#32770", kShredderCaption, true}; }

  // The file dialog's name box: the combo box's edit, or the plain edit.
  static HWND NameBox(HWND dialog) {
    if (HWND combo = FindControl(dialog, kFileNameEdit)) {
      if (HWND edit = ::FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
      return combo;
    }
    return FindControl(dialog, 1152);
  }
};

TEST_F(ShredderGui, FileShredderOfTheMainWindowOpensIt) {
  Start();
  HWND main = WaitForMain();
  ASSERT_TRUE(main);
  PostCommand(main, IDM_TOOL_SHREDDER);
  HWND shredder = WaitForWindow(Shredder(), kStartTimeoutMs);
  ASSERT_TRUE(shredder) << "File Shredder did not open Shardmill.exe";
  EXPECT_TRUE(ClippedControls(shredder).empty());
  Screenshot(shredder, "shredder");
  PostCommand(shredder, IDCANCEL);
  EXPECT_TRUE(WaitForNoWindow(Shredder(), 10000));
}

// F1 in the main window and in the shredder, and the welcome panel's Help
// link, open the help viewer with help.chm.
TEST_F(ShredderGui, F1OpensTheHelpViewer) {
  const fs::path help = ProgramUnderTest().parent_path() / "help.chm";
  ASSERT_TRUE(fs::exists(help)) << help;
  fs::copy_file(help, folder_ / "help.chm");
  const WindowQuery viewer{0, L"", L"Clearvane Help", true};
  Start();
  HWND main = WaitForMain();
  ASSERT_TRUE(main);
  ASSERT_TRUE(PressKey(main, {}, VK_F1));
  HWND shown = WaitForWindow(viewer, kStartTimeoutMs);
  ASSERT_TRUE(shown) << "F1 did not open help.chm";
  Screenshot(shown, "help");
  ::PostMessageW(shown, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitForNoWindow(viewer, 10000));

  // The welcome panel's Help link, reached with Tab and taken with Space.
  ::SetForegroundWindow(main);
  ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == main; }, 5000));
  ASSERT_TRUE(PressKey(main, {}, VK_TAB));
  ASSERT_TRUE(PressKey(main, {}, VK_SPACE));
  shown = WaitForWindow(viewer, kStartTimeoutMs);
  ASSERT_TRUE(shown) << "the Help link did not open help.chm";
  ::PostMessageW(shown, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitForNoWindow(viewer, 10000));

  PostCommand(main, IDM_TOOL_SHREDDER);
  HWND shredder = WaitForWindow(Shredder(), kStartTimeoutMs);
  ASSERT_TRUE(shredder);
  ASSERT_TRUE(PressKey(shredder, {}, VK_F1));
  shown = WaitForWindow(viewer, kStartTimeoutMs);
  EXPECT_TRUE(shown) << "F1 in the shredder did not open help.chm";
  if (shown) ::PostMessageW(shown, WM_CLOSE, 0, 0);
  PostCommand(shredder, IDCANCEL);
}

TEST_F(ShredderGui, ShredsThreeFilesAddedThroughTheFileDialog) {
  const fs::path files = folder_ / "to shred";
  fs::create_directories(files);
  for (const char* name : {"one.txt", "two.txt", "three.txt"}) std::ofstream(files / name) << "secret " << name;
  auto shredder = Process::Start((folder_ / "Shardmill.exe").wstring(), L"", folder_.wstring());
  ASSERT_TRUE(shredder);
  HWND window = WaitForWindow(Shredder(), kStartTimeoutMs);
  ASSERT_TRUE(window);

  Click(FindControl(window, IDC_SHRED_ADD_FILES));
  HWND open = WaitForWindow(WindowQuery{shredder->Id(), L"#32770", L"Open File", true}, 20000);
  ASSERT_TRUE(open) << "no file dialog";
  // The folder first, then the three names, as a user types them.
  ASSERT_TRUE(WaitUntil([&] { return NameBox(open) != nullptr; }, 5000));
  ASSERT_TRUE(SetText(NameBox(open), files.wstring()));
  PostCommand(open, IDOK);
  ::Sleep(1000);
  ASSERT_TRUE(SetText(NameBox(open), L"\"one.txt\" \"two.txt\" \"three.txt\""));
  PostCommand(open, IDOK);
  ASSERT_TRUE(WaitForNoWindow(WindowQuery{shredder->Id(), L"#32770", L"Open File", true}, 10000));

  HWND list = FindControl(window, IDC_SHRED_LIST);
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 3; }, 10000)) << "the three files are not listed";
  Click(FindControl(window, IDC_SHRED_START));
  HWND question = WaitForWindow(WindowQuery{shredder->Id(), L"#32770", L"Shred", true}, 10000);
  ASSERT_TRUE(question);
  EXPECT_NE(AllTexts(question).find(L"Shred 3 files"), std::wstring::npos) << AllTexts(question);
  Click(FindControl(question, IDYES));

  ASSERT_TRUE(WaitUntil([&] { return fs::is_empty(files); }, 20000)) << "files are left";
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 3; }, 5000));
  for (const auto& row : ListViewRows(list, 3)) EXPECT_EQ(row[2], L"Shredded") << row[0];
  Screenshot(window, "shredder-results");
  PostCommand(window, IDCANCEL);
  EXPECT_TRUE(shredder->WaitForExit(10000));
}

}  // namespace
}  // namespace cv::guidriver
