#include "app/main_controller.h"

#include <optional>

#include "app/analysis_texts.h"
#include "app/main_texts.h"
#include "config/data_files.h"
#include "config/regfun.h"
#include "config/selection_schema.h"

namespace cv {

MainController::MainController(Platform& platform, MainView& view, NotificationSystem& notifications)
    : platform_(platform), view_(view), notifications_(notifications), cleaner_(platform, values_) {}

std::string MainController::SelectionFile() const {
  return platform_.shell.ProgramFolder() + std::string(kSelectionFileName);
}

void MainController::Load(std::string_view startArgument) {
  // The notification queue exists already; there is no skin component: the
  // window's own look is fixed.
  view_.ShowPanel(Panel::Welcome);
  Inifun ini(platform_.files);
  state_ = LoadMainState(ini, SelectionFile(), platform_.clock.DecimalSeparator());
  state_.StartArgument = StartArgumentFrom(startArgument);
  restartArguments_ = RestartArguments(state_.StartArgument);
  view_.SetLastCleaned(state_.lastClean);
  view_.SetStatistics(state_.statistics);
  regfun registry(platform_.registry, platform_.messages);
  values_ = ComputeStartupValues(platform_, registry);
  view_.AddTrayIcon();
  // The boss key (state_.bossKeyWanted) is switched on by its own module.
}

bool MainController::StartsInTray() const { return IsStartupArgument(state_.StartArgument); }

void MainController::Activated() {
  if (!IsStartupArgument(state_.StartArgument)) return;
  view_.HideWindow();
  state_.StartArgument.clear();
  Inifun ini(platform_.files);
  if (SwitchIsOn(ini.ReadIniValue(SelectionFile(), kOptionsSection, kOptionWindowsStartup)))
    CleanNow(CleanStarter::Unattended);
}

void MainController::Execute(Command command) {
  switch (command) {
    case Command::ShowWelcome:
      view_.ShowPanel(Panel::Welcome);
      break;
    case Command::ShowStatusPanel:
      view_.ShowPanel(Panel::Status);
      break;
    case Command::CleaningSettings:
      // Another window or question is open (the tray menu still answers): nothing changes.
      if (modalOpen_) break;
      // The selection may change: an earlier analysis no longer says what a clean would do.
      DiscardAnalysis();
      OpenModal(DialogKind::CleaningSettings);
      break;
    case Command::SearchAndErase:
      OpenModal(DialogKind::SearchAndErase);
      break;
    case Command::CleanOptions:
      OpenModal(DialogKind::CleanOptions);
      break;
    case Command::FileShredder:
    case Command::RegistryCleaner:
      // A missing companion program does nothing and reports nothing.
      platform_.shell.StartProgram(CompanionCommandLine(platform_.shell.ProgramFolder(), command), ShowMode::Normal);
      break;
    case Command::Exit:
      ExitProcedure();
      break;
    case Command::MenuCleanNow:
      view_.ShowPanel(Panel::Status);
      CleanNow(CleanStarter::Window);
      break;
    case Command::StartCleaning:
      CleanNow(CleanStarter::Window);
      break;
    case Command::Cancel:
      CancelRun();
      break;
    case Command::Analyze:
      Analyze();
      break;
    case Command::RestartElevated:
      RestartElevated();
      break;
    case Command::Help:
      ShowHelp();
      break;
    case Command::Website:
      OpenWithShell(texts::kWebsite);
      break;
    case Command::TellAFriend:
      OpenWithShell(texts::kTellAFriend);
      break;
    case Command::About:
      view_.ShowAbout();
      break;
    case Command::TrayRestore:
      view_.RestoreWindow();
      break;
    case Command::TrayCleanNow:
      // Refused while a run is under way (that run keeps its own report), a
      // window is open or the user said "No": the window stays as it is.
      if (CleanNow(CleanStarter::TrayMenu) && !exiting_) view_.HideWindow();
      break;
  }
}

void MainController::TrayEvent(unsigned mouseMessage) {
  switch (DecodeTrayEvent(mouseMessage)) {
    case TrayAction::Restore:
      view_.RestoreWindow();
      break;
    case TrayAction::ShowMenu:
      view_.ShowTrayMenu();
      break;
    case TrayAction::None:
      break;
  }
}

bool MainController::CleanNow(CleanStarter starter) {
  if (exiting_) return false;
  if (modalOpen_) {
    // The open window may be changing what the run would read.
    platform_.messages.Show(texts::kRunRefusedWhileWindowOpen, texts::kApplicationTitle, kMbOk | kMbIconInformation);
    return false;
  }
  if (cleaner_.Running()) {
    cleaner_.CleanNow(RunOptions{}, *this);  // says so on the status label
    return false;
  }
  const bool unattended = starter != CleanStarter::Window;
  // Nothing is erased, and no browser is closed, before the user agrees.
  if (starter != CleanStarter::Unattended && !AskBeforeCleaning(analysisReady_ && !unattended)) return false;
  // After an analysis the clean erases only what it listed: the analysis asked.
  if (!unattended && !analysisReady_ && !OfferToCloseBrowsers()) return false;
  state_.UnattendedRun = unattended ? 1 : 0;
  RunOptions options;
  options.unattended = unattended;
  options.cancel = &cancel_;
  cancel_.Reset();
  // A clean the user starts after an analysis erases what it listed and
  // nothing else; any clean ends the analysis.
  std::optional<AllowList> allowed;
  if (analysisReady_ && !unattended) {
    allowed = analysis_.Allowed();
    options.allowed = &*allowed;
  }
  DiscardAnalysis();
  const RunResult result = cleaner_.CleanNow(options, *this);
  if (result.outcome == RunOutcome::ExitRequested) {
    ExitProcedure();
    return true;
  }
  state_.UnattendedRun = 0;
  state_.RegistryKeysCleaned = result.registryKeysCleaned;
  state_.BytesReleased = result.bytesReleased;
  // A run nobody watched leaves the window where it was: in the tray.
  if (!unattended) view_.ShowWindow();
  return true;
}

bool MainController::AskBeforeCleaning(bool limitedToAnalysis) {
  Inifun ini(platform_.files);
  if (SwitchIsOn(ini.ReadIniValue(SelectionFile(), kOptionsSection, kOptionDontAskBeforeCleaning))) return true;
  const AnalysisStore::RowFigures listed = analysis_.Totals();
  // Modal: no run starts, no window opens and the analysis stays while it is open.
  modalOpen_ = true;
  const CleanAnswer answer = view_.AskBeforeCleaning(CleanQuestionText(limitedToAnalysis ? &listed : nullptr));
  modalOpen_ = false;
  if (exiting_ || !answer.clean) return false;
  if (answer.dontAskAgain) ini.WriteIniValue(SelectionFile(), kOptionsSection, kOptionDontAskBeforeCleaning, "1");
  return true;
}

void MainController::OpenModal(DialogKind dialog) {
  // The tray menu still answers while a window is open: one at a time.
  if (modalOpen_) return;
  modalOpen_ = true;
  view_.OpenDialog(dialog);
  modalOpen_ = false;
}

void MainController::ScheduleTick() {
  if (exiting_ || !schedule_.Tick(platform_.clock.Now(), state_.scheduleDays, state_.ScheduleTime, cleaner_.Running()))
    return;
  CleanNow(CleanStarter::Unattended);
  if (!exiting_) view_.HideWindow();
}

void MainController::SetSchedule(const ScheduleDays& days, std::string_view time) {
  state_.scheduleDays = days;
  state_.ScheduleTime = time;
}

bool MainController::SessionEnding() {
  if (exiting_ || sessionEndCleaned_ || cleaner_.Running()) return false;
  Inifun ini(platform_.files);
  if (!SwitchIsOn(ini.ReadIniValue(SelectionFile(), kOptionsSection, kOptionWindowsShutdown))) return false;
  sessionEndCleaned_ = true;
  CleanNow(CleanStarter::Unattended);
  return true;
}

void MainController::Analyze() {
  if (exiting_ || modalOpen_) return;
  if (cleaner_.Running()) {
    cleaner_.CleanNow(RunOptions{}, *this);  // says so on the status label
    return;
  }
  DiscardAnalysis();
  if (!OfferToCloseBrowsers()) return;
  view_.ShowPanel(Panel::Status);
  RunOptions options;
  options.mode = EraseMode::Preview;
  options.sink = &analysis_;
  options.cancel = &cancel_;
  cancel_.Reset();
  analyzing_ = true;
  const RunResult result = cleaner_.CleanNow(options, *this);
  analyzing_ = false;
  if (result.outcome == RunOutcome::Cancelled) {
    analysis_.Clear();
    view_.SetStatusLabel(texts::kAnalysisCancelled);
    return;
  }
  if (result.outcome != RunOutcome::Completed) return;
  analysisReady_ = true;
  view_.SetAnalysisColumns(true);
  // The last row is the run's closing line, not an item.
  for (std::size_t row = 0; row + 1 < analysis_.RowCount(); ++row) {
    const AnalysisStore::RowFigures& figures = analysis_.Figures(row);
    view_.SetRowFigures(static_cast<int>(row), std::to_string(figures.files), SizeText(figures.bytes));
  }
  view_.ShowAnalysis(&analysis_);
  view_.SetStatusLabel(texts::AnalysisSummary(analysis_.Totals()));
}

bool MainController::OfferToCloseBrowsers() {
  if (!browserCloser_) return true;
  // The questions and the wait are modal: no other run starts meanwhile.
  modalOpen_ = true;
  OfferToCloseRunningBrowsers(platform_, values_, SelectionFile(), *browserCloser_);
  modalOpen_ = false;
  return !exiting_;
}

void MainController::CancelRun() {
  if (cleaner_.Running()) cancel_.Request();
}

void MainController::DiscardAnalysis() {
  if (!analysisReady_ && analysis_.RowCount() == 0) return;
  analysisReady_ = false;
  view_.ShowAnalysis(nullptr);
  view_.SetAnalysisColumns(false);
  analysis_.Clear();
}

void MainController::NotificationClicked(std::string_view key) {
  platform_.messages.Show(ClickedMessage(key), texts::kApplicationTitle, kMbOk);
}

void MainController::ViewLicense() {
  platform_.shell.StartProgram(
      LicenseCommandLine(platform_.shell.GetWindowsDirectory(), platform_.shell.ProgramFolder()), ShowMode::Normal);
}

void MainController::ExitProcedure() {
  if (exiting_) return;
  exiting_ = true;
  // Hot keys and the window procedure belong to the boss key, which is not
  // switched on by this window.
  view_.RemoveTrayIcon();
  view_.EndProgram();
}

bool MainController::CanRestartElevated() const { return !platform_.shell.IsElevated(); }

void MainController::RestartElevated() {
  if (exiting_ || modalOpen_ || !CanRestartElevated()) return;
  if (cleaner_.Running()) {
    // Ending now would cut the run short; its report is still to come.
    platform_.messages.Show(texts::kRestartAfterRun, texts::kApplicationTitle, kMbOk | kMbIconInformation);
    return;
  }
  modalOpen_ = true;  // the consent prompt is modal
  const ElevatedStart started = view_.StartElevatedCopy(restartArguments_);
  modalOpen_ = false;
  switch (started.outcome) {
    case ElevatedStart::Outcome::Started:
      ExitProcedure();
      break;
    case ElevatedStart::Outcome::Refused:
      // The user said no at the prompt: nothing to say about it.
      break;
    case ElevatedStart::Outcome::Failed:
      platform_.messages.Show(std::string(texts::kRestartFailed) + started.reason, texts::kApplicationTitle,
                              kMbOk | kMbIconExclamation);
      break;
  }
}

void MainController::ShowHelp() {
  platform_.shell.StartProgram(HelpCommandLine(values_.WindowsFolder, platform_.shell.ProgramFolder()),
                               ShowMode::Normal);
}

void MainController::OpenWithShell(std::string_view target) { platform_.shell.OpenDocument(target); }

void MainController::RunStarting() {
  view_.ShowPanel(Panel::Status);
  view_.SetBusy(true);
  view_.SetStartEnabled(false);
  view_.ClearRows();
}

void MainController::RowAdded(std::string_view item, std::string_view status) {
  if (analyzing_) analysis_.BeginRow(item);
  view_.AddRow(item, status);
}
void MainController::RowStatusChanged(std::string_view status) { view_.SetRowStatus(status); }
void MainController::ProgressChanged(int value) { view_.SetProgress(value); }
void MainController::StatusLabelChanged(std::string_view text) { view_.SetStatusLabel(text); }
void MainController::Pump() { view_.PumpMessages(); }

void MainController::RunFinishing() {
  view_.SetStartEnabled(true);
  view_.SetBusy(false);
}

void MainController::ShowReport(const RunReport& report) {
  // An analysis reports in the window itself: its list, details and status line.
  if (analyzing_) return;
  if (report.unattended) {
    notifications_.PostNotification(report.popupKey, report.popupTitle, report.popupText, true, true, 0,
                                    report.popupSoundFile);
    state_.UnattendedRun = 0;
    return;
  }
  platform_.messages.Show(report.messageText, report.messageTitle, kMbOk | kMbIconInformation);
}

void MainController::StatisticsChanged(std::string_view lastClean, std::string_view statistics) {
  state_.lastClean = lastClean;
  state_.statistics = statistics;
  view_.SetLastCleaned(lastClean);
  view_.SetStatistics(statistics);
}

}  // namespace cv
