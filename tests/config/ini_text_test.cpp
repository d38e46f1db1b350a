// The INI text functions on their own: parsing, the profile functions' read
// rules, and edits that keep every untouched byte.
#include "config/ini_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;
namespace ini = cv::ini;

namespace {

std::string Read(std::string_view text, std::string_view section, std::string_view key) {
  return ini::ReadString(text, section, key, 128);
}

// Section entries joined by "|" for readable expectations.
std::string Entries(std::string_view text, std::string_view section, std::size_t buffer = 32767) {
  std::string raw = ini::ReadSection(text, section, buffer);
  for (char& c : raw)
    if (c == '\0') c = '|';
  return raw;
}

std::string Write(std::string_view text, std::string_view section, std::string_view key, std::string_view value) {
  return ini::WriteString(text, section, key, value).value_or("<unchanged>");
}

}  // namespace

TEST(IniText, NamesMatchWithoutRegardToCase) {
  const std::string text = "[OPERA]\r\nImages=1\r\n";
  EXPECT_EQ(Read(text, "Opera", "images"), "1");
  EXPECT_EQ(Read(text, "  opera ", " IMAGES "), "1");
  EXPECT_EQ(Read(text, "Opera", "Image"), "");
  EXPECT_EQ(Read(text, "Oper", "images"), "");
}

TEST(IniText, LineEndsOfEveryKindAndNoFinalLineEnd) {
  for (const std::string& eol : {"\r\n"s, "\n"s, "\r"s}) {
    const std::string text = "[a]" + eol + "k1=v1" + eol + eol + "[b]" + eol + "k2=v2";
    EXPECT_EQ(Read(text, "a", "k1"), "v1") << eol.size();
    EXPECT_EQ(Read(text, "b", "k2"), "v2");
    EXPECT_EQ(Entries(text, "a"), "k1=v1||");
  }
}

TEST(IniText, BlanksAroundNamesValuesAndHeadersDoNotCount) {
  const std::string text = "  [ Sp ace ]  \r\n\t key \t=  two words \t\r\n";
  EXPECT_EQ(Read(text, "sp ace", "KEY"), "two words");
  EXPECT_EQ(Entries(text, "Sp ace"), "key=two words||");
}

TEST(IniText, FirstSectionAndFirstKeyWin) {
  const std::string text = "[a]\r\nk=1\r\nk=2\r\n[b]\r\nx=1\r\n[A]\r\nk=3\r\nonly=4\r\n";
  EXPECT_EQ(Read(text, "a", "k"), "1");
  EXPECT_EQ(Read(text, "a", "only"), "");
  EXPECT_EQ(Entries(text, "A"), "k=1|k=2||");
}

TEST(IniText, SectionEntriesAsTheProfileFunctionGivesThem) {
  const std::string text =
      "top=ignored\r\n[c]\r\n;comment=1\r\n  key  =  val  \r\nnoeq\r\n=val5\r\n\r\nq=\"quoted\"\r\n#h=1\r\n"
      "[noclose\r\n[empty]\r\n[last]\r\nz=9";
  EXPECT_EQ(Entries(text, "c"), "key=val|noeq|=val5|q=\"quoted\"|#h=1|[noclose||");
  EXPECT_EQ(Entries(text, "empty"), "");
  EXPECT_EQ(Entries(text, "missing"), "");
  EXPECT_EQ(Entries(text, "last"), "z=9||");
  // Lines before the first section belong to no section.
  EXPECT_EQ(Read(text, "", "top"), "");
}

TEST(IniText, ValueReadRules) {
  const std::string text =
      "[s]\r\nq=\"quoted\"\r\nsq='x'\r\nlone=\"\r\nhalf=\"abc\r\nnoeq\r\n;c=1\r\nhdr=[x]\r\n"
      "nul=ab\0cd\r\n"s;
  EXPECT_EQ(Read(text, "s", "q"), "quoted");
  EXPECT_EQ(Read(text, "s", "sq"), "x");
  EXPECT_EQ(Read(text, "s", "lone"), "\"");
  EXPECT_EQ(Read(text, "s", "half"), "\"abc");
  EXPECT_EQ(Read(text, "s", "noeq"), "");
  EXPECT_EQ(Read(text, "s", ";c"), "");  // comments are not keys
  EXPECT_EQ(Read(text, "s", "hdr"), "[x]");
  EXPECT_EQ(Read(text, "s", "nul"), "ab");
  EXPECT_EQ(Read(text, "s", ""), "");
}

