// The registry layer on the emulated registry, with recorded message boxes.
#include <gtest/gtest.h>

#include <string>

#include "config/regfun.h"
#include "platform/emulated/emulated_registry.h"
#include "platform/emulated/emulated_shell.h"

namespace cv {
namespace {

using namespace std::string_literals;

class RegfunTest : public ::testing::Test {
 protected:
  // Stores a value below HKEY_CURRENT_USER as regedit would (strings with their NUL).
  void Store(const std::string& subKey, const std::string& name, std::uint32_t type, const std::string& data) {
    ScopedRegKey key(registry);
    ASSERT_EQ(registry.CreateKey(kHkeyCurrentUser, subKey, key.out()), kOk);
    ASSERT_EQ(registry.SetValue(key.get(), name, type, data), kOk);
  }
  RegValue Stored(const std::string& subKey, const std::string& name) {
    ScopedRegKey key(registry);
    RegValue value;
    if (registry.OpenKey(kHkeyCurrentUser, subKey, kKeyRead, key.out()) == kOk)
      registry.QueryValue(key.get(), name, value);
    return value;
  }

  emulated::EmulatedRegistry registry;
  emulated::RecordingMessageBoxes messages;
  regfun reg{registry, messages};
};

TEST_F(RegfunTest, RootNamesMatchExactlyAndOnlyTheSeven) {
  EXPECT_EQ(regfun::RootKeyFromName("HKEY_CLASSES_ROOT"), 0x80000000u);
  EXPECT_EQ(regfun::RootKeyFromName("HKEY_CURRENT_USER"), 0x80000001u);
  EXPECT_EQ(regfun::RootKeyFromName("HKEY_LOCAL_MACHINE"), 0x80000002u);
  EXPECT_EQ(regfun::RootKeyFromName("HKEY_USERS"), 0x80000003u);
  EXPECT_EQ(regfun::RootKeyFromName("HKEY_PERFORMANCE_DATA"), 0x80000004u);
  EXPECT_EQ(regfun::RootKeyFromName("HKEY_CURRENT_CONFIG"), 0x80000005u);
  EXPECT_EQ(regfun::RootKeyFromName("HKEY_DYN_DATA"), 0x80000006u);
  EXPECT_EQ(regfun::RootKeyFromName("hkey_current_user"), 0u);
  EXPECT_EQ(regfun::RootKeyFromName("HKCU"), 0u);
  EXPECT_EQ(regfun::RootKeyFromName("HKEY_CURRENT_USER "), 0u);
  EXPECT_EQ(regfun::RootKeyFromName(""), 0u);
}

TEST_F(RegfunTest, SplitKeyPathSeparatesRootAndSubKey) {
  std::string path = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft";
  RegKey root = 1;
  reg.SplitKeyPath(path, root);
  EXPECT_EQ(root, kHkeyLocalMachine);
  EXPECT_EQ(path, "SOFTWARE\\Microsoft");

  path = "HKEY_USERS";
  reg.SplitKeyPath(path, root);
  EXPECT_EQ(root, kHkeyUsers);
  EXPECT_EQ(path, "");

  path = "HKEY_NOWHERE\\Software";
  reg.SplitKeyPath(path, root);
  EXPECT_EQ(root, 0u);
  EXPECT_EQ(path, "Software");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RegfunTest, MalformedPathsShowIncorrectFormatAndStayUnchanged) {
  for (const std::string& bad : {"hkey_current_user\\Software"s, "HKEY_CURRENT_USER\\Software\\"s, ""s, "Software"s}) {
    messages.shown.clear();
    std::string path = bad;
    RegKey root = 1;
    reg.SplitKeyPath(path, root);
    EXPECT_EQ(root, 0u);
    EXPECT_EQ(path, bad);
    ASSERT_EQ(messages.shown.size(), 1u) << bad;
    EXPECT_EQ(messages.shown[0].text, "Incorrect Format:\n\n" + bad);
    EXPECT_EQ(messages.shown[0].style, kMbOk);
  }
}

TEST_F(RegfunTest, ARootAloneReadsAValueDirectlyBelowIt) {
  ASSERT_EQ(registry.SetValue(kHkeyCurrentUser, "AtRoot", kRegSz, "top\0"s), kOk);
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER", "AtRoot"), "top");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RegfunTest, ALowerCaseRootShowsTheMessageAndReadsNothing) {
  Store("Software\\App", "Folder", kRegSz, "C:\\Data\0"s);
  ASSERT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App", "Folder"), "C:\\Data");
  EXPECT_EQ(reg.ReadRegString("hkey_current_user\\Software\\App", "Folder"), "");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Incorrect Format:\n\nhkey_current_user\\Software\\App");
}

TEST_F(RegfunTest, AnUnknownHkeyRootGivesEmptyTextWithoutMessage) {
  Store("Software\\App", "Folder", kRegSz, "C:\\Data\0"s);
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USERS\\Software\\App", "Folder"), "");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RegfunTest, ATrailingBackslashShowsTheMessage) {
  Store("Software\\App", "Folder", kRegSz, "C:\\Data\0"s);
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\", "Folder"), "");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Incorrect Format:\n\nHKEY_CURRENT_USER\\Software\\");
}

TEST_F(RegfunTest, TwoHundredFiftyFourCharactersAreReadWholeOneMoreIsAnError) {
  const std::string fits(254, 'a');
  const std::string tooLong(255, 'b');
  Store("Software\\App", "Fits", kRegSz, fits + '\0');
  Store("Software\\App", "TooLong", kRegSz, tooLong + '\0');
  Store("Software\\App", "FitsBare", kRegSz, fits);
  Store("Software\\App", "TooLongBare", kRegSz, tooLong);
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App", "Fits"), fits);
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App", "TooLong"), "Error");
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App", "FitsBare"), fits);
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App", "TooLongBare"), "Error");
  // The limit counts UTF-8 bytes: 127 "é" take 254 of them, 128 take 256.
  Store("Software\\App", "Accents", kRegSz, [] {
    std::string s;
    for (int i = 0; i < 127; ++i) s += "é";
    return s;
  }());
  Store("Software\\App", "MoreAccents", kRegSz, [] {
    std::string s;
    for (int i = 0; i < 128; ++i) s += "é";
    return s;
  }());
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App", "Accents").size(), 254u);
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App", "MoreAccents"), "Error");
}

TEST_F(RegfunTest, LeadingSpacesAreDroppedTrailingOnesKept) {
  Store("Software\\App", "Padded", kRegSz, "  word  \0"s);
  Store("Software\\App", "Blank", kRegSz, "   \0"s);
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App", "Padded"), "word  ");
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App", "Blank"), "");
}

TEST_F(RegfunTest, MissingKeysAndValuesReadAsError) {
  Store("Software\\App", "Folder", kRegExpandSz, "%USERPROFILE%\\Data\0"s);
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\Missing", "Folder"), "Error");
  EXPECT_EQ(reg.LastStatus(), kErrFileNotFound);
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App", "Missing"), "Error");
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App", ""), "Error");
  // Expandable strings come back as stored.
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App", "Folder"), "%USERPROFILE%\\Data");
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(RegfunTest, WrittenStringsEndInTheirNulAndReadBackWhole) {
  reg.CreateRegKey("HKEY_CURRENT_USER\\Software\\App\\Sub");
  reg.WriteRegString("HKEY_CURRENT_USER\\Software\\App\\Sub", "url1", "http://example.com/");
  const RegValue stored = Stored("Software\\App\\Sub", "url1");
  EXPECT_EQ(stored.type, kRegSz);
  EXPECT_EQ(stored.data, "http://example.com/\0"s);
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App\\Sub", "url1"), "http://example.com/");
  std::uint32_t type = 0;
  EXPECT_EQ(reg.ReadRegValueAt(kHkeyCurrentUser, "Software\\App\\Sub", "url1", type), "http://example.com/");
  EXPECT_EQ(type, kRegSz);
  reg.WriteRegString("HKEY_CURRENT_USER\\Software\\App\\Sub", "", "default  ");
  EXPECT_EQ(reg.ReadRegString("HKEY_CURRENT_USER\\Software\\App\\Sub", ""), "default  ");
  // A text holding a NUL is stored up to it: the value stays one string.
  reg.WriteRegString("HKEY_CURRENT_USER\\Software\\App\\Sub", "cut", "first\0second"s);
  EXPECT_EQ(Stored("Software\\App\\Sub", "cut").data, "first\0"s);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(RegfunTest, WritingToAMissingKeyChangesNothing) {
  Store("Software\\App", "Keep", kRegSz, "x\0"s);
  const std::string before = registry.ExportRegText();
  reg.WriteRegString("HKEY_CURRENT_USER\\Software\\App\\Missing", "v", "text");
  reg.WriteRegString("HKEY_NOWHERE\\Software\\App", "v", "text");
  EXPECT_EQ(registry.ExportRegText(), before);
  EXPECT_TRUE(messages.shown.empty());
  reg.WriteRegString("HKEY_CURRENT_USER\\Software\\App\\", "v", "text");
  reg.CreateRegKey("HKEY_CURRENT_USER\\Software\\App\\");
  EXPECT_EQ(registry.ExportRegText(), before);
  EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(RegfunTest, ReadRegValueAtCutsAtNulKeepsSpacesAndReportsTheType) {
  Store("Software\\App", "Multi", kRegMultiSz, "  first \0second\0\0"s);
  Store("Software\\App", "Number", kRegDword, "\x41\x42\0\0"s);
  Store("Software\\App", "Long", kRegExpandSz, std::string(300, 'x') + '\0');
  std::uint32_t type = 99;
  EXPECT_EQ(reg.ReadRegValueAt(kHkeyCurrentUser, "Software\\App", "Multi", type), "  first ");
  EXPECT_EQ(type, kRegMultiSz);
  EXPECT_EQ(reg.ReadRegValueAt(kHkeyCurrentUser, "Software\\App", "Number", type), "AB");
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(reg.ReadRegValueAt(kHkeyCurrentUser, "Software\\App", "Long", type), "error");
  EXPECT_EQ(type, kRegExpandSz);
  type = 99;
  EXPECT_EQ(reg.ReadRegValueAt(kHkeyCurrentUser, "Software\\App", "Missing", type), "error");
  EXPECT_EQ(reg.ReadRegValueAt(kHkeyCurrentUser, "Software\\Missing", "Multi", type), "error");
  EXPECT_EQ(reg.ReadRegValueAt(0, "Software\\App", "Multi", type), "error");
  EXPECT_EQ(type, 99u);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(RegfunTest, CreateRegKeyCreatesEveryMissingKey) {
  reg.CreateRegKey("HKEY_CURRENT_USER\\Software\\A\\B\\C");
  ScopedRegKey key(registry);
  EXPECT_EQ(registry.OpenKey(kHkeyCurrentUser, "Software\\A\\B\\C", kKeyRead, key.out()), kOk);
  reg.CreateRegKey("hkey_current_user\\Software\\D");
  EXPECT_EQ(registry.OpenKey(kHkeyCurrentUser, "Software\\D", kKeyRead, key.out()), kErrFileNotFound);
  EXPECT_EQ(registry.OpenHandleCount(), 1u);
}

TEST_F(RegfunTest, TrimAtNulKeepsTheTextBeforeTheFirstNul) {
  EXPECT_EQ(regfun::TrimAtNul("abc\0def\0"s), "abc");
  EXPECT_EQ(regfun::TrimAtNul("abc"), "abc");
  EXPECT_EQ(regfun::TrimAtNul("\0abc"s), "");
}

}  // namespace
}  // namespace cv
