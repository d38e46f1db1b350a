// help.chm as the build makes it from help/: a compiled help file holding
// every page, every page in the project and the contents, and no link that
// leads nowhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

namespace cv {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(HelpFile, HoldsEveryPageAndEveryLinkLeadsToOne) {
  const fs::path pages = fs::path(CV_SOURCE_DIR) / "help";
  const std::string chm = Read(fs::path(CV_BINARY_DIR) / "help.chm");
  ASSERT_GE(chm.size(), 4u) << "the build did not make help.chm";
  EXPECT_EQ(chm.substr(0, 4), "ITSF");
  const std::string project = Read(pages / "help.hhp");
  const std::string contents = Read(pages / "toc.hhc");
  EXPECT_NE(project.find("Default topic=index.html"), std::string::npos);

  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(pages))
    if (entry.path().extension() == ".html") names.insert(entry.path().filename().string());
  ASSERT_FALSE(names.empty());
  const std::regex link("href=\"([^\"#]+)");
  for (const std::string& name : names) {
    EXPECT_NE(chm.find("/" + name), std::string::npos) << name << " is not in help.chm";
    EXPECT_NE(project.find("\n" + name), std::string::npos) << name << " is not in help.hhp";
    EXPECT_NE(contents.find("value=\"" + name + "\""), std::string::npos) << name << " is not in the contents";
    const std::string html = Read(pages / name);
    EXPECT_NE(html.find("<title>"), std::string::npos) << name;
    for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
      const std::string target = (*it)[1];
      EXPECT_TRUE(names.count(target) || target == "help.css") << name << " links to " << target;
    }
  }
}

}  // namespace
}  // namespace cv
