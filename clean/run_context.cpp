#include "clean/run_context.h"

#include <chrono>
#include <thread>

namespace cv {

std::string ReadFailureStatus(Status status) {
  return status == kErrFileTooLarge ? "Fail, File too large!" : "Fail, Can't read file!";
}

RunContext::RunContext(Platform& platform, const StartupValues& values, Inifun& ini, regfun& registry, allerase& erase,
                       RunObserver& observer, EraseSink* sink)
    : platform(platform),
      values(values),
      ini(ini),
      reg(registry),
      erase(erase),
      fso(platform.files),
      observer(observer),
      sink_(sink),
      programFolder_(platform.shell.ProgramFolder()) {}

std::string RunContext::ProgramFile(std::string_view relative) const { return programFolder_ + std::string(relative); }

void RunContext::showstatus(std::string_view name) {
  observer.Pump();
  const std::string status = std::string(Activity()) + std::string(name) + " ......";
  observer.RowAdded(name, status);
  observer.StatusLabelChanged(status);
}

void RunContext::SetRowStatus(std::string_view text) { observer.RowStatusChanged(text); }

void RunContext::SetFinalStatus(std::string_view text) { finalStatus_ = text; }

void RunContext::Pump() { observer.Pump(); }

void RunContext::BeginItem() { finalStatus_.clear(); }

std::string RunContext::TakeFinalStatus() {
  std::string status = finalStatus_.empty() ? std::string("Done") : finalStatus_;
  finalStatus_.clear();
  return status;
}

void RunContext::ReportCommand(std::string_view what) {
  if (sink_) sink_->Erased(EraseEntry{EntryKind::Command, std::string(what), 0, false});
}

ProcessId RunContext::StartCommand(std::string_view commandLine, ShowMode show) {
  if (Preview()) {
    ReportCommand(commandLine);
    return 0;
  }
  const ProcessId process = platform.shell.StartProgram(commandLine, show);
  if (process != 0) ReportCommand(commandLine);
  return process;
}

void RunContext::RunHiddenAndWait(std::string_view commandLine) {
  const ProcessId process = StartCommand(commandLine, ShowMode::Hidden);
  // Poll until it ends, keeping the window responsive; the short sleep keeps
  // the poll from spinning a core at full load.
  while (platform.shell.IsProcessRunning(process)) {
    observer.Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool RunContext::ShellOperation(bool (Shell::*operation)(), std::string_view what) {
  if (!Preview() && !(platform.shell.*operation)()) return false;
  ReportCommand(what);
  return true;
}

bool RunContext::ClearRecentDocuments() {
  return ShellOperation(&Shell::ClearRecentDocuments, kClearRecentDocumentsCommand);
}

bool RunContext::EmptyRecycleBin() { return ShellOperation(&Shell::EmptyRecycleBin, kEmptyRecycleBinCommand); }

bool RunContext::ClearClipboard() { return ShellOperation(&Shell::ClearClipboard, kClearClipboardCommand); }

}  // namespace cv
