#pragma once
// An Office installation as a test sets it up: the version text the word
// processor's automation object would report, or none at all.
#include <optional>
#include <string>

#include "platform/office.h"

namespace cv::emulated {

class EmulatedOffice : public OfficeDetector {
 public:
  EmulatedOffice() = default;
  explicit EmulatedOffice(std::optional<std::string> version) : version(std::move(version)) {}

  std::optional<std::string> WordVersion() override;

  // nullopt: no Office installed.
  std::optional<std::string> version;
  // How many times the version was asked for.
  int queries = 0;
};

}  // namespace cv::emulated
