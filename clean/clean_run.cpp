#include "clean/clean_run.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "clean/allerase.h"
#include "clean/extra_items.h"
#include "clean/item_groups.h"
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
constexpr std::string_view kAlreadyRunning = "A cleaning run is already in progress.";

using ActionTable = std::array<ItemActionFn, kRunItemCount + 1>;

ActionTable BindActions() {
  ActionTable actions{};
  for (auto group : {InternetExplorerItems(), MozillaOperaItems(), OtherBrowserItems(), WindowsItems(),
                     MessengerItems(), OfficeItems(), MailItems(), CustomItems()}) {
    for (const ItemBinding& binding : group)
      if (binding.number >= 1 && binding.number <= static_cast<int>(kRunItemCount))
        actions[static_cast<size_t>(binding.number)] = binding.action;
  }
  return actions;
}

// The numeric value of a stored figure: leading blanks skipped, then the
// longest number that parses; anything else reads as 0.
double ParseFigure(std::string_view text) {
  text = TrimBlanks(text);
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() ? value : 0;
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
  if (!DialogTicksSwitch(securely)) return 0;
  return passes == "3" ? kMaxOverwritePasses : kDefaultOverwritePasses;
}

RunResult Cleaner::CleanNow(const RunOptions& options, RunObserver& observer) {
  if (running_) {
    observer.StatusLabelChanged(kAlreadyRunning);
    return RunResult{RunOutcome::Refused};
  }
  RunningFlag runningFlag(running_);

  // Start of the run.
  observer.RunStarting();
  observer.ProgressChanged(1);
  observer.StatusLabelChanged("");

  Inifun ini(platform_.files);
  regfun registry(platform_.registry, platform_.messages);
  const PathGuard guard = PathGuard::ForSystem(platform_.shell, platform_.files);
  allerase erase(platform_, guard, options.mode, options.sink, [&observer] { observer.Pump(); });
  RunContext run(platform_, values_, ini, registry, erase, observer, options.sink);
  const std::string selectionFile = run.SelectionFile();
  erase.SetOverwritePasses(OverwritePasses(ini.ReadIniValue(selectionFile, kOptionsSection, kOptionSecurely),
                                           ini.ReadIniValue(selectionFile, kOptionsSection, kOptionSecurePasses)));
  std::vector<ExtraItem> loadedExtras;
  if (!options.extraItems) loadedExtras = LoadExtraItems(platform_);
  const std::span<const ExtraItem> extras = options.extraItems ? *options.extraItems : loadedExtras;

  // The items, in their fixed order; the other sources' items before the custom item.
  static const ActionTable actions = BindActions();
  for (const RunItem& item : RunItems()) {
    if (item.number == kOfficeDetectionBeforeItem) DetectOfficeVersion(run);
    if (item.number == kCustomItemNumber) RunExtraItems(run, extras);
    const std::string value = ini.ReadIniValue(selectionFile, item.section, item.key);
    if (SelectsItem(item, value)) {
      run.BeginItem();
      run.showstatus(item.displayName);
      if (ItemActionFn action = actions[static_cast<size_t>(item.number)]) action(run);
      run.SetRowStatus(run.TakeFinalStatus());
    }
    if (item.progress) observer.ProgressChanged(*item.progress);
  }
  RunPlugins(run);
  observer.ProgressChanged(kPluginCheckpoint);

  RunResult result;
  result.registryKeysCleaned = run.RegistryKeysCleaned;
  result.bytesReleased = run.BytesReleased;
  const bool preview = options.mode == EraseMode::Preview;

  // "Exit after cleaning" ends the program before any figure is stored. A
  // preview never ends the program.
  if (!preview && ini.ReadIniValue(selectionFile, "Options", "exit") == "1") {
    result.outcome = RunOutcome::ExitRequested;
    observer.ExitRequested();
    return result;
  }

  observer.ProgressChanged(100);
  observer.RunFinishing();
  // A preview changed nothing, so it stores no figures either.
  if (!preview) {
    ini.WriteIniValue(selectionFile, "Options", "lastclean", platform_.clock.FormatGeneralDate(platform_.clock.Now()));
    ini.WriteIniValue(selectionFile, "Options", "regnum", PlainNumber(run.RegistryKeysCleaned));
    ini.WriteIniValue(selectionFile, "Options", "filesize", PlainNumber(run.BytesReleased));
  }
  observer.RowAdded(kCompleted, "");
  observer.StatusLabelChanged(kCompleted);

  const char separator = platform_.clock.DecimalSeparator();
  RunReport report;
  report.unattended = options.unattended;
  report.registryKeysCleaned = run.RegistryKeysCleaned;
  report.bytesReleased = run.BytesReleased;
  report.sizeText = MegabytesText(run.BytesReleased, separator);
  const std::string keys = PlainNumber(run.RegistryKeysCleaned);
  report.messageTitle = "Task Complete";
  report.messageText =
      std::string(kCompleted) + " Cleaned Registry Keys: " + keys + " Released HD Space:" + report.sizeText + "MB";
  report.popupKey = "www";
  report.popupTitle = "Clearvane";
  report.popupText = report.popupTitle + " Clean is done!" + " Cleaned Registry Keys: " + keys +
                     " Released HD Space:" + report.sizeText + "MB";
  report.popupSoundFile = run.ProgramFile("\\Sounds\\Message.wav");
  observer.ShowReport(report);

  if (preview) {
    result.statistics = StatisticsLine(run.RegistryKeysCleaned, run.BytesReleased, separator);
  } else {
    result.lastClean = ini.ReadIniValue(selectionFile, "Options", "lastclean");
    result.registryKeysCleaned = ParseFigure(ini.ReadIniValue(selectionFile, "Options", "regnum"));
    result.bytesReleased = ParseFigure(ini.ReadIniValue(selectionFile, "Options", "filesize"));
    result.statistics = StatisticsLine(result.registryKeysCleaned, result.bytesReleased, separator);
    observer.StatisticsChanged(result.lastClean, result.statistics);
  }
  return result;
}

}  // namespace cv