TEST(IniText, ValueReadStopsAtTheBuffer) {
  const std::string value(200, 'v');
  const std::string text = "[s]\r\nk=" + value + "\r\n";
  EXPECT_EQ(ini::ReadString(text, "s", "k", 128), value.substr(0, 127));
  EXPECT_EQ(ini::ReadString(text, "s", "k", 1), "");
}

TEST(IniText, SectionBufferOverflowCutsTheLastEntryAndEndsWithTwoNuls) {
  const std::string text = "[section1]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n";
  // The documented example: 24 characters hold 22 of the entries' text.
  EXPECT_EQ(ini::ReadSection(text, "section1", 24), "name1=val1\0name2=\0name\0\0"s);
  // Exactly fitting: entries (35) plus the final NUL.
  EXPECT_EQ(ini::ReadSection(text, "section1", 36), "name1=val1\0name2=\0name3\0name4=val4\0\0"s);
  EXPECT_EQ(ini::ReadSection(text, "section1", 35), "name1=val1\0name2=\0name3\0name4=val\0\0"s);
}

TEST(IniText, WriteReplacesInPlaceKeepingSpellingAndLineEnd) {
  const std::string text = "; top\r\n\r\n[a]\n  Key = old  \n\n;c\n[b]\r\nx=1";
  EXPECT_EQ(Write(text, "A", "key", "new"), "; top\r\n\r\n[a]\nKey=new\n\n;c\n[b]\r\nx=1");
  EXPECT_EQ(Write("[a]\r\nk=v\r\n", "a", "k", "v"), "<unchanged>");
}

TEST(IniText, WriteAddsKeyAfterLastFilledLineOfItsSection) {
  EXPECT_EQ(Write("[a]\r\nk=1\r\n\r\n[b]\r\n", "a", "j", "2"), "[a]\r\nk=1\r\nj=2\r\n\r\n[b]\r\n");
  EXPECT_EQ(Write("[a]\r\n\r\n[b]\r\n", "a", "j", "2"), "[a]\r\nj=2\r\n\r\n[b]\r\n");
  EXPECT_EQ(Write("[a]\r\nk=1\r\n;note\r\n", "a", "j", "2"), "[a]\r\nk=1\r\n;note\r\nj=2\r\n");
  EXPECT_EQ(Write("[a]\r\nk=1", "a", "j", "2"), "[a]\r\nk=1\r\nj=2\r\n");
  EXPECT_EQ(Write("[a]", "a", "j", "2"), "[a]\r\nj=2\r\n");
  // The second [a] is never seen, so the key goes to the first.
  EXPECT_EQ(Write("[a]\n[A]\nj=1\n", "a", "j", "2"), "[a]\nj=2\r\n[A]\nj=1\n");
}

TEST(IniText, WriteCreatesSectionAtTheEnd) {
  EXPECT_EQ(Write("", "Options", "exit", "1"), "[Options]\r\nexit=1\r\n");
  EXPECT_EQ(Write("[a]\nk=1", "b", "j", ""), "[a]\nk=1\r\n[b]\r\nj=\r\n");
  EXPECT_EQ(Write("[a]\r\n", " b ", " j ", "x"), "[a]\r\n[b]\r\nj=x\r\n");
}

TEST(IniText, WriteRefusesNamesThatWouldBreakTheFile) {
  const std::string text = "[a]\r\nk=1\r\n";
  for (const std::string& key : {""s, "  "s, "a=b"s, ";c"s, "[x]"s, "a\r\nb"s, "a\0b"s})
    EXPECT_EQ(Write(text, "a", key, "v"), "<unchanged>") << key;
  for (const std::string& section : {""s, " "s, "a\nb"s, "a\0b"s})
    EXPECT_EQ(Write(text, section, "k", "v"), "<unchanged>");
}

