// Hivebrush.exe under Wine: started by the main window's "Clean Registry", it
// finds a planted start-up value and an uninstall entry whose folder and
// uninstaller are missing, fixes them (backups first) and "Restore a
// backup..." brings them back. Registry changes stay in the sandbox prefix.
#include "gui_fixture_win.h"

#include <commctrl.h>

#include <algorithm>

#include "regclean/hivebrush_res.h"
#include "resources/resource.h"

namespace cv::guidriver {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kCaption[] = L"Clearvane Registry Cleaner";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\CvGoneApp";
constexpr int kFileNameEdit = 1148;

bool HasValue(const wchar_t* key, const wchar_t* name) {
  return ::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RowChecked(HWND list, int row) {
  return ((::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

bool Planted(const std::vector<std::wstring>& row) {
  return row[0].find(L"CvGoneApp") != std::wstring::npos || row[1] == L"CvGoneStartup";
}

class HivebrushGui : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    const fs::path program = ProgramUnderTest().parent_path() / "Hivebrush.exe";
    ASSERT_TRUE(fs::exists(program)) << program;
    fs::copy_file(program, folder_ / "Hivebrush.exe");
  }
  void TearDown() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
    ProgramFixture::TearDown();
  }

  // Waits for a message box of `process` with `caption` whose text holds `part`, and answers it with `button`.
  static std::wstring Answer(DWORD process, const wchar_t* caption, const wchar_t* part, int button) {
    HWND box = nullptr;
    WaitUntil(
        [&] {
          box = FindTopWindow(WindowQuery{process, L"#32770", caption, true});
          return box && AllTexts(box).find(part) != std::wstring::npos;
        },
        20000);
    if (!box) return L"(no message box)";
    const std::wstring text = AllTexts(box);
    Click(FindControl(box, button));
    return text;
  }

  // "Restore a backup...", the backup's full path typed into the file dialog.
  void Restore(HWND window, DWORD process, const fs::path& backup) {
    Click(FindControl(window, IDC_HIVE_RESTORE));
    // Looked for again on each try: the first window of that caption may be
    // one the dialog replaces while it starts.
    const WindowQuery dialog{process, L"#32770", L"Restore a backup", true};
    HWND open = nullptr, name = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
          open = FindTopWindow(dialog);
          HWND combo = open ? FindControl(open, kFileNameEdit) : nullptr;
          HWND edit = combo ? ::FindWindowExW(combo, nullptr, L"Edit", nullptr) : nullptr;
          name = edit ? edit : combo ? combo : open ? FindControl(open, 1152) : nullptr;
          return name != nullptr;
        },
        20000))
        << "no file dialog";
    ASSERT_TRUE(SetText(name, backup.wstring()));
    PostCommand(open, IDOK);
    Answer(process, L"Restore a backup", L"are back", IDOK);
  }
};

TEST_F(HivebrushGui, FixesAPlantedStartupValueAndUninstallEntryAndRestoresThem) {
  RegistryValueGuard startup(kRunKey, L"CvGoneStartup", REG_SZ, std::wstring(L"\"C:\\CvGone\\startup.exe\" -tray"));
  RegistryValueGuard location(kUninstallKey, L"InstallLocation", REG_SZ, std::wstring(L"C:\\CvGoneApp"));
  RegistryValueGuard uninstaller(kUninstallKey, L"UninstallString", REG_SZ,
                                 std::wstring(L"\"C:\\CvGoneApp\\uninst.exe\" /S"));
  Start();
  HWND main = WaitForMain();
  ASSERT_TRUE(main);
  PostCommand(main, IDM_TOOL_REGISTRY);
  HWND window = WaitForWindow(WindowQuery{0, L"#32770", kCaption, true}, kStartTimeoutMs);
  ASSERT_TRUE(window) << "Clean Registry did not open Hivebrush.exe";
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  EXPECT_TRUE(ClippedControls(window).empty());

  ASSERT_TRUE(PressKey(window, {}, VK_RETURN));  // "Scan" is the default button
  HWND list = FindControl(window, IDC_HIVE_LIST);
  std::vector<std::vector<std::wstring>> rows;
  ASSERT_TRUE(WaitUntil(
      [&] {
        const int count = ListViewRowCount(list).value_or(0);
        rows = ListViewRows(list, 3);
        return count >= 2 && std::count_if(rows.begin(), rows.end(), Planted) == 2;
      },
      20000))
      << "the planted entries are not listed";
  // Only the planted two stay ticked: the list is walked by keyboard, Space toggling.
  ::SetForegroundWindow(window);
  ASSERT_TRUE(PressKey(list, {}, VK_HOME));
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    EXPECT_TRUE(!Planted(rows[row]) || RowChecked(list, row)) << "a planted entry starts unticked";
    if (RowChecked(list, row) != Planted(rows[row])) PressKey(list, {}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return RowChecked(list, row) == Planted(rows[row]); }, 3000)) << row;
    PressKey(list, {}, VK_DOWN);
  }
  Screenshot(window, "hivebrush-findings");

  Click(FindControl(window, IDC_HIVE_FIX));
  EXPECT_NE(Answer(process, L"Fix selected", L"Remove 2 entries", IDYES), L"(no message box)");
  const std::wstring result = Answer(process, L"Fix selected", L"Fixed", IDOK);
  EXPECT_NE(result.find(L"Fixed 2 entries"), std::wstring::npos) << result;
  EXPECT_FALSE(HasValue(kRunKey, L"CvGoneStartup"));
  EXPECT_FALSE(HasValue(kUninstallKey, L"UninstallString"));

  std::vector<fs::path> backups;
  for (const auto& entry : fs::directory_iterator(folder_ / "Backups"))
    if (entry.path().extension() == ".reg") backups.push_back(entry.path());
  ASSERT_EQ(backups.size(), 2u) << "one .reg backup per fix";

  for (const fs::path& backup : backups) Restore(window, process, backup);
  EXPECT_TRUE(HasValue(kRunKey, L"CvGoneStartup")) << "the start-up value is not back";
  EXPECT_TRUE(HasValue(kUninstallKey, L"UninstallString")) << "the uninstall entry is not back";
  PostCommand(window, IDCANCEL);
  EXPECT_TRUE(WaitForNoWindow(WindowQuery{0, L"#32770", kCaption, true}, 10000));
}

}  // namespace
}  // namespace cv::guidriver
