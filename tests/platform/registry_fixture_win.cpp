#include <gtest/gtest.h>

// The SDK headers need win.h first.
// clang-format off
#include "platform/win32/win.h"
#include <shlwapi.h>
// clang-format on

#include <string>

#include "platform/win32/registry_win.h"
#include "platform/win32/text_win.h"
#include "registry_fixture.h"

namespace cv::test {
namespace {

// A key of its own per fixture: process id and a counter, so suites run in
// parallel never share one. It is removed before use (a crashed run may have
// left it) and after.
class Win32Fixture : public RegistryFixture {
 public:
  Win32Fixture() {
    static unsigned counter = 0;
    base_ = "Software\\ClearvaneTest\\" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
    Remove();
    RegKey key = 0;
    EXPECT_EQ(registry_.CreateKey(root(), base_, key), kOk);
    registry_.CloseKey(key);
  }
  ~Win32Fixture() override {
    Remove();
    // The parent goes too once the last test key is gone.
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\ClearvaneTest");
  }
  Registry& registry() override { return registry_; }
  const std::string& base() const override { return base_; }

 private:
  void Remove() { ::SHDeleteKeyW(HKEY_CURRENT_USER, win32::Widen(base_).c_str()); }

  win32::Win32Registry registry_;
  std::string base_;
};

}  // namespace

std::unique_ptr<RegistryFixture> MakeRegistryFixture() { return std::make_unique<Win32Fixture>(); }

}  // namespace cv::test
