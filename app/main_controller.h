#pragma once
// The main window's behaviour without the window: load, first activation,
// commands, tray events, the cleaning run it watches, and the exit
// procedure. A MainView shows the results; the Win32 window is one view,
// the tests bring another.
#include <string>
#include <string_view>

#include "app/analysis.h"
#include "app/browser_close_offer.h"
#include "app/clean_question.h"
#include "app/main_model.h"
#include "app/schedule.h"
#include "clean/clean_run.h"
#include "clean/startup_values.h"
#include "notify/notification.h"
#include "platform/platform.h"

namespace cv {

enum class Panel { Welcome, Status };
// Who started a clean: the user at the window (reported by message box), the
// user through the tray menu (reported by pop-up, the window stays in the
// tray), or nobody (schedule, start-up, session end).
enum class CleanStarter { Window, TrayMenu, Unattended };
// How the start of the elevated copy went: started, refused by the user at
// the consent prompt, or failed with the system's reason.
struct ElevatedStart {
  enum class Outcome { Started, Refused, Failed };
  Outcome outcome = Outcome::Failed;
  std::string reason;
};

// Windows that the commands open modally.
enum class DialogKind { CleaningSettings, SearchAndErase, CleanOptions };

class MainView {
 public:
  virtual ~MainView() = default;
  virtual void ShowPanel(Panel panel) = 0;
  virtual void ClearRows() = 0;
  virtual void AddRow(std::string_view item, std::string_view status) = 0;
  virtual void SetRowStatus(std::string_view status) = 0;
  virtual void SetProgress(int value) = 0;
  virtual void SetStatusLabel(std::string_view text) = 0;
  virtual void SetStartEnabled(bool enabled) = 0;
  virtual void SetBusy(bool busy) = 0;  // hourglass pointer
  virtual void PumpMessages() = 0;
  virtual void SetLastCleaned(std::string_view text) = 0;  // Label12
  virtual void SetStatistics(std::string_view text) = 0;   // Label14
  virtual void HideWindow() = 0;
  virtual void RestoreWindow() = 0;  // show, window state normal
  virtual void ShowWindow() = 0;     // show, window state kept
  virtual void ShowTrayMenu() = 0;   // foreground, then the menu at the mouse
  virtual void ShowAbout() = 0;
  // The question before a clean the user started, modal over the window.
  virtual CleanAnswer AskBeforeCleaning(std::string_view question) = 0;
  virtual void OpenDialog(DialogKind dialog) = 0;
  // Starts this program again with administrator rights ("runas"), from
  // the same program folder and with `arguments`. What this one holds that
  // the copy takes at its start (the boss key's hot keys, the window's
  // place) is handed over first, and taken back when no copy started.
  virtual ElevatedStart StartElevatedCopy(std::string_view arguments) = 0;
  virtual void AddTrayIcon() = 0;
  virtual void RemoveTrayIcon() = 0;
  // Unloads the splash if it is still there, and ends the program.
  virtual void EndProgram() = 0;
  // Analysis mode: the results list's "Files" and "Size" columns, each row's
  // figures, and the details of a finished analysis (null hides them).
  virtual void SetAnalysisColumns(bool shown) {}
  virtual void SetRowFigures(int row, std::string_view files, std::string_view size) {}
  virtual void ShowAnalysis(const AnalysisStore* analysis) {}
};

class MainController : private RunObserver {
 public:
  MainController(Platform& platform, MainView& view, NotificationSystem& notifications);

  // Form_Load, in its order. `startArgument` is the command line's tail.
  void Load(std::string_view startArgument);
  // Form_Activate: a "min" start hides the window and may clean unattended.
  void Activated();
  // Started for the tray ("min"): the window is never shown on the way there.
  bool StartsInTray() const;
  void Execute(Command command);
  void TrayEvent(unsigned mouseMessage);
  // CleanNow, with UnattendedRun set unless the window started it. A clean
  // the user started asks first (unless told not to). A request made while a
  // run is under way is refused by the run and changes nothing. True when a
  // run was made.
  bool CleanNow(CleanStarter starter);
  // Timer1: a matching minute starts one unattended run, then hides the window.
  void ScheduleTick();
  // The options dialog's "OK" hands over the stored schedule.
  void SetSchedule(const ScheduleDays& days, std::string_view time);
  // Windows is ending the session: with "Windows Shutdown" on, one unattended
  // run of the ticked items. True when it ran.
  bool SessionEnding();
  // The session goes on after all (another program refused): the next end
  // cleans again.
  void SessionEndCancelled() { sessionEndCleaned_ = false; }
  // A preview run whose entries are kept, row by row, for the details and
  // for the next clean started at the window, which then erases only them.
  void Analyze();
  // Stops the run under way at its next safe point.
  void CancelRun();
  const AnalysisStore& Analysis() const { return analysis_; }
  bool AnalysisReady() const { return analysisReady_; }
  // Who closes a running browser when the user agrees to before a run
  // started at the window; none (the default) asks nothing.
  void SetBrowserCloser(BrowserCloser* closer) { browserCloser_ = closer; }
  // The pop-up's description was clicked.
  void NotificationClicked(std::string_view key);
  // The about box's "View License Agreement".
  void ViewLicense();
  // Image10, the menus' and the tray's "Exit", and "Exit after cleaning".
  void ExitProcedure();
  // File "Restart as administrator": an elevated copy starts, then this one
  // exits as "Exit" does. Offered only without administrator rights.
  bool CanRestartElevated() const;
  void RestartElevated();

  const MainState& State() const { return state_; }
  const StartupValues& Values() const { return values_; }
  bool Running() const { return cleaner_.Running(); }
  std::string SelectionFile() const;

 private:
  // RunObserver: the window watches the run.
  void RunStarting() override;
  void RowAdded(std::string_view item, std::string_view status) override;
  void RowStatusChanged(std::string_view status) override;
  void ProgressChanged(int value) override;
  void StatusLabelChanged(std::string_view text) override;
  void Pump() override;
  void RunFinishing() override;
  void ShowReport(const RunReport& report) override;
  void StatisticsChanged(std::string_view lastClean, std::string_view statistics) override;

  // Before a clean the user started: the question, unless "Do not ask
  // again" was chosen. True to clean.
  bool AskBeforeCleaning(bool limitedToAnalysis);
  // Before a run the user started: offers to close the ticked browsers that
  // run. False when the program is ending meanwhile.
  bool OfferToCloseBrowsers();
  // Opens a modal window; while it is open no run starts and no second window opens.
  void OpenModal(DialogKind dialog);
  void DiscardAnalysis();
  void ShowHelp();
  void OpenWithShell(std::string_view target);

  Platform& platform_;
  MainView& view_;
  NotificationSystem& notifications_;
  MainState state_;
  std::string restartArguments_;
  StartupValues values_;
  Cleaner cleaner_;
  ScheduleCheck schedule_;
  bool sessionEndCleaned_ = false;
  CancelRequest cancel_;
  AnalysisStore analysis_;
  bool analyzing_ = false;
  bool analysisReady_ = false;
  bool exiting_ = false;
  bool modalOpen_ = false;
  BrowserCloser* browserCloser_ = nullptr;
};

}  // namespace cv
