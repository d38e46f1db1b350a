#pragma once
// How a cleaning run reports to whoever watches it: the main window, the
// command line, or a test.
#include <string>
#include <string_view>

namespace cv {

// The report at the end of a completed or cancelled run: a message box for a run the
// user started, a pop-up request for an unattended one.
struct RunReport {
  bool unattended = false;
  bool cancelled = false;  // stopped by a cancel: the figures are those so far
  double registryKeysCleaned = 0;
  double bytesReleased = 0;
  std::string sizeText;        // bytes / 1048576, "0.00"
  std::string messageTitle;    // "Task Complete"
  std::string messageText;     // the message box text
  std::string popupKey;        // "www"
  std::string popupTitle;      // "Clearvane"
  std::string popupText;       // the pop-up description
  std::string popupSoundFile;  // program folder + "\Sounds\Message.wav"
};

class RunObserver {
 public:
  virtual ~RunObserver() = default;

  // The run begins: show the status panel, hourglass, disable "Start Cleaning >>", clear the list.
  virtual void RunStarting() {}
  // A new results row; it becomes the current row.
  virtual void RowAdded(std::string_view item, std::string_view status) = 0;
  // The source tag of the current row's item (clean/item.h): "builtin",
  // "plugin", "browser", "winapp2". Every item's row hears it; the closing
  // line of a run does not.
  virtual void RowSourceSet(std::string_view source) {}
  // The current row's second column.
  virtual void RowStatusChanged(std::string_view status) = 0;
  virtual void ProgressChanged(int value) = 0;
  virtual void StatusLabelChanged(std::string_view text) = 0;
  // Let the user interface process pending messages.
  virtual void Pump() {}
  // The items are done: enable "Start Cleaning >>", default pointer.
  virtual void RunFinishing() {}
  virtual void ShowReport(const RunReport& report) {}
  // The figures read back after the run: "Last Cleaned at:" text and the statistics line.
  virtual void StatisticsChanged(std::string_view lastClean, std::string_view statistics) {}
  // "Exit after cleaning": the program must end now, without a report.
  virtual void ExitRequested() {}
};

}  // namespace cv
