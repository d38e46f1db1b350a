#include "clean/clean_run.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <optional>

#include "clean/allerase.h"
#include "clean/allow_list_platform.h"
#include "clean/item_list.h"
#include "clean/path_guard.h"
#include "clean/run_context.h"
#include "clean/run_items.h"
#include "config/inifun.h"
#include "config/regfun.h"
#include "config/selection_schema.h"
#include "platform/overwrite.h"
#include "platform/text.h"

namespace cv {

namespace {

constexpr std::string_view kCompleted = "Task complete Successfully!";
// The last row of a preview: nothing was erased, whatever the rows above say.
constexpr std::string_view kAnalysisCompleted = "Analysis complete: nothing was erased.";
constexpr std::string_view kAlreadyRunning = "A cleaning run is already in progress.";
constexpr std::string_view kCancelled = "Cancelled";

// Thrown from the pump when a cancel was asked, caught at the end of the run.
struct RunCancelled {};

// Stands between the run and its watcher: forwards everything, stops the run
// after a pump when a cancel was asked (pumps come only between two files,
// two registry operations or two items, never inside a write), and tallies
// the bytes the open row's erased entries released, so a row stopped midway
// still counts what it erased.
class RunWatch : public RunObserver, public EraseSink {
 public:
  RunWatch(RunObserver& inner, EraseSink* sink, const CancelRequest* cancel)
      : inner_(inner), sink_(sink), cancel_(cancel) {}

  void Watch(const double* bytesReleased) { bytesReleased_ = bytesReleased; }
  bool RowOpen() const { return rowOpen_; }
  // The open row's share of the counter: what its finished calls counted, or
  // what it is known to have erased when that is more.
  double BytesWithOpenRow() const {
    if (!rowOpen_) return *bytesReleased_;
    return rowStart_ + std::max(*bytesReleased_ - rowStart_, rowErased_);
  }

  void RunStarting() override { inner_.RunStarting(); }
  void RowAdded(std::string_view item, std::string_view status) override {
    rowOpen_ = true;
    rowStart_ = bytesReleased_ ? *bytesReleased_ : 0;
    rowErased_ = 0;
    inner_.RowAdded(item, status);
  }
  void RowStatusChanged(std::string_view status) override {
    rowOpen_ = false;
    inner_.RowStatusChanged(status);
  }
  void RowSourceSet(std::string_view source) override { inner_.RowSourceSet(source); }
  void ProgressChanged(int value) override { inner_.ProgressChanged(value); }
  void StatusLabelChanged(std::string_view text) override { inner_.StatusLabelChanged(text); }
  void RunFinishing() override { inner_.RunFinishing(); }
  void ShowReport(const RunReport& report) override { inner_.ShowReport(report); }
  void StatisticsChanged(std::string_view lastClean, std::string_view statistics) override {
    inner_.StatisticsChanged(lastClean, statistics);
  }
  void ExitRequested() override { inner_.ExitRequested(); }
  void Pump() override {
    inner_.Pump();
    StopIfCancelled();
  }
  // Between two items too, so a run with nothing (left) to do still stops.
  void StopIfCancelled() const {
    if (cancel_ && cancel_->Requested()) throw RunCancelled{};
  }
  void Erased(const EraseEntry& entry) override {
    if (!entry.refused) rowErased_ += entry.bytes;
    if (sink_) sink_->Erased(entry);
  }

