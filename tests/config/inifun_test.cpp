// Inifun through the platform's file system: natively the emulated one, under
// Wine the real one. What the program relies on, and bad files.
#include "config/inifun.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "test_filesystem.h"

using namespace std::string_literals;

namespace {

class InifunTest : public ::testing::Test {
 protected:
  std::unique_ptr<cv::test::FileSystemFixture> fixture_ = cv::test::MakeFileSystemFixture();
  cv::Inifun ini_{fixture_->fs()};
  const std::string file_ = fixture_->Path("vanesd.dat");

  std::string Content(const std::string& path) {
    std::string bytes;
    if (fixture_->fs().ReadFile(path, bytes) != cv::kOk) return "<missing>";
    return bytes;
  }
  std::string Content() { return Content(file_); }
};

TEST_F(InifunTest, WritesCreateFileSectionAndKeyAndReadsIgnoreCase) {
  ini_.WriteIniValue(file_, "OPERA", "Images", "1");
  ini_.WriteIniValue(file_, "OPERA", "Cookies", "0");
  ini_.WriteIniValue(file_, "Options", "exit", "1");
  EXPECT_EQ(Content(), "[OPERA]\r\nImages=1\r\nCookies=0\r\n[Options]\r\nexit=1\r\n");
  EXPECT_EQ(ini_.ReadIniValue(file_, "Opera", "images"), "1");
  EXPECT_EQ(ini_.ReadIniValue(file_, "opera", "COOKIES"), "0");
  // A second write replaces in place, keeping the key's first spelling.
  ini_.WriteIniValue(file_, "opera", "IMAGES", "0");
  EXPECT_EQ(Content(), "[OPERA]\r\nImages=0\r\nCookies=0\r\n[Options]\r\nexit=1\r\n");
}

TEST_F(InifunTest, LongValuesAreStoredAs128AndReadAs127) {
  const std::string value(200, 'v');
  ini_.WriteIniValue(file_, "s", "k", value);
  EXPECT_EQ(Content(), "[s]\r\nk=" + value.substr(0, 128) + "\r\n");
  EXPECT_EQ(ini_.ReadIniValue(file_, "s", "k"), value.substr(0, 127));
}

TEST_F(InifunTest, ValuesAreCutAtNulAndLineBreaksAndTrimmedOnRead) {
  ini_.WriteIniValue(file_, "s", "nul", "ab\0cd"s);
  ini_.WriteIniValue(file_, "s", "inject", "x\r\n[Options]\r\nexit=1");
  ini_.WriteIniValue(file_, "s", "blanks", "   1   ");
  EXPECT_EQ(Content(), "[s]\r\nnul=ab\r\ninject=x\r\nblanks=   1   \r\n");
  EXPECT_EQ(ini_.ReadIniValue(file_, "s", "blanks"), "1");
  EXPECT_EQ(ini_.ReadIniValue(file_, "Options", "exit"), "");
  ASSERT_TRUE(fixture_->WriteFile(file_, "[s]\r\nq=\" quoted words \"\r\nt = \t spaced \t\r\n"));
  EXPECT_EQ(ini_.ReadIniValue(file_, "s", "q"), "quoted words");
  EXPECT_EQ(ini_.ReadIniValue(file_, "s", "t"), "spaced");
}

TEST_F(InifunTest, SectionsReadWholeInFileOrder) {
  ASSERT_TRUE(fixture_->WriteFile(file_,
                                  "[regtree]\r\n1=-2147483647,Software\\A\r\nb = x , y \r\n;off=1\r\n"
                                  "\r\nc=&H80000001,Software\\B\r\n[empty]\r\n[next]\r\nd=1\r\n"));
  const std::vector<std::string> expected{"1=-2147483647,Software\\A", "b=x , y", "c=&H80000001,Software\\B"};
  EXPECT_EQ(ini_.ReadIniSection("REGTREE", file_), expected);
  EXPECT_TRUE(ini_.ReadIniSection("empty", file_).empty());
  EXPECT_TRUE(ini_.ReadIniSection("missing", file_).empty());
}

TEST_F(InifunTest, MissingFileReadsEmptyAndIsNotCreatedByReadsOrDeletes) {
  EXPECT_EQ(ini_.ReadIniValue(file_, "s", "k"), "");
  EXPECT_TRUE(ini_.ReadIniSection("s", file_).empty());
  EXPECT_FALSE(ini_.HasIniSection(file_, "s"));
  ini_.DeleteIniSection(file_, "s");
  EXPECT_EQ(Content(), "<missing>");
  // A folder where the file should be behaves as a missing file and stays.
  ASSERT_TRUE(fixture_->MakeFolder(fixture_->Path("folder.ini")));
  ini_.WriteIniValue(fixture_->Path("folder.ini"), "s", "k", "v");
  EXPECT_EQ(ini_.ReadIniValue(fixture_->Path("folder.ini"), "s", "k"), "");
}

TEST_F(InifunTest, DuplicatesFirstWinsAndADeleteRemovesThemAll) {
  ASSERT_TRUE(fixture_->WriteFile(file_, "[a]\r\nk=1\r\nk=2\r\n[b]\r\n[A]\r\nk=3\r\nj=4\r\n"));
  EXPECT_EQ(ini_.ReadIniValue(file_, "a", "k"), "1");
  EXPECT_EQ(ini_.ReadIniValue(file_, "a", "j"), "");
  EXPECT_EQ(ini_.ReadIniSection("a", file_), (std::vector<std::string>{"k=1", "k=2"}));
  ini_.WriteIniValue(file_, "A", "K", "9");
  EXPECT_EQ(Content(), "[a]\r\nk=9\r\nk=2\r\n[b]\r\n[A]\r\nk=3\r\nj=4\r\n");
  // Once the first went, the profile functions would read the second.
  ini_.DeleteIniSection(file_, "a");
  EXPECT_EQ(Content(), "[b]\r\n");
  EXPECT_FALSE(ini_.HasIniSection(file_, "A"));
}

TEST_F(InifunTest, WriteKeepsEveryOtherLineByteForByte) {
  const std::string before =
      "; settings\n\n  [ EXPLORER ]  ; trailing\r\n# not a comment\r\n  cookies = 0 \r\nodd line\n"
      "\x01\x02=\xff\r\n\r\n[Options]\rexit=0";
  ASSERT_TRUE(fixture_->WriteFile(file_, before));
  ini_.WriteIniValue(file_, "explorer", "cookies", "1");
  ini_.WriteIniValue(file_, "Explorer", "cache", "1");
  ini_.WriteIniValue(file_, "options", "exit", "1");
  EXPECT_EQ(Content(),
            "; settings\n\n  [ EXPLORER ]  ; trailing\r\n# not a comment\r\ncookies=1\r\nodd line\n"
            "\x01\x02=\xff\r\ncache=1\r\n\r\n[Options]\rexit=1");
  EXPECT_EQ(ini_.ReadIniValue(file_, "EXPLORER", "odd line"), "");
}

TEST_F(InifunTest, DeleteIniSectionRemovesOneSectionAndKeepsTheRest) {
  ASSERT_TRUE(fixture_->WriteFile(file_, "; keep\r\n[a]\r\nk=1\r\n[Prefs]\r\nurl=x\r\nh=2\r\n\r\n[b]\r\nj=2\r\n"));
  EXPECT_TRUE(ini_.HasIniSection(file_, "prefs"));
  ini_.DeleteIniSection(file_, "PREFS");
  EXPECT_EQ(Content(), "; keep\r\n[a]\r\nk=1\r\n[b]\r\nj=2\r\n");
  EXPECT_FALSE(ini_.HasIniSection(file_, "prefs"));
  ini_.DeleteIniSection(file_, "prefs");  // nothing left: the file stays as it is
  EXPECT_EQ(Content(), "; keep\r\n[a]\r\nk=1\r\n[b]\r\nj=2\r\n");
}

TEST_F(InifunTest, WriteThatCannotBeMadeKeepsTheOldFile) {
  const std::string before = "[Options]\r\nexit=0\r\n";
  ASSERT_TRUE(fixture_->WriteFile(file_, before));
  ASSERT_TRUE(fixture_->SetReadOnly(file_));
  ini_.WriteIniValue(file_, "Options", "exit", "1");
  ini_.WriteIniValue(file_, "New", "k", "1");
  ini_.DeleteIniSection(file_, "Options");
  EXPECT_EQ(Content(), before);
  EXPECT_EQ(ini_.ReadIniValue(file_, "options", "exit"), "0");

  // A file held open by another program is neither read nor replaced.
  const std::string other = fixture_->Path("locked.ini");
  ASSERT_TRUE(fixture_->WriteFile(other, before));
  {
    auto lock = fixture_->LockFile(other);
    ASSERT_TRUE(lock);
    ini_.WriteIniValue(other, "Options", "exit", "1");
    EXPECT_EQ(ini_.ReadIniValue(other, "Options", "exit"), "");
  }
  EXPECT_EQ(Content(other), before);
}

TEST_F(InifunTest, BadFilesNeverCrashAndKeepTheirBytes) {
  std::string garbage;
  for (int i = 0; i < 65536; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
  const std::string longLine(100000, 'x');
  const std::string before = garbage + "\r\n" + longLine + "\r\n[a]\r\nk=v\0w\r\n"s + "long=" + longLine + "\r\n";
  ASSERT_TRUE(fixture_->WriteFile(file_, before));
  EXPECT_EQ(ini_.ReadIniValue(file_, "a", "k"), "v");
  EXPECT_EQ(ini_.ReadIniValue(file_, "a", "long"), longLine.substr(0, 127));
  ini_.WriteIniValue(file_, "b", "k", "1");
  EXPECT_EQ(Content(), before + "[b]\r\nk=1\r\n");

  const std::string bom = fixture_->Path("bom.ini");
  ASSERT_TRUE(fixture_->WriteFile(bom, "\xEF\xBB\xBF[a]\r\nk=v\r\n"));
  EXPECT_EQ(ini_.ReadIniValue(bom, "a", "k"), "v");
  ini_.WriteIniValue(bom, "a", "k", "w");
  EXPECT_EQ(Content(bom), "\xEF\xBB\xBF[a]\r\nk=w\r\n");

  const std::string empty = fixture_->Path("empty.ini");
  ASSERT_TRUE(fixture_->WriteFile(empty, ""));
  EXPECT_TRUE(ini_.ReadIniSection("a", empty).empty());
  ini_.WriteIniValue(empty, "a", "k", "1");
  EXPECT_EQ(Content(empty), "[a]\r\nk=1\r\n");
}

TEST_F(InifunTest, HugeFilesAndSections) {
  // 10 MB of short lines with the wanted key at the very end.
  std::string big;
  big.reserve(10 * 1024 * 1024 + 64);
  big += "[filler]\r\n";
  for (int i = 0; big.size() < 10 * 1024 * 1024; ++i) big += "key" + std::to_string(i) + "=value\r\n";
  big += "[end]\r\nlast=1\r\n";
  ASSERT_TRUE(fixture_->WriteFile(file_, big));
  EXPECT_EQ(ini_.ReadIniValue(file_, "END", "last"), "1");
  ini_.WriteIniValue(file_, "end", "last", "2");
  EXPECT_EQ(Content().size(), big.size());
  EXPECT_EQ(ini_.ReadIniValue(file_, "end", "last"), "2");

  // Past 32,767 characters the section read stops; the entry the buffer cut is dropped.
  const std::vector<std::string> entries = ini_.ReadIniSection("filler", file_);
  std::size_t total = 0;
  for (const auto& e : entries) total += e.size() + 1;
  EXPECT_LT(total, cv::Inifun::kSectionBufferChars - 1);
  EXPECT_GT(total, cv::Inifun::kSectionBufferChars - 20);
  EXPECT_EQ(entries.front(), "key0=value");
  EXPECT_EQ(entries.back(), "key" + std::to_string(entries.size() - 1) + "=value");

  // Beyond the size limit a file reads as unreadable and is never rewritten.
  big.resize(cv::Inifun::kMaxFileBytes + 1, ';');
  ASSERT_TRUE(fixture_->WriteFile(file_, big));
  EXPECT_EQ(ini_.ReadStatus(file_), cv::kErrFileTooLarge);
  EXPECT_EQ(ini_.ReadIniValue(file_, "filler", "key0"), "");
  ini_.WriteIniValue(file_, "filler", "key0", "x");
  ini_.DeleteIniSection(file_, "filler");
  EXPECT_EQ(Content().size(), big.size());
}

// ANSI bytes and UTF-8 both read as the same text (Windows-1252 here).
TEST_F(InifunTest, TextsAreDecodedOnceWhateverTheirEncoding) {
  ASSERT_TRUE(fixture_->WriteFile(file_, "[a]\r\nansi=C:\\Users\\J\xF6rg\r\nutf8=C:\\Users\\J\xC3\xB6rg\r\n"));
  EXPECT_EQ(ini_.ReadIniValue(file_, "a", "ansi"), "C:\\Users\\J\xC3\xB6rg");
  EXPECT_EQ(ini_.ReadIniValue(file_, "a", "utf8"), "C:\\Users\\J\xC3\xB6rg");
  EXPECT_EQ(ini_.ReadIniSection("a", file_),
            (std::vector<std::string>{"ansi=C:\\Users\\J\xC3\xB6rg", "utf8=C:\\Users\\J\xC3\xB6rg"}));
}

TEST_F(InifunTest, ManyReadsOfASelectionFile) {
  for (int i = 0; i < 140; ++i)
    ini_.WriteIniValue(file_, "S" + std::to_string(i % 16), "k" + std::to_string(i), i % 2 ? "1" : "0");
  for (int i = 0; i < 140; ++i)
    EXPECT_EQ(ini_.ReadIniValue(file_, "s" + std::to_string(i % 16), "K" + std::to_string(i)), i % 2 ? "1" : "0");
}

}  // namespace
