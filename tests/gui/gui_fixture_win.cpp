#include "gui_fixture_win.h"

#include <fstream>

#include "ui/window_names.h"

namespace cv::guidriver {

namespace fs = std::filesystem;

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

RegistryValueGuard::RegistryValueGuard(const std::wstring& key, const std::wstring& name, DWORD type,
                                       const std::wstring& text)
    : RegistryValueGuard(
          key, name, type,
          std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t))) {}

RegistryValueGuard::RegistryValueGuard(const std::wstring& key, const std::wstring& name, DWORD number)
    : RegistryValueGuard(key, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof(number))) {}

RegistryValueGuard::RegistryValueGuard(const std::wstring& key, const std::wstring& name, DWORD type,
                                       const std::string& bytes)
    : key_(key), name_(name) {
  HKEY handle = nullptr;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
  char old[4096] = {};
  DWORD size = sizeof(old);
  had_ = ::RegQueryValueExW(handle, name.c_str(), nullptr, &oldType_, reinterpret_cast<BYTE*>(old), &size) ==
         ERROR_SUCCESS;
  if (had_) old_.assign(old, size);
  ::RegSetValueExW(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
  ::RegCloseKey(handle);
}

RegistryValueGuard::~RegistryValueGuard() {
  HKEY handle = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) return;
  if (had_) {
    ::RegSetValueExW(handle, name_.c_str(), 0, oldType_, reinterpret_cast<const BYTE*>(old_.data()),
                     static_cast<DWORD>(old_.size()));
  } else {
    ::RegDeleteValueW(handle, name_.c_str());
  }
  ::RegCloseKey(handle);
}

// Every control of the window lies inside its parent's client area.
std::vector<std::wstring> ClippedControls(HWND window) {
  std::vector<std::wstring> clipped;
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM param) -> BOOL {
        if (!IsShown(child)) return TRUE;
        RECT rect = ScreenRect(child), parent{};
        HWND owner = ::GetParent(child);
        ::GetClientRect(owner, &parent);
        ::MapWindowPoints(owner, nullptr, reinterpret_cast<POINT*>(&parent), 2);
        if (rect.left < parent.left || rect.top < parent.top || rect.right > parent.right ||
            rect.bottom > parent.bottom)
          reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(Text(child).value_or(L"?"));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&clipped));
  return clipped;
}