 private:
  RunObserver& inner_;
  EraseSink* sink_;
  const CancelRequest* cancel_;
  const double* bytesReleased_ = nullptr;
  bool rowOpen_ = false;
  double rowStart_ = 0;
  double rowErased_ = 0;
};

// Opens the row of a selected item.
void OpenRow(RunContext& run, const Item& item) {
  switch (item.row) {
    case ItemRow::kStatusLine:
      run.showstatus(item.displayName);
      break;
    case ItemRow::kPlain:
      run.observer.RowAdded(item.displayName, std::string(run.Activity()) + item.displayName);
      run.Pump();
      break;
  }
  run.observer.RowSourceSet(item.source);
}

// Marks the run as under way for exactly as long as it lasts.
class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningFlag() { flag_ = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

std::string PlainNumber(double value) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
}

double StoredFigure(std::string_view text) {
  text = TrimBlanks(text);
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() ? value : 0;
}

std::string MegabytesText(double bytes, char decimalSeparator) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.2f", bytes / 1048576.0);
  std::string text = buffer;
  for (char& c : text)
    if (c == '.') c = decimalSeparator;
  return text;
}

std::string StatisticsLine(double registryKeysCleaned, double bytesReleased, char decimalSeparator) {
  return "  Cleaned Registry Keys: " + PlainNumber(registryKeysCleaned) +
         "     Released HD Space:" + MegabytesText(bytesReleased, decimalSeparator) + "MB";
}

Cleaner::Cleaner(Platform& platform, const StartupValues& values) : platform_(platform), values_(values) {}

int OverwritePasses(std::string_view securely, std::string_view passes) {
  if (!SwitchIsOn(securely)) return 0;
  return passes == "3" ? kMaxOverwritePasses : kDefaultOverwritePasses;
}

RunResult Cleaner::CleanNow(const RunOptions& options, RunObserver& observer) {
  if (running_) {
    observer.StatusLabelChanged(kAlreadyRunning);
    RunResult refused;
    refused.outcome = RunOutcome::Refused;
    return refused;
  }
  RunningFlag runningFlag(running_);

  // Start of the run.
  observer.RunStarting();
  observer.ProgressChanged(1);
  observer.StatusLabelChanged("");

  // A clean limited to an analysis works through a view of the platform
  // that erases only what the analysis listed.
  std::optional<AllowListPlatform> limited;
  if (options.allowed) limited.emplace(platform_, *options.allowed);
  Platform& platform = limited ? limited->View() : platform_;

  RunWatch watch(observer, options.sink, options.cancel);
  Inifun ini(platform.files);
  regfun registry(platform.registry, platform.messages);
  const PathGuard guard = PathGuard::ForSystem(platform.shell, platform.files);
  allerase erase(platform, guard, options.mode, &watch, [&watch] { watch.Pump(); });
  RunContext run(platform, values_, ini, registry, erase, watch, &watch);
  watch.Watch(&run.BytesReleased);
  const std::string selectionFile = run.SelectionFile();
  erase.SetOverwritePasses(OverwritePasses(ini.ReadIniValue(selectionFile, kOptionsSection, kOptionSecurely),
                                           ini.ReadIniValue(selectionFile, kOptionsSection, kOptionSecurePasses)));
  // The items in their fixed order; each reads its switch when the run reaches it.
  const std::vector<Item> items = ItemsOfRun(platform_, options.extraItems);
  bool cancelled = false;
  try {
    for (const Item& item : items) {
      watch.StopIfCancelled();
      if (item.prepare) item.prepare(run);
      if (item.unavailable) {
        run.observer.RowAdded(item.displayName, *item.unavailable);
        run.observer.RowSourceSet(item.source);
      } else if (SwitchIsOn(ini.ReadIniValue(item.switchFile.empty() ? selectionFile : item.switchFile, item.section,
                                             item.key))) {
        run.BeginItem();
        OpenRow(run, item);
        if (item.action) item.action(run);
        run.SetRowStatus(run.TakeFinalStatus());
      }
      if (item.progress) observer.ProgressChanged(*item.progress);
    }
    observer.ProgressChanged(kPluginCheckpoint);
  } catch (const RunCancelled&) {
    cancelled = true;
    run.BytesReleased = watch.BytesWithOpenRow();
    if (watch.RowOpen()) observer.RowStatusChanged(kCancelled);
  }

  RunResult result;
  result.registryKeysCleaned = run.RegistryKeysCleaned;
  result.bytesReleased = run.BytesReleased;
  const bool preview = options.mode == EraseMode::Preview;

  // "Exit after cleaning" ends the program before any figure is stored. A
  // preview never ends the program, nor does a run the user stopped.
  if (!preview && !cancelled && SwitchIsOn(ini.ReadIniValue(selectionFile, kOptionsSection, kOptionExit))) {
    result.outcome = RunOutcome::ExitRequested;
    observer.ExitRequested();
    return result;
  }

  if (!cancelled) observer.ProgressChanged(100);
  observer.RunFinishing();
  // A preview changed nothing, so it stores no figures either. A cancelled
  // clean stores the figures of what it did.
  if (!preview) {
    ini.WriteIniValue(selectionFile, kOptionsSection, kOptionLastClean,
                      platform_.clock.FormatGeneralDate(platform_.clock.Now()));
    ini.WriteIniValue(selectionFile, kOptionsSection, kOptionRegNum, PlainNumber(run.RegistryKeysCleaned));
    ini.WriteIniValue(selectionFile, kOptionsSection, kOptionFileSize, PlainNumber(run.BytesReleased));
  }
  const std::string_view ending = cancelled ? kCancelled : preview ? kAnalysisCompleted : kCompleted;
  observer.RowAdded(ending, "");
  observer.StatusLabelChanged(ending);

  const char separator = platform_.clock.DecimalSeparator();
  RunReport report;
  report.unattended = options.unattended;
  report.registryKeysCleaned = run.RegistryKeysCleaned;
  report.bytesReleased = run.BytesReleased;
  report.sizeText = MegabytesText(run.BytesReleased, separator);
  const std::string keys = PlainNumber(run.RegistryKeysCleaned);
  const std::string figures = " Cleaned Registry Keys: " + keys + " Released HD Space:" + report.sizeText + "MB";
  report.cancelled = cancelled;
  report.messageTitle = cancelled ? std::string(kCancelled) : "Task Complete";
  report.messageText = (cancelled ? std::string(kCancelled) + "." : std::string(kCompleted)) + figures;
  report.popupKey = "www";
  report.popupTitle = "Clearvane";
  report.popupText = report.popupTitle + (cancelled ? " Clean was cancelled." : " Clean is done!") + figures;
  report.popupSoundFile = run.ProgramFile("\\Sounds\\Message.wav");
  observer.ShowReport(report);

  if (cancelled) result.outcome = RunOutcome::Cancelled;
  if (preview) {
    result.statistics = StatisticsLine(run.RegistryKeysCleaned, run.BytesReleased, separator);
  } else {
    result.lastClean = ini.ReadIniValue(selectionFile, kOptionsSection, kOptionLastClean);
    result.registryKeysCleaned = StoredFigure(ini.ReadIniValue(selectionFile, kOptionsSection, kOptionRegNum));
    result.bytesReleased = StoredFigure(ini.ReadIniValue(selectionFile, kOptionsSection, kOptionFileSize));
    result.statistics = StatisticsLine(result.registryKeysCleaned, result.bytesReleased, separator);
    observer.StatisticsChanged(result.lastClean, result.statistics);
  }
  return result;
}

}  // namespace cv
