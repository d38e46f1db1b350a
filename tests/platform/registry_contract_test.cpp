// One contract for every Registry: natively it runs on the emulated registry,
// in the Windows build on the real one under Wine, so the two cannot drift.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "registry_fixture.h"

namespace cv::test {
namespace {

using namespace std::string_literals;

class RegistryContract : public ::testing::Test {
 protected:
  Registry& reg() { return fixture_->registry(); }
  RegKey root() { return fixture_->root(); }
  std::string Path(const std::string& relative = {}) { return fixture_->Path(relative); }

  ScopedRegKey Create(const std::string& relative) {
    ScopedRegKey key(reg());
    EXPECT_EQ(reg().CreateKey(root(), Path(relative), key.out()), kOk) << relative;
    return key;
  }
  ScopedRegKey Open(const std::string& relative, std::uint32_t access = kKeyRead) {
    ScopedRegKey key(reg());
    EXPECT_EQ(reg().OpenKey(root(), Path(relative), access, key.out()), kOk) << relative;
    return key;
  }
  Status OpenStatus(const std::string& relative) {
    ScopedRegKey key(reg());
    return reg().OpenKey(root(), Path(relative), kKeyRead, key.out());
  }
  std::vector<std::string> KeyNames(RegKey key) {
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; reg().EnumKey(key, i, name) == kOk; ++i) names.push_back(name);
    return names;
  }
  std::vector<std::string> ValueNames(RegKey key) {
    std::vector<std::string> names;
    std::string name;
    RegValue value;
    for (std::uint32_t i = 0; reg().EnumValue(key, i, name, value) == kOk; ++i) names.push_back(name);
    return names;
  }

  std::unique_ptr<RegistryFixture> fixture_ = MakeRegistryFixture();
};

TEST_F(RegistryContract, CreateMakesMissingParentsAndOpenFindsOnlyWhatExists) {
  RegKey untouched = 12345;
  EXPECT_EQ(reg().OpenKey(root(), Path("a"), kKeyRead, untouched), kErrFileNotFound);
  EXPECT_EQ(untouched, 12345u);

  Create("a\\b\\c");
  EXPECT_EQ(OpenStatus("a"), kOk);
  EXPECT_EQ(OpenStatus("a\\b"), kOk);
  EXPECT_EQ(OpenStatus("a\\b\\c"), kOk);
  EXPECT_EQ(OpenStatus("a\\b\\c\\d"), kErrFileNotFound);
  // Creating an existing key opens it and keeps what it holds.
  ASSERT_EQ(reg().SetValue(Create("a\\b").get(), "v", kRegDword, "\1\0\0\0"s), kOk);
  RegValue value;
  EXPECT_EQ(reg().QueryValue(Create("a\\b").get(), "v", value), kOk);
  // An empty sub-key opens the parent again.
  ScopedRegKey again(reg());
  ASSERT_EQ(reg().OpenKey(Open("a\\b").get(), "", kKeyRead, again.out()), kOk);
  EXPECT_EQ(reg().QueryValue(again.get(), "v", value), kOk);
}

TEST_F(RegistryContract, SubKeyWithLeadingBackslashIsABadPathname) {
  Create("a");
  ScopedRegKey key(reg());
  EXPECT_EQ(reg().OpenKey(root(), "\\" + Path("a"), kKeyRead, key.out()), kErrBadPathname);
  EXPECT_EQ(reg().CreateKey(root(), "\\" + Path("b"), key.out()), kErrBadPathname);
  EXPECT_EQ(reg().DeleteTree(root(), "\\" + Path("a")), kErrBadPathname);
  EXPECT_EQ(reg().DeleteKey(root(), "\\" + Path("a")), kErrBadPathname);
  EXPECT_EQ(OpenStatus("a"), kOk);
  EXPECT_EQ(OpenStatus("b"), kErrFileNotFound);
}

TEST_F(RegistryContract, NamesKeepTheirCaseButMatchWithoutIt) {
  auto key = Create("MixedCase");
  EXPECT_EQ(OpenStatus("mixedcase"), kOk);
  EXPECT_EQ(OpenStatus("MIXEDCASE"), kOk);
  Create("Café");
  EXPECT_EQ(OpenStatus("CAFÉ"), kOk);
  EXPECT_EQ(KeyNames(Open("").get()), (std::vector<std::string>{"Café", "MixedCase"}));

  ASSERT_EQ(reg().SetValue(key.get(), "Value", kRegSz, "one\0"s), kOk);
  ASSERT_EQ(reg().SetValue(key.get(), "VALUE", kRegSz, "two\0"s), kOk);
  RegValue value;
  ASSERT_EQ(reg().QueryValue(key.get(), "value", value), kOk);
  EXPECT_EQ(value.data, "two\0"s);
  EXPECT_EQ(ValueNames(key.get()), std::vector<std::string>{"Value"});
}

// Windows lists values in creation order, Wine by name: callers may rely on
// neither, so only the set is part of the contract. Keys come by name in both.
TEST_F(RegistryContract, EnumerationListsEveryValueOnceAndKeysByName) {
  auto key = Create("k");
  for (const char* name : {"zeta", "alpha", "Mid"}) ASSERT_EQ(reg().SetValue(key.get(), name, kRegSz, "x\0"s), kOk);
  auto values = ValueNames(key.get());
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (std::vector<std::string>{"Mid", "alpha", "zeta"}));
  for (const char* name : {"b", "C", "a"}) Create("k\\"s + name);
  EXPECT_EQ(KeyNames(key.get()), (std::vector<std::string>{"a", "b", "C"}));

