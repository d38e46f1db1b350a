// ".reg" text import and export on the emulated registry.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/emulated/emulated_registry.h"
#include "reg_fixture_text.h"

namespace cv::test {
namespace {

using emulated::EmulatedRegistry;

const std::string kV5 = "Windows Registry Editor Version 5.00\r\n\r\n";

// ASCII and the few non-ASCII characters used here, as UTF-16LE with BOM.
std::string ToUtf16File(const std::u16string& text) {
  std::string bytes = "\xff\xfe";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

TEST(RegText, TheSharedFixtureImports) {
  EmulatedRegistry registry;
  const auto result = registry.LoadRegText(FixtureRegText("Software\\Test"));
  EXPECT_EQ(result.status, kOk);
  EXPECT_EQ(result.skipped, 0u);
  ExpectFixtureImported(registry, "Software\\Test");
}

TEST(RegText, Version5StringTypesAreUtf16AndNonAsciiNamesSurvive) {
  EmulatedRegistry registry;
  // "é" as UTF-16 (e9 00) in hex(2), and a key name in UTF-8.
  const auto result = registry.LoadRegText(kV5 +
                                           "[HKEY_CURRENT_USER\\Café\\日本]\r\n"
                                           "\"Chemin\"=hex(2):43,00,e9,00,00,00\r\n"
                                           "\"Sz\"=hex(1):61,00,62,00\r\n"
                                           "\"Odd\"=hex(2):43,00,e9\r\n"
                                           "\"Other\"=hex(5):01,02\r\n"
                                           "\"名前\"=\"値 é\"\r\n");
  EXPECT_EQ(result.skipped, 1u);  // the UTF-16 text with an odd byte count
  EXPECT_EQ(result.firstSkippedLine, 6u);
  ScopedRegKey key(registry);
  ASSERT_EQ(registry.OpenKey(kHkeyCurrentUser, "café\\日本", kKeyRead, key.out()), kOk);
  ExpectValue(registry, key.get(), "Chemin", kRegExpandSz, "Cé\0"s);
  ExpectValue(registry, key.get(), "Sz", kRegSz, "ab");  // no terminator stored, none invented
  ExpectValue(registry, key.get(), "Other", 5, "\1\2"s);
  ExpectValue(registry, key.get(), "名前", kRegSz, "値 é\0"s);
}

TEST(RegText, Regedit4IsAnsiThroughout) {
  EmulatedRegistry registry;
  // Windows-1252 bytes: "é" is e9 in the key name and in hex(2) data.
  const auto result = registry.LoadRegText(
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Caf\xe9]\r\n\"Path\"=hex(2):43,3a,5c,e9,00\r\n\"Euro\"=\"\x80\"\r\n");
  EXPECT_EQ(result.skipped, 0u);
  ScopedRegKey key(registry);
  ASSERT_EQ(registry.OpenKey(kHkeyCurrentUser, "Café", kKeyRead, key.out()), kOk);
  ExpectValue(registry, key.get(), "Path", kRegExpandSz, "C:\\é\0"s);
  ExpectValue(registry, key.get(), "Euro", kRegSz, "€\0"s);
}

TEST(RegText, Utf16AndUtf8ByteOrderMarksAreRead) {
  const std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Caf\u00e9]\r\n\"V\"=\"\u00e9\u65e5\"\r\n";
  EmulatedRegistry fromUtf16;
  EXPECT_EQ(fromUtf16.LoadRegText(ToUtf16File(text)).applied, 2u);
  EmulatedRegistry fromUtf8;
  EXPECT_EQ(fromUtf8.LoadRegText("\xEF\xBB\xBF" + kV5 + "[HKEY_CURRENT_USER\\Café]\r\n\"V\"=\"é日\"\r\n").applied, 2u);
  for (EmulatedRegistry* registry : {&fromUtf16, &fromUtf8}) {
    ScopedRegKey key(*registry);
    ASSERT_EQ(registry->OpenKey(kHkeyCurrentUser, "Café", kKeyRead, key.out()), kOk);
    ExpectValue(*registry, key.get(), "V", kRegSz, "é日\0"s);
  }
}

// Builds a registry holding every kind of value the export must carry.
void FillForExport(EmulatedRegistry& registry) {
  ScopedRegKey key(registry);
  ASSERT_EQ(registry.CreateKey(kHkeyCurrentUser, "Software\\Export \"quoted\" [x]", key.out()), kOk);
  std::string blob;
  for (int i = 0; i < 1000; ++i) blob += static_cast<char>(i);
  const std::pair<std::string, RegValue> values[] = {
      {"", {kRegSz, "default\0"s}},
      {"path\\with \"quotes\"", {kRegSz, "C:\\Temp\\\"x\"\0"s}},
      {"no terminator", {kRegSz, "abc"}},
      {"inner nul", {kRegSz, "a\0b\0"s}},
      {"line break", {kRegSz, "one\r\ntwo\0"s}},
      {"unicode é", {kRegSz, "日本語 😀\0"s}},
      {"dword", {kRegDword, "\x2a\0\0\0"s}},
      {"short dword", {kRegDword, "\x2a"s}},
      {"expand", {kRegExpandSz, "%TEMP%\\é\0"s}},
      {"multi", {kRegMultiSz, "a\0b\0\0"s}},
      {"qword", {kRegQword, "\1\2\3\4\5\6\7\x8"s}},
      {"blob", {kRegBinary, blob}},
      {"empty blob", {kRegBinary, ""}},
      {"none", {kRegNone, ""}},
      {"odd type", {0x1234, "\xff"s}},
  };
  for (const auto& [name, value] : values) ASSERT_EQ(registry.SetValue(key.get(), name, value.type, value.data), kOk);
  ScopedRegKey empty(registry);
  ASSERT_EQ(registry.CreateKey(kHkeyCurrentUser, "Software\\Export \"quoted\" [x]\\Empty", empty.out()), kOk);
  ASSERT_EQ(registry.SetValue(kHkeyLocalMachine, "at root", kRegSz, "r\0"s), kOk);
}

TEST(RegText, ExportReadsBackToTheSameRegistry) {
  EmulatedRegistry original;
  FillForExport(original);
  const std::string text = original.ExportRegText();
  EXPECT_TRUE(text.starts_with("Windows Registry Editor Version 5.00\r\n\r\n"));
  // The forms regedit itself writes.
  EXPECT_NE(text.find("\"dword\"=dword:0000002a\r\n"), std::string::npos);
  EXPECT_NE(text.find("@=\"default\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"path\\\\with \\\"quotes\\\"\"=\"C:\\\\Temp\\\\\\\"x\\\"\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"odd type\"=hex(1234):ff\r\n"), std::string::npos);
  EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE]\r\n\"at root\"=\"r\"\r\n"), std::string::npos);

  EmulatedRegistry copy;
  const auto result = copy.LoadRegText(text);
  EXPECT_EQ(result.status, kOk);
  EXPECT_EQ(result.skipped, 0u) << "first bad line " << result.firstSkippedLine << "\n" << text;
  EXPECT_EQ(copy.ExportRegText(), text);

  ScopedRegKey a(original), b(copy);
  ASSERT_EQ(original.OpenKey(kHkeyCurrentUser, "Software\\Export \"quoted\" [x]", kKeyRead, a.out()), kOk);
  ASSERT_EQ(copy.OpenKey(kHkeyCurrentUser, "Software\\Export \"quoted\" [x]", kKeyRead, b.out()), kOk);
  std::string nameA, nameB;
  RegValue valueA, valueB;
  std::uint32_t i = 0;
  for (; original.EnumValue(a.get(), i, nameA, valueA) == kOk; ++i) {
    ASSERT_EQ(copy.EnumValue(b.get(), i, nameB, valueB), kOk);
    EXPECT_EQ(nameA, nameB);
    EXPECT_EQ(valueA.type, valueB.type) << nameA;
    EXPECT_EQ(valueA.data, valueB.data) << nameA;
  }
  EXPECT_EQ(i, 15u);
}

