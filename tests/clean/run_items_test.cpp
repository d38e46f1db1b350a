#include "clean/run_items.h"

#include "clean/item_groups.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "platform/text.h"

namespace cv {
namespace {

int CountSwitchesMatching(const RunItem& item) {
  int matches = 0;
  for (const ItemSwitch& s : ItemSwitches())
    if (EqualsNoCase(s.section, item.section) && EqualsNoCase(s.key, item.key)) ++matches;
  return matches;
}

TEST(RunItems, OneHundredFortyItemsNumberedInOrder) {
  ASSERT_EQ(RunItems().size(), kRunItemCount);
  EXPECT_EQ(kRunItemCount, kItemSwitchCount);
  for (const RunItem& item : RunItems()) {
    EXPECT_EQ(FindRunItem(item.number), &item);
    EXPECT_FALSE(item.displayName.empty()) << item.number;
  }
  EXPECT_EQ(FindRunItem(0), nullptr);
  EXPECT_EQ(FindRunItem(141), nullptr);
  EXPECT_EQ(FindRunItem(-1), nullptr);
}

TEST(RunItems, RunAndDialogReadTheSameSwitchesOneToOne) {
  std::set<const ItemSwitch*> reached;
  for (const RunItem& item : RunItems()) {
    EXPECT_EQ(CountSwitchesMatching(item), 1) << item.number << " " << item.section << "/" << item.key;
    const ItemSwitch* s = SwitchOf(item);
    ASSERT_NE(s, nullptr) << item.number;
    EXPECT_TRUE(reached.insert(s).second) << "two items read " << s->section << "/" << s->key;
  }
  EXPECT_EQ(reached.size(), kItemSwitchCount);
}

TEST(RunItems, SpellingDiffersFromTheDialogOnlyInCaseAndOnlyWhereKnown) {
  // Items whose section or key the run spells with other capitals than the
  // dialog writes them ("Opera" for "OPERA", "Powerpoint" for "powerpoint"...).
  std::set<int> expected = {14, 21, 36, 37, 38, 40, 41, 42, 45, 58, 62, 112, 113, 114};
  for (int n = 19; n <= 34; ++n) expected.insert(n);  // the "Opera" and "Netscape" sections

  std::set<int> differing;
  for (const RunItem& item : RunItems()) {
    const ItemSwitch* s = SwitchOf(item);
    ASSERT_NE(s, nullptr);
    if (s->section != item.section || s->key != item.key) differing.insert(item.number);
  }
  EXPECT_EQ(differing, expected);

  // The Start-menu order switch is read under exactly the key the dialog writes.
  const RunItem* menuOrder = FindRunItem(86);
  ASSERT_NE(menuOrder, nullptr);
  EXPECT_EQ(menuOrder->key, "menuorder");
  EXPECT_EQ(SwitchOf(*menuOrder)->key, "menuorder");
}

TEST(RunItems, EveryItemIsSelectedByTheOneSwitchRule) {
  struct Case {
    const char* value;
    bool selected;
  };
  const Case cases[] = {{"1", true},  {"01", true}, {" 1", true},    {"1.0", true}, {"0", false},
                        {"2", false}, {"", false},  {"true", false}, {"-1", false}};
  // An Internet Explorer item, a Maxthon item and the custom item read alike.
  for (const int number : {4, 48, 140})
    for (const Case& c : cases)
      EXPECT_EQ(SelectsItem(*FindRunItem(number), c.value), c.selected) << number << " \"" << c.value << "\"";
  // Without a selection file every value reads as "": nothing runs.
  for (const RunItem& item : RunItems()) EXPECT_FALSE(SelectsItem(item, "")) << item.number;
}

TEST(RunItems, ProgressCheckpointsNeverGoBackAndThePlugInsComeLast) {
  int last = 1;  // the run starts the bar at 1
  int checkpoints = 0;
  for (const RunItem& item : RunItems()) {
    if (!item.progress) continue;
    ++checkpoints;
    EXPECT_GE(*item.progress, last) << item.number;
    EXPECT_LE(*item.progress, 100) << item.number;
    last = *item.progress;
  }
  EXPECT_GT(checkpoints, 0);
  EXPECT_LT(last, kPluginCheckpoint);
  EXPECT_LT(kPluginCheckpoint, 100);  // the end of the run sets 100

  const RunItem* custom = FindRunItem(kCustomItemNumber);
  ASSERT_NE(custom, nullptr);
  EXPECT_EQ(custom, &RunItems().back());
  EXPECT_EQ(custom->group, ItemGroup::kCustom);
  EXPECT_EQ(custom->progress, 80);
}

TEST(RunItems, OfficeVersionIsDetectedRightBeforeTheOfficeItems) {
  const RunItem* firstOffice = FindRunItem(kOfficeDetectionBeforeItem);
  const RunItem* before = FindRunItem(kOfficeDetectionBeforeItem - 1);
  ASSERT_NE(firstOffice, nullptr);
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(firstOffice->group, ItemGroup::kOffice);
  EXPECT_NE(before->group, ItemGroup::kOffice);
  for (const RunItem& item : RunItems()) {
    if (item.group == ItemGroup::kOffice) {
      EXPECT_GE(item.number, kOfficeDetectionBeforeItem);
    }
  }
}

TEST(RunItems, EachSectionBelongsToOneGroup) {
  std::map<std::string, std::set<ItemGroup>> groupsOfSection;
  for (const RunItem& item : RunItems()) groupsOfSection[AsciiLower(item.section)].insert(item.group);
  EXPECT_EQ(groupsOfSection.size(), 16u);
  for (const auto& [section, groups] : groupsOfSection) EXPECT_EQ(groups.size(), 1u) << section;
}

TEST(RunItems, OnlyItems48And51ShareADisplayName) {
  std::map<std::string_view, std::set<int>> itemsByName;
  for (const RunItem& item : RunItems()) itemsByName[item.displayName].insert(item.number);
  for (const auto& [name, numbers] : itemsByName) {
    if (numbers.size() == 1) continue;
    EXPECT_EQ(numbers, (std::set<int>{48, 51})) << name;
  }
  EXPECT_EQ(FindRunItem(48)->displayName, FindRunItem(51)->displayName);
}

// An item without an action would show "Done" having done nothing.
TEST(RunItems, EveryItemIsBoundToExactlyOneAction) {
  std::map<int, int> bindings;
  for (const ItemBinding& binding : AllItemBindings()) {
    EXPECT_NE(binding.action, nullptr) << binding.number;
    ++bindings[binding.number];
  }
  EXPECT_EQ(bindings.size(), kRunItemCount);
  for (const RunItem& item : RunItems()) EXPECT_EQ(bindings[item.number], 1) << item.number;
}

}  // namespace
}  // namespace cv
