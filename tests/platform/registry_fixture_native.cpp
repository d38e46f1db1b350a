#include <gtest/gtest.h>

#include "platform/emulated/emulated_registry.h"
#include "registry_fixture.h"

namespace cv::test {
namespace {

class EmulatedFixture : public RegistryFixture {
 public:
  EmulatedFixture() {
    RegKey key = 0;
    EXPECT_EQ(registry_.CreateKey(root(), base_, key), kOk);
    registry_.CloseKey(key);
  }
  Registry& registry() override { return registry_; }
  const std::string& base() const override { return base_; }

 private:
  emulated::EmulatedRegistry registry_;
  std::string base_ = "Software\\ClearvaneTest\\emulated";
};

}  // namespace

std::unique_ptr<RegistryFixture> MakeRegistryFixture() { return std::make_unique<EmulatedFixture>(); }

}  // namespace cv::test