TEST(RegText, TextThatIsNotRegTextChangesNothing) {
  for (const std::string& text :
       {""s, "\r\n\r\n"s, "[HKEY_CURRENT_USER\\X]\r\n\"a\"=\"b\"\r\n"s,
        "Windows Registry Editor Version 4.00\r\n[HKEY_CURRENT_USER\\X]\r\n"s, "\xff\xfe"s, "\xff\xfe\x52"s}) {
    EmulatedRegistry registry;
    EXPECT_EQ(registry.LoadRegText(text).status, kErrInvalidParameter);
    EXPECT_EQ(registry.ExportRegText(), kV5);
  }
}

TEST(RegText, BadLinesAreSkippedCountedAndTheRestApplied) {
  EmulatedRegistry registry;
  const std::string hugeLine(1 << 20, 'Z');
  const auto result = registry.LoadRegText(kV5 +
                                           "\"orphan\"=\"before any key\"\r\n"  // 3
                                           "[HKEY_CURRENT_USER\\Good]\r\n"      // 4
                                           "\"unterminated\"=\"abc\r\n"         // 5
                                           "\"name\r\n"                         // 6
                                           "\"nodata\"=\r\n"                    // 7
                                           "\"badhex\"=hex:zz,01\r\n"           // 8
                                           "\"longbyte\"=hex:123\r\n"           // 9
                                           "\"dword9\"=dword:123456789\r\n"     // 10
                                           "\"dwordx\"=dword:xyz\r\n"           // 11
                                           "\"badtype\"=hex(zz):00\r\n"         // 12
                                           "\"commas\"=hex:01,,02\r\n" +        // 13
                                           hugeLine +
                                           "\r\n" +                              // 14
                                           "\"ok\"=\"fine\"\r\n"                 // 15
                                           "[HKEY_NOWHERE\\Key]\r\n"             // 16
                                           "\"lost\"=\"goes nowhere\"\r\n"       // 17
                                           "[HKEY_CURRENT_USER\\Unclosed\r\n"    // 18
                                           "\"lost2\"=\"goes nowhere\"\r\n"      // 19
                                           "[-HKEY_CURRENT_USER]\r\n"            // 20
                                           "[HKEY_CURRENT_USER\\\\Leading]\r\n"  // 21
                                           "[HKEY_CURRENT_USER\\Good]\r\n"       // 22
                                           "\"tail\"=hex:01,02,\\\r\n");         // 23, continued at the end
  EXPECT_EQ(result.status, kOk);
  EXPECT_EQ(result.firstSkippedLine, 3u);
  EXPECT_EQ(result.skipped, 17u);
  EXPECT_EQ(result.applied, 4u);
  ScopedRegKey key(registry);
  ASSERT_EQ(registry.OpenKey(kHkeyCurrentUser, "Good", kKeyRead, key.out()), kOk);
  ExpectValue(registry, key.get(), "ok", kRegSz, "fine\0"s);
  ExpectValue(registry, key.get(), "tail", kRegBinary, "\1\2"s);
  std::string name;
  RegValue value;
  EXPECT_EQ(registry.EnumValue(key.get(), 2, name, value), kErrNoMoreItems);
  // Nothing but the key "Good" came into being.
  EXPECT_EQ(registry.EnumKey(kHkeyCurrentUser, 1, name), kErrNoMoreItems);
}

