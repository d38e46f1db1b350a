#pragma once
// The registry the contract suite runs against: the emulated one natively,
// Wine's (or Windows') real registry in the Windows build. Each fixture owns a
// private, empty test key that it removes again when it goes.
#include <memory>
#include <string>

#include "platform/registry.h"

namespace cv::test {

class RegistryFixture {
 public:
  virtual ~RegistryFixture() = default;
  virtual Registry& registry() = 0;
  // The test key: `base()` below `root()`, present and empty at the start.
  RegKey root() const { return kHkeyCurrentUser; }
  virtual const std::string& base() const = 0;
  // `base()` followed by "\" and `relative` (or `base()` alone).
  std::string Path(const std::string& relative = {}) const {
    return relative.empty() ? base() : base() + "\\" + relative;
  }
};

std::unique_ptr<RegistryFixture> MakeRegistryFixture();

}  // namespace cv::test
