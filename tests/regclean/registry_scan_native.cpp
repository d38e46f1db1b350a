// The registry cleaner's model on the emulated registry and file system:
// one case per category (a broken entry found with its reason, a sound one
// beside it and entries it cannot judge left alone), nothing listed from the
// protected trees, and fix-then-restore giving back the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "emulated_platform.h"
#include "platform/reg_text.h"
#include "regclean/registry_scan.h"

namespace cv {
namespace {

constexpr char kFixture[] =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    // Uninstall entries: both gone; folder gone but uninstaller there; a Windows Installer product.
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\GoneApp]\r\n"
    "\"DisplayName\"=\"Gone App\"\r\n"
    "\"InstallLocation\"=\"C:\\\\Program Files\\\\GoneApp\"\r\n"
    "\"UninstallString\"=\"\\\"C:\\\\Program Files\\\\GoneApp\\\\uninst.exe\\\" /S\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\HalfGone]\r\n"
    "\"InstallLocation\"=\"C:\\\\Program Files\\\\HalfGone\"\r\n"
    "\"UninstallString\"=\"C:\\\\Program Files\\\\Live\\\\uninst.exe\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{1234-MSI}]\r\n"
    "\"UninstallString\"=\"MsiExec.exe /X{1234-MSI}\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OnRemovable]\r\n"
    "\"UninstallString\"=\"Q:\\\\Tools\\\\uninst.exe\"\r\n\r\n"
    // App Paths.
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\gone.exe]\r\n"
    "@=\"C:\\\\Program Files\\\\GoneApp\\\\gone.exe\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\live.exe]\r\n"
    "@=\"\\\"C:\\\\Program Files\\\\Live\\\\live.exe\\\"\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\expanded.exe]\r\n"
    "@=\"%ProgramFiles%\\\\Nowhere\\\\expanded.exe\"\r\n\r\n"
    // Start-up values of the user.
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
    "\"Live\"=\"\\\"C:\\\\Program Files\\\\Live\\\\live.exe\\\" -tray\"\r\n"
    "\"Bare\"=\"rundll32.exe shell32.dll,Control_RunDLL\"\r\n"
    "\"Updater\"=\"C:\\\\Program Files\\\\GoneApp\\\\updater.exe /silent\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce]\r\n"
    "\"Finish\"=\"\\\"C:\\\\Setup\\\\finish.exe\\\"\"\r\n\r\n"
    // The caches named by paths.
    "[HKEY_CURRENT_USER\\Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache]\r\n"
    "\"C:\\\\Program Files\\\\GoneApp\\\\gone.exe.FriendlyAppName\"=\"Gone\"\r\n"
    "\"C:\\\\Program Files\\\\Live\\\\live.exe.FriendlyAppName\"=\"Live\"\r\n"
    "\"@shell32.dll,-100\"=\"Name\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility "
    "Assistant\\Store]\r\n"
    "\"C:\\\\Downloads\\\\setup-old.exe\"=hex:53,41,43,50\r\n"
    "\"C:\\\\Program Files\\\\Live\\\\live.exe\"=hex:53,41,43,50\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs]\r\n"
    "\"C:\\\\Program Files\\\\Common Files\\\\Gone\\\\gone.dll\"=dword:00000001\r\n"
    "\"C:\\\\Program Files\\\\Live\\\\live.dll\"=dword:00000002\r\n\r\n"
    // File types of the user.
    "[HKEY_CURRENT_USER\\Software\\Classes\\.gone]\r\n"
    "@=\"GoneApp.Document\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Classes\\.live]\r\n"
    "@=\"LiveApp.Document\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Classes\\LiveApp.Document\\shell\\open\\command]\r\n"
    "@=\"\\\"C:\\\\Program Files\\\\Live\\\\live.exe\\\" \\\"%1\\\"\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Classes\\.withlist]\r\n"
    "@=\"Gone.Type\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Classes\\.withlist\\OpenWithProgids]\r\n"
    "\"LiveApp.Document\"=hex:\r\n\r\n"
    // Explorer's "open with" list: a program in the Windows folder, one gone, one in App Paths, a registered
    // application, a full path gone, one it cannot judge; MRUList only orders them.
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.txt\\OpenWithList]\r\n"
    "\"a\"=\"notepad.exe\"\r\n"
    "\"b\"=\"gonepad.exe\"\r\n"
    "\"c\"=\"live.exe\"\r\n"
    "\"d\"=\"registered.exe\"\r\n"
    "\"e\"=\"C:\\\\Program Files\\\\GoneApp\\\\gone.exe\"\r\n"
    "\"f\"=\"%ProgramFiles%\\\\Nowhere\\\\x.exe\"\r\n"
    "\"MRUList\"=\"fedcba\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Classes\\Applications\\registered.exe\\shell\\open\\command]\r\n"
    "@=\"\\\"C:\\\\Program Files\\\\Live\\\\live.exe\\\" \\\"%1\\\"\"\r\n\r\n"
    // Protected trees: broken pointers the cleaner must never list.
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\GoneService]\r\n"
    "\"ImagePath\"=\"C:\\\\Program Files\\\\GoneApp\\\\service.exe\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{0000-GONE}\\InprocServer32]\r\n"
    "@=\"C:\\\\Program Files\\\\GoneApp\\\\shell.dll\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Policies\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
    "\"Forced\"=\"C:\\\\Program Files\\\\GoneApp\\\\forced.exe\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32]\r\n"
    "\"msacm.gone\"=\"C:\\\\Windows\\\\System32\\\\gone.acm\"\r\n\r\n";

