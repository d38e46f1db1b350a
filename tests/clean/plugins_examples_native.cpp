// The example plug-ins installed beside the program, each run on a fixture
// of the application it cleans.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/fso.h"
#include "clean/plugins.h"
#include "config/inifun.h"
#include "items_run_fixture.h"

namespace cv::test {
namespace {

const std::filesystem::path kExamples = std::filesystem::path(CV_SOURCE_DIR) / "data/plus-in";

std::string ReadHostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Example {
  const char* file;                                                 // in data/plus-in
  std::vector<std::string> erased{};                                // files (relative to the sandbox's C:) that go
  std::vector<std::string> kept{};                                  // files that stay
  std::vector<std::pair<std::string, std::string>> erasedValues{};  // HKCU key, value
  std::vector<std::string> erasedKeys{};                            // HKCU keys
  std::vector<std::pair<std::string, std::string>> keptValues{};
};

const std::string kLocal = EmulatedPlatformFixture::kLocalAppData;
const std::string kRoaming = EmulatedPlatformFixture::kAppData;

std::vector<Example> Examples() {
  return {
      {"Microsoft Edge.vpe",
       {kLocal + "\\Microsoft\\Edge\\User Data\\Default\\Cache\\Cache_Data\\data_0",
        kLocal + "\\Microsoft\\Edge\\User Data\\Default\\Code Cache\\js\\index",
        kLocal + "\\Microsoft\\Edge\\User Data\\Default\\GPUCache\\data_1"},
       {kLocal + "\\Microsoft\\Edge\\User Data\\Default\\Bookmarks",
        kLocal + "\\Microsoft\\Edge\\User Data\\Default\\History"}},
      {"Brave.vpe",
       {kLocal + "\\BraveSoftware\\Brave-Browser\\User Data\\Default\\Cache\\Cache_Data\\f_000001",
        kLocal + "\\BraveSoftware\\Brave-Browser\\User Data\\Default\\GPUCache\\index"},
       {kLocal + "\\BraveSoftware\\Brave-Browser\\User Data\\Default\\Preferences"}},
      {"Visual Studio Code.vpe",
       {kRoaming + "\\Code\\Cache\\Cache_Data\\data_2", kRoaming + "\\Code\\CachedData\\abc\\chrome\\x.code",
        kRoaming + "\\Code\\logs\\20260101T000000\\main.log"},
       {kRoaming + "\\Code\\User\\settings.json", kRoaming + "\\Code\\User\\keybindings.json"}},
      {"Notepad++.vpe", {kRoaming + "\\Notepad++\\session.xml"}, {kRoaming + "\\Notepad++\\config.xml"}},
      {"7-Zip.vpe",
       {},
       {},
       {{"Software\\7-Zip\\Compression", "ArcHistory"},
        {"Software\\7-Zip\\Extraction", "PathHistory"},
        {"Software\\7-Zip\\FM", "FolderHistory"},
        {"Software\\7-Zip\\FM", "CopyHistory"},
        {"Software\\7-Zip\\FM", "PanelPath0"}},
       {},
       {{"Software\\7-Zip\\FM", "Columns"}, {"Software\\7-Zip\\Compression", "Level"}}},
      {"Windows Media Player.vpe",
       {},
       {},
       {},
       {"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList",
        "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList"},
       {{"Software\\Microsoft\\MediaPlayer\\Player\\Settings", "Volume"}}},
      {"Application Crash Dumps.vpe",
       {kLocal + "\\CrashDumps\\app.exe.1234.dmp", kLocal + "\\CrashDumps\\other.exe.99.DMP"},
       {kLocal + "\\CrashDumps\\readme.txt", kLocal + "\\CrashDumps\\sub\\nested.dmp"}},
  };
}

class ExamplePluginsTest : public ::testing::Test, public ItemRunFixture {};

TEST_F(ExamplePluginsTest, EveryExampleIsWellFormedAndShippedUnticked) {
  size_t count = 0;
  for (const auto& file : std::filesystem::directory_iterator(kExamples)) {
    ++count;
    const std::string name = file.path().filename().string();
    EXPECT_EQ(file.path().extension(), ".vpe") << name;
    const std::string text = ReadHostFile(file.path());
    for (size_t i = 0; i < text.size(); ++i) {
      ASSERT_LT(static_cast<unsigned char>(text[i]), 0x80) << name << ": plain ASCII text";
      if (text[i] == '\n') {
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << name << ": CR LF line ends";
      }
    }
    WriteFile(ProgramFile("\\plus-in\\" + name), text);
  }
  EXPECT_EQ(count, Examples().size());
  FileSystemObject fso(env.files);
  Inifun ini(env.files);
  for (const PluginRow& row : LoadPluginRows(fso, ini, ProgramFile("\\plus-in"))) {
    EXPECT_EQ(row.source, ProgramFile("\\plus-in\\" + row.name + ".vpe")) << "the name must be the file's base name";
    EXPECT_FALSE(row.ticked) << row.name << ": the user turns an example on";
    EXPECT_NE(row.version, "") << row.name;
  }
}

TEST_F(ExamplePluginsTest, EachExampleCleansItsApplicationAndNothingElse) {
  Inifun ini(env.files);
  for (const Example& example : Examples()) {
    SCOPED_TRACE(example.file);
    const std::string installed = ProgramFile("\\plus-in\\") + example.file;
    WriteFile(installed, ReadHostFile(kExamples / example.file));
    ini.WriteIniValue(installed, "swich", "on", "1");
    for (const std::string& path : example.erased) WriteFile(path, "12345");
    for (const std::string& path : example.kept) WriteFile(path, "1");
    for (const auto& [key, value] : example.erasedValues) SetString("HKEY_CURRENT_USER\\" + key, value, "x");
    for (const std::string& key : example.erasedKeys) SetString("HKEY_CURRENT_USER\\" + key, "File0", "x");
    for (const auto& [key, value] : example.keptValues) SetString("HKEY_CURRENT_USER\\" + key, value, "x");

    const RunResult result = DoRun();
    ASSERT_EQ(recorder.ItemRows().size(), 1u);
    EXPECT_EQ(recorder.ItemRows()[0].status, "Done");
    EXPECT_EQ(result.bytesReleased, 50000 + 5.0 * example.erased.size());
    EXPECT_EQ(result.registryKeysCleaned, 1 + 1.0 * example.erasedValues.size() + 5.0 * example.erasedKeys.size() +
                                              (example.file == std::string("7-Zip.vpe") ? 1 : 0))
        << "7-Zip also names a second panel's path";
    for (const std::string& path : example.erased) EXPECT_FALSE(Exists(path)) << path;
    for (const std::string& path : example.kept) EXPECT_TRUE(Exists(path)) << path;
    for (const auto& [key, value] : example.erasedValues)
      EXPECT_FALSE(ValueExists(kHkeyCurrentUser, key, value)) << key << " " << value;
    for (const std::string& key : example.erasedKeys) EXPECT_FALSE(KeyExists(kHkeyCurrentUser, key)) << key;
    for (const auto& [key, value] : example.keptValues)
      EXPECT_TRUE(ValueExists(kHkeyCurrentUser, key, value)) << key << " " << value;
    for (const EraseEntry& entry : recorder.entries) EXPECT_FALSE(entry.refused) << entry.path;

    ASSERT_EQ(env.files.DeleteFile(installed, true), kOk);
  }
}

}  // namespace
}  // namespace cv::test