  std::string name = "unchanged";
  RegValue value;
  EXPECT_EQ(reg().EnumValue(key.get(), 3, name, value), kErrNoMoreItems);
  EXPECT_EQ(reg().EnumKey(key.get(), 3, name), kErrNoMoreItems);
}

TEST_F(RegistryContract, ValuesKeepTypeAndDataExactlyAsStored) {
  auto key = Create("types");
  const std::vector<RegValue> stored = {
      {kRegSz, "text\0"s},
      {kRegSz, "no terminator"},
      {kRegSz, "a\0b\0"s},
      {kRegSz, ""},
      {kRegExpandSz, "%USERPROFILE%\\Local Settings\0"s},
      {kRegMultiSz, "one\0two\0\0"s},
      {kRegDword, "\x78\x56\x34\x12"s},
      {kRegQword, "\1\2\3\4\5\6\7\x80"s},
      {kRegBinary, "\0\xff\0\x10"s},
      {kRegBinary, ""},
      {kRegNone, "\x01"s},
  };
  for (std::size_t i = 0; i < stored.size(); ++i)
    ASSERT_EQ(reg().SetValue(key.get(), "v" + std::to_string(i), stored[i].type, stored[i].data), kOk) << i;

  RegValue value;
  for (std::uint32_t i = 0; i < stored.size(); ++i) {
    ASSERT_EQ(reg().QueryValue(key.get(), "v" + std::to_string(i), value), kOk) << i;
    EXPECT_EQ(value.type, stored[i].type) << i;
    EXPECT_EQ(value.data, stored[i].data) << i;
  }
  // Enumeration hands out the same data.
  std::string name;
  std::uint32_t count = 0;
  for (; reg().EnumValue(key.get(), count, name, value) == kOk; ++count) {
    const std::size_t i = std::stoul(name.substr(1));
    ASSERT_LT(i, stored.size());
    EXPECT_EQ(value.type, stored[i].type) << name;
    EXPECT_EQ(value.data, stored[i].data) << name;
  }
  EXPECT_EQ(count, stored.size());
}

TEST_F(RegistryContract, NonAsciiNamesAndDataRoundTrip) {
  auto key = Create("Données\\日本語");
  ASSERT_EQ(reg().SetValue(key.get(), "名前é", kRegSz, "データ é 😀\0"s), kOk);
  RegValue value;
  ASSERT_EQ(reg().QueryValue(Open("données\\日本語").get(), "名前É", value), kOk);
  EXPECT_EQ(value.data, "データ é 😀\0"s);
  EXPECT_EQ(ValueNames(key.get()), std::vector<std::string>{"名前é"});
  EXPECT_EQ(KeyNames(Open("Données").get()), std::vector<std::string>{"日本語"});
}

