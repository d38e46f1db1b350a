#pragma once
// The Office service: asks the installed word processor for its version
// through automation, as the Office items need it to find their keys.
#include <optional>
#include <string>

namespace cv {

class OfficeDetector {
 public:
  virtual ~OfficeDetector() = default;
  // The "Version" property of the word processor's automation object
  // ("Word.Application.8"), after which the instance is told to quit.
  // nullopt when the object cannot be created (no Office installed); an
  // empty text when it was created but its version could not be read.
  virtual std::optional<std::string> WordVersion() = 0;
};

}  // namespace cv
