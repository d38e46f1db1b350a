#include "clean/plugins.h"

#include <gtest/gtest.h>

namespace cv {
namespace {

TEST(PluginRootNumberTest, DecimalAndHexadecimalHandles) {
  EXPECT_EQ(ReadRootNumber("-2147483647"), 0x80000001u);
  EXPECT_EQ(ReadRootNumber("&H80000001"), 0x80000001u);
  EXPECT_EQ(ReadRootNumber("&h80000002"), 0x80000002u);
  EXPECT_EQ(ReadRootNumber("-2147483648"), 0x80000000u);
  EXPECT_EQ(ReadRootNumber("2147483647"), 0x7FFFFFFFu);
  EXPECT_EQ(ReadRootNumber("  -2147483646"), 0x80000002u) << "leading blanks are skipped";
  EXPECT_EQ(ReadRootNumber("+5"), 5u);
  EXPECT_EQ(ReadRootNumber("&HFFFFFFFF"), 0xFFFFFFFFu);
}

TEST(PluginRootNumberTest, NumbersThatDoNotFitAreRejected) {
  EXPECT_EQ(ReadRootNumber("2147483649"), std::nullopt) << "the unsigned form of HKEY_CURRENT_USER";
  EXPECT_EQ(ReadRootNumber("2147483648"), std::nullopt);
  EXPECT_EQ(ReadRootNumber("-2147483649"), std::nullopt);
  EXPECT_EQ(ReadRootNumber("&H180000001"), std::nullopt);
  EXPECT_EQ(ReadRootNumber("99999999999999999999999999"), std::nullopt);
  EXPECT_EQ(ReadRootNumber("2147483647.6"), std::nullopt) << "rounds beyond the range";
}

TEST(PluginRootNumberTest, ReadingStopsAtTheFirstCharacterThatDoesNotFit) {
  EXPECT_EQ(ReadRootNumber("12abc"), 12u);
  EXPECT_EQ(ReadRootNumber("&H1G"), 1u);
  EXPECT_EQ(ReadRootNumber("-2147483647 HKCU"), 0x80000001u);
  EXPECT_EQ(ReadRootNumber("1e3"), 1u);
  EXPECT_EQ(ReadRootNumber("HKEY_CURRENT_USER"), 0u) << "text without a number is 0";
  EXPECT_EQ(ReadRootNumber(""), 0u);
  EXPECT_EQ(ReadRootNumber("-"), 0u);
  EXPECT_EQ(ReadRootNumber("&H"), 0u);
  EXPECT_EQ(ReadRootNumber("."), 0u);
}

TEST(PluginRootNumberTest, FractionsAreRoundedToTheNearestInteger) {
  EXPECT_EQ(ReadRootNumber("-2147483647.4"), 0x80000001u);
  EXPECT_EQ(ReadRootNumber("-2147483646.6"), 0x80000001u);
  EXPECT_EQ(ReadRootNumber("2.5"), 2u) << "ties go to the even neighbour";
  EXPECT_EQ(ReadRootNumber("3.5"), 4u);
  EXPECT_EQ(ReadRootNumber(".7"), 1u);
}

TEST(PluginFileTest, RowNamesThatCannotBeBaseNamesNameNoFile) {
  EXPECT_TRUE(IsPluginFileName("Microsoft Edge"));
  EXPECT_TRUE(IsPluginFileName("a.b"));
  EXPECT_FALSE(IsPluginFileName(""));
  EXPECT_FALSE(IsPluginFileName(".."));
  EXPECT_FALSE(IsPluginFileName("..\\..\\Windows\\win"));
  EXPECT_FALSE(IsPluginFileName("sub/name"));
  EXPECT_FALSE(IsPluginFileName("C:name"));
  EXPECT_EQ(PluginFileFor(PluginFolder("C:\\Program Files\\Clearvane"), "Tool"),
            "C:\\Program Files\\Clearvane\\plus-in\\Tool.vpe");
}

}  // namespace
}  // namespace cv
