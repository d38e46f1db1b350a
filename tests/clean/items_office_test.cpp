#include "clean/items_office.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/office.h"

namespace cv {
namespace {

class ScriptedOffice : public OfficeDetector {
 public:
  explicit ScriptedOffice(std::optional<std::string> version) : version_(std::move(version)) {}
  std::optional<std::string> WordVersion() override { return version_; }

 private:
  std::optional<std::string> version_;
};

std::string NameFor(std::optional<std::string> version) {
  ScriptedOffice office(std::move(version));
  return GetOfficeVersion(&office);
}

TEST(OfficeVersionTest, VersionTextsGiveTheirReleaseInTestOrder) {
  EXPECT_EQ(NameFor("8.0"), "Office97");
  EXPECT_EQ(NameFor("9.0"), "Office2000");
  EXPECT_EQ(NameFor("10.0"), "Office2002");
  EXPECT_EQ(NameFor("11.0"), "Office2003");
  EXPECT_EQ(NameFor("12.0"), "Office2007");
  EXPECT_EQ(NameFor("14.0"), "Office2010");
  // Later releases: "15.0" holds none of the tested texts, "18.0" holds an 8,
  // which is tested first; "16.0" none either.
  EXPECT_EQ(NameFor("15.0"), "");
  EXPECT_EQ(NameFor("16.0"), "");
  EXPECT_EQ(NameFor("18.0"), "Office97");
  // "19.0" contains "9" before any later test could see it.
  EXPECT_EQ(NameFor("19.0"), "Office2000");
}

TEST(OfficeVersionTest, NoWordProcessorIsNoOfficeAndAnUnreadableVersionIsEmpty) {
  EXPECT_EQ(NameFor(std::nullopt), "NoOffice");
  EXPECT_EQ(GetOfficeVersion(nullptr), "NoOffice");
  EXPECT_EQ(NameFor(""), "") << "created, but the version could not be read";
}

TEST(OfficeVersionTest, VersionNumbersAreTheRegistrySubKeys) {
  EXPECT_EQ(OfficeVersionNumber("Office97"), "8.0");
  EXPECT_EQ(OfficeVersionNumber("Office2000"), "9.0");
  EXPECT_EQ(OfficeVersionNumber("Office2002"), "10.0");
  EXPECT_EQ(OfficeVersionNumber("Office2003"), "11.0");
  EXPECT_EQ(OfficeVersionNumber("Office2007"), "12.0");
  EXPECT_EQ(OfficeVersionNumber("Office2010"), "14.0");
  EXPECT_EQ(OfficeVersionNumber("NoOffice"), "");
  EXPECT_EQ(OfficeVersionNumber(""), "");
  EXPECT_EQ(OfficeVersionNumber("office2010"), "") << "names are exact";
}

}  // namespace
}  // namespace cv
