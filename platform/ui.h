#pragma once
// Message boxes go through this service so that tests can see what the
// program would have shown, and unattended runs can answer them.
#include <string_view>

namespace cv {

inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbYesNo = 0x4;

inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows a modal message box and returns the button pressed (IDOK, IDYES ...).
  virtual int Show(std::string_view text, std::string_view caption, unsigned style) = 0;
};

}  // namespace cv
