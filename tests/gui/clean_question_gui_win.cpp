// The question before a clean the user started, on the real window: Ctrl+N
// shows it, Esc erases nothing, Enter cleans, and "Do not ask again" with
// "Yes" stores the choice until "Ask before cleaning" in the options turns
// the question back on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "driver.h"
#include "gui_fixture_win.h"
#include "resources/options_res.h"
#include "resources/resource.h"
#include "resources/window_res.h"

namespace cv::guidriver {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kRunMru[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

class CleanQuestionGui : public ProgramFixture {
 protected:
  // Ctrl+N, or File > Clean Now where this display gives the window no keyboard focus.
  void CleanNow(HWND main) {
    PressKey(main, {VK_CONTROL}, 'N');
    if (!WaitForWindow(CleanQuestion(), 3000) && !FindTopWindow(MessageBox(L"Task Complete")))
      PostCommand(main, IDM_FILE_CLEANNOW);
  }
  // Waits for the report of a clean and closes it.
  bool Cleaned() {
    HWND report = WaitForWindow(MessageBox(L"Task Complete"), 60000);
    if (!report) return false;
    Click(FindControl(report, IDOK));
    return WaitForNoWindow(MessageBox(L"Task Complete"), 10000);
  }
  static bool MruValuePresent() {
    return ::RegGetValueW(HKEY_CURRENT_USER, kRunMru, L"a", RRF_RT_REG_SZ, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }
};

TEST_F(CleanQuestionGui, CtrlNAsksEscLeavesEveryFileAndKeyEnterCleans) {
  const fs::path victim = Victim(100);
  selection_ += "[WINDOWS]\r\nrun=1\r\n";  // "Start Menu Run History": the RunMRU key
  RegistryValueGuard mru(kRunMru, L"a", REG_SZ, std::wstring(L"notepad"));
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);

  CleanNow(main);
  HWND question = WaitForWindow(CleanQuestion(), 10000);
  ASSERT_NE(question, nullptr) << "Ctrl+N did not ask";
  const std::wstring text = Text(FindControl(question, IDC_CLEAN_QUESTION_TEXT)).value_or(L"");
  EXPECT_NE(text.find(L"erased permanently"), std::wstring::npos);
  EXPECT_NE(text.find(L"\"Analyze\""), std::wstring::npos);
  EXPECT_EQ(Text(FindControl(question, IDYES)), L"&Yes");
  EXPECT_EQ(Text(FindControl(question, IDNO)), L"&No");
  EXPECT_EQ(IsChecked(FindControl(question, IDX_CLEAN_DONT_ASK)), false);
  EXPECT_EQ(ClippedControls(question), std::vector<std::wstring>{});
  EXPECT_FALSE(IsEnabled(main)) << "the question is not modal";
  Screenshot(question, "question");

  PressKey(question, {}, VK_ESCAPE);
  ASSERT_TRUE(WaitForNoWindow(CleanQuestion(), 10000)) << "Esc did not close the question";
  ::Sleep(1000);
  EXPECT_TRUE(fs::exists(victim));
  EXPECT_TRUE(MruValuePresent());
  EXPECT_EQ(FindTopWindow(MessageBox(L"Task Complete")), nullptr);
  EXPECT_EQ(ListViewRowCount(FindControl(main, IDC_LISTVIEW1)), 0);

  CleanNow(main);
  ASSERT_TRUE(AnswerCleanQuestion(VK_RETURN));
  ASSERT_TRUE(Cleaned()) << "Enter did not clean";
  EXPECT_FALSE(fs::exists(victim));
  EXPECT_FALSE(MruValuePresent());
  EXPECT_EQ(ReadSelection().find("DontAskBeforeCleaning"), std::string::npos);
}

TEST_F(CleanQuestionGui, DoNotAskAgainHoldsUntilTheOptionsAskAgain) {
  const fs::path victim = Victim(100);
  Start();
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);

  CleanNow(main);
  HWND question = WaitForWindow(CleanQuestion(), 10000);
  ASSERT_NE(question, nullptr);
  PressKey(question, {}, 'D');  // the box's mnemonic
  ASSERT_TRUE(WaitUntil([&] { return IsChecked(FindControl(question, IDX_CLEAN_DONT_ASK)) == true; }, 3000))
      << "D did not tick \"Do not ask again\"";
  ASSERT_TRUE(AnswerCleanQuestion('Y'));
  ASSERT_TRUE(Cleaned());
  EXPECT_NE(ReadSelection().find("DontAskBeforeCleaning=1"), std::string::npos) << ReadSelection();

  // The next clean erases at once.
  std::ofstream(victim) << "again";
  CleanNow(main);
  ASSERT_TRUE(Cleaned()) << "asked again";
  EXPECT_FALSE(fs::exists(victim));

  // "Ask before cleaning" in the options shows it off; ticking it asks again.
  PostCommand(main, IDM_FILE_OPTIONS);
  HWND options = WaitForWindow(MessageBox(L"Options"), 10000);
  ASSERT_NE(options, nullptr);
  HWND ask = FindControl(options, IDX_OPTIONS_ASK);
  EXPECT_EQ(Text(ask), L"&Ask before cleaning");
  EXPECT_EQ(IsChecked(ask), false);
  EXPECT_EQ(ClippedControls(options), std::vector<std::wstring>{});
  PressKey(options, {VK_MENU}, 'A');
  ASSERT_TRUE(WaitUntil([&] { return IsChecked(ask) == true; }, 3000)) << "Alt+A did not tick the box";
  Screenshot(options, "options");
  PressKey(options, {}, VK_RETURN);
  ASSERT_TRUE(WaitForNoWindow(MessageBox(L"Options"), 10000));
  EXPECT_NE(ReadSelection().find("DontAskBeforeCleaning=0"), std::string::npos);
  std::ofstream(victim) << "kept";
  CleanNow(main);
  ASSERT_TRUE(AnswerCleanQuestion('N'));
  EXPECT_TRUE(fs::exists(victim));
}

}  // namespace
}  // namespace cv::guidriver
