// The extension list, its dialog's commands, the "Sweepdisk" settings and
// the Recycle Bin, on the emulated platform.
#include <gtest/gtest.h>

#include "finder/file_deletion.h"
#include "finder/finder_actions.h"
#include "finder/finder_texts.h"
#include "platform/emulated/emulated_recycle_bin.h"
#include "platform/emulated/emulated_registry.h"
#include "platform/emulated/emulated_shell.h"
#include "platform/registry_settings_store.h"
#include "test_filesystem.h"

namespace cv::finder {
namespace {

constexpr const char* kDefaults = "*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n";
constexpr const char* kDefaultSearch = "*.tmp;*.gid;*.swp;*.chk";

class ExtensionListTest : public ::testing::Test {
 protected:
  ExtensionListTest()
      : fixture(test::MakeFileSystemFixture()), list(fixture->fs(), fixture->Root()), editor(list, messages) {}
  std::string File() {
    std::string text;
    return fixture->fs().ReadFile(list.Path(), text) == kOk ? text : "<missing>";
  }

  std::unique_ptr<test::FileSystemFixture> fixture;
  emulated::RecordingMessageBoxes messages;
  ExtentionHandller list;
  ExtensionListEditor editor;
};

TEST_F(ExtensionListTest, CommandsChangeTheFileAndGiveTheNewSearchString) {
  using Command = std::function<std::optional<std::string>(ExtensionListEditor&)>;
  struct Case {
    const char* name;
    const char* before;  // nullptr: no file
    Command command;
    std::vector<int> answers;
    const char* after;
    std::optional<std::string> searchString;
    const char* message;  // caption shown, or ""
  };
  const Case cases[] = {
      {"add with blanks",
       kDefaults,
       [](auto& e) { return e.Add("  *.bak "); },
       {},
       "*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n*.bak\r\n",
       std::string(kDefaultSearch) + ";*.bak",
       ""},
      {"add twice", "*.bak\r\n", [](auto& e) { return e.Add("*.bak"); }, {}, "*.bak\r\n*.bak\r\n", "*.bak;*.bak", ""},
      {"add without star", kDefaults, [](auto& e) { return e.Add("bak"); }, {}, kDefaults, std::nullopt, "Error"},
      {"add star point alone", kDefaults, [](auto& e) { return e.Add("*."); }, {}, kDefaults, std::nullopt, "Error"},
      {"add to a missing file",
       nullptr,
       [](auto& e) { return e.Add("*.bak"); },
       {},
       "*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n*.bak\r\n",
       std::string(kDefaultSearch) + ";*.bak",
       ""},
      {"remove drops every copy, keeps other lines",
       "*.gid\r\njunk line\r\n*.tmp\n*.gid\r\n*.GID\r\n",
       [](auto& e) { return e.Remove("*.gid"); },
       {},
       "junk line\r\n*.tmp\r\n*.GID\r\n",
       "*.tmp;*.GID",
       ""},
      {"remove the last entry",
       "*.tmp\r\nnote\r\n",
       [](auto& e) { return e.Remove("*.tmp"); },
       {},
       "note\r\n",
       std::nullopt,
       ""},
      {"remove from a missing file",
       nullptr,
       [](auto& e) { return e.Remove("*.swp"); },
       {},
       "*.tmp\r\n*.gid\r\n*.chk\r\n",
       "*.tmp;*.gid;*.chk",
       ""},
      {"default yes",
       "*.bak\r\nnote\r\n",
       [](auto& e) { return e.Default(); },
       {kIdYes},
       kDefaults,
       kDefaultSearch,
       "Warnning:"},
      {"default no", "*.bak\r\n", [](auto& e) { return e.Default(); }, {kIdNo}, "*.bak\r\n", std::nullopt, "Warnning:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fixture->fs().DeleteFile(list.Path(), true);
    if (c.before) {
      ASSERT_TRUE(fixture->WriteFile(list.Path(), c.before));
    }
    messages.shown.clear();
    messages.answers = c.answers;
    EXPECT_EQ(c.command(editor), c.searchString);
    EXPECT_EQ(File(), c.after);
    EXPECT_EQ(messages.shown.empty() ? "" : messages.shown[0].caption, c.message);
  }
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(ExtensionListTest, ReadingNeverCreatesTheFileAndSurvivesHostileContent) {
  EXPECT_EQ(list.ReadExtensions(), kDefaultSearch);
  EXPECT_EQ(File(), "<missing>");
  // A leftover "temp" from an interrupted rewrite never joins the list.
  ASSERT_TRUE(fixture->WriteFile(fixture->Path("temp"), "*.old\r\n"));
  ASSERT_TRUE(fixture->WriteFile(list.Path(), std::string("*.t\xE9\r\n*\r\n*.\r\n\r\n*.a\0b\r\n", 22)));
  EXPECT_EQ(list.ReadExtensions(), std::string("*.t\xC3\xA9;*.a\0b", 11));
  EXPECT_EQ(editor.Remove("*.nothing"), std::string("*.t\xC3\xA9;*.a\0b", 11));
  EXPECT_EQ(File().find("*.old"), std::string::npos);

  std::string many;
  for (int i = 0; i < 100000; ++i) many += "*.e" + std::to_string(i) + "\r\n";
  ASSERT_TRUE(fixture->WriteFile(list.Path(), many));
  EXPECT_EQ(list.Entries().size(), 100000u);
  EXPECT_TRUE(editor.Add("*.bak").has_value());
  EXPECT_EQ(list.Entries().back(), "*.bak");
}

TEST(SweepdiskSettings, StoredWhereTheWindowsSettingsFunctionsKeepThem) {
  emulated::EmulatedRegistry registry;
  RegistrySettingsStore store(registry);
  SweepdiskSettings settings(store);
  settings.StoreOpening("C:\\Program Files\\Clearvane\\");
  ScopedRegKey key(registry);
  ASSERT_EQ(registry.OpenKey(kHkeyCurrentUser, "Software\\VB and VBA Program Settings\\Sweepdisk\\StartUp", kKeyRead,
                             key.out()),
            kOk);
  RegValue value;
  ASSERT_EQ(registry.QueryValue(key.get(), "AppPath", value), kOk);
  EXPECT_EQ(value.type, kRegSz);
  EXPECT_EQ(store.GetSetting("Sweepdisk", "StartUp", "AppPath", ""), "C:\\Program Files\\Clearvane\\");
  EXPECT_EQ(store.GetSetting("Sweepdisk", "General", "Prompt", ""), "1");
  EXPECT_EQ(store.GetSetting("Sweepdisk", "General", "Missing", "fallback"), "fallback");
  EXPECT_FALSE(store.SaveSetting("Sweepdisk", "..\\Other", "Key", "x"));
  EXPECT_EQ(store.GetSetting("", "StartUp", "AppPath", "none"), "none");

  settings.StoreResetAll("C:\\P\\");
  EXPECT_EQ(store.GetSetting("Sweepdisk", "General", "DeleteDirs", ""),
            "c:\\windows\\temp\\;C:\\WINDOWS\\Temporary Internet Files\\;");
  EXPECT_EQ(store.GetSetting("Sweepdisk", "General", "MaxLogSize", ""), "80");
}

TEST(SweepdiskSettings, PromptAndResetQuestionsFollowTheStoredValues) {
  emulated::EmulatedRegistry registry;
  RegistrySettingsStore store(registry);
  SweepdiskSettings settings(store);
  auto fixture = test::MakeFileSystemFixture();
  ExtentionHandller list(fixture->fs(), fixture->Root());
  emulated::RecordingMessageBoxes messages;

  struct Case {
    const char* prompt;  // nullptr: not stored
    int answer;
    bool goesOn;
    const char* promptAfter;
  };
  const Case cases[] = {{nullptr, kIdNo, false, ""},
                        {"1", kIdYes, true, "0"},
                        {"0", kIdNo, true, "0"},
                        {"junk", kIdNo, false, "junk"},
                        {" 2", kIdYes, true, "0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.prompt ? c.prompt : "missing");
    registry.DeleteTree(kHkeyCurrentUser, "Software\\VB and VBA Program Settings\\Sweepdisk");
    if (c.prompt) store.SaveSetting("Sweepdisk", "General", "Prompt", c.prompt);
    messages.answers = {c.answer};
    EXPECT_EQ(ConfirmDeletion(settings, messages), c.goesOn);
    EXPECT_EQ(store.GetSetting("Sweepdisk", "General", "Prompt", ""), c.promptAfter);
  }

  messages.shown.clear();
  messages.answers.clear();
  EXPECT_TRUE(ResetAll(settings, list, messages, "C:\\P\\"));  // "Uses" missing: no question
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(list.ReadExtensions(), kDefaultSearch);
  store.SaveSetting("Sweepdisk", "General", "Uses", "3");
  store.SaveSetting("Sweepdisk", "General", "Prompt", "0");
  messages.answers = {kIdNo};
  EXPECT_FALSE(ResetAll(settings, list, messages, "C:\\P\\"));
  EXPECT_EQ(messages.shown.at(0).text, texts::kResetQuestion);
  EXPECT_EQ(store.GetSetting("Sweepdisk", "General", "Prompt", ""), "0");
}

TEST(EmulatedRecycleBin, RecycledFilesLeaveTheirFolderAndAreRecorded) {
  auto fixture = test::MakeFileSystemFixture();
  emulated::EmulatedRecycleBin bin(fixture->fs());
  ASSERT_TRUE(fixture->WriteFile(fixture->Path("a.tmp"), "x"));
  ASSERT_TRUE(fixture->WriteFile(fixture->Path("b.tmp"), "x"));
  const DeletionOutcome outcome =
      DeleteFoundFiles(fixture->fs(), &bin, fixture->Root(), {fixture->Path("a.tmp"), fixture->Path("b.tmp")});
  EXPECT_EQ(outcome.deleted, 2u);
  EXPECT_EQ(bin.recycled, (std::vector<std::string>{fixture->Path("a.tmp"), fixture->Path("b.tmp")}));
  EXPECT_FALSE(fixture->fs().Stat(fixture->Path("a.tmp")));
}

}  // namespace
}  // namespace cv::finder
