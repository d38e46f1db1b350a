#include "platform/emulated/emulated_shell.h"

#include "platform/text.h"

namespace cv::emulated {

std::optional<std::string> EmulatedShell::GetEnvironmentVariable(std::string_view name) {
  auto it = environment_.find(AsciiLower(name));
  if (it == environment_.end()) return std::nullopt;
  return it->second;
}

void EmulatedShell::SetEnvironmentVariable(std::string_view name, std::string_view value) {
  environment_[AsciiLower(name)] = std::string(value);
}

void EmulatedShell::UnsetEnvironmentVariable(std::string_view name) { environment_.erase(AsciiLower(name)); }

int RecordingMessageBoxes::Show(std::string_view text, std::string_view caption, unsigned style) {
  shown.push_back({std::string(text), std::string(caption), style});
  if (answers.empty()) return kIdOk;
  int answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

}  // namespace cv::emulated