void ProgramFixture::SetUp() {
  const fs::path exe = ProgramUnderTest();
  ASSERT_FALSE(exe.empty()) << "clearvane.exe not found above " << ModuleFolder();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  folder_ = fs::temp_directory_path() /
            (L"clearvane-gui-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + Widen(info->name()));
  fs::remove_all(folder_);
  fs::create_directories(folder_);
  fs::copy_file(exe, folder_ / "clearvane.exe");
  screenshots_ = ModuleFolder() / "screenshots";
  fs::create_directories(screenshots_);
  // Every Maxthon switch stored off, as the selection dialog would write it.
  selection_ = "[Maxthon]\r\nkeywords=0\r\npages=0\r\nsettings=0\r\ngroups=0\r\nfolder=0\r\n";
}

void ProgramFixture::TearDown() {
  if (process_) process_->Kill();
  process_.reset();
  ReturnBulkFiles();
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
  if (!profile_.empty()) fs::remove_all(profile_, ignored);
}

fs::path ProgramFixture::Victim(std::uintmax_t bytes) {
  const fs::path victim = folder_ / "victim.txt";
  std::ofstream(victim, std::ios::binary) << std::string(bytes, 'x');
  std::ofstream(folder_ / "cusd.dat", std::ios::binary) << victim.string() << "\tFile\r\n";
  selection_ += "[Custom]\r\nCustom=1\r\n";
  return victim;
}

namespace {

constexpr int kBulkFilesPerFolder = 1000;
constexpr int kBulkTreeFiles = 100000;  // the size of the runner's tree (scripts/test)

std::wstring BulkFileName(int index) { return L"f" + std::to_wstring(index) + L".tmp"; }

// The runner's tree, when there is one and it is whole.
fs::path RunnersBulkTree() {
  wchar_t path[MAX_PATH] = {};
  if (!::GetEnvironmentVariableW(L"CV_GUI_BULK_TREE", path, MAX_PATH)) return {};
  const fs::path tree = path, last = L"d" + std::to_wstring(kBulkTreeFiles / kBulkFilesPerFolder - 1);
  std::error_code ec;
  if (!fs::exists(tree / last / BulkFileName(kBulkFilesPerFolder - 1), ec) ||
      fs::exists(tree / (L"d" + std::to_wstring(kBulkTreeFiles / kBulkFilesPerFolder)), ec))
    return {};
  return tree;
}

}  // namespace

int ProgramFixture::BulkFiles(const fs::path& at, int files) {
  const int folders = (files + kBulkFilesPerFolder - 1) / kBulkFilesPerFolder;
  std::error_code ec;
  fs::remove_all(at, ec);
  fs::create_directories(at.parent_path());
  if (const fs::path tree = RunnersBulkTree(); !tree.empty() && files == kBulkTreeFiles) {
    if (::MoveFileExW(tree.c_str(), at.c_str(), 0)) {
      bulkAt_ = at;
      bulkHome_ = tree;
      return folders;
    }
  }
  for (int d = 0; d < folders; ++d) {
    const fs::path sub = at / (L"d" + std::to_wstring(d));
    fs::create_directories(sub);
    for (int j = 0; j < std::min(kBulkFilesPerFolder, files - d * kBulkFilesPerFolder); ++j) {
      const HANDLE file = ::CreateFileW((sub / BulkFileName(j)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    }
  }
  return folders;
}

// The runner's tree goes back as it came: what the test added to it is removed first.
void ProgramFixture::ReturnBulkFiles() {
  if (bulkHome_.empty()) return;
  std::error_code ec;
  for (const auto& folder : fs::directory_iterator(bulkAt_, ec)) {
    const std::wstring name = folder.path().filename().wstring();
    if (!folder.is_directory(ec) || name.empty() || name[0] != L'd') {
      fs::remove_all(folder.path(), ec);
      continue;
    }
    for (const auto& entry : fs::directory_iterator(folder.path(), ec))
      if (entry.path().extension() != L".tmp" || entry.is_directory(ec)) fs::remove_all(entry.path(), ec);
  }
  if (!::MoveFileExW(bulkAt_.c_str(), bulkHome_.c_str(), 0)) fs::remove_all(bulkAt_, ec);
  bulkAt_.clear();
  bulkHome_.clear();
}

void ProgramFixture::Start(const std::wstring& arguments) {
  std::ofstream(folder_ / "vanesd.dat", std::ios::binary) << selection_;
  process_ = Process::Start((folder_ / "clearvane.exe").wstring(), arguments, folder_.wstring());
  ASSERT_TRUE(process_) << "cannot start clearvane.exe";
}

WindowQuery ProgramFixture::Main(bool visibleOnly) const {
  return {process_->Id(), ui::kMainWindowClass, kMainCaption, visibleOnly};
}
WindowQuery ProgramFixture::Popup() const { return {process_->Id(), ui::kNotificationClass, L"", true}; }
WindowQuery ProgramFixture::MessageBox(const std::wstring& caption) const {
  return {process_->Id(), L"#32770", caption, true};
}

bool ProgramFixture::AnswerCleanQuestion(WORD key) {
  HWND question = WaitForWindow(CleanQuestion(), 10000);
  if (!question) return false;
  PressKey(question, {}, key);
  return WaitForNoWindow(CleanQuestion(), 10000);
}

HWND ProgramFixture::WaitForMain() {
  HWND main = WaitForWindow(Main(), kStartTimeoutMs);
  EXPECT_NE(main, nullptr) << "the main window did not appear";
  return main;
}

void ProgramFixture::Screenshot(HWND window, const std::string& name) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string file = std::string(info->name()) + "-" + name + ".png";
  for (char& c : file)
    if (c == '/') c = '-';  // parameterised tests are named "Name/0"
  SaveScreenshot(window, (screenshots_ / file).wstring());
}

std::string ProgramFixture::ReadSelection() {
  std::ifstream in(folder_ / "vanesd.dat", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace cv::guidriver
