// The options dialog's load and "OK" on the emulated platform.
#include <gtest/gtest.h>

#include <optional>

#include "config/options_dialog.h"
#include "config/selection_schema.h"
#include "emulated_platform.h"

namespace cv {
namespace {

constexpr const char* kIeMain = "Software\\Microsoft\\Internet Explorer\\Main";

class OptionsStoreTest : public ::testing::Test {
 protected:
  std::string SelectionFile() const { return fixture.shell.programFolder + "\\vanesd.dat"; }
  void Option(std::string_view key, std::string_view value) {
    ini.WriteIniValue(SelectionFile(), "Options", key, value);
  }
  std::string Option(std::string_view key) { return ini.ReadIniValue(SelectionFile(), "Options", key); }
  bool HasOption(std::string_view key) {
    for (const std::string& line : ini.ReadIniSection("Options", SelectionFile()))
      if (EqualsKey(line, key)) return true;
    return false;
  }
  static bool EqualsKey(std::string_view line, std::string_view key) {
    return line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=';
  }
  void SetValue(RegKey root, std::string_view subKey, std::string_view name, std::string_view data) {
    ScopedRegKey key(fixture.registry);
    ASSERT_EQ(fixture.registry.CreateKey(root, subKey, key.out()), kOk);
    ASSERT_EQ(fixture.registry.SetValue(key.get(), name, kRegSz, data), kOk);
  }
  std::optional<RegValue> Value(RegKey root, std::string_view subKey, std::string_view name) {
    ScopedRegKey key(fixture.registry);
    RegValue value;
    if (fixture.registry.OpenKey(root, subKey, kKeyRead, key.out()) != kOk ||
        fixture.registry.QueryValue(key.get(), name, value) != kOk)
      return std::nullopt;
    return value;
  }
  OptionsStore Store() {
    return OptionsStore(ini, layer, fixture.registry, SelectionFile(), fixture.shell.programFolder);
  }

