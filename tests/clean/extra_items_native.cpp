// Items of other sources in the run: where their rows come, which switch
// values select them, and preview and clean going through the same action.
#include <gtest/gtest.h>

#include "clean/item.h"
#include "clean/run_context.h"
#include "items_run_fixture.h"

namespace cv {
namespace {

class ExtraItemsRunTest : public ::testing::Test, public test::ItemRunFixture {
 protected:
  static constexpr const char* kTarget = "C:\\Users\\Tester\\AppData\\Local\\Tool\\trace.log";

  // An item whose action deletes one file and counts it.
  Item TestItem(std::string key, std::string finalStatus = "") {
    Item item;
    item.section = "Extra Test";
    item.key = key;
    item.displayName = "Extra " + key;
    item.group = "Tools";
    item.source = "test";
    item.action = [finalStatus](RunContext& run) {
      run.BytesReleased += run.erase.DeleteSingleFile(kTarget);
      run.RegistryKeysCleaned += 1;
      if (!finalStatus.empty()) run.SetFinalStatus(finalStatus);
    };
    return item;
  }
  void Store(std::string_view key, std::string_view value) {
    Inifun(env.files).WriteIniValue(ProgramFile("\\vanesd.dat"), "Extra Test", key, value);
  }
};

TEST_F(ExtraItemsRunTest, SelectedItemsRunBetweenItem139AndTheCustomItem) {
  const std::vector<Item> extras{TestItem("a"), TestItem("zero"), TestItem("missing"), TestItem("word"),
                                 TestItem("b", "Refused")};
  Store("a", "1");
  Store("zero", "0");
  Store("word", "yes");  // only the text "1" selects
  Store("b", "1");
  Select("mail", "accounts");
  Select("Custom", "Custom");
  DoRun(EraseMode::Preview, &extras);

  std::vector<std::string> seen;
  for (const auto& row : recorder.ItemRows()) seen.push_back(row.item + "|" + row.status + "|" + row.source);
  EXPECT_EQ(seen, (std::vector<std::string>{"Windows Mail accounts|Done|builtin", "Extra a|Done|test",
                                            "Extra b|Refused|test", "Custom Item|Fail, Can't find file!|builtin"}));
}

TEST_F(ExtraItemsRunTest, PreviewListsWhatCleanErasesAndBothCount) {
  WriteFile(kTarget, "12345");
  Store("a", "1");
  const std::vector<Item> extras{TestItem("a")};
  for (EraseMode mode : {EraseMode::Preview, EraseMode::Clean}) {
    SCOPED_TRACE(mode == EraseMode::Preview ? "preview" : "clean");
    const RunResult result = DoRun(mode, &extras);
    EXPECT_DOUBLE_EQ(result.bytesReleased, 5);
    EXPECT_DOUBLE_EQ(result.registryKeysCleaned, 1);
    ASSERT_EQ(recorder.entries.size(), 1u);
    EXPECT_EQ(recorder.entries[0].path, kTarget);
    EXPECT_EQ(Exists(kTarget), mode == EraseMode::Preview);
  }
}

}  // namespace
}  // namespace cv
