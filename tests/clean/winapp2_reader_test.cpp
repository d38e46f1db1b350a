// Reading community definitions: what is accepted, what is rejected and why,
// and how the text of the file is decoded.
#include "clean/winapp2_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cv {
namespace {

Winapp2Database Read(std::string_view text) {
  Winapp2Database database;
  std::vector<std::string> taken;
  ReadWinapp2(text, database, taken);
  return database;
}

// One entry with a detection line and the given lines.
std::string Entry(std::string_view name, std::string_view lines) {
  return "[" + std::string(name) + " *]\r\nLangSecRef=3021\r\nDetectFile=%AppData%\\Tool\r\n" + std::string(lines);
}

TEST(Winapp2ReaderTest, ReadsEveryKindOfKey) {
  const Winapp2Database database = Read(
      "; comment\r\n[Tool *]\r\nSection=Games\r\nDetect=HKCU\\Software\\Tool\r\nDetectFile1=%ProgramFiles%\\Tool*\r\n"
      "DetectOS=6.1|\r\nWarning=Keep it.\r\nDefault=True\r\n"
      "FileKey1=%LocalAppData%\\Tool\\Cache|*.tmp;*.log|REMOVESELF\r\nFileKey2=%AppData%\\Tool\\|a.txt|\r\n"
      "FileKey3=%AppData%\\Tool\\Logs|*.log||RECURSE\r\n"
      "RegKey1=HKCU\\Software\\Tool\\MRU\r\nRegKey2=HKEY_LOCAL_MACHINE\\Software\\Tool|Last\r\n"
      "ExcludeKey1=FILE|%LocalAppData%\\Tool\\Cache\\|keep.log\r\nExcludeKey2=PATH|%AppData%\\Tool\\*\\|*.db\r\n"
      "ExcludeKey3=REG|HKCU\\Software\\Tool\\MRU\\Pinned\r\n");
  ASSERT_EQ(database.entries.size(), 1u);
  const Winapp2Entry& e = database.entries[0];
  EXPECT_EQ(e.name, "Tool");
  EXPECT_EQ(e.group, "Games");
  ASSERT_EQ(e.detectKeys.size(), 1u);
  EXPECT_EQ(e.detectKeys[0].root, kHkeyCurrentUser);
  EXPECT_EQ(e.detectFiles, std::vector<std::string>{"%ProgramFiles%\\Tool*"});
  EXPECT_EQ(e.osFrom, 601u);
  EXPECT_FALSE(e.osTo);
  EXPECT_EQ(e.warning, "Keep it.");
  ASSERT_EQ(e.fileKeys.size(), 3u);  // an empty flag (a trailing bar) means nothing
  EXPECT_EQ(e.fileKeys[0].folder, "%LocalAppData%\\Tool\\Cache");
  EXPECT_EQ(e.fileKeys[0].patterns, (std::vector<std::string>{"*.tmp", "*.log"}));
  EXPECT_TRUE(e.fileKeys[0].recurse && e.fileKeys[0].removeSelf);
  EXPECT_EQ(e.fileKeys[1].folder, "%AppData%\\Tool");
  EXPECT_FALSE(e.fileKeys[1].recurse);
  EXPECT_TRUE(e.fileKeys[2].recurse);
  ASSERT_EQ(e.regKeys.size(), 2u);
  EXPECT_EQ(e.regKeys[1].root, kHkeyLocalMachine);
  EXPECT_EQ(e.regKeys[1].value, "Last");
  ASSERT_EQ(e.excludes.size(), 3u);
  EXPECT_EQ(e.excludes[1].kind, Winapp2Exclude::Kind::kPath);
  EXPECT_EQ(e.excludes[1].folder, "%AppData%\\Tool\\*");
  EXPECT_EQ(e.excludes[2].key.subKey, "Software\\Tool\\MRU\\Pinned");
  ASSERT_EQ(database.notes.size(), 1u);
  EXPECT_NE(database.notes[0].find("unknown key \"Default\""), std::string::npos);
}

TEST(Winapp2ReaderTest, HostileEntriesAreRejectedWholeWithTheirReason) {
  const std::string longPath = "%AppData%\\" + std::string(33000, 'a');
  struct Case {
    std::string lines;
    std::string reason;  // empty: accepted
    bool unsafe;
  };
  const std::vector<Case> cases{
      {"FileKey1=C:\\|*.*|RECURSE\r\n", "", false},  // a drive path is the guard's to refuse
      {"FileKey1=%UserProfile%|*.*|RECURSE\r\n", "shared by many programs", true},
      {"FileKey1=%LocalAppData%\\*|*|REMOVESELF\r\n", "shared by many programs", true},
      {"FileKey1=%LocalAppData%\\*.*\\**|?*|RECURSE\r\n", "shared by many programs", true},
      {"FileKey1=%ProgramFiles%\\%ProgramFiles%\\%ProgramFiles%\\%ProgramFiles%\\%ProgramFiles%|a\r\n", "", false},
      {"FileKey1=%ProgramFiles%\\%ProgramFiles%\\%ProgramFiles%\\%ProgramFiles%\\%ProgramFiles%\\%CommonProgramFiles%|"
       "a\r\n",
       "more than 256 spellings", true},
      {"ExcludeKey1=FILE|%AppData%\\Tool\\a.ini|\r\nFileKey1=%AppData%\\Tool|*\r\n", "", false},
      {"FileKey1=%Temp%\\*|*|REMOVESELF\r\n", "", false},
      {"FileKey1=%AppData%\\Tool\\..\\..|*\r\n", "climbs", true},
      {"FileKey1=..\\..|*\r\n", "not a full path", true},
      {"FileKey1=Tool\\Cache|*\r\n", "not a full path", true},
      {"FileKey1=\\\\server\\share|*\r\n", "not a full path", true},
      {"FileKey1=%Nope%\\Cache|*\r\n", "unknown variable %Nope%", true},
      {"FileKey1=%AppData\\Cache|*\r\n", "unclosed", false},
      {"FileKey1=%AppData%\\Tool|..\\*.ini\r\n", "pattern names a folder", true},
      {"FileKey1=%AppData%\\Tool\r\n", "without a file pattern", false},
      {"FileKey1=%AppData%\\Tool|*|FOREVER\r\n", "unknown flag", false},
      {"FileKey1=" + longPath + "|*\r\n", "too long", false},
      {"FileKey1=%AppData%\\Tool|*\r\nthis line has no equals\r\n", "has no \"=\"", false},
      {"RegKey1=HKCU\r\n", "registry root", true},
      {"RegKey1=HKCU\\Software\r\n", "registry root", true},
      {"RegKey1=HKLM\\Software\\Microsoft\r\n", "every Microsoft program", true},
      {"RegKey1=HKU\\.DEFAULT\\Software\\Classes\r\n", "file types", true},
      {"RegKey1=HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs\r\n", "", false},
      {"RegKey1=HKCU\\Software\\Tool|LastPath\r\n", "", false},
      {"RegKey1=HKXX\\Software\\Tool\r\n", "unknown registry root", false},
      {"ExcludeKey1=DISK|%AppData%\r\nFileKey1=%AppData%\\Tool|*\r\n", "unknown kind", false},
      {"DetectOS=six\r\nFileKey1=%AppData%\\Tool|*\r\n", "DetectOS", false},
      {"Warning=nothing else\r\n", "nothing to clean", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines.substr(0, 80));
    const Winapp2Database database = Read(Entry("Hostile", c.lines));
    if (c.reason.empty()) {
      EXPECT_EQ(database.entries.size(), 1u);
      EXPECT_TRUE(database.rejected.empty()) << database.rejected[0].reason;
      continue;
    }
    ASSERT_EQ(database.rejected.size(), 1u);
    EXPECT_TRUE(database.entries.empty());
    EXPECT_NE(database.rejected[0].reason.find(c.reason), std::string::npos) << database.rejected[0].reason;
    EXPECT_EQ(database.rejected[0].unsafe, c.unsafe);
  }
}

TEST(Winapp2ReaderTest, NamesDuplicatesManyKeysAndLongPaths) {
  std::string many = Entry("Many", "");
  for (int i = 1; i <= 2000; ++i)
    many += "FileKey" + std::to_string(i) + "=%AppData%\\Tool\\" + std::to_string(i) + "|*\r\n";
  const std::string longFolder = "%AppData%\\" + std::string(10000, 'x');
  const Winapp2Database database =
      Read(many + Entry("Tool", "FileKey1=%AppData%\\A|*\r\n") + Entry("TOOL", "FileKey1=%AppData%\\B|*\r\n") +
           Entry("Long", "FileKey1=" + longFolder + "|*\r\n") + "[a=b *]\r\nFileKey1=%AppData%\\C|*\r\n" +
           "[Open\r\nFileKey1=%AppData%\\D|*\r\n");
  ASSERT_EQ(database.entries.size(), 3u);
  EXPECT_EQ(database.entries[0].fileKeys.size(), 2000u);
  EXPECT_EQ(database.entries[1].fileKeys[0].folder, "%AppData%\\A");
  EXPECT_EQ(database.entries[2].fileKeys[0].folder.size(), longFolder.size());
  ASSERT_EQ(database.rejected.size(), 3u);
  EXPECT_NE(database.rejected[0].reason.find("same name"), std::string::npos);
  EXPECT_NE(database.rejected[1].reason.find("\"=\""), std::string::npos);
  EXPECT_NE(database.rejected[2].reason.find("without \"]\""), std::string::npos);
}

TEST(Winapp2ReaderTest, DecodesBomsLineEndsAndAnsi) {
  const std::string body = Entry("Caf\xC3\xA9", "FileKey1=%AppData%\\Caf\xC3\xA9|*\r\n");
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("[Caf\xE9 *]\r\nFileKey1=%AppData%\\x|*\r\n")) {
    utf16 += c;
    utf16 += '\0';
  }
  std::string mixed = "[Mixed *]\nFileKey1=%AppData%\\a|*\r\rFileKey2=%AppData%\\b|*\r\nFileKey3=%AppData%\\c|*";
  const std::vector<std::pair<std::string, std::string>> cases{
      {"\xEF\xBB\xBF" + body, "Caf\xC3\xA9"},
      {Entry("Caf\xE9", "FileKey1=%AppData%\\x|*\r\n"), "Caf\xC3\xA9"},  // invalid UTF-8: read as ANSI
      {utf16, "Caf\xC3\xA9"},
      {mixed, "Mixed"},
  };
  for (const auto& [text, name] : cases) {
    const Winapp2Database database = Read(text);
    ASSERT_EQ(database.entries.size(), 1u) << name;
    EXPECT_EQ(database.entries[0].name, name);
  }
  EXPECT_EQ(Read(mixed).entries[0].fileKeys.size(), 3u);

