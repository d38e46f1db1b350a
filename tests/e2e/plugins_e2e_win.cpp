// End to end under Wine: custom items and a plug-in folder beside
// clearvane-cli.exe, previewed and then cleaned on the real registry and disk.
#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "clean/run_items.h"
#include "e2e_support_win.h"
#include "test_filesystem.h"

namespace cv {
namespace {

constexpr char kDemoKey[] = "Software\\ClearvaneE2E";

class PluginsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    disk_ = test::MakeFileSystemFixture();
    program_ = disk_->Path("Clearvane");
    data_ = disk_->Path("AppData");
    // Only the custom item: every switch written, Maxthon's too.
    std::string selection;
    std::string section;
    for (const RunItem& item : RunItems()) {
      if (item.section != section) {
        section = std::string(item.section);
        selection += "[" + section + "]\r\n";
      }
      selection += std::string(item.key) + "=" + (item.number == kCustomItemNumber ? "1" : "0") + "\r\n";
    }
    ASSERT_NO_FATAL_FAILURE(e2e::InstallProgram(*disk_, program_, selection));

    for (const std::string& folder : {data_, data_ + "\\app", data_ + "\\app\\cache", data_ + "\\app\\cache\\sub",
                                      data_ + "\\custom", program_ + "\\plus-in"})
      ASSERT_TRUE(disk_->MakeFolder(folder)) << folder;
    ASSERT_TRUE(disk_->WriteFile(data_ + "\\app\\history.dat", std::string(300, 'h')));
    ASSERT_TRUE(disk_->WriteFile(data_ + "\\app\\History.dat.bak", "bak"));
    ASSERT_TRUE(disk_->WriteFile(data_ + "\\app\\cache\\c1", std::string(40, 'c')));
    ASSERT_TRUE(disk_->WriteFile(data_ + "\\app\\cache\\sub\\c2", std::string(60, 'c')));
    ASSERT_TRUE(disk_->WriteFile(data_ + "\\app\\settings.ini", "keep"));
    ASSERT_TRUE(disk_->WriteFile(data_ + "\\custom\\one.txt", std::string(7, 'x')));
    ASSERT_TRUE(disk_->WriteFile(data_ + "\\custom\\two.txt", std::string(11, 'x')));
    ASSERT_TRUE(disk_->WriteFile(data_ + "\\lone.log", std::string(13, 'x')));
    ASSERT_TRUE(disk_->WriteFile(
        program_ + "\\cusd.dat",
        data_ + "\\lone.log\tFile\r\n" + data_ + "\\custom\tFolder\r\n" + data_ + "\\app\\settings.ini\tfile\r\n"));

    // A ticked plug-in with every kind of entry, two hostile ones among them,
    // and an unticked one that must not run.
    const std::string demo =
        "[name]\r\nappname=Demo App\r\n[version]\r\nappver=1.0\r\n[dec]\r\ndecs=e2e\r\n[swich]\r\non=1\r\n"
        "[regtree]\r\nhistory=-2147483647," +
        std::string(kDemoKey) +
        "\\History\r\n"
        "whole=-2147483647,Software\r\n"
        "[reg]\r\nlast=&H80000001," +
        std::string(kDemoKey) +
        ",LastFile\r\n"
        "[file]\r\nhistory=" +
        data_ +
        ",\\app,history.dat\r\n"
        "[folder]\r\ncache=" +
        data_ + ",\\app\\cache\r\nroot=C:\\,\r\n";
    ASSERT_TRUE(disk_->WriteFile(program_ + "\\plus-in\\Demo App.vpe", demo));
    ASSERT_TRUE(disk_->WriteFile(
        program_ + "\\plus-in\\Off.vpe",
        "[name]\r\nappname=Off\r\n[swich]\r\non=0\r\n[file]\r\nf=" + data_ + ",\\app,settings.ini\r\n"));