TEST_F(RegistryContract, MissingValueFailsAndLeavesOutputUnchanged) {
  auto key = Create("k");
  RegValue value{kRegDword, "keep"};
  EXPECT_EQ(reg().QueryValue(key.get(), "absent", value), kErrFileNotFound);
  EXPECT_EQ(reg().QueryValue(key.get(), "", value), kErrFileNotFound);  // no default value yet
  EXPECT_EQ(value.type, kRegDword);
  EXPECT_EQ(value.data, "keep");
  ASSERT_EQ(reg().SetValue(key.get(), "", kRegSz, "default\0"s), kOk);
  ASSERT_EQ(reg().QueryValue(key.get(), "", value), kOk);
  EXPECT_EQ(value.data, "default\0"s);
}

TEST_F(RegistryContract, AValueChangesTypeWhenWrittenWithAnother) {
  auto key = Create("k");
  ASSERT_EQ(reg().SetValue(key.get(), "v", kRegSz, "text\0"s), kOk);
  ASSERT_EQ(reg().SetValue(key.get(), "v", kRegDword, "\5\0\0\0"s), kOk);
  RegValue value;
  ASSERT_EQ(reg().QueryValue(key.get(), "v", value), kOk);
  EXPECT_EQ(value.type, kRegDword);
  EXPECT_EQ(value.data, "\5\0\0\0"s);
}

TEST_F(RegistryContract, LargeValuesRoundTripAndOverlongNamesAreRefused) {
  auto key = Create("big");
  std::string binary(1 << 20, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7);
  const std::string text = std::string(100000, 'x') + "é" + '\0';
  ASSERT_EQ(reg().SetValue(key.get(), "binary", kRegBinary, binary), kOk);
  ASSERT_EQ(reg().SetValue(key.get(), "text", kRegSz, text), kOk);
  RegValue value;
  ASSERT_EQ(reg().QueryValue(key.get(), "binary", value), kOk);
  EXPECT_EQ(value.data, binary);
  ASSERT_EQ(reg().QueryValue(key.get(), "text", value), kOk);
  EXPECT_EQ(value.data, text);
  std::string name;
  ASSERT_EQ(reg().EnumValue(key.get(), 0, name, value), kOk);
  EXPECT_EQ(value.data, name == "text" ? text : binary);

  // Windows' limits: 255 characters for a key name (Wine allows one more),
  // 16383 for a value name.
  Create("big\\" + std::string(255, 'k'));
  ScopedRegKey tooLong(reg());
  EXPECT_EQ(reg().CreateKey(root(), Path("big\\" + std::string(300, 'k')), tooLong.out()), kErrInvalidParameter);
  EXPECT_EQ(KeyNames(key.get()).size(), 1u);
  EXPECT_EQ(reg().SetValue(key.get(), std::string(16383, 'n'), kRegSz, "\0"s), kOk);
  EXPECT_EQ(reg().SetValue(key.get(), std::string(16384, 'n'), kRegSz, "\0"s), kErrInvalidParameter);
  EXPECT_EQ(ValueNames(key.get()).size(), 3u);
}

TEST_F(RegistryContract, DeleteKeyRefusesAKeyWithSubKeys) {
  Create("a\\b");
  EXPECT_EQ(reg().DeleteKey(root(), Path("a")), kErrAccessDenied);
  EXPECT_EQ(OpenStatus("a\\b"), kOk);
  EXPECT_EQ(reg().DeleteKey(root(), Path("a\\b")), kOk);
  EXPECT_EQ(reg().DeleteKey(root(), Path("a")), kOk);
  EXPECT_EQ(OpenStatus("a"), kErrFileNotFound);
  EXPECT_EQ(reg().DeleteKey(root(), Path("a")), kErrFileNotFound);
}

TEST_F(RegistryContract, DeleteTreeRemovesTheKeyWithEverythingBelowAndNothingElse) {
  ASSERT_EQ(reg().SetValue(Create("a\\b\\c").get(), "v", kRegSz, "x\0"s), kOk);
  ASSERT_EQ(reg().SetValue(Create("a").get(), "w", kRegSz, "y\0"s), kOk);
  Create("ab");
  Create("z");
  EXPECT_EQ(reg().DeleteTree(root(), Path("a")), kOk);
  EXPECT_EQ(OpenStatus("a"), kErrFileNotFound);
  EXPECT_EQ(KeyNames(Open("").get()), (std::vector<std::string>{"ab", "z"}));
  EXPECT_EQ(reg().DeleteTree(root(), Path("a")), kErrFileNotFound);
}

