// The command line's list and report name every item's source: the built-in
// items, the other sources' items before the custom item, the plug-ins last.
#include <gtest/gtest.h>

#include <sstream>

#include "app/command_line.h"
#include "clean/items_run_fixture.h"

namespace cv::test {
namespace {

class CommandLineItemsTest : public ::testing::Test, public ItemRunFixture {
 protected:
  std::string Run(std::vector<std::string> args) {
    Platform services = platform();
    std::ostringstream out, err;
    EXPECT_EQ(RunCommandLine(args, services, out, err), 0) << err.str();
    return out.str();
  }
  void WritePlugin(std::string_view name, std::string_view on) {
    WriteFile(ProgramFile("\\plus-in\\") + std::string(name) + ".vpe",
              "[name]\r\nappname=" + std::string(name) + "\r\n[swich]\r\non=" + std::string(on) + "\r\n");
  }
};

TEST_F(CommandLineItemsTest, ListShowsEveryItemWithItsSourceInRunOrder) {
  WritePlugin("Alpha", "0");
  const std::string list = Run({"--list"});
  const std::size_t first = list.find("1\tEXPLORER\tlocation\tIE Location Bar History\n");
  const std::size_t browser = list.find("browser\tModernChrome\t");
  const std::size_t custom = list.find("140\tCustom\tCustom\tCustom Item\n");
  const std::size_t plugin = list.find("plugin\tswich\ton\tAlpha\n");
  EXPECT_EQ(first, 0u) << list;
  ASSERT_NE(browser, std::string::npos) << list;
  ASSERT_NE(custom, std::string::npos);
  ASSERT_NE(plugin, std::string::npos) << "an unticked plug-in is listed too";
  EXPECT_LT(browser, custom);
  EXPECT_EQ(plugin + std::string("plugin\tswich\ton\tAlpha\n").size(), list.size()) << "plug-ins come last";

  const std::string json = Run({"--list", "--json"});
  EXPECT_NE(json.find("{\"number\": 140, \"source\": \"builtin\", \"section\": \"Custom\""), std::string::npos);
  EXPECT_NE(json.find("{\"source\": \"plugin\", \"section\": \"swich\", \"key\": \"on\", \"name\": \"Alpha\", "
                      "\"group\": \"Plug-ins\", \"file\": " +
                      JsonString(ProgramFile("\\plus-in\\Alpha.vpe")) + "}"),
            std::string::npos)
      << json;
}

TEST_F(CommandLineItemsTest, ReportGivesEveryItemRowAndEntryItsSource) {
  WritePlugin("Alpha", "1");
  WritePlugin("Beta", "0");
  Select("WINDOWS", "temp");
  WriteFile(env.shell.windowsDirectory + "\\temp\\a.tmp", "12345");
  const std::string json = Run({"--preview", "--json"});
  for (const char* row : {"{\"item\": \"Windows Temp\", \"status\": \"Done\", \"source\": \"builtin\"}",
                          "{\"item\": \"Alpha\", \"status\": \"Done\", \"source\": \"plugin\"}",
                          "{\"item\": \"Analysis complete: nothing was erased.\", \"status\": \"\"}"})
    EXPECT_NE(json.find(row), std::string::npos) << row << "\n" << json;
  EXPECT_EQ(json.find("\"Beta\""), std::string::npos);
  EXPECT_NE(json.find(", \"bytes\": 5, \"source\": \"builtin\"}"), std::string::npos) << json;
}

}  // namespace
}  // namespace cv::test
