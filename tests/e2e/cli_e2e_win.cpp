// End to end under Wine: clearvane-cli.exe previews and cleans a fixture made
// of a REGEDIT4 file (imported with regedit, as a user's registry would hold
// it) and a folder tree, and the registry and disk are then checked entry by
// entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "e2e_support_win.h"
#include "platform/win32/text_win.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win.h"
#include "test_filesystem.h"

namespace cv {
namespace {

using e2e::Captured;
using e2e::Exists;
using e2e::KeyExists;
using e2e::RunCapturing;
using e2e::ValueExists;
using win32::Widen;

constexpr char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

class CliEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    disk_ = test::MakeFileSystemFixture();
    program_ = disk_->Path("Clearvane");

    // The selection: a few Windows items, everything else (Maxthon too) off.
    std::string selection = "[Maxthon]\r\nkeywords=0\r\npages=0\r\nsettings=0\r\ngroups=0\r\nfolder=0\r\n";
    selection += "[WINDOWS]\r\nrun=1\r\nopen=1\r\ntemp=1\r\nstreams=1\r\nsearchfolders=1\r\nnotification=1\r\n";
    ASSERT_NO_FATAL_FAILURE(e2e::InstallProgram(*disk_, program_, selection));

    // The temporary folder the run will see, with a link in it that points at
    // a sentinel folder outside.
    temp_ = disk_->Path("Temp");
    sentinel_ = disk_->Path("Sentinel");
    documents_ = disk_->Path("Documents");
    for (const std::string& folder : {temp_, temp_ + "\\sub", sentinel_, documents_, documents_ + "\\Searches"})
      ASSERT_TRUE(disk_->MakeFolder(folder));
    ASSERT_TRUE(disk_->WriteFile(temp_ + "\\a.tmp", "12345"));
    ASSERT_TRUE(disk_->WriteFile(temp_ + "\\sub\\b.tmp", std::string(1000, 'b')));
    ASSERT_TRUE(disk_->WriteFile(sentinel_ + "\\keep.txt", "keep"));
    // Wine 8 cannot make folder links from a Windows program; the native
    // suites cover links where it cannot.
    if (disk_->SupportsFolderLinks()) {
      ASSERT_TRUE(disk_->MakeFolderLink(temp_ + "\\link", sentinel_));
    }
    ASSERT_TRUE(disk_->WriteFile(documents_ + "\\Searches\\s.search-ms", "xyz"));
    ASSERT_TRUE(disk_->WriteFile(documents_ + "\\letter.doc", "letter"));
    ::SetEnvironmentVariableW(L"TEMP", Widen(temp_).c_str());

    // The registry, as a REGEDIT4 file imported by regedit.
    const std::string escaped = e2e::RegEscape(documents_);
    const std::string reg =
        "REGEDIT4\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU]\r\n"
        "\"a\"=\"notepad\\\\1\"\r\n\"MRUList\"=\"a\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\txt]\r\n"
        "\"a\"=\"C:\\\\x.txt\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\Keep]\r\n"
        "\"stay\"=\"yes\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StreamMRU]\r\n"
        "\"0\"=hex:01,02\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TrayNotify]\r\n"
        "\"IconStreams\"=hex:00\r\n\"Other\"=\"stays\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders]\r\n"
        "\"Personal\"=\"" +
        escaped + "\"\r\n";
    // The shell-folder value is put back afterwards: later suites share the prefix.
    shellFolders_ =
        std::make_unique<e2e::RegistryKeyBackup>(HKEY_CURRENT_USER, std::string(kExplorer) + "\\User Shell Folders");
    ASSERT_NO_FATAL_FAILURE(e2e::ImportRegistry(*disk_, reg));
    ASSERT_TRUE(KeyExists(std::string(kExplorer) + "\\RunMRU"));
  }

  Captured Cli(const std::string& arguments) {
    return RunCapturing("\"" + program_ + "\\clearvane-cli.exe\" " + arguments);
  }