  Winapp2Database huge;
  std::vector<std::string> taken;
  ReadWinapp2(std::string(kWinapp2MaxFileBytes + 1, '['), huge, taken);
  EXPECT_TRUE(huge.entries.empty() && huge.rejected.empty());
  ASSERT_EQ(huge.notes.size(), 1u);
}

TEST(Winapp2ReaderTest, WildcardsMatchNamesWithoutRegardToCase) {
  const std::string manyA(200, 'a');
  const std::vector<std::tuple<std::string_view, std::string_view, bool>> cases{
      {"*.log", "Debug.LOG", true},
      {"*.log", "debug.log.old", false},
      {"*.*", "README", true},
      {"Chrome*", "Chrome SxS", true},
      {"a?c", "abc", true},
      {"a?c", "ac", false},
      {"*cache*", "GPUCache", true},
      {"f01b*.automatic*", "f01b4d.automaticDestinations-ms", true},
      {"x", "xx", false},
      {"*a*a*a*a*a*a*b", manyA, false},
      {"\xC3\x9C"
       "berweisung.txt",
       "\xC3\xBC"
       "BERWEISUNG.TXT",
       true},  // "Ü" folds as Windows folds it
      {"?berweisung.txt",
       "\xC3\x9C"
       "berweisung.txt",
       true},  // "?" is one character
      {"??berweisung.txt",
       "\xC3\x9C"
       "berweisung.txt",
       false},
      {"*.txt",
       "\xC3\x9C"
       "berweisung.txt",
       true},
  };
  for (const auto& [pattern, name, expected] : cases)
    EXPECT_EQ(Winapp2Matches(pattern, name), expected) << pattern << " ~ " << name;
}

}  // namespace
}  // namespace cv
