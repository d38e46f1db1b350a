#pragma once
// One ".reg" fixture for both worlds: the native tests load it into the
// emulated registry, the Windows tests import it with regedit and with our own
// importer into the real one, and both check the same expectations.
#include <gtest/gtest.h>

#include <string>

#include "platform/registry.h"

namespace cv::test {

using namespace std::string_literals;

// A REGEDIT4 file whose keys lie below HKEY_CURRENT_USER\<base>.
inline std::string FixtureRegText(const std::string& base) {
  const std::string key = "[HKEY_CURRENT_USER\\" + base + "\\Fixture";
  return "REGEDIT4\r\n"
         "\r\n"
         "; written by hand, as users and installers do\r\n" +
         key + "]\r\n" +
         "@=\"default text\"\r\n"
         "\"Plain\"=\"C:\\\\Program Files\\\\Clearvane\"\r\n"
         "\"Quoted\"=\"say \\\"hi\\\"\"\r\n"
         "\"Count\"=dword:0000002a\r\n"
         "\"Blob\"=hex:00,01,ff,\\\r\n"
         "  10,20\r\n"
         "\"Expand\"=hex(2):25,55,53,45,52,50,52,4f,46,49,4c,45,25,5c,78,00\r\n"
         "\"Multi\"=hex(7):6f,6e,65,00,74,77,6f,00,00\r\n"
         "\"Qword\"=hex(b):01,00,00,00,00,00,00,80\r\n"
         "\"Gone\"=\"soon\"\r\n"
         "\"Gone\"=-\r\n"
         "\r\n" +
         key + "\\Child]\r\n" +
         "\"Spaces\"=\"  word  \"\r\n"
         "\r\n" +
         key + "\\Doomed\\Deeper]\r\n" +
         "\"x\"=\"y\"\r\n"
         "\r\n"
         "[-HKEY_CURRENT_USER\\" +
         base + "\\Fixture\\Doomed]\r\n";
}

inline void ExpectValue(Registry& registry, RegKey key, const std::string& name, std::uint32_t type,
                        const std::string& data) {
  RegValue value;
  ASSERT_EQ(registry.QueryValue(key, name, value), kOk) << name;
  EXPECT_EQ(value.type, type) << name;
  EXPECT_EQ(value.data, data) << name;
}

// What the fixture leaves below HKEY_CURRENT_USER\<base>, however it was imported.
inline void ExpectFixtureImported(Registry& registry, const std::string& base) {
  ScopedRegKey key(registry);
  ASSERT_EQ(registry.OpenKey(kHkeyCurrentUser, base + "\\Fixture", kKeyRead, key.out()), kOk);
  ExpectValue(registry, key.get(), "", kRegSz, "default text\0"s);
  ExpectValue(registry, key.get(), "Plain", kRegSz, "C:\\Program Files\\Clearvane\0"s);
  ExpectValue(registry, key.get(), "Quoted", kRegSz, "say \"hi\"\0"s);
  ExpectValue(registry, key.get(), "Count", kRegDword, "\x2a\0\0\0"s);
  ExpectValue(registry, key.get(), "Blob", kRegBinary, "\x00\x01\xff\x10\x20"s);
  ExpectValue(registry, key.get(), "Expand", kRegExpandSz, "%USERPROFILE%\\x\0"s);
  ExpectValue(registry, key.get(), "Multi", kRegMultiSz, "one\0two\0\0"s);
  ExpectValue(registry, key.get(), "Qword", kRegQword, "\1\0\0\0\0\0\0\x80"s);
  RegValue value;
  EXPECT_EQ(registry.QueryValue(key.get(), "Gone", value), kErrFileNotFound);

  ScopedRegKey child(registry);
  ASSERT_EQ(registry.OpenKey(kHkeyCurrentUser, base + "\\Fixture\\Child", kKeyRead, child.out()), kOk);
  ExpectValue(registry, child.get(), "Spaces", kRegSz, "  word  \0"s);
  ScopedRegKey doomed(registry);
  EXPECT_EQ(registry.OpenKey(kHkeyCurrentUser, base + "\\Fixture\\Doomed", kKeyRead, doomed.out()), kErrFileNotFound);
}

}  // namespace cv::test