TEST(IniText, DeleteSectionRemovesTheFirstOnlyWithItsLines) {
  const std::string text = "x=0\r\n[a]\r\nk=1\r\n;c\r\n\r\n[b]\r\nx=1\r\n[A]\r\nk=2\r\n";
  const auto once = ini::DeleteSection(text, "A");
  ASSERT_TRUE(once);
  EXPECT_EQ(*once, "x=0\r\n[b]\r\nx=1\r\n[A]\r\nk=2\r\n");
  EXPECT_EQ(Read(*once, "a", "k"), "2");
  EXPECT_EQ(ini::DeleteSection("[a]\nk=1", "a").value_or("?"), "");
  EXPECT_FALSE(ini::DeleteSection(text, "zz"));
  EXPECT_FALSE(ini::DeleteSection(text, ""));
  EXPECT_TRUE(ini::HasSection(text, "B"));
  EXPECT_FALSE(ini::HasSection(text, " B "));  // section names are taken as given
  EXPECT_FALSE(ini::HasSection(text, "x"));
}

TEST(IniText, Utf8ByteOrderMarkIsSkippedAndKept) {
  const auto profile = ini::DecodeProfile("\xEF\xBB\xBF[a]\r\nk=v\r\n");
  EXPECT_EQ(profile.encoding, ini::Encoding::kUtf8Bom);
  EXPECT_EQ(Read(profile.text, "a", "k"), "v");
  auto changed = profile;
  changed.text = Write(profile.text, "a", "k", "w");
  EXPECT_EQ(ini::EncodeProfile(changed), "\xEF\xBB\xBF[a]\r\nk=w\r\n");
}

TEST(IniText, Utf16FilesAreReadAndWrittenAsUtf16) {
  // "[a]\r\nk=\u00e9\U0001F600" in UTF-16 LE, plus a lone surrogate and an odd last byte.
  const std::string bytes = "\xFF\xFE[\0a\0]\0\r\0\n\0k\0=\0\xE9\0\x3D\xD8\x00\xDE\x00\xD8z"s;
  auto profile = ini::DecodeProfile(bytes);
  EXPECT_EQ(profile.encoding, ini::Encoding::kUtf16Le);
  EXPECT_EQ(Read(profile.text, "a", "k"), "\xC3\xA9\xF0\x9F\x98\x80\xED\xA0\x80");
  EXPECT_EQ(ini::EncodeProfile(profile), bytes);  // unchanged text comes back byte for byte
  profile.text = Write(profile.text, "a", "j", "x");
  const auto reread = ini::DecodeProfile(ini::EncodeProfile(profile));
  EXPECT_EQ(Read(reread.text, "a", "j"), "x");
  EXPECT_EQ(Read(reread.text, "a", "k"), Read(profile.text, "a", "k"));
}

TEST(IniText, HostileTextNeverBreaksTheRules) {
  std::string garbage;
  for (int i = 0; i < 100000; ++i) garbage += static_cast<char>((i * 7919 + 13) % 256);
  const std::string text = garbage + "\r\n[a]\r\nk=1\r\n" + std::string(100000, 'x') + "\r\n";
  EXPECT_EQ(Read(text, "a", "k"), "1");
  const auto written = ini::WriteString(text, "a", "k", "2");
  ASSERT_TRUE(written);
  EXPECT_EQ(written->size(), text.size());
  EXPECT_EQ(written->substr(0, garbage.size()), garbage);
  EXPECT_EQ(Entries(text, "a").substr(0, 4), "k=1|");
  // Names and values end at a NUL, as the C strings of the profile functions do.
  EXPECT_EQ(Entries("[a\0x]\r\nk=v\0w\r\nj\0i=1\r\n"s, "a"), "k=v|j=1||");
}
