// What the emulated registry does beyond the shared contract: the behaviour of
// Windows itself where Wine differs, and its own bookkeeping.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/emulated/emulated_registry.h"

namespace cv {
namespace {

using namespace std::string_literals;
using emulated::EmulatedRegistry;

TEST(EmulatedRegistry, ValuesEnumerateInCreationOrderAsOnWindows) {
  EmulatedRegistry registry;
  ScopedRegKey key(registry);
  ASSERT_EQ(registry.CreateKey(kHkeyCurrentUser, "k", key.out()), kOk);
  for (const char* name : {"zeta", "alpha", "Mid"}) ASSERT_EQ(registry.SetValue(key.get(), name, kRegSz, "x\0"s), kOk);
  ASSERT_EQ(registry.DeleteValue(key.get(), "alpha"), kOk);
  ASSERT_EQ(registry.SetValue(key.get(), "ALPHA", kRegSz, "y\0"s), kOk);
  std::vector<std::string> names;
  std::string name;
  RegValue value;
  for (std::uint32_t i = 0; registry.EnumValue(key.get(), i, name, value) == kOk; ++i) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"zeta", "Mid", "ALPHA"}));
}

TEST(EmulatedRegistry, KeysNestNoDeeperThanWindowsAllows) {
  EmulatedRegistry registry;
  std::string path = "d";
  for (std::size_t depth = 1; depth < EmulatedRegistry::kMaxDepth; ++depth) path += "\\d";
  ScopedRegKey deepest(registry);
  ASSERT_EQ(registry.CreateKey(kHkeyCurrentUser, path, deepest.out()), kOk);
  RegKey tooDeep = 0;
  EXPECT_EQ(registry.CreateKey(deepest.get(), "one more", tooDeep), kErrInvalidParameter);
  // Deleting the deep tree neither recurses without end nor leaves keys behind.
  EXPECT_EQ(registry.DeleteTree(kHkeyCurrentUser, "d"), kOk);
  std::string name;
  EXPECT_EQ(registry.EnumKey(kHkeyCurrentUser, 0, name), kErrNoMoreItems);
}

TEST(EmulatedRegistry, HandlesAreCountedAndUnknownOnesRefused) {
  EmulatedRegistry registry;
  RegKey key = 0;
  ASSERT_EQ(registry.CreateKey(kHkeyCurrentUser, "k", key), kOk);
  EXPECT_FALSE(IsPredefinedRoot(key));
  EXPECT_EQ(registry.OpenHandleCount(), 1u);
  EXPECT_EQ(registry.CloseKey(key), kOk);
  EXPECT_EQ(registry.CloseKey(key), kErrInvalidHandle);
  RegValue value;
  EXPECT_EQ(registry.QueryValue(key, "v", value), kErrInvalidHandle);
  EXPECT_EQ(registry.CloseKey(kHkeyCurrentUser), kOk);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace cv