  test::EmulatedPlatformFixture fixture;
  Inifun ini{fixture.files};
  regfun layer{fixture.registry, fixture.messages};
};

TEST_F(OptionsStoreTest, WithNoStoredOptionsTheBoxesLoadClearAndAnUntouchedOkStoresNoOne) {
  OptionsForm form = Store().Load();
  EXPECT_FALSE(form.bossKey || form.startup || form.autoUpdate || form.exitAfterCleaning || form.securely ||
               form.windowsStartup || form.windowsShutdown || form.hideModernBrowsers || form.threePasses);
  EXPECT_EQ(form.days, (std::array<bool, 7>{}));
  EXPECT_EQ(form.cleanTime, "");
  EXPECT_EQ(form.startPage, "");  // the read failed: "Error" is not shown

  const OptionsApplied applied = Store().Ok(form);
  EXPECT_EQ(applied.bossKey, BossKeySwitch::Keep);
  EXPECT_FALSE(HasOption("bosskey"));
  for (const char* key : {"startup", "autoclean", "exit", "securely", "WindowsStartup", "WindowsShutdown"})
    EXPECT_EQ(Option(key), "0") << key;
  EXPECT_FALSE(Value(kHkeyCurrentUser, kRunKeyPath, "Clearvane"));  // not added to start-up
  EXPECT_EQ(Option("bosskeybrowsers"), "0");
  EXPECT_EQ(Option("securepasses"), "1");
  EXPECT_EQ(Option("CleanDays"), "0000000");
  EXPECT_TRUE(HasOption("CleanTime"));
  EXPECT_EQ(applied.scheduleDays, (ScheduleDays{"0", "0", "0", "0", "0", "0", "0"}));
  // Home-page keys that do not exist are not created.
  EXPECT_FALSE(Value(kHkeyCurrentUser, kIeMain, "Start Page"));
  EXPECT_FALSE(Value(kHkeyLocalMachine, kIeMain, "Start Page"));
}

TEST_F(OptionsStoreTest, BossKeyIsStoredAndSwitchedOnlyWhenTheBoxDiffersFromTheStoredValue) {
  struct Case {
    std::optional<std::string_view> stored;
    bool box;
    std::optional<std::string_view> after;
    BossKeySwitch change;
  };
  const Case cases[] = {
      {std::nullopt, true, "1", BossKeySwitch::On}, {std::nullopt, false, std::nullopt, BossKeySwitch::Keep},
      {"1", true, "1", BossKeySwitch::Keep},        {"1", false, "0", BossKeySwitch::Off},
      {"0", true, "1", BossKeySwitch::On},          {"0", false, "0", BossKeySwitch::Keep},
      {"1.0", true, "1.0", BossKeySwitch::Keep},    {"2", true, "1", BossKeySwitch::On},
      {"2", false, "2", BossKeySwitch::Keep},       {"yes", false, "yes", BossKeySwitch::Keep},
      {"yes", true, "1", BossKeySwitch::On},        {"", true, "1", BossKeySwitch::On},
  };
  for (const Case& c : cases) {
    ini.DeleteIniSection(SelectionFile(), "Options");
    if (c.stored) Option("bosskey", *c.stored);
    OptionsForm form = Store().Load();
    form.bossKey = c.box;
    EXPECT_EQ(Store().Ok(form).bossKey, c.change) << c.stored.value_or("(missing)") << " " << c.box;
    EXPECT_EQ(HasOption("bosskey") ? std::optional<std::string>(Option("bosskey")) : std::nullopt, c.after);
  }
}

TEST_F(OptionsStoreTest, EveryFlagBoxShowsTheOneSwitchRule) {
  const std::pair<std::optional<std::string_view>, bool> values[] = {
      {std::nullopt, false}, {"", false},  {"1", true},  {"01", true},
      {" 1", true},          {"0", false}, {"2", false}, {"true", false}};
  const char* flags[] = {"bosskey", "bosskeybrowsers", "startup",        "autoclean",
                         "exit",    "securely",        "WindowsStartup", "WindowsShutdown"};
  for (const auto& [value, on] : values) {
    ini.DeleteIniSection(SelectionFile(), "Options");
    if (value)
      for (const char* flag : flags) Option(flag, *value);
    const OptionsForm form = Store().Load();
    const bool boxes[] = {form.bossKey,           form.hideModernBrowsers, form.startup,        form.autoUpdate,
                          form.exitAfterCleaning, form.securely,           form.windowsStartup, form.windowsShutdown};
    for (std::size_t i = 0; i < std::size(flags); ++i)
      EXPECT_EQ(boxes[i], on) << flags[i] << " = \"" << value.value_or("(missing)") << "\"";
    EXPECT_EQ(SwitchIsOn(value.value_or("")), on);  // the program acts as the box shows
  }
}

// "Ask before cleaning" shows the question's state: ticked unless
// "DontAskBeforeCleaning" is on; "OK" stores the box the other way round.
TEST_F(OptionsStoreTest, AskBeforeCleaningIsTickedUnlessTheQuestionWasTurnedOff) {
  const std::pair<std::optional<std::string_view>, bool> values[] = {
      {std::nullopt, true}, {"", true}, {"0", true}, {"2", true}, {"yes", true}, {"1", false}, {"01", false}};
  for (const auto& [value, ticked] : values) {
    ini.DeleteIniSection(SelectionFile(), "Options");
    if (value) Option("DontAskBeforeCleaning", *value);
    OptionsForm form = Store().Load();
    EXPECT_EQ(form.askBeforeCleaning, ticked) << value.value_or("(missing)");
    Store().Ok(form);
    EXPECT_EQ(Option("DontAskBeforeCleaning"), ticked ? "0" : "1") << "an untouched OK keeps what the box showed";
    form.askBeforeCleaning = !ticked;
    Store().Ok(form);
    EXPECT_EQ(Option("DontAskBeforeCleaning"), ticked ? "1" : "0");
  }
}

TEST_F(OptionsStoreTest, LoadReadsFlagsDaysTimeAndHomePage) {
  Option("exit", "0");
  Option("securely", "2");
  Option("autoclean", "1.0");
  Option("WindowsShutdown", "on");
  Option("bosskeybrowsers", "1");
  Option("securepasses", "3");
  Option("CleanTime", "09:30");
  SetValue(kHkeyCurrentUser, kIeMain, "Start Page", "http://example.org/");
  const std::pair<std::string_view, std::array<bool, 7>> days[] = {
      {"0100000", {false, true, false, false, false, false, false}},
      {"01", {false, true, false, false, false, false, true}},  // Saturday is the last character
      {"1x2 9-1", {true, false, false, false, false, false, true}},
      {"", {}},
  };
  for (const auto& [stored, expected] : days) {
    Option("CleanDays", stored);
    const OptionsForm form = Store().Load();
    EXPECT_EQ(form.days, expected) << stored;
    EXPECT_FALSE(form.exitAfterCleaning);
    EXPECT_FALSE(form.securely);
    EXPECT_FALSE(form.windowsShutdown);  // a word is no number: off, as the program treats it
    EXPECT_TRUE(form.autoUpdate && form.hideModernBrowsers && form.threePasses);
    EXPECT_EQ(form.cleanTime, "09:30");
    EXPECT_EQ(form.startPage, "http://example.org/");
  }
}

TEST_F(OptionsStoreTest, OkWritesHomePageScheduleAndRunValue) {
  SetValue(kHkeyCurrentUser, kIeMain, "Start Page", "old");
  SetValue(kHkeyUsers, std::string(".DEFAULT\\") + kIeMain, "Start Page", "old");
  // A value an older copy left under the machine's Run key.
  SetValue(kHkeyLocalMachine, kRunKeyPath, "Clearvane", "\"C:\\Old\\clearvane.exe\" min");
  SetValue(kHkeyLocalMachine, kRunKeyPath, "Other", "other.exe");
  OptionsForm form = Store().Load();
  form.startPage = "";
  form.windowTitle = "Mine";
  form.days = {false, true, false, false, false, true, false};
  form.cleanTime = "07:05";
  form.threePasses = true;
  form.startup = true;
  const OptionsApplied applied = Store().Ok(form);

  // Stored as REG_SZ with their terminating NUL.
  EXPECT_EQ(Value(kHkeyCurrentUser, kIeMain, "Start Page")->data, std::string(" \0", 2));
  EXPECT_EQ(Value(kHkeyCurrentUser, kIeMain, "Window Title")->data, std::string("Mine\0", 5));
  EXPECT_EQ(Value(kHkeyUsers, std::string(".DEFAULT\\") + kIeMain, "Start Page")->data, std::string(" \0", 2));
  EXPECT_EQ(Option("CleanDays"), "0100010");
  EXPECT_EQ(Option("CleanTime"), "07:05");
  EXPECT_EQ(Option("securepasses"), "3");
  EXPECT_EQ(applied.scheduleDays, (ScheduleDays{"0", "1", "0", "0", "0", "1", "0"}));
  EXPECT_EQ(applied.scheduleTime, "07:05");

  const auto run = Value(kHkeyCurrentUser, kRunKeyPath, "Clearvane");
  ASSERT_TRUE(run);
  EXPECT_EQ(run->type, kRegSz);
  EXPECT_EQ(run->data, "\"C:\\Program Files\\Clearvane\\clearvane.exe\" min");
  EXPECT_FALSE(Value(kHkeyLocalMachine, kRunKeyPath, "Clearvane"));
  EXPECT_TRUE(Value(kHkeyLocalMachine, kRunKeyPath, "Other"));

  form.startup = false;
  Store().Ok(form);
  EXPECT_EQ(Option("startup"), "0");
  EXPECT_FALSE(Value(kHkeyCurrentUser, kRunKeyPath, "Clearvane"));
}

TEST(OptionsLists, StartTimesRunFromMidnightToHalfPastEleven) {
  const auto entries = StartTimeEntries();
  ASSERT_EQ(entries.size(), 48u);
  EXPECT_EQ(entries.front(), "0:00");
  EXPECT_EQ(entries[1], "0:30");
  EXPECT_EQ(entries[19], "9:30");
  EXPECT_EQ(entries.back(), "23:30");
  EXPECT_EQ(RunKeyValue("D:\\Apps"), "\"D:\\Apps\\clearvane.exe\" min");
}

}  // namespace
}  // namespace cv
