// "Search & Erase" and its extension list dialog in the real clearvane.exe
// under Wine and Xvfb. Each test copies the exe into a fresh temporary folder
// and searches only a tree made inside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "driver.h"
#include "platform/win32/win.h"
#include "resources/finder_res.h"
#include "resources/resource.h"
#include "ui/window_names.h"

// After win.h: commctrl.h needs the Windows types.
#include <commctrl.h>

namespace cv::guidriver {
namespace {

namespace fs = std::filesystem;

constexpr DWORD kStartTimeoutMs = 30000;

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

bool SetControlText(HWND control, const std::wstring& text) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                               kReplyTimeoutMs, &result) != 0;
}

int SelectedRows(HWND list) {
  DWORD_PTR count = 0;
  ::SendMessageTimeoutW(list, LVM_GETSELECTEDCOUNT, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &count);
  return static_cast<int>(count);
}

// The Recycle Bin of this Wine: the XDG Trash, reached through Wine's Unix path prefix.
fs::path TrashFiles() {
  wchar_t data[1024] = {};
  if (!::GetEnvironmentVariableW(L"XDG_DATA_HOME", data, 1024)) return {};
  std::wstring path = L"\\\\?\\unix" + std::wstring(data) + L"/Trash/files";
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

std::wstring AllTexts(HWND window) {
  std::wstring texts;
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    texts += Text(child).value_or(L"") + L"\n";
  return texts;
}

class FinderGui : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path exe = ProgramUnderTest();
    ASSERT_FALSE(exe.empty());
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / (L"clearvane-finder-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                           std::wstring(info->name(), info->name() + strlen(info->name())));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "tree");
    fs::copy_file(exe, folder_ / "clearvane.exe");
    screenshots_ = ModuleFolder() / "screenshots";
    fs::create_directories(screenshots_);
  }
  void TearDown() override {
    if (process_) process_->Kill();
    process_.reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  void Write(const fs::path& relative, size_t bytes) {
    fs::create_directories((folder_ / "tree" / relative).parent_path());
    std::ofstream(folder_ / "tree" / relative, std::ios::binary) << std::string(bytes, 'x');
  }

  // Starts the program and opens "Search & Erase" from the main window's menu.
  HWND OpenFinder() {
    std::ofstream(folder_ / "vanesd.dat", std::ios::binary) << "[Maxthon]\r\nkeywords=0\r\n";
    process_ = Process::Start((folder_ / "clearvane.exe").wstring(), L"", folder_.wstring());
    if (!process_) return nullptr;
    HWND main = WaitForWindow({process_->Id(), ui::kMainWindowClass, L"", true}, kStartTimeoutMs);
    if (!main) return nullptr;
    PostCommand(main, IDM_TOOL_SEARCH);
    return WaitForWindow(Dialog(L"Search & Erase"), 10000);
  }

  WindowQuery Dialog(const std::wstring& caption) const { return {process_->Id(), L"#32770", caption, true}; }
  // A visible dialog of the program with the caption, other than `besides`.
  HWND OtherDialog(const std::wstring& caption, HWND besides) const {
    for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (window != besides && owner == process_->Id() && IsShown(window) && ClassName(window) == L"#32770" &&
          Text(window) == caption)
        return window;
    }
    return nullptr;
  }

  // Searches the test's tree and waits for the summary.
  std::wstring Search(HWND finder, const std::wstring& expected) {
    EXPECT_TRUE(SetControlText(FindControl(finder, IDC_FINDER_FOLDER), (folder_ / "tree").wstring()));
    Click(FindControl(finder, IDC_FINDER_FIND));
    return WaitForSummary(finder, expected);
  }
  // The status text once it begins with `expected` (or after a time-out).
  std::wstring WaitForSummary(HWND finder, const std::wstring& expected) {
    HWND status = FindControl(finder, IDC_FINDER_STATUS);
    std::wstring text;
    WaitUntil(
        [&] {
          text = Text(status).value_or(L"");
          return text.starts_with(expected);
        },
        30000);
    return text;
  }

  // Read and closed at once: an open file could not be replaced by the program.
  std::string ReadExtFile() const {
    std::ifstream file(folder_ / "Ext.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

  void Screenshot(HWND window, const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    SaveScreenshot(window, (screenshots_ / (std::string(info->name()) + "-" + name + ".png")).wstring());
  }

  fs::path folder_, screenshots_;
  std::optional<Process> process_;
};

TEST_F(FinderGui, SearchesTheTreeThenDeletesIntoTheRecycleBinAndThenPermanently) {
  Write("a.tmp", 1500);
  Write("sub\\b.tmp", 1500);
  Write("sub\\c.GID", 1500);
  Write("keep.txt", 10);
  HWND finder = OpenFinder();
  ASSERT_NE(finder, nullptr) << "no \"Search & Erase\" window";
  EXPECT_EQ(Text(FindControl(finder, IDC_FINDER_TEXT1)), L"*.tmp;*.gid;*.swp;*.chk");
  EXPECT_EQ(Text(FindControl(finder, IDC_FINDER_ACTION)), L"E&xit");
  EXPECT_EQ(IsChecked(FindControl(finder, IDX_FINDER_RECYCLE)), true);

  const std::wstring summary = Search(finder, L"3  Files Found");
  EXPECT_EQ(summary, L"3  Files Found      .tmp - 2    .gid - 1    .swp - 0    .chk - 0\r\nTotal size: 4.5kb");
  HWND list = FindControl(finder, IDC_FINDER_LIST);
  const auto rows = ListViewRows(list, 1);
  ASSERT_EQ(rows.size(), 3u);
  const std::wstring first = (folder_ / "tree" / "a.tmp").wstring() + L"   Size:1500   LastModyfied:";
  EXPECT_EQ(rows[0][0].substr(0, first.size()), first);
  EXPECT_EQ(SelectedRows(list), 3);
  Screenshot(finder, "found");

  // Delete selected, into the Recycle Bin: the warning comes first.
  Click(FindControl(finder, IDC_FINDER_DELETE));
  HWND note = WaitForWindow(Dialog(L"Note"), 10000);
  ASSERT_NE(note, nullptr) << "no deletion warning";
  Screenshot(note, "warning");
  Click(FindControl(note, IDYES));
  EXPECT_EQ(WaitForSummary(finder, L"0  Files Found").substr(0, 14), L"0  Files Found");
  EXPECT_FALSE(fs::exists(folder_ / "tree" / "a.tmp"));
  EXPECT_FALSE(fs::exists(folder_ / "tree" / "sub" / "b.tmp"));
  EXPECT_TRUE(fs::exists(folder_ / "tree" / "keep.txt"));
  EXPECT_EQ(IsChecked(FindControl(finder, IDX_FINDER_SUBFOLDERS)), false);
  const fs::path trash = TrashFiles();
  EXPECT_TRUE(fs::exists(trash / "a.tmp")) << Narrow(trash.wstring());
  EXPECT_TRUE(fs::exists(trash / "c.GID"));

  // Permanently, and without the warning this time; the rescan covers the folder alone.
  Write("d.tmp", 10);
  Write("sub\\e.tmp", 10);
  Click(FindControl(finder, IDX_FINDER_RECYCLE));
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(FindControl(finder, IDX_FINDER_RECYCLE)) == false; }, 5000));
  Click(FindControl(finder, IDC_FINDER_FIND));
  EXPECT_EQ(WaitForSummary(finder, L"1  Files Found").substr(0, 14), L"1  Files Found");
  Click(FindControl(finder, IDC_FINDER_DELETE));
  EXPECT_EQ(WaitForSummary(finder, L"0  Files Found").substr(0, 14), L"0  Files Found");
  EXPECT_EQ(FindTopWindow(Dialog(L"Note")), nullptr);
  EXPECT_FALSE(fs::exists(folder_ / "tree" / "d.tmp"));
  EXPECT_TRUE(fs::exists(folder_ / "tree" / "sub" / "e.tmp"));
  EXPECT_FALSE(fs::exists(trash / "d.tmp"));
  Screenshot(finder, "after-delete");

  // Esc closes the idle window.
  ASSERT_TRUE(PressKey(finder, {}, VK_ESCAPE));
  EXPECT_TRUE(WaitForNoWindow(Dialog(L"Search & Erase"), 5000));
}