TEST_F(RegistryContract, DeleteValueRemovesOnlyThatValue) {
  auto key = Create("k");
  for (const char* name : {"one", "two", "three"}) ASSERT_EQ(reg().SetValue(key.get(), name, kRegSz, "x\0"s), kOk);
  EXPECT_EQ(reg().DeleteValue(key.get(), "TWO"), kOk);
  EXPECT_EQ(reg().DeleteValue(key.get(), "two"), kErrFileNotFound);
  auto names = ValueNames(key.get());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"one", "three"}));
}

TEST_F(RegistryContract, AHandleToADeletedKeyReportsKeyDeleted) {
  auto held = Create("gone\\child");
  auto parent = Open("gone", kKeyRead | kKeyWrite);
  ASSERT_EQ(reg().DeleteTree(root(), Path("gone")), kOk);
  RegValue value;
  std::string name;
  EXPECT_EQ(reg().QueryValue(held.get(), "v", value), kErrKeyDeleted);
  EXPECT_EQ(reg().SetValue(held.get(), "v", kRegSz, "x\0"s), kErrKeyDeleted);
  EXPECT_EQ(reg().EnumKey(parent.get(), 0, name), kErrKeyDeleted);
  // A new key of the same name is a different key.
  Create("gone\\child");
  EXPECT_EQ(reg().SetValue(held.get(), "v", kRegSz, "x\0"s), kErrKeyDeleted);
  EXPECT_EQ(reg().CloseKey(held.out()), kOk);
  held.out() = 0;
}

TEST_F(RegistryContract, AHandleAllowsOnlyWhatItWasOpenedFor) {
  ASSERT_EQ(reg().SetValue(Create("k").get(), "v", kRegSz, "x\0"s), kOk);
  auto reader = Open("k", kKeyRead);
  EXPECT_EQ(reg().SetValue(reader.get(), "w", kRegSz, "y\0"s), kErrAccessDenied);
  EXPECT_EQ(reg().DeleteValue(reader.get(), "v"), kErrAccessDenied);
  auto writer = Open("k", kKeyWrite);
  RegValue value;
  EXPECT_EQ(reg().QueryValue(writer.get(), "v", value), kErrAccessDenied);
  EXPECT_EQ(reg().SetValue(writer.get(), "w", kRegSz, "y\0"s), kOk);
  EXPECT_EQ(ValueNames(reader.get()).size(), 2u);
}

TEST_F(RegistryContract, NamesWithANulInsideAreRefusedRatherThanCut) {
  Create("a\\x");
  auto key = Create("a");
  ASSERT_EQ(reg().SetValue(key.get(), "v", kRegSz, "keep\0"s), kOk);
  EXPECT_EQ(reg().DeleteTree(root(), Path("a") + "\0\\x"s), kErrInvalidParameter);
  EXPECT_EQ(reg().DeleteKey(root(), Path("a\\x") + "\0y"s), kErrInvalidParameter);
  EXPECT_EQ(reg().DeleteValue(key.get(), "v\0w"s), kErrInvalidParameter);
  EXPECT_EQ(reg().SetValue(key.get(), "v\0w"s, kRegSz, "lost\0"s), kErrInvalidParameter);
  RegValue value;
  ASSERT_EQ(reg().QueryValue(key.get(), "v", value), kOk);
  EXPECT_EQ(value.data, "keep\0"s);
  EXPECT_EQ(OpenStatus("a\\x"), kOk);
}

TEST_F(RegistryContract, APredefinedRootIsNeverDeleted) {
  EXPECT_NE(reg().DeleteTree(root(), ""), kOk);
  EXPECT_NE(reg().DeleteKey(root(), ""), kOk);
  EXPECT_EQ(OpenStatus(""), kOk);
}

}  // namespace
}  // namespace cv::test
