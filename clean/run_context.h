#pragma once
// Everything a cleaning item's action works with: the platform, the INI and
// registry layers, the erasure primitives, the start-up values, the counters
// and the results row it owns.
#include <string>
#include <string_view>

#include "clean/allerase.h"
#include "clean/erase_entry.h"
#include "platform/fso.h"
#include "clean/run_observer.h"
#include "clean/startup_values.h"
#include "config/data_files.h"
#include "config/inifun.h"
#include "config/regfun.h"
#include "platform/platform.h"

namespace cv {

// The "command" entries of the side effects outside files and the registry;
// a clean limited to an analysis performs each only when the analysis listed it.
inline constexpr std::string_view kClearRecentDocumentsCommand = "Clear the recent documents list";
inline constexpr std::string_view kEmptyRecycleBinCommand = "Empty the Recycle Bin of all drives";
inline constexpr std::string_view kClearClipboardCommand = "Clear the clipboard";
inline constexpr std::string_view kClearHistoryStoreCommand = "Clear the Internet Explorer URL history store";
inline constexpr std::string_view kInternetOptionsKeystrokesCommand =
    "Keystrokes {U} {C} {ENTER} {ESC} {ESC} to the Internet Options dialog";

// A row's final text for a list file that exists but could not be read.
std::string ReadFailureStatus(Status status);

class RunContext {
 public:
  RunContext(Platform& platform, const StartupValues& values, Inifun& ini, regfun& registry, allerase& erase,
             RunObserver& observer, EraseSink* sink);

  Platform& platform;
  const StartupValues& values;
  Inifun& ini;
  regfun& reg;
  allerase& erase;
  FileSystemObject fso;
  RunObserver& observer;

  // The run's counters.
  double RegistryKeysCleaned = 0;
  double BytesReleased = 0;

  bool Preview() const { return erase.Mode() == EraseMode::Preview; }
  std::string ProgramFolder() const { return programFolder_; }
  // The program folder followed by `relative`, which begins with "\".
  std::string ProgramFile(std::string_view relative) const;
  std::string SelectionFile() const { return ProgramFile(kSelectionFileName); }

  // "Cleaning ", or "Analyzing " while previewing: the start of a row at work.
  std::string_view Activity() const { return Preview() ? "Analyzing " : "Cleaning "; }
  // Adds the item's row ("Cleaning <name> ......") after letting messages through.
  void showstatus(std::string_view name);
  // Writes the current row's second column now.
  void SetRowStatus(std::string_view text);
  // The row's final text, written by the run in place of "Done".
  void SetFinalStatus(std::string_view text);
  void Pump();

  // Side effects outside files and the registry. In preview they are reported
  // as "command" entries and not performed.
  ProcessId StartCommand(std::string_view commandLine, ShowMode show);
  // Starts a program hidden and polls it, pumping messages, until it ends.
  void RunHiddenAndWait(std::string_view commandLine);
  // The shell's own clearing operations. True when done (or, in preview, to
  // be done); a failed call is not reported as erased and the item counts
  // nothing for it.
  bool ClearRecentDocuments();
  bool EmptyRecycleBin();
  bool ClearClipboard();
  // A side effect the item performs itself through a platform service (the
  // URL history store, keystrokes): reported as a "command" entry. The item
  // performs it only when not previewing.
  void ReportSideEffect(std::string_view what) { ReportCommand(what); }
  // An entry the item erased (or would erase) by other means than the primitives.
  void ReportEntry(const EraseEntry& entry) {
    if (sink_) sink_->Erased(entry);
  }
  // A target the item itself declined as unsafe: reported as refused, not touched.
  void ReportRefused(EntryKind kind, std::string_view path) {
    if (sink_) sink_->Erased(EraseEntry{kind, std::string(path), 0, true});
  }

  // Set by the Office version detection that precedes the Office items.
  std::string OfficeVersion;

  // Frame bookkeeping.
  void BeginItem();
  std::string TakeFinalStatus();

 private:
  void ReportCommand(std::string_view what);
  bool ShellOperation(bool (Shell::*operation)(), std::string_view what);

  EraseSink* sink_;
  std::string programFolder_;
  std::string finalStatus_;
};

}  // namespace cv
