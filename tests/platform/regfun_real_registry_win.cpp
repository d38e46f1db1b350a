// The registry layer on the real registry: the value-buffer rule and bare
// REG_SZ strings with their terminating NUL behave there as on the emulated one.
#include <gtest/gtest.h>

#include <string>

#include "config/regfun.h"
#include "reg_fixture_text.h"
#include "registry_fixture.h"

namespace cv::test {
namespace {

class NoMessages : public MessageBoxes {
 public:
  int Show(std::string_view text, std::string_view, unsigned) override {
    ADD_FAILURE() << "unexpected message: " << text;
    return kIdOk;
  }
};

class RegfunOnRealRegistry : public ::testing::Test {
 protected:
  std::string Full(const std::string& relative) { return "HKEY_CURRENT_USER\\" + fixture_->Path(relative); }

  std::unique_ptr<RegistryFixture> fixture_ = MakeRegistryFixture();
  NoMessages messages_;
  regfun reg_{fixture_->registry(), messages_};
};

TEST_F(RegfunOnRealRegistry, WrittenStringsReadBackWholeAndMissingKeysStayMissing) {
  reg_.WriteRegString(Full("App"), "url1", "http://example.com/");
  EXPECT_EQ(reg_.LastStatus(), kErrFileNotFound);
  EXPECT_EQ(reg_.ReadRegString(Full("App"), "url1"), "Error");

  reg_.CreateRegKey(Full("App\\Sub"));
  reg_.WriteRegString(Full("App\\Sub"), "url1", "http://example.com/é");
  ScopedRegKey key(fixture_->registry());
  ASSERT_EQ(fixture_->registry().OpenKey(kHkeyCurrentUser, fixture_->Path("App\\Sub"), kKeyRead, key.out()), kOk);
  ExpectValue(fixture_->registry(), key.get(), "url1", kRegSz, "http://example.com/é\0"s);
  EXPECT_EQ(reg_.ReadRegString(Full("App\\Sub"), "url1"), "http://example.com/é");
}

TEST_F(RegfunOnRealRegistry, TheValueBufferHoldsTwoHundredFiftyFourCharacters) {
  reg_.CreateRegKey(Full("App"));
  reg_.WriteRegString(Full("App"), "Fits", std::string(254, 'a'));
  reg_.WriteRegString(Full("App"), "TooLong", std::string(255, 'b'));
  reg_.WriteRegString(Full("App"), "Padded", "  word  ");
  EXPECT_EQ(reg_.ReadRegString(Full("App"), "Fits"), std::string(254, 'a'));
  EXPECT_EQ(reg_.ReadRegString(Full("App"), "TooLong"), "Error");
  EXPECT_EQ(reg_.ReadRegString(Full("App"), "Padded"), "word  ");
  std::uint32_t type = 0;
  EXPECT_EQ(reg_.ReadRegValueAt(kHkeyCurrentUser, fixture_->Path("App"), "Padded", type), "  word  ");
  EXPECT_EQ(type, kRegSz);
}

}  // namespace
}  // namespace cv::test