TEST_F(FinderGui, StopEndsALongScanAtOnceWithoutSummaryOrSelection) {
  // About a second of scanning under Wine; empty files made by the plain calls.
  for (int folder = 0; folder < 80; ++folder) {
    const fs::path sub = folder_ / "tree" / (L"f" + std::to_wstring(folder));
    fs::create_directory(sub);
    for (int file = 0; file < 100; ++file)
      ::CloseHandle(::CreateFileW((sub / (L"n" + std::to_wstring(file) + L".tmp")).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  HWND finder = OpenFinder();
  ASSERT_NE(finder, nullptr);
  HWND action = FindControl(finder, IDC_FINDER_ACTION);
  HWND list = FindControl(finder, IDC_FINDER_LIST);
  ASSERT_TRUE(SetControlText(FindControl(finder, IDC_FINDER_FOLDER), (folder_ / "tree").wstring()));
  // The window opens with the focus in the search string, where Enter starts the search.
  ASSERT_TRUE(PressKey(finder, {}, VK_RETURN));
  ASSERT_TRUE(WaitUntil([&] { return Text(action) == L"&Stop"; }, 20000, 5));
  Click(action);
  const ULONGLONG stopped = ::GetTickCount64();
  ASSERT_TRUE(WaitUntil([&] { return Text(action) == L"E&xit"; }, 5000, 5))
      << "the search ended before Stop, or Stop did not answer";
  // The rows stop growing once the worker has ended.
  int rows = -1;
  ASSERT_TRUE(WaitUntil(
      [&] {
        const int now = ListViewRowCount(list).value_or(-2);
        const bool settled = now == rows;
        rows = now;
        return settled;
      },
      5000, 150));
  std::printf("stopped after %llu ms at %d of 8000 rows\n", ::GetTickCount64() - stopped, rows);
  EXPECT_LT(rows, 8000);
  EXPECT_EQ(Text(FindControl(finder, IDC_FINDER_STATUS)).value_or(L"").find(L"Files Found"), std::wstring::npos);
  EXPECT_EQ(SelectedRows(list), 0);
  Screenshot(finder, "stopped");
}

TEST_F(FinderGui, ExtensionDialogAddsRefusesAndRestoresWithTheKeyboard) {
  HWND finder = OpenFinder();
  ASSERT_NE(finder, nullptr);
  Click(FindControl(finder, IDC_FINDER_OPTIONS));
  HWND options = WaitForWindow(Dialog(L"Options"), 10000);
  ASSERT_NE(options, nullptr) << "no \"Options\" dialog";
  HWND entry = FindControl(options, IDE_EXT_ADD);
  HWND list = FindControl(options, IDC_EXT_LIST);
  EXPECT_EQ(Text(entry), L"*.");
  auto count = [&] {
    DWORD_PTR n = 0;
    ::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &n);
    return static_cast<int>(n);
  };
  EXPECT_EQ(count(), 4);

  // Enter in the entry box adds.
  Click(entry);
  ASSERT_TRUE(SetControlText(entry, L" *.bak "));
  ASSERT_TRUE(PressKey(options, {}, VK_RETURN));
  EXPECT_TRUE(WaitUntil([&] { return count() == 5; }, 5000));
  EXPECT_EQ(Text(FindControl(finder, IDC_FINDER_TEXT1)), L"*.tmp;*.gid;*.swp;*.chk;*.bak");
  EXPECT_EQ(ReadExtFile(), "*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n*.bak\r\n");
  Screenshot(options, "added");

  ASSERT_TRUE(SetControlText(entry, L"bak"));
  Click(FindControl(options, IDC_EXT_ADD));
  HWND error = WaitForWindow(Dialog(L"Error"), 5000);
  ASSERT_NE(error, nullptr);
  Click(FindControl(error, IDOK));
  EXPECT_TRUE(WaitForNoWindow(Dialog(L"Error"), 5000));
  EXPECT_EQ(count(), 5);

  Click(FindControl(options, IDC_EXT_DEFAULT));
  HWND warning = WaitForWindow(Dialog(L"Warnning:"), 5000);
  ASSERT_NE(warning, nullptr);
  Screenshot(warning, "default-question");
  ASSERT_TRUE(PressKey(warning, {}, VK_RETURN));  // Yes is the default answer
  EXPECT_TRUE(WaitUntil([&] { return count() == 4; }, 5000));
  EXPECT_EQ(Text(FindControl(finder, IDC_FINDER_TEXT1)), L"*.tmp;*.gid;*.swp;*.chk");
  EXPECT_EQ(ReadExtFile(), "*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n");
  Screenshot(options, "defaults");

  ASSERT_TRUE(PressKey(options, {}, VK_ESCAPE));
  EXPECT_TRUE(WaitForNoWindow(Dialog(L"Options"), 5000));
  EXPECT_FALSE(fs::exists(folder_ / "temp"));

  // A folder that cannot be opened is reported; the window stays where it was.
  HWND folder = FindControl(finder, IDC_FINDER_FOLDER);
  const std::wstring before = Text(folder).value_or(L"");
  ASSERT_TRUE(SetControlText(folder, L"Q:\\not ready"));
  Click(FindControl(finder, IDC_FINDER_FIND));
  HWND box = nullptr;  // the message box shares the window's caption
  ASSERT_TRUE(WaitUntil([&] { return (box = OtherDialog(L"Search & Erase", finder)) != nullptr; }, 5000));
  EXPECT_NE(AllTexts(box).find(L"The folder cannot be opened:"), std::wstring::npos);
  Screenshot(box, "folder-refused");
  ASSERT_TRUE(PressKey(box, {}, VK_RETURN));
  EXPECT_TRUE(WaitUntil([&] { return Text(folder) == before; }, 5000));
}

}  // namespace
}  // namespace cv::guidriver