TEST(RegText, RandomAndMutatedInputNeverBreaksTheImporter) {
  std::mt19937 random(20240601);
  EmulatedRegistry original;
  FillForExport(original);
  const std::string valid = original.ExportRegText();
  for (int round = 0; round < 300; ++round) {
    std::string text = valid;
    const int edits = 1 + static_cast<int>(random() % 20);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % text.size();
      switch (random() % 3) {
        case 0:
          text[at] = static_cast<char>(random());
          break;
        case 1:
          text.erase(at, random() % 40);
          break;
        default:
          text.insert(at, std::string(random() % 8, "\\\"[]-=,:;@\r\n"[random() % 12]));
          break;
      }
    }
    EmulatedRegistry registry;
    const auto result = registry.LoadRegText(text);
    // Whatever was imported exports and reads back again.
    if (result.status == kOk) {
      EmulatedRegistry again;
      EXPECT_EQ(again.LoadRegText(registry.ExportRegText()).skipped, 0u);
    }
  }
  for (int round = 0; round < 100; ++round) {
    std::string noise(random() % 4000, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    EmulatedRegistry registry;
    registry.LoadRegText(kV5 + noise);
    registry.LoadRegText("\xff\xfe" + noise);
  }
}

TEST(RegText, FilesAreReadWholeAndAMissingFileIsReported) {
  const auto path = std::filesystem::temp_directory_path() / ("reg_text_" + std::to_string(::getpid()) + ".reg");
  {
    std::ofstream out(path, std::ios::binary);
    out << ToUtf16File(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_USERS\\S-1]\r\n\"v\"=dword:00000001\r\n");
  }
  EmulatedRegistry registry;
  EXPECT_EQ(registry.LoadRegFile(path.string()).applied, 2u);
  std::filesystem::remove(path);
  EXPECT_EQ(registry.LoadRegFile(path.string()).status, kErrFileNotFound);
  ScopedRegKey key(registry);
  ASSERT_EQ(registry.OpenKey(kHkeyUsers, "S-1", kKeyRead, key.out()), kOk);
  ExpectValue(registry, key.get(), "v", kRegDword, "\1\0\0\0"s);
}

}  // namespace
}  // namespace cv::test