const std::string kOpenWithTxt =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.txt\\OpenWithList : ";
const std::vector<std::string> kProgramFolders = {"C:\\Windows", "C:\\Windows\\System32"};

class RegistryCleaner : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ImportRegText(world.registry, kFixture).skipped, 0u);
    for (const char* folder : {"C:\\Program Files", "C:\\Program Files\\Live", "C:\\Windows"})
      world.files.CreateFolder(folder);
    for (const char* file : {"C:\\Program Files\\Live\\live.exe", "C:\\Program Files\\Live\\uninst.exe",
                             "C:\\Program Files\\Live\\live.dll", "C:\\Windows\\notepad.exe"})
      ASSERT_EQ(world.files.WriteFileAtomic(file, "MZ"), kOk);
  }
  std::string Everything() {
    std::string text = ExportRegText(world.registry, kHkeyCurrentUser, "");
    text += ExportRegText(world.registry, kHkeyLocalMachine, "");
    return text;
  }

  test::EmulatedPlatformFixture world;
};

std::string Describe(const RegFinding& f) {
  return std::string(RegRootName(f.root)) + "\\" + f.key + (f.wholeKey ? "" : " : " + f.value);
}

TEST_F(RegistryCleaner, FindsOnlyEntriesThatPointAtWhatIsGoneWithTheReason) {
  const std::vector<RegFinding> findings = ScanRegistry(world.registry, world.files, true, kProgramFolders);
  const struct {
    FindingCategory category;
    std::string where;
    const char* reason;
  } expected[] = {
      {FindingCategory::kUninstallEntry,
       "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\GoneApp",
       "the program folder C:\\Program Files\\GoneApp and the uninstaller C:\\Program Files\\GoneApp\\uninst.exe are "
       "missing"},
      {FindingCategory::kAppPath,
       "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\gone.exe",
       "C:\\Program Files\\GoneApp\\gone.exe is missing"},
      {FindingCategory::kStartupValue, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run : Updater",
       "C:\\Program Files\\GoneApp\\updater.exe is missing"},
      {FindingCategory::kStartupValue,
       "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce : Finish",
       "C:\\Setup\\finish.exe is missing"},
      {FindingCategory::kMuiCache,
       "HKEY_CURRENT_USER\\Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache : "
       "C:\\Program Files\\GoneApp\\gone.exe.FriendlyAppName",
       "C:\\Program Files\\GoneApp\\gone.exe is missing"},
      {FindingCategory::kCompatibilityStore,
       "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility "
       "Assistant\\Store : C:\\Downloads\\setup-old.exe",
       "C:\\Downloads\\setup-old.exe is missing"},
      {FindingCategory::kSharedDll,
       "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs : C:\\Program Files\\Common "
       "Files\\Gone\\gone.dll",
       "C:\\Program Files\\Common Files\\Gone\\gone.dll is missing"},
      {FindingCategory::kFileType, "HKEY_CURRENT_USER\\Software\\Classes\\.gone",
       "its file type GoneApp.Document does not exist: no program opens .gone files"},
      {FindingCategory::kOpenWithList, kOpenWithTxt + "b",
       "the program gonepad.exe is not found (App Paths, registered applications, Windows folders)"},
      {FindingCategory::kOpenWithList, kOpenWithTxt + "e", "C:\\Program Files\\GoneApp\\gone.exe is missing"},
  };
  ASSERT_EQ(findings.size(), std::size(expected));
  for (const auto& e : expected) {
    const auto found =
        std::find_if(findings.begin(), findings.end(), [&](const RegFinding& f) { return Describe(f) == e.where; });
    ASSERT_NE(found, findings.end()) << e.where;
    EXPECT_EQ(found->category, e.category) << e.where;
    EXPECT_EQ(found->reason, e.reason) << e.where;
  }
  // Per-user only: the machine-wide places are left out; with no folder to
  // look in, a bare program name unknown to the registry is left alone.
  for (const RegFinding& f : ScanRegistry(world.registry, world.files, false)) {
    EXPECT_EQ(f.root, kHkeyCurrentUser) << Describe(f);
    EXPECT_NE(Describe(f), kOpenWithTxt + "b");
  }
}

