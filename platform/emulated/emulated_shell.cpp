#include "platform/emulated/emulated_shell.h"

#include <cstdio>

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

ServiceState EmulatedShell::QueryServiceState(std::string_view serviceName) {
  const auto it = services.find(AsciiLower(serviceName));
  return it == services.end() ? ServiceState::kUnknown : it->second;
}

void EmulatedShell::UnsetEnvironmentVariable(std::string_view name) { environment_.erase(AsciiLower(name)); }

ProcessId EmulatedShell::StartProgram(std::string_view commandLine, ShowMode show) {
  for (const auto& failing : failingPrograms)
    if (commandLine.substr(0, failing.size()) == failing) return 0;
  started.push_back({std::string(commandLine), show});
  const ProcessId id = nextProcess_++;
  pollsLeft_[id] = processRunsForPolls;
  return id;
}

bool EmulatedShell::IsProcessRunning(ProcessId process) {
  auto it = pollsLeft_.find(process);
  if (it == pollsLeft_.end() || it->second <= 0) return false;
  --it->second;
  return true;
}

bool EmulatedShell::OpenDocument(std::string_view target) {
  opened.emplace_back(target);
  return true;
}

bool EmulatedShell::ClearRecentDocuments() {
  if (clearingFails) return false;
  ++recentDocumentsCleared;
  return true;
}

bool EmulatedShell::EmptyRecycleBin() {
  if (clearingFails) return false;
  ++recycleBinEmptied;
  return true;
}

bool EmulatedShell::ClearClipboard() {
  if (clearingFails) return false;
  ++clipboardCleared;
  return true;
}

int RecordingMessageBoxes::Show(std::string_view text, std::string_view caption, unsigned style) {
  shown.push_back({std::string(text), std::string(caption), style});
  if (answers.empty()) return kIdOk;
  int answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

std::string FixedClock::FormatGeneralDate(const LocalTime& t) {
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  char text[64];
  std::snprintf(text, sizeof text, "%d/%d/%d %d:%02d:%02d %s", t.month, t.day, t.year, hour12, t.minute, t.second,
                t.hour < 12 ? "AM" : "PM");
  return text;
}

}  // namespace cv::emulated
