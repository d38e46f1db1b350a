#include "config/selection_schema.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace cv {
namespace {

std::string Lower(std::string_view text) { return AsciiLower(text); }

TEST(SelectionSchema, SixteenSectionsInWriteOrderWithTheirKeyCounts) {
  const std::vector<std::pair<std::string, int>> expected = {
      {"EXPLORER", 11}, {"FIREFOX", 7},    {"AOL", 4},      {"OPERA", 9},  {"NETSCAPE", 7}, {"MSN", 4},
      {"Mozilla", 4},   {"Maxthon", 5},    {"Chrome", 6},   {"Safari", 8}, {"WINDOWS", 27}, {"OFFICE", 13},
      {"Custom", 1},    {"Messenger", 17}, {"outlook", 10}, {"mail", 7},
  };
  // Each section is one block of consecutive rows, so the dialog writes a
  // section's keys together and the blocks follow each other in this order.
  std::vector<std::pair<std::string, int>> blocks;
  for (const ItemSwitch& s : ItemSwitches()) {
    if (blocks.empty() || blocks.back().first != s.section) blocks.emplace_back(std::string(s.section), 0);
    ++blocks.back().second;
  }
  EXPECT_EQ(blocks, expected);
  EXPECT_EQ(ItemSwitches().size(), kItemSwitchCount);
  EXPECT_EQ(kItemSwitchCount, 140u);
}

TEST(SelectionSchema, SwitchesAndCheckBoxesAreUnique) {
  std::set<std::pair<std::string, std::string>> switches;
  std::set<std::string> boxes;
  for (const ItemSwitch& s : ItemSwitches()) {
    EXPECT_TRUE(switches.emplace(Lower(s.section), Lower(s.key)).second) << s.section << "/" << s.key;
    EXPECT_TRUE(boxes.emplace(s.checkBox).second) << s.checkBox;
    EXPECT_FALSE(s.caption.empty()) << s.checkBox;
    ASSERT_GT(s.checkBox.size(), 5u);
    EXPECT_EQ(s.checkBox.substr(0, 5), "Check");
    EXPECT_EQ(s.checkBox.substr(5).find_first_not_of("0123456789"), std::string_view::npos) << s.checkBox;
  }
  // Select-all boxes are separate controls that store nothing.
  std::set<std::string> selectAll;
  for (const SelectionFrameInfo& frame : SelectionFrames()) {
    if (frame.selectAllBox.empty()) continue;
    EXPECT_TRUE(selectAll.emplace(frame.selectAllBox).second) << frame.selectAllBox;
    EXPECT_EQ(boxes.count(std::string(frame.selectAllBox)), 0u) << frame.selectAllBox;
  }
  EXPECT_EQ(selectAll.size(), 14u);
}

TEST(SelectionSchema, EachSectionSitsOnOnePageAndEveryPageButApplicationsHasBoxes) {
  std::map<std::string, std::set<SelectionPage>> pagesOfSection;
  for (const ItemSwitch& s : ItemSwitches()) pagesOfSection[std::string(s.section)].insert(PageOf(s));
  for (const auto& [section, pages] : pagesOfSection) EXPECT_EQ(pages.size(), 1u) << section;

  std::size_t total = 0;
  for (const SelectionPageInfo& page : SelectionPages()) {
    const auto onPage = SwitchesOnPage(page.page);
    total += onPage.size();
    EXPECT_EQ(onPage.empty(), page.page == SelectionPage::kApplications) << page.tab << " " << page.browserTab;
    // Browser sub-pages, and only they, sit on the "Browsers" tab.
    EXPECT_EQ(page.tab == "Browsers", !page.browserTab.empty()) << page.tab;
  }
  EXPECT_EQ(total, kItemSwitchCount);

  EXPECT_EQ(SwitchesOnPage(SelectionPage::kWindows).size(), 27u);
  EXPECT_EQ(SwitchesOnPage(SelectionPage::kInstantMessaging).size(), 17u);
  EXPECT_EQ(SwitchesOnPage(SelectionPage::kEmailReaders).size(), 17u);
}

TEST(SelectionSchema, FramesGroupTheirSwitchesInWriteOrder) {
  std::size_t total = 0;
  for (const SelectionFrameInfo& frame : SelectionFrames()) {
    const auto members = SwitchesInFrame(frame.frame);
    EXPECT_FALSE(members.empty()) << frame.name;
    total += members.size();
    for (std::size_t i = 1; i < members.size(); ++i) EXPECT_LT(members[i - 1], members[i]) << frame.name;
    for (const ItemSwitch* s : members) EXPECT_EQ(PageOf(*s), frame.page) << s->checkBox;
  }
  EXPECT_EQ(total, kItemSwitchCount);
  // The four messengers share one page without a select-all box.
  const auto& im = SwitchesInFrame(SelectionFrame::kIcq);
  EXPECT_EQ(im.size(), 6u);
  EXPECT_TRUE(FrameInfo(SelectionFrame::kIcq).selectAllBox.empty());
}

TEST(SelectionSchema, LookupIgnoresCaseAndRejectsStrangers) {
  const ItemSwitch* images = FindSwitch("opera", "IMAGES");
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(images->section, "OPERA");
  EXPECT_EQ(images->key, "Images");
  EXPECT_EQ(FindSwitch("Office", "Powerpoint"), FindSwitch("OFFICE", "powerpoint"));

  const auto index = FindSwitchIndex("explorer", "DownloadedHistory");
  ASSERT_TRUE(index.has_value());
  EXPECT_EQ(&ItemSwitches()[*index], FindSwitch("EXPLORER", "downloadedhistory"));
  EXPECT_EQ(ItemSwitches()[*index].checkBox, "Check153");

  EXPECT_EQ(FindSwitch("Options", "exit"), nullptr);    // options are not item switches
  EXPECT_EQ(FindSwitch("OPERA", "keywords"), nullptr);  // a key of another section
  EXPECT_EQ(FindSwitch("", ""), nullptr);
  EXPECT_EQ(FindSwitch("OPERA ", "Images"), nullptr);  // no trimming of names
  EXPECT_FALSE(FindSwitchIndex("mail", "Recently ").has_value());
}

struct ReadingCase {
  const char* value;
  bool on;
};

// Values as the INI read hands them over, and what the one rule makes of them:
// on only for a number equal to 1; a missing, empty or wordy value is off.
const ReadingCase kReadingCases[] = {
    {"1", true},
    {"0", false},
    {"2", false},
    {"-1", false},
    {"10", false},
    {"0.5", false},
    {"01", true},
    {"001.000", true},
    {"1.0", true},
    {"1.", true},
    {".1e1", true},
    {"+1", true},
    {"1e0", true},
    {"10E-1", true},
    {"&H1", true},
    {"&h0001", true},
    {"&O1", true},
    {"&H0", false},
    {"&HFF", false},
    {"", false},
    {"true", false},
    {"yes", false},
    {"on", false},
    {"1abc", false},
    {"0abc", false},
    {"1 0", false},
    {"1,0", false},
    {"$1", false},
    {"(1)", false},
    {"0x1", false},
    {"inf", false},
    {"nan", false},
    {"1e", false},
    {"e1", false},
    {".", false},
    {"+", false},
    {"--1", false},
    {"&H", false},
    {"&H1G", false},
    {"&O8", false},
    {"&H100000000", false},  // more than 32 bits: no conversion
    {"1e999", false},        // a number, just not 1
    {"-1e999", false},
    {"1e-999", false},
    {"0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "000000000000000000001",
     false},
};

TEST(SwitchReading, OneRuleOnTrickyValues) {
  for (const ReadingCase& c : kReadingCases) EXPECT_EQ(SwitchIsOn(c.value), c.on) << "value \"" << c.value << "\"";
  // Blanks and tabs around a number do not matter; the INI read trims them too.
  for (const char* on : {" 1", "\t1 ", " 01 "}) EXPECT_TRUE(SwitchIsOn(on)) << on;
  EXPECT_FALSE(SwitchIsOn(" 0\t"));
}

TEST(SwitchReading, ConvertedNumbers) {
  EXPECT_EQ(SwitchValueAsNumber("&HFF"), 255.0);
  EXPECT_EQ(SwitchValueAsNumber("&o17"), 15.0);
  EXPECT_EQ(SwitchValueAsNumber("&HFFFFFFFF"), 4294967295.0);
  EXPECT_EQ(SwitchValueAsNumber("-2.5e1"), -25.0);
  EXPECT_EQ(SwitchValueAsNumber("1.00000000000000000001"), 1.0);
  EXPECT_TRUE(std::isinf(*SwitchValueAsNumber("1e999")));
  EXPECT_EQ(SwitchValueAsNumber("1e-999"), 0.0);
  EXPECT_EQ(SwitchValueAsNumber("0e99999999999999999999"), 0.0);
  EXPECT_EQ(SwitchValueAsNumber(" &HFF\t"), 255.0);
  EXPECT_FALSE(SwitchValueAsNumber("& H1").has_value());
  // A huge value of digits is handled without trouble.
  const std::string longOne = std::string(100000, '0') + "1";
  EXPECT_EQ(SwitchValueAsNumber(longOne), 1.0);
  EXPECT_FALSE(SwitchValueAsNumber(std::string(100000, 'x')).has_value());
  // Embedded NUL characters are not part of any number.
  EXPECT_FALSE(SwitchValueAsNumber(std::string_view("1\0", 2)).has_value());
}

TEST(OptionsSection, KeysAreUniqueAndFlagsDefaultToOff) {
  std::set<std::string> keys;
  for (const OptionKey& option : OptionKeys()) {
    EXPECT_TRUE(keys.insert(Lower(option.key)).second) << option.key;
    if (option.form == OptionForm::kFlag) {
      EXPECT_FALSE(SwitchIsOn(option.defaultValue)) << option.key;
    }
  }
  EXPECT_EQ(keys.size(), 15u);
  EXPECT_EQ(FindOptionKey("lastcleaned"), nullptr);

  const OptionKey* days = FindOptionKey(kOptionCleanDays);
  ASSERT_NE(days, nullptr);
  EXPECT_EQ(days->defaultValue.size(), 7u);
  EXPECT_EQ(days->defaultValue.find_first_not_of('0'), std::string_view::npos);
}

}  // namespace
}  // namespace cv