  void ExpectFixtureUntouched() {
    EXPECT_TRUE(Exists(temp_ + "\\a.tmp"));
    EXPECT_TRUE(Exists(temp_ + "\\sub\\b.tmp"));
    EXPECT_TRUE(Exists(documents_ + "\\Searches\\s.search-ms"));
    EXPECT_TRUE(KeyExists(std::string(kExplorer) + "\\RunMRU"));
    EXPECT_TRUE(KeyExists(std::string(kExplorer) + "\\ComDlg32\\OpenSaveMRU\\txt"));
    EXPECT_TRUE(KeyExists(std::string(kExplorer) + "\\StreamMRU"));
    EXPECT_TRUE(ValueExists(std::string(kExplorer) + "\\TrayNotify", "IconStreams"));
  }

  void ExpectBystandersIntact() {
    EXPECT_TRUE(Exists(sentinel_ + "\\keep.txt"));
    EXPECT_TRUE(Exists(documents_ + "\\letter.doc"));
    EXPECT_TRUE(KeyExists(std::string(kExplorer) + "\\ComDlg32\\Keep"));
    EXPECT_TRUE(ValueExists(std::string(kExplorer) + "\\TrayNotify", "Other"));
    EXPECT_TRUE(ValueExists(std::string(kExplorer) + "\\User Shell Folders", "Personal"));
  }

  std::unique_ptr<test::FileSystemFixture> disk_;
  std::unique_ptr<e2e::RegistryKeyBackup> shellFolders_;
  std::string program_, temp_, sentinel_, documents_;
};

TEST_F(CliEndToEnd, PreviewReportsEverythingAndChangesNothing) {
  const Captured preview = Cli("--preview --json");
  ASSERT_EQ(preview.exitCode, 0u) << preview.out;
  EXPECT_NE(preview.out.find("\"mode\": \"preview\""), std::string::npos) << preview.out;
  EXPECT_NE(preview.out.find(JsonString(temp_ + "\\a.tmp") + ", \"bytes\": 5"), std::string::npos) << preview.out;
  EXPECT_NE(preview.out.find(JsonString(temp_ + "\\sub\\b.tmp") + ", \"bytes\": 1000"), std::string::npos);
  EXPECT_NE(preview.out.find("{\"item\": \"Start Menu Run History\", \"status\": \"Done\", \"source\": \"builtin\"}"),
            std::string::npos);
  EXPECT_EQ(preview.out.find("keep.txt"), std::string::npos) << "the link's target was walked";
  ExpectFixtureUntouched();
  ExpectBystandersIntact();
}

TEST_F(CliEndToEnd, CleanErasesExactlyTheSelectedTraces) {
  const Captured clean = Cli("--clean --json");
  ASSERT_EQ(clean.exitCode, 0u) << clean.out;
  EXPECT_NE(clean.out.find("\"mode\": \"clean\""), std::string::npos) << clean.out;
  // run 3 + open 5 + streams 5 + 5 + notification 4 x 1
  EXPECT_NE(clean.out.find("\"registryKeysCleaned\": 22"), std::string::npos) << clean.out;

  EXPECT_FALSE(Exists(temp_ + "\\a.tmp"));
  EXPECT_FALSE(Exists(temp_ + "\\sub\\b.tmp"));
  EXPECT_TRUE(Exists(temp_));
  EXPECT_FALSE(Exists(documents_ + "\\Searches\\s.search-ms"));
  EXPECT_FALSE(KeyExists(std::string(kExplorer) + "\\RunMRU"));
  EXPECT_FALSE(KeyExists(std::string(kExplorer) + "\\ComDlg32\\OpenSaveMRU"));
  EXPECT_FALSE(KeyExists(std::string(kExplorer) + "\\StreamMRU"));
  EXPECT_FALSE(ValueExists(std::string(kExplorer) + "\\TrayNotify", "IconStreams"));
  ExpectBystandersIntact();

  // The figures are stored beside the program.
  std::string stored;
  win32::UniqueFileHandle file(::CreateFileW(Widen(program_ + "\\vanesd.dat").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(file);
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) stored.append(buffer, got);
  EXPECT_NE(stored.find("regnum=22"), std::string::npos) << stored;
}

TEST_F(CliEndToEnd, BadArgumentsFailWithAMessage) {
  EXPECT_EQ(Cli("--bogus").exitCode, 2u);
  EXPECT_EQ(Cli("--clean --preview").exitCode, 2u);
  const Captured list = Cli("--list");
  EXPECT_EQ(list.exitCode, 0u);
  EXPECT_NE(list.out.find("140\tCustom\tCustom\tCustom Item"), std::string::npos) << list.out;
}

}  // namespace
}  // namespace cv
