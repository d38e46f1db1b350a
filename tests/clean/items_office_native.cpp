#include <gtest/gtest.h>

#include "items_run_fixture.h"

namespace cv::test {
namespace {

constexpr const char* kOfficeKeys[] = {"word",      "excel",    "Powerpoint", "FrontPage", "Access",
                                       "Publisher", "InfoPath", "Project",    "Visio",     "Organizer",
                                       "Settings",  "Picture",  "Viewer"};

class OfficeItemsTest : public ::testing::Test, public ItemRunFixture {
 protected:
  void SelectAll() {
    for (const char* key : kOfficeKeys) Select("OFFICE", key);
  }
};

TEST_F(OfficeItemsTest, FixedTotalsOnAnEmptyRegistryDependOnTheKeySet) {
  SelectAll();
  const struct {
    std::optional<std::string> version;
    double expected;
  } cases[] = {{"8.0", 209}, {"11.0", 209}, {"12.0", 184}, {"14.0", 184}, {"15.0", 209}, {std::nullopt, 209}};
  for (const auto& c : cases) {
    office.version = c.version;
    const RunResult result = DoRun();
    EXPECT_EQ(result.registryKeysCleaned, c.expected) << c.version.value_or("no Office");
    EXPECT_EQ(result.bytesReleased, 0);
    EXPECT_EQ(recorder.ItemRows().size(), 13u);
    for (const auto& row : recorder.ItemRows()) EXPECT_EQ(row.status, "Done") << row.item;
  }
}

TEST_F(OfficeItemsTest, DetectionRunsOnceEvenWithNoOfficeItemSelected) {
  office.version = "12.0";
  DoRun();
  EXPECT_EQ(office.queries, 1);
  EXPECT_TRUE(recorder.ItemRows().empty());
}

TEST_F(OfficeItemsTest, Office2007UsesTheNewWordKeysButTheOldAccessKeys) {
  const char* const kKeys[] = {
      "Software\\Microsoft\\Office\\12.0\\Word\\Data",       "Software\\Microsoft\\Office\\12.0\\Word\\File MRU",
      "Software\\Microsoft\\Office\\12.0\\Access\\Settings", "Software\\Microsoft\\Office\\12.0\\Access\\File MRU",
      "Software\\Microsoft\\Office\\11.0\\Word\\Data",
  };
  for (const char* key : kKeys) CreateKey(kHkeyCurrentUser, key);
  Select("OFFICE", "word");
  Select("OFFICE", "Access");
  office.version = "12.0";
  DoRun();
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, kKeys[0]));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, kKeys[1]));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, kKeys[2])) << "Access keeps its old keys for 12.0";
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, kKeys[3]));
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, kKeys[4])) << "another version's keys are not touched";
}

TEST_F(OfficeItemsTest, Office2010SwitchesAccessToItsMruKeys) {
  CreateKey(kHkeyCurrentUser, "Software\\Microsoft\\Office\\14.0\\Access\\Settings");
  CreateKey(kHkeyCurrentUser, "Software\\Microsoft\\Office\\14.0\\Access\\File MRU\\Item 1");
  CreateKey(kHkeyCurrentUser, "Software\\Microsoft\\Office\\14.0\\Access\\Place MRU");
  Select("OFFICE", "Access");
  office.version = "14.0";
  const RunResult result = DoRun();
  EXPECT_EQ(result.registryKeysCleaned, 10);
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Office\\14.0\\Access\\Settings"));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Office\\14.0\\Access\\File MRU"));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Office\\14.0\\Access\\Place MRU"));
}

TEST_F(OfficeItemsTest, ValuesAndVersionIndependentKeysAreErased) {
  SetString("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\11.0\\Clip Organizer", "MRUKeywords", "cats");
  SetString("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\11.0\\Clip Organizer", "Other", "kept");
  SetString("HKEY_CURRENT_USER\\Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Settings", "LastWebOpen",
            "http://a.example/");
  CreateKey(kHkeyCurrentUser, "Software\\Microsoft\\OfficeProfileWizard\\11.0\\RecentFileList");
  CreateKey(kHkeyCurrentUser, "Software\\Microsoft\\Snapshot Viewer\\Recent File List");
  for (const char* key : {"Organizer", "FrontPage", "Settings", "Viewer"}) Select("OFFICE", key);
  office.version = "11.0";
  DoRun();
  EXPECT_FALSE(ValueExists(kHkeyCurrentUser, "Software\\Microsoft\\Office\\11.0\\Clip Organizer", "MRUKeywords"));
  EXPECT_TRUE(ValueExists(kHkeyCurrentUser, "Software\\Microsoft\\Office\\11.0\\Clip Organizer", "Other"));
  EXPECT_FALSE(ValueExists(kHkeyCurrentUser, "Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Settings",
                           "LastWebOpen"));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\OfficeProfileWizard\\11.0\\RecentFileList"));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Snapshot Viewer\\Recent File List"));
}

TEST_F(OfficeItemsTest, WithoutOfficeNoVersionedKeyIsTouched) {
  CreateKey(kHkeyCurrentUser, "Software\\Microsoft\\Office\\11.0\\Word\\Data");
  CreateKey(kHkeyCurrentUser, "Software\\Microsoft\\Office\\12.0\\Word\\File MRU");
  SelectAll();
  office.version = std::nullopt;
  DoRun();
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Office\\11.0\\Word\\Data"));
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Office\\12.0\\Word\\File MRU"));
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Office"));
}

}  // namespace
}  // namespace cv::test