TEST(RegistryCleanerGuard, ProtectedTreesAreNeverTouched) {
  const struct {
    RegKey root;
    const char* key;
    bool isProtected;
  } cases[] = {
      {kHkeyLocalMachine, "SYSTEM", true},
      {kHkeyLocalMachine, "system\\CurrentControlSet\\Services\\x", true},
      {kHkeyCurrentUser, "Software\\Classes\\CLSID\\{x}", true},
      {kHkeyCurrentUser, "Software\\Policies\\Microsoft", true},
      {kHkeyLocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers", true},
      {kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\services.exe", false},
      {kHkeyCurrentUser, "SYSTEM\\Tool", false},  // only the machine's SYSTEM hive is protected
      {kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsProtectedRegistryKey(c.root, c.key), c.isProtected) << c.key;

  test::EmulatedPlatformFixture world;
  ASSERT_EQ(ImportRegText(world.registry, kFixture).skipped, 0u);
  const RegFinding forged{
      FindingCategory::kAppPath, kHkeyCurrentUser, "Software\\Classes\\CLSID\\{0000-GONE}", "", true, "forged"};
  const FixResult fix = FixFinding(world.registry, world.files, forged, "C:\\cv\\Backups", {}, 1);
  EXPECT_EQ(fix.status, kErrAccessDenied);
  EXPECT_TRUE(fix.backup.empty());
  ScopedRegKey key(world.registry);
  EXPECT_EQ(world.registry.OpenKey(kHkeyCurrentUser, forged.key, kKeyRead, key.out()), kOk);
}

TEST_F(RegistryCleaner, FixWritesABackupFirstAndRestoreBringsBackTheSameBytes) {
  const std::string before = Everything();
  const std::vector<RegFinding> findings = ScanRegistry(world.registry, world.files, true);
  ASSERT_FALSE(findings.empty());
  const LocalTime now{2026, 12, 9, 14, 5, 9, 3};
  std::vector<FixResult> fixes;
  int number = 0;
  for (const RegFinding& f : findings) {
    fixes.push_back(FixFinding(world.registry, world.files, f, "C:\\cv\\Backups", now, ++number));
    EXPECT_EQ(fixes.back().status, kOk) << Describe(f);
  }
  EXPECT_EQ(fixes.front().backup, "C:\\cv\\Backups\\2026-12-09 14.05.09 01.reg");
  EXPECT_TRUE(ScanRegistry(world.registry, world.files, true).empty()) << "everything found was fixed";
  EXPECT_NE(Everything(), before);

  for (std::size_t i = 0; i < fixes.size(); ++i) {
    std::string backup;
    ASSERT_EQ(world.files.ReadFile(fixes[i].backup, backup), kOk);
    EXPECT_EQ(backup.rfind(kRegTextHeader, 0), 0u) << "regedit's header";
    ASSERT_EQ(RestoreBackup(world.registry, world.files, fixes[i].backup), kOk);
    const RegFinding& f = findings[i];
    if (f.wholeKey) {
      EXPECT_EQ(ExportRegText(world.registry, f.root, f.key), backup) << Describe(f);
    } else {
      ScopedRegKey key(world.registry);
      RegValue value;
      ASSERT_EQ(world.registry.OpenKey(f.root, f.key, kKeyRead, key.out()), kOk);
      ASSERT_EQ(world.registry.QueryValue(key.get(), f.value, value), kOk);
      EXPECT_EQ(ExportRegValueText(f.root, f.key, f.value, value), backup) << Describe(f);
    }
  }
  // Every key and value is back; only the order of re-created entries may differ.
  const auto lines = [](const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    std::sort(out.begin(), out.end());
    return out;
  };
  EXPECT_EQ(lines(Everything()), lines(before));
  EXPECT_EQ(ScanRegistry(world.registry, world.files, true).size(), findings.size());
}

TEST_F(RegistryCleaner, NoBackupNoFix) {
  const std::vector<RegFinding> findings = ScanRegistry(world.registry, world.files, false);
  ASSERT_FALSE(findings.empty());
  // The backup folder's place is taken by a file: nothing can be written there.
  ASSERT_EQ(world.files.WriteFileAtomic("C:\\cv", "not a folder"), kOk);
  const FixResult fix = FixFinding(world.registry, world.files, findings.front(), "C:\\cv\\Backups", {}, 1);
  EXPECT_NE(fix.status, kOk);
  EXPECT_TRUE(fix.backup.empty());
  EXPECT_EQ(ScanRegistry(world.registry, world.files, false).size(), findings.size());
}

}  // namespace
}  // namespace cv