    ASSERT_NO_FATAL_FAILURE(e2e::ImportRegistry(*disk_, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + std::string(kDemoKey) +
                                                            "]\r\n\"LastFile\"=\"x\"\r\n"
                                                            "\"Keep\"=\"y\"\r\n\r\n[HKEY_CURRENT_USER\\" +
                                                            std::string(kDemoKey) +
                                                            "\\History\\1]\r\n"
                                                            "\"a\"=\"b\"\r\n"));
  }

  void TearDown() override { e2e::RunCapturing("reg.exe delete HKCU\\" + std::string(kDemoKey) + " /f"); }

  e2e::Captured Cli(const std::string& arguments) {
    return e2e::RunCapturing("\"" + program_ + "\\clearvane-cli.exe\" " + arguments);
  }

  std::unique_ptr<test::FileSystemFixture> disk_;
  std::string program_, data_;
};

TEST_F(PluginsEndToEnd, PreviewListsThePluginAndCustomTargetsAndRefusesTheHostileOnes) {
  const auto before = e2e::SnapshotTree(disk_->Root());
  const e2e::Captured preview = Cli("--preview --json");
  ASSERT_EQ(preview.exitCode, 0u) << preview.out;
  EXPECT_NE(preview.out.find("{\"item\": \"Demo App\", \"status\": \"Done\", \"source\": \"plugin\"}"),
            std::string::npos)
      << preview.out;
  EXPECT_EQ(preview.out.find("\"item\": \"Off\""), std::string::npos);
  EXPECT_NE(preview.out.find(JsonString("HKEY_CURRENT_USER\\Software") + ", \"bytes\": 0, \"refused\": true"),
            std::string::npos)
      << preview.out;
  EXPECT_NE(preview.out.find("\"refused\": true"), std::string::npos);
  EXPECT_NE(preview.out.find(JsonString(data_ + "\\app\\history.dat") + ", \"bytes\": 300"), std::string::npos);
  EXPECT_EQ(e2e::SnapshotTree(disk_->Root()), before);
  EXPECT_TRUE(e2e::KeyExists(std::string(kDemoKey) + "\\History"));
  EXPECT_TRUE(e2e::ValueExists(kDemoKey, "LastFile"));
}

TEST_F(PluginsEndToEnd, CleanRunsTheTickedPluginAndTheCustomItems) {
  const e2e::Captured clean = Cli("--clean --json");
  ASSERT_EQ(clean.exitCode, 0u) << clean.out;
  // regtree 5 + 5 (refused, still counted) + reg 1 + the plug-in's fixed 1.
  EXPECT_NE(clean.out.find("\"registryKeysCleaned\": 12"), std::string::npos) << clean.out;
  // custom 13 + 18, plug-in file 300 + cache 100, and the fixed 50000.
  EXPECT_NE(clean.out.find("\"bytesReleased\": 50431"), std::string::npos) << clean.out;

  EXPECT_FALSE(e2e::KeyExists(std::string(kDemoKey) + "\\History"));
  EXPECT_FALSE(e2e::ValueExists(kDemoKey, "LastFile"));
  EXPECT_TRUE(e2e::ValueExists(kDemoKey, "Keep"));
  EXPECT_TRUE(e2e::KeyExists("Software\\Wine"));  // "Software" itself was refused

  EXPECT_FALSE(e2e::Exists(data_ + "\\app\\history.dat"));
  EXPECT_TRUE(e2e::Exists(data_ + "\\app\\History.dat.bak"));
  EXPECT_FALSE(e2e::Exists(data_ + "\\app\\cache\\c1"));
  EXPECT_FALSE(e2e::Exists(data_ + "\\app\\cache\\sub"));
  EXPECT_TRUE(e2e::Exists(data_ + "\\app\\cache"));
  EXPECT_TRUE(e2e::Exists(data_ + "\\app\\settings.ini"));  // "file" kind and the unticked plug-in
  EXPECT_FALSE(e2e::Exists(data_ + "\\lone.log"));
  EXPECT_FALSE(e2e::Exists(data_ + "\\custom"));
  EXPECT_TRUE(e2e::Exists(program_ + "\\cusd.dat"));
}

}  // namespace
}  // namespace cv
